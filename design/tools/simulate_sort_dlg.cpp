#include "design/simulate_sort_dlg.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "design/simulate_sort_tool.h"

IMPLEMENT_DYNAMIC(CSimulateSortDlg, CDialog)

namespace {

// A thumb position comes in the 16-bit high word of the scroll message.
constexpr int kWordRange = 0xFFFF;

} // namespace

CSimulateSortDlg::CSimulateSortDlg(CDesignView* view) : CDialog(IDD, view), m_pView(view) {
    if (!view)
        return;
    m_pTool = new CSimulateSortTool(view, this);
    // Without a page the view frees the tool at once.
    if (!view->SelectDesignTool(m_pTool, 1))
        m_pTool = nullptr;
}

CSimulateSortTool* CSimulateSortDlg::Tool() const {
    if (!m_pTool || !m_pView || !::IsWindow(m_pView->GetSafeHwnd()))
        return nullptr;
    CDesignPage* page = m_pView->GetDocument();
    return page && page->GetDesignTool() == m_pTool ? m_pTool : nullptr;
}

void CSimulateSortDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, CShowBar::IDC_SHOW_SLIDER, m_Slider);
}

void CSimulateSortDlg::SetRange(int n) {
    if (m_Slider.m_hWnd)
        m_Slider.SetRange(0, n, TRUE);
}

void CSimulateSortDlg::SetPos(int n) {
    if (m_Slider.m_hWnd)
        m_Slider.SetPos(n);
}

int CSimulateSortDlg::GetRange() const {
    return m_Slider.m_hWnd ? m_Slider.GetRangeMax() : 0;
}

int CSimulateSortDlg::GetPos() const {
    return m_Slider.m_hWnd ? m_Slider.GetPos() : 0;
}

BOOL CSimulateSortDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CShowBar::OpenDialog(this, m_ShowBar, m_Slider,
                         {CShowBar::ID_SHOW_AUTO_PAN, CShowBar::ID_SHOW_LEAVE_ON},
                         {CShowBar::IDC_SHOW_ALL, CShowBar::IDC_SHOW_CLEAR, CShowBar::IDC_SHOW_HIDE,
                          CShowBar::IDC_SHOW_DEL});
    ShowWindow(SW_SHOW);
    if (CSimulateSortTool* tool = Tool()) {
        tool->OnInit(m_pView, 0);
        SetRange(tool->GetRange());
        SetPos(tool->GetPos());
        tool->OnShowStart(m_pView);
    } else {
        SetRange(-1);
    }
    return TRUE;
}

BOOL CSimulateSortDlg::OnCommand(WPARAM wp, LPARAM lp) {
    const UINT id = LOWORD(DWORD(wp));
    if (id >= CShowBar::ID_SHOW_START && id <= CShowBar::ID_SHOW_END) {
        if (CSimulateSortTool* tool = Tool()) {
            switch (id) {
            case CShowBar::ID_SHOW_START:
                tool->OnShowStart(m_pView);
                break;
            case CShowBar::ID_SHOW_PREV:
                tool->OnShowPrev(m_pView);
                break;
            case CShowBar::ID_SHOW_NEXT:
                tool->OnShowNext(m_pView);
                break;
            default:
                tool->OnShowEnd(m_pView);
                break;
            }
            SetPos(tool->GetPos());
        }
        return TRUE;
    }
    return CDialog::OnCommand(wp, lp);
}

void CSimulateSortDlg::OnSliderScroll(UINT code, int position) {
    if (code > TB_ENDTRACK)
        return;
    CSimulateSortTool* tool = Tool();
    if (!tool)
        return;
    // The message's word cannot hold a position past 65535: the slider itself can.
    const bool thumb = code == TB_THUMBPOSITION || code == TB_THUMBTRACK;
    const int at = thumb && m_Slider.GetRangeMax() <= kWordRange ? position : m_Slider.GetPos();
    tool->OnShowChangePos(m_pView, at);
    if ((tool = Tool()) != nullptr)
        SetPos(tool->GetPos());
}

BOOL CSimulateSortDlg::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_HSCROLL && m_Slider.m_hWnd && reinterpret_cast<HWND>(lp) == m_Slider.m_hWnd) {
        OnSliderScroll(LOWORD(DWORD(wp)), HIWORD(DWORD(wp)));
        if (result)
            *result = 0;
        return TRUE;
    }
    return CDialog::OnWndMsg(msg, wp, lp, result);
}

void CSimulateSortDlg::Close(int result) {
    EndDialog(result);
    if (CSimulateSortTool* tool = Tool())
        tool->OnExit(m_pView, 1);
    // The default tool replaces the playback tool, which the page then frees; nothing here
    // touches it afterwards.
    if (m_pView && ::IsWindow(m_pView->GetSafeHwnd()))
        m_pView->SelectDefaultTool(1);
    m_pTool = nullptr;
}

void CSimulateSortDlg::OnOK() {
    Close(IDOK);
}

void CSimulateSortDlg::OnCancel() {
    Close(IDCANCEL);
}
