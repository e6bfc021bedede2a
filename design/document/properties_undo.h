// CPropertiesUndo: an article's property bits, its item's, and its named values as they were.
#pragma once
#include "design/base_undo.h"
#include "platform/core/string_array.h"
#include "platform/core/types.h"

class CPropertiesUndo : public CBaseUndo {
    DECLARE_DYNAMIC(CPropertiesUndo)
public:
    CPropertiesUndo() = default;
    // Takes the bits and a copy of every named value.
    void SetArticle(CArticle* article);
    void SetRecurse(int recurse) { m_nRecurse = recurse; }
    void SetRedraw(int redraw) { m_nRedraw = redraw; }
    CArticle* GetArticle() const { return m_pArticle; }
    void DoUndo(CDesignPage* page) override;
    CBaseUndo* CreateRedo(CDesignPage* page) override;
    CArticle* TreeArticle() const override { return m_pArticle; }
    void ForgetArticle() override { m_pArticle = nullptr; }

private:
    CArticle* m_pArticle = nullptr;
    DWORD m_dwArticleProperties = 0;
    DWORD m_dwItemProperties = 0;
    int m_nRecurse = 0;
    int m_nRedraw = 1;
    CStringArray m_Effects;
};
