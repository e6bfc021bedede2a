// The window object behind a handle; shared by the windowing sources only.
#pragma once

#include "platform/graphics/surface.h"
#include "platform/windowing/window.h"

#include <bitset>
#include <memory>
#include <string>
#include <vector>

struct HWND__ {
    std::wstring className;
    WNDPROC proc = nullptr;
    HBRUSH background = nullptr;
    void* hookObject = nullptr;
    platform::WindowHook hook = nullptr;
    HWND parent = nullptr; // child windows
    HWND owner = nullptr;  // popups
    std::vector<HWND> children;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{0, 0, 0, 0}; // in the parent's client coordinates
    std::wstring text;
    int id = 0;
    LONG_PTR userData = 0;
    HFONT font = nullptr;
    bool destroying = false;

    // Painting.
    std::vector<RECT> update; // client coordinates
    bool erasePending = false;
    std::unique_ptr<platform::RasterSurface> buffer;
    platform::Surface* surface = nullptr; // a test's surface instead of the buffer
    RECT dirty{0, 0, 0, 0};
    bool hasDirty = false;
    std::vector<HDC> dcs;

    // Dialogs.
    bool isDialog = false;
    bool dialogEnded = false;
    INT_PTR dialogResult = 0;
    LRESULT (*dialogProc)(HWND, UINT, WPARAM, LPARAM) = nullptr;
    LPARAM dialogParam = 0;
    UINT templateId = 0;
    HWND dialogFocus = nullptr;             // the control of the dialog that had the keyboard last
    int dialogUnitsX = 0, dialogUnitsY = 0; // pixels per 4 and 8 dialog units

    // Standard controls.
    int rangeLow = 0, rangeHigh = 100, position = 0, step = 10;
    int check = 0;
    std::shared_ptr<void> controlState;   // list, combo and IP address controls
    HANDLE icons[2] = {nullptr, nullptr}; // small and big (WM_SETICON)

    // Menu bar of a top-level window (not owned).
    HANDLE menu = nullptr;
    // Where a maximised or minimised top-level window comes back to.
    RECT normalRect{0, 0, 0, 0};
    bool normalKnown = false;
    // The window's own scroll bars: [0] horizontal, [1] vertical.
    struct ScrollBar {
        int min = 0, max = 100;
        UINT page = 0;
        int pos = 0, trackPos = 0;
        bool shown = false; // follows WS_HSCROLL / WS_VSCROLL
        bool enabled = true;
    } scroll[2];
};

namespace platform::detail {
HWND Window(HWND hwnd); // the live window or null
RECT ClientRect(HWND hwnd);
// Width of a vertical and height of a horizontal scroll bar, in pixels.
constexpr int kScrollBarSize = 17;
// The client area changed size without the window moving (scroll bars came or went).
void ClientChanged(HWND hwnd);
Surface* WindowSurface(HWND hwnd);
void ForgetWindowInQueue(HWND hwnd);
// A destroyed window loses the capture, the focus and the activation.
void ForgetWindowInInput(HWND hwnd);
// A window that needs WM_PAINT (visible with a non-empty update region), or null.
HWND FindWindowToPaint(HWND filter);
std::vector<HWND> AllWindows();
// Which keys and mouse buttons are down: as the display last reported them, and as the input
// message being handled saw them (what GetKeyState answers).
using KeyStates = std::bitset<256>;
KeyStates ReportedKeyStates();
void SetHandledKeyStates(const KeyStates& keys);
BOOL PostWithKeyStates(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, const KeyStates& keys);
} // namespace platform::detail
