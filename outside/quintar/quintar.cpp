#include "outside/quintar/quintar.h"

#include "platform/graphics/dc.h"
#include "platform/graphics/gdi_objects.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNCREATE(CQuintar, CView)

namespace {

CQuintar::SheetReader& Reader() {
    static CQuintar::SheetReader reader;
    return reader;
}

// Round the sheet: the colour of the window's work space.
constexpr COLORREF kSurround = 0xA0A0A0;
constexpr COLORREF kOutline = 0x000000;

} // namespace

void CQuintar::SetSheetReader(SheetReader reader) {
    Reader() = std::move(reader);
}

CRect CQuintar::FitSheet(const CRect& client, const SheetExtents& sheet, const SheetExtents& used) {
    const double sw = double(sheet.x2) - sheet.x1, sh = double(sheet.y2) - sheet.y1;
    const double cw = double(client.Width()) - 2 * kMargin;
    const double ch = double(client.Height()) - 2 * kMargin;
    if (sw <= 0 || sh <= 0 || cw <= 0 || ch <= 0)
        return CRect();
    const bool hasUse = used.x2 >= used.x1 && used.y2 >= used.y1;
    // Pixels per data unit: the whole sheet; a roll's width across the window, shrunk until the
    // part in use fits too.
    double scale = std::min(cw / sw, ch / sh);
    const bool rollUp = sh / sw > kRollRatio * ch / cw;
    const bool rollAcross = sw / sh > kRollRatio * cw / ch;
    if (rollUp) {
        scale = cw / sw;
        if (hasUse && (double(used.y2) - sheet.y1) * scale > ch)
            scale = ch / (double(used.y2) - sheet.y1);
    } else if (rollAcross) {
        scale = ch / sh;
        if (hasUse && (double(used.x2) - sheet.x1) * scale > cw)
            scale = cw / (double(used.x2) - sheet.x1);
    }
    const double w = std::max(1.0, std::round(sw * scale)),
                 h = std::max(1.0, std::round(sh * scale));
    // A roll starts at the window's edge; a sheet, or a roll's width, is centred.
    double left = client.left + kMargin + (rollAcross ? 0 : std::floor((cw - w) / 2));
    double top =
        rollUp ? client.bottom - kMargin - h : client.top + kMargin + std::floor((ch - h) / 2);
    auto clamp = [](double v) { return LONG(std::clamp(v, -1e9, 1e9)); };
    return CRect(clamp(left), clamp(top), clamp(left + w), clamp(top + h));
}

void CQuintar::OnDraw(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    const SheetReader& reader = Reader();
    SheetExtents sheet, used;
    CDocument* doc = GetDocument();
    CRect at;
    if (doc && reader.extents && reader.extents(doc, sheet, used))
        at = FitSheet(client, sheet, used);
    if (at.IsRectEmpty()) {
        dc->FillSolidRect(&client, ::GetSysColor(COLOR_WINDOW));
        return;
    }
    // A roll reaches past the window: what is seen of it.
    CRect seen;
    seen.IntersectRect(&at, &client);
    dc->FillSolidRect(&client, kSurround);
    dc->FillSolidRect(&seen, ::GetSysColor(COLOR_WINDOW));
    if (reader.draw) {
        const int saved = dc->SaveDC();
        dc->IntersectClipRect(&seen);
        reader.draw(doc, dc, at, sheet);
        dc->RestoreDC(saved);
    }
    // The outline last, so that nothing placed at the sheet's edge hides it.
    CPen pen(PS_SOLID, 1, kOutline);
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(at.left, at.top);
    dc->LineTo(at.right - 1, at.top);
    dc->LineTo(at.right - 1, at.bottom - 1);
    dc->LineTo(at.left, at.bottom - 1);
    dc->LineTo(at.left, at.top);
    dc->SelectObject(old);
}
