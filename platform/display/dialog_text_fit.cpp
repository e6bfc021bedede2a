#include "platform/display/dialog_text_fit.h"

#include "platform/display/display.h"
#include "platform/display/presenter.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <limits>

namespace platform::display {

namespace {

// A control as it shows: where its text is drawn (and its indicator, for check boxes and
// radio buttons) in the dialog's coordinates, what it needs and what it is given.
struct Shown {
    int id = 0;
    QWidget* widget = nullptr;
    bool text = false;   // a static text, check box or radio button with a text
    bool button = false; // check box or radio button
    QString shownText;
    QRect ink;    // what is drawn of the text (and indicator), clipped to the control
    QSize needed; // the text's size in its font
    QSize given;  // the room the control gives the text
};

QString Pixels(int needed, int given) {
    return QStringLiteral(": %1 > %2").arg(needed).arg(given);
}

Shown Measure(HWND hwnd, QWidget* w) {
    Shown s;
    s.id = GetDlgCtrlID(hwnd);
    s.widget = w;
    const QRect place = w->geometry();
    const QFontMetrics metrics(w->font());
    if (auto* label = qobject_cast<QLabel*>(w)) {
        s.shownText = label->text();
        if (s.shownText.isEmpty())
            return s;
        s.text = true;
        const QRect room = label->contentsRect();
        // Laid from the top, however the label places it, to see how tall it grows.
        int flags = int(label->alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
        if (label->wordWrap())
            flags |= Qt::TextWordWrap;
        // Wrapped in the control's width, as tall as the text needs.
        const QRect wrapped = metrics.boundingRect(
            QRect(room.left(), room.top(), room.width(), std::numeric_limits<int>::max() / 2),
            flags, s.shownText);
        s.needed = wrapped.size();
        s.given = room.size();
        s.ink = wrapped.intersected(room).translated(place.topLeft());
        return s;
    }
    auto* button = qobject_cast<QAbstractButton*>(w);
    const bool radio = qobject_cast<QRadioButton*>(w) != nullptr;
    if (!button || (!radio && !qobject_cast<QCheckBox*>(w)))
        return s;
    s.shownText = button->text();
    s.button = true;
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = s.shownText;
    option.rect = button->rect();
    const QRect indicator = w->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, button);
    QRect ink = indicator;
    if (!s.shownText.isEmpty()) {
        s.text = true;
        const QRect room = w->style()->subElementRect(
            radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, button);
        s.needed = metrics.size(Qt::TextShowMnemonic, s.shownText);
        s.given = room.size();
        const QRect text(room.left(), room.top() + (room.height() - s.needed.height()) / 2,
                         s.needed.width(), s.needed.height());
        ink |= text;
    }
    s.ink = ink.intersected(button->rect()).translated(place.topLeft());
    return s;
}

void Report(std::vector<TextMisfit>& out, const Shown& s, const QString& problem) {
    out.push_back(TextMisfit{s.id, s.shownText.toStdWString(), problem.toStdWString()});
}

} // namespace

std::vector<TextMisfit> DialogTextMisfits(HWND dialog) {
    std::vector<TextMisfit> out;
    Presenter* presenter = Presenter::Instance();
    if (!presenter || !IsWindow(dialog))
        return out;
    Flush();
    std::vector<Shown> controls;
    std::vector<QGroupBox*> groups;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        QWidget* w = presenter->WidgetFor(c);
        if (!w)
            continue;
        if (auto* g = qobject_cast<QGroupBox*>(w)) {
            groups.push_back(g);
            continue;
        }
        controls.push_back(Measure(c, w));
    }
    for (const Shown& s : controls) {
        if (!s.text)
            continue;
        if (s.needed.width() > s.given.width())
            Report(out, s,
                   QStringLiteral("wider than its control") +
                       Pixels(s.needed.width(), s.given.width()));
        if (s.needed.height() > s.given.height())
            Report(out, s,
                   QStringLiteral("higher than its control") +
                       Pixels(s.needed.height(), s.given.height()));
    }
    // A check box or radio button framed by a group box stays inside the frame, below its title.
    for (const Shown& s : controls) {
        if (!s.button || s.ink.isEmpty())
            continue;
        for (QGroupBox* g : groups) {
            const QRect frame = g->geometry();
            if (!frame.contains(s.widget->geometry().center()))
                continue;
            const QRect inside = g->contentsRect().translated(frame.topLeft());
            if (!inside.contains(s.ink))
                Report(out, s,
                       QStringLiteral("outside the frame of group box \"%1\"").arg(g->title()));
        }
    }
    // A text drawn over a shown neighbour (its text, or the whole of any other control).
    for (size_t i = 0; i < controls.size(); ++i) {
        const Shown& s = controls[i];
        if (!s.text || !s.widget->isVisible())
            continue;
        for (size_t k = 0; k < controls.size(); ++k) {
            const Shown& other = controls[k];
            if (k == i || !other.widget->isVisible())
                continue;
            const bool drawn = other.text || other.button;
            // Two texts on each other are one fault, told once.
            if (other.text && k < i)
                continue;
            if (s.ink.intersects(drawn ? other.ink : other.widget->geometry()))
                Report(out, s, QStringLiteral("runs into control %1").arg(other.id));
        }
    }
    return out;
}

} // namespace platform::display
