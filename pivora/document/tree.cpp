#include "pivora/tree.h"
#include "pivora/scope_guard.h"

#include "platform/core/archive.h"

#include <atomic>
#include <vector>

IMPLEMENT_SERIAL(CTree, CObject, 0)

namespace {

std::atomic<uint64_t> g_freedNodes{0};

} // namespace

uint64_t CTree::FreedCount() {
    return g_freedNodes.load(std::memory_order_relaxed);
}

CTree::CTree() = default;

CTree::~CTree() {
    g_freedNodes.fetch_add(1, std::memory_order_relaxed);
    CTree::Detach();
    // Children are unlinked one by one along the row, so a row whose parent links are not
    // built yet (a load that failed half-way) is freed as well.
    while (m_pFirstChild) {
        CTree* child = m_pFirstChild;
        m_pFirstChild = child->m_pRsibling;
        if (m_pFirstChild)
            m_pFirstChild->m_pLsibling = nullptr;
        child->m_pParent = child->m_pLsibling = child->m_pRsibling = nullptr;
        delete child;
    }
    m_pLastChild = nullptr;
}

void CTree::Detach() {
    if (m_pParent && m_pParent->m_pFirstChild == this)
        m_pParent->m_pFirstChild = m_pRsibling;
    if (m_pParent && m_pParent->m_pLastChild == this)
        m_pParent->m_pLastChild = m_pLsibling;
    if (m_pLsibling)
        m_pLsibling->m_pRsibling = m_pRsibling;
    if (m_pRsibling)
        m_pRsibling->m_pLsibling = m_pLsibling;
    m_pParent = m_pLsibling = m_pRsibling = nullptr;
}

bool CTree::IsChildOf(CTree* t) {
    for (CTree* p = m_pParent; p; p = p->m_pParent)
        if (p == t)
            return true;
    return false;
}

bool CTree::IsParentOf(CTree* t) {
    return t && t != this && t->IsChildOf(this);
}

bool CTree::CanLink(CTree* p) {
    return p && p != this && !p->IsChildOf(this) && !IsChildOf(p);
}

void CTree::AddChild(CTree* p) {
    if (!CanLink(p))
        return;
    if (m_pFirstChild) {
        m_pFirstChild->AddRsibling(p);
        return;
    }
    p->Detach();
    p->m_pParent = this;
    m_pFirstChild = m_pLastChild = p;
}

void CTree::Add1stChild(CTree* p) {
    if (!CanLink(p))
        return;
    if (m_pFirstChild) {
        m_pFirstChild->AddLsibling(p);
        return;
    }
    p->Detach();
    p->m_pParent = this;
    m_pFirstChild = m_pLastChild = p;
}

void CTree::AddLsibling(CTree* p) {
    if (!CanLink(p))
        return;
    p->Detach();
    CTree* first = Leftmost();
    p->m_pRsibling = first;
    first->m_pLsibling = p;
    p->m_pParent = m_pParent;
    if (m_pParent)
        m_pParent->m_pFirstChild = p;
}

void CTree::AddRsibling(CTree* p) {
    if (!CanLink(p))
        return;
    p->Detach();
    // A row of roots has no parent to remember its end.
    CTree* last = m_pParent ? m_pParent->m_pLastChild : Rightmost();
    last->m_pRsibling = p;
    p->m_pLsibling = last;
    p->m_pParent = m_pParent;
    if (m_pParent)
        m_pParent->m_pLastChild = p;
}

void CTree::InsertLsibling(CTree* p) {
    if (!CanLink(p))
        return;
    p->Detach();
    p->m_pLsibling = m_pLsibling;
    if (m_pLsibling)
        m_pLsibling->m_pRsibling = p;
    p->m_pRsibling = this;
    m_pLsibling = p;
    if (!p->m_pLsibling && m_pParent)
        m_pParent->m_pFirstChild = p;
    p->m_pParent = m_pParent;
}

void CTree::InsertRsibling(CTree* p) {
    if (!CanLink(p))
        return;
    p->Detach();
    p->m_pRsibling = m_pRsibling;
    if (m_pRsibling)
        m_pRsibling->m_pLsibling = p;
    p->m_pLsibling = this;
    m_pRsibling = p;
    p->m_pParent = m_pParent;
    if (m_pParent && m_pParent->m_pLastChild == this)
        m_pParent->m_pLastChild = p;
}

CTree* CTree::Leftmost() {
    CTree* t = this;
    while (t->m_pLsibling)
        t = t->m_pLsibling;
    return t;
}

CTree* CTree::Rightmost() {
    CTree* t = this;
    while (t->m_pRsibling)
        t = t->m_pRsibling;
    return t;
}

CTree* CTree::Top() {
    CTree* t = this;
    while (t->m_pParent)
        t = t->m_pParent;
    return t;
}

int CTree::Traverse(int (*fn)(CTree*, void*), int skipSelf, void* data) {
    if (!skipSelf) {
        int r = fn(this, data);
        if (r == TraverseStop)
            return 1;
        if (r == TraverseSkipChildren)
            return 0;
    }
    for (CTree* child = m_pFirstChild; child; child = child->m_pRsibling) {
        int r = child->Traverse(fn, 0, data);
        if (r == TraverseStop)
            return 1;
        if (r == TraverseSkipChildren)
            break;
    }
    return 0;
}

CObject* CTree::CopyObject(CObject* obj) {
    return obj ? obj : new CTree;
}

CTree* CTree::CopyTreeObject() {
    CTree* copy = static_cast<CTree*>(CopyObject(nullptr));
    CTree* last = nullptr;
    // Appending after the last copy keeps a long row linear.
    for (CTree* child = m_pFirstChild; child; child = child->m_pRsibling) {
        CTree* c = child->CopyTreeObject();
        if (last)
            last->InsertRsibling(c);
        else
            copy->AddChild(c);
        last = c;
    }
    return copy;
}

CString CTree::InfoStr(unsigned int) {
    return CString(GetRuntimeClass()->m_lpszClassName);
}

void CTree::BuildLinks() {
    // Rows are walked in a loop and only depth uses the explicit stack, so a row of
    // thousands of imported paths needs no deep recursion.
    std::vector<CTree*> heads{this};
    while (!heads.empty()) {
        CTree* head = heads.back();
        heads.pop_back();
        for (CTree* node = head; node; node = node->m_pRsibling) {
            node->m_pLastChild = nullptr;
            if (node->m_pFirstChild) {
                node->m_pFirstChild->m_pParent = node;
                heads.push_back(node->m_pFirstChild);
            }
            if (node->m_pRsibling) {
                node->m_pRsibling->m_pLsibling = node;
                node->m_pRsibling->m_pParent = node->m_pParent;
            } else if (node->m_pParent) {
                node->m_pParent->m_pLastChild = node;
            }
        }
    }
}

void CTree::DeleteRow(CTree* first) {
    while (first) {
        CTree* next = first->m_pRsibling;
        first->Detach();
        delete first;
        first = next;
    }
}

void CTree::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (m_bLinksDone) {
        m_bLinksDone = false;
        return;
    }
    if (ar.IsStoring())
        StoreLinks(ar);
    else
        LoadLinks(ar);
}

// The stream form is recursive (each node holds its first child, then its right sibling,
// then its own group), but a sibling row is written and read in a loop: the row's headers and
// first children first, then each sibling's own part from the last back to the first, which
// gives the same bytes without one stack frame per sibling.
void CTree::StoreLinks(CArchive& ar) {
    ar.WriteObject(m_pFirstChild);
    std::vector<CTree*> row;
    for (CTree* s = m_pRsibling;; s = s->m_pRsibling) {
        if (!ar.WriteObjectHeader(s))
            break;
        ar.WriteObject(s->m_pFirstChild);
        row.push_back(s);
    }
    CScopeGuard onFailure([&] {
        for (CTree* s : row)
            s->m_bLinksDone = false;
    });
    for (auto it = row.rbegin(); it != row.rend(); ++it) {
        (*it)->m_bLinksDone = true;
        (*it)->Serialize(ar);
    }
    onFailure.Dismiss();
}

void CTree::LoadLinks(CArchive& ar) {
    CTree* child = ar.ReadObjectAs<CTree>();
    m_pFirstChild = child;
    // The child's own load read its whole row.
    m_pLastChild = child ? child->Rightmost() : nullptr;
    if (child)
        child->m_pParent = this;

    std::vector<CTree*> row;
    CScopeGuard onFailure([&] {
        m_pRsibling = nullptr;
        for (CTree* s : row) {
            s->m_pParent = s->m_pLsibling = s->m_pRsibling = nullptr;
            s->m_bLinksDone = false;
            delete s;
        }
    });
    CTree* prev = this;
    for (;;) {
        CTree* s = static_cast<CTree*>(ar.ReadObjectHeader(CTree::GetThisClass()));
        if (!s)
            break;
        prev->m_pRsibling = s;
        s->m_pLsibling = prev;
        s->m_pParent = m_pParent;
        row.push_back(s);
        prev = s;
        CTree* sc = ar.ReadObjectAs<CTree>();
        s->m_pFirstChild = sc;
        s->m_pLastChild = sc ? sc->Rightmost() : nullptr;
        if (sc)
            sc->m_pParent = s;
    }
    for (auto it = row.rbegin(); it != row.rend(); ++it) {
        (*it)->m_bLinksDone = true;
        (*it)->Serialize(ar);
    }
    onFailure.Dismiss();
}

void CTree::DeleteAfterFailedLoad() {
    // A node whose own part failed after its right siblings loaded still holds that row,
    // which nobody else owns yet.
    CTree* s = m_pRsibling;
    m_pRsibling = nullptr;
    while (s) {
        CTree* next = s->m_pRsibling;
        s->m_pParent = s->m_pLsibling = s->m_pRsibling = nullptr;
        delete s;
        s = next;
    }
    delete this;
}
