// CSelect: one entry of a selection, an article and what of it is selected. The entry does not
// own the article and must not outlive it.
#pragma once

#include "pivora/geometry/geometry_types.h"
#include "platform/core/object.h"

class CArticle;

class CSelect : public CObject {
    DECLARE_SERIAL(CSelect)
public:
    // Select modes: the article as a whole (1 or 3) or its item (2).
    static constexpr int kSelectArticle = 1;
    static constexpr int kSelectItem = 2;
    static constexpr int kSelectArticleToo = 3;

    CSelect(CArticle* article, int mode) : m_pArticle(article), m_nSelectMode(mode) {}
    ~CSelect() override;
    CSelect(const CSelect&) = delete;
    CSelect& operator=(const CSelect&) = delete;

    CArticle* Article() const { return m_pArticle; }
    int SelectMode() const { return m_nSelectMode; }
    // The selected part's extents; any other mode, or an item entry without an item, leaves w
    // unchanged.
    void GetExtents(CWindow& w) const;
    // The article in object-reference form, then the mode as u32; no tagged group.
    void Serialize(CArchive& ar) override;

protected:
    CSelect() = default;

private:
    CArticle* m_pArticle = nullptr;
    int m_nSelectMode = 0;
    // Set when a load created the article itself rather than referring to one read before:
    // nobody else holds it, so the entry frees it.
    bool m_bOwnsLoadedArticle = false;
};
