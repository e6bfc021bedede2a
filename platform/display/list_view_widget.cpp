#include "platform/display/list_view_widget.h"

#include "platform/display/presenter.h"
#include "platform/windowing/list_view.h"
#include "platform/windowing/message.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTreeWidget>

#include <algorithm>
#include <vector>

namespace platform::display {

namespace {

// Longer texts are cut: a row of a list is a name or an address.
constexpr int kTextMax = 260;

struct ColumnInfo {
    QString title;
    int width = 0;
};

std::vector<ColumnInfo> Columns(HWND hwnd) {
    std::vector<ColumnInfo> out;
    for (int i = 0;; ++i) {
        wchar_t buffer[kTextMax] = {};
        LVCOLUMNW c;
        c.mask = LVCF_TEXT | LVCF_WIDTH;
        c.pszText = buffer;
        c.cchTextMax = kTextMax;
        if (!SendMessageW(hwnd, LVM_GETCOLUMNW, WPARAM(i), reinterpret_cast<LPARAM>(&c)))
            break;
        out.push_back({QString::fromWCharArray(buffer), c.cx});
    }
    return out;
}

QString CellText(HWND hwnd, int row, int column) {
    wchar_t buffer[kTextMax] = {};
    LVITEMW item;
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = kTextMax;
    SendMessageW(hwnd, LVM_GETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    return QString::fromWCharArray(buffer);
}

} // namespace

QWidget* CreateListViewWidget(HWND hwnd, QWidget* parent) {
    auto* t = new QTreeWidget(parent);
    t->setRootIsDecorated(false);
    t->setItemsExpandable(false);
    t->setUniformRowHeights(true);
    t->setAllColumnsShowFocus(true);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->header()->setStretchLastSection(false);
    t->header()->setSectionsMovable(false);
    // The model's own changes are made with signals blocked: only the person's choice arrives.
    auto choose = [hwnd, t](QTreeWidgetItem* item) {
        if (!item)
            return;
        const int index = t->indexOfTopLevelItem(item);
        Presenter::Instance()->Defer([hwnd, index] {
            if (IsWindow(hwnd))
                ChooseListViewItem(hwnd, index);
        });
    };
    // A click, also on the row that is current already, or a move with the keys.
    QObject::connect(t, &QTreeWidget::itemPressed, t, choose);
    QObject::connect(t, &QTreeWidget::currentItemChanged, t,
                     [choose](QTreeWidgetItem* now, QTreeWidgetItem*) { choose(now); });
    return t;
}

void SyncListViewWidget(HWND hwnd, QWidget* widget, bool rowsChanged) {
    auto* t = static_cast<QTreeWidget*>(widget);
    QSignalBlocker quiet(t);
    const std::vector<ColumnInfo> columns = Columns(hwnd);
    const int columnCount = std::max<int>(1, int(columns.size()));
    if (t->columnCount() != columnCount) {
        t->setColumnCount(columnCount);
        rowsChanged = true;
    }
    QStringList titles;
    for (const ColumnInfo& c : columns)
        titles << c.title;
    t->setHeaderLabels(titles);
    for (int i = 0; i < int(columns.size()); ++i)
        if (t->columnWidth(i) != columns[size_t(i)].width)
            t->setColumnWidth(i, columns[size_t(i)].width);

    const int rows = int(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
    if (rowsChanged || t->topLevelItemCount() != rows) {
        t->clear();
        QList<QTreeWidgetItem*> items;
        for (int r = 0; r < rows; ++r) {
            auto* item = new QTreeWidgetItem;
            for (int c = 0; c < columnCount; ++c)
                item->setText(c, CellText(hwnd, r, c));
            items << item;
        }
        t->addTopLevelItems(items);
    }
    QTreeWidgetItem* current = nullptr;
    for (int r = 0; r < rows; ++r) {
        const UINT state = UINT(
            SendMessageW(hwnd, LVM_GETITEMSTATE, WPARAM(r), LPARAM(LVIS_SELECTED | LVIS_FOCUSED)));
        QTreeWidgetItem* item = t->topLevelItem(r);
        if (item->isSelected() != ((state & LVIS_SELECTED) != 0))
            item->setSelected((state & LVIS_SELECTED) != 0);
        if (state & LVIS_FOCUSED)
            current = item;
    }
    if (current && t->currentItem() != current)
        t->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
}

namespace {

QTreeWidget* TreeOf(HWND hwnd) {
    Presenter* p = Presenter::Instance();
    return p ? qobject_cast<QTreeWidget*>(p->WidgetFor(hwnd)) : nullptr;
}

} // namespace

std::vector<std::wstring> ListViewRowsShown(HWND hwnd) {
    std::vector<std::wstring> out;
    QTreeWidget* t = TreeOf(hwnd);
    for (int r = 0; t && r < t->topLevelItemCount(); ++r) {
        QTreeWidgetItem* item = t->topLevelItem(r);
        QStringList cells;
        for (int c = 0; c < t->columnCount(); ++c)
            cells << item->text(c);
        out.push_back(
            (cells.join(QLatin1Char('|')) + (item->isSelected() ? "*" : "")).toStdWString());
    }
    return out;
}

bool ClickListViewRow(HWND hwnd, int row) {
    QTreeWidget* t = TreeOf(hwnd);
    if (!t || row < 0 || row >= t->topLevelItemCount())
        return false;
    t->scrollToItem(t->topLevelItem(row));
    QWidget* v = t->viewport();
    const QPointF at = t->visualItemRect(t->topLevelItem(row)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, at, v->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(v, &event);
    }
    return true;
}

} // namespace platform::display
