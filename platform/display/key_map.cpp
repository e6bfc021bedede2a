#include "platform/display/key_map.h"

#include "platform/windowing/window.h"

namespace platform::display {

namespace {

// Virtual keys the window model has no name for yet.
constexpr int kVkPrior = 0x21, kVkNext = 0x22, kVkEnd = 0x23, kVkHome = 0x24;
constexpr int kVkInsert = 0x2D, kVkF1 = 0x70, kVkNumpad0 = 0x60;
constexpr int kVkMultiply = 0x6A, kVkAdd = 0x6B, kVkSubtract = 0x6D, kVkDecimal = 0x6E;
constexpr int kVkDivide = 0x6F, kVkOemPlus = 0xBB, kVkOemComma = 0xBC, kVkOemMinus = 0xBD;
constexpr int kVkOemPeriod = 0xBE, kVkPause = 0x13, kVkCapital = 0x14;

struct KeyPair {
    int qt;
    int vk;
};

constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},     {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},
    {Qt::Key_Escape, VK_ESCAPE},   {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, kVkPrior},    {Qt::Key_PageDown, kVkNext},
    {Qt::Key_End, kVkEnd},         {Qt::Key_Home, kVkHome},
    {Qt::Key_Left, VK_LEFT},       {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},     {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, kVkInsert},   {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Pause, kVkPause},     {Qt::Key_CapsLock, kVkCapital},
    {Qt::Key_Plus, kVkOemPlus},    {Qt::Key_Comma, kVkOemComma},
    {Qt::Key_Minus, kVkOemMinus},  {Qt::Key_Period, kVkOemPeriod},
    {Qt::Key_Equal, kVkOemPlus},
};

} // namespace

int VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return kVkNumpad0 + (qtKey - Qt::Key_0);
        switch (qtKey) {
        case Qt::Key_Asterisk:
            return kVkMultiply;
        case Qt::Key_Plus:
            return kVkAdd;
        case Qt::Key_Minus:
            return kVkSubtract;
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return kVkDecimal;
        case Qt::Key_Slash:
            return kVkDivide;
        default:
            break;
        }
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return kVkF1 + (qtKey - Qt::Key_F1);
    for (const KeyPair& k : kKeys)
        if (k.qt == qtKey)
            return k.vk;
    return 0;
}

UINT MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    UINT flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

} // namespace platform::display
