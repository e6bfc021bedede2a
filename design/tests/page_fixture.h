// A design page built in memory, with box articles whose item is a transformable rectangle.
#pragma once
#include "design/design_page.h"
#include "pivora/grid.h"
#include "pivora/item.h"

#include <gtest/gtest.h>

// A rectangle item: enough geometry to transform, copy and measure.
class CBoxItem : public CItem {
    DECLARE_DYNCREATE(CBoxItem)
public:
    CBoxItem() { SetDefaultXformProperties(); }
    explicit CBoxItem(const CWindow& box) : m_Box(box) { SetDefaultXformProperties(); }
    void DoTransform(CMat2d& m) override;
    CObject* CopyObject(CObject* obj) override;
    CWindow RecalcExtents() override { return m_Box; }
    const CWindow& Box() const { return m_Box; }

private:
    CWindow m_Box;
};

class CTestDesignPage : public CDesignPage {
public:
    CTestDesignPage();
};

class PageTest : public ::testing::Test {
protected:
    PageTest();
    // A box article appended to parent (the active root when null).
    CArticle* AddBox(const CWindow& box, CArticle* parent = nullptr, const wchar_t* name = L"");
    static CWindow BoxOf(CArticle* a);
    // Names of the root's children in order.
    std::vector<std::wstring> ChildNames(CArticle* parent = nullptr);

    CTestDesignPage m_page;
};
