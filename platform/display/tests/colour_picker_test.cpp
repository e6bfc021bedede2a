#include "platform/display/colour_picker.h"

#include "display_fixture.h"
#include "platform/windowing/colour_dialog.h"
#include "platform/windowing/dialog_template.h"

#include <QColorDialog>
#include <QPushButton>
#include <QTest>

namespace {

using ColourPickerTest = DisplayTest;

// The person picks a colour in the picker and presses OK or Cancel.
TEST_F(ColourPickerTest, TheColourPickedIsTheDialogsAnswerOnOk) {
    struct Case {
        int button;
        BOOL chosen;
        COLORREF result;
    } cases[] = {{IDOK, TRUE, RGB(10, 200, 30)}, {IDCANCEL, FALSE, RGB(1, 2, 3)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        QColor shownAtFirst;
        bool fits = false;
        platform::ScopedDialogResponder r([&](HWND h, UINT id) {
            ASSERT_EQ(id, platform::kColourDialogId);
            Pump();
            auto* picker = Widget(h)->findChild<QColorDialog*>();
            ASSERT_NE(picker, nullptr);
            shownAtFirst = picker->currentColor();
            Pump(); // the grown dialog and its moved buttons reach the screen
            QWidget* ok = Widget(GetDlgItem(h, IDOK));
            fits = ok && ok->isVisible() && Widget(h)->rect().contains(picker->geometry()) &&
                   Widget(h)->rect().contains(ok->geometry()) &&
                   ok->geometry().top() > picker->geometry().bottom();
            picker->setCurrentColor(QColor(10, 200, 30));
            if (c.button == IDOK)
                Widget(h)->grab().save(QString::fromUtf8(TEST_BINARY_DIR) +
                                       QStringLiteral("/colour_picker.png"));
            auto* button = qobject_cast<QPushButton*>(Widget(GetDlgItem(h, c.button)));
            ASSERT_NE(button, nullptr);
            QTest::mouseClick(button, Qt::LeftButton);
        });
        CHOOSECOLORW cc{};
        cc.lStructSize = sizeof cc;
        cc.rgbResult = RGB(1, 2, 3);
        cc.Flags = CC_RGBINIT;
        EXPECT_EQ(ChooseColorW(&cc), c.chosen);
        EXPECT_EQ(cc.rgbResult, c.result);
        EXPECT_EQ(shownAtFirst, QColor(1, 2, 3));
        EXPECT_TRUE(fits);
    }
}

} // namespace
