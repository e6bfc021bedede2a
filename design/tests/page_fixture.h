// A design page built in memory, with box articles whose item is a transformable rectangle,
// and a plain view window standing in for the design view.
#pragma once
#include "design/design_page.h"
#include "pivora/framework/jox_view.h"
#include "pivora/grid.h"
#include "pivora/item.h"
#include "platform/tests/settings_sandbox.h"

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
    // Hit inside its device rectangle.
    int HitTestPoint(CItemHitTest* test) override;
    const CWindow& Box() const { return m_Box; }

private:
    CWindow m_Box;
};

class CTestDesignPage : public CDesignPage {
public:
    CTestDesignPage();
};

// A 400 x 300 view window whose zoom the test sets.
class CTestDesignWindow : public CJoxView {
public:
    // Data (0, 0) at client (x, y); one pixel is perPixel data units.
    void Place(int perPixel, int x, int y);
    // Commands sent to the window, in order.
    std::vector<UINT> commands;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
};

class PageTest : public ::testing::Test {
protected:
    PageTest();
    ~PageTest() override;
    // The page's view, made on first use and placed with 1000 data units per pixel, data
    // (0, 0) at client (200, 150).
    CTestDesignWindow* View();
    // A box article appended to parent (the active root when null).
    CArticle* AddBox(const CWindow& box, CArticle* parent = nullptr, const wchar_t* name = L"");
    static CWindow BoxOf(CArticle* a);
    // Names of the root's children in order.
    std::vector<std::wstring> ChildNames(CArticle* parent = nullptr);

    SettingsSandbox m_box;
    CTestDesignPage m_page;
    CTestDesignWindow* m_pView = nullptr;
};
