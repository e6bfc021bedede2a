// CTree: a node of the design tree. A parent owns its row of children; siblings do not own
// each other. Only the first-child and right-sibling links are stored; the others are rebuilt
// after loading (BuildLinks). A parent also knows its last child, so appending to a long row
// costs the same as appending to a short one.
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/object.h"

#include <cstdint>

class CTree : public CObject {
    DECLARE_SERIAL(CTree)
public:
    // Traverse callback results.
    enum { TraverseContinue = 0, TraverseStop = 1, TraverseSkipChildren = 2 };

    CTree();
    ~CTree() override;
    CTree(const CTree&) = delete;
    CTree& operator=(const CTree&) = delete;

    virtual void Detach();
    virtual bool IsChildOf(CTree* t);
    virtual bool IsParentOf(CTree* t);
    virtual void AddChild(CTree* p);
    virtual void Add1stChild(CTree* p);
    virtual void AddLsibling(CTree* p);
    virtual void AddRsibling(CTree* p);
    virtual void InsertLsibling(CTree* p);
    virtual void InsertRsibling(CTree* p);
    // Pre-order walk; the callback returns 1 to stop (the walk then returns 1), 2 to skip the
    // node's children, 0 to go on.
    virtual int Traverse(int (*fn)(CTree*, void*), int skipSelf, void* data);
    virtual CObject* CopyObject(CObject* obj);
    virtual CTree* CopyTreeObject();
    virtual CString InfoStr(unsigned int flags);
    void Serialize(CArchive& ar) override;
    void DeleteAfterFailedLoad() override;

    CTree* Leftmost();
    CTree* Rightmost();
    CTree* Top();
    // Rebuilds the parent and left-sibling links below and to the right of this node.
    void BuildLinks();
    // Deletes a node and every node to its right: a row that has no parent to own it (a row
    // of roots, or one just loaded).
    static void DeleteRow(CTree* first);
    // How many nodes have been freed so far: a holder of a bare pointer that saw its node alive
    // at one count may follow its links while the count has not moved.
    static uint64_t FreedCount();

    CTree* GetParent() const { return m_pParent; }
    CTree* GetFirstChild() const { return m_pFirstChild; }
    CTree* GetLastChild() const { return m_pLastChild; }
    CTree* GetLsibling() const { return m_pLsibling; }
    CTree* GetRsibling() const { return m_pRsibling; }

protected:
    CTree* m_pParent = nullptr;
    CTree* m_pFirstChild = nullptr;
    CTree* m_pLsibling = nullptr;
    CTree* m_pRsibling = nullptr;

private:
    // Kept by every link edit here; the end of m_pFirstChild's row, or null without children.
    CTree* m_pLastChild = nullptr;

    // True when p may be linked next to or below this node: not the node itself, not already
    // below it, and not one of its ancestors (which would make a cycle).
    bool CanLink(CTree* p);
    void StoreLinks(CArchive& ar);
    void LoadLinks(CArchive& ar);

    // Set while a sibling row is serialized without recursion: the links part of this node
    // has been handled by the row's head.
    bool m_bLinksDone = false;
};
