#include "platform/display/key_map.h"

#include "platform/windowing/window.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyMap, QtKeysBecomeTheModelsVirtualKeys) {
    struct Case {
        int qt;
        Qt::KeyboardModifiers mods;
        int vk;
    } cases[] = {
        {Qt::Key_A, Qt::NoModifier, 'A'},
        {Qt::Key_Z, Qt::ShiftModifier, 'Z'},
        {Qt::Key_7, Qt::NoModifier, '7'},
        {Qt::Key_7, Qt::KeypadModifier, 0x67},
        {Qt::Key_F1, Qt::NoModifier, 0x70},
        {Qt::Key_F12, Qt::NoModifier, 0x7B},
        {Qt::Key_Escape, Qt::NoModifier, VK_ESCAPE},
        {Qt::Key_Enter, Qt::KeypadModifier, VK_RETURN},
        {Qt::Key_Delete, Qt::NoModifier, VK_DELETE},
        {Qt::Key_Left, Qt::NoModifier, VK_LEFT},
        {Qt::Key_Home, Qt::NoModifier, 0x24},
        {Qt::Key_PageDown, Qt::NoModifier, 0x22},
        {Qt::Key_Plus, Qt::KeypadModifier, 0x6B},
        {Qt::Key_Minus, Qt::NoModifier, 0xBD},
        {Qt::Key_Control, Qt::ControlModifier, VK_CONTROL},
        {Qt::Key_Eacute, Qt::NoModifier, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::display::VirtualKeyFromQt(c.qt, c.mods), c.vk) << std::hex << c.qt;
}

TEST(KeyMap, MouseKeyFlagsFollowButtonsAndModifiers) {
    using platform::display::MouseKeyFlags;
    EXPECT_EQ(MouseKeyFlags(Qt::NoButton, Qt::NoModifier), 0u);
    EXPECT_EQ(MouseKeyFlags(Qt::LeftButton | Qt::MiddleButton, Qt::ShiftModifier),
              MK_LBUTTON | MK_MBUTTON | MK_SHIFT);
    EXPECT_EQ(MouseKeyFlags(Qt::RightButton, Qt::ControlModifier), MK_RBUTTON | MK_CONTROL);
}

} // namespace
