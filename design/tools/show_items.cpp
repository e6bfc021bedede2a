#include "design/tools/show_items.h"

#include "design/design_view.h"
#include "design/show_items_tool.h"
#include "pivora/select.h"

IMPLEMENT_DYNAMIC(CShowItems, CDialog)

namespace {

constexpr int kWordRange = 0xFFFF;

} // namespace

CShowItems::CShowItems(CShowItemsTool* tool, CDesignView* view)
    : CDialog(IDD, nullptr), m_pView(view), m_pTool(tool) {}

BOOL CShowItems::CreateViewer(const CString& title, CWnd* parent) {
    if (!Create(IDD, parent))
        return FALSE;
    SetWindowText(title);
    ShowWindow(SW_SHOW);
    return TRUE;
}

void CShowItems::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, CShowBar::IDC_SHOW_SLIDER, m_Slider);
}

void CShowItems::SetRange(int n) {
    m_nRange = n;
    if (m_Slider.m_hWnd)
        m_Slider.SetRange(0, n, TRUE);
}

int CShowItems::GetPos() const {
    return m_Slider.m_hWnd ? m_Slider.GetPos() : 0;
}

void CShowItems::SetPos(int n) {
    if (m_Slider.m_hWnd)
        m_Slider.SetPos(n);
}

void CShowItems::SetLeaveOn(bool on) {
    m_bLeaveOn = on ? 1 : 0;
    if (m_ShowBar.m_hWnd)
        m_ShowBar.CheckButton(int(CShowBar::ID_SHOW_LEAVE_ON), m_bLeaveOn);
}

BOOL CShowItems::OnInitDialog() {
    CDialog::OnInitDialog();
    // "ShowItemsAutoPan" is not cleared here: the tool has read it and writes it back.
    CShowBar::OpenDialog(this, m_ShowBar, m_Slider, {CShowBar::ID_SHOW_AUTO_PAN},
                         {CShowBar::IDC_SHOW_CLEAR, CShowBar::IDC_SHOW_HIDE, CShowBar::IDC_SHOW_DEL,
                          CShowBar::IDC_SHOW_ALL, IDOK, IDCANCEL});
    if (m_pTool)
        m_pTool->OnShowClear(m_pView);
    return TRUE;
}

BOOL CShowItems::OnCommand(WPARAM wp, LPARAM lp) {
    const UINT id = LOWORD(DWORD(wp));
    if (id == IDOK || id == IDCANCEL)
        return CDialog::OnCommand(wp, lp);
    if (!m_pTool || !m_pView || m_bLeaving)
        return TRUE;
    switch (id) {
    case CShowBar::ID_SHOW_START:
        m_pTool->Select(m_pView, nullptr, CSelect::kSelectArticle, 0);
        m_pTool->OnInit(m_pView, 0);
        m_pTool->OnShowClear(m_pView);
        break;
    case CShowBar::ID_SHOW_PREV:
        m_pTool->OnShowPrev(m_pView);
        break;
    case CShowBar::ID_SHOW_NEXT:
        m_pTool->OnShowNext(m_pView);
        break;
    case CShowBar::ID_SHOW_END:
        m_pTool->OnShowEnd(m_pView);
        break;
    case CShowBar::ID_SHOW_LEAVE_ON:
        SetLeaveOn(!m_bLeaveOn);
        m_pTool->OnShowLeaveOn(m_bLeaveOn);
        return TRUE;
    default:
        // Auto pan and the lettered buttons do nothing.
        return TRUE;
    }
    SetPos(m_pTool->Position());
    return TRUE;
}

BOOL CShowItems::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_HSCROLL && m_Slider.m_hWnd && reinterpret_cast<HWND>(lp) == m_Slider.m_hWnd) {
        const UINT code = LOWORD(DWORD(wp));
        if (code <= TB_ENDTRACK && m_pTool && m_pView && !m_bLeaving) {
            const bool thumb = code == TB_THUMBPOSITION || code == TB_THUMBTRACK;
            const int at = thumb && m_Slider.GetRangeMax() <= kWordRange ? int(HIWORD(DWORD(wp)))
                                                                         : m_Slider.GetPos();
            m_pTool->OnShowChangePos(m_pView, at);
            SetPos(m_pTool->Position());
        }
        if (result)
            *result = 0;
        return TRUE;
    }
    return CDialog::OnWndMsg(msg, wp, lp, result);
}

void CShowItems::Leave() {
    if (m_bLeaving)
        return;
    m_bLeaving = true;
    if (m_pTool)
        m_pTool->OnShowAll(m_pView);
    ShowWindow(SW_HIDE);
    // Posted: selecting the default tool frees the tool and with it this dialog, which must not
    // happen while its own handler runs.
    if (m_pView && ::IsWindow(m_pView->GetSafeHwnd()))
        m_pView->SelectDefaultTool(0);
}

void CShowItems::OnOK() {
    Leave();
}

void CShowItems::OnCancel() {
    Leave();
}
