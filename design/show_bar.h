// CShowBar: the button bar of the output-simulation player and of the item viewer: auto pan,
// leave on, then start, previous, next and end, with a separator after the second. Its tips
// are the commands' strings. The file also holds what the two dialogs share: their template
// (28226, a slider and six buttons) and how they open.
#pragma once

#include "platform/framework/tool_bar_ctrl.h"

#include <initializer_list>

class CDialog;
class CSliderCtrl;

class CShowBar : public CToolBarCtrl {
    DECLARE_DYNAMIC(CShowBar)

public:
    static constexpr UINT IDC_SHOW_BAR = 28225; // the bar's window and its bitmap
    static constexpr UINT IDB_SHOW_BAR = 28225;
    static constexpr UINT ID_SHOW_AUTO_PAN = 43215;
    static constexpr UINT ID_SHOW_LEAVE_ON = 43216;
    static constexpr UINT ID_SHOW_START = 43217;
    static constexpr UINT ID_SHOW_PREV = 43218;
    static constexpr UINT ID_SHOW_NEXT = 43219;
    static constexpr UINT ID_SHOW_END = 43220;
    static constexpr int kButtons = 6;
    static constexpr int kTipLength = 79;

    // The dialog template of the player and the viewer, and its controls.
    static constexpr UINT IDD_SHOW = 28226;
    static constexpr int IDC_SHOW_SLIDER = 28227;
    static constexpr int IDC_SHOW_CLEAR = 28000;
    static constexpr int IDC_SHOW_HIDE = 28001;
    static constexpr int IDC_SHOW_DEL = 28002;
    static constexpr int IDC_SHOW_ALL = 28003;
    static constexpr int kDialogHeight = 100; // pixels
    static constexpr int kSliderLine = 1, kSliderPage = 10, kSliderMax = 100;

    // The dialogs' bar on parent: tips, at the top, flat unless "Flat Toolbar Buttons" is 0; the
    // six buttons added one at a time, the bar sized to them.
    BOOL CreateIn(CWnd* parent);
    // A command's tip: its string, cut to kTipLength characters; empty without one.
    static CString TipText(UINT command);
    // The opening both dialogs share: the bar, the slider's sizes and range, the bar buttons
    // and dialog controls hidden, the dialog kDialogHeight high.
    static void OpenDialog(CDialog* dialog, CShowBar& bar, CSliderCtrl& slider,
                           std::initializer_list<UINT> hiddenBarButtons,
                           std::initializer_list<int> hiddenControls);

    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
};
