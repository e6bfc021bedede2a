#include "platform/display/list_widgets.h"

#include "platform/display/list_row_height.h"
#include "platform/display/list_view_widget.h"
#include "platform/display/presenter.h"
#include "platform/windowing/ip_address_control.h"
#include "platform/windowing/list_controls.h"
#include "platform/windowing/message.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <functional>
#include <vector>

namespace platform::display {

namespace {

constexpr int kIpFields = 4;

QString ItemText(HWND hwnd, UINT lenMsg, UINT textMsg, int i) {
    int n = int(SendMessageW(hwnd, lenMsg, WPARAM(i), 0));
    if (n < 0)
        return {};
    std::vector<wchar_t> buffer(size_t(n) + 1, 0);
    SendMessageW(hwnd, textMsg, WPARAM(i), reinterpret_cast<LPARAM>(buffer.data()));
    return QString::fromWCharArray(buffer.data());
}

QStringList Items(HWND hwnd, bool combo) {
    QStringList out;
    int n = int(SendMessageW(hwnd, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
        out << (combo ? ItemText(hwnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, i)
                      : ItemText(hwnd, LB_GETTEXTLEN, LB_GETTEXT, i));
    return out;
}

// One field of the IP address control: a "." after a number moves on to the next field.
class IpAddressField : public QLineEdit {
public:
    IpAddressField(QWidget* parent, std::function<void()> next)
        : QLineEdit(parent), m_next(std::move(next)) {}

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->text() == QStringLiteral(".")) {
            if (!text().isEmpty() && m_next)
                m_next();
            return;
        }
        QLineEdit::keyPressEvent(e);
    }

private:
    std::function<void()> m_next;
};

// The IP address control: four short fields with dots between them; the caret moves on as the
// model's control moves it, after a "." or a full field.
class IpAddressWidget : public QWidget {
public:
    IpAddressWidget(HWND hwnd, QWidget* parent) : QWidget(parent) {
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(1);
        for (int i = 0; i < kIpFields; ++i) {
            if (i)
                row->addWidget(new QLabel(QStringLiteral("."), this));
            std::function<void()> next;
            if (i + 1 < kIpFields)
                next = [this, i] { Enter(i + 1); };
            auto* f = new IpAddressField(this, next);
            f->setValidator(new QIntValidator(0, 255, f));
            f->setMaxLength(IP_FIELD_DIGITS);
            f->setAlignment(Qt::AlignCenter);
            row->addWidget(f);
            m_fields[i] = f;
            // The control given the focus types into its first field.
            if (i == 0)
                setFocusProxy(f);
            QObject::connect(f, &QLineEdit::textEdited, f,
                             [this, hwnd, i, next](const QString& text) {
                                 int value = text.isEmpty() ? -1 : text.toInt();
                                 Presenter::Instance()->Defer([hwnd, i, value] {
                                     if (IsWindow(hwnd))
                                         EditIPAddressField(hwnd, i, value);
                                 });
                                 if (text.size() == IP_FIELD_DIGITS && next)
                                     next();
                             });
        }
    }
    void Sync(HWND hwnd) {
        for (int i = 0; i < kIpFields; ++i) {
            int v = GetIPAddressField(hwnd, i);
            QString text = v < 0 ? QString() : QString::number(v);
            if (m_fields[i]->text() != text && !m_fields[i]->hasFocus())
                m_fields[i]->setText(text);
        }
    }

private:
    void Enter(int field) {
        m_fields[field]->setFocus(Qt::TabFocusReason);
        m_fields[field]->selectAll();
    }

    QLineEdit* m_fields[kIpFields] = {};
};

} // namespace

QWidget* CreateListWidget(HWND hwnd, ControlKind kind, QWidget* parent) {
    switch (kind) {
    case ControlKind::ComboBox: {
        auto* c = new QComboBox(parent);
        DWORD style = DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE));
        c->setEditable((style & 0x3) == CBS_DROPDOWN || (style & 0x3) == CBS_SIMPLE);
        // Only a choice of the person's is reported (activated is not sent for setCurrentIndex).
        QObject::connect(c, &QComboBox::activated, c, [hwnd](int index) {
            Presenter::Instance()->Defer([hwnd, index] {
                if (IsWindow(hwnd))
                    ChooseListItem(hwnd, index);
            });
        });
        return c;
    }
    case ControlKind::ListBox: {
        auto* l = new QListWidget(parent);
        l->setItemDelegate(new ListRowHeight(hwnd, l));
        if (GetWindowLongPtrW(hwnd, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
            l->setSelectionMode(QAbstractItemView::MultiSelection);
            // Such a list may choose as the pointer moves (the undo list does): it is told.
            l->setMouseTracking(true);
            QObject::connect(l, &QListWidget::itemEntered, l, [hwnd, l](QListWidgetItem* item) {
                int index = l->row(item);
                Presenter::Instance()->Defer([hwnd, index] {
                    if (IsWindow(hwnd))
                        PointListItem(hwnd, index);
                });
            });
        }
        // Arrows and typed first letters move the current row of a single-choice list: that
        // is the person's choice too (a click reports itself below).
        QObject::connect(l, &QListWidget::currentRowChanged, l, [hwnd, l](int row) {
            if (row < 0 || QApplication::mouseButtons() != Qt::NoButton ||
                l->selectionMode() != QAbstractItemView::SingleSelection)
                return;
            Presenter::Instance()->Defer([hwnd, row] {
                if (IsWindow(hwnd) && SendMessageW(hwnd, LB_GETCURSEL, 0, 0) != row)
                    ChooseListItem(hwnd, row);
            });
        });
        QObject::connect(l, &QListWidget::itemClicked, l, [hwnd, l](QListWidgetItem* item) {
            int index = l->row(item);
            Presenter::Instance()->Defer([hwnd, index] {
                if (IsWindow(hwnd))
                    ChooseListItem(hwnd, index);
            });
        });
        QObject::connect(l, &QListWidget::itemDoubleClicked, l, [hwnd, l](QListWidgetItem* item) {
            int index = l->row(item);
            Presenter::Instance()->Defer([hwnd, index] {
                if (IsWindow(hwnd))
                    DoubleClickListItem(hwnd, index);
            });
        });
        return l;
    }
    case ControlKind::IpAddress:
        return new IpAddressWidget(hwnd, parent);
    case ControlKind::ListView:
        return CreateListViewWidget(hwnd, parent);
    default:
        return nullptr;
    }
}

void SyncListWidget(HWND hwnd, ControlKind kind, QWidget* widget, bool itemsChanged) {
    switch (kind) {
    case ControlKind::ComboBox: {
        auto* c = static_cast<QComboBox*>(widget);
        QSignalBlocker quiet(c);
        if (itemsChanged) {
            QStringList items = Items(hwnd, true);
            bool same = items.size() == c->count();
            for (int i = 0; same && i < items.size(); ++i)
                same = c->itemText(i) == items[i];
            if (!same) {
                c->clear();
                c->addItems(items);
            }
        }
        int sel = int(SendMessageW(hwnd, CB_GETCURSEL, 0, 0));
        if (c->currentIndex() != sel)
            c->setCurrentIndex(sel);
        break;
    }
    case ControlKind::ListBox: {
        auto* l = static_cast<QListWidget*>(widget);
        QSignalBlocker quiet(l);
        if (itemsChanged) {
            QStringList items = Items(hwnd, false);
            bool same = items.size() == l->count();
            for (int i = 0; same && i < items.size(); ++i)
                same = l->item(i)->text() == items[i];
            if (!same) {
                l->clear();
                l->addItems(items);
            }
        }
        int sel = int(SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
        if (l->selectionMode() == QAbstractItemView::MultiSelection) {
            // Several entries may be chosen: each shows the model's state.
            for (int i = 0; i < l->count(); ++i)
                l->item(i)->setSelected(SendMessageW(hwnd, LB_GETSEL, WPARAM(i), 0) > 0);
            if (sel >= 0 && l->currentRow() != sel)
                l->setCurrentRow(sel, QItemSelectionModel::NoUpdate);
            break;
        }
        if (l->currentRow() != sel)
            l->setCurrentRow(sel);
        break;
    }
    case ControlKind::IpAddress:
        static_cast<IpAddressWidget*>(widget)->Sync(hwnd);
        break;
    case ControlKind::ListView:
        SyncListViewWidget(hwnd, widget, itemsChanged);
        break;
    default:
        break;
    }
}

} // namespace platform::display
