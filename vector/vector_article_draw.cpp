// Drawing of a vector article: its item and children go into one path, which is stroked, or
// stroked and filled, with the article's style once the outermost level closes it.
#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_dc.h"
#include "pivora/jox_page.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"
#include "vector/vector_style_pb.h"

#include <algorithm>

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;

} // namespace

void CVectorArticle::OnDraw(CJoxView* view, CJoxDC* dc) {
    DrawFillMode(view, dc);
    CLpoint from, to;
    if (fnGetOrientation(from, to))
        dc->SetOrientation(from, to);
}

void CVectorArticle::DrawFillMode(CJoxView* view, CJoxDC* dc) {
    ProcessBackground(view, dc);
    if (InterruptOnDraw(view, dc))
        return;
    const int oldDrawMode = dc->GetDrawMode();
    VECTOR_PROPERTIES_TYPE props;
    GetVectorProperties(this, &props);
    const bool fill = props.nFillOn && QvGetSetAppParam(CVectorArticle::kAutoFillMode,
                                                        CVectorArticle::kAutoFillModeDefault);
    if (props.nDashOn) {
        if (props.nDoNotPrint && dc->IsPrinting())
            return;
        dc->SetDrawMode(CJoxDC::DRAW_PATHS);
    }
    // An article already cut is left out of the output, and the context with it untouched.
    if (dc->fnGetClip() && fnGetValue(kCutDone, 0)) {
        dc->SetDrawMode(oldDrawMode);
        return;
    }
    if (dc->IncLevelCount() < 2)
        dc->BeginPath();
    const bool unclip = dc->fnGetClip() && fnGetValue(kCutNext, 0);
    if (unclip)
        dc->fnSetClip(0);
    CArticle::OnDraw(view, dc);
    if (unclip)
        dc->fnSetClip(1);
    if (dc->DecLevelCount() < 1) {
        dc->EndPath();
        if (dc->GetDrawMode()) {
            COLORREF line = 0;
            GetLineColour(line);
            int style, width;
            if (!props.nDashOn) {
                style = props.nLinePenStyle;
                const bool paper = dc->IsPrinting() && !dc->GetDrawOption(kDrawOptionExact);
                width = std::min(props.nLineThickness, paper ? kMaxPrintWidth : kMaxScreenWidth);
                if (width < 0)
                    width = 1;
            } else {
                style = props.nDashPenStyle;
                width = std::max(props.nDashLineThickness, 0);
            }
            CVectorItem* item = GetItem();
            const bool closed = item && item->IsClosed(0);
            COLORREF brushColour = 0;
            if (!(fill && closed)) {
                GetFillColour(brushColour);
            } else {
                brushColour = kWhite;
                CVectorStylePB* table = fnGetVectorStylePB(GetDocument());
                if (table && table->fnGetVectStyleColourPalette() && props.nFillColour > 0 &&
                    props.nFillColour < table->fnGetSize())
                    brushColour = table->fnGetVectStyleColour(props.nFillColour);
            }
            CPen pen;
            CBrush brush;
            if (pen.CreatePen(style, width, line) && brush.CreateSolidBrush(brushColour)) {
                CPen* oldPen = dc->SelectObject(&pen);
                CBrush* oldBrush = dc->SelectObject(&brush);
                if (fill)
                    dc->SetPolyFillMode(ALTERNATE);
                if (!props.nDashOn && fill && closed)
                    dc->StrokeAndFillPath();
                else
                    dc->StrokePath();
                dc->SelectObject(oldPen);
                dc->SelectObject(oldBrush);
            }
        }
        dc->SetDrawMode(oldDrawMode);
    }
}
