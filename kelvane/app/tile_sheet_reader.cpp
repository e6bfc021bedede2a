#include "kelvane/app/tile_sheet_reader.h"

#include "hobrand/media_manager_blk.h"
#include "pivora/article.h"
#include "pivora/framework/jox_dc.h"
#include "pivora/jox_page.h"

namespace {

CMediaManagerBlk* SheetBlock(CDocument* doc) {
    auto* page = dynamic_cast<CJoxPage*>(doc);
    return page ? dynamic_cast<CMediaManagerBlk*>(page->FindParam(CParamBlk::kMediaManagerId))
                : nullptr;
}

bool SheetExtents(CDocument* doc, CQuintar::SheetExtents& sheet, CQuintar::SheetExtents& used) {
    CMediaManagerBlk* block = SheetBlock(doc);
    if (!block)
        return false;
    CWindow w;
    block->fnGetSheetExtents(&w);
    if (w.x2 <= w.x1 || w.y2 <= w.y1)
        return false;
    sheet = {w.x1, w.y1, w.x2, w.y2};
    const CWindow u = static_cast<CJoxPage*>(doc)->RootArticle()->Extents(0);
    used = {u.x1, u.y1, u.x2, u.y2};
    return true;
}

// The page drawn as its views draw it, through the drawing context's own mapping: the sheet's
// high-left corner on the device rectangle's top-left, one scale for both axes.
void DrawSheet(CDocument* doc, CDC* dc, const RECT& device, const CQuintar::SheetExtents& sheet) {
    auto* page = dynamic_cast<CJoxPage*>(doc);
    if (!page || !dc)
        return;
    CJoxDC jdc;
    jdc.Attach(dc->m_hDC);
    jdc.SetMapMode(1);
    jdc.SetWindowExt(sheet.x2 - sheet.x1, sheet.y2 - sheet.y1);
    jdc.SetViewportExt(device.right - device.left, -(device.bottom - device.top));
    jdc.SetViewportOrg(0, 0);
    CPoint corner(sheet.x1, sheet.y2);
    jdc.LPtoDP(corner);
    jdc.SetViewportOrg(device.left - corner.x, device.top - corner.y);
    page->OnDraw(nullptr, &jdc);
    jdc.Detach();
}

} // namespace

CQuintar::SheetReader FnTileSheetReader() {
    return {SheetExtents, DrawSheet};
}
