// A private folder for one test: both settings hives, the home and data folders and the
// program folder point into it while the object lives, and it is removed afterwards.
#pragma once

#include "platform/system/settings_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>

class SettingsSandbox {
public:
    SettingsSandbox() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "kelvane-test-XXXXXX").string();
        char* made = mkdtemp(tmpl.data());
        m_root = made ? made : tmpl;
        std::filesystem::create_directories(m_root + "/home");
        std::filesystem::create_directories(m_root + "/program");
        Set("KELVANE_USER_HIVE", m_root + "/user.hive");
        Set("KELVANE_MACHINE_HIVE", m_root + "/machine.hive");
        Set("KELVANE_HOME", m_root + "/home");
        Set("KELVANE_PROGRAM_DIR", m_root + "/program");
        Set("HOME", m_root + "/home");
        Set("XDG_CONFIG_HOME", m_root + "/config");
        Set("XDG_DATA_HOME", m_root + "/data");
        platform::ResetSettingsStore();
    }
    ~SettingsSandbox() {
        platform::ResetSettingsStore();
        platform::SetHiveCommitHook(nullptr);
        for (auto& [name, old] : m_saved) {
            if (old)
                setenv(name.c_str(), old->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
    SettingsSandbox(const SettingsSandbox&) = delete;
    SettingsSandbox& operator=(const SettingsSandbox&) = delete;

    const std::string& root() const { return m_root; }
    std::string Path(const std::string& rel) const { return m_root + "/" + rel; }
    std::string UserHive() const { return Path("user.hive"); }
    std::string MachineHive() const { return Path("machine.hive"); }

    void Set(const std::string& name, const std::string& value) {
        if (!m_saved.count(name)) {
            const char* old = std::getenv(name.c_str());
            m_saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        setenv(name.c_str(), value.c_str(), 1);
    }

    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void Write(const std::string& path, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

private:
    std::string m_root;
    std::map<std::string, std::optional<std::string>> m_saved;
};

// A sandbox around the whole test program (one test per process under ctest), for tests that
// do not make their own: register it once per test file with KELVANE_SETTINGS_SANDBOX().
class SettingsSandboxEnvironment : public ::testing::Environment {
public:
    void SetUp() override { m_box = std::make_unique<SettingsSandbox>(); }
    void TearDown() override { m_box.reset(); }

private:
    std::unique_ptr<SettingsSandbox> m_box;
};

#define KELVANE_SETTINGS_SANDBOX()                                                                 \
    static ::testing::Environment* const kelvane_settings_sandbox_ =                               \
        ::testing::AddGlobalTestEnvironment(new SettingsSandboxEnvironment)
