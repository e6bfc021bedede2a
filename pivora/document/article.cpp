#include "pivora/article.h"

#include "pivora/document/article_walk.h"
#include "pivora/document/record_fields.h"
#include "pivora/framework/rand_number.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/rec_archive.h"
#include "pivora/tx_effect.h"
#include "platform/core/archive.h"
#include "platform/core/array_archive.h"

#include <cstdint>
#include <cwchar>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

IMPLEMENT_SERIAL(CArticle, CTree, 0)

LONG CArticle::m_ID_count = 0;
int CArticle::m_nRightClickMenu = 0;

namespace {

using article_walk::ForEachDescendant;
using article_walk::PreorderNext;
using article_walk::SkipSubtree;

bool IsNonEmpty(const CWindow& w) {
    return w.x2 >= w.x1 && w.y2 >= w.y1;
}

void Widen(CWindow& w, const CWindow& by) {
    if (!IsNonEmpty(w)) {
        w = by;
        return;
    }
    if (by.x1 < w.x1)
        w.x1 = by.x1;
    if (by.y1 < w.y1)
        w.y1 = by.y1;
    if (by.x2 > w.x2)
        w.x2 = by.x2;
    if (by.y2 > w.y2)
        w.y2 = by.y2;
}

CArticle* Matching(CTree* t, const CRuntimeClass* c) {
    if (!t || !t->IsKindOf(RUNTIME_CLASS(CArticle)))
        return nullptr;
    if (c && !t->IsKindOf(c))
        return nullptr;
    return static_cast<CArticle*>(t);
}

// Seeds the identifier counter: the product of two draws from 0 to 9999.
LONG DrawSeed() {
    LONG a = get_rand_number(0, 10000);
    LONG b = get_rand_number(0, 10000);
    return a * b;
}

} // namespace

LONG CArticle::NewID() {
    if (m_ID_count == 0)
        m_ID_count = DrawSeed();
    LONG id = m_ID_count;
    // Wraps like the 32-bit counter it is, without signed overflow.
    m_ID_count = LONG(uint32_t(m_ID_count) + 1u);
    return id;
}

CArticle::CArticle() : m_ID(NewID()), m_Name(kNoName) {}

CArticle::~CArticle() {
    // Only the article deleted first still has a parent: its children are unlinked by the
    // tree before they go, so a large subtree is not re-marked once per node.
    if (auto* parent = DynamicDowncast<CArticle>(m_pParent))
        parent->InvExtents(1);
    delete m_pItem;
    m_pItem = nullptr;
    delete m_pInfoStr;
    m_pInfoStr = nullptr;
    RemoveAllTxEffects();
    m_Effects.RemoveAll();
}

// Identity and tree -------------------------------------------------------------------------

CJoxPage* CArticle::GetDocument() {
    if (m_pDocument)
        return m_pDocument;
    std::vector<CArticle*> path{this};
    CJoxPage* page = nullptr;
    for (CArticle* a = DynamicDowncast<CArticle>(m_pParent); a;
         a = DynamicDowncast<CArticle>(a->m_pParent)) {
        if (a->m_pDocument) {
            page = a->m_pDocument;
            break;
        }
        path.push_back(a);
    }
    if (page)
        for (CArticle* a : path)
            a->m_pDocument = page;
    return page;
}

CJoxPage* CArticle::GetDocument() const {
    for (const CArticle* a = this; a; a = DynamicDowncast<CArticle>(a->m_pParent))
        if (a->m_pDocument)
            return a->m_pDocument;
    return nullptr;
}

void CArticle::Detach() {
    if (auto* parent = DynamicDowncast<CArticle>(m_pParent))
        parent->InvExtents(1);
    CTree::Detach();
    m_pDocument = nullptr;
    ForEachDescendant(this, [](CArticle* a) { a->m_pDocument = nullptr; });
}

CArticle* CArticle::TopArticle() {
    if (!m_pParent)
        return nullptr;
    CTree* t = this;
    while (t->GetParent()->GetParent())
        t = t->GetParent();
    return DynamicDowncast<CArticle>(t);
}

CArticle* CArticle::FindID(LONG id) {
    if (m_ID == id)
        return this;
    for (CTree* t = m_pFirstChild; t; t = PreorderNext(t, this))
        if (auto* a = DynamicDowncast<CArticle>(t); a && a->m_ID == id)
            return a;
    return nullptr;
}

CArticle* CArticle::First(const CRuntimeClass* c, int self) {
    if (self)
        if (CArticle* a = Matching(this, c))
            return a;
    for (CTree* t = m_pFirstChild; t; t = PreorderNext(t, this))
        if (CArticle* a = Matching(t, c))
            return a;
    return nullptr;
}

CArticle* CArticle::Next(const CRuntimeClass* c, int self, int down) {
    if (self && down)
        if (CArticle* a = Matching(this, c))
            return a;
    CTree* t = down ? PreorderNext(this, nullptr) : SkipSubtree(this, nullptr);
    for (; t; t = PreorderNext(t, nullptr))
        if (CArticle* a = Matching(t, c))
            return a;
    return nullptr;
}

CArticle* CArticle::Last(const CRuntimeClass* c, int self) {
    CArticle* last = self ? Matching(this, c) : nullptr;
    for (CTree* t = m_pFirstChild; t; t = PreorderNext(t, this))
        if (CArticle* a = Matching(t, c))
            last = a;
    return last;
}

CArticle* CArticle::Previous(const CRuntimeClass* c, int self) {
    CTree* node = this;
    bool includeSelf = self != 0;
    while (node) {
        if (includeSelf)
            if (CArticle* a = Matching(node, c))
                return a;
        for (CTree* l = node->GetLsibling(); l; l = l->GetLsibling()) {
            CArticle* la = DynamicDowncast<CArticle>(l);
            if (CArticle* found = la ? la->Last(c, 1) : nullptr)
                return found;
        }
        node = node->GetParent();
        includeSelf = true;
    }
    return nullptr;
}

CArticleList* CArticle::GetArticleList(CArticleList* list, int (*filter)(CObject*, void*),
                                       void* data) {
    if (!list)
        return nullptr;
    ForEachDescendant(this, [&](CArticle* a) {
        if (!filter || filter(a, data))
            list->AddTail(a);
    });
    return list;
}

CArticleList* CArticle::GetArticleList(CArticleList* list, const CRuntimeClass* c) {
    if (!list)
        return nullptr;
    ForEachDescendant(this, [&](CArticle* a) {
        if (!c || a->IsKindOf(c))
            list->AddTail(a);
    });
    return list;
}

int CArticle::IsArticleInList(CArticleList& list) {
    for (POSITION pos = list.GetHeadPosition(); pos;)
        if (IsChildOf(list.GetNext(pos)))
            return 1;
    return 0;
}

bool CArticle::IsArticleValidForSelection(CTree* t) {
    // The right-sibling fall-back walks the row in a loop.
    while (t) {
        CArticle* a = DynamicDowncast<CArticle>(t);
        if (!a || !a->m_pParent || a->IsInActive() || a->IsHidden())
            return false;
        if (a->m_pItem)
            return !a->m_pItem->IsInActive() && !a->m_pItem->IsHidden();
        t = a->m_pFirstChild ? a->m_pFirstChild : a->m_pRsibling;
    }
    return false;
}

void GoArticleList(CArticleList& list, int (*fn)(CArticle*, CItem*, void*), void* data,
                   POSITION pos) {
    if (!fn)
        return;
    if (!pos)
        pos = list.GetHeadPosition();
    while (pos) {
        CArticle* a = list.GetNext(pos);
        if (!fn(a, a ? a->GetItem() : nullptr, data))
            return;
    }
}

int CArticle::_IsCArticle(bool exact) const {
    return exact ? GetRuntimeClass() == RUNTIME_CLASS(CArticle) : 1;
}

int CArticle::_IsCVectorArticle(bool) const {
    return 0;
}

int IsCArticle(const CObject* o, bool exact) {
    const CArticle* a = DynamicDowncast<CArticle>(o);
    return a ? a->_IsCArticle(exact) : 0;
}

int IsCVectorArticle(const CObject* o, bool exact) {
    const CArticle* a = DynamicDowncast<CArticle>(o);
    return a ? a->_IsCVectorArticle(exact) : 0;
}

// Item, name, properties ---------------------------------------------------------------------

void CArticle::Item(CItem* item) {
    if (m_pItem && m_pItem != item)
        delete m_pItem;
    m_pItem = item;
    if (item)
        item->Article(this);
}

CItem* CArticle::DetachItem() {
    CItem* item = m_pItem;
    m_pItem = nullptr;
    if (item)
        item->Article(nullptr);
    return item;
}

int CArticle::IsEmptyWithoutChild() const {
    return !m_pItem && m_pFirstChild && !m_pFirstChild->GetRsibling();
}

void CArticle::SetProperties(DWORD w, bool recurse) {
    m_dwProperties = w;
    if (recurse)
        ForEachDescendant(this, [w](CArticle* a) { a->m_dwProperties = w; });
}

void CArticle::SetProperty(DWORD bits, bool recurse) {
    m_dwProperties |= bits;
    if (recurse)
        ForEachDescendant(this, [bits](CArticle* a) { a->m_dwProperties |= bits; });
}

void CArticle::ClrProperty(DWORD bits, bool recurse) {
    m_dwProperties &= ~bits;
    if (recurse)
        ForEachDescendant(this, [bits](CArticle* a) { a->m_dwProperties &= ~bits; });
}

void CArticle::SetProperty(CArticle* a, DWORD bits, int inval) {
    if (!a)
        return;
    auto touch = [bits, inval](CArticle* x) {
        if (CItem* item = x->m_pItem) {
            item->SetProperty(bits);
            if (inval)
                item->InvExtents(1);
        }
    };
    touch(a);
    ForEachDescendant(a, touch);
}

void CArticle::ClrProperty(CArticle* a, DWORD bits, int inval) {
    if (!a)
        return;
    auto touch = [bits, inval](CArticle* x) {
        if (CItem* item = x->m_pItem) {
            item->ClrProperty(bits);
            if (inval)
                item->InvExtents(1);
        }
    };
    touch(a);
    ForEachDescendant(a, touch);
}

int CArticle::HasActiveData(CArticle* a) {
    if (!a)
        return 0;
    if (!(a->m_dwProperties & kNoActiveDataBit))
        return 1;
    for (CTree* t = a->m_pFirstChild; t; t = PreorderNext(t, a))
        if (auto* d = DynamicDowncast<CArticle>(t); d && !(d->m_dwProperties & kNoActiveDataBit))
            return 1;
    return 0;
}

void CArticle::ActivateAll(CArticle* a, int on, int self) {
    if (!a)
        return;
    auto apply = [on](CArticle* x) {
        if (on)
            x->m_dwProperties &= ~kDeactivatedBit;
        else
            x->m_dwProperties |= kDeactivatedBit;
    };
    if (self)
        apply(a);
    ForEachDescendant(a, apply);
}

int CArticle::CanXform(int bits) {
    if (m_pItem && !m_pItem->CanXform(bits))
        return 0;
    for (CTree* t = m_pFirstChild; t; t = t->GetRsibling())
        if (auto* a = DynamicDowncast<CArticle>(t); a && !a->CanXform(bits))
            return 0;
    return 1;
}

LONG CArticle::fnGetDataStamp(int deep) {
    if (m_nDataStamp != 0 || !deep)
        return m_nDataStamp;
    for (CTree* t = m_pFirstChild; t; t = t->GetRsibling())
        if (auto* a = DynamicDowncast<CArticle>(t))
            if (LONG s = a->fnGetDataStamp(deep))
                return s;
    return 0;
}

void CArticle::fnSetDataStamp(LONG stamp, int deep) {
    m_nDataStamp = stamp;
    if (deep)
        ForEachDescendant(this, [stamp](CArticle* a) { a->m_nDataStamp = stamp; });
}

CString& CArticle::GetInfoStr() {
    if (!m_pInfoStr)
        m_pInfoStr = new CString;
    return *m_pInfoStr;
}

// Virtual operations with base behaviour -------------------------------------------------------

void CArticle::fnSetID(LONG id, CArticleIDMap*) {
    m_ID = id;
}

CArticle* CArticle::DeleteAdjust() {
    return this;
}

int CArticle::InsertMerge(CArticle* a, int) {
    InsertRsibling(a);
    return 0;
}

void CArticle::PreMergeAdjust(CJoxPage*, CParamBlkArray&) {}

void CArticle::MergeAdjust(CParamBlkArray&) {}

int CArticle::GetInfo(CString&, CString&, CString&) {
    return 0;
}

void CArticle::fnGetInventoryDescription(CString& out, bool) {
    out.Empty();
}

int CArticle::GetDefaultToolId() {
    return 0;
}

int CArticle::GetDisplayLevel() {
    return 100;
}

int CArticle::fnGetRightClickMenu() {
    if (!(m_dwProperties & kGroupBit))
        return m_nRightClickMenu;
    int common = 0;
    bool first = true;
    for (CTree* t = m_pFirstChild; t; t = t->GetRsibling()) {
        auto* a = DynamicDowncast<CArticle>(t);
        int id = a ? a->fnGetRightClickMenu() : 0;
        if (first) {
            common = id;
            first = false;
        }
        if (id == 0 || id != common)
            return m_nRightClickMenu;
    }
    return common;
}

void CArticle::DoTransform(CMat2d& m, int recurse) {
    bool transformed = false;
    if (m_pItem && !m_pItem->GetProperty(CItem::kNotTransformedBit) &&
        m.XformAllowed(m_pItem->GetXformProperties())) {
        m_pItem->DoTransform(m);
        InvExtents(1);
        transformed = true;
    }
    if (recurse)
        for (CTree* t = m_pFirstChild; t; t = t->GetRsibling())
            if (auto* a = DynamicDowncast<CArticle>(t))
                a->DoTransform(m, recurse);
    if (transformed && !(m_OrientStart == m_OrientEnd)) {
        m_OrientStart = m * m_OrientStart;
        m_OrientEnd = m * m_OrientEnd;
    }
}

// Extents -----------------------------------------------------------------------------------

void CArticle::InvExtents(int on) {
    m_bInvExtents = on;
    if (!on)
        return;
    for (CArticle* a = DynamicDowncast<CArticle>(m_pParent); a;
         a = DynamicDowncast<CArticle>(a->m_pParent))
        a->m_bInvExtents = on;
}

CWindow CArticle::Extents(unsigned int flags) {
    if (m_bInvExtents) {
        RecalcExtents(flags);
        m_bInvExtents = 0;
    }
    return m_Extents;
}

CWindow CArticle::FullExtents() {
    if (m_bInvExtents)
        Extents(0);
    return m_FullExtents;
}

CWindow& CArticle::RecalcExtents(unsigned int flags) {
    m_Extents = CWindow::EmptyExtent();
    m_FullExtents = CWindow::EmptyExtent();
    if (m_pItem && !m_pItem->IsHidden()) {
        CWindow e = m_pItem->Extents();
        if (IsNonEmpty(e)) {
            Widen(m_Extents, e);
            Widen(m_FullExtents, m_pItem->FullExtents());
        }
    }
    for (CTree* t = m_pFirstChild; t; t = t->GetRsibling()) {
        auto* a = DynamicDowncast<CArticle>(t);
        if (!a)
            continue;
        CWindow e = a->Extents(flags);
        if (IsNonEmpty(e)) {
            Widen(m_Extents, e);
            Widen(m_FullExtents, a->FullExtents());
        }
    }
    return m_Extents;
}

// Orientation, diagnostics, links ----------------------------------------------------------------

int CArticle::fnGetOrientation(CLpoint& a, CLpoint& b) const {
    a = m_OrientStart;
    b = m_OrientEnd;
    return a == b ? 0 : 1;
}

void CArticle::fnSetOrientation(CLpoint a, CLpoint b) {
    m_OrientStart = a;
    m_OrientEnd = b;
}

void CArticle::fnSetOrientation(int on) {
    CLpoint a, b;
    if (on) {
        CWindow e = Extents(0);
        LONG cy = LONG((int64_t(e.y1) + e.y2) / 2);
        a = CLpoint(LONG((int64_t(e.x1) + e.x2) / 2), cy);
        b = CLpoint(e.x2, cy);
    }
    m_OrientStart = a;
    m_OrientEnd = b;
    ForEachDescendant(this, [a, b](CArticle* d) {
        d->m_OrientStart = a;
        d->m_OrientEnd = b;
    });
}

CString CArticle::InfoStr(unsigned int flags) {
    CString& s = GetInfoStr();
    CString className(GetRuntimeClass()->m_lpszClassName);
    s.Format(L"%s [%p ID %ld]", className.GetString(), static_cast<void*>(this), long(m_ID));
    if (!(flags & 2)) {
        CWindow e = Extents(0);
        s.AppendFormat(L"Ext:ll(%ld,%ld) ur(%ld,%ld); W %ld x H %ld", long(e.x1), long(e.y1),
                       long(e.x2), long(e.y2), long(int64_t(e.x2) - e.x1),
                       long(int64_t(e.y2) - e.y1));
    }
    return s;
}

void CArticle::BuildLinks() {
    CTree::BuildLinks();
    BuildItemLinks();
}

void CArticle::BuildItemLinks() {
    if (m_pItem)
        m_pItem->Article(this);
    ForEachDescendant(this, [](CArticle* a) {
        if (a->m_pItem)
            a->m_pItem->Article(a);
    });
}

// Deletion support ----------------------------------------------------------------------------

CArticle* CArticle::DeleteAdjustGetUnfixed(int clear) {
    if (m_dwProperties & kUnfixedBit)
        return nullptr;
    for (CTree* t = m_pFirstChild; t; t = PreorderNext(t, this))
        if (auto* a = DynamicDowncast<CArticle>(t); a && (a->m_dwProperties & kUnfixedBit)) {
            if (clear)
                a->m_dwProperties &= ~kUnfixedBit;
            return a;
        }
    return nullptr;
}

void CArticle::DeleteAdjustUnfixed() {
    if (m_dwProperties & kUnfixedBit)
        return;
    while (CArticle* a = DeleteAdjustGetUnfixed(0)) {
        a->Detach();
        AddRsibling(a);
        a->m_dwProperties &= ~kUnfixedBit;
    }
}

int CArticle::fnHasUnfixedData() {
    if (m_dwProperties & kUnfixedBit)
        return 1;
    for (CTree* t = m_pFirstChild; t; t = PreorderNext(t, this))
        if (auto* a = DynamicDowncast<CArticle>(t); a && (a->m_dwProperties & kUnfixedBit))
            return 1;
    return 0;
}

CArticle* CArticle::DeleteAdjustParent() {
    CArticle* a = this;
    for (;;) {
        auto* parent = DynamicDowncast<CArticle>(a->m_pParent);
        if (!parent || !parent->m_pParent || parent->m_pItem || a->m_pLsibling || a->m_pRsibling)
            return a;
        a = parent;
    }
}

// Copying -------------------------------------------------------------------------------------

CObject* CArticle::CopyObject(CObject* obj) {
    CArticle* to = obj ? DynamicDowncast<CArticle>(obj) : new CArticle;
    if (!to)
        return obj;
    if (!m_pItem) {
        to->Item(nullptr);
    } else {
        CItem* target = to->m_pItem;
        // Copying into an item of another class would treat it as this item's class.
        if (target && target->GetRuntimeClass() != m_pItem->GetRuntimeClass()) {
            delete to->DetachItem();
            target = nullptr;
        }
        CItem* copy = DynamicDowncast<CItem>(m_pItem->CopyObject(target));
        if (!copy) {
            // The base item gives nothing for a null target: make one of the item's class.
            copy = DynamicDowncast<CItem>(m_pItem->GetRuntimeClass()->CreateObject());
            if (copy && !m_pItem->CopyObject(copy)) {
                delete copy;
                copy = nullptr;
            }
        }
        to->Item(copy);
    }
    to->m_bInvExtents = m_bInvExtents;
    to->m_Extents = m_Extents;
    to->m_FullExtents = m_FullExtents;
    to->m_Name = m_Name;
    to->m_Time = m_Time;
    to->m_dwProperties = m_dwProperties;
    delete to->m_pInfoStr;
    to->m_pInfoStr = m_pInfoStr ? new CString(*m_pInfoStr) : nullptr;
    to->m_Effects.RemoveAll();
    to->m_Effects.Append(m_Effects);
    to->RemoveAllTxEffects();
    for (INT_PTR i = 0; i < m_TxEffects.GetSize(); ++i)
        if (auto* e = DynamicDowncast<CTxEffect>(m_TxEffects.GetAt(i)->CopyObject(nullptr)))
            to->m_TxEffects.Add(e);
    to->m_OrientStart = m_OrientStart;
    to->m_OrientEnd = m_OrientEnd;
    return to;
}

// Storing and loading ----------------------------------------------------------------------------

void CArticle::Serialize(CArchive& ar) {
    CTree::Serialize(ar);
    if (ar.IsLoading()) {
        LoadGroup(ar);
        return;
    }
    CRecArchive rec(ar);
    rec.StoreField(kRecItem, static_cast<const CObject*>(m_pItem));
    rec.StoreField(kRecName, m_Name);
    rec.StoreField(kRecProperties, uint32_t(m_dwProperties));
    rec.StoreField(kRecID, uint32_t(m_ID));
    rec.StoreField(kRecTime, m_Time);
    DWORD pos = rec.StartStore(kRecTxEffects);
    StoreObArray(ar, m_TxEffects);
    rec.EndStore(pos);
    pos = rec.StartStore(kRecEffects);
    StoreStringArray(ar, m_Effects);
    rec.EndStore(pos);
    rec.StoreField(kRecDataStamp, uint32_t(m_nDataStamp));
    const int32_t orient[4] = {m_OrientStart.x, m_OrientStart.y, m_OrientEnd.x, m_OrientEnd.y};
    rec.StoreRecord(kRecOrientation, reinterpret_cast<const BYTE*>(orient), sizeof orient);
    rec.StoreField(kRecRefCount, uint32_t(m_nRefCount));
    rec.StoreEndRec();
}

void CArticle::LoadGroup(CArchive& ar) {
    using record_fields::LoadFixed;
    using record_fields::LoadSized;
    CRecArchive rec(ar);
    record_fields::ForEach(rec, [&](WORD id, DWORD len) {
        switch (id) {
        case kRecItem:
            LoadSized(rec, len, [&] { Item(rec.LoadObject<CItem>()); });
            return true;
        case kRecName:
            LoadSized(rec, len, [&] { m_Name = ar.ReadString(); });
            return true;
        case kRecProperties:
            LoadFixed(rec, len, m_dwProperties);
            return true;
        case kRecID:
            LoadFixed(rec, len, m_ID);
            return true;
        case kRecTime: {
            uint32_t seconds = 0;
            if (LoadFixed(rec, len, seconds))
                m_Time = CTime(int64_t(seconds));
            return true;
        }
        case kRecTxEffects:
            LoadSized(rec, len, [&] {
                CObArray loaded;
                LoadObArray(ar, loaded, RUNTIME_CLASS(CTxEffect));
                RemoveAllTxEffects();
                // A null reference in the chain is dropped: every effect is applied.
                for (INT_PTR i = 0; i < loaded.GetSize(); ++i)
                    if (CObject* e = loaded.GetAt(i))
                        m_TxEffects.Add(static_cast<CTxEffect*>(e));
            });
            return true;
        case kRecEffects:
            LoadSized(rec, len, [&] {
                CStringArray loaded;
                LoadStringArray(ar, loaded);
                m_Effects.RemoveAll();
                m_Effects.Append(loaded);
            });
            return true;
        case kRecDataStamp:
            LoadFixed(rec, len, m_nDataStamp);
            return true;
        case kRecOrientation: {
            int32_t orient[4];
            if (LoadFixed(rec, len, orient)) {
                m_OrientStart = CLpoint(orient[0], orient[1]);
                m_OrientEnd = CLpoint(orient[2], orient[3]);
            }
            return true;
        }
        case kRecRefCount:
            LoadFixed(rec, len, m_nRefCount);
            return true;
        default:
            return false;
        }
    });
}
