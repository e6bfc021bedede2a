#include "pivora/item.h"

#include "pivora/article.h"
#include "pivora/document/record_fields.h"
#include "pivora/rec_archive.h"

IMPLEMENT_SERIAL(CItem, CObject, 0)

CItem::CItem() {
    SetDefaultXformProperties();
}

void CItem::OnDraw(CJoxView*, CJoxDC*) {}

void CItem::Echo(CJoxDC*, CMat2d&, int) {}

int CItem::HitTestPoint(CItemHitTest*) {
    return 0;
}

int CItem::InsideOf(CItem*) {
    return 0;
}

CWindow CItem::Extents() {
    if (m_bInvExtents) {
        m_Extents = RecalcExtents();
        m_bInvExtents = 0;
    }
    return m_Extents;
}

CWindow CItem::FullExtents() {
    return Extents();
}

void CItem::InvExtents(int on) {
    m_bInvExtents = on;
    if (on && m_pArticle)
        m_pArticle->InvExtents(1);
}

int CItem::CanMove() {
    return GetXformProperty(kXformMove);
}
int CItem::CanScaleX() {
    return GetXformProperty(kXformScaleX);
}
int CItem::CanScaleY() {
    return GetXformProperty(kXformScaleY);
}
int CItem::CanScale() {
    return CanScaleX() && CanScaleY();
}
int CItem::CanRotate() {
    return GetXformProperty(kXformRotate);
}
int CItem::CanShearX() {
    return GetXformProperty(kXformShearX);
}
int CItem::CanShearY() {
    return GetXformProperty(kXformShearY);
}
int CItem::CanMirrorX() {
    return GetXformProperty(kXformMirrorX);
}
int CItem::CanMirrorY() {
    return GetXformProperty(kXformMirrorY);
}
int CItem::CanReflect() {
    return 0;
}

void CItem::DoReflect(int) {}
void CItem::DoTransform(CTxEffect*) {}
void CItem::DoTransform(CMat2d&) {}

int CItem::DoMirror(CLine&) {
    return 0;
}

CObject* CItem::CopyObject(CObject* obj) {
    CItem* to = DynamicDowncast<CItem>(obj);
    if (!to)
        return obj;
    to->m_bInvExtents = m_bInvExtents;
    to->m_Extents = m_Extents;
    to->m_dwProperties = m_dwProperties;
    to->m_dwXformProperties = m_dwXformProperties;
    return to;
}

DWORD CItem::XformProperties() {
    DWORD w = 0;
    if (CanMove())
        w |= kXformMove;
    if (CanScaleX())
        w |= kXformScaleX;
    if (CanScaleY())
        w |= kXformScaleY;
    if (CanRotate())
        w |= kXformRotate;
    if (CanShearX())
        w |= kXformShearX;
    if (CanShearY())
        w |= kXformShearY;
    if (CanMirrorX())
        w |= kXformMirrorX;
    if (CanMirrorY())
        w |= kXformMirrorY;
    return w;
}

int CItem::CanXform(int bits) {
    if (IsInActive())
        return 0;
    return (XformProperties() & DWORD(bits)) == DWORD(bits) ? 1 : 0;
}

DWORD CItem::IsHidden() const {
    if (DWORD h = m_dwProperties & kHiddenBits)
        return h;
    return m_pArticle ? m_pArticle->IsHidden() : 0;
}

CWindow CItem::RecalcExtents() {
    return CWindow::EmptyExtent();
}

void CItem::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    CRecArchive rec(ar);
    if (rec.IsStoring()) {
        rec.StoreField(kRecProperties, uint32_t(m_dwProperties));
        rec.StoreField(kRecXformProperties, uint32_t(m_dwXformProperties));
        rec.StoreEndRec();
        return;
    }
    record_fields::ForEach(rec, [&](WORD id, DWORD len) {
        switch (id) {
        case kRecProperties:
            record_fields::LoadFixed(rec, len, m_dwProperties);
            return true;
        case kRecXformProperties:
            record_fields::LoadFixed(rec, len, m_dwXformProperties);
            return true;
        default:
            return false;
        }
    });
    // Extents are never stored.
    m_bInvExtents = 1;
}

CItemHitTest::CItemHitTest(CJoxDC* dc, const CPoint& pt, UINT startMode, int accuracy) {
    InitContents(dc, startMode);
    m_HitPoint = pt;
    m_nHitAccuracy = accuracy;
}

CItemHitTest::CItemHitTest(CJoxDC* dc, CRgn* region) {
    InitContents(dc, kModeNodes);
    m_pRegion = region;
}

CItemHitTest::~CItemHitTest() {
    m_HitElements.RemoveAll();
}

void CItemHitTest::InitContents(CJoxDC* dc, UINT startMode) {
    m_pDC = dc;
    m_nStartMode = startMode;
    m_HitElements.RemoveAll();
    m_HitElements.SetSize(0, 50);
    m_HitPoint = CPoint(0, 0);
    m_HitSegment = CLine();
    m_nHitAccuracy = 0;
    m_pRegion = nullptr;
    m_nEndMode = 0;
    m_nHitIndex = -1;
}
