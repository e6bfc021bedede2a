// The Rotate dialog: an angle for the selection, from eight presets or typed freely, with a
// live preview. The rotate tool opens it with the view as parent and gives it the rotation to
// call; the dialog keeps the tool it was opened with and acts only while that tool is still
// the page's design tool (a posted tool command may replace it while the dialog runs).
#pragma once

#include "qvutils/tavrin_dialog.h"

#include <functional>

class CDesignTool;
class CDesignView;

class CRotateDlg : public CTavrinDialog {
    DECLARE_DYNAMIC(CRotateDlg)

public:
    enum { IDD = 28059 };
    static constexpr int IDC_ANGLE = 28147;
    static constexpr int IDC_ANGLE_SPIN = 28148;
    // Radios 0, 45, ... 315 degrees, then "Free".
    static constexpr int IDC_PRESET_FIRST = 28151;
    static constexpr int IDC_PRESET_FREE = 28159;
    static constexpr int IDC_PREVIEW = 28160;
    static constexpr int kFreeChoice = 8;
    static constexpr double kPresetStep = 45.0;
    static constexpr double kMaxAngle = 359.9;
    static constexpr double kSpinStep = 0.1;
    // The name of the transaction OK leaves: "Rotate/Shear".
    static constexpr int IDS_ROTATE_SHEAR = 43052;
    // Undo names given to the rotation: join the open transaction, or open an unnamed one.
    static constexpr int kJoinTransaction = 0;
    static constexpr int kNewTransaction = 1;

    // Rotates the view's selection by degrees; undoName is kJoinTransaction, kNewTransaction
    // or the string id naming a new transaction (the rotate tool's SetTransformPrecise).
    using Rotator = std::function<void(CDesignView* view, double degrees, int undoName)>;

    explicit CRotateDlg(CDesignView* parent);

    // The tool that previews and applies the rotation, and how to call it. Without one the
    // dialog only collects the angle.
    void SetRotator(CDesignTool* tool, Rotator rotate);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    void OnOK() override;
    void OnCancel() override;

    int m_nPreset = 0;
    int m_bPreview = 0;
    CDesignView* m_pView;
    // Degrees; the applied angle is what the preview has rotated so far.
    double m_dAngle = 0;
    double m_dAppliedAngle = 0;

protected:
    // Whether the tool the dialog was opened with is still the page's design tool.
    bool ToolCurrent() const;
    bool Rotate(double degrees, int undoName);
    void PreviewStep();
    // Takes the preview's transaction back, when one was opened.
    void UndoPreview();
    void ShowValues();
    void EnableAngle();

    CDesignTool* m_pTool = nullptr;
    Rotator m_fnRotate;
    // A transaction opened by the preview is on the page's undo stack.
    bool m_bPreviewOpen = false;
    // Set while the dialog writes its own controls, whose change notices it ignores.
    bool m_bWriting = false;
};
