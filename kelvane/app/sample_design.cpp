#include "kelvane/app/sample_design.h"

#include "bezier/bezier_item.h"
#include "design/design_page.h"
#include "pivora/geometry/sb.h"
#include "pivora/rec_archive.h"
#include "platform/core/archive.h"
#include "platform/core/mem_file.h"
#include "vector/vector_article.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr double kUnitsPerMm = 1000.0;
// Handle length of a quarter ellipse drawn as one cubic, per unit of radius.
constexpr double kQuarterArc = 0.5522847498;
// A fixed first article id and a fixed date (2026-01-01 00:00 UTC): the file comes out the
// same on every machine and every build.
constexpr LONG kFirstArticleId = 1000;
constexpr int64_t kSampleTime = 1767225600;

// Corner and smooth anchors, and the Bezier handles between them.
enum Kind : DWORD { C = CBezierItem::kBreak, S = CBezierItem::kSmooth, H = CBezierItem::kHandle };

struct Pt {
    double x, y; // mm, y up
    Kind kind = C;
};
using Outline = std::vector<Pt>;

// The border is the edge of the sign blank, so the page is the design's own size: opening it
// resizes nothing. The last point of an outline closes on the first.
const Outline kBorder = {{0, 0}, {280, 0}, {280, 130}, {0, 130}};

// The letters, 60 mm high on a base line at 35 mm: outlines run counter-clockwise, the
// counters clockwise.
const Outline kP = {{135, 35},    {145, 35},    {145, 55},    {155, 55}, {166, 55, H}, {175, 64, H},
                    {175, 75, S}, {175, 86, H}, {166, 95, H}, {155, 95}, {135, 95}};
const Outline kPCounter = {{145, 65},    {145, 85},    {153, 85},    {160, 85, H}, {165, 81, H},
                           {165, 75, S}, {165, 69, H}, {160, 65, H}, {153, 65}};
const Outline kE = {{185, 35}, {220, 35}, {220, 45}, {195, 45}, {195, 60}, {215, 60},
                    {215, 70}, {195, 70}, {195, 85}, {220, 85}, {220, 95}, {185, 95}};
const Outline kN = {{230, 35}, {240, 35}, {240, 78}, {260, 35}, {270, 35},
                    {270, 95}, {260, 95}, {260, 52}, {240, 95}, {230, 95}};

// An ellipse as four cubic arcs from its rightmost point; clockwise for a counter.
Outline Ellipse(double cx, double cy, double rx, double ry, bool clockwise) {
    const double kx = rx * kQuarterArc, ky = ry * kQuarterArc;
    Outline o = {{cx + rx, cy, S}, {cx + rx, cy + ky, H}, {cx + kx, cy + ry, H},
                 {cx, cy + ry, S}, {cx - kx, cy + ry, H}, {cx - rx, cy + ky, H},
                 {cx - rx, cy, S}, {cx - rx, cy - ky, H}, {cx - kx, cy - ry, H},
                 {cx, cy - ry, S}, {cx + kx, cy - ry, H}, {cx + rx, cy - ky, H}};
    if (clockwise)
        std::reverse(o.begin() + 1, o.end());
    return o;
}

LONG Units(double mm) {
    return LONG(std::lround(mm * kUnitsPerMm));
}

CVectorArticle* AddPath(CArticle* parent, const Outline& outline) {
    auto* item = new CBezierItem;
    for (const Pt& p : outline)
        item->Vect(CSb(p.kind, CLpoint(Units(p.x), Units(p.y))));
    item->Vect(
        CSb(outline.front().kind, CLpoint(Units(outline.front().x), Units(outline.front().y))));
    auto* a = new CVectorArticle;
    a->Item(item);
    parent->AddChild(a);
    a->InvExtents(1);
    return a;
}

CArticle* AddGroup(CArticle* parent, const wchar_t* name) {
    auto* g = new CArticle;
    g->SetName(name);
    parent->AddChild(g);
    return g;
}

// The page's stored dates come from the clock when it is made: the page's own reading of
// them sets the fixed date instead.
void FixDates(CDesignPage& page) {
    CMemFile file;
    {
        CArchive out(&file, CArchive::store);
        CRecArchive rec(out);
        rec.StoreField(CJoxPage::kRecCreated, CTime(kSampleTime));
        rec.StoreField(CJoxPage::kRecModified, CTime(kSampleTime));
        rec.StoreEndRec();
        out.Close();
    }
    file.SeekToBegin();
    CArchive in(&file, CArchive::load);
    page.Serialize(in);
    in.Close();
}

} // namespace

bool WriteSampleDesign(const CString& path) {
    // Article ids count on from a seed drawn from the clock; the sample's start from a fixed
    // one, and the program's count goes on where it was.
    const LONG idCount = CArticle::m_ID_count;
    CArticle::m_ID_count = kFirstArticleId;
    bool ok = false;
    {
        std::unique_ptr<CDesignPage> page(
            static_cast<CDesignPage*>(RUNTIME_CLASS(CDesignPage)->CreateObject()));
        page->m_bAutoDelete = FALSE;
        if (page->OnNewDocument()) {
            FixDates(*page);
            page->Context(CDesignPage::kContext);
            page->AutoResize(0);
            page->Extents(CWindow(0, 0, Units(280), Units(130)));
            CArticle* root = page->RootArticle();
            AddPath(root, kBorder)->SetName(L"Border");
            CArticle* word = AddGroup(root, L"OPEN");
            CArticle* o = AddGroup(word, L"O");
            AddPath(o, Ellipse(102.5, 65, 22.5, 30, false));
            AddPath(o, Ellipse(102.5, 65, 12.5, 20, true));
            CArticle* p = AddGroup(word, L"P");
            AddPath(p, kP);
            AddPath(p, kPCounter);
            AddPath(AddGroup(word, L"E"), kE);
            AddPath(AddGroup(word, L"N"), kN);
            AddPath(root, Ellipse(40, 65, 30, 30, false))->SetName(L"Circle");
            page->SetModifiedFlag(FALSE);
            ok = page->OnSaveDocument(path) != FALSE;
        }
        page->DeleteContents();
    }
    CArticle::m_ID_count = idCount;
    return ok;
}
