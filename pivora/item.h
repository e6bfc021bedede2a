// CItem: the geometry that an article owns. The base keeps what every item shares: the owner,
// the cached extents with their invalid mark, the properties and the transform permissions.
// CItemHitTest: what a hit test hands to an item and what the item reports back.
#pragma once

#include "pivora/geometry/geometry_types.h"
#include "platform/core/crect.h"
#include "platform/core/object.h"
#include "platform/core/uint_array.h"

class CArticle;
class CJoxDC;
class CJoxView;
class CMat2d;
class CRgn;
class CTxEffect;
class CItemHitTest;

class CItem : public CObject {
    DECLARE_SERIAL(CItem)
public:
    // Property bits; items and articles share the word's layout.
    static constexpr DWORD kInactiveBits = 0x1C;
    static constexpr DWORD kHiddenBits = 0xE0;
    static constexpr DWORD kNotDrawnBit = 0x04;
    static constexpr DWORD kNotTransformedBit = 0x10;
    static constexpr DWORD kNoActiveExtentsBit = 0x40;

    // Transform permissions (0x008 is not used).
    static constexpr DWORD kXformMove = 0x001;
    static constexpr DWORD kXformScaleX = 0x002;
    static constexpr DWORD kXformScaleY = 0x004;
    static constexpr DWORD kXformRotate = 0x010;
    static constexpr DWORD kXformShearX = 0x020;
    static constexpr DWORD kXformShearY = 0x040;
    static constexpr DWORD kXformMirrorX = 0x080;
    static constexpr DWORD kXformMirrorY = 0x100;
    static constexpr DWORD kDefaultXformProperties = 0x1F7;

    // Record ids of the item's group.
    static constexpr WORD kRecProperties = 0;
    static constexpr WORD kRecXformProperties = 1;

    ~CItem() override = default;
    CItem(const CItem&) = delete;
    CItem& operator=(const CItem&) = delete;

    virtual void OnDraw(CJoxView* view, CJoxDC* dc);
    virtual void Echo(CJoxDC* dc, CMat2d& m, int mode);
    virtual int HitTestPoint(CItemHitTest* test);
    virtual int InsideOf(CItem* other);
    // The full extents in device units, never empty.
    virtual CRect CalcClientExtents(CJoxDC* dc);
    virtual CWindow Extents();
    virtual CWindow FullExtents();
    virtual void InvExtents(int on);
    virtual int CanMove();
    virtual int CanScaleX();
    virtual int CanScaleY();
    virtual int CanScale();
    virtual int CanRotate();
    virtual int CanShearX();
    virtual int CanShearY();
    virtual int CanMirrorX();
    virtual int CanMirrorY();
    virtual int CanReflect();
    virtual void DoReflect(int mode);
    virtual void DoTransform(CTxEffect* effect);
    virtual void DoTransform(CMat2d& m);
    virtual int DoMirror(CLine& axis);
    // Copies the base state into obj (the owner stays); null stays null.
    virtual CObject* CopyObject(CObject* obj);
    void Serialize(CArchive& ar) override;

    void SetDefaultXformProperties() { m_dwXformProperties = kDefaultXformProperties; }
    DWORD GetProperties() const { return m_dwProperties; }
    void SetProperties(DWORD w) { m_dwProperties = w; }
    int GetProperty(DWORD bits) const { return (m_dwProperties & bits) ? 1 : 0; }
    void SetProperty(DWORD bits) { m_dwProperties |= bits; }
    void ClrProperty(DWORD bits) { m_dwProperties &= ~bits; }
    DWORD GetXformProperties() const { return m_dwXformProperties; }
    void SetXformProperties(DWORD w) { m_dwXformProperties = w; }
    int GetXformProperty(DWORD bits) const { return (m_dwXformProperties & bits) ? 1 : 0; }
    void SetXformProperty(DWORD bits) { m_dwXformProperties |= bits; }
    void ClrXformProperty(DWORD bits) { m_dwXformProperties &= ~bits; }
    // What the single tests allow, so that overrides in derived items count.
    DWORD XformProperties();
    int CanXform(int bits);
    DWORD IsInActive() const { return m_dwProperties & kInactiveBits; }
    DWORD IsHidden() const;
    // Whether the item must be drawn: always when printing or without a view, otherwise when
    // it meets the clip box widened by 3 device units.
    int IntersectClipRect(CJoxView* view, CJoxDC* dc);

    CArticle* GetArticle() const { return m_pArticle; }
    void Article(CArticle* owner) { m_pArticle = owner; }
    int GetInvExtents() const { return m_bInvExtents; }

protected:
    CItem();
    // The base has no geometry: the empty window.
    virtual CWindow RecalcExtents();

    CArticle* m_pArticle = nullptr;
    int m_bInvExtents = 1;
    CWindow m_Extents = CWindow::EmptyExtent();
    DWORD m_dwProperties = 0;
    DWORD m_dwXformProperties = kDefaultXformProperties;
};

class CItemHitTest : public CObject {
public:
    // What to test, and what the item says it hit.
    static constexpr UINT kModeNodes = 1;
    static constexpr UINT kModePath = 2;

    CItemHitTest(CJoxDC* dc, const CPoint& pt, UINT startMode, int accuracy);
    CItemHitTest(CJoxDC* dc, CRgn* region);
    ~CItemHitTest() override;
    CItemHitTest(const CItemHitTest&) = delete;
    CItemHitTest& operator=(const CItemHitTest&) = delete;

    void InitContents(CJoxDC* dc, UINT startMode);

    CJoxDC* GetDC() const { return m_pDC; }
    void SetDC(CJoxDC* dc) { m_pDC = dc; }
    CPoint GetHitPoint() const { return m_HitPoint; }
    void SetHitPoint(const CPoint& pt) { m_HitPoint = pt; }
    int GetHitAccuracy() const { return m_nHitAccuracy; }
    void SetHitAccuracy(int accuracy) { m_nHitAccuracy = accuracy; }
    CRgn* GetRegion() const { return m_pRegion; }
    void SetRegion(CRgn* region) { m_pRegion = region; }
    UINT GetStartMode() const { return m_nStartMode; }
    void SetStartMode(UINT mode) { m_nStartMode = mode; }
    UINT GetEndMode() const { return m_nEndMode; }
    void SetEndMode(UINT mode) { m_nEndMode = mode; }
    int GetHitIndex() const { return m_nHitIndex; }
    void SetHitIndex(int index) { m_nHitIndex = index; }
    // End points of the sub-segment that was hit.
    const CLine& GetHitSegment() const { return m_HitSegment; }
    void SetHitSegment(const CLpoint& start, const CLpoint& end) {
        m_HitSegment = CLine(start, end);
    }

    void AddHitElement(int index) { m_HitElements.Add(UINT(index)); }
    int GetHitElementCount() const { return int(m_HitElements.GetSize()); }
    // Raises the invalid-argument exception outside 0 .. count - 1.
    int GetHitElement(int i) const { return int(m_HitElements.GetAt(i)); }

private:
    CLine m_HitSegment;
    int m_nHitIndex = -1;
    UINT m_nStartMode = 0;
    CUIntArray m_HitElements;
    CJoxDC* m_pDC = nullptr;
    CPoint m_HitPoint;
    int m_nHitAccuracy = 0;
    CRgn* m_pRegion = nullptr;
    UINT m_nEndMode = 0;
};
