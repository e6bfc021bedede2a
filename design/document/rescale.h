// The Rescale dialog: a new size for the whole design or for the selected objects, by size or
// by percentage, keeping the aspect ratio or not. The design view runs it (command 43221) and
// applies the result with DesignRescale.
#pragma once

#include "design/rescale_data.h"
#include "platform/framework/spin_button_ctrl.h"
#include "qvutils/tavrin_dialog.h"

class CDesignView;

class CRescale : public CTavrinDialog, public CRescaleData {
    DECLARE_DYNAMIC(CRescale)

public:
    enum { IDD = 28042 };
    static constexpr int IDC_WIDTH = 28124;
    static constexpr int IDC_HEIGHT = 28125;
    static constexpr int IDC_SELECTED_ONLY = 28126;
    static constexpr int IDC_KEEP_ASPECT = 28127;
    static constexpr int IDC_WIDTH_PERCENT = 28128;
    static constexpr int IDC_HEIGHT_PERCENT = 28129;
    static constexpr int IDC_WIDTH_PERCENT_SPIN = 28137;
    static constexpr int IDC_HEIGHT_PERCENT_SPIN = 28138;
    static constexpr int IDC_WIDTH_SPIN = 28139;
    static constexpr int IDC_HEIGHT_SPIN = 28140;
    static constexpr int IDC_PERCENTAGE_MODE = 28142;
    static constexpr int IDC_CENTRE_SCALE = 28205;
    static constexpr int kEditLimit = 8;
    // Application parameters, spelt as they are stored.
    static constexpr const wchar_t* kAspectParam = L"Recsale Aspect Ratio";
    static constexpr const wchar_t* kPercentageParam = L"Recsale Percentage Ratio";
    static constexpr const wchar_t* kDisableSelectionParam = L"Disable Rescale Selection";

    explicit CRescale(CWnd* parent = nullptr);

    // The view whose design or selection is rescaled; set before DoModal.
    void SetView(CDesignView* view) { m_pView = view; }

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    void OnOK() override;

    CDesignView* m_pView = nullptr;
    CSpinButtonCtrl m_Spin;
    CString m_strWidth;
    CString m_strHeight;
    CString m_strWidthPercentage = L"100.0";
    CString m_strHeightPercentage = L"100.0";

protected:
    // Takes the original extents again: the selection's, or the page's.
    void TakeOrigExtents();
    // Rewrites the boxes that follow a change of `changed` (an edit id).
    void ShowPartners(int changed);
    void SetBox(int id, const CString& text);
    void EnableBoxes();
    void ReadChecks();

    // Set while the dialog writes its own boxes, whose change notices it ignores.
    bool m_bWriting = false;
};
