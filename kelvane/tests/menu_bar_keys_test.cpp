#include "kelvane/app/menu_bar_keys.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using kelvane::MenuBarKeys;
using Action = MenuBarKeys::Action;

struct Step {
    UINT msg;
    WPARAM key;
    LPARAM lp;
    bool mnemonic;
    Action expected;
};

// Plays the steps against a bar that starts hidden and follows the actions.
void Play(const std::vector<Step>& steps, bool visible, const char* what) {
    MenuBarKeys keys;
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        const Action a = keys.OnMessage(s.msg, s.key, s.lp, visible, false, s.mnemonic, false);
        EXPECT_EQ(int(a), int(s.expected)) << what << " step " << i;
        if (a == Action::ShowForNow)
            visible = true;
        if (a == Action::HideAfterPass)
            visible = false;
    }
}

constexpr WPARAM kAlt = kelvane::kKeyAlt, kF10 = kelvane::kKeyF10, kF = 'F';
constexpr LPARAM kRepeat = LPARAM(1) << 30, kAltHeld = LPARAM(1) << 29;

TEST(MenuBarKeys, AltAloneShowsAndHidesAHiddenBar) {
    Play({{WM_SYSKEYDOWN, kAlt, 0, false, Action::Pass},
          {WM_SYSKEYDOWN, kAlt, kRepeat, false, Action::Pass},
          {WM_SYSKEYUP, kAlt, 0, false, Action::ShowForNow},
          {WM_SYSKEYDOWN, kAlt, 0, false, Action::Pass},
          {WM_SYSKEYUP, kAlt, 0, false, Action::HideAfterPass}},
         false, "alt twice");
    Play({{WM_KEYDOWN, kF10, 0, false, Action::Pass},
          {WM_KEYUP, kF10, 0, false, Action::ShowForNow}},
         false, "plain F10");
    // A key in between cancels; the release is then dropped.
    Play({{WM_SYSKEYDOWN, kAlt, 0, false, Action::Pass},
          {WM_SYSKEYDOWN, 'Q', kAltHeld, false, Action::Pass},
          {WM_SYSKEYUP, kAlt, 0, false, Action::Swallow}},
         false, "alt and a key");
    Play({{WM_SYSKEYDOWN, kAlt, 0, false, Action::Pass},
          {WM_LBUTTONDOWN, 0, 0, false, Action::Pass},
          {WM_SYSKEYUP, kAlt, 0, false, Action::Swallow}},
         false, "alt and a click");
    // A mnemonic shows the hidden bar for the menu it opens.
    Play({{WM_SYSKEYDOWN, kAlt, 0, false, Action::Pass},
          {WM_SYSKEYDOWN, kF, kAltHeld, true, Action::ShowForNow}},
         false, "mnemonic");
    // A bar that shows for good stays: the release goes to the frame.
    Play({{WM_SYSKEYDOWN, kAlt, 0, false, Action::Pass},
          {WM_SYSKEYUP, kAlt, 0, false, Action::Pass}},
         true, "visible bar");
}

} // namespace
