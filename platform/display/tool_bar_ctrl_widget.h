// The toolbar control of the window model (tool_bar_control.h) as a row of Qt tool buttons at
// the places the model lays them out, with the images of its bitmap strips (or, without one,
// the tip as text), checked, enabled and hidden as the model says. Tips are asked of the model
// when a button's command changes; a press reaches the model at the next safe point.
#pragma once

#include "platform/windowing/window.h"

#include <QWidget>

#include <vector>

class QToolButton;

namespace platform::display {

class ToolBarCtrlWidget : public QWidget {
public:
    ToolBarCtrlWidget(HWND hwnd, QWidget* parent);

    void SyncFromModel();
    // The Qt button of the model's button index, or null.
    QToolButton* Button(int index) const;

private:
    HWND m_hwnd;
    std::vector<QToolButton*> m_buttons;
    std::vector<int> m_commands; // the command each button's tip was asked for (-1: none yet)
};

} // namespace platform::display
