// Small article trees for the document tests: a box item with real extents and transforms.
// The store-and-load helpers come with them (archive_round_trip.h).
#pragma once

#include "pivora/article.h"
#include "pivora/item.h"

#include "archive_round_trip.h"
#include "platform/core/archive.h"

#include <memory>
#include <vector>

// An item whose geometry is one rectangle; it stores the rectangle in a group of its own.
class CBoxItem : public CItem {
    DECLARE_SERIAL(CBoxItem)
public:
    CBoxItem() = default;
    explicit CBoxItem(const CWindow& box) : m_Box(box) {}

    void DoTransform(CMat2d& m) override;
    CObject* CopyObject(CObject* obj) override;
    void Serialize(CArchive& ar) override;

    CWindow m_Box;
    int m_nTransforms = 0;

protected:
    CWindow RecalcExtents() override { return m_Box; }
};

// An article with a box item (or none when box is null) and a name.
CArticle* MakeBoxArticle(const wchar_t* name, const CWindow* box);

// Deletes a parentless row of articles, as the page does with its roots.
void DeleteArticleRow(CTree* first);
struct ArticleRowDeleter {
    void operator()(CTree* t) const { DeleteArticleRow(t); }
};
using ArticleRowPtr = std::unique_ptr<CArticle, ArticleRowDeleter>;

// A root with nested articles, box items, named values and transform effects.
CArticle* MakeSampleTree();
