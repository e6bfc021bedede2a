// The tools' test host: the design window host with a page of 100 x 100 mm fitted into the
// view, box articles to select, and the pointer and key steps the tools react to.
#pragma once

#include "design/select_tool.h"
#include "design/tests/design_host.h"
#include "pivora/item.h"

#include <utility>
#include <vector>

// A box item: a rectangle that transforms, copies and answers hit tests.
class CToolBoxItem : public CItem {
    DECLARE_DYNCREATE(CToolBoxItem)
public:
    CToolBoxItem() { SetDefaultXformProperties(); }
    explicit CToolBoxItem(const CWindow& box) : m_Box(box) { SetDefaultXformProperties(); }
    void DoTransform(CMat2d& m) override;
    CObject* CopyObject(CObject* obj) override;
    int HitTestPoint(CItemHitTest* test) override;
    // Its outline, through the context's mapping.
    void OnDraw(CJoxView* view, CJoxDC* dc) override;
    CWindow RecalcExtents() override { return m_Box; }
    const CWindow& Box() const { return m_Box; }

private:
    CWindow m_Box;
};

class ToolHost : public DesignHost {
protected:
    void SetUp() override;
    void TearDown() override;

    CArticle* Box(const CWindow& w, CArticle* parent = nullptr);
    // A closed rectangular path (a curve item made by class name); null when the curve
    // library is not linked.
    CArticle* Path(const CWindow& w);
    static std::vector<CLpoint> PointsOf(CArticle* a);
    static CWindow BoxOf(CArticle* a);
    CPoint Client(LONG x, LONG y);
    CPoint Centre(CArticle* a);
    void Click(CPoint p, UINT flags = 0);
    // Press, hold past the drag wait, move, release.
    void Drag(CPoint from, CPoint to, UINT flags = 0);
    void Key(UINT vk, bool up = false, bool repeat = false);
    std::vector<std::pair<CArticle*, int>> Selection();
};

// The host with the page's default tool, the select tool, current.
class SelectToolHost : public ToolHost {
protected:
    void SetUp() override {
        ToolHost::SetUp();
        select = dynamic_cast<CSelectTool*>(page->GetDesignTool());
        ASSERT_NE(select, nullptr);
    }

    CSelectTool* select = nullptr;
};
