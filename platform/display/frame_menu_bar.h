// A frame's menu bar from the window model's menus. Before a menu opens the frame updates its
// items (WM_INITMENUPOPUP, where command-UI handlers enable and check them); a chosen item
// reaches the frame as WM_COMMAND, posted like any input.
#pragma once

#include "platform/windowing/window.h"

#include <QMenuBar>

class QMenu;

namespace platform::display {

class FrameMenuBar : public QMenuBar {
public:
    FrameMenuBar(HWND frame, QWidget* parent);

    // Rebuilds the bar from the frame's current menu.
    void Rebuild();
    HMENU Menu() const { return m_menu; }
    // Fills a Qt menu from a model menu; commands are posted to owner unless postCommands is
    // off (then the chosen action's data is the command). Sub-menus always tell owner before
    // they open (WM_INITMENUPOPUP); the menu itself when initOnShow. Items the init message
    // changes (the recent files, for one) are shown as they are then.
    static void Fill(QMenu* into, HMENU menu, HWND owner, bool initOnShow,
                     bool postCommands = true);

protected:
    // A right button released on the bar is told to the frame (WM_NCRBUTTONUP, HTMENU).
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Alt and a letter that two menus share ("&Output", "&Options") always opens the first of
    // them, as the platform's menu bars do; Qt would take turns.
    bool event(QEvent* event) override;

private:
    static void AddItems(QMenu* into, HMENU menu, HWND owner, bool postCommands);

    HWND m_frame;
    HMENU m_menu = nullptr;
};

// Shows a model popup menu at a point of the screen and returns the chosen command, 0 for none.
UINT ShowPopupMenu(HMENU menu, int x, int y, HWND owner);

} // namespace platform::display
