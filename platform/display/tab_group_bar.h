// One group of MDI tabs (the tab control model of the main frame) as a Qt tab bar: closable,
// movable tabs, tabs dragged into another group's column, and a menu to open a new tab group or
// move a tab to the next one. The bar mirrors the model; what the person does goes back to the
// model at the next safe point.
#pragma once

#include "platform/windowing/window.h"

#include <QTabBar>

class CMFCTabCtrl;

namespace platform::display {

class TabGroupBar : public QTabBar {
public:
    TabGroupBar(HWND hwnd, QWidget* parent);

    // The tab control model behind a window, or null.
    static CMFCTabCtrl* ModelOf(HWND hwnd);
    // Model to bar: labels, order and the active tab.
    void SyncFromModel();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ShowGroupMenu(const QPoint& at);
    // The bar of the group whose column holds the point (screen coordinates), null outside
    // the frame's client area; *index: the tab under the point, -1 past the tabs.
    TabGroupBar* GroupAt(const QPoint& global, int* index) const;

    HWND m_hwnd;
    bool m_syncing = false;
    HWND m_dragged = nullptr; // the child whose tab is held down
};

} // namespace platform::display
