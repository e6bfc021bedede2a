#include "platform/display/control_widgets.h"

#include "display_fixture.h"
#include "platform/windowing/dialog_template.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

using ControlWidgetsTest = DisplayTest;

HWND Control(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, int y) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, y, 120, 24, parent,
                           reinterpret_cast<HMENU>(intptr_t(id)), nullptr, nullptr);
}

TEST_F(ControlWidgetsTest, EachStandardControlBecomesItsWidget) {
    HWND frame = MakeWindow(300, 240);
    HWND push = Control(frame, WC_BUTTON, L"&Go", BS_DEFPUSHBUTTON, 10, 10);
    HWND check = Control(frame, WC_BUTTON, L"Check", BS_AUTOCHECKBOX, 11, 40);
    HWND radio = Control(frame, WC_BUTTON, L"Radio", BS_AUTORADIOBUTTON, 12, 70);
    HWND label = Control(frame, WC_STATIC, L"Fish && &chips", SS_RIGHT, 13, 100);
    HWND bar = Control(frame, PROGRESS_CLASS, L"", 0, 14, 130);
    SendMessageW(bar, PBM_SETRANGE32, 0, 400);
    SendMessageW(bar, PBM_SETPOS, 150, 0);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    Pump();
    auto* b = qobject_cast<QPushButton*>(Widget(push));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->text(), QStringLiteral("&Go"));
    EXPECT_TRUE(b->isDefault());
    EXPECT_EQ(b->geometry(), QRect(10, 10, 120, 24));
    EXPECT_TRUE(b->isVisible());
    auto* c = qobject_cast<QCheckBox*>(Widget(check));
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->isChecked());
    EXPECT_NE(qobject_cast<QRadioButton*>(Widget(radio)), nullptr);
    auto* l = qobject_cast<QLabel*>(Widget(label));
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->text(), QStringLiteral("Fish & chips"));
    auto* p = qobject_cast<QProgressBar*>(Widget(bar));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->maximum(), 400);
    EXPECT_EQ(p->value(), 150);

    // State keeps following the model.
    SetWindowTextW(push, L"Stop");
    EnableWindow(push, FALSE);
    SendMessageW(bar, PBM_SETPOS, 390, 0);
    ShowWindow(label, SW_HIDE);
    Pump();
    EXPECT_EQ(b->text(), QStringLiteral("Stop"));
    EXPECT_FALSE(b->isEnabled());
    EXPECT_EQ(p->value(), 390);
    EXPECT_FALSE(l->isVisible());
}

TEST_F(ControlWidgetsTest, ClicksComeBackAsTheNotificationsAndTheModelKeepsTheState) {
    HWND frame = MakeWindow(300, 200);
    HWND push = Control(frame, WC_BUTTON, L"Go", BS_PUSHBUTTON, 20, 10);
    HWND check = Control(frame, WC_BUTTON, L"Check", BS_AUTOCHECKBOX, 21, 40);
    HWND manual = Control(frame, WC_BUTTON, L"Manual", BS_CHECKBOX, 22, 70);
    Pump();
    QTest::mouseClick(Widget(push), Qt::LeftButton);
    // Check boxes take clicks on their box and label only.
    QTest::mouseClick(Widget(check), Qt::LeftButton, {}, QPoint(6, 12));
    QTest::mouseClick(Widget(manual), Qt::LeftButton, {}, QPoint(6, 12));
    Pump();
    auto commands = Received({WM_COMMAND});
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0].wp, MAKEWPARAM(20, BN_CLICKED));
    EXPECT_EQ(commands[0].lp, reinterpret_cast<LPARAM>(push));
    EXPECT_EQ(commands[1].wp, MAKEWPARAM(21, BN_CLICKED));
    EXPECT_EQ(commands[2].wp, MAKEWPARAM(22, BN_CLICKED));
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(static_cast<QCheckBox*>(Widget(check))->isChecked());
    // A plain check box changes only when its owner says so.
    EXPECT_EQ(SendMessageW(manual, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(static_cast<QCheckBox*>(Widget(manual))->isChecked());
    // A disabled control reports nothing.
    EnableWindow(push, FALSE);
    Pump();
    QTest::mouseClick(Widget(push), Qt::LeftButton);
    Pump();
    EXPECT_EQ(Received({WM_COMMAND}).size(), 3u);
}

TEST_F(ControlWidgetsTest, MnemonicMarksAreDropped) {
    struct Case {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {{L"&File", L"File"},
                 {L"Fish && chips", L"Fish & chips"},
                 {L"end&", L"end"},
                 {L"", L""},
                 {L"a&&&b", L"a&b"}};
    for (const Case& c : cases)
        EXPECT_EQ(platform::display::WithoutMnemonics(c.in), c.out) << c.in;
}

} // namespace
