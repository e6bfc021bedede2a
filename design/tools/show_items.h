// CShowItems: the item viewer's modeless dialog (template 28226): a slider over the items and the
// show bar (leave on, start, previous, next, end). Its tool (CShowItemsTool) creates, shows,
// hides and deletes it; Enter or Escape ends the viewer, showing every item again.
#pragma once

#include "design/show_bar.h"
#include "platform/core/cstring.h"
#include "platform/framework/dialog.h"
#include "platform/framework/slider_ctrl.h"

class CDesignView;
class CShowItemsTool;

class CShowItems : public CDialog {
    DECLARE_DYNAMIC(CShowItems)

public:
    static constexpr UINT IDD = CShowBar::IDD_SHOW;

    CShowItems(CShowItemsTool* tool, CDesignView* view);

    // Modeless on parent (the main window when null), titled.
    BOOL CreateViewer(const CString& title, CWnd* parent = nullptr);
    void SetRange(int n);
    int GetRange() const { return m_nRange; }
    int GetPos() const;
    void SetPos(int n);
    void SetLeaveOn(bool on);
    CDesignView* View() const { return m_pView; }
    void SetView(CDesignView* view) { m_pView = view; }

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

    CSliderCtrl m_Slider;
    CShowBar m_ShowBar;

protected:
    void DoDataExchange(CDataExchange* dx) override;

private:
    // Enter or Escape: everything shown, the default tool selected once this handler is done.
    void Leave();

    int m_nRange = 0;
    int m_bLeaveOn = 0;
    bool m_bLeaving = false;
    CDesignView* m_pView = nullptr;
    CShowItemsTool* m_pTool = nullptr;
};
