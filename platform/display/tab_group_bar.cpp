#include "platform/display/tab_group_bar.h"

#include "platform/display/presenter.h"
#include "platform/framework/mdi_frame_wnd_ex.h"
#include "platform/framework/tab_tooltip.h"
#include "platform/windowing/message.h"

#include <QMenu>
#include <QMouseEvent>

namespace platform::display {

namespace {

CMDIFrameWndEx* FrameOf(HWND tabs) {
    // The tab control lives in the frame's client area.
    HWND client = GetParent(tabs);
    return dynamic_cast<CMDIFrameWndEx*>(CWnd::FromHandlePermanent(GetParent(client)));
}

} // namespace

TabGroupBar::TabGroupBar(HWND hwnd, QWidget* parent) : QTabBar(parent), m_hwnd(hwnd) {
    setTabsClosable(true);
    setMovable(true);
    setExpanding(false);
    setDocumentMode(true);
    setUsesScrollButtons(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    // Tabs pick the window; the keyboard stays with the window's view.
    setFocusPolicy(Qt::NoFocus);
    HWND h = hwnd;
    connect(this, &QTabBar::currentChanged, this, [this, h](int index) {
        if (m_syncing || index < 0)
            return;
        Presenter::Instance()->Defer([h, index] {
            if (CMFCTabCtrl* tabs = ModelOf(h))
                tabs->SetActiveTab(index);
        });
    });
    connect(this, &QTabBar::tabMoved, this, [this, h](int from, int to) {
        if (m_syncing)
            return;
        Presenter::Instance()->Defer([h, from, to] {
            if (CMFCTabCtrl* tabs = ModelOf(h))
                tabs->MoveTab(from, to);
        });
    });
    connect(this, &QTabBar::tabCloseRequested, this, [h](int index) {
        // The design window decides: it may ask to save first.
        if (CMFCTabCtrl* tabs = ModelOf(h))
            if (HWND child = tabs->GetTabHwnd(index))
                PostMessageW(child, WM_CLOSE, 0, 0);
    });
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { ShowGroupMenu(at); });
}

CMFCTabCtrl* TabGroupBar::ModelOf(HWND hwnd) {
    return IsWindow(hwnd) ? dynamic_cast<CMFCTabCtrl*>(CWnd::FromHandlePermanent(hwnd)) : nullptr;
}

void TabGroupBar::SyncFromModel() {
    CMFCTabCtrl* tabs = ModelOf(m_hwnd);
    if (!tabs)
        return;
    m_syncing = true;
    const int n = tabs->GetTabsNum();
    while (count() > n)
        removeTab(count() - 1);
    for (int i = 0; i < n; ++i) {
        CString label;
        tabs->GetTabLabel(i, label);
        QString text = QString::fromWCharArray(label.GetString(), label.GetLength());
        if (i >= count())
            addTab(text);
        else if (tabText(i) != text)
            setTabText(i, text);
        // The frame that holds the group says what the tab's tooltip is.
        HWND top = m_hwnd;
        while (top && (GetWindowLongPtrW(top, GWL_STYLE) & WS_CHILD))
            top = GetParent(top);
        TabToolTipRequest tip{m_hwnd, i, {}};
        if (top)
            SendMessageW(top, WM_GET_TAB_TOOLTIP, 0, reinterpret_cast<LPARAM>(&tip));
        const QString tipText = QString::fromWCharArray(tip.text.GetString(), tip.text.GetLength());
        if (tabToolTip(i) != tipText)
            setTabToolTip(i, tipText);
    }
    if (tabs->GetActiveTab() != currentIndex())
        setCurrentIndex(tabs->GetActiveTab());
    m_syncing = false;
}

TabGroupBar* TabGroupBar::GroupAt(const QPoint& global, int* index) const {
    *index = -1;
    QWidget* area = parentWidget();
    if (!area)
        return nullptr;
    const QPoint p = area->mapFromGlobal(global);
    if (!area->rect().contains(p))
        return nullptr;
    // Groups stand side by side, each bar as wide as its column.
    for (TabGroupBar* bar : area->findChildren<TabGroupBar*>(Qt::FindDirectChildrenOnly)) {
        const QRect g = bar->geometry();
        if (!bar->isVisible() || p.x() < g.left() || p.x() > g.right())
            continue;
        if (g.contains(p))
            *index = bar->tabAt(bar->mapFrom(area, p));
        return bar;
    }
    return nullptr;
}

void TabGroupBar::mousePressEvent(QMouseEvent* event) {
    m_dragged = nullptr;
    if (event->button() == Qt::LeftButton)
        if (CMFCTabCtrl* tabs = ModelOf(m_hwnd))
            m_dragged = tabs->GetTabHwnd(tabAt(event->position().toPoint()));
    QTabBar::mousePressEvent(event);
}

void TabGroupBar::mouseMoveEvent(QMouseEvent* event) {
    QTabBar::mouseMoveEvent(event);
    if (!m_dragged || !(event->buttons() & Qt::LeftButton))
        return;
    int index;
    TabGroupBar* over = GroupAt(event->globalPosition().toPoint(), &index);
    if (over && over != this)
        setCursor(Qt::DragMoveCursor);
    else
        unsetCursor();
}

void TabGroupBar::mouseReleaseEvent(QMouseEvent* event) {
    QTabBar::mouseReleaseEvent(event);
    HWND child = m_dragged;
    m_dragged = nullptr;
    unsetCursor();
    if (!child || event->button() != Qt::LeftButton)
        return;
    int index;
    TabGroupBar* over = GroupAt(event->globalPosition().toPoint(), &index);
    if (!over || over == this)
        return;
    // Dropped in another group's column: the tab joins that group, where it was let go on the
    // tab strip, else at its end.
    HWND to = over->m_hwnd;
    Presenter::Instance()->Defer([child, to, index] {
        CMFCTabCtrl* group = ModelOf(to);
        CMDIFrameWndEx* frame = FrameOf(to);
        CWnd* wnd = IsWindow(child) ? CWnd::FromHandlePermanent(child) : nullptr;
        if (!group || !frame || !wnd || !frame->MoveToTabGroup(wnd, group))
            return;
        const int at = group->GetTabFromHwnd(child);
        if (index >= 0 && at >= 0 && index < group->GetTabsNum() && index != at)
            group->MoveTab(at, index);
    });
}

void TabGroupBar::ShowGroupMenu(const QPoint& at) {
    int index = tabAt(at);
    if (index < 0)
        return;
    HWND h = m_hwnd;
    CMDIFrameWndEx* frame = FrameOf(h);
    const QPoint global = mapToGlobal(at);
    // The frame's own tab menu, when it has one, stands in for the group menu.
    if (frame && frame->ShowTabContextMenu(ModelOf(h), index, POINT{global.x(), global.y()}))
        return;
    QMenu menu(this);
    QAction* newGroup = menu.addAction(QStringLiteral("New Vertical Tab Group"));
    QAction* next = menu.addAction(QStringLiteral("Move to Next Tab Group"));
    newGroup->setEnabled(frame && count() > 1);
    next->setEnabled(frame && frame->GetTabGroupCount() > 1);
    QAction* chosen = menu.exec(global);
    if (!chosen)
        return;
    bool makeGroup = chosen == newGroup;
    Presenter::Instance()->Defer([h, index, makeGroup] {
        CMFCTabCtrl* tabs = ModelOf(h);
        CMDIFrameWndEx* f = FrameOf(h);
        if (!tabs || !f || !tabs->GetTabWnd(index))
            return;
        tabs->SetActiveTab(index);
        if (makeGroup)
            f->MDITabNewGroup();
        else
            f->MoveToTabGroup(tabs->GetTabWnd(index), nullptr);
    });
}

} // namespace platform::display
