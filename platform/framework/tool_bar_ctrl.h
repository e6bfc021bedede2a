// The toolbar control of the class library over the headless model (tool_bar_control.h): a
// row of buttons with images from bitmap strips, separators, hidden and checked buttons.
#pragma once

#include "platform/framework/wnd.h"
#include "platform/windowing/tool_bar_control.h"

class CToolBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolBarCtrl)

public:
    using CWnd::Create;
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Adds count images of a registered strip; the index of the first, -1 on failure.
    int AddBitmap(int count, UINT bitmapId);
    BOOL AddButtons(int count, const TBBUTTON* buttons);
    BOOL InsertButton(int index, const TBBUTTON* button);
    BOOL DeleteButton(int index);
    int GetButtonCount() const;
    BOOL GetButton(int index, TBBUTTON* button) const;
    int CommandToIndex(UINT command) const;
    BOOL GetItemRect(int index, RECT* rect) const;

    BOOL EnableButton(int command, BOOL enable = TRUE);
    BOOL CheckButton(int command, BOOL check = TRUE);
    BOOL PressButton(int command, BOOL press = TRUE);
    BOOL HideButton(int command, BOOL hide = TRUE);
    BOOL IsButtonEnabled(int command) const;
    BOOL IsButtonChecked(int command) const;
    BOOL IsButtonPressed(int command) const;
    BOOL IsButtonHidden(int command) const;
    int GetState(int command) const;
    BOOL SetState(int command, UINT state);

    BOOL SetBitmapSize(CSize size);
    BOOL SetButtonSize(CSize size);
    CSize GetButtonSize() const;
    // Fits the bar to its parent: full width, one row of buttons high.
    void AutoSize();
};
