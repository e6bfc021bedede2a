// The report-view list control of the window model as a Qt tree without branches: the
// columns with their titles and widths, the rows, and each row's selected and focused state.
// A row the person clicks or reaches with the keys becomes the model's chosen row.
#pragma once

#include "platform/windowing/window.h"

#include <string>
#include <vector>

class QWidget;

namespace platform::display {

QWidget* CreateListViewWidget(HWND hwnd, QWidget* parent);
// Model to widget: columns always (they are few), rows when rowsChanged, then the states.
void SyncListViewWidget(HWND hwnd, QWidget* widget, bool rowsChanged);

// For scripted runs and tests of dialogs that hold a list, as a person sees and uses it:
// the rows shown, each "text|text", with "*" after a selected one; and a left click on a
// row's middle, as the window system delivers it. The click is false without such a row.
std::vector<std::wstring> ListViewRowsShown(HWND hwnd);
bool ClickListViewRow(HWND hwnd, int row);

} // namespace platform::display
