// Metafiles: an enhanced metafile records in memory every call drawn on its context (in device
// units, as the recording surface keeps them); it converts to the old-style metafile bytes
// (16-bit records, little-endian) that pictures on the clipboard carry, and those bytes play
// back onto any context.
#pragma once

#include "platform/graphics/gdi.h"

#include <vector>

typedef HANDLE HENHMETAFILE;
typedef HANDLE HMETAFILE;

// The picture record of CF_METAFILEPICT: mapping mode, extents, and the metafile.
struct METAFILEPICT {
    LONG mm;
    LONG xExt;
    LONG yExt;
    HMETAFILE hMF;
};

// Old-style record functions written and played here.
enum : WORD {
    META_EOF = 0x0000,
    META_SETBKMODE = 0x0102,
    META_SETMAPMODE = 0x0103,
    META_SETROP2 = 0x0104,
    META_SETPOLYFILLMODE = 0x0106,
    META_SELECTOBJECT = 0x012D,
    META_DELETEOBJECT = 0x01F0,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_ELLIPSE = 0x0418,
    META_RECTANGLE = 0x041B,
};
// Words of the old-style header, its type (memory) and version.
constexpr WORD kMetaHeaderWords = 9;
constexpr WORD kMetaMemory = 1;
constexpr WORD kMetaVersion = 0x0300;

// A context that records into a new enhanced metafile; only memory metafiles (file null).
// frame is in hundredths of a millimetre; description is two strings ended by zero characters.
HDC CreateEnhMetaFileW(HDC reference, LPCWSTR file, const RECT* frame, LPCWSTR description);
HENHMETAFILE CloseEnhMetaFile(HDC hdc);
BOOL DeleteEnhMetaFile(HENHMETAFILE emf);
// Characters of the description with its zero characters (copied when buffer is given).
UINT GetEnhMetaFileDescriptionW(HENHMETAFILE emf, UINT max, LPWSTR buffer);
// The old-style bytes of the recorded calls: their size with a null buffer, else the bytes
// written (0 when the buffer is too small). Only the text mapping mode (1) is written.
UINT GetWinMetaFileBits(HENHMETAFILE emf, UINT size, BYTE* buffer, int mapMode, HDC reference);
// A metafile of old-style bytes; null when they are no metafile.
HMETAFILE SetMetaFileBitsEx(UINT size, const BYTE* bytes);
UINT GetMetaFileBitsEx(HMETAFILE mf, UINT size, LPVOID buffer);
BOOL DeleteMetaFile(HMETAFILE mf);
// Draws the metafile's records onto hdc (device units of the picture).
BOOL PlayMetaFile(HDC hdc, HMETAFILE mf);

namespace platform {

class RecordingSurface;

// The calls an enhanced metafile holds, and its frame; null for no metafile.
const RecordingSurface* EnhMetaFileCalls(HENHMETAFILE emf);
bool EnhMetaFileFrame(HENHMETAFILE emf, RECT* frame);
int MetaFileCount(); // live metafiles of both kinds (tests check that nothing leaks)

} // namespace platform
