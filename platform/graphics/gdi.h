// Device contexts and drawing objects: handles, constants and the flat drawing calls.
// A device context draws onto a surface (raster or recording, see surface.h) in device units.
#pragma once

#include "platform/core/types.h"

struct GdiObjectImpl;
struct DcImpl;
typedef GdiObjectImpl* HGDIOBJ;
typedef HGDIOBJ HPEN;
typedef HGDIOBJ HBRUSH;
typedef HGDIOBJ HFONT;
typedef HGDIOBJ HRGN;
typedef HGDIOBJ HBITMAP;
typedef HGDIOBJ HPALETTE;
typedef DcImpl* HDC;

// Raster operations of the pen.
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

// Pen styles, end caps, joins and types.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;
constexpr int PS_USERSTYLE = 7;
constexpr int PS_ALTERNATE = 8;
constexpr int PS_STYLE_MASK = 0x0000000F;
constexpr int PS_ENDCAP_ROUND = 0x00000000;
constexpr int PS_ENDCAP_SQUARE = 0x00000100;
constexpr int PS_ENDCAP_FLAT = 0x00000200;
constexpr int PS_ENDCAP_MASK = 0x00000F00;
constexpr int PS_JOIN_ROUND = 0x00000000;
constexpr int PS_JOIN_BEVEL = 0x00001000;
constexpr int PS_JOIN_MITER = 0x00002000;
constexpr int PS_JOIN_MASK = 0x0000F000;
constexpr int PS_COSMETIC = 0x00000000;
constexpr int PS_GEOMETRIC = 0x00010000;
constexpr int PS_TYPE_MASK = 0x000F0000;

// Brush styles and hatches.
constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = 1;
constexpr UINT BS_HATCHED = 2;
constexpr int HS_HORIZONTAL = 0;
constexpr int HS_VERTICAL = 1;
constexpr int HS_FDIAGONAL = 2;
constexpr int HS_BDIAGONAL = 3;
constexpr int HS_CROSS = 4;
constexpr int HS_DIAGCROSS = 5;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = 5;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int OEM_FIXED_FONT = 10;
constexpr int ANSI_FIXED_FONT = 11;
constexpr int ANSI_VAR_FONT = 12;
constexpr int SYSTEM_FONT = 13;
constexpr int DEVICE_DEFAULT_FONT = 14;
constexpr int DEFAULT_PALETTE = 15;
constexpr int SYSTEM_FIXED_FONT = 16;
constexpr int DEFAULT_GUI_FONT = 17;

// Object types.
constexpr DWORD OBJ_PEN = 1;
constexpr DWORD OBJ_BRUSH = 2;
constexpr DWORD OBJ_DC = 3;
constexpr DWORD OBJ_PAL = 5;
constexpr DWORD OBJ_FONT = 6;
constexpr DWORD OBJ_BITMAP = 7;
constexpr DWORD OBJ_REGION = 8;
constexpr DWORD OBJ_MEMDC = 10;
constexpr DWORD OBJ_EXTPEN = 11;

// Regions.
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;
constexpr int ERROR = 0;
constexpr int RGN_ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
// Polygon fill modes.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// Map modes (only the text mode with its two origins is kept by the device context).
constexpr int MM_TEXT = 1;

// Path point types.
constexpr BYTE PT_CLOSEFIGURE = 0x01;
constexpr BYTE PT_LINETO = 0x02;
constexpr BYTE PT_BEZIERTO = 0x04;
constexpr BYTE PT_MOVETO = 0x06;

// Block transfer operations.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// Text alignment.
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;

// System colours.
constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_3DFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_BTNHIGHLIGHT = 20;

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr DWORD BI_RGB = 0;
constexpr int LF_FACESIZE = 32;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
};

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
};

struct LOGFONTW {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    wchar_t lfFaceName[LF_FACESIZE];
};
typedef LOGFONTW LOGFONT;

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight; // positive: bottom-up rows; negative: top-down
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

struct TEXTMETRICW {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
};
typedef TEXTMETRICW TEXTMETRIC;

// Objects.
HPEN CreatePen(int style, int width, COLORREF colour);
HPEN CreatePenIndirect(const LOGPEN* pen);
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount,
                  const DWORD* styles);
HBRUSH CreateSolidBrush(COLORREF colour);
// Logical palettes: the colours that views select on palette displays.
struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};
struct LOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1]; // palNumEntries entries follow in the same allocation
};
HPALETTE CreatePalette(const LOGPALETTE* lp);
UINT GetPaletteEntries(HPALETTE pal, UINT start, UINT count, PALETTEENTRY* entries);
HBRUSH CreateHatchBrush(int hatch, COLORREF colour);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
HFONT CreateFontIndirectW(const LOGFONTW* font);
HGDIOBJ GetStockObject(int id);
BOOL DeleteObject(HGDIOBJ obj);
DWORD GetObjectType(HGDIOBJ obj);
int GetObjectW(HGDIOBJ obj, int size, void* out);
COLORREF GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);

// Regions: unions of rectangles in device units.
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode);
int GetRgnBox(HRGN rgn, RECT* box);
int OffsetRgn(HRGN rgn, int dx, int dy);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, const RECT* rect);
BOOL EqualRgn(HRGN a, HRGN b);
// The region's rectangles, banded top to bottom and left to right; returns the count.
int GetRegionRects(HRGN rgn, RECT* out, int max);

// Device contexts.
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj);
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
int SelectClipRgn(HDC hdc, HRGN rgn);
int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode);
int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);
int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
int GetClipBox(HDC hdc, RECT* rect);
// 1 with a copy of the clip region, 0 without clipping, -1 on error.
int GetClipRgn(HDC hdc, HRGN rgn);
int SaveDC(HDC hdc);
BOOL RestoreDC(HDC hdc, int saved);

int SetROP2(HDC hdc, int rop);
int GetROP2(HDC hdc);
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
// ALTERNATE (even-odd) or WINDING; 0 for any other mode.
int SetPolyFillMode(HDC hdc, int mode);
int GetPolyFillMode(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF colour);
COLORREF GetBkColor(HDC hdc);
COLORREF SetTextColor(HDC hdc, COLORREF colour);
COLORREF GetTextColor(HDC hdc);
UINT SetTextAlign(HDC hdc, UINT align);
UINT GetTextAlign(HDC hdc);
int SetMapMode(HDC hdc, int mode);
int GetMapMode(HDC hdc);
BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* old);
BOOL GetViewportOrgEx(HDC hdc, POINT* org);
BOOL SetWindowOrgEx(HDC hdc, int x, int y, POINT* old);
BOOL GetWindowOrgEx(HDC hdc, POINT* org);
BOOL LPtoDP(HDC hdc, POINT* pts, int count);
BOOL DPtoLP(HDC hdc, POINT* pts, int count);

// Drawing (logical coordinates of the device context).
BOOL MoveToEx(HDC hdc, int x, int y, POINT* old);
BOOL GetCurrentPositionEx(HDC hdc, POINT* pos);
BOOL LineTo(HDC hdc, int x, int y);
BOOL Polyline(HDC hdc, const POINT* pts, int count);
BOOL PolylineTo(HDC hdc, const POINT* pts, DWORD count);
BOOL Polygon(HDC hdc, const POINT* pts, int count);
BOOL PolyBezier(HDC hdc, const POINT* pts, DWORD count);
BOOL PolyBezierTo(HDC hdc, const POINT* pts, DWORD count);
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height);
BOOL Arc(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye);
int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC hdc, const RECT* rect);
BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush);
BOOL PaintRgn(HDC hdc, HRGN rgn);
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF colour);
COLORREF GetPixel(HDC hdc, int x, int y);
BOOL TextOutW(HDC hdc, int x, int y, const wchar_t* text, int count);
BOOL GetTextExtentPoint32W(HDC hdc, const wchar_t* text, int count, SIZE* size);
BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* tm);
BOOL BitBlt(HDC dest, int x, int y, int cx, int cy, HDC src, int sx, int sy, DWORD rop);
BOOL PatBlt(HDC hdc, int x, int y, int cx, int cy, DWORD rop);

// Paths. Points are kept in device units; FlattenPath uses a fixed tolerance so that hit tests
// on the flattened path give the same answer on every run.
BOOL BeginPath(HDC hdc);
BOOL EndPath(HDC hdc);
BOOL AbortPath(HDC hdc);
BOOL CloseFigure(HDC hdc);
BOOL StrokePath(HDC hdc);
BOOL FillPath(HDC hdc);
BOOL StrokeAndFillPath(HDC hdc);
BOOL FlattenPath(HDC hdc);
// With count 0 returns the number of points; otherwise copies up to count points, -1 when the
// buffer is too small or there is no closed path.
int GetPath(HDC hdc, POINT* pts, BYTE* types, int count);

// Bitmaps: DIB sections of 24 or 32 bits per pixel.
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);

// Flattening of one cubic segment with the layer's tolerance: appends the points after p0.
void FlattenBezier(POINT p0, POINT p1, POINT p2, POINT p3, void (*sink)(void* ctx, POINT p),
                   void* ctx);
