#include "platform/display/tool_bar_ctrl_widget.h"

#include "platform/display/presenter.h"
#include "platform/framework/tool_bar_images.h"
#include "platform/windowing/message.h"
#include "platform/windowing/tool_bar_control.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QToolButton>

namespace platform::display {

namespace {

QPixmap Picture(const ToolBarImage& image) {
    QImage picture(image.width, image.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            picture.setPixel(x, y, image.pixels[size_t(y) * size_t(image.stride) + size_t(x)]);
    return QPixmap::fromImage(picture);
}

} // namespace

ToolBarCtrlWidget::ToolBarCtrlWidget(HWND hwnd, QWidget* parent) : QWidget(parent), m_hwnd(hwnd) {
    setAutoFillBackground(true);
}

QToolButton* ToolBarCtrlWidget::Button(int index) const {
    return index >= 0 && size_t(index) < m_buttons.size() ? m_buttons[size_t(index)] : nullptr;
}

void ToolBarCtrlWidget::SyncFromModel() {
    if (!IsWindow(m_hwnd))
        return;
    const int n = int(SendMessageW(m_hwnd, TB_BUTTONCOUNT, 0, 0));
    while (int(m_buttons.size()) > n) {
        delete m_buttons.back();
        m_buttons.pop_back();
        m_commands.pop_back();
    }
    const bool flat = (GetWindowLongPtrW(m_hwnd, GWL_STYLE) & TBSTYLE_FLAT) != 0;
    HWND h = m_hwnd;
    while (int(m_buttons.size()) < n) {
        auto* b = new QToolButton(this);
        // Toolbar buttons never take the keyboard from the view.
        b->setFocusPolicy(Qt::NoFocus);
        const int index = int(m_buttons.size());
        connect(b, &QToolButton::clicked, b, [h, index] {
            auto press = [h, index] {
                if (IsWindow(h))
                    ClickToolBarButton(h, index);
            };
            if (Presenter* p = Presenter::Instance())
                p->Defer(press);
            else
                press();
        });
        m_buttons.push_back(b);
        m_commands.push_back(-1);
    }
    for (int i = 0; i < n; ++i) {
        QToolButton* b = m_buttons[size_t(i)];
        TBBUTTON model{};
        RECT r{0, 0, 0, 0};
        if (!SendMessageW(m_hwnd, TB_GETBUTTON, WPARAM(i), reinterpret_cast<LPARAM>(&model)) ||
            (model.fsStyle & TBSTYLE_SEP) ||
            !SendMessageW(m_hwnd, TB_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r))) {
            b->hide();
            continue;
        }
        b->setAutoRaise(flat);
        if (m_commands[size_t(i)] != model.idCommand) {
            m_commands[size_t(i)] = model.idCommand;
            const std::wstring tip = ToolBarButtonTip(m_hwnd, i);
            b->setToolTip(QString::fromStdWString(tip));
            UINT strip = 0;
            int image = 0;
            ToolBarImage picture;
            if (ToolBarButtonImage(m_hwnd, i, &strip, &image) &&
                FindStripImage(strip, image, &picture)) {
                b->setIcon(QIcon(Picture(picture)));
                b->setIconSize(QSize(picture.width, picture.height));
                b->setToolButtonStyle(Qt::ToolButtonIconOnly);
            } else {
                b->setText(tip.empty() ? QString::number(model.idCommand)
                                       : QString::fromStdWString(tip));
                b->setToolButtonStyle(Qt::ToolButtonTextOnly);
            }
        }
        const bool check = (model.fsStyle & TBSTYLE_CHECK) || (model.fsState & TBSTATE_CHECKED);
        b->setCheckable(check);
        b->setChecked((model.fsState & TBSTATE_CHECKED) != 0);
        b->setEnabled((model.fsState & TBSTATE_ENABLED) != 0);
        const QRect g(r.left, r.top, r.right - r.left, r.bottom - r.top);
        if (b->geometry() != g)
            b->setGeometry(g);
        b->show();
    }
}

} // namespace platform::display
