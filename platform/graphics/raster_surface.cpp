// The raster surface on QImage / QPainter: antialiasing off, flat caps (the last pixel of a line
// is not drawn, so joined XOR segments share their vertex once), raster operations for the pen.
#include "platform/graphics/gdi_internal.h"
#include "platform/graphics/surface.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QStringList>
#include <QtGui/QFont>
#include <QtGui/QFontMetrics>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <utility>

namespace platform {

namespace {

QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

COLORREF FromRgb(QRgb v) {
    return RGB(BYTE(qRed(v)), BYTE(qGreen(v)), BYTE(qBlue(v)));
}

// Fonts need the GUI application; a headless program gets an offscreen one on first use.
void EnsureGuiApplication() {
    if (QCoreApplication::instance())
        return;
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "kelvane";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

// The faces the deliverables name, each mapped to fonts a Linux system has; the first one
// installed is used.
void MapNamedFaces() {
    static const bool done = [] {
        const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                  QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans")};
        const QStringList serif = {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
                                   QStringLiteral("DejaVu Serif"), QStringLiteral("Noto Serif")};
        const QStringList mono = {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"),
                                  QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Mono")};
        for (const char* face : {"Arial", "Helvetica", "MS Sans Serif", "MS Shell Dlg",
                                 "MS Shell Dlg 2", "Tahoma", "Verdana", "Segoe UI"})
            QFont::insertSubstitutions(QString::fromLatin1(face), sans);
        for (const char* face : {"Times New Roman", "Times", "MS Serif"})
            QFont::insertSubstitutions(QString::fromLatin1(face), serif);
        for (const char* face : {"Courier New", "Courier", "Lucida Console", "Fixedsys"})
            QFont::insertSubstitutions(QString::fromLatin1(face), mono);
        return true;
    }();
    (void)done;
}

QFont ToQFont(const LOGFONTW* lf) {
    MapNamedFaces();
    QFont f;
    if (!lf) {
        f.setPixelSize(13);
        return f;
    }
    QString face = QString::fromWCharArray(lf->lfFaceName);
    // The faces the program names are mapped to what the system has.
    if (face.contains(QLatin1String("Courier"), Qt::CaseInsensitive) ||
        face.contains(QLatin1String("Fixed"), Qt::CaseInsensitive))
        f.setStyleHint(QFont::Monospace);
    else
        f.setStyleHint(QFont::SansSerif);
    f.setFamily(face.isEmpty() ? QStringLiteral("DejaVu Sans") : face);
    int h = lf->lfHeight;
    int px = h < 0 ? -h : h > 0 ? std::max(1, h * 85 / 100) : 13;
    f.setPixelSize(std::max(1, px));
    int w = lf->lfWeight ? std::clamp(int(lf->lfWeight), 100, 900) : 400;
    f.setWeight(QFont::Weight(w));
    f.setItalic(lf->lfItalic);
    f.setUnderline(lf->lfUnderline);
    f.setStrikeOut(lf->lfStrikeOut);
    return f;
}

// Far coordinates would overflow the rasteriser's fixed point; lines are clipped to a margin
// around the image first (Liang-Barsky), areas clamped.
constexpr double kMargin = 64;

bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double w, double h) {
    double xmin = -kMargin, ymin = -kMargin, xmax = w + kMargin, ymax = h + kMargin;
    double dx = x1 - x0, dy = y1 - y0, t0 = 0, t1 = 1;
    auto edge = [&](double p, double q) {
        if (p == 0)
            return q >= 0;
        double r = q / p;
        if (p < 0) {
            if (r > t1)
                return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0)
                return false;
            t1 = std::min(t1, r);
        }
        return true;
    };
    if (!edge(-dx, x0 - xmin) || !edge(dx, xmax - x0) || !edge(-dy, y0 - ymin) ||
        !edge(dy, ymax - y0))
        return false;
    double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy, nx1 = x0 + t1 * dx, ny1 = y0 + t1 * dy;
    x0 = nx0, y0 = ny0, x1 = nx1, y1 = ny1;
    return true;
}

int Clamp(LONG v, int limit) {
    return int(std::clamp<LONG>(v, -limit, limit));
}

constexpr int kAreaLimit = 1 << 22;

QRect GdiRect(const RECT& r, bool inclusiveOutline) {
    int l = Clamp(std::min(r.left, r.right), kAreaLimit),
        rr = Clamp(std::max(r.left, r.right), kAreaLimit);
    int t = Clamp(std::min(r.top, r.bottom), kAreaLimit),
        b = Clamp(std::max(r.top, r.bottom), kAreaLimit);
    // A rectangle excludes its right and bottom edges; Qt's outline covers width + 1 pixels.
    if (inclusiveOutline)
        return QRect(l, t, std::max(0, rr - l - 1), std::max(0, b - t - 1));
    return QRect(l, t, rr - l, b - t);
}

QPainter::CompositionMode ModeFor(int rop) {
    switch (rop) {
    case R2_XORPEN:
        return QPainter::RasterOp_SourceXorDestination;
    case R2_NOTXORPEN:
        return QPainter::RasterOp_NotSourceXorDestination;
    case R2_NOT:
        return QPainter::RasterOp_NotDestination;
    case R2_MASKPEN:
        return QPainter::RasterOp_SourceAndDestination;
    case R2_MERGEPEN:
        return QPainter::RasterOp_SourceOrDestination;
    case R2_NOTMASKPEN:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case R2_NOTMERGEPEN:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case R2_MASKNOTPEN:
        return QPainter::RasterOp_NotSourceAndDestination;
    case R2_MASKPENNOT:
        return QPainter::RasterOp_SourceAndNotDestination;
    case R2_MERGENOTPEN:
        return QPainter::RasterOp_NotSourceOrDestination;
    case R2_MERGEPENNOT:
        return QPainter::RasterOp_SourceOrNotDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

COLORREF RopColour(int rop, COLORREF c) {
    switch (rop) {
    case R2_BLACK:
        return 0;
    case R2_WHITE:
        return 0xFFFFFF;
    case R2_NOTCOPYPEN:
        return ~c & 0xFFFFFF;
    default:
        return c;
    }
}

QVector<qreal> DashPattern(int style, int width) {
    QVector<qreal> p;
    switch (style & PS_STYLE_MASK) {
    case PS_DASH:
        p = {18, 6};
        break;
    case PS_DOT:
        p = {3, 3};
        break;
    case PS_DASHDOT:
        p = {9, 6, 3, 6};
        break;
    case PS_DASHDOTDOT:
        p = {9, 3, 3, 3, 3, 3};
        break;
    case PS_ALTERNATE:
        p = {1, 1};
        break;
    default:
        return p;
    }
    if (width > 1)
        for (qreal& v : p)
            v = std::max<qreal>(1, v / width);
    return p;
}

} // namespace

struct RasterSurface::Impl {
    QImage image;
    std::unique_ptr<QPainter> painter;
    bool flip = false;
    // The state the line fields below were worked out for.
    const void* owner = nullptr;
    ULONGLONG generation = 0;
    // The state the painter's pen, brush, modes, clip and font were set for: lines written
    // straight into the pixels never need them, so they are set only for painter calls.
    const void* painterOwner = nullptr;
    ULONGLONG painterGeneration = 0;
    bool nothing = false; // the current state draws nothing (empty clip or R2_NOP)
    int rop = R2_COPYPEN;

    // What the painter has now, so that unchanged clips and fonts are not set again.
    std::vector<RECT> clipRects;
    bool clipSet = false;
    bool clipKnown = false; // false: whatever the painter has, set it again
    LOGFONTW fontApplied{};
    bool fontSet = false;

    // The pen, brush, background and mode the painter has now; stateKnown false: set them all.
    struct PenKey {
        int style, width;
        COLORREF colour;
        bool operator==(const PenKey& o) const {
            return style == o.style && width == o.width && colour == o.colour;
        }
    };
    bool stateKnown = false;
    PenKey penApplied{}, brushApplied{};
    int bkModeApplied = 0, ropApplied = 0;
    COLORREF bkColourApplied = 0;

    static bool SameRects(const std::vector<RECT>& a, const std::vector<RECT>& b) {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i].left != b[i].left || a[i].top != b[i].top || a[i].right != b[i].right ||
                a[i].bottom != b[i].bottom)
                return false;
        return true;
    }

    QPainter& P() {
        if (!painter) {
            clipKnown = false;
            fontSet = false;
            stateKnown = false;
            painter = std::make_unique<QPainter>(&image);
            painter->setRenderHint(QPainter::Antialiasing, false);
            painter->setRenderHint(QPainter::TextAntialiasing, false);
            if (flip)
                painter->setTransform(QTransform(1, 0, 0, -1, 0, image.height()));
            painterOwner = nullptr;
            // Beginning to paint may give the image pixels of its own.
            owner = nullptr;
            directBits = const_cast<uchar*>(image.constBits());
        }
        return *painter;
    }

    // One-pixel solid lines in copy or XOR mode, wholly inside the image and the clip, are
    // written straight into the pixels with the painter's own stepping (26.6 fixed point,
    // 16.16 increments, the end with the larger coordinate left out): a painter call per
    // short line costs several times the line.
    bool directLines = true;
    bool direct = false;    // the current state may write lines straight into the pixels
    bool directXor = false; // XOR rather than copy
    uint32_t directColour = 0;

    int directLeft = 0, directTop = 0, directRight = -1, directBottom = -1; // inclusive
    uchar* directBits = nullptr;
    qsizetype directStride = 0;

    bool DirectSegment(POINT a, POINT b) {
        if (a.x < directLeft || a.x > directRight || a.y < directTop || a.y > directBottom ||
            b.x < directLeft || b.x > directRight || b.y < directTop || b.y > directBottom ||
            (a.x == b.x && a.y == b.y))
            return false;
        uchar* const bits = directBits;
        const qsizetype stride = directStride;
        auto plot = [&](int x, int y) {
            auto* px = reinterpret_cast<uint32_t*>(bits + y * stride) + x;
            *px = directXor ? *px ^ directColour : directColour;
        };
        StepLine(a.x, a.y, b.x, b.y, plot);
        return true;
    }

    template <class Plot> static void StepLine(int xa, int ya, int xb, int yb, Plot plot) {
        int64_t x1 = int64_t(xa) * 64, y1 = int64_t(ya) * 64, x2 = int64_t(xb) * 64,
                y2 = int64_t(yb) * 64;
        const int64_t dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
        if (dx < dy) {
            if (y1 > y2)
                std::swap(x1, x2), std::swap(y1, y2);
            const int64_t inc = (x2 - x1) * 65536 / (y2 - y1);
            int64_t x = x1 * 1024, y = (y1 + 32) >> 6;
            const int64_t ys = (y2 + 32) >> 6;
            x += ((y * 64) + (inc > 0 ? 32 : 0) - y1) * inc >> 6;
            for (; y < ys; ++y, x += inc)
                plot(int(x >> 16), int(y));
        } else {
            if (x1 > x2)
                std::swap(x1, x2), std::swap(y1, y2);
            const int64_t inc = (y2 - y1) * 65536 / (x2 - x1);
            int64_t y = y1 * 1024, x = (x1 + 32) >> 6;
            const int64_t xs = (x2 + 32) >> 6;
            y += ((x * 64) + (inc > 0 ? 32 : 0) - x1) * inc >> 6;
            for (; x < xs; ++x, y += inc)
                plot(int(x), int(y >> 16));
        }
    }

    void End() {
        painter.reset();
        owner = nullptr;
        painterOwner = nullptr;
    }

    // The painter's state was changed behind Painter's back: the next call sets everything.
    void Invalidate() {
        owner = nullptr;
        painterOwner = nullptr;
        stateKnown = false;
    }

    // What every call needs: whether it draws at all, and how lines are written.
    void Apply(const DrawState& s) {
        if (owner == s.owner && generation == s.generation)
            return;
        owner = s.owner;
        generation = s.generation;
        rop = s.rop;
        nothing = s.rop == R2_NOP || (s.clip && s.clip->empty());
        int style = s.penStyle & PS_STYLE_MASK;
        const bool thinSolid =
            style == PS_SOLID && (s.penStyle & PS_TYPE_MASK) != PS_GEOMETRIC && s.penWidth <= 1;
        direct = directLines && thinSolid && !flip && image.format() == QImage::Format_RGB32 &&
                 (s.rop == R2_COPYPEN || s.rop == R2_XORPEN) && (!s.clip || s.clip->size() == 1);
        if (direct) {
            directXor = s.rop == R2_XORPEN;
            const COLORREF c = s.penColour;
            const uint32_t rgb =
                uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | uint32_t(GetBValue(c));
            directColour = directXor ? rgb : 0xFF000000u | rgb;
            directBits = const_cast<uchar*>(image.constBits());
            directStride = image.bytesPerLine();
            directLeft = 0, directTop = 0;
            directRight = image.width() - 1, directBottom = image.height() - 1;
            if (s.clip) {
                const RECT& r = s.clip->front();
                directLeft = std::max(directLeft, Clamp(r.left, kAreaLimit));
                directTop = std::max(directTop, Clamp(r.top, kAreaLimit));
                directRight = std::min(directRight, Clamp(r.right, kAreaLimit) - 1);
                directBottom = std::min(directBottom, Clamp(r.bottom, kAreaLimit) - 1);
            }
        }
    }

    // The painter with the pen, brush, modes, clip and font of the state.
    QPainter& Painter(const DrawState& s) {
        QPainter& p = P();
        if (painterOwner == s.owner && painterGeneration == s.generation)
            return p;
        painterOwner = s.owner;
        painterGeneration = s.generation;
        const int style = s.penStyle & PS_STYLE_MASK;
        // Pens, brushes and modes go to the painter only when they differ from what it has:
        // each set costs a state change in the paint engine, and most drawing changes one colour.
        const bool geometric = (s.penStyle & PS_TYPE_MASK) == PS_GEOMETRIC || s.penWidth > 1;
        const PenKey penKey{style == PS_NULL ? -1 : s.penStyle, geometric ? s.penWidth : 0,
                            RopColour(s.rop, s.penColour)};
        if (!stateKnown || !(penKey == penApplied)) {
            p.setPen(MakePen(s, style, geometric));
            penApplied = penKey;
        }
        const PenKey brushKey{int(s.brushStyle), s.brushStyle == BS_HATCHED ? s.brushHatch : 0,
                              RopColour(s.rop, s.brushColour)};
        if (!stateKnown || !(brushKey == brushApplied)) {
            if (s.brushStyle == BS_NULL) {
                p.setBrush(Qt::NoBrush);
            } else if (s.brushStyle == BS_HATCHED) {
                static const Qt::BrushStyle hatch[] = {Qt::HorPattern,   Qt::VerPattern,
                                                       Qt::FDiagPattern, Qt::BDiagPattern,
                                                       Qt::CrossPattern, Qt::DiagCrossPattern};
                p.setBrush(QBrush(ToQColor(RopColour(s.rop, s.brushColour)),
                                  hatch[std::clamp(s.brushHatch, 0, 5)]));
            } else {
                p.setBrush(QBrush(ToQColor(RopColour(s.rop, s.brushColour))));
            }
            brushApplied = brushKey;
        }
        if (!stateKnown || s.bkMode != bkModeApplied) {
            p.setBackgroundMode(s.bkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
            bkModeApplied = s.bkMode;
        }
        if (!stateKnown || s.bkColour != bkColourApplied) {
            p.setBackground(QBrush(ToQColor(s.bkColour)));
            bkColourApplied = s.bkColour;
        }
        if (!stateKnown || s.rop != ropApplied) {
            p.setCompositionMode(ModeFor(s.rop));
            ropApplied = s.rop;
        }
        stateKnown = true;
        // Clip and font change far less often than pens and brushes: they are set again
        // only when they differ from what the painter already has.
        const bool clipped = s.clip != nullptr;
        if (!clipKnown || clipped != clipSet || (clipped && !SameRects(*s.clip, clipRects))) {
            if (clipped) {
                QRegion region;
                for (const RECT& r : *s.clip)
                    region += QRect(Clamp(r.left, kAreaLimit), Clamp(r.top, kAreaLimit),
                                    Clamp(r.right, kAreaLimit) - Clamp(r.left, kAreaLimit),
                                    Clamp(r.bottom, kAreaLimit) - Clamp(r.top, kAreaLimit));
                p.setClipRegion(region);
                clipRects = *s.clip;
            } else {
                p.setClipping(false);
                clipRects.clear();
            }
            clipSet = clipped;
            clipKnown = true;
        }
        if (s.font && (!fontSet || std::memcmp(&fontApplied, s.font, sizeof fontApplied) != 0)) {
            EnsureGuiApplication();
            p.setFont(ToQFont(s.font));
            fontApplied = *s.font;
            fontSet = true;
        }
        return p;
    }

    static QPen MakePen(const DrawState& s, int style, bool geometric) {
        if (style == PS_NULL)
            return QPen(Qt::NoPen);
        QPen pen(ToQColor(RopColour(s.rop, s.penColour)));
        if (geometric) {
            pen.setWidth(std::max(1, s.penWidth));
            int cap = s.penStyle & PS_ENDCAP_MASK, join = s.penStyle & PS_JOIN_MASK;
            pen.setCapStyle(cap == PS_ENDCAP_FLAT     ? Qt::FlatCap
                            : cap == PS_ENDCAP_SQUARE ? Qt::SquareCap
                                                      : Qt::RoundCap);
            pen.setJoinStyle(join == PS_JOIN_BEVEL   ? Qt::BevelJoin
                             : join == PS_JOIN_MITER ? Qt::MiterJoin
                                                     : Qt::RoundJoin);
        } else {
            pen.setWidth(0);
            pen.setCapStyle(Qt::FlatCap);
        }
        // A pen made by CreatePen wider than one pixel is solid whatever its style.
        bool dashed = (s.penStyle & PS_TYPE_MASK) == PS_GEOMETRIC || s.penWidth <= 1;
        QVector<qreal> dashes = dashed ? DashPattern(s.penStyle, s.penWidth) : QVector<qreal>();
        if (!dashes.isEmpty())
            pen.setDashPattern(dashes);
        return pen;
    }

    void Segment(const DrawState& s, POINT a, POINT b) {
        if (direct && DirectSegment(a, b))
            return;
        double x0 = a.x, y0 = a.y, x1 = b.x, y1 = b.y;
        bool inRange = std::abs(a.x) < 30000 && std::abs(a.y) < 30000 && std::abs(b.x) < 30000 &&
                       std::abs(b.y) < 30000;
        QPainter& p = Painter(s);
        if (inRange) {
            // One painter call per line: several lines in one call are stepped as one
            // stroke, which adds pixels between them.
            p.drawLine(QPoint(a.x, a.y), QPoint(b.x, b.y));
            return;
        }
        if (!ClipSegment(x0, y0, x1, y1, image.width(), image.height()))
            return;
        p.drawLine(QPointF(std::round(x0), std::round(y0)),
                   QPointF(std::round(x1), std::round(y1)));
    }

    // Fills that ignore the pen's raster operation (FillRect, FrameRect, FillRgn, SetPixel).
    void PlainFill(const QRect& r, COLORREF c) {
        QPainter& p = P();
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.fillRect(r, ToQColor(c));
        p.setCompositionMode(ModeFor(rop));
    }

    void AddPath(QPainterPath& path, const GdiCall& c) {
        POINT last{0, 0};
        for (int i = 0; i < c.count;) {
            BYTE t = c.types[i] & ~PT_CLOSEFIGURE;
            auto q = [](POINT pt) {
                return QPointF(Clamp(pt.x, kAreaLimit), Clamp(pt.y, kAreaLimit));
            };
            if (t == PT_BEZIERTO && i + 2 < c.count) {
                struct Ctx {
                    QPainterPath* path;
                } ctx{&path};
                FlattenBezier(
                    last, c.pts[i], c.pts[i + 1], c.pts[i + 2],
                    [](void* x, POINT pt) {
                        static_cast<Ctx*>(x)->path->lineTo(Clamp(pt.x, kAreaLimit),
                                                           Clamp(pt.y, kAreaLimit));
                    },
                    &ctx);
                last = c.pts[i + 2];
                if (c.types[i + 2] & PT_CLOSEFIGURE)
                    path.closeSubpath();
                i += 3;
                continue;
            }
            if (t == PT_MOVETO)
                path.moveTo(q(c.pts[i]));
            else
                path.lineTo(q(c.pts[i]));
            last = c.pts[i];
            if (c.types[i] & PT_CLOSEFIGURE)
                path.closeSubpath();
            ++i;
        }
    }
};

RasterSurface::RasterSurface(int width, int height, COLORREF fill)
    : m_impl(std::make_unique<Impl>()) {
    m_impl->image = QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
    m_impl->image.fill(ToQColor(fill));
}

RasterSurface::RasterSurface(void* bits, int width, int height, int bitsPerPixel, int stride,
                             bool bottomUp)
    : m_impl(std::make_unique<Impl>()) {
    m_impl->image = QImage(static_cast<uchar*>(bits), width, height, stride,
                           bitsPerPixel == 24 ? QImage::Format_BGR888 : QImage::Format_RGB32);
    m_impl->flip = bottomUp;
}

RasterSurface::~RasterSurface() = default;

int RasterSurface::Width() const {
    return m_impl->image.width();
}
int RasterSurface::Height() const {
    return m_impl->image.height();
}

void RasterSurface::Flush() {
    m_impl->End();
}

void RasterSurface::SetDirectLines(bool on) {
    m_impl->Invalidate();
    m_impl->directLines = on;
}

void* RasterSurface::NativeImage() {
    m_impl->End();
    return &m_impl->image;
}

COLORREF RasterSurface::Pixel(int x, int y) {
    QImage& img = m_impl->image;
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height())
        return CLR_INVALID;
    m_impl->End();
    return FromRgb(img.pixel(x, m_impl->flip ? img.height() - 1 - y : y));
}

void RasterSurface::Fill(COLORREF colour) {
    m_impl->End();
    m_impl->image.fill(ToQColor(colour));
}

void RasterSurface::Resize(int width, int height, COLORREF fill) {
    m_impl->End();
    QImage next(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
    next.fill(ToQColor(fill));
    {
        QPainter p(&next);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, m_impl->image);
    }
    m_impl->image = next;
    m_impl->flip = false;
}

bool RasterSurface::SavePng(const std::string& path) {
    m_impl->End();
    QImage img = m_impl->flip ? m_impl->image.mirrored(false, true) : m_impl->image;
    return img.save(QString::fromStdString(path), "PNG");
}

std::vector<uint32_t> RasterSurface::Pixels() {
    m_impl->End();
    QImage img = m_impl->image.convertToFormat(QImage::Format_RGB32);
    if (m_impl->flip)
        img = img.mirrored(false, true);
    std::vector<uint32_t> out(size_t(img.width()) * size_t(img.height()));
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
        std::copy(row, row + img.width(), out.begin() + ptrdiff_t(y) * img.width());
    }
    return out;
}

void RasterSurface::Draw(const GdiCall& c, const DrawState& s) {
    Impl& m = *m_impl;
    switch (c.op) {
    case GdiOp::MoveTo:
    case GdiOp::BeginPath:
    case GdiOp::EndPath:
    case GdiOp::AbortPath:
        return;
    default:
        break;
    }
    m.Apply(s);
    if (m.nothing)
        return;
    switch (c.op) {
    case GdiOp::LineTo:
        m.Segment(s, c.pts[0], c.pts[1]);
        return;
    case GdiOp::Polyline:
    case GdiOp::PolylineTo:
        for (int i = 1; i < c.count; ++i)
            m.Segment(s, c.pts[i - 1], c.pts[i]);
        return;
    default:
        break;
    }
    QPainter& p = m.Painter(s);
    switch (c.op) {
    case GdiOp::Polygon: {
        QPolygon poly;
        for (int i = 0; i < c.count; ++i)
            poly << QPoint(Clamp(c.pts[i].x, kAreaLimit), Clamp(c.pts[i].y, kAreaLimit));
        p.drawPolygon(poly, Qt::OddEvenFill);
        break;
    }
    case GdiOp::PolyBezier:
    case GdiOp::PolyBezierTo: {
        struct Ctx {
            Impl* m;
            const DrawState* s;
            POINT last;
        } ctx{&m, &s, c.pts[0]};
        for (int i = 1; i + 2 < c.count; i += 3) {
            FlattenBezier(
                c.pts[i - 1], c.pts[i], c.pts[i + 1], c.pts[i + 2],
                [](void* x, POINT pt) {
                    auto* k = static_cast<Ctx*>(x);
                    k->m->Segment(*k->s, k->last, pt);
                    k->last = pt;
                },
                &ctx);
        }
        break;
    }
    case GdiOp::Rectangle:
        p.drawRect(GdiRect(c.rect, true));
        break;
    case GdiOp::Ellipse:
        p.drawEllipse(GdiRect(c.rect, true));
        break;
    case GdiOp::RoundRect: {
        QRect r = GdiRect(c.rect, true);
        p.drawRoundedRect(r, c.count ? c.pts[0].x / 2.0 : 0, c.count ? c.pts[0].y / 2.0 : 0);
        break;
    }
    case GdiOp::Arc: {
        QRect r = GdiRect(c.rect, true);
        double cx = (c.rect.left + c.rect.right) / 2.0, cy = (c.rect.top + c.rect.bottom) / 2.0;
        double a0 = std::atan2(-(c.pts[0].y - cy), c.pts[0].x - cx) * 180 / M_PI;
        double a1 = std::atan2(-(c.pts[1].y - cy), c.pts[1].x - cx) * 180 / M_PI;
        double span = a1 - a0;
        while (span <= 0)
            span += 360;
        p.drawArc(r, int(std::lround(a0 * 16)), int(std::lround(span * 16)));
        break;
    }
    case GdiOp::FillRect:
        if (!c.nullBrush)
            m.PlainFill(GdiRect(c.rect, false), c.colour);
        break;
    case GdiOp::FrameRect: {
        if (c.nullBrush)
            break;
        QRect r = GdiRect(c.rect, false);
        if (r.isEmpty())
            break;
        m.PlainFill(QRect(r.left(), r.top(), r.width(), 1), c.colour);
        m.PlainFill(QRect(r.left(), r.bottom(), r.width(), 1), c.colour);
        m.PlainFill(QRect(r.left(), r.top(), 1, r.height()), c.colour);
        m.PlainFill(QRect(r.right(), r.top(), 1, r.height()), c.colour);
        break;
    }
    case GdiOp::InvertRect:
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
        p.fillRect(GdiRect(c.rect, false), Qt::black);
        p.setCompositionMode(ModeFor(m.rop));
        break;
    case GdiOp::FillRgn:
        if (c.rects && !c.nullBrush)
            for (const RECT& r : *c.rects)
                m.PlainFill(GdiRect(r, false), c.colour);
        break;
    case GdiOp::SetPixel:
        m.PlainFill(QRect(c.pts[0].x, c.pts[0].y, 1, 1), c.colour);
        break;
    case GdiOp::TextOut: {
        EnsureGuiApplication();
        QString text = QString::fromWCharArray(c.text, c.textLength);
        QFontMetrics fm(p.font());
        int x = c.rect.left, y = c.pts[0].y;
        int baseline = (s.textAlign & TA_BASELINE) == TA_BASELINE ? y
                       : (s.textAlign & TA_BOTTOM)                ? y - fm.descent()
                                                                  : y + fm.ascent();
        QRect box(x, baseline - fm.ascent(), fm.horizontalAdvance(text), fm.height());
        if (s.bkMode == OPAQUE)
            m.PlainFill(box, s.bkColour);
        QPen keep = p.pen();
        p.setPen(ToQColor(s.textColour));
        const int escapement = s.font ? int(s.font->lfEscapement) : 0;
        if (escapement % 3600 != 0) {
            // Turned text: tenths of a degree counter-clockwise about the reference point.
            p.save();
            p.translate(x, y);
            p.rotate(-escapement / 10.0);
            p.drawText(QPoint(0, baseline - y), text);
            p.restore();
        } else {
            p.drawText(QPoint(x, baseline), text);
        }
        p.setPen(keep);
        break;
    }
    case GdiOp::BitBlt: {
        auto* src = dynamic_cast<RasterSurface*>(c.source);
        if (!src)
            break;
        QRect target = GdiRect(c.rect, false);
        QImage copy;
        if (src == this) {
            m.End();
            copy =
                m.image.copy(c.sourceOrigin.x, c.sourceOrigin.y, target.width(), target.height());
        } else {
            src->Flush();
            const QImage& si = src->m_impl->image;
            copy =
                src->m_impl->flip
                    ? si.mirrored(false, true)
                          .copy(c.sourceOrigin.x, c.sourceOrigin.y, target.width(), target.height())
                    : si.copy(c.sourceOrigin.x, c.sourceOrigin.y, target.width(), target.height());
        }
        QPainter& q = m.P();
        m.Invalidate();
        m.clipKnown = false; // the copy sets a clip of its own
        q.setCompositionMode(c.rasterOp == SRCINVERT  ? QPainter::RasterOp_SourceXorDestination
                             : c.rasterOp == SRCAND   ? QPainter::RasterOp_SourceAndDestination
                             : c.rasterOp == SRCPAINT ? QPainter::RasterOp_SourceOrDestination
                                                      : QPainter::CompositionMode_Source);
        if (s.clip) {
            QRegion region;
            for (const RECT& r : *s.clip)
                region += GdiRect(r, false);
            q.setClipRegion(region);
        } else {
            q.setClipping(false);
        }
        q.drawImage(target.topLeft(), copy);
        break;
    }
    case GdiOp::PatBlt: {
        QRect r = GdiRect(c.rect, false);
        m.Invalidate();
        switch (c.rasterOp) {
        case BLACKNESS:
            m.PlainFill(r, 0);
            break;
        case WHITENESS:
            m.PlainFill(r, 0xFFFFFF);
            break;
        case DSTINVERT:
            p.setCompositionMode(QPainter::RasterOp_NotDestination);
            p.fillRect(r, Qt::black);
            break;
        case PATINVERT:
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            p.fillRect(r, ToQColor(s.brushColour));
            break;
        default:
            if (s.brushStyle != BS_NULL)
                m.PlainFill(r, s.brushColour);
            break;
        }
        m.Invalidate();
        break;
    }
    case GdiOp::StrokePath:
    case GdiOp::FillPath:
    case GdiOp::StrokeAndFillPath: {
        QPainterPath path;
        path.setFillRule(s.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
        m.AddPath(path, c);
        if (c.op == GdiOp::StrokePath) {
            p.strokePath(path, p.pen());
        } else if (c.op == GdiOp::FillPath) {
            path.closeSubpath();
            p.fillPath(path, p.brush());
        } else {
            path.closeSubpath();
            p.fillPath(path, p.brush());
            p.strokePath(path, p.pen());
        }
        break;
    }
    default:
        break;
    }
}

namespace detail {

namespace {

// The metrics of the font measured last: building them cost far more than measuring, and a
// list of names is measured one by one in one font. Never destroyed: text may be measured
// while other statics go at exit.
struct LastMetrics {
    std::mutex lock;
    bool none = true;
    LOGFONTW key{};
    std::optional<QFontMetrics> metrics;
};

LastMetrics& Last() {
    static LastMetrics* last = new LastMetrics;
    return *last;
}

// Call with the lock held.
const QFontMetrics& MetricsOf(LastMetrics& last, const LOGFONTW* font) {
    const bool none = font == nullptr;
    if (!last.metrics || last.none != none ||
        (font && std::memcmp(&last.key, font, sizeof(LOGFONTW)) != 0)) {
        last.metrics.emplace(ToQFont(font));
        last.none = none;
        last.key = font ? *font : LOGFONTW{};
    }
    return *last.metrics;
}

} // namespace

SIZE MeasureText(const LOGFONTW* font, const wchar_t* text, int count) {
    EnsureGuiApplication();
    LastMetrics& last = Last();
    std::lock_guard<std::mutex> hold(last.lock);
    const QFontMetrics& fm = MetricsOf(last, font);
    QString s = QString::fromWCharArray(text, count);
    return SIZE{fm.horizontalAdvance(s), fm.height()};
}

TEXTMETRICW FontMetrics(const LOGFONTW* font) {
    EnsureGuiApplication();
    QFontMetrics fm(ToQFont(font));
    TEXTMETRICW tm{};
    tm.tmHeight = fm.height();
    tm.tmAscent = fm.ascent();
    tm.tmDescent = fm.descent();
    tm.tmInternalLeading = fm.height() - fm.ascent() - fm.descent();
    tm.tmExternalLeading = fm.leading();
    tm.tmAveCharWidth = fm.averageCharWidth();
    tm.tmMaxCharWidth = fm.maxWidth();
    return tm;
}

} // namespace detail

} // namespace platform
