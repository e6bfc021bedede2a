// CUndo: the record of one article change (transformed, deleted, moved in the drawing order,
// added, edited, its item deleted) or of the view background colour.
#pragma once
#include "design/base_undo.h"
#include "platform/core/types.h"

class CMat2d;

class CUndo : public CBaseUndo {
    DECLARE_DYNCREATE(CUndo)
public:
    CUndo() = default;
    explicit CUndo(int operation) : CBaseUndo(operation) {}
    ~CUndo() override;

    // Keeps the article, its property bits and its item's, its parent and next sibling, and
    // with copy a deep copy of it. A null article forgets the article, parent and sibling.
    void SetArticle(CArticle* article, int copy);
    void SetTransform(const CMat2d& m);
    void SetRecurse(int recurse) { m_nRecurse = recurse; }
    int GetRecurse() const { return m_nRecurse; }
    CArticle* GetArticle() const { return m_pArticle; }
    DWORD GetArticleProperties() const { return m_dwArticleProperties; }
    void SetBackground(DWORD colour, int on) {
        m_dwBackColour = colour;
        m_bBackColourOn = on;
    }
    // Deletes the linked record when free is set; clears the link.
    void ClearRedo(int free);

    void InvalidateBefore(CDesignPage* page);
    void InvalidateAfter(CDesignPage* page);

    void DoUndo(CDesignPage* page) override;
    CBaseUndo* CreateRedo(CDesignPage* page) override;
    CArticle* TreeArticle() const override;
    void ForgetArticle() override { SetArticle(nullptr, 0); }

    // A new article of the same class holding a copy of a's item and fields (not its children).
    static CArticle* DeepCopy(CArticle* a);

protected:
    void Reinsert(CDesignPage* page);

    CBaseUndo* m_pLinked = nullptr;
    CArticle* m_pArticle = nullptr;
    DWORD m_dwArticleProperties = 0;
    DWORD m_dwItemProperties = 0;
    CArticle* m_pCopy = nullptr;
    CMat2d* m_pTransform = nullptr;
    int m_nRecurse = 0;
    CArticle* m_pParent = nullptr;
    CArticle* m_pNext = nullptr;
    DWORD m_dwBackColour = 0;
    int m_bBackColourOn = 0;
};
