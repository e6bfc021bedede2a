// A main window with a design view active and a stand-in for the design library's
// transaction names.
#pragma once

#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_view.h"
#include "platform/framework/frame_wnd.h"
#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/message.h"
#include "toolbars/undo_bar.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// The system's font library keeps its caches for the life of the process (the drop-down
// measures its texts). Included by one source per test program.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

class CUndoTestView : public CJoxView {
public:
    CUndoTestView() = default;
};

class UndoTest : public ::testing::Test {
protected:
    static CStringArray& Names() {
        static CStringArray names;
        return names;
    }
    static const CStringArray& NamesOf(CJoxView*, BOOL) { return Names(); }
    static void SetNames(int count) {
        Names().RemoveAll();
        for (int i = 0; i < count; ++i)
            Names().Add(CString((L"Move " + std::to_wstring(i + 1)).c_str()));
    }

    void SetUp() override {
        QvResetAppParamCache();
        frame = new CFrameWnd;
        ASSERT_TRUE(
            frame->Create(nullptr, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 480)));
        AfxSetMainWnd(frame);
        view = new CUndoTestView;
        ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 400),
                                 frame, AFX_IDW_PANE_FIRST, nullptr));
        frame->SetActiveView(view, FALSE);
        CUndoBar::SetUndoTransactionNamesCallback(&NamesOf);
        TakeCommands();
    }
    void TearDown() override {
        bar.reset();
        CUndoBar::SetUndoTransactionNamesCallback(nullptr);
        AfxSetMainWnd(nullptr);
        frame->DestroyWindow();
        QvResetAppParamCache();
    }
    // Opens the drop-down over count names.
    void Open(int count, BOOL redo = FALSE) {
        SetNames(count);
        bar = std::make_unique<CUndoBar>(redo);
        ASSERT_TRUE(bar->Create(frame, CPoint(10, 10)));
    }
    // The undo and redo commands posted to hwnd since the last call, in order.
    std::vector<UINT> TakeCommands(HWND hwnd = nullptr) {
        std::vector<UINT> got;
        MSG m;
        while (::PeekMessageW(&m, hwnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            got.push_back(UINT(m.wParam));
        return got;
    }
    CPoint RowCentre(int row) {
        const int h = bar->GetList().GetItemHeight();
        return CPoint(5, row * h + h / 2);
    }

    SettingsSandbox box;
    CFrameWnd* frame = nullptr;
    CUndoTestView* view = nullptr;
    std::unique_ptr<CUndoBar> bar;
};
