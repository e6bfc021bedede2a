// A base view on a page for the view, grid and article tests: a 400 x 300 window whose zoom
// and scroll state the test sets directly.
#pragma once

#include "pivora/framework/jox_view.h"
#include "pivora/tests/design_fixture.h"
#include "platform/graphics/surface.h"
#include "platform/windowing/message.h"

class CTestView : public CJoxView {
public:
    // Scale: viewport / window, y up on screen.
    void SetZoom(CSize window, CSize viewport) {
        m_sizeWindow = window;
        m_sizeViewport = viewport;
    }
    void SetPositions(int x, int y) {
        m_nHPos = x;
        m_nVPos = y;
        m_bCentred = 0;
    }
    // Draws grid, design and guides the way a design view does.
    void OnDraw(CJoxDC* dc) override;
    int OnMouseMove(UINT, CPoint) override {
        ++mouseMoves;
        return 0;
    }
    int mouseMoves = 0;
};

// A box item that counts its draws and is hit inside its device rectangle.
class CHitBoxItem : public CBoxTestItem {
public:
    explicit CHitBoxItem(const CWindow& box) : CBoxTestItem(box) {}
    // Counts, and outlines the box.
    void OnDraw(CJoxView* view, CJoxDC* dc) override;
    int HitTestPoint(CItemHitTest* test) override;
    int draws = 0;
};

// Adds an article with a CHitBoxItem below parent.
CArticle* AddHitBox(CArticle* parent, const CWindow& box);

class ViewTest : public DesignTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Maps data (0, 0) to client (x, y) at scale viewport / window.
    void Place(CSize window, CSize viewport, int x, int y);

    std::unique_ptr<CJoxPage> page;
    CTestView* view = nullptr;
};
