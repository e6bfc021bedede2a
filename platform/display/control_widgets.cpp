#include "platform/display/control_widgets.h"

#include "platform/display/slider_widget.h"
#include "platform/display/tool_bar_ctrl_widget.h"

#include "platform/windowing/controls.h"
#include "platform/windowing/edit_control.h"
#include "platform/windowing/message.h"
#include "platform/windowing/up_down_control.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <cwctype>
#include <vector>

namespace platform::display {

namespace {

std::wstring ClassName(HWND hwnd) {
    wchar_t buffer[64] = {};
    GetClassNameW(hwnd, buffer, 64);
    std::wstring name = buffer;
    for (wchar_t& c : name)
        c = wchar_t(std::towlower(wint_t(c)));
    return name;
}

std::wstring Text(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::vector<wchar_t> buffer(size_t(n) + 1, 0);
    GetWindowTextW(hwnd, buffer.data(), n + 1);
    return buffer.data();
}

QString ToQt(const std::wstring& s) {
    return QString::fromWCharArray(s.data(), qsizetype(s.size()));
}

QColor ToQColor(COLORREF c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

} // namespace

std::wstring WithoutMnemonics(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        else if (text[i] == L'&')
            continue;
        out += text[i];
    }
    return out;
}

ControlKind ControlKindOf(HWND hwnd) {
    std::wstring cls = ClassName(hwnd);
    DWORD style = DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE));
    if (cls == L"button") {
        switch (style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
            return ControlKind::CheckBox;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return ControlKind::RadioButton;
        case BS_GROUPBOX:
            return ControlKind::GroupBox;
        default:
            return ControlKind::PushButton;
        }
    }
    if (cls == L"static")
        return ControlKind::Static;
    if (cls == L"msctls_progress32")
        return ControlKind::Progress;
    if (cls == L"combobox")
        return ControlKind::ComboBox;
    if (cls == L"listbox")
        return ControlKind::ListBox;
    if (cls == L"sysipaddress32")
        return ControlKind::IpAddress;
    if (cls == L"edit")
        return ControlKind::Edit;
    if (cls == L"msctls_updown32")
        return ControlKind::UpDown;
    if (cls == L"syslistview32")
        return ControlKind::ListView;
    if (cls == L"msctls_trackbar32")
        return ControlKind::Slider;
    if (cls == L"toolbarwindow32")
        return ControlKind::ToolBarCtrl;
    return ControlKind::None;
}

QWidget* CreateControlWidget(HWND hwnd, ControlKind kind, QWidget* parent) {
    DWORD style = DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE));
    // Clicks go to the control in the model, which notifies its parent; the widget's own state
    // follows the model's.
    auto click = [hwnd] {
        if (IsWindow(hwnd) && IsWindowEnabled(hwnd))
            PostMessageW(hwnd, BM_CLICK, 0, 0);
    };
    switch (kind) {
    case ControlKind::PushButton: {
        auto* b = new QPushButton(parent);
        b->setDefault((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        b->setAutoDefault(false);
        QObject::connect(b, &QPushButton::clicked, b, click);
        return b;
    }
    case ControlKind::CheckBox: {
        auto* b = new QCheckBox(parent);
        QObject::connect(b, &QCheckBox::clicked, b, click);
        return b;
    }
    case ControlKind::RadioButton: {
        auto* b = new QRadioButton(parent);
        // The model keeps a group exclusive.
        b->setAutoExclusive(false);
        QObject::connect(b, &QRadioButton::clicked, b, click);
        return b;
    }
    case ControlKind::GroupBox: {
        auto* g = new QGroupBox(parent);
        // A group box only frames its neighbours: it must not take their clicks.
        g->setAttribute(Qt::WA_TransparentForMouseEvents);
        g->lower();
        return g;
    }
    case ControlKind::Static: {
        auto* l = new QLabel(parent);
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(true);
        Qt::Alignment a = Qt::AlignLeft;
        if ((style & 0x3) == SS_CENTER)
            a = Qt::AlignHCenter;
        else if ((style & 0x3) == SS_RIGHT)
            a = Qt::AlignRight;
        l->setAlignment(a | Qt::AlignTop);
        return l;
    }
    case ControlKind::Progress: {
        auto* p = new QProgressBar(parent);
        p->setTextVisible(false);
        return p;
    }
    case ControlKind::Edit: {
        auto* e = new QLineEdit(parent);
        if ((style & 0x3) == ES_CENTER)
            e->setAlignment(Qt::AlignCenter);
        else if ((style & 0x3) == ES_RIGHT)
            e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // What the person types becomes the model's text, which tells the owner (EN_CHANGE);
        // what the model refuses (limit, digits only) is taken back out of the widget.
        QObject::connect(e, &QLineEdit::textEdited, e, [hwnd, e](const QString& typed) {
            if (!IsWindow(hwnd))
                return;
            std::wstring text = typed.toStdWString();
            SendMessageW(hwnd, EM_SETSEL, 0, LPARAM(-1));
            if (text.empty() ? !TypeIntoEdit(hwnd, L"\b") : !TypeIntoEdit(hwnd, text)) {
                if (IsWindow(hwnd) && Text(hwnd) != text)
                    e->setText(ToQt(Text(hwnd)));
            }
        });
        return e;
    }
    case ControlKind::UpDown: {
        auto* box = new QWidget(parent);
        auto* layout = (style & UDS_HORZ) ? static_cast<QBoxLayout*>(new QHBoxLayout(box))
                                          : static_cast<QBoxLayout*>(new QVBoxLayout(box));
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        bool horizontal = (style & UDS_HORZ) != 0;
        // Up (right) first, as the control draws them.
        for (bool up : {horizontal ? false : true, horizontal ? true : false}) {
            auto* b = new QToolButton(box);
            b->setArrowType(horizontal ? (up ? Qt::RightArrow : Qt::LeftArrow)
                                       : (up ? Qt::UpArrow : Qt::DownArrow));
            b->setAutoRepeat(true);
            b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
            b->setObjectName(up ? QStringLiteral("up") : QStringLiteral("down"));
            QObject::connect(b, &QToolButton::clicked, b, [hwnd, up] {
                if (IsWindow(hwnd))
                    ClickUpDown(hwnd, up);
            });
            layout->addWidget(b);
        }
        return box;
    }
    case ControlKind::Slider:
        return CreateSliderWidget(hwnd, parent);
    case ControlKind::ToolBarCtrl:
        return new ToolBarCtrlWidget(hwnd, parent);
    default:
        break;
    }
    return nullptr;
}

void SyncControl(HWND hwnd, ControlKind kind, QWidget* widget, std::wstring& shownText) {
    std::wstring text = Text(hwnd);
    bool textChanged = text != shownText;
    if (textChanged)
        shownText = text;
    switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton: {
        auto* b = static_cast<QAbstractButton*>(widget);
        if (textChanged)
            b->setText(ToQt(text));
        if (kind != ControlKind::PushButton) {
            bool checked = SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
            b->setCheckable(true);
            if (b->isChecked() != checked)
                b->setChecked(checked);
        }
        break;
    }
    case ControlKind::GroupBox:
        if (textChanged)
            static_cast<QGroupBox*>(widget)->setTitle(ToQt(text));
        break;
    case ControlKind::Static:
        if (textChanged)
            static_cast<QLabel*>(widget)->setText(ToQt(WithoutMnemonics(text)));
        break;
    case ControlKind::Edit: {
        auto* e = static_cast<QLineEdit*>(widget);
        DWORD style = DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE));
        int limit = int(SendMessageW(hwnd, EM_GETLIMITTEXT, 0, 0));
        if (e->maxLength() != limit)
            e->setMaxLength(limit);
        e->setReadOnly((style & ES_READONLY) != 0);
        // The owner's colours (WM_CTLCOLOREDIT), or the style's own when it chose none.
        EditColours c{};
        QPalette palette = QApplication::palette(e);
        if (QueryEditColours(hwnd, &c)) {
            palette.setColor(QPalette::Text, ToQColor(c.text));
            palette.setColor(QPalette::Base, ToQColor(c.background));
        }
        // The cue text of an empty edit, in the grey halfway between its text and background.
        const QColor ink = palette.color(QPalette::Text), paper = palette.color(QPalette::Base);
        palette.setColor(QPalette::PlaceholderText,
                         QColor((ink.red() + paper.red()) / 2, (ink.green() + paper.green()) / 2,
                                (ink.blue() + paper.blue()) / 2));
        const QString cue = ToQt(EditCueBanner(hwnd));
        if (e->placeholderText() != cue)
            e->setPlaceholderText(cue);
        if (e->palette() != palette)
            e->setPalette(palette);
        // Only a change of the model moves the person's caret.
        if (e->text().toStdWString() != text)
            e->setText(ToQt(text));
        break;
    }
    case ControlKind::Progress: {
        auto* p = static_cast<QProgressBar*>(widget);
        PBRANGE range{0, 100};
        SendMessageW(hwnd, PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));
        int pos = int(SendMessageW(hwnd, PBM_GETPOS, 0, 0));
        if (p->minimum() != range.iLow || p->maximum() != range.iHigh)
            p->setRange(range.iLow, range.iHigh);
        if (p->value() != pos)
            p->setValue(pos);
        break;
    }
    case ControlKind::Slider:
        SyncSliderWidget(hwnd, widget);
        break;
    case ControlKind::ToolBarCtrl:
        static_cast<ToolBarCtrlWidget*>(widget)->SyncFromModel();
        break;
    default:
        break;
    }
}

} // namespace platform::display
