// Shared by the media manager's tests: a private settings and home folder, every message box
// recorded, installed cutters on the file port, and the program's shape: an application with
// its context table, a main frame of tabbed windows and the sheet template.
#pragma once

#include "pivora/framework/jox_win_app_ex.h"
#include "platform/core/cstring.h"
#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/message_box.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class CBaseCutter;
class CJoxFrameWnd;
class CJoxPage;

class SheetTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A DM/PL cutter of this name writing to the file port ("output.spl" in the home folder).
    CBaseCutter* Install(const wchar_t* name, const wchar_t* port = L"FILE");
    void AddSheetTemplate();
    std::vector<CJoxPage*> SheetPages() const;
    std::string ReadHomeFile(const std::string& name) const;
    // The texts of the message boxes shown so far.
    std::vector<std::wstring> Shown() const;

    std::unique_ptr<SettingsSandbox> m_box;
    std::unique_ptr<platform::MessageBoxResponder> m_boxes;
    std::unique_ptr<CJoxWinAppEx> m_app;
    CJoxFrameWnd* m_main = nullptr;
};
