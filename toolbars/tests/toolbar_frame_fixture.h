// A main frame with the toolbar registry, in its own settings sandbox; slot 7 makes a toolbar
// that counts the commands it is sent.
#pragma once

#include "pivora/framework/app_params.h"
#include "platform/tests/settings_sandbox.h"
#include "toolbars/custom_tool_bar.h"
#include "toolbars/jox_toolbar_frame_wnd.h"

#include <gtest/gtest.h>

#include <vector>

class CCountingToolBar : public CCustomToolBar {
public:
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override {
        if (code == CN_COMMAND)
            commands.push_back(id);
        return CCustomToolBar::OnCmdMsg(id, code, extra, handlerInfo);
    }
    std::vector<UINT> commands;
};

class CTestToolbarFrame : public CJoxToolbarFrameWnd {
public:
    static constexpr int kCountingSlot = 7;
    CCustomToolBar* NewToolbar(int slot) override {
        if (slot == kCountingSlot)
            return new CCountingToolBar;
        return CJoxToolbarFrameWnd::NewToolbar(slot);
    }
};

class ToolbarFrameTest : public ::testing::Test {
protected:
    static constexpr UINT kResource = 820, kButton = 821;
    void SetUp() override {
        QvResetAppParamCache();
        platform::RegisterToolBarTemplate({kResource, 16, 15, {kButton, 0, kButton + 1}});
        frame = new CTestToolbarFrame;
        ASSERT_TRUE(
            frame->Create(nullptr, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600)));
        AfxSetMainWnd(frame);
        for (int slot = 0; slot < CJoxToolbarFrameWnd::kSlotCount; ++slot)
            frame->SetToolbarName(slot, (L"Bar " + std::to_wstring(slot)).c_str());
    }
    void TearDown() override {
        AfxSetMainWnd(nullptr);
        if (CJoxToolbarFrameWnd::s_pFrmWnd)
            frame->DestroyWindow();
        QvResetAppParamCache();
    }

    SettingsSandbox box;
    CTestToolbarFrame* frame = nullptr;
};
