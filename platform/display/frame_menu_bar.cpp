#include "platform/display/frame_menu_bar.h"

#include "platform/framework/frame_wnd.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/menu_bar_messages.h"
#include "platform/windowing/menu_hidden.h"
#include "platform/windowing/message.h"

#include <QMenu>
#include <QMouseEvent>
#include <QShortcutEvent>

#include <vector>

namespace platform::display {

namespace {

QString ItemText(HMENU menu, int pos) {
    wchar_t buffer[256] = {};
    GetMenuStringW(menu, UINT(pos), buffer, 256, MF_BYPOSITION);
    // The platform separates the shortcut with a tab; Qt shows the same form.
    return QString::fromWCharArray(buffer);
}

// Applies the model's enabled, checked and hidden states to the actions of one menu level.
void Refresh(QMenu* into, HMENU menu) {
    const QList<QAction*> actions = into->actions();
    int n = GetMenuItemCount(menu);
    for (int pos = 0; pos < n && pos < actions.size(); ++pos) {
        UINT state = GetMenuState(menu, UINT(pos), MF_BYPOSITION);
        if (state == 0xFFFFFFFF)
            continue;
        QAction* a = actions[pos];
        a->setVisible(!IsMenuItemHidden(menu, UINT(pos), MF_BYPOSITION));
        a->setEnabled(!(state & (MF_GRAYED | MF_DISABLED)));
        if (!(state & MF_POPUP) && !(state & MF_SEPARATOR)) {
            a->setCheckable((state & MF_CHECKED) != 0 || a->isCheckable());
            a->setChecked((state & MF_CHECKED) != 0);
        }
    }
}

// Whether the model's items are still the ones the actions show: the init message may have
// replaced some (the recent files in place of their placeholder).
bool SameItems(QMenu* into, HMENU menu) {
    const QList<QAction*> actions = into->actions();
    const int n = GetMenuItemCount(menu);
    if (n != actions.size())
        return false;
    for (int pos = 0; pos < n; ++pos) {
        const UINT state = GetMenuState(menu, UINT(pos), MF_BYPOSITION);
        const QAction* a = actions[pos];
        if (bool(state & MF_SEPARATOR) != a->isSeparator() ||
            bool(state & MF_POPUP) != (a->menu() != nullptr))
            return false;
        if (a->isSeparator())
            continue;
        if (a->text() != ItemText(menu, pos))
            return false;
        if (!(state & MF_POPUP) && a->data().toUInt() != GetMenuItemID(menu, pos))
            return false;
    }
    return true;
}

} // namespace

FrameMenuBar::FrameMenuBar(HWND frame, QWidget* parent) : QMenuBar(parent), m_frame(frame) {
    setNativeMenuBar(false);
}

void FrameMenuBar::Rebuild() {
    clear();
    m_menu = GetMenu(m_frame);
    if (!m_menu)
        return;
    int n = GetMenuItemCount(m_menu);
    for (int pos = 0; pos < n; ++pos) {
        UINT state = GetMenuState(m_menu, UINT(pos), MF_BYPOSITION);
        if (state & MF_SEPARATOR)
            continue;
        if (state & MF_POPUP) {
            QMenu* sub = addMenu(ItemText(m_menu, pos));
            Fill(sub, GetSubMenu(m_menu, pos), m_frame, true);
            sub->menuAction()->setEnabled(!(state & (MF_GRAYED | MF_DISABLED)));
        } else {
            QAction* a = addAction(ItemText(m_menu, pos));
            UINT id = GetMenuItemID(m_menu, pos);
            HWND frame = m_frame;
            connect(a, &QAction::triggered, this, [frame, id] {
                if (IsWindow(frame))
                    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(WORD(id), 0), 0);
            });
        }
    }
}

void FrameMenuBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && IsWindow(m_frame)) {
        const QPoint at = event->globalPosition().toPoint();
        PostMessageW(m_frame, WM_NCRBUTTONUP, HTMENU, MAKELPARAM(WORD(at.x()), WORD(at.y())));
        event->accept();
        return;
    }
    QMenuBar::mouseReleaseEvent(event);
}

bool FrameMenuBar::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut && static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
        const QKeySequence key = static_cast<QShortcutEvent*>(event)->key();
        for (QAction* a : actions()) {
            if (!a->menu() || !a->isVisible() || !a->isEnabled() ||
                QKeySequence::mnemonic(a->text()) != key)
                continue;
            setActiveAction(a);
            // Opened from the keyboard, the menu starts on its first item.
            for (QAction* item : a->menu()->actions())
                if (!item->isSeparator() && item->isVisible()) {
                    a->menu()->setActiveAction(item);
                    break;
                }
            event->accept();
            return true;
        }
    }
    return QMenuBar::event(event);
}

void FrameMenuBar::Fill(QMenu* into, HMENU menu, HWND owner, bool initOnShow, bool postCommands) {
    AddItems(into, menu, owner, postCommands);
    if (initOnShow)
        QObject::connect(into, &QMenu::aboutToShow, into, [into, menu, owner, postCommands] {
            if (!IsMenu(menu) || !IsWindow(owner))
                return;
            SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
            if (!IsMenu(menu))
                return;
            if (SameItems(into, menu))
                Refresh(into, menu);
            else
                AddItems(into, menu, owner, postCommands);
        });
}

void FrameMenuBar::AddItems(QMenu* into, HMENU menu, HWND owner, bool postCommands) {
    for (QAction* a : into->actions())
        if (QMenu* sub = a->menu(); sub && sub->parent() == into)
            sub->deleteLater();
    into->clear();
    int n = GetMenuItemCount(menu);
    for (int pos = 0; pos < n; ++pos) {
        UINT state = GetMenuState(menu, UINT(pos), MF_BYPOSITION);
        if (state & MF_SEPARATOR) {
            into->addSeparator();
        } else if (state & MF_POPUP) {
            QMenu* sub = into->addMenu(ItemText(menu, pos));
            Fill(sub, GetSubMenu(menu, pos), owner, true, postCommands);
        } else {
            QAction* a = into->addAction(ItemText(menu, pos));
            UINT id = GetMenuItemID(menu, pos);
            a->setData(id);
            if (postCommands)
                QObject::connect(a, &QAction::triggered, into, [owner, id] {
                    if (IsWindow(owner))
                        PostMessageW(owner, WM_COMMAND, MAKEWPARAM(WORD(id), 0), 0);
                });
        }
    }
    Refresh(into, menu);
}

UINT ShowPopupMenu(HMENU menu, int x, int y, HWND owner) {
    if (!IsMenu(menu))
        return 0;
    if (IsWindow(owner))
        SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    QMenu popup;
    // Choices are returned rather than posted, from sub-menus too; the model posts them when
    // asked to.
    FrameMenuBar::Fill(&popup, menu, owner, false, false);
    QAction* a = popup.exec(QPoint(x, y));
    UINT chosen = a && a->data().isValid() ? a->data().toUInt() : 0;
    return chosen == 0xFFFFFFFF ? 0 : chosen;
}

} // namespace platform::display
