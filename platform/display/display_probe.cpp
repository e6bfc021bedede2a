#include "platform/display/display_probe.h"

#include "platform/display/frame_menu_bar.h"
#include "platform/display/presenter.h"

#include <QMenu>
#include <QToolButton>

#include <algorithm>

namespace platform::display {

namespace {

void Lines(const QList<QAction*>& actions, int depth, std::vector<std::wstring>& out) {
    const std::wstring indent(size_t(depth) * 2, L' ');
    for (QAction* a : actions) {
        if (a->isSeparator()) {
            out.push_back(indent + L"-");
            continue;
        }
        out.push_back(indent + a->text().toStdWString());
        if (QMenu* sub = a->menu())
            Lines(sub->actions(), depth + 1, out);
    }
}

} // namespace

std::vector<std::wstring> MenuBarShown(HWND frame) {
    std::vector<std::wstring> out;
    Presenter* p = Presenter::Instance();
    QWidget* w = p ? p->WidgetFor(frame) : nullptr;
    auto* bar = w ? w->findChild<FrameMenuBar*>() : nullptr;
    if (bar)
        Lines(bar->actions(), 0, out);
    return out;
}

std::vector<std::wstring> ToolBarShown(HWND bar) {
    std::vector<std::wstring> out;
    Presenter* p = Presenter::Instance();
    QWidget* w = p ? p->WidgetFor(bar) : nullptr;
    if (!w)
        return out;
    QList<QToolButton*> buttons = w->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly);
    buttons.erase(std::remove_if(buttons.begin(), buttons.end(),
                                 [](QToolButton* b) {
                                     return b->isHidden() || b->arrowType() != Qt::NoArrow;
                                 }),
                  buttons.end());
    std::stable_sort(buttons.begin(), buttons.end(), [](QToolButton* a, QToolButton* b) {
        return a->geometry().left() < b->geometry().left();
    });
    for (QToolButton* b : buttons)
        out.push_back(b->toolTip().isEmpty() ? b->text().toStdWString()
                                             : b->toolTip().toStdWString());
    return out;
}

} // namespace platform::display
