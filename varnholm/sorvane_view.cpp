#include "varnholm/sorvane_view.h"

#include "platform/framework/dialog.h"

#include "design/design_page.h"
#include "design/simulate_sort_dlg.h"
#include "design/simulate_sort_props_dlg.h"
#include "felgrin/felgrin_utils.h"
#include "hobrand/media_manager_setup.h"
#include "maltrec/colour_tool_bar.h"
#include "maltrec/cutoutput/colour_box.h"
#include "maltrec/cutoutput/mfc_tool_bar_colour_box.h"
#include "maltrec/send_to_cutter.h"
#include "pivora/scope_guard.h"
#include "platform/framework/cmd_ui.h"
#include "platform/framework/docking_manager.h"
#include "platform/windowing/colour_dialog.h"
#include "toolbars/custom_tool_bar.h"
#include "toolbars/toolbar_registry.h"
#include "vector/vector_style_pb.h"

IMPLEMENT_DYNCREATE(CSorvaneView, CDrawBaseView)

// Cleared once when the library loads; a view made during a send must not clear it.
int CSorvaneView::s_nBusy = 0;

StSorvaneServices& FnSorvaneServices() {
    static StSorvaneServices services{g_fnSendDesignToCutter, g_fnSetDesignSizeToCutter,
                                      g_fnDeleteAllMedMan, g_fnMedManSetup};
    return services;
}

CSorvaneView::CSorvaneView() = default;

CSorvaneView::~CSorvaneView() {
    *m_pAlive = false;
    // A held player is running inside OnShowCutObjects, which deletes it: end its loop only.
    if (m_pSimulateDlg && ::IsWindow(m_pSimulateDlg->m_hWnd))
        ::EndDialog(m_pSimulateDlg->m_hWnd, IDCANCEL);
}

int CSorvaneView::IsBusy() {
    return s_nBusy;
}

template <class F> void CSorvaneView::Guarded(F work) {
    if (s_nBusy)
        return;
    s_nBusy = 1;
    CScopeGuard idle([] { s_nBusy = 0; });
    work();
}

int CSorvaneView::fnValidateCutterInstall() {
    if (FelgrinUtils::LoadCutterDevices(nullptr))
        return 1;
    FnInstallCutter(1);
    return FelgrinUtils::LoadCutterDevices(nullptr);
}

CColourToolBar* CSorvaneView::ColourToolBar() {
    return dynamic_cast<CColourToolBar*>(QvGetToolBar(int(kColourToolBarSlot), 0));
}

CObject* CSorvaneView::GetMFCColourBox() {
    CColourToolBar* bar = ColourToolBar();
    return bar ? bar->GetMFCColourList() : nullptr;
}

void CSorvaneView::SetUpToolbars(bool show) {
    const UINT dock = show ? AFX_IDW_DOCKBAR_TOP : 0;
    SetUpToolbar(kColourToolBarSlot, kColourToolBarResource, dock, -1);
    SetUpToolbar(kCuttingToolBarSlot, IDR_CUTTING_TOOLBAR, dock, int(kColourToolBarSlot));
    SetUpToolbar(0, 0, dock, int(kCuttingToolBarSlot));
    SetUpToolbar(kViewToolBarSlot, kViewToolBarResource, dock, -1);
}

void CSorvaneView::OnActivateView(BOOL activate, CView* activated, CView* deactivated) {
    m_bLastActivate = activate;
    const bool changed = (activate != FALSE) != (IsActive() != 0);
    CColourToolBar* bar = changed ? ColourToolBar() : nullptr;
    if (bar && !activate)
        m_nSavedColourIdx = bar->fnCurrentColourIdx();
    CDesignView::OnActivateView(activate, activated, deactivated);
    bar = changed && activate ? ColourToolBar() : nullptr;
    if (bar)
        if (CMFCToolBarColourBox* box = bar->GetMFCColourList())
            box->SelectItem(m_nSavedColourIdx, TRUE);
}

BOOL CSorvaneView::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    CCmdUI* ui = UpdateUI(code, extra);
    if (ui) {
        switch (id) {
        case ID_COLOUR_BOX:
            if (!IsQuery(handlerInfo))
                ui->Enable(TRUE);
            return TRUE;
        case ID_ADD_COLOR:
            // The item stays enabled.
            return TRUE;
        default:
            return CDrawBaseView::OnCmdMsg(id, code, extra, handlerInfo);
        }
    }
    if (code != CN_COMMAND)
        return CDrawBaseView::OnCmdMsg(id, code, extra, handlerInfo);
    void (CSorvaneView::*handler)() = nullptr;
    switch (id) {
    case ID_NEW_ROLL:
        handler = &CSorvaneView::OnNewRoll;
        break;
    case ID_SEND_TO_CUTTER:
        handler = &CSorvaneView::OnSendToCutter;
        break;
    case ID_SEND_TO_VELM_CUTTER:
        handler = &CSorvaneView::OnSendToVelmCutter;
        break;
    case ID_AUTO_SEND_TO_CUTTER:
        handler = &CSorvaneView::OnAutoSendToCutter;
        break;
    case ID_AUTO_SEND_FINISHED:
        handler = &CSorvaneView::OnAutoSendFinished;
        break;
    case ID_CUTTER_DESIGN_SIZE:
        handler = &CSorvaneView::OnCutterDesignSize;
        break;
    case ID_COPY_TO_WINDOWS:
        // The design view's picture copy, which the cutting view binds to its menu item.
        handler = &CSorvaneView::OnCopyToWindows;
        break;
    case ID_CHANGE_COLOUR:
    case ID_TYPED_COLOUR:
        handler = &CSorvaneView::OnChangeColour;
        break;
    case ID_SHOW_CUT_OBJECTS:
        handler = &CSorvaneView::OnShowCutObjects;
        break;
    case ID_ADD_COLOR:
        handler = &CSorvaneView::fnOnAddColor;
        break;
    default:
        return CDrawBaseView::OnCmdMsg(id, code, extra, handlerInfo);
    }
    if (!IsQuery(handlerInfo))
        (this->*handler)();
    return TRUE;
}

void CSorvaneView::OnNewRoll() {
    Guarded([this] {
        if (!fnValidateCutterInstall() || !FnSorvaneServices().deleteAllMedMan())
            return;
        if (CDesignPage* page = GetDocument())
            page->ResetDeviceExtents();
        Invalidate(TRUE);
        FnSorvaneServices().medManSetup(0, 0, 0);
    });
}

void CSorvaneView::Send(int velm, int autoSend) {
    bool sent = false;
    Guarded([&] {
        if (!fnValidateCutterInstall())
            return;
        FnSorvaneServices().sendDesign(GetDocument(), this, velm, autoSend);
        sent = true;
    });
    if (sent && autoSend)
        PostMessage(WM_COMMAND, ID_AUTO_SEND_FINISHED, 0);
}

void CSorvaneView::OnSendToCutter() {
    Send(0, 0);
}

void CSorvaneView::OnSendToVelmCutter() {
    Send(1, 0);
}

void CSorvaneView::OnAutoSendToCutter() {
    Send(0, 1);
}

void CSorvaneView::OnAutoSendFinished() {
    // Closing the page destroys this view: take what is needed first.
    CWnd* main = AfxGetMainWnd();
    if (CDesignPage* page = GetDocument())
        page->OnCloseDocument();
    if (main) {
        main->ShowWindow(SW_SHOWNORMAL);
        main->ShowWindow(SW_MINIMIZE);
    }
}

void CSorvaneView::OnCutterDesignSize() {
    Guarded([this] {
        if (!fnValidateCutterInstall())
            return;
        CDesignPage* page = GetDocument();
        FnSorvaneServices().setDesignSize(page, this);
        if (!page)
            return;
        for (POSITION pos = page->GetFirstViewPosition(); pos;)
            if (auto* v = dynamic_cast<CDesignView*>(page->GetNextView(pos)))
                v->ZoomResize(1, 0);
    });
}

void CSorvaneView::OnChangeColour() {
    SetFocus();
    CColourToolBar* bar = ColourToolBar();
    if (!bar)
        return;
    const int index = bar->fnCurrentColourIdx();
    if (index >= 0)
        SetDrawColour(index);
}

void CSorvaneView::OnShowCutObjects() {
    // The player pumps messages while it runs: asked for again then, it comes forward and is
    // never deleted under itself.
    if (m_pSimulateDlg) {
        if (::IsWindow(m_pSimulateDlg->m_hWnd)) {
            m_pSimulateDlg->ShowWindow(SW_SHOW);
            ::SetActiveWindow(m_pSimulateDlg->m_hWnd);
        }
        return;
    }
    CDesignPage* page = GetDocument();
    if (!page)
        return;
    CSimulateSortPropsDlg props(page, nullptr);
    if (props.DoModal() != IDOK)
        return;
    // Registration marks are no cuts: they stay out of the simulation.
    page->CreateSortedOutput(props.m_nScope, EStartPointMode(props.m_nStartMode),
                             EOrderMode(props.m_nOrderMode), props.m_bInsideFirst,
                             props.m_nMaxDeviation, 1);
    page->GetSortedOutput();
    // The view may go while the player runs (its design closed): then this frame, not the
    // view's destructor, deletes the player once its loop has ended.
    std::shared_ptr<bool> alive = m_pAlive;
    auto* player = new CSimulateSortDlg(this);
    m_pSimulateDlg = player;
    player->DoModal();
    delete player;
    if (*alive)
        m_pSimulateDlg = nullptr;
}

void CSorvaneView::fnOnAddColor() {
    COLORREF custom[16] = {};
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = m_hWnd;
    cc.rgbResult = 0;
    cc.lpCustColors = custom;
    cc.Flags = 0;
    if (!ChooseColorW(&cc))
        return;
    const COLORREF colour = cc.rgbResult;
    CDesignPage* page = GetDocument();
    auto* styles = page ? dynamic_cast<CVectorStylePB*>(page->FindParam(kStyleBlock)) : nullptr;
    if (!styles)
        return;
    const int size = styles->fnGetSize();
    for (int i = 0; i < size; ++i)
        if (styles->fnGetVectStyleColour(i) == colour)
            return;
    styles->fnResize(size + 1);
    styles->fnSetVectStyleColour(size, colour);
    if (CColourToolBar* bar = ColourToolBar())
        if (CColourBox* box = bar->GetColourList())
            box->ResetListFromVectorStylePB(nullptr);
}
