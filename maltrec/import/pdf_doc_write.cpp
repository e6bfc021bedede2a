// The walk that writes a design page into a new PDF document through the library.
#include "maltrec/import/pdf_doc.h"
#include "maltrec/import/pdf_library_binding.h"

#include "bezier/bezier_item.h"
#include "pivora/colour_palette.h"
#include "pivora/jox_page.h"
#include "platform/system/file_names.h"
#include "spline/bezier.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

#include <cmath>

namespace {

constexpr const wchar_t* kCmykColourOn = L".CMYK Colour ON";
constexpr int kRoundLineJoin = 1;
constexpr int kRenderDpi = 300;
constexpr int kFirstPage = 1;
constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kFullTurn = 360.0;

int HasPathElements(CObject* object, void*) {
    auto* article = DynamicDowncast<CVectorArticle>(object);
    auto* item = article ? DynamicDowncast<CVectorItem>(article->GetItem()) : nullptr;
    // Path elements are derived from the points: a design not drawn yet may hold none.
    return item && ((item->Pkt() && item->Pkt()->GetSize() > 0) || item->VectCount() > 0);
}

// Sweep of an arc in degrees, counter-clockwise positive; 0 when no arc is defined.
double SweepDegrees(const CArc& arc) {
    return arc.r > 0 ? (arc.a1 - arc.a0) * kDegreesPerRadian : 0.0;
}

} // namespace

// The walk without the library ------------------------------------------------------------------

bool CPDFDoc::WriteArticle(CArticle* article, CItem* item) {
    if (!article)
        return false;
    m_bDraw = true;
    for (CTree* t = article->GetParent(); t; t = t->GetParent())
        if (auto* a = DynamicDowncast<CArticle>(t); a && a->GetProperty(kWrittenBit)) {
            m_bDraw = false;
            break;
        }
    m_bHasChildren = article->GetFirstChild() != nullptr;
    CTree* parent = article->GetParent();
    m_bCompound = article->GetRsibling() && DynamicDowncast<CVectorArticle>(parent) &&
                  (!m_pPage || parent != m_pPage->RootArticle());
    article->SetProperty(kWrittenBit, false);
    return DynamicDowncast<CVectorArticle>(article) || DynamicDowncast<CVectorItem>(item);
}

void CPDFDoc::EndPath() {}

void CPDFDoc::WritePathItem(CVectorItem* item) {
    if (!item || !item->Pkt() || item->Pkt()->GetSize() == 0)
        return;
    CPktArray& pkts = *item->Pkt();
    m_firstPoint = pkts[0].start;
    m_lastPoint = pkts[pkts.GetSize() - 1].end;
}

void CPDFDoc::WriteBezierItem(CBezierItem* item) {
    if (!item || item->VectCount() == 0)
        return;
    m_firstPoint = item->Vect(0).pt;
    m_lastPoint = item->Vect(item->VectCount() - 1).pt;
}

// The library document ---------------------------------------------------------------------------

bool CDebenuPDF::WriteDesign(const CString& path, CJoxPage* page, UINT flags) {
    CPDFLibraryBinding* lib = FnGetPDFLibrary();
    if (!lib || !page)
        return false;
    const int id = lib->Instance();
    if (!lib->DPLNewDocument(id))
        return false;
    Reset();
    m_pPage = page;
    CArticle* root = page->RootArticle();
    CWindow e = page->Extents();
    // A page that never had extents takes its design's; an empty design an empty page.
    if (e.x1 > e.x2 || e.y1 > e.y2)
        e = root->Extents(0);
    if (e.x1 > e.x2 || e.y1 > e.y2)
        e = CWindow(0, 0, 0, 0);
    lib->DPLSetMeasurementUnits(id, 0);
    lib->DPLSetPageDimensions(id, std::fabs(double(e.x2) - e.x1) * kUnitsToPoints,
                              std::fabs(double(e.y2) - e.y1) * kUnitsToPoints);
    lib->DPLSetOrigin(id, 0);

    CMat2d there(CDpoint(-double(e.x1), -double(e.y1)));
    root->DoTransform(there, 1);
    m_articles.RemoveAll();
    root->GetArticleList(&m_articles, HasPathElements, nullptr);
    for (POSITION pos = m_articles.GetHeadPosition(); pos;) {
        CArticle* a = m_articles.GetNext(pos);
        WriteArticle(a, a->GetItem());
    }
    m_articles.RemoveAll();
    CMat2d back(CDpoint(double(e.x1), double(e.y1)));
    root->DoTransform(back, 1);
    root->ClrProperty(kWrittenBit, true);
    m_pPage = nullptr;

    // A file that could not be written is a failure, not a success.
    if (!lib->DPLSaveToFile(id, path))
        return false;
    if (flags & kWriteAlsoEps) {
        const platform::PathParts parts = platform::SplitPathParts(path);
        lib->DPLRenderPageToFile(id, kRenderDpi, kFirstPage, kDplFormatEps,
                                 parts.drive + parts.folder + parts.name + L".EPS");
    }
    return true;
}

bool CDebenuPDF::WriteArticle(CArticle* article, CItem* item) {
    if (!CPDFDoc::WriteArticle(article, item))
        return false;
    CPDFLibraryBinding* lib = FnGetPDFLibrary();
    if (!lib)
        return false;
    COLORREF line = 0;
    if (auto* vector = DynamicDowncast<CVectorArticle>(article))
        vector->GetLineColour(line);
    m_nLineWidth = article->fnGetValue(CVectorArticle::kLineThickness, 1);
    if (m_nLineWidth == 0)
        m_nLineWidth = 1;
    m_bFillOn = article->fnGetValue(CVectorArticle::kFillOn, 0) != 0;
    COLORREF fill = 0;
    const int fillEntry = article->fnGetValue(CVectorArticle::kFillColour, -1);
    if (fillEntry != -1 && m_pPage)
        if (CColourPalette* palette = m_pPage->GetColourPalette(true, eColourPaletteDefault))
            fill = palette->GetColour(fillEntry);
    m_bCmyk = article->fnGetValue(kCmykColourOn, 0) == 1;
    if (m_bDraw) {
        const int id = lib->Instance();
        lib->DPLSetLineWidth(id, m_nLineWidth);
        lib->DPLSetLineJoin(id, kRoundLineJoin);
        SetLineColour(line);
        if (m_bFillOn)
            SetFillColour(fill);
    }
    if (auto* bezier = DynamicDowncast<CBezierItem>(item))
        WriteBezierItem(bezier);
    else if (auto* path = DynamicDowncast<CVectorItem>(item))
        WritePathItem(path);
    return true;
}

void CDebenuPDF::SetLineColour(COLORREF colour) {
    CPDFLibraryBinding* lib = FnGetPDFLibrary();
    if (!lib)
        return;
    if (m_bCmyk) {
        const StCMYK v = FnRGBToCMYK(colour);
        lib->DPLSetLineColorCMYK(lib->Instance(), v.c, v.m, v.y, v.k);
        return;
    }
    lib->DPLSetLineColor(lib->Instance(), GetRValue(colour) / 255.0, GetGValue(colour) / 255.0,
                         GetBValue(colour) / 255.0);
    m_lineColour = colour;
}

void CDebenuPDF::SetFillColour(COLORREF colour) {
    CPDFLibraryBinding* lib = FnGetPDFLibrary();
    if (!lib)
        return;
    if (m_bCmyk) {
        const StCMYK v = FnRGBToCMYK(colour);
        lib->DPLSetFillColorCMYK(lib->Instance(), v.c, v.m, v.y, v.k);
        return;
    }
    lib->DPLSetFillColor(lib->Instance(), GetRValue(colour) / 255.0, GetGValue(colour) / 255.0,
                         GetBValue(colour) / 255.0);
    m_fillColour = colour;
}

void CDebenuPDF::StartAt(const CLpoint& p) {
    CPDFLibraryBinding* lib = FnGetPDFLibrary();
    if (m_bDraw)
        lib->DPLStartPath(lib->Instance(), Pt(p.x), Pt(p.y));
    else
        lib->DPLMovePath(lib->Instance(), Pt(p.x), Pt(p.y));
}

void CDebenuPDF::WriteBezierItem(CBezierItem* item) {
    CPDFLibraryBinding* lib = FnGetPDFLibrary();
    if (!lib || !item || item->VectCount() == 0)
        return;
    CPDFDoc::WriteBezierItem(item);
    const int id = lib->Instance();
    const int n = item->VectCount();
    StartAt(m_firstPoint);
    for (int i = 1; i < n; ++i) {
        const CSb p = item->Vect(i);
        if (p.flags == CBezierItem::kHandle && i + 2 < n) {
            const CLpoint c2 = item->Vect(i + 1).pt, end = item->Vect(i + 2).pt;
            lib->DPLAddCurveToPath(id, Pt(p.pt.x), Pt(p.pt.y), Pt(c2.x), Pt(c2.y), Pt(end.x),
                                   Pt(end.y));
            i += 2;
        } else {
            lib->DPLAddLineToPath(id, Pt(p.pt.x), Pt(p.pt.y));
        }
    }
    EndPath();
}

void CDebenuPDF::WritePathItem(CVectorItem* item) {
    CPDFLibraryBinding* lib = FnGetPDFLibrary();
    if (!lib || !item || item->VectCount() <= 1)
        return;
    if (auto* spline = DynamicDowncast<CSplineItem>(item)) {
        WriteSplineItem(spline);
        return;
    }
    if (!item->Pkt() || item->Pkt()->GetSize() == 0)
        return;
    CPDFDoc::WritePathItem(item);
    const int id = lib->Instance();
    CPktArray& pkts = *item->Pkt();
    int n = int(pkts.GetSize());
    // A closing line is the one the close draws.
    if (n > 1 && pkts[n - 1].mode != CPkt::kArc && pkts[n - 1].end == m_firstPoint)
        --n;
    StartAt(m_firstPoint);
    for (int i = 0; i < n; ++i) {
        CPkt p = pkts[i];
        if (p.mode == CPkt::kArc) {
            p.MakeArc();
            const double sweep = SweepDegrees(p.arc);
            if (sweep != 0 && std::fabs(sweep) < kFullTurn) {
                lib->DPLAddArcToPath(id, p.arc.cx * kUnitsToPoints, p.arc.cy * kUnitsToPoints,
                                     sweep);
                continue;
            }
        }
        lib->DPLAddLineToPath(id, Pt(p.end.x), Pt(p.end.y));
    }
    EndPath();
}

void CDebenuPDF::WriteSplineItem(CSplineItem* item) {
    CPDFLibraryBinding* lib = FnGetPDFLibrary();
    const int id = lib->Instance();
    item->MakeCurves();
    CBezierArray& segments = *item->Bezier();
    int n = int(segments.GetSize());
    if (n == 0)
        return;
    if (n == 1 && segments[0].type == CBezier::kLine) {
        const CBezier& s = segments[0];
        lib->DPLDrawLine(id, Pt(s.start.x), Pt(s.start.y), Pt(s.end.x), Pt(s.end.y));
        return;
    }
    m_firstPoint = segments[0].start;
    m_lastPoint = segments[n - 1].end;
    // Only a straight closing segment is left to the close: a curved one is written.
    if (n > 1 && segments[n - 1].type == CBezier::kLine && segments[n - 1].end == m_firstPoint)
        --n;
    StartAt(m_firstPoint);
    for (int i = 0; i < n; ++i) {
        const CBezier& s = segments[i];
        switch (s.type) {
        case CBezier::kCubic:
            lib->DPLAddCurveToPath(id, Pt(s.control1.x), Pt(s.control1.y), Pt(s.control2.x),
                                   Pt(s.control2.y), Pt(s.end.x), Pt(s.end.y));
            break;
        case CBezier::kArc: {
            // An arc segment runs through its first control point.
            const CArc arc(s.start, s.control1, s.end);
            const double sweep = SweepDegrees(arc);
            if (sweep != 0 && std::fabs(sweep) < kFullTurn) {
                lib->DPLAddArcToPath(id, arc.cx * kUnitsToPoints, arc.cy * kUnitsToPoints, sweep);
                break;
            }
            lib->DPLAddLineToPath(id, Pt(s.end.x), Pt(s.end.y));
            break;
        }
        default:
            lib->DPLAddLineToPath(id, Pt(s.end.x), Pt(s.end.y));
            break;
        }
    }
    EndPath();
}

void CDebenuPDF::EndPath() {
    CPDFLibraryBinding* lib = FnGetPDFLibrary();
    if (!lib)
        return;
    const int id = lib->Instance();
    const bool closed = m_firstPoint == m_lastPoint;
    if (!closed || (!m_bHasChildren && !m_bCompound)) {
        if (closed)
            lib->DPLClosePath(id);
        if (closed && m_bFillOn)
            lib->DPLDrawPathEvenOdd(id, kDplPathFill);
        else
            lib->DPLDrawPath(id, kDplPathOutline);
    } else if (m_bFillOn) {
        // The sub-paths that follow join this one.
        lib->DPLClosePath(id);
    }
}
