#include "platform/display/input_method_bridge.h"

#include "display_fixture.h"
#include "platform/windowing/input_method.h"

#include <QApplication>
#include <QInputMethodEvent>

namespace {

class InputMethodBridgeTest : public DisplayTest {};

TEST_F(InputMethodBridgeTest, TheCompositionGoesWhereTheWindowsContextSaysInItsFont) {
    HWND h = MakeWindow(300, 200);
    QWidget* w = Widget(h);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->testAttribute(Qt::WA_InputMethodEnabled));
    HIMC context = ImmGetContext(h);
    COMPOSITIONFORM form{CFS_FORCE_POSITION, {40, 60}, {0, 0, 0, 0}};
    ASSERT_TRUE(ImmSetCompositionWindow(context, &form));
    LOGFONTW font{};
    font.lfHeight = 19;
    ASSERT_TRUE(ImmSetCompositionFontW(context, &font));
    ImmReleaseContext(h, context);
    const int top = platform::display::Presenter::Instance()->ClientTop(h);
    EXPECT_EQ(w->inputMethodQuery(Qt::ImCursorRectangle).toRect(), QRect(40, 60 + top, 1, 19));
    EXPECT_EQ(w->inputMethodQuery(Qt::ImFont).value<QFont>().pixelSize(), 19);
}

TEST_F(InputMethodBridgeTest, AStartingCompositionIsToldToTheWindowAndTheCommitArrivesAsChars) {
    HWND h = MakeWindow(300, 200);
    QWidget* w = Widget(h);
    ASSERT_NE(w, nullptr);
    Log().clear();
    QInputMethodEvent preedit(QStringLiteral("ni"), {});
    QApplication::sendEvent(w, &preedit);
    QInputMethodEvent more(QStringLiteral("nih"), {});
    QApplication::sendEvent(w, &more);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("AB"));
    QApplication::sendEvent(w, &commit);
    Pump();
    EXPECT_EQ(Received({WM_IME_STARTCOMPOSITION}).size(), 1u);
    const auto chars = Received({WM_CHAR});
    ASSERT_EQ(chars.size(), 2u);
    EXPECT_EQ(chars[0].wp, WPARAM('A'));
    EXPECT_EQ(chars[1].wp, WPARAM('B'));
}

} // namespace
