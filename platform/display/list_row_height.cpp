#include "platform/display/list_row_height.h"

#include "platform/windowing/list_controls.h"
#include "platform/windowing/message.h"

namespace platform::display {

QSize ListRowHeight::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (IsWindow(m_hwnd))
        if (const int height = int(SendMessageW(m_hwnd, LB_GETITEMHEIGHT, 0, 0)); height > 0)
            size.setHeight(height);
    return size;
}

} // namespace platform::display
