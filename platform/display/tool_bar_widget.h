// A toolbar of the model (CMFCToolBar) as a row of Qt tool buttons placed where the model's
// layout puts them, enabled and checked as its command updates say; a pressed button sends
// WM_COMMAND to the bar's owner. A drop-down button gets an arrow beside it that opens the
// model's popup. A button hosting a combo box leaves its place to the combo's own widget.
#pragma once

#include "platform/windowing/window.h"

#include <QWidget>

#include <vector>

class CMFCToolBar;
class QToolButton;

namespace platform::display {

class ToolBarWidget : public QWidget {
public:
    ToolBarWidget(HWND hwnd, QWidget* parent);

    // The toolbar model behind a window, or null.
    static CMFCToolBar* ModelOf(HWND hwnd);
    // The model's layout measures button texts in the buttons' font while the display runs.
    static void MeasureTextsInButtonFont(bool on);
    void SyncFromModel();

private:
    HWND m_hwnd;
    std::vector<QToolButton*> m_buttons;
    std::vector<QToolButton*> m_arrows; // null beside buttons without a drop-down
};

} // namespace platform::display
