#include "platform/display/tool_tip_look.h"

#include "platform/display/tool_bar_widget.h"
#include "platform/framework/tooltip_manager.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QLinearGradient>
#include <QPalette>
#include <QTabBar>
#include <QToolBar>
#include <QToolTip>

#include <memory>

namespace platform::display {

namespace {

QColor Colour(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

bool Given(COLORREF c) {
    return c != CToolTipLook::kUseSystemColour;
}

// The fill of a look as a style sheet's background.
QString Background(const CToolTipLook& look) {
    const COLORREF top = Given(look.m_clrFill) ? look.m_clrFill : 0xFFFFFF;
    const COLORREF bottom = Given(look.m_clrFillGradient) ? look.m_clrFillGradient : top;
    return QStringLiteral("qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2)")
        .arg(Colour(top).name(), Colour(bottom).name());
}

class LookFilter : public QObject {
public:
    LookFilter() : m_palette(QToolTip::palette()), m_font(QToolTip::font()) {}
    // The tooltips' own look back, while Qt still stands.
    void Restore() {
        QToolTip::setPalette(m_palette);
        QToolTip::setFont(m_font);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ToolTip && watched->isWidgetType())
            Apply(ToolTipKind(static_cast<QWidget*>(watched)));
        else if (event->type() == QEvent::Show && watched->inherits("QTipLabel"))
            Frame(static_cast<QWidget*>(watched));
        return false;
    }

private:
    // The tooltip about to show takes the look of its kind; set again only after a change.
    void Apply(UINT kind) {
        const CTooltipManager* manager = AfxGetTooltipManager();
        const unsigned revision = manager ? manager->Revision() + 1 : 0;
        if (kind == m_kind && revision == m_revision)
            return;
        m_kind = kind;
        m_revision = revision;
        const CToolTipLook* look = manager ? manager->FindTooltipParams(kind) : nullptr;
        QToolTip::setPalette(look ? ToolTipPalette(*look, m_palette) : m_palette);
        QToolTip::setFont(look ? ToolTipFont(*look, m_font) : m_font);
    }

    // The tooltip panel draws its frame in the text colour; a look's own border colour goes on
    // the label showing it, which is then sized again for the frame.
    void Frame(QWidget* label) {
        const CTooltipManager* manager = AfxGetTooltipManager();
        const CToolTipLook* look = manager ? manager->FindTooltipParams(m_kind) : nullptr;
        QString sheet;
        if (look && Given(look->m_clrBorder))
            sheet = QStringLiteral("border: 1px solid %1; background: %2; color: %3;")
                        .arg(Colour(look->m_clrBorder).name(), Background(*look),
                             Colour(Given(look->m_clrText) ? look->m_clrText : 0).name());
        if (label->styleSheet() == sheet)
            return;
        label->setStyleSheet(sheet);
        label->adjustSize();
    }

    QPalette m_palette;
    QFont m_font;
    UINT m_kind = 0;
    unsigned m_revision = 0;
};

// Not destroyed at exit: a program ended from inside Qt (its display gone) must not call into
// Qt's torn-down statics.
LookFilter*& Filter() {
    static LookFilter* f = nullptr;
    return f;
}

} // namespace

void InstallToolTipLook() {
    if (Filter() || !qApp)
        return;
    Filter() = new LookFilter;
    qApp->installEventFilter(Filter());
}

void RemoveToolTipLook() {
    if (!Filter())
        return;
    if (qApp) {
        qApp->removeEventFilter(Filter());
        Filter()->Restore();
    }
    delete Filter();
    Filter() = nullptr;
}

UINT ToolTipKind(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (qobject_cast<const QTabBar*>(w))
            return AFX_TOOLTIP_TYPE_TAB;
        if (qobject_cast<const QToolBar*>(w) || dynamic_cast<const ToolBarWidget*>(w))
            return AFX_TOOLTIP_TYPE_TOOLBAR;
    }
    return AFX_TOOLTIP_TYPE_DEFAULT;
}

QPalette ToolTipPalette(const CToolTipLook& look, const QPalette& base) {
    QPalette p = base;
    if (Given(look.m_clrFill)) {
        const QColor top = Colour(look.m_clrFill);
        const QColor bottom = Given(look.m_clrFillGradient) ? Colour(look.m_clrFillGradient) : top;
        QLinearGradient fill(0, 0, 0, 1);
        fill.setCoordinateMode(QGradient::ObjectBoundingMode);
        fill.setColorAt(0, top);
        fill.setColorAt(1, bottom);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setBrush(group, QPalette::ToolTipBase, QBrush(fill));
            p.setBrush(group, QPalette::Window, QBrush(fill));
        }
    }
    if (Given(look.m_clrText))
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setColor(group, QPalette::ToolTipText, Colour(look.m_clrText));
            p.setColor(group, QPalette::WindowText, Colour(look.m_clrText));
        }
    return p;
}

QFont ToolTipFont(const CToolTipLook& look, const QFont& base) {
    QFont f = base;
    f.setBold(look.m_bBoldLabel != FALSE);
    return f;
}

} // namespace platform::display
