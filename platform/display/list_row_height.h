// Rows of a list box's widget as tall as the model's entries (LB_GETITEMHEIGHT), so that a
// point in the list names the same entry in both and the model's list shows as many rows as
// it was sized for.
#pragma once

#include "platform/windowing/window.h"

#include <QStyledItemDelegate>

namespace platform::display {

class ListRowHeight : public QStyledItemDelegate {
public:
    ListRowHeight(HWND hwnd, QObject* parent) : QStyledItemDelegate(parent), m_hwnd(hwnd) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    HWND m_hwnd;
};

} // namespace platform::display
