// The status bar of the model (CStatusBar) as a row of sunken Qt labels: the message pane
// stretches, the others keep the model's widths.
#pragma once

#include "platform/windowing/window.h"

#include <QFrame>

#include <vector>

class CStatusBar;
class QLabel;

namespace platform::display {

class StatusBarWidget : public QFrame {
public:
    StatusBarWidget(HWND hwnd, QWidget* parent);

    // The status bar model behind a window, or null.
    static CStatusBar* ModelOf(HWND hwnd);
    void SyncFromModel();
    QString PaneText(int index) const;

private:
    HWND m_hwnd;
    std::vector<QLabel*> m_panes;
};

} // namespace platform::display
