// Tooltips drawn in the look the application gave their kind: fill running from top to
// bottom, text colour, plain label; kinds without a look keep the display's own.
#include "platform/display/tool_tip_look.h"

#include "display_fixture.h"
#include "platform/framework/tooltip_manager.h"
#include "platform/framework/win_app_ex.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QTabBar>
#include <QToolTip>

namespace {

constexpr COLORREF kFill = 0xFFFFFF, kGradient = 0xF0E4E4, kText = 0x50533D, kBorder = 0xA89590;

QColor Colour(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// The tooltip label on the screen, once one shows.
QWidget* ShownTip() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("QTipLabel") && w->isVisible())
            return w;
    return nullptr;
}

int Distance(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

class ToolTipLookTest : public DisplayTest {
protected:
    void TearDown() override {
        QToolTip::hideText();
        DisplayTest::TearDown();
    }
    // Asks the widget for its tooltip as the window system does.
    static void Hover(QWidget* w) {
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(w, &help);
    }
    CWinAppEx app;
};

TEST_F(ToolTipLookTest, ATooltipShowsInTheLookOfItsKind) {
    app.InitTooltipManager();
    CToolTipLook look;
    look.m_bBoldLabel = FALSE;
    look.m_clrFill = kFill;
    look.m_clrFillGradient = kGradient;
    look.m_clrText = kText;
    look.m_clrBorder = kBorder;
    app.GetTooltipManager()->SetTooltipParams(AFX_TOOLTIP_TYPE_DEFAULT, &look);

    QWidget window;
    window.resize(200, 100);
    window.setToolTip(QStringLiteral("Weld the selected paths"));
    window.show();
    Hover(&window);
    EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipText), Colour(kText));
    EXPECT_FALSE(QToolTip::font().bold());
    QWidget* tip = ShownTip();
    ASSERT_NE(tip, nullptr);
    const QImage shot = tip->grab().toImage();
    // Four times as large, for people to see the colours.
    shot.scaled(shot.size() * 4)
        .save(QString::fromUtf8(TEST_BINARY_DIR) + QStringLiteral("/tool_tip_look.png"));
    // The frame in the border colour.
    EXPECT_EQ(shot.pixelColor(0, shot.height() / 2), Colour(kBorder));
    const int x = 2, last = shot.height() - 3;
    // The fill runs from white at the top to the gradient's colour at the bottom.
    EXPECT_LE(Distance(shot.pixelColor(x, 2), Colour(kFill)), 12);
    EXPECT_LE(Distance(shot.pixelColor(x, last), Colour(kGradient)), 12);
    // Some pixels of the words are near the text colour.
    int textPixels = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int px = 0; px < shot.width(); ++px)
            textPixels += Distance(shot.pixelColor(px, y), Colour(kText)) < 40;
    EXPECT_GT(textPixels, 10);

    // Tabs were given no look: theirs is the display's own.
    QToolTip::hideText();
    QTabBar tabs;
    tabs.addTab(QStringLiteral("design"));
    tabs.setTabToolTip(0, QStringLiteral("design.kdx"));
    tabs.show();
    EXPECT_EQ(platform::display::ToolTipKind(&tabs), AFX_TOOLTIP_TYPE_TAB);
    Hover(&tabs);
    EXPECT_NE(QToolTip::palette().color(QPalette::ToolTipText), Colour(kText));
}

TEST(ToolTipLook, ThePaletteAndFontOfALook) {
    CToolTipLook look;
    QPalette base;
    base.setColor(QPalette::ToolTipText, Qt::red);
    // Only system colours: the display's own palette stays.
    EXPECT_EQ(platform::display::ToolTipPalette(look, base).color(QPalette::ToolTipText),
              QColor(Qt::red));
    look.m_clrText = kText;
    EXPECT_EQ(platform::display::ToolTipPalette(look, base).color(QPalette::ToolTipText),
              Colour(kText));
    EXPECT_TRUE(platform::display::ToolTipFont(look, QFont()).bold());
    look.m_bBoldLabel = FALSE;
    EXPECT_FALSE(platform::display::ToolTipFont(look, QFont()).bold());
}

} // namespace
