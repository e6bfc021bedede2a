#include "varnholm/sorvane_view.h"

#include "sorvane_host.h"
#include "varnholm/cut_plot_setup.h"

#include "design/simulate_sort_dlg.h"
#include "design/simulate_sort_props_dlg.h"
#include "design/simulate_sort_tool.h"
#include "felgrin/cutter_utils.h"
#include "felgrin/felgrin_utils.h"
#include "felgrin/select_cutter.h"
#include "hobrand/media_manager_setup.h"
#include "maltrec/colour_tool_bar.h"
#include "maltrec/cutoutput/mfc_tool_bar_colour_box.h"
#include "maltrec/send_to_cutter.h"
#include "pivora/framework/jox_child_wnd.h"
#include "platform/windowing/colour_dialog.h"
#include "platform/windowing/icon.h"
#include "platform/windowing/resources.h"
#include "toolbars/toolbar_registry.h"
#include "varnholm/detect_cutter_dlg.h"
#include "vector/vector_style_pb.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace {

using V = CSorvaneView;

TEST_F(SorvaneHost, EachSendCommandPassesItsVelmAndAutoFlags) {
    Install(L"Plotter");
    ASSERT_NE(Open(), nullptr);
    struct Case {
        UINT id;
        int velm, autoSend;
    } cases[] = {{V::ID_SEND_TO_CUTTER, 0, 0},
                 {V::ID_SEND_TO_VELM_CUTTER, 1, 0},
                 {V::ID_AUTO_SEND_TO_CUTTER, 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        g_calls.sends = 0;
        Command(c.id);
        EXPECT_EQ(g_calls.sends, 1);
        EXPECT_EQ(g_calls.velm, c.velm);
        EXPECT_EQ(g_calls.autoSend, c.autoSend);
        EXPECT_EQ(V::IsBusy(), 0);
        if (c.autoSend)
            break; // the posted finish closes the design
    }
}

TEST_F(SorvaneHost, ASendWhileBusyIsIgnoredAndANewViewKeepsTheFlag) {
    Install(L"Plotter");
    ASSERT_NE(Open(), nullptr);
    int busyInside = -1;
    g_calls.during = [&] {
        // A design window opened while the send pumps messages.
        delete new CSorvaneView;
        busyInside = V::IsBusy();
        Command(V::ID_SEND_TO_CUTTER);
        Command(V::ID_NEW_ROLL);
        Command(V::ID_CUTTER_DESIGN_SIZE);
    };
    Command(V::ID_SEND_TO_CUTTER);
    EXPECT_EQ(busyInside, 1);
    EXPECT_EQ(g_calls.sends, 1);
    EXPECT_EQ(g_calls.deleteAll, 0);
    EXPECT_EQ(g_calls.designSize, 0);
    EXPECT_EQ(V::IsBusy(), 0);
}

TEST_F(SorvaneHost, NoCutterRunsTheInstallationWhoseCancelLeavesTheFlagClear) {
    ASSERT_NE(Open(), nullptr);
    int setups = 0, busyInside = -1;
    platform::ScopedDialogResponder r([&](HWND h, UINT id) {
        if (id != CCutPlotSetup::IDD)
            return;
        ++setups;
        busyInside = V::IsBusy();
        ::EndDialog(h, IDCANCEL);
    });
    Command(V::ID_SEND_TO_CUTTER);
    EXPECT_EQ(setups, 1);
    EXPECT_EQ(busyInside, 1);
    EXPECT_EQ(g_calls.sends, 0);
    EXPECT_EQ(V::IsBusy(), 0);
    EXPECT_EQ(CCutterUtils::m_oaCutters.GetSize(), 0);
    // A later send runs once a cutter is there.
    Install(L"Plotter");
    Command(V::ID_SEND_TO_CUTTER);
    EXPECT_EQ(g_calls.sends, 1);
}

TEST_F(SorvaneHost, NewRollResetsTheMediaManagersAndSetsUpANewOne) {
    Install(L"Plotter");
    ASSERT_NE(Open(), nullptr);
    Command(V::ID_NEW_ROLL);
    EXPECT_EQ(g_calls.deleteAll, 1);
    EXPECT_EQ(g_calls.setup, 1);
    Command(V::ID_CUTTER_DESIGN_SIZE);
    EXPECT_EQ(g_calls.designSize, 1);
}

TEST_F(SorvaneHost, AutomaticSendClosesTheDesignAndLeavesTheMainWindowMinimised) {
    Install(L"Plotter");
    ASSERT_NE(Open(), nullptr);
    Command(V::ID_AUTO_SEND_TO_CUTTER);
    EXPECT_EQ(g_calls.sends, 1);
    Pump();
    EXPECT_EQ(m_tmpl->GetFirstDocPosition(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(m_frame->m_hWnd));
    EXPECT_TRUE(::IsIconic(m_frame->m_hWnd));
}

} // namespace

namespace {

// Answers "Plotter-Cutter Setup" with the names given, one per opening (Cancel when they run
// out), and counts the openings of both dialogs; detection is cancelled.
struct SetupAnswers {
    std::vector<const wchar_t*> names;
    int setups = 0, detections = 0;
    std::function<void()> onSetup;
    void Handle(HWND h, UINT id) {
        if (id == CDetectCutterDlg::IDD) {
            ++detections;
            ::EndDialog(h, IDCANCEL);
            return;
        }
        if (id != CCutPlotSetup::IDD)
            return;
        if (onSetup)
            onSetup();
        const size_t i = size_t(setups++);
        if (i >= names.size()) {
            ::SendDlgItemMessageW(h, IDCANCEL, BM_CLICK, 0, 0);
            return;
        }
        ::SetDlgItemTextW(h, CCutPlotSetup::IDC_NAME, names[i]);
        ::SendDlgItemMessageW(h, IDOK, BM_CLICK, 0, 0);
    }
};

std::vector<CString> Installed() {
    CStringArray names;
    FelgrinUtils::InquireCutterNames(names);
    std::vector<CString> out;
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
        out.push_back(names.GetAt(i));
    return out;
}

TEST_F(SorvaneHost, InstallationRefusesTakenEmptyAndUnstorableNamesAndOpensTheDialogAgain) {
    Install(L"Plotter");
    FelgrinUtils::SetPrefCutter(L"Plotter", 1);
    SetupAnswers answers;
    platform::ScopedDialogResponder r([&](HWND h, UINT id) { answers.Handle(h, id); });
    answers.names = {L"PLOTTER", L"", L"Shop\\Left", L"Second"};
    // Detection opens by itself 100 ms after each opening.
    answers.onSetup = [&] { Advance(CCutPlotSetup::kDetectDelayMs); };
    V::FnInstallCutter(1);
    EXPECT_EQ(answers.setups, 4);
    EXPECT_EQ(answers.detections, 4);
    ASSERT_EQ(m_boxes.Shown().size(), 3u);
    EXPECT_NE(m_boxes.Shown()[0].text.find(L"'PLOTTER' \nalready exists!"), std::wstring::npos);
    EXPECT_NE(m_boxes.Shown()[1].text.find(L"enter a name"), std::wstring::npos);
    EXPECT_NE(m_boxes.Shown()[2].text.find(L"'\\'"), std::wstring::npos);
    const std::vector<CString> names = Installed();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[1], CString(L"Second"));
    ASSERT_NE(CCutterUtils::GetPreferedCutter(), nullptr);
    EXPECT_EQ(CCutterUtils::GetPreferedCutter()->fnGetName(), CString(L"Second"));
    // Stored: a fresh start reads both back.
    FelgrinUtils::QuitCutterDriver();
    EXPECT_EQ(FelgrinUtils::LoadCutterDevices(nullptr), 1);
    EXPECT_EQ(CCutterUtils::m_oaCutters.GetSize(), 2);
    EXPECT_NE(CCutterUtils::GetCutterFromName(L"Second"), nullptr);
    EXPECT_EQ(V::IsBusy(), 0);
}

TEST_F(SorvaneHost, CancelledInstallationLeavesNoCutterAndThePreferredOneAlone) {
    Install(L"Plotter");
    FelgrinUtils::SetPrefCutter(L"Plotter", 1);
    SetupAnswers answers;
    platform::ScopedDialogResponder r([&](HWND h, UINT id) { answers.Handle(h, id); });
    V::FnInstallCutter(0);
    EXPECT_EQ(answers.setups, 1);
    EXPECT_EQ(answers.detections, 0);
    EXPECT_EQ(Installed().size(), 1u);
    EXPECT_EQ(CCutterUtils::GetPreferedCutter()->fnGetName(), CString(L"Plotter"));
}

TEST_F(SorvaneHost, SetUpRefusesAnotherCuttersNameInAnyCaseButNotItsOwn) {
    Install(L"Left");
    CBaseCutter* right = Install(L"Right");
    SetupAnswers answers;
    answers.names = {L"left", L"RIGHT"};
    // The selection dialog picks "Right" and answers before the set-up dialog.
    platform::ScopedDialogResponder pick([&](HWND h, UINT id) {
        if (id == IDD_SELECT_CUTTER) {
            ::SendDlgItemMessageW(h, IDC_CUTTER_LIST, LB_SETCURSEL, 1, 0);
            ::SendDlgItemMessageW(h, IDOK, BM_CLICK, 0, 0);
            return;
        }
        answers.Handle(h, id);
    });
    V::FnSetupCutter();
    EXPECT_EQ(answers.setups, 2);
    ASSERT_EQ(m_boxes.Shown().size(), 1u);
    EXPECT_NE(m_boxes.Shown()[0].text.find(L"'left'"), std::wstring::npos);
    EXPECT_EQ(right->fnGetName(), CString(L"RIGHT"));
    FelgrinUtils::QuitCutterDriver();
    FelgrinUtils::LoadCutterDevices(nullptr);
    EXPECT_NE(CCutterUtils::GetCutterFromName(L"Left"), nullptr);
    EXPECT_NE(CCutterUtils::GetCutterFromName(L"RIGHT"), nullptr);
    EXPECT_EQ(CCutterUtils::m_oaCutters.GetSize(), 2);
}

} // namespace

namespace {

TEST_F(SorvaneHost, AddColorAddsOneStyleForANewColourOnly) {
    ASSERT_NE(Open(), nullptr);
    CVectorStylePB* styles = page->StyleTable();
    ASSERT_NE(styles, nullptr);
    const int size = styles->fnGetSize();
    ASSERT_GT(size, 0);
    const COLORREF existing = styles->fnGetVectStyleColour(size - 1);
    struct Case {
        COLORREF colour;
        int answer, grows;
    } cases[] = {{existing, IDOK, 0}, {RGB(1, 2, 3), IDCANCEL, 0}, {RGB(1, 2, 3), IDOK, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colour);
        platform::ScopedDialogResponder r([&](HWND h, UINT) {
            platform::SetDialogColour(h, c.colour);
            ::EndDialog(h, c.answer);
        });
        const int before = styles->fnGetSize();
        Command(V::ID_ADD_COLOR);
        ASSERT_EQ(styles->fnGetSize(), before + c.grows);
        if (c.grows) {
            EXPECT_EQ(styles->fnGetVectStyleColour(before), c.colour);
        }
    }
}

CMFCToolBarColourBox* ColourBox() {
    auto* bar = dynamic_cast<CColourToolBar*>(QvGetToolBar(CColourToolBar::kSlot, 0));
    return bar ? bar->GetMFCColourList() : nullptr;
}

void Activate(CView* v) {
    v->GetParentFrame()->ActivateFrame();
}

// Three colours to choose from.
void ThreeColours(CDesignPage* p) {
    CVectorStylePB* styles = p->StyleTable();
    ASSERT_NE(styles, nullptr);
    styles->fnResize(3);
    for (int i = 0; i < 3; ++i)
        styles->fnMap2VectorStyle(i)->fnSetColPalIdx(i);
    ASSERT_GE(p->GetColourPalette(false, eColourPaletteDefault)->ColourCount(), 3);
}

TEST_F(SorvaneHost, EachWindowKeepsItsColourAcrossDeactivation) {
    CSorvaneView* first = Open();
    ASSERT_NE(first, nullptr);
    ThreeColours(page);
    CSorvaneView* second = Open();
    ASSERT_NE(second, nullptr);
    ThreeColours(page);
    // The design context comes up: the view sets up its toolbars.
    ::SendMessageW(second->m_hWnd, CDesignView::WM_CONTEXT_ACTIVATED, 0, 0);
    CMFCToolBarColourBox* box = ColourBox();
    ASSERT_NE(box, nullptr);
    // Each step activates a window, checks the colour shown, then chooses one (-1 none). The
    // second window left with no colour chosen kept the toolbar's "no choice" index, 1.
    struct Step {
        CSorvaneView* view;
        int shown, choose;
    } steps[] = {{first, -1, 2}, {second, 1, 0}, {first, 2, -1}, {second, 0, -1}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.shown);
        Activate(s.view);
        Pump();
        ASSERT_TRUE(s.view->IsActive());
        ASSERT_EQ(box->GetCount(), 3);
        EXPECT_EQ(box->GetCurSel(), s.shown);
        if (s.choose >= 0)
            box->SelectItem(s.choose, FALSE);
    }
    EXPECT_EQ(first->SavedColourIndex(), 2);
}

// "Simulate output": the options first, then the player on the view's sorted output. While the
// player runs (it pumps messages) the command brings it forward, and a design closed under it
// ends it without harm.
TEST_F(SorvaneHost, SimulateOutputRunsTheOptionsThenThePlayer) {
    ASSERT_NE(Open(), nullptr);
    enum Then { kCancelOptions, kAgainThenCancel, kCloseDesign };
    for (Then then : {kCancelOptions, kAgainThenCancel, kCloseDesign}) {
        SCOPED_TRACE(int(then));
        if (!view) {
            ASSERT_NE(Open(), nullptr);
        }
        std::vector<UINT> opened;
        HWND player = nullptr;
        bool playbackTool = false, sameAgain = false, forward = false;
        platform::ScopedDialogResponder r([&](HWND h, UINT id) {
            opened.push_back(id);
            if (id == CSimulateSortPropsDlg::IDD) {
                ::SendMessageW(h, WM_COMMAND, then == kCancelOptions ? IDCANCEL : IDOK, 0);
                return;
            }
            player = h;
            playbackTool = page->GetDesignTool() &&
                           page->GetDesignTool()->IsKindOf(RUNTIME_CLASS(CSimulateSortTool));
            if (then == kCloseDesign) {
                page->OnCloseDocument();
                return;
            }
            ::SetActiveWindow(m_frame->m_hWnd);
            Command(V::ID_SHOW_CUT_OBJECTS);
            sameAgain = view->SimulateDlg() && view->SimulateDlg()->m_hWnd == h;
            forward = ::GetActiveWindow() == h;
            ::SendMessageW(h, WM_COMMAND, IDCANCEL, 0);
        });
        Command(V::ID_SHOW_CUT_OBJECTS);
        Pump();
        if (then == kCancelOptions) {
            EXPECT_EQ(opened, std::vector<UINT>{CSimulateSortPropsDlg::IDD});
            EXPECT_EQ(page->GetSortedOutput(), nullptr);
            continue;
        }
        EXPECT_EQ(opened, (std::vector<UINT>{CSimulateSortPropsDlg::IDD, CSimulateSortDlg::IDD}));
        EXPECT_TRUE(playbackTool);
        EXPECT_FALSE(::IsWindow(player));
        if (then == kCloseDesign) {
            EXPECT_EQ(m_tmpl->GetFirstDocPosition(), nullptr);
            view = nullptr;
            continue;
        }
        EXPECT_TRUE(sameAgain);
        EXPECT_TRUE(forward);
        EXPECT_NE(page->GetSortedOutput(), nullptr);
        EXPECT_EQ(view->SimulateDlg(), nullptr);
        EXPECT_FALSE(page->GetDesignTool()->IsKindOf(RUNTIME_CLASS(CSimulateSortTool)));
    }
}

} // namespace

namespace {

constexpr UINT kSheetResource = 7010;

// The sheet documents' view draws nothing here.
class CSheetView : public CView {
    DECLARE_DYNCREATE(CSheetView)
};
IMPLEMENT_DYNCREATE(CSheetView, CView)

// The automatic send through the real output road: the cutter on the file port gets the design,
// the design closes and the main window is left minimised.
TEST_F(SorvaneHost, AutomaticSendOnTheFilePortSendsClosesAndMinimises) {
    platform::RegisterStrings({{kSheetResource, L"\nSheet\nSheet"}});
    m_app.AddDocTemplate(kSheetContext,
                         new CJoxDocTemplate(kSheetResource, RUNTIME_CLASS(CDesignPage),
                                             RUNTIME_CLASS(CJoxChildWnd), RUNTIME_CLASS(CSheetView),
                                             kSheetContext),
                         1);
    FnSorvaneServices() = {g_fnSendDesignToCutter, g_fnSetDesignSizeToCutter, g_fnDeleteAllMedMan,
                           g_fnMedManSetup};
    Install(L"Plotter");
    ASSERT_NE(Open(), nullptr);
    CVectorArticle* path = AddSquare(page, 10000, 0);
    ASSERT_NE(path, nullptr);
    m_frame->ShowWindow(SW_SHOWNORMAL);
    Command(V::ID_AUTO_SEND_TO_CUTTER);
    Pump();
    EXPECT_EQ(m_tmpl->GetFirstDocPosition(), nullptr);
    EXPECT_TRUE(::IsIconic(m_frame->m_hWnd));
    EXPECT_EQ(V::IsBusy(), 0);
    // Sheet documents end their cutter's document (the file is complete then); they go before
    // the cutters.
    m_app.DocTemplateForContext(kSheetContext)->CloseAllDocuments(TRUE);
    std::ifstream in(m_box.Path("home") + "/output.spl", std::ios::binary);
    std::stringstream sent;
    sent << in.rdbuf();
    // The square, 40 cutter steps a side, cut in one stroke.
    EXPECT_NE(sent.str().find("D,0,0,40,0,40,40,0,40"), std::string::npos) << sent.str();
}

} // namespace
