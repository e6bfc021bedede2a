// The window model's standard controls as real Qt widgets: the widget mirrors the control's
// state, and what the person does comes back to the control as the messages it expects.
#pragma once

#include "platform/windowing/window.h"

#include <string>

class QWidget;

namespace platform::display {

enum class ControlKind {
    None,
    PushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    Static,
    Progress,
    ComboBox,
    ListBox,
    IpAddress,
    Edit,
    UpDown,
    ListView,
    Slider,
    ToolBarCtrl,
};

// None for a window that is not a standard control (it shows its own back buffer).
ControlKind ControlKindOf(HWND hwnd);
QWidget* CreateControlWidget(HWND hwnd, ControlKind kind, QWidget* parent);
// Model to widget: text (when it changed from `shownText`), check state and range.
void SyncControl(HWND hwnd, ControlKind kind, QWidget* widget, std::wstring& shownText);
// The text without the platform's mnemonic marks ("&&" stays one '&').
std::wstring WithoutMnemonics(const std::wstring& text);

} // namespace platform::display
