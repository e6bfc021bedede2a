// CList: a doubly linked list walked with POSITION handles. Every node is its own allocation,
// so a POSITION stays valid until that node is removed, whatever else is added or removed.
#pragma once

#include "platform/core/exceptions.h"
#include "platform/core/position.h"

#include <utility>

template <class TYPE, class ARG_TYPE = const TYPE&> class CList {
protected:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    typedef TYPE BASE_TYPE;
    typedef ARG_TYPE BASE_ARG_TYPE;

    // Nodes are allocated one by one; the block size is accepted and not needed.
    explicit CList(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;
    virtual ~CList() { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return Checked(m_pNodeHead)->data; }
    const TYPE& GetHead() const { return Checked(m_pNodeHead)->data; }
    TYPE& GetTail() { return Checked(m_pNodeTail)->data; }
    const TYPE& GetTail() const { return Checked(m_pNodeTail)->data; }

    TYPE RemoveHead() {
        CNode* node = Checked(m_pNodeHead);
        TYPE value(std::move(node->data));
        FreeNode(node);
        return value;
    }
    TYPE RemoveTail() {
        CNode* node = Checked(m_pNodeTail);
        TYPE value(std::move(node->data));
        FreeNode(node);
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) {
        return Link(NewNode(newElement), nullptr, m_pNodeHead);
    }
    POSITION AddTail(ARG_TYPE newElement) {
        return Link(NewNode(newElement), m_pNodeTail, nullptr);
    }
    // Whole lists keep their order; adding a list to itself doubles it.
    void AddHead(CList* newList) {
        if (!newList)
            AfxThrowInvalidArgException();
        INT_PTR n = newList->m_nCount;
        CNode* node = newList->m_pNodeTail;
        // Counted, so that a list added to itself stops at its old head.
        for (INT_PTR i = 0; i < n; ++i, node = node->pPrev)
            AddHead(node->data);
    }
    void AddTail(CList* newList) {
        if (!newList)
            AfxThrowInvalidArgException();
        INT_PTR n = newList->m_nCount;
        CNode* node = newList->m_pNodeHead;
        for (INT_PTR i = 0; i < n; ++i, node = node->pNext)
            AddTail(node->data);
    }

    void RemoveAll() {
        CNode* node = m_pNodeHead;
        while (node) {
            CNode* next = node->pNext;
            delete node;
            node = next;
        }
        m_pNodeHead = m_pNodeTail = nullptr;
        m_nCount = 0;
    }

    POSITION GetHeadPosition() const { return ToPos(m_pNodeHead); }
    POSITION GetTailPosition() const { return ToPos(m_pNodeTail); }

    TYPE& GetNext(POSITION& rPosition) {
        CNode* node = FromPos(rPosition);
        rPosition = ToPos(node->pNext);
        return node->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const {
        CNode* node = FromPos(rPosition);
        rPosition = ToPos(node->pNext);
        return node->data;
    }
    TYPE& GetPrev(POSITION& rPosition) {
        CNode* node = FromPos(rPosition);
        rPosition = ToPos(node->pPrev);
        return node->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const {
        CNode* node = FromPos(rPosition);
        rPosition = ToPos(node->pPrev);
        return node->data;
    }

    TYPE& GetAt(POSITION position) { return FromPos(position)->data; }
    const TYPE& GetAt(POSITION position) const { return FromPos(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { FromPos(pos)->data = newElement; }
    void RemoveAt(POSITION position) { FreeNode(FromPos(position)); }

    // A null position inserts at the head (before) or the tail (after).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
        if (!position)
            return AddHead(newElement);
        CNode* at = FromPos(position);
        return Link(NewNode(newElement), at->pPrev, at);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
        if (!position)
            return AddTail(newElement);
        CNode* at = FromPos(position);
        return Link(NewNode(newElement), at, at->pNext);
    }

    // The first match after startAfter (from the head when null); null when there is none.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
        CNode* node = startAfter ? FromPos(startAfter)->pNext : m_pNodeHead;
        for (; node; node = node->pNext)
            if (node->data == searchValue)
                return ToPos(node);
        return nullptr;
    }
    // Null when the index is outside the list; walks from the nearer end.
    POSITION FindIndex(INT_PTR nIndex) const {
        if (nIndex < 0 || nIndex >= m_nCount)
            return nullptr;
        CNode* node;
        if (nIndex <= m_nCount / 2) {
            node = m_pNodeHead;
            while (nIndex--)
                node = node->pNext;
        } else {
            node = m_pNodeTail;
            for (INT_PTR i = m_nCount - 1; i > nIndex; --i)
                node = node->pPrev;
        }
        return ToPos(node);
    }

protected:
    static POSITION ToPos(CNode* node) { return reinterpret_cast<POSITION>(node); }
    static CNode* FromPos(POSITION pos) {
        if (!pos || pos == BEFORE_START_POSITION)
            AfxThrowInvalidArgException();
        return reinterpret_cast<CNode*>(pos);
    }
    static CNode* Checked(CNode* node) {
        if (!node)
            AfxThrowInvalidArgException();
        return node;
    }
    // The element is copied before linking, so adding an element of this same list is safe.
    static CNode* NewNode(ARG_TYPE value) { return new CNode{nullptr, nullptr, TYPE(value)}; }
    POSITION Link(CNode* node, CNode* prev, CNode* next) {
        node->pPrev = prev;
        node->pNext = next;
        (prev ? prev->pNext : m_pNodeHead) = node;
        (next ? next->pPrev : m_pNodeTail) = node;
        ++m_nCount;
        return ToPos(node);
    }
    void FreeNode(CNode* node) {
        (node->pPrev ? node->pPrev->pNext : m_pNodeHead) = node->pNext;
        (node->pNext ? node->pNext->pPrev : m_pNodeTail) = node->pPrev;
        --m_nCount;
        delete node;
    }

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;
};
