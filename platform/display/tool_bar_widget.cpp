#include "platform/display/tool_bar_widget.h"

#include "platform/framework/mfc_tool_bar.h"
#include "platform/framework/mfc_tool_bar_combo_box_button.h"
#include "platform/framework/mfc_tool_bar_menu_button.h"
#include "platform/framework/tool_bar_button_face.h"
#include "platform/framework/tool_bar_images.h"
#include "platform/windowing/message.h"

#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QToolButton>

#include <algorithm>

namespace platform::display {

namespace {

QPixmap Picture(const ToolBarImage& image) {
    QImage picture(image.width, image.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            picture.setPixel(x, y, image.pixels[size_t(y) * size_t(image.stride) + size_t(x)]);
    return QPixmap::fromImage(picture);
}

int ButtonTextWidth(const CString& text) {
    const QFontMetrics metrics(QApplication::font("QToolButton"));
    return metrics.horizontalAdvance(QString::fromWCharArray(text.GetString(), text.GetLength()));
}

} // namespace

void ToolBarWidget::MeasureTextsInButtonFont(bool on) {
    SetButtonTextMeasure(on ? ButtonTextWidth : nullptr);
}

ToolBarWidget::ToolBarWidget(HWND hwnd, QWidget* parent) : QWidget(parent), m_hwnd(hwnd) {
    setAutoFillBackground(true);
}

CMFCToolBar* ToolBarWidget::ModelOf(HWND hwnd) {
    return IsWindow(hwnd) ? dynamic_cast<CMFCToolBar*>(CWnd::FromHandlePermanent(hwnd)) : nullptr;
}

void ToolBarWidget::SyncFromModel() {
    CMFCToolBar* bar = ModelOf(m_hwnd);
    if (!bar)
        return;
    const int n = bar->GetCount();
    while (int(m_buttons.size()) > n) {
        delete m_buttons.back();
        m_buttons.pop_back();
        delete m_arrows.back();
        m_arrows.pop_back();
    }
    HWND h = m_hwnd;
    while (int(m_buttons.size()) < n) {
        auto* b = new QToolButton(this);
        // Toolbar buttons never take the keyboard from the view.
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRaise(true);
        const int index = int(m_buttons.size());
        connect(b, &QToolButton::clicked, b, [h, index] {
            CMFCToolBar* model = ModelOf(h);
            if (!model || index >= model->GetCount())
                return;
            CWnd* owner = model->GetOwner();
            UINT id = model->GetItemID(index);
            if (owner && id && !(model->GetButtonStyle(index) & TBBS_DISABLED))
                PostMessageW(owner->m_hWnd, WM_COMMAND, MAKEWPARAM(WORD(id), 0), 0);
        });
        m_buttons.push_back(b);
        m_arrows.push_back(nullptr);
    }
    for (int i = 0; i < n; ++i) {
        const CMFCToolBarButton* model = bar->GetButton(i);
        QToolButton* b = m_buttons[size_t(i)];
        // A button hosting a control of its own (a combo box) shows that control's widget.
        const auto* hosting = dynamic_cast<const CMFCToolBarComboBoxButton*>(model);
        const bool ownControl =
            hosting && hosting->GetComboBox() && IsWindow(hosting->GetComboBox()->m_hWnd);
        if (!model || model->IsSeparator() || !model->IsVisible() || model->IsHidden() ||
            ownControl) {
            b->hide();
            if (m_arrows[size_t(i)])
                m_arrows[size_t(i)]->hide();
            continue;
        }
        UINT style = bar->GetButtonStyle(i);
        const CString face = ButtonFaceText(*model);
        const QString text = QString::fromWCharArray(face.GetString(), face.GetLength());
        if (b->text() != text) {
            b->setText(text);
            b->setToolTip(text);
        }
        // A registered picture shows instead of the text; it is made again only when the
        // registration changes.
        ToolBarImage image;
        const bool pictured = FindCommandImage(model->m_nID, &image);
        const QString key = pictured ? QString::number(quintptr(image.pixels)) : QString();
        const QVariant shown = b->property("commandImage");
        if (!shown.isValid() || shown.toString() != key) {
            b->setIcon(pictured ? QIcon(Picture(image)) : QIcon());
            if (pictured)
                b->setIconSize(QSize(image.width, image.height));
            b->setToolButtonStyle(pictured ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextOnly);
            b->setProperty("commandImage", key);
        }
        b->setCheckable((style & (TBBS_CHECKBOX | TBBS_CHECKED)) != 0);
        b->setChecked((style & TBBS_CHECKED) != 0);
        b->setEnabled(!(style & TBBS_DISABLED));
        // Where the layout put the button (it left room for the face and the arrow).
        const auto* menu = dynamic_cast<const CMFCToolBarMenuButton*>(model);
        const bool dropDown = menu && menu->m_bDrawDownArrow;
        const QRect place(model->m_rect.left, model->m_rect.top, model->m_rect.Width(),
                          model->m_rect.Height());
        const QRect r = place.adjusted(0, 0, dropDown ? -kDropDownArrowWidth : 0, 0);
        if (b->geometry() != r)
            b->setGeometry(r);
        b->show();
        QToolButton*& arrow = m_arrows[size_t(i)];
        if (!dropDown) {
            delete arrow;
            arrow = nullptr;
            continue;
        }
        if (!arrow) {
            arrow = new QToolButton(this);
            arrow->setFocusPolicy(Qt::NoFocus);
            arrow->setAutoRaise(true);
            arrow->setArrowType(Qt::DownArrow);
            connect(arrow, &QToolButton::clicked, arrow, [h, i] {
                if (CMFCToolBar* toolbar = ModelOf(h))
                    toolbar->DropDown(i);
            });
        }
        arrow->setEnabled(!(style & TBBS_DISABLED));
        const QRect a(r.right() + 1, r.top(), kDropDownArrowWidth, r.height());
        if (arrow->geometry() != a)
            arrow->setGeometry(a);
        arrow->show();
    }
}

} // namespace platform::display
