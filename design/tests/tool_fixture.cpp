#include "design/tests/tool_fixture.h"

#include "design/select_tool.h"
#include "pivora/framework/jox_dc.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/geometry/sb.h"
#include "pivora/select.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

#include <cstring>

#include <algorithm>

IMPLEMENT_DYNCREATE(CToolBoxItem, CItem)

void CToolBoxItem::DoTransform(CMat2d& m) {
    const CLpoint a = m * CLpoint(m_Box.x1, m_Box.y1);
    const CLpoint b = m * CLpoint(m_Box.x2, m_Box.y2);
    m_Box = CWindow(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
    InvExtents(1);
}

CObject* CToolBoxItem::CopyObject(CObject* obj) {
    auto* to = obj ? DynamicDowncast<CToolBoxItem>(obj) : new CToolBoxItem;
    if (!to)
        return obj;
    CItem::CopyObject(to);
    to->m_Box = m_Box;
    return to;
}

int CToolBoxItem::HitTestPoint(CItemHitTest* test) {
    CRect r(m_Box.x1, m_Box.y2, m_Box.x2, m_Box.y1);
    test->GetDC()->LPtoDP(static_cast<RECT*>(&r));
    r.NormalizeRect();
    r.InflateRect(0, 0, 1, 1);
    return r.PtInRect(test->GetHitPoint());
}

void CToolBoxItem::OnDraw(CJoxView*, CJoxDC* dc) {
    if (!dc)
        return;
    dc->MoveTo(m_Box.x1, m_Box.y1);
    dc->LineTo(m_Box.x2, m_Box.y1);
    dc->LineTo(m_Box.x2, m_Box.y2);
    dc->LineTo(m_Box.x1, m_Box.y2);
    dc->LineTo(m_Box.x1, m_Box.y1);
}

void ToolHost::SetUp() {
    DesignHost::SetUp();
    ASSERT_TRUE(Open(nullptr, false));
    page->Extents(CWindow(0, 0, 100000, 100000));
    view->ZoomFirst();
    Pump();
}

void ToolHost::TearDown() {
    for (int vk : {VK_LBUTTON, VK_MBUTTON, VK_SHIFT, VK_CONTROL, VK_MENU, int('S'), int('Q'),
                   int('N'), int('G')})
        SetKey(vk, false);
    CSelectTool::ForgetLastTransformPoint();
    DesignHost::TearDown();
}

CArticle* ToolHost::Box(const CWindow& w, CArticle* parent) {
    auto* a = new CArticle;
    a->Item(new CToolBoxItem(w));
    (parent ? parent : page->RootArticle())->AddChild(a);
    a->InvExtents(1);
    return a;
}

CArticle* ToolHost::Path(const CWindow& w) {
    auto* item = DynamicDowncast<CVectorItem>(CRuntimeClass::CreateObject("CSplineItem"));
    if (!item)
        return nullptr;
    const CSb pts[] = {{0x200, {w.x1, w.y1}},
                       {0x200, {w.x2, w.y1}},
                       {0x200, {w.x2, w.y2}},
                       {0x200, {w.x1, w.y2}},
                       {0x200, {w.x1, w.y1}}};
    item->InsertElement(-1, const_cast<CSb*>(pts), 5);
    auto* a = new CVectorArticle;
    a->Item(item);
    page->RootArticle()->AddChild(a);
    a->InvExtents(1);
    return a;
}

std::vector<CLpoint> ToolHost::PointsOf(CArticle* a) {
    std::vector<CLpoint> out;
    auto* item = DynamicDowncast<CVectorItem>(a ? a->GetItem() : nullptr);
    for (int i = 0; item && i < item->ElementCount(); ++i) {
        unsigned char* data = nullptr;
        int size = 0;
        item->ElementData(i, &data, size);
        CSb p;
        std::memcpy(&p, data, sizeof p);
        out.push_back(p.pt);
    }
    return out;
}

CWindow ToolHost::BoxOf(CArticle* a) {
    return static_cast<CToolBoxItem*>(a->GetItem())->Box();
}

CPoint ToolHost::Client(LONG x, LONG y) {
    CPoint p(x, y);
    view->DocToClient(p);
    return p;
}

CPoint ToolHost::Centre(CArticle* a) {
    const CWindow w = a->Extents(0);
    return Client((w.x1 + w.x2) / 2, (w.y1 + w.y2) / 2);
}

void ToolHost::Click(CPoint p, UINT flags) {
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, p, flags | MK_LBUTTON);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, p, flags);
}

void ToolHost::Drag(CPoint from, CPoint to, UINT flags) {
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, from, flags | MK_LBUTTON);
    Advance(CSelectTool::kDragStartMs);
    Mouse(WM_MOUSEMOVE, to, flags | MK_LBUTTON);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, to, flags);
}

void ToolHost::Key(UINT vk, bool up, bool repeat) {
    LPARAM lp = 1;
    if (repeat || up)
        lp |= LPARAM(0x40000000);
    if (up)
        lp |= LPARAM(0x80000000);
    Send(up ? WM_KEYUP : WM_KEYDOWN, vk, lp);
}

std::vector<std::pair<CArticle*, int>> ToolHost::Selection() {
    std::vector<std::pair<CArticle*, int>> out;
    const CSelectList& list = page->GetObjectSelectionList();
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CSelect* s = list.GetNext(pos);
        out.emplace_back(s->Article(), s->SelectMode());
    }
    return out;
}
