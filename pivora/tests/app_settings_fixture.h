// A test with its own settings: private hives, home and program folders, an application
// object named as the main program names it, and empty parameter caches.
#pragma once

#include "pivora/framework/app_params.h"
#include "pivora/framework/app_profile.h"
#include "platform/system/app_registry.h"
#include "platform/system/module.h"
#include "platform/system/paths.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

#include <memory>

class AppSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        QvResetAppParamCache();
        FnDestroyApplicationProfile();
        m_app = std::make_unique<CAppRegistry>();
        m_app->SetRegistryKey(L"Oquen");
        m_app->SetProfileName(L"VanterFerolin");
        FnSetRegistryStem(L"VanterFerolin");
    }
    void TearDown() override {
        FnDestroyApplicationProfile();
        QvResetAppParamCache();
        m_app.reset();
    }

    // Reads a value of the per-user parameter section straight from the store.
    static bool StoredInt(const wchar_t* name, DWORD& v) {
        HKEY k = nullptr;
        if (RegOpenKeyEx(HKEY_CURRENT_USER, L"Software\\Oquen\\VanterFerolin\\Application-Settings",
                         0, KEY_READ, &k) != ERROR_SUCCESS)
            return false;
        DWORD type = 0, size = sizeof v;
        LONG r = RegQueryValueEx(k, name, nullptr, &type, reinterpret_cast<BYTE*>(&v), &size);
        RegCloseKey(k);
        return r == ERROR_SUCCESS && type == REG_DWORD;
    }
    static CString StoredText(const wchar_t* name, HKEY root = HKEY_CURRENT_USER) {
        HKEY k = nullptr;
        if (RegOpenKeyEx(root, L"Software\\Oquen\\VanterFerolin\\Application-Settings", 0, KEY_READ,
                         &k) != ERROR_SUCCESS)
            return L"<missing>";
        wchar_t buf[512] = {};
        DWORD type = 0, size = sizeof buf - sizeof(wchar_t);
        LONG r = RegQueryValueEx(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
        RegCloseKey(k);
        return r == ERROR_SUCCESS && type == REG_SZ ? CString(buf) : CString(L"<missing>");
    }
    // Stores a value as another program (or an earlier run) would have.
    static void StoreInt(const wchar_t* name, DWORD v) {
        HKEY k = nullptr;
        RegCreateKeyEx(HKEY_CURRENT_USER, L"Software\\Oquen\\VanterFerolin\\Application-Settings",
                       0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
        RegSetValueEx(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
        RegCloseKey(k);
    }
    static void StoreText(const wchar_t* name, const wchar_t* text, HKEY root = HKEY_CURRENT_USER) {
        HKEY k = nullptr;
        RegCreateKeyEx(root, L"Software\\Oquen\\VanterFerolin\\Application-Settings", 0, nullptr, 0,
                       KEY_ALL_ACCESS, nullptr, &k, nullptr);
        RegSetValueEx(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                      DWORD((wcslen(text) + 1) * sizeof(wchar_t)));
        RegCloseKey(k);
    }

    SettingsSandbox m_box;
    std::unique_ptr<CAppRegistry> m_app;
};
