// CArticle: the node of the design tree that the user sees as one object. It owns at most one
// item and its child articles, and carries a unique identifier, a name, properties, transform
// effects, named string values, a data stamp, a reference count, a time, an orientation mark
// and cached extents. Its group follows the tree links in a design file.
#pragma once

#include "pivora/geometry/geometry_types.h"
#include "pivora/item.h"
#include "pivora/tree.h"
#include "pivora/tx_effect.h"
#include "platform/core/collections.h"
#include "platform/core/crect.h"
#include "platform/core/cstring.h"
#include "platform/core/time.h"

class CArticle;
class CJoxDC;
class CJoxPage;
class CJoxView;
class CMat2d;
class CParamBlk;

// One renumbered identifier: the old ID and the article that carried it.
struct stArticleIDChange {
    LONG ID = 0;
    CArticle* pArticle = nullptr;

    stArticleIDChange() = default;
    stArticleIDChange(LONG id, CArticle* article) : ID(id), pArticle(article) {}
};

using CArticleList = CTypedPtrList<CObList, CArticle*>;
using CArticleIDMap = CMap<LONG, LONG, stArticleIDChange, stArticleIDChange&>;
using CParamBlkArray = CTypedPtrArray<CObArray, CParamBlk*>;
using CTxEffectArray = CTypedPtrArray<CObArray, CTxEffect*>;

class CArticle : public CTree {
    DECLARE_SERIAL(CArticle)
public:
    // Property bits.
    static constexpr DWORD kUnfixedBit = 0x01;
    static constexpr DWORD kNoActiveDataBit = 0x04;
    static constexpr DWORD kDeactivatedBit = 0x08;
    static constexpr DWORD kInactiveBits = 0x1C;
    static constexpr DWORD kHiddenBits = 0xE0;
    static constexpr DWORD kGroupBit = 0x400;

    // The name a new article gets (string resource 14502).
    static constexpr UINT IDS_NO_NAME = 14502;
    static constexpr const wchar_t* kNoName = L"No Name";

    // Record ids of the article's group.
    static constexpr WORD kRecItem = 0;
    static constexpr WORD kRecName = 1;
    static constexpr WORD kRecProperties = 2;
    static constexpr WORD kRecID = 3;
    static constexpr WORD kRecTime = 4;
    static constexpr WORD kRecTxEffects = 5;
    static constexpr WORD kRecEffects = 6;
    static constexpr WORD kRecDataStamp = 7;
    static constexpr WORD kRecOrientation = 8;
    static constexpr WORD kRecRefCount = 9;

    // Next identifier; seeded from the random generator when it is 0.
    static LONG m_ID_count;
    // Class-wide default of the right-click menu.
    static int m_nRightClickMenu;

    CArticle();
    ~CArticle() override;

    // Tree.
    void Detach() override;
    CObject* CopyObject(CObject* obj) override;
    CString InfoStr(unsigned int flags) override;
    void Serialize(CArchive& ar) override;

    // Drawing and hit testing.
    virtual void OnDraw(CJoxView* view, CJoxDC* dc);
    virtual CRect CalcClientExtents(CJoxDC* dc);
    virtual void InvalidateView(CJoxView* view);
    // Asks the children only; the first that answers.
    virtual CArticle* HitTest(CJoxView* view, const CPoint& pt);
    // Empties list and collects every hit article of the subtree into it; the first or null.
    CArticle* HitTest(CJoxView* view, const CPoint& pt, CArticleList& list);
    // This article's own item only: this article with the item's hit index, or null and -1.
    CArticle* HitTest(CJoxView* view, const CPoint& pt, int& index);
    // The orientation mark: a dashed black line from its start to its end.
    void fnDrawOrientation(CJoxDC* dc);

    virtual void fnSetID(LONG id, CArticleIDMap* map);
    virtual CArticle* DeleteAdjust();
    virtual void DeleteAdjustUnfixed();
    virtual CArticle* DeleteAdjustParent();
    virtual int InsertMerge(CArticle* a, int mode);
    virtual void PreMergeAdjust(CJoxPage* page, CParamBlkArray& blocks);
    virtual void MergeAdjust(CParamBlkArray& blocks);
    virtual void DoTransform(CMat2d& m, int recurse);
    virtual int GetInfo(CString& a, CString& b, CString& c);
    virtual void fnGetInventoryDescription(CString& out, bool full);
    virtual int GetDefaultToolId();
    virtual int GetDisplayLevel();
    virtual int fnGetRightClickMenu();

    // Identity and tree.
    LONG GetID() const { return m_ID; }
    CJoxPage* GetDocument();
    CJoxPage* GetDocument() const;
    void SetDocument(CJoxPage* page) { m_pDocument = page; }
    CArticle* TopArticle();
    // Walks of the subtree, each iterative along sibling rows. A null class means CArticle.
    CArticle* FindID(LONG id);
    CArticle* First(const CRuntimeClass* c, int self);
    CArticle* Next(const CRuntimeClass* c, int self, int down);
    CArticle* Last(const CRuntimeClass* c, int self);
    CArticle* Previous(const CRuntimeClass* c, int self);
    CArticleList* GetArticleList(CArticleList* list, int (*filter)(CObject*, void*), void* data);
    CArticleList* GetArticleList(CArticleList* list, const CRuntimeClass* c);
    int IsArticleInList(CArticleList& list);
    static bool IsArticleValidForSelection(CTree* t);

    // Item, name, properties.
    void Item(CItem* item);
    CItem* GetItem() const { return m_pItem; }
    int HasItem() const { return m_pItem ? 1 : 0; }
    CItem* DetachItem();
    int IsEmpty() const { return !m_pItem && !m_pFirstChild; }
    int IsEmptyWithoutChild() const;
    const CString& GetName() const { return m_Name; }
    void SetName(const CString& name) { m_Name = name; }
    DWORD GetProperties() const { return m_dwProperties; }
    int GetProperty(DWORD bits) const { return (m_dwProperties & bits) ? 1 : 0; }
    void SetProperties(DWORD w, bool recurse);
    void SetProperty(DWORD bits, bool recurse);
    void ClrProperty(DWORD bits, bool recurse);
    static void SetProperty(CArticle* a, DWORD bits, int inval);
    static void ClrProperty(CArticle* a, DWORD bits, int inval);
    DWORD IsHidden() const { return m_dwProperties & kHiddenBits; }
    DWORD IsInActive() const { return m_dwProperties & kInactiveBits; }
    static int HasActiveData(CArticle* a);
    static void ActivateAll(CArticle* a, int on, int self);
    int CanXform(int bits);
    int CanMove() { return CanXform(CItem::kXformMove); }
    int CanScaleX() { return CanXform(CItem::kXformScaleX); }
    int CanScaleY() { return CanXform(CItem::kXformScaleY); }
    int CanScale() { return CanXform(CItem::kXformScaleX | CItem::kXformScaleY); }
    int CanRotate() { return CanXform(CItem::kXformRotate); }
    int CanShearX() { return CanXform(CItem::kXformShearX); }
    int CanShearY() { return CanXform(CItem::kXformShearY); }
    int CanMirrorX() { return CanXform(CItem::kXformMirrorX); }
    int CanMirrorY() { return CanXform(CItem::kXformMirrorY); }
    int fnGetRefCount() const { return m_nRefCount; }
    void fnSetRefCount(int n) { m_nRefCount = n; }
    LONG fnGetDataStamp(int deep);
    void fnSetDataStamp(LONG stamp, int deep);
    static void fnSetRightClickMenu(int id) { m_nRightClickMenu = id; }
    CString& GetInfoStr();
    const CTime& GetTime() const { return m_Time; }
    void SetTime(const CTime& t) { m_Time = t; }

    // Extents, cached with an invalid mark that climbs to the root.
    void InvExtents(int on);
    CWindow Extents(unsigned int flags);
    CWindow FullExtents();
    int GetInvExtents() const { return m_bInvExtents; }

    // Orientation mark, diagnostics, links.
    int fnGetOrientation(CLpoint& a, CLpoint& b) const;
    void fnSetOrientation(CLpoint a, CLpoint b);
    void fnSetOrientation(int on);
    void BuildLinks();
    void BuildItemLinks();

    // Deletion support.
    CArticle* DeleteAdjustGetUnfixed(int clear);
    int fnHasUnfixedData();

    // Named values: each entry is the value text immediately followed by the name.
    CStringArray& Effects() { return m_Effects; }
    const CStringArray& Effects() const { return m_Effects; }
    int GetEffect(const CString& name, int* index) const;
    void SetEffect(const CString& value, const CString& name, int keep);
    void RemoveEffect(int index);
    void RemoveAllEffects();
    void RemoveAllEffects(const CString& name);
    int fnGetString(const wchar_t* name, CString& out) const;
    int fnSaveString(const wchar_t* name, const wchar_t* value, int recurse);
    int fnSaveValue(const wchar_t* name, int value, int recurse);
    int fnGetValue(const wchar_t* name, int def) const;
    int fnSetString(const wchar_t* name, const wchar_t* value, int recurse) {
        return fnSaveString(name, value, recurse);
    }
    int fnSetValue(const wchar_t* name, int value, int recurse) {
        return fnSaveValue(name, value, recurse);
    }
    int fnIsEffectUsed(const CString& name, const CString& value);
    void fnRenameEffect(const CString& name, const CString& oldValue, const CString& newValue);

    // Transform effects, owned, in application order.
    int TxEffectCount() const { return int(m_TxEffects.GetSize()); }
    // Raises the invalid-argument exception outside 0 .. count - 1.
    CTxEffect* GetTxEffect(int i) const { return m_TxEffects.GetAt(i); }
    void AddTxEffect(CTxEffect* effect);
    void InsertTxEffect(CTxEffect* effect, int at);
    void RemoveTxEffect(int i);
    void RemoveAllTxEffects();
    CArticle* TxEffectXform(CArticle* a, int n);
    CItem* TxEffectXform(CItem* item);
    void TxEffectXform(int x, int y, int& outX, int& outY);
    // The last effect's array (the caller frees it with array delete unless it is pts);
    // null without effects.
    CLpoint* TxEffectXform(CLpoint* pts, int n, int& outN);
    CPoint* TxEffectXform(CPoint* pts, int n, int& outN);

protected:
    // Non-zero when the article must be drawn: its device extents meet the clip box.
    int IntersectClipRect(CJoxView* view, CJoxDC* dc);
    // Erases the background under the article, or takes its area out of what the paint erases.
    void ProcessBackground(CJoxView* view, CJoxDC* dc);
    // Whether the paint must stop for pending input; what is left goes to the view's deferred
    // paint region.
    bool InterruptOnDraw(CJoxView* view, CJoxDC* dc);
    CArticle* HitTest(CJoxView* view, const CPoint& pt, CArticleList* list, int* index);
    virtual int NeedBackgroundErase() const { return 1; }
    virtual CWindow& RecalcExtents(unsigned int flags);
    virtual int _IsCArticle(bool exact) const;
    virtual int _IsCVectorArticle(bool exact) const;

    friend int IsCArticle(const CObject* o, bool exact);
    friend int IsCVectorArticle(const CObject* o, bool exact);

    LONG m_ID = 0;
    CJoxPage* m_pDocument = nullptr;
    int m_bInvExtents = 1;
    CWindow m_Extents = CWindow::EmptyExtent();
    CWindow m_FullExtents = CWindow::EmptyExtent();
    CItem* m_pItem = nullptr;
    CString m_Name;
    int m_nRefCount = 0;
    CTime m_Time;
    DWORD m_dwProperties = 0;
    CTxEffectArray m_TxEffects;
    CStringArray m_Effects;
    CString* m_pInfoStr = nullptr;
    LONG m_nDataStamp = 0;
    CLpoint m_OrientStart;
    CLpoint m_OrientEnd;

private:
    CArticle* HitTestIn(CJoxView* view, CJoxDC& dc, const CPoint& pt, CArticleList* list,
                        int* index);
    void DrawChildren(CJoxView* view, CJoxDC* dc);
    static LONG NewID();
    void LoadGroup(CArchive& ar);
};

// Calls fn(article, its item, data) for each element from pos (the head when pos is null)
// until fn returns 0.
void GoArticleList(CArticleList& list, int (*fn)(CArticle*, CItem*, void*), void* data,
                   POSITION pos);
int IsCArticle(const CObject* o, bool exact);
int IsCVectorArticle(const CObject* o, bool exact);
