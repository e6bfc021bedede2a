// The slider ("trackbar") control, kept headless: a position within a range, a line size and a
// page size. What the person does (an arrow key, a click beside the thumb, a drag, Home or End)
// moves the position and tells the parent by WM_HSCROLL (WM_VSCROLL with TBS_VERT) with one of
// the TB_* codes below and the slider as lParam; a drag gives its position in the high word.
#pragma once

#include "platform/windowing/window.h"

#define TRACKBAR_CLASS L"msctls_trackbar32"

constexpr DWORD TBS_AUTOTICKS = 0x0001;
constexpr DWORD TBS_VERT = 0x0002;
constexpr DWORD TBS_HORZ = 0x0000;
constexpr DWORD TBS_TOP = 0x0004;
constexpr DWORD TBS_BOTH = 0x0008;
constexpr DWORD TBS_NOTICKS = 0x0010;

constexpr UINT TBM_GETPOS = WM_USER;
constexpr UINT TBM_GETRANGEMIN = WM_USER + 1;
constexpr UINT TBM_GETRANGEMAX = WM_USER + 2;
constexpr UINT TBM_SETPOS = WM_USER + 5;
constexpr UINT TBM_SETRANGE = WM_USER + 6;
constexpr UINT TBM_SETRANGEMIN = WM_USER + 7;
constexpr UINT TBM_SETRANGEMAX = WM_USER + 8;
constexpr UINT TBM_SETPAGESIZE = WM_USER + 21;
constexpr UINT TBM_GETPAGESIZE = WM_USER + 22;
constexpr UINT TBM_SETLINESIZE = WM_USER + 23;
constexpr UINT TBM_GETLINESIZE = WM_USER + 24;

// Scroll codes of a slider's WM_HSCROLL / WM_VSCROLL.
constexpr UINT TB_LINEUP = 0;
constexpr UINT TB_LINEDOWN = 1;
constexpr UINT TB_PAGEUP = 2;
constexpr UINT TB_PAGEDOWN = 3;
constexpr UINT TB_THUMBPOSITION = 4;
constexpr UINT TB_THUMBTRACK = 5;
constexpr UINT TB_TOP = 6;
constexpr UINT TB_BOTTOM = 7;
constexpr UINT TB_ENDTRACK = 8;

namespace platform {

// The person scrolled the slider: code is a TB_* code, position counts for the two thumb codes
// only. The position moves (kept in the range) and the parent is told. False when the control
// is disabled, not a slider, or the code unknown.
bool ScrollSlider(HWND slider, UINT code, int position = 0);

namespace detail {
void RegisterSliderControl();
}

} // namespace platform
