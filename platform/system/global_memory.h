// Global memory blocks: the movable, lockable blocks that the clipboard and the old picture
// formats hand around. A block lives until GlobalFree, or until the clipboard that took it is
// emptied.
#pragma once

#include "platform/core/types.h"

typedef HANDLE HGLOBAL;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_DDESHARE = 0x2000;
constexpr UINT GMEM_SHARE = 0x2000;

// Null when the size is 0 or the memory cannot be had.
HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
LPVOID GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
size_t GlobalSize(HGLOBAL block);
// Null on success, the block itself when it was not a block.
HGLOBAL GlobalFree(HGLOBAL block);

namespace platform {
// Whether the handle is a live block (tests check that nothing leaks).
bool IsGlobalBlock(HGLOBAL block);
int GlobalBlockCount();
} // namespace platform
