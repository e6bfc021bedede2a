#include "platform/framework/tool_bar_ctrl.h"

IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)

BOOL CToolBarCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (!CreateEx(0, TOOLBARCLASSNAME, L"", style | WS_CHILD, rect, parent, id))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

int CToolBarCtrl::AddBitmap(int count, UINT bitmapId) {
    TBADDBITMAP add{nullptr, bitmapId};
    return int(SendMessage(TB_ADDBITMAP, WPARAM(count), reinterpret_cast<LPARAM>(&add)));
}

BOOL CToolBarCtrl::AddButtons(int count, const TBBUTTON* buttons) {
    return BOOL(SendMessage(TB_ADDBUTTONSW, WPARAM(count), reinterpret_cast<LPARAM>(buttons)));
}

BOOL CToolBarCtrl::InsertButton(int index, const TBBUTTON* button) {
    return BOOL(SendMessage(TB_INSERTBUTTONW, WPARAM(index), reinterpret_cast<LPARAM>(button)));
}

BOOL CToolBarCtrl::DeleteButton(int index) {
    return BOOL(SendMessage(TB_DELETEBUTTON, WPARAM(index)));
}

int CToolBarCtrl::GetButtonCount() const {
    return int(SendMessage(TB_BUTTONCOUNT));
}

BOOL CToolBarCtrl::GetButton(int index, TBBUTTON* button) const {
    return BOOL(SendMessage(TB_GETBUTTON, WPARAM(index), reinterpret_cast<LPARAM>(button)));
}

int CToolBarCtrl::CommandToIndex(UINT command) const {
    return int(SendMessage(TB_COMMANDTOINDEX, WPARAM(command)));
}

BOOL CToolBarCtrl::GetItemRect(int index, RECT* rect) const {
    return BOOL(SendMessage(TB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(rect)));
}

BOOL CToolBarCtrl::EnableButton(int command, BOOL enable) {
    return BOOL(SendMessage(TB_ENABLEBUTTON, WPARAM(command), MAKELPARAM(WORD(enable != 0), 0)));
}

BOOL CToolBarCtrl::CheckButton(int command, BOOL check) {
    return BOOL(SendMessage(TB_CHECKBUTTON, WPARAM(command), MAKELPARAM(WORD(check != 0), 0)));
}

BOOL CToolBarCtrl::PressButton(int command, BOOL press) {
    return BOOL(SendMessage(TB_PRESSBUTTON, WPARAM(command), MAKELPARAM(WORD(press != 0), 0)));
}

BOOL CToolBarCtrl::HideButton(int command, BOOL hide) {
    return BOOL(SendMessage(TB_HIDEBUTTON, WPARAM(command), MAKELPARAM(WORD(hide != 0), 0)));
}

BOOL CToolBarCtrl::IsButtonEnabled(int command) const {
    return BOOL(SendMessage(TB_ISBUTTONENABLED, WPARAM(command)));
}

BOOL CToolBarCtrl::IsButtonChecked(int command) const {
    return BOOL(SendMessage(TB_ISBUTTONCHECKED, WPARAM(command)));
}

BOOL CToolBarCtrl::IsButtonPressed(int command) const {
    return BOOL(SendMessage(TB_ISBUTTONPRESSED, WPARAM(command)));
}

BOOL CToolBarCtrl::IsButtonHidden(int command) const {
    return BOOL(SendMessage(TB_ISBUTTONHIDDEN, WPARAM(command)));
}

int CToolBarCtrl::GetState(int command) const {
    return int(SendMessage(TB_GETSTATE, WPARAM(command)));
}

BOOL CToolBarCtrl::SetState(int command, UINT state) {
    return BOOL(SendMessage(TB_SETSTATE, WPARAM(command), MAKELPARAM(WORD(state), 0)));
}

BOOL CToolBarCtrl::SetBitmapSize(CSize size) {
    return BOOL(SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(WORD(size.cx), WORD(size.cy))));
}

BOOL CToolBarCtrl::SetButtonSize(CSize size) {
    return BOOL(SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(WORD(size.cx), WORD(size.cy))));
}

CSize CToolBarCtrl::GetButtonSize() const {
    const DWORD v = DWORD(SendMessage(TB_GETBUTTONSIZE));
    return CSize(LOWORD(v), HIWORD(v));
}

void CToolBarCtrl::AutoSize() {
    SendMessage(TB_AUTOSIZE);
}
