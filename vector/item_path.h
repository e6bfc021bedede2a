// One item's part of its article's path. The items of an article draw into the one path that
// the outermost drawing level opens; that level, on closing it, strokes the path, and fills it
// in auto fill mode.
#pragma once

#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_dc.h"
#include "vector/vector_article.h"

// Runs draw with the pen and brush selected; nothing is drawn when either cannot be made.
template <class Draw>
void FnDrawItemPath(CJoxDC* dc, int penStyle, int penWidth, COLORREF line, COLORREF fill,
                    Draw draw) {
    CPen pen;
    CBrush brush;
    if (!pen.CreatePen(penStyle, penWidth, line) || !brush.CreateSolidBrush(fill))
        return;
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    if (dc->IncLevelCount() < 2)
        dc->BeginPath();
    draw();
    if (dc->DecLevelCount() < 1) {
        dc->EndPath();
        if (QvGetSetAppParam(CVectorArticle::kAutoFillMode, CVectorArticle::kAutoFillModeDefault))
            dc->StrokeAndFillPath();
        else
            dc->StrokePath();
    }
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
}
