// Switching design windows: all toolbars hidden, the window's own bound and placed, one
// layout, with all 70 slots created; and opening the undo drop-down over a long history, on
// its own and through the undo button's arrow (the popup round it made and closed).
#include "pivora/framework/jox_view.h"
#include "toolbars/custom_tool_bar.h"
#include "toolbars/jox_toolbar_frame_wnd.h"
#include "toolbars/toolbar_registry.h"
#include "toolbars/undo_bar.h"
#include "toolbars/undo_button.h"

#include "platform/framework/mfc_popup_menu.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

constexpr UINT kResource = 900;

class CBenchView : public CJoxView {
public:
    CBenchView() = default;
};

// Settings go to a private folder so that a run leaves the user's alone.
void PrivateSettings() {
    static bool done = false;
    if (done)
        return;
    done = true;
    char pattern[] = "/tmp/kelvane-bench-toolbars-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    setenv("KELVANE_USER_HIVE", (folder + "/user.hive").c_str(), 1);
    setenv("KELVANE_MACHINE_HIVE", (folder + "/machine.hive").c_str(), 1);
    setenv("KELVANE_HOME", folder.c_str(), 1);
}

void ContextSwitch(benchmark::State& state) {
    PrivateSettings();
    platform::RegisterToolBarTemplate({kResource, 16, 15, {1001, 1002, 0, 1003, 1004}});
    auto* frame = new CJoxToolbarFrameWnd;
    frame->Create(nullptr, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 1280, 900));
    AfxSetMainWnd(frame);
    for (int slot = 0; slot < CJoxToolbarFrameWnd::kSlotCount; ++slot)
        QvCreateToolbar(slot, kResource, slot % 3 == 0 ? CCustomToolBar::kAllContexts : 2);
    auto* view = new CBenchView;
    view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 600), frame, 1, nullptr);
    for (auto _ : state) {
        QvHideAllToolBars(TRUE);
        QvSetViewForContextToolbars(view, 2);
        int placed = CJoxToolbarFrameWnd::kSlotCount;
        for (int slot = CJoxToolbarFrameWnd::kSlotCount - 1; slot > 0; --slot)
            if (QvGetToolBar(slot, 2)) {
                QvPlaceToolbar(slot, AFX_IDW_DOCKBAR_TOP, placed, TRUE);
                placed = slot;
            }
        frame->RecalcLayoutEx(1);
    }
    view->DestroyWindow();
    AfxSetMainWnd(nullptr);
    frame->DestroyWindow();
}
BENCHMARK(ContextSwitch)->Unit(benchmark::kMillisecond);

CStringArray& History() {
    static CStringArray names;
    return names;
}
const CStringArray& HistoryOf(CJoxView*, BOOL) {
    return History();
}

void OpenUndoDropDown(benchmark::State& state) {
    PrivateSettings();
    History().RemoveAll();
    for (int i = 0; i < state.range(0); ++i)
        History().Add(CString((L"Move " + std::to_wstring(i)).c_str()));
    CUndoBar::SetUndoTransactionNamesCallback(&HistoryOf);
    for (auto _ : state) {
        CUndoBar bar(FALSE);
        bar.Create(nullptr, CPoint(0, 0));
        benchmark::DoNotOptimize(bar.GetList().GetCount());
        bar.DestroyWindow();
    }
    CUndoBar::SetUndoTransactionNamesCallback(nullptr);
}
BENCHMARK(OpenUndoDropDown)->Arg(10000)->Unit(benchmark::kMillisecond);

void OpenUndoButtonArrow(benchmark::State& state) {
    PrivateSettings();
    History().RemoveAll();
    for (int i = 0; i < state.range(0); ++i)
        History().Add(CString((L"Move " + std::to_wstring(i)).c_str()));
    CUndoBar::SetUndoTransactionNamesCallback(&HistoryOf);
    auto* frame = new CFrameWnd;
    frame->Create(nullptr, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 1280, 900));
    auto* bar = new CMFCToolBar;
    bar->Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 60036);
    bar->InsertButton(CUndoButton(CUndoBar::ID_EDIT_UNDO, FALSE));
    for (auto _ : state) {
        bar->DropDown(0);
        if (CMFCPopupMenu* popup = CMFCPopupMenu::GetActiveMenu())
            popup->CloseMenu();
    }
    delete bar;
    frame->DestroyWindow();
    CUndoBar::SetUndoTransactionNamesCallback(nullptr);
}
BENCHMARK(OpenUndoButtonArrow)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
