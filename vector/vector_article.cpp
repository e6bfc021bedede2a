#include "vector/vector_article.h"

#include "pivora/colour_palette.h"
#include "pivora/document/record_fields.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_dc.h"
#include "pivora/jox_page.h"
#include "pivora/rec_archive.h"
#include "vector/vector_item.h"
#include "vector/vector_style_pb.h"

#include "platform/core/array.h"

#include <algorithm>

IMPLEMENT_SERIAL(CVectorArticle, CArticle, 0)

int CVectorArticle::s_nRightClickMenu = 0;
int CVectorArticle::s_nConstructed = 0;

namespace {

int g_usePastelFill = -1;

// Line styles 1 to 4 are the dashed and dotted pens; anything else draws solid.
int PenStyleOf(int lineStyle) {
    return lineStyle >= PS_DASH && lineStyle <= PS_DASHDOTDOT ? lineStyle : PS_SOLID;
}

} // namespace

CVectorArticle::CVectorArticle() {
    ++s_nConstructed;
}

CVectorArticle::~CVectorArticle() = default;

void CVectorArticle::fnResetCachedParams() {
    g_usePastelFill = -1;
    FnVectorItemResetSpotCache();
    FnGetScreenVectorThickness(reinterpret_cast<void*>(-1));
}

CVectorItem* CVectorArticle::GetItem() const {
    return DynamicDowncast<CVectorItem>(CArticle::GetItem());
}

CVectorStylePB* CVectorArticle::fnGetVectorStylePB(CJoxPage* page) {
    if (!page)
        return nullptr;
    CVectorStylePB* table = nullptr;
    for (int i = 0; i < page->ParamCount() && !table; ++i) {
        CParamBlk* b = page->GetParam(i);
        if (b && b->Id() == CParamBlk::kVectorStyleId)
            table = DynamicDowncast<CVectorStylePB>(b);
    }
    if (!table) {
        table = new CVectorStylePB(page, 1);
        page->AddParam(table);
    }
    // A table read from a design knows no palette until someone attaches the page's one.
    if (!table->fnGetVectStyleColourPalette())
        table->SetColourPalette(page->GetColourPalette(false, eColourPaletteDefault));
    return table;
}

void CVectorArticle::SetTreeColour(int index) {
    Traverse(
        [](CTree* node, void* data) {
            const int i = *static_cast<int*>(data);
            if (auto* va = DynamicDowncast<CVectorArticle>(node))
                va->SetPaletteIndex(i);
            if (auto* a = DynamicDowncast<CArticle>(node))
                if (auto* item = DynamicDowncast<CVectorItem>(a->GetItem()))
                    item->DrawLine(i);
            return 0;
        },
        0, &index);
}

int CVectorArticle::HitTestPoint(CItemHitTest* ht) {
    if (!ht || !ht->GetDC())
        return 0;
    CRect r = CalcClientExtents(ht->GetDC());
    r.NormalizeRect();
    r.InflateRect(ht->GetHitAccuracy(), ht->GetHitAccuracy());
    const CPoint p = ht->GetHitPoint();
    if (p.x < r.left || p.x > r.right || p.y < r.top || p.y > r.bottom)
        return 0;
    return m_pItem && m_pItem->HitTestPoint(ht) ? 1 : 0;
}

void CVectorArticle::Bolden(int on, int recurse) {
    if (CVectorItem* item = GetItem())
        item->Bolden(on);
    if (!recurse)
        return;
    for (CTree* t = m_pFirstChild; t; t = t->GetRsibling())
        if (auto* va = DynamicDowncast<CVectorArticle>(t))
            va->Bolden(on, 1);
}

int CVectorArticle::fnGetDistance(CLpoint& p, double& dist, int recurse) {
    constexpr double kFarAway = 10000000.0;
    double best = kFarAway;
    double d = 0;
    if (CVectorItem* item = GetItem())
        if (item->fnGetDistance(p, d))
            best = std::min(best, d);
    if (recurse)
        for (CTree* t = m_pFirstChild; t; t = t->GetRsibling())
            if (auto* va = DynamicDowncast<CVectorArticle>(t))
                if (va->fnGetDistance(p, d, recurse))
                    best = std::min(best, d);
    if (best == kFarAway)
        return 0;
    dist = best;
    return 1;
}

void CVectorArticle::GetVectorProperties(CVectorArticle* a, VECTOR_PROPERTIES_TYPE* props) {
    if (!a || !props)
        return;
    a->GetPaletteIndex(props->nLinePaletteIndex);
    props->nLineStyle = a->fnGetValue(kLineStyle, 0);
    props->nLinePenStyle = PenStyleOf(props->nLineStyle);
    props->nFillOn = a->fnGetValue(kFillOn, 0);
    props->nFillColour = a->fnGetValue(kFillColour, 1);
    // Thicknesses are stored one higher than drawn; INT_MIN is kept from wrapping.
    props->nLineThickness = std::max(a->fnGetValue(kLineThickness, 1), INT32_MIN + 1) - 1;
    props->nDoNotPrint = a->fnGetValue(kDoNotPrint, 0);
    props->nDashOn = a->fnGetValue(kDashOn, 0);
    props->nDashLineStyle = a->fnGetValue(kDashLineStyle, 0);
    props->nDashPenStyle = PenStyleOf(props->nDashLineStyle);
    props->nDashLineThickness = std::max(a->fnGetValue(kDashLineThickness, 1), INT32_MIN + 1) - 1;
    props->nDashMarkLength = a->fnGetValue(kDashMarkLength, 1000);
    props->nDashSpaceLength = a->fnGetValue(kDashSpaceLength, 1000);
    props->nDashContinuousMode = a->fnGetValue(kDashContinuousMode, 1);
}

int CVectorArticle::CalcColourUsage(CTree* node, void* used) {
    auto* va = DynamicDowncast<CVectorArticle>(node);
    auto* array = static_cast<CArray<int, int>*>(used);
    if (va && array && va->PaletteIndex() >= 0)
        array->SetAtGrow(va->PaletteIndex(), 1);
    return 0;
}

int CVectorArticle::GetUsedColour(CTree* node, void* map) {
    auto* va = DynamicDowncast<CVectorArticle>(node);
    auto* counts = static_cast<CStyleUseMap*>(map);
    if (va && counts && !va->GetProperty(CArticle::kNoActiveDataBit))
        ++(*counts)[va->PaletteIndex()];
    return 0;
}

// Storing and copying ---------------------------------------------------------------------------

void CVectorArticle::Serialize(CArchive& ar) {
    CArticle::Serialize(ar);
    CRecArchive rec(ar);
    if (ar.IsStoring()) {
        rec.StoreField(kRecLineIndex, int32_t(m_nLinePaletteIndex));
        rec.StoreField(kRecFillIndex, int32_t(m_nFillPaletteIndex));
        rec.StoreField(kRecVersion, kRecordVersion);
        rec.StoreField(kRecPenWidth, int32_t(m_nPenWidth));
        rec.StoreEndRec();
        return;
    }
    WORD id;
    DWORD len;
    while (rec.LoadFieldID(id, len)) {
        int32_t value;
        switch (id) {
        case kRecLineIndex:
            if (record_fields::LoadFixed(rec, len, value))
                m_nLinePaletteIndex = value;
            break;
        case kRecFillIndex:
            if (record_fields::LoadFixed(rec, len, value))
                m_nFillPaletteIndex = value;
            break;
        case kRecPenWidth:
            if (record_fields::LoadFixed(rec, len, value))
                m_nPenWidth = value;
            break;
        default:
            rec.SkipField(len);
            break;
        }
    }
}

CObject* CVectorArticle::CopyObject(CObject* target) {
    CVectorArticle* to = target ? DynamicDowncast<CVectorArticle>(target) : new CVectorArticle;
    if (!to)
        return CArticle::CopyObject(target);
    CArticle::CopyObject(to);
    to->SetPaletteIndex(m_nLinePaletteIndex);
    to->SetFillPaletteIndex(m_nFillPaletteIndex);
    to->m_nPenWidth = m_nPenWidth;
    return to;
}

// Texts -----------------------------------------------------------------------------------------

CString CVectorArticle::InfoStr(unsigned int flags) {
    CArticle::InfoStr(flags);
    CString& s = GetInfoStr();
    if (CItem* item = CArticle::GetItem()) {
        CVectorItem* vi = GetItem();
        CString cls(item->GetRuntimeClass()->m_lpszClassName);
        s.AppendFormat(L"Col:%d Item:%s Cnt:%d ", m_nLinePaletteIndex, cls.GetString(),
                       vi ? vi->ElementCount() : 0);
    } else {
        s.AppendFormat(L"Col:%d Item:NULL ", m_nLinePaletteIndex);
    }
    return s;
}

int CVectorArticle::GetInfo(CString& kind, CString& count, CString& extra) {
    kind = VectorLoadString(IDS_VECTOR_OBJECT);
    CVectorItem* item = GetItem();
    count.Format(L"%d", item ? item->ElementCount() : 0);
    extra.Empty();
    return 1;
}

void CVectorArticle::fnGetInventoryDescription(CString& out, bool) {
    CWindow e = Extents(0);
    int colour = 0;
    GetLineColourIndex(colour);
    out = VectorLoadString(IDS_VECTOR_SHAPE);
    out += L" : ";
    out += GetName();
    out += L" : ";
    out.AppendFormat(L"%2.2f x %2.2f mm : ", (double(e.x2) - e.x1) * 0.001,
                     (double(e.y2) - e.y1) * 0.001);
    out.AppendFormat(L"Col=%d\r\r\n", colour);
}

int CVectorArticle::GetDefaultToolId() {
    if (CVectorItem* item = GetItem())
        return item->GetDefaultToolId();
    return CVectorItem::kDefaultToolId;
}

int CVectorArticle::fnGetRightClickMenu() {
    return s_nRightClickMenu;
}

int CVectorArticle::_IsCVectorArticle(bool exact) const {
    return exact ? (GetRuntimeClass() == RUNTIME_CLASS(CVectorArticle) ? 1 : 0) : 1;
}

// Style indices -----------------------------------------------------------------------------------

int CVectorArticle::PaletteIndex() {
    return m_nLinePaletteIndex;
}
int CVectorArticle::GetPaletteIndex(int& out) {
    out = m_nLinePaletteIndex;
    return 1;
}
int CVectorArticle::SetPaletteIndex(int index) {
    m_nLinePaletteIndex = index;
    return 1;
}
int CVectorArticle::FillPaletteIndex() {
    return m_nFillPaletteIndex;
}
int CVectorArticle::GetFillPaletteIndex(int& out) {
    out = m_nFillPaletteIndex;
    return 1;
}
int CVectorArticle::SetFillPaletteIndex(int index) {
    m_nFillPaletteIndex = index;
    return 1;
}

// Colours -----------------------------------------------------------------------------------------

int CVectorArticle::GetLineColourIndex(int& out) {
    out = 0;
    CJoxPage* page = GetDocument();
    if (!page)
        return 0;
    const int i = PaletteIndex();
    if (i >= 0)
        if (CVectorStyle* style = fnGetVectorStylePB(page)->fnMap2VectorStyle(i)) {
            out = style->fnGetColPalIdx();
            return 1;
        }
    out = i;
    return 0;
}

int CVectorArticle::SetLineColourIndex(int entry) {
    CVectorStylePB* table = fnGetVectorStylePB(GetDocument());
    const int i = PaletteIndex();
    if (!table || i < 0)
        return 0;
    CVectorStyle* style = table->fnMap2VectorStyle(i);
    if (!style)
        return 0;
    style->fnSetColPalIdx(entry);
    return 1;
}

namespace {

// The page palette's colour of entry, or false when the entry cannot be read.
bool PaletteColour(CJoxPage* page, int entry, COLORREF& rgb) {
    CColourPalette* palette = page ? page->GetColourPalette(true, eColourPaletteDefault) : nullptr;
    if (!palette || entry < 0)
        return false;
    rgb = palette->GetColour(entry);
    return true;
}

} // namespace

int CVectorArticle::GetLineColour(COLORREF& rgb) {
    if (m_pItem && m_pItem->GetProperty(CItem::kNotDrawnBit))
        return GetFillColour(rgb);
    int entry;
    if (GetLineColourIndex(entry) && PaletteColour(GetDocument(), entry, rgb))
        return 1;
    rgb = 0;
    return 0;
}

int CVectorArticle::GetShadeColour(COLORREF& rgb) {
    int entry;
    CJoxPage* page = GetDocument();
    if (GetLineColourIndex(entry) && entry >= 0)
        if (CColourPalette* palette = page->GetColourPalette(true, eColourPaletteDefault)) {
            rgb = palette->GetShadeColour(entry);
            return 1;
        }
    rgb = 0;
    return 0;
}

int CVectorArticle::GetFillColour(COLORREF& rgb) {
    rgb = 0;
    CJoxPage* page = GetDocument();
    if (!page)
        return 0;
    if (g_usePastelFill < 0)
        g_usePastelFill = QvGetAppParam(L"Use Pastel Fill", 1) ? 1 : 0;
    const int index = g_usePastelFill ? FillPaletteIndex() : PaletteIndex();
    // Any negative index means no style of its own (only -1 is written).
    if (index < 0) {
        int entry;
        if (!GetLineColourIndex(entry) || entry < 0)
            return 0;
        CColourPalette* palette = page->GetColourPalette(true, eColourPaletteDefault);
        rgb = palette->GetPastelColour(entry);
        return 1;
    }
    CVectorStyle* style = fnGetVectorStylePB(page)->fnMap2VectorStyle(index);
    if (!style || !PaletteColour(page, style->fnGetColPalIdx(), rgb))
        return 0;
    return 1;
}

namespace {

// The style of colour rgb in the page's table, made when no style has it.
int StyleOfColour(CJoxPage* page, COLORREF rgb) {
    CVectorStylePB* table = CVectorArticle::fnGetVectorStylePB(page);
    CColourPalette* palette = page->GetColourPalette(true, eColourPaletteDefault);
    int entry = -1;
    for (int i = 0; i < palette->ColourCount() && entry < 0; ++i)
        if (palette->GetRGBColour(i) == rgb)
            entry = i;
    if (entry < 0)
        entry = palette->AddColour(rgb);
    for (int s = 0; s < table->fnGetSize(); ++s)
        if (CVectorStyle* style = table->fnMap2VectorStyle(s))
            if (style->fnGetColPalIdx() == entry)
                return s;
    return table->fnAdd(new CVectorStyle(entry));
}

} // namespace

int CVectorArticle::SetLineColour(COLORREF rgb, int& style) {
    CJoxPage* page = GetDocument();
    if (!page)
        return 0;
    style = StyleOfColour(page, rgb);
    SetPaletteIndex(style);
    return 1;
}

int CVectorArticle::SetFillColour(COLORREF rgb, int& style) {
    CJoxPage* page = GetDocument();
    if (!page)
        return 0;
    style = StyleOfColour(page, rgb);
    SetFillPaletteIndex(style);
    return 1;
}

int CVectorArticle::GetLineStyle(int&) {
    return 0;
}
int CVectorArticle::SetLineStyle(int) {
    return 0;
}
int CVectorArticle::GetFillColourIndex(int&) {
    return 0;
}
int CVectorArticle::SetFillColourIndex(int) {
    return 0;
}
int CVectorArticle::fnCanInsertXformLines() {
    return 1;
}
int CVectorArticle::fnCanInsertXformArcs() {
    return 1;
}

int CVectorArticle::fnMoveStart() {
    CVectorItem* item = GetItem();
    if (!item || !item->fnCanMoveItemStart())
        return 0;
    const CDb before = item->VectDb(0);
    item->fnDoMoveItemStart();
    const CDb after = item->VectDb(0);
    if (before == after)
        return 0;
    auto* parent = DynamicDowncast<CVectorArticle>(m_pParent);
    if (!parent)
        return 0;
    parent->fnNotifyStartMoved();
    return 1;
}

CVectorArticle* CVectorArticle::fnNotifyStartMoved() {
    return nullptr;
}
void* CVectorArticle::PtModeAssignNewCallback() const {
    return nullptr;
}
void* CVectorArticle::PtModeDrawCallback() const {
    return nullptr;
}

// Merging -----------------------------------------------------------------------------------------

namespace {

CVectorStylePB* SourceTable(CParamBlkArray& blocks) {
    for (int start = 0;; ++start) {
        CParamBlk* b = FindThisParam(blocks, CParamBlk::kVectorStyleId, start);
        if (!b)
            return nullptr;
        if (auto* table = DynamicDowncast<CVectorStylePB>(b))
            return table;
        // A foreign block under the same id: look further.
        for (INT_PTR i = start; i < blocks.GetSize(); ++i)
            if (blocks.GetAt(i) == b)
                start = int(i);
    }
}

// The page's first style table, without making one.
CVectorStylePB* PageTable(CJoxPage* page) {
    for (int i = 0; page && i < page->ParamCount(); ++i)
        if (CParamBlk* b = page->GetParam(i); b && b->Id() == CParamBlk::kVectorStyleId)
            if (auto* table = DynamicDowncast<CVectorStylePB>(b))
                return table;
    return nullptr;
}

// The source style's colour: through its own palette when one is attached.
COLORREF SourceColour(CVectorStylePB* source, int index) {
    if (index < 0)
        return 0;
    CVectorStyle* style = source->fnMap2VectorStyle(index);
    if (!style)
        return 0;
    CColourPalette* palette = source->fnGetVectStyleColourPalette();
    if (!palette) {
        if (CJoxPage* page = source->GetDocument())
            palette = page->GetColourPalette(false, eColourPaletteDefault);
    }
    const int entry = style->fnGetColPalIdx();
    return palette && entry >= 0 ? palette->GetColour(entry) : 0;
}

} // namespace

void CVectorArticle::MergeAdjust(CParamBlkArray& blocks) {
    CJoxPage* page = GetDocument();
    CVectorStylePB* dest = PageTable(page);
    CVectorStylePB* source = SourceTable(blocks);
    if (!dest || !source)
        return;
    const int i = PaletteIndex();
    int index;
    if (QvGetSetAppParam(L"Paste RGB Vector Colours", 1) == 0) {
        index = i >= 0 ? dest->fnMergeVectorStyle(source, i) : i;
    } else {
        const COLORREF rgb = SourceColour(source, i);
        index = dest->fnFindNearestEntry(rgb);
        // An empty destination table has no nearest style: the colour gets one of its own.
        if (index < 0)
            index = dest->fnMergeColour(rgb);
    }
    SetTreeColour(index);
}

int CVectorArticle::MergeAdjustRGBColour(CJoxPage* page, CParamBlkArray& blocks) {
    CVectorStylePB* dest = PageTable(page);
    CVectorStylePB* source = SourceTable(blocks);
    if (!dest || !source)
        return -1;
    const COLORREF rgb = SourceColour(source, PaletteIndex());
    int distance = 0;
    const int near = dest->fnFindNearestEntry(rgb, distance);
    int result = dest->fnFindUnusedEntry(page);
    if (near >= 0 && distance < 10 && (result < 0 || near < result))
        result = near;
    // Every style is in use: the colour gets a style of its own.
    if (result < 0) {
        int made = -1;
        if (!dest->fnNewVectorStyle(rgb, made))
            made = dest->fnAdd(new CVectorStyle(0));
        result = made;
    }
    dest->fnSetVectStyleColour(result, rgb);
    dest->fnSetRTFlag(result, CVectorStyle::kRTFlagReserved);
    m_nLinePaletteIndex = result;
    return result;
}
