// One group of MDI tabs (the tab control model of the main frame) as a Qt tab bar: closable,
// movable tabs, and a menu to open a new tab group or move a tab to the next one. The bar
// mirrors the model; what the person does goes back to the model at the next safe point.
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

private:
    void ShowGroupMenu(const QPoint& at);

    HWND m_hwnd;
    bool m_syncing = false;
};

} // namespace platform::display
