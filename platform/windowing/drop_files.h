// Files dropped on a window: a window that accepts files (DragAcceptFiles sets
// WS_EX_ACCEPTFILES) gets WM_DROPFILES with an HDROP in wParam. The receiver reads the names
// with DragQueryFileW and frees the handle with DragFinish.
#pragma once

#include "platform/windowing/window.h"

#include <string>
#include <vector>

struct HDROP__;
typedef HDROP__* HDROP;

constexpr UINT WM_DROPFILES = 0x0233;
constexpr DWORD WS_EX_ACCEPTFILES = 0x00000010;

// Sets or clears the window's WS_EX_ACCEPTFILES.
void DragAcceptFiles(HWND hwnd, BOOL accept);
// With index 0xFFFFFFFF: the number of files. Otherwise the length of the index-th name
// (without its terminator); with a buffer, copies up to size-1 characters of it and
// terminates. 0 for a bad index or a null handle.
UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT size);
void DragFinish(HDROP drop);

namespace platform {

// A drop handle carrying the names, in order; freed by DragFinish.
HDROP MakeDropHandle(const std::vector<std::wstring>& paths);
// Whether the window takes dropped files.
bool AcceptsDroppedFiles(HWND hwnd);

} // namespace platform
