#include "platform/display/status_bar_widget.h"

#include "platform/framework/status_bar.h"

#include <QHBoxLayout>
#include <QLabel>

namespace platform::display {

StatusBarWidget::StatusBarWidget(HWND hwnd, QWidget* parent) : QFrame(parent), m_hwnd(hwnd) {
    setAutoFillBackground(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(2);
}

CStatusBar* StatusBarWidget::ModelOf(HWND hwnd) {
    return IsWindow(hwnd) ? dynamic_cast<CStatusBar*>(CWnd::FromHandlePermanent(hwnd)) : nullptr;
}

QString StatusBarWidget::PaneText(int index) const {
    return index >= 0 && index < int(m_panes.size()) ? m_panes[size_t(index)]->text() : QString();
}

void StatusBarWidget::SyncFromModel() {
    CStatusBar* bar = ModelOf(m_hwnd);
    if (!bar)
        return;
    auto* row = static_cast<QHBoxLayout*>(layout());
    const int n = bar->GetCount();
    while (int(m_panes.size()) > n) {
        delete m_panes.back();
        m_panes.pop_back();
    }
    while (int(m_panes.size()) < n) {
        auto* pane = new QLabel(this);
        pane->setTextFormat(Qt::PlainText);
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        row->addWidget(pane, m_panes.empty() ? 1 : 0);
        m_panes.push_back(pane);
    }
    for (int i = 0; i < n; ++i) {
        UINT id = 0, style = 0;
        int width = 0;
        bar->GetPaneInfo(i, id, style, width);
        QLabel* pane = m_panes[size_t(i)];
        CString text = bar->GetPaneText(i);
        QString shown = QString::fromWCharArray(text.GetString(), text.GetLength());
        if (pane->text() != shown)
            pane->setText(shown);
        pane->setEnabled(!(style & SBPS_DISABLED));
        if (i > 0 && width > 0 && pane->minimumWidth() != width)
            pane->setMinimumWidth(width);
        // Qt repaints on every frame change, even to the same shape.
        const QFrame::Shape shape = (style & SBPS_NOBORDERS) ? QFrame::NoFrame : QFrame::Panel;
        if (pane->frameShape() != shape)
            pane->setFrameShape(shape);
    }
}

} // namespace platform::display
