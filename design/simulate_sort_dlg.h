// CSimulateSortDlg: the player of the output simulation ("Output simulation"). Constructing it
// for a design view makes a playback tool (CSimulateSortTool) and installs it at once as the
// view's design tool; the page owns the tool from then on. Run it modally:
//
//     CSimulateSortDlg player(view);   // or new, held by the view while it runs
//     player.DoModal();                // steps until OK or Cancel
//
// OK and Cancel end the playback and make the view select its default tool, which frees the
// playback tool; the caller then deletes the player. The player never frees the tool itself,
// and stops using it once the page has let it go (another tool was selected, the view closed).
#pragma once

#include "design/show_bar.h"
#include "platform/framework/dialog.h"
#include "platform/framework/slider_ctrl.h"

class CDesignView;
class CSimulateSortTool;

class CSimulateSortDlg : public CDialog {
    DECLARE_DYNAMIC(CSimulateSortDlg)

public:
    static constexpr UINT IDD = CShowBar::IDD_SHOW;

    explicit CSimulateSortDlg(CDesignView* view);

    // The slider runs 0..n; an empty playback gives 0..-1.
    void SetRange(int n);
    void SetPos(int n);
    int GetRange() const;
    int GetPos() const;
    // The playback tool while the view's page still has it installed, else null.
    CSimulateSortTool* Tool() const;
    CDesignView* View() const { return m_pView; }

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
    // A slider scroll (code, position with the thumb codes) moves the playback.
    void OnSliderScroll(UINT code, int position);
    void Close(int result);

    CDesignView* m_pView = nullptr;
    CSimulateSortTool* m_pTool = nullptr;
};
