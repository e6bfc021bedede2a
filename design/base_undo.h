// CBaseUndo: one record of the design page's undo and redo stacks. A plain record with the
// marker code opens a transaction; the other records know how to reverse their change on the
// page (DoUndo) and how to make the record that reverses the reversal (CreateRedo).
#pragma once
#include "platform/core/object.h"

class CArticle;
class CDesignPage;

class CBaseUndo : public CObject {
    DECLARE_DYNAMIC(CBaseUndo)
public:
    // Operation codes.
    static constexpr int kNone = -1;
    static constexpr int kMarker = 11000;
    static constexpr int kTransform = 11001;
    static constexpr int kDeleted = 11002;
    static constexpr int kReordered = 11003;
    static constexpr int kAdded = 11004;
    static constexpr int kEdited = 11005;
    static constexpr int kItemDeleted = 11006;
    static constexpr int kBackground = 11007;
    static constexpr int kDesignSize = 21001;
    static constexpr int kDesignOrigin = 21002;

    CBaseUndo() = default;
    explicit CBaseUndo(int operation) : m_nOperation(operation) {}
    CBaseUndo(const CBaseUndo&) = delete;
    CBaseUndo& operator=(const CBaseUndo&) = delete;

    void SetOperation(int operation) { m_nOperation = operation; }
    int GetOperation() const { return m_nOperation; }
    int IsMarker() const {
        return m_nOperation == kMarker && GetRuntimeClass() == RUNTIME_CLASS(CBaseUndo);
    }

    virtual void DoUndo(CDesignPage* page);
    // A new record with the same code.
    virtual CBaseUndo* CreateRedo(CDesignPage* page);
    // The article the record acts on in the page's tree, or null when it acts on none there
    // (a deleted article the record owns, a guide, the page extents). The undo road applies a
    // record only while this article is still in the active tree.
    virtual CArticle* TreeArticle() const { return nullptr; }
    // Forgets the article of a record that is skipped.
    virtual void ForgetArticle() {}

private:
    int m_nOperation = kNone;
};
