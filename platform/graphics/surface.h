// Surfaces that device contexts draw on, in device units: a raster image, and a recording that
// keeps every call for tests to inspect.
#pragma once

#include "platform/graphics/gdi.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {

enum class GdiOp {
    MoveTo,
    LineTo,
    Polyline,
    Polygon,
    PolyBezier,
    PolyBezierTo,
    Rectangle,
    Ellipse,
    RoundRect,
    Arc,
    FillRect,
    FrameRect,
    InvertRect,
    FillRgn,
    SetPixel,
    TextOut,
    BitBlt,
    PatBlt,
    BeginPath,
    EndPath,
    AbortPath,
    StrokePath,
    FillPath,
    StrokeAndFillPath,
    // Lines from the current position through each point in turn; pts[0] is that position.
    PolylineTo,
};

const char* GdiOpName(GdiOp op);

// The drawing attributes in force for one call.
struct DrawState {
    int penStyle = PS_SOLID; // style bits incl. type, cap and join
    int penWidth = 0;        // device units; 0 and 1 are one pixel
    COLORREF penColour = 0;
    UINT brushStyle = BS_SOLID;
    COLORREF brushColour = 0xFFFFFF;
    int brushHatch = 0;
    int rop = R2_COPYPEN;
    int bkMode = OPAQUE;
    int polyFillMode = ALTERNATE;
    COLORREF bkColour = 0xFFFFFF;
    COLORREF textColour = 0;
    UINT textAlign = 0;
    const LOGFONTW* font = nullptr;
    // Clip rectangles in device units; null when the whole surface is open.
    const std::vector<RECT>* clip = nullptr;
    // Changes whenever any of the above changes for this context, so a surface can cache.
    ULONGLONG generation = 0;
    const void* owner = nullptr;
};

// One call, in device units. Points point into the caller's memory for the length of the call.
struct GdiCall {
    GdiOp op;
    const POINT* pts = nullptr;
    int count = 0;
    const BYTE* types = nullptr; // path point types for the path calls
    RECT rect{0, 0, 0, 0};
    const wchar_t* text = nullptr;
    int textLength = 0;
    COLORREF colour = 0; // fill colour of FillRect / FillRgn / SetPixel
    bool nullBrush = false;
    DWORD rasterOp = 0;                       // BitBlt / PatBlt
    const std::vector<RECT>* rects = nullptr; // FillRgn
    class Surface* source = nullptr;          // BitBlt
    POINT sourceOrigin{0, 0};
};

class Surface {
public:
    virtual ~Surface() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void Draw(const GdiCall& call, const DrawState& state) = 0;
    // Pixel of the surface as a colour, CLR_INVALID where there is none.
    virtual COLORREF Pixel(int x, int y) { return (void)x, (void)y, CLR_INVALID; }
    // Colour depth the surface reports to its contexts.
    virtual int BitsPerPixel() const { return 32; }
};

// What a recording keeps of one call.
struct RecordedCall {
    GdiOp op;
    std::vector<POINT> pts;
    std::vector<BYTE> types;
    RECT rect{0, 0, 0, 0};
    std::wstring text;
    COLORREF colour = 0;
    DWORD rasterOp = 0;
    int rop = R2_COPYPEN;
    int penStyle = PS_SOLID;
    int penWidth = 0;
    COLORREF penColour = 0;
    int bkMode = OPAQUE;
    int polyFillMode = ALTERNATE;
    UINT brushStyle = BS_SOLID;
    COLORREF brushColour = 0;
    bool clipped = false;
};

class RecordingSurface : public Surface {
public:
    RecordingSurface(int width = 1920, int height = 1080, int bitsPerPixel = 32)
        : m_width(width), m_height(height), m_bits(bitsPerPixel) {}
    int Width() const override { return m_width; }
    int BitsPerPixel() const override { return m_bits; }
    int Height() const override { return m_height; }
    void Draw(const GdiCall& call, const DrawState& state) override;

    const std::vector<RecordedCall>& Calls() const { return m_calls; }
    std::vector<RecordedCall> Calls(GdiOp op) const;
    int Count(GdiOp op) const;
    void Clear() { m_calls.clear(); }
    // One line per call, e.g. "LineTo 10,20 rop=7"; for failure messages.
    std::string Dump() const;

private:
    int m_width, m_height;
    int m_bits;
    std::vector<RecordedCall> m_calls;
};

// A 32-bit image painted with antialiasing off and flat caps.
class RasterSurface : public Surface {
public:
    RasterSurface(int width, int height, COLORREF fill = 0xFFFFFF);
    // Paints into memory owned by someone else (a DIB section): 24 or 32 bits per pixel,
    // rows of `stride` bytes, the first row at the bottom when bottomUp.
    RasterSurface(void* bits, int width, int height, int bitsPerPixel, int stride, bool bottomUp);
    ~RasterSurface() override;
    RasterSurface(const RasterSurface&) = delete;
    RasterSurface& operator=(const RasterSurface&) = delete;

    int Width() const override;
    int Height() const override;
    void Draw(const GdiCall& call, const DrawState& state) override;
    COLORREF Pixel(int x, int y) override;

    void Fill(COLORREF colour);
    // Resizes, keeping the pixels that still fit and filling the rest.
    void Resize(int width, int height, COLORREF fill = 0xFFFFFF);
    bool SavePng(const std::string& path);
    // The pixels as 0xAARRGGBB words, row by row (for the display and for comparisons).
    std::vector<uint32_t> Pixels();
    // Ends painting so that the image may be read from elsewhere.
    void Flush();
    // Thin solid lines in copy or XOR mode are written straight into the pixels unless this is
    // off (then every line goes through the painter; for comparisons).
    void SetDirectLines(bool on);
    // Opaque access to the image for the display layer (a QImage*).
    void* NativeImage();

    struct Impl;

private:
    std::unique_ptr<Impl> m_impl;
};

// A device context that draws on a surface it does not own. Delete with DeleteDC.
HDC CreateSurfaceDC(Surface* surface);
Surface* GetDCSurface(HDC hdc);

} // namespace platform
