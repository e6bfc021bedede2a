#include "platform/display/control_widgets.h"

#include "display_fixture.h"
#include "platform/windowing/dialog_template.h"

#include "platform/windowing/edit_control.h"
#include "platform/windowing/ip_address_control.h"
#include "platform/windowing/list_controls.h"
#include "platform/windowing/up_down_control.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

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

TEST_F(ControlWidgetsTest, AListOfSeveralShowsEachChosenEntry) {
    HWND frame = MakeWindow(300, 240);
    HWND list =
        Control(frame, WC_LISTBOX, L"", LBS_NOTIFY | LBS_MULTIPLESEL | LBS_EXTENDEDSEL, 33, 40);
    for (const wchar_t* name : {L"Move 3", L"Move 2", L"Move 1"})
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageW(list, LB_SELITEMRANGEEX, 0, 1);
    Pump();
    auto* l = qobject_cast<QListWidget*>(Widget(list));
    ASSERT_NE(l, nullptr);
    EXPECT_TRUE(l->item(0)->isSelected());
    EXPECT_TRUE(l->item(1)->isSelected());
    EXPECT_FALSE(l->item(2)->isSelected());
    SendMessageW(list, LB_SETSEL, FALSE, -1);
    Pump();
    EXPECT_TRUE(l->selectedItems().isEmpty());
    // The pointer resting on an entry out of the model's rows scrolls the model to it.
    for (int i = 0; i < 30; ++i)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Move"));
    Pump();
    emit l->itemEntered(l->item(30));
    Pump();
    EXPECT_GT(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
}

TEST_F(ControlWidgetsTest, ListChoicesComeBackAsSelectionNotifications) {
    HWND frame = MakeWindow(300, 240);
    HWND combo = Control(frame, WC_COMBOBOX, L"", CBS_DROPDOWNLIST, 30, 10);
    HWND list = Control(frame, WC_LISTBOX, L"", LBS_NOTIFY, 31, 40);
    HWND ip = Control(frame, WC_IPADDRESS, L"", 0, 32, 150);
    for (const wchar_t* port : {L"COM1", L"COM2", L"LPT1"}) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(port));
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(port));
    }
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    SendMessageW(ip, IPM_SETADDRESS, 0, LPARAM(MAKEIPADDRESS(192, 168, 0, 7)));
    Pump();
    auto* c = qobject_cast<QComboBox*>(Widget(combo));
    auto* l = qobject_cast<QListWidget*>(Widget(list));
    ASSERT_TRUE(c && l);
    EXPECT_EQ(c->count(), 3);
    EXPECT_EQ(c->currentText(), QStringLiteral("COM2"));
    EXPECT_EQ(l->count(), 3);
    auto fields = Widget(ip)->findChildren<QLineEdit*>();
    ASSERT_EQ(fields.size(), 4);
    EXPECT_EQ(fields[3]->text(), QStringLiteral("7"));

    // The person's choices: what activated reports, and clicks in the list.
    c->setCurrentIndex(2);
    emit c->activated(2);
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(0)).center());
    emit l->itemDoubleClicked(l->item(1));
    QTest::keyClicks(fields[3], QStringLiteral("9"));
    Pump();
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    std::vector<WPARAM> codes;
    for (const Seen& s : Received({WM_COMMAND}))
        codes.push_back(s.wp);
    std::vector<WPARAM> expected = {MAKEWPARAM(30, CBN_SELCHANGE), MAKEWPARAM(31, LBN_SELCHANGE)};
    ASSERT_GE(codes.size(), 4u);
    EXPECT_EQ(codes[0], expected[0]);
    EXPECT_EQ(codes[1], expected[1]);
    EXPECT_NE(std::find(codes.begin(), codes.end(), MAKEWPARAM(31, LBN_DBLCLK)), codes.end());
    EXPECT_EQ(codes.back(), MAKEWPARAM(32, EN_CHANGE));
    EXPECT_EQ(platform::GetIPAddressField(ip, 3), 79);
}

// A single-choice list chosen with the keyboard: the arrows and a typed first letter.
TEST_F(ControlWidgetsTest, KeysInAListChooseItsEntry) {
    HWND frame = MakeWindow(300, 240);
    HWND list = Control(frame, WC_LISTBOX, L"", LBS_NOTIFY, 31, 40);
    for (const wchar_t* name : {L"Vanter Cutter", L"Network Plotter", L"Shop Cutter"})
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    Pump();
    auto* l = qobject_cast<QListWidget*>(Widget(list));
    ASSERT_NE(l, nullptr);
    l->setFocus();
    QTest::keyClick(l, Qt::Key_V);
    Pump();
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
    QTest::keyClick(l, Qt::Key_Down);
    QTest::keyClick(l, Qt::Key_Down);
    Pump();
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    size_t changes = 0;
    for (const Seen& s : Received({WM_COMMAND}))
        changes += s.wp == MAKEWPARAM(31, LBN_SELCHANGE);
    EXPECT_GE(changes, 2u);
    // The model's own choice moves the row without a notification.
    const size_t before = Received({WM_COMMAND}).size();
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    Pump();
    EXPECT_EQ(l->currentRow(), 1);
    EXPECT_EQ(Received({WM_COMMAND}).size(), before);
}

// Keys typed into the IP address control as people type an address: "." and a full field move
// the caret on, each key going to the field that has the focus.
TEST_F(ControlWidgetsTest, AnAddressTypedWithDotsAndFullFieldsFillsTheFourFields) {
    HWND frame = MakeWindow(300, 120);
    HWND ip = Control(frame, WC_IPADDRESS, L"", 0, 32, 10);
    Pump();
    auto fields = Widget(ip)->findChildren<QLineEdit*>();
    ASSERT_EQ(fields.size(), 4);
    Widget(ip)->window()->activateWindow();
    fields[0]->setFocus();
    for (QChar c : QStringLiteral("192168.0.7")) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, c.toLatin1());
    }
    Pump();
    EXPECT_EQ(fields[3]->text(), QStringLiteral("7"));
    EXPECT_TRUE(fields[3]->hasFocus());
    DWORD address = 0;
    EXPECT_EQ(SendMessageW(ip, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address)), 4);
    EXPECT_EQ(address, MAKEIPADDRESS(192, 168, 0, 7));
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

// Typing into an edit gives the owner EN_CHANGE and the model the text, within its limit; the
// up-down arrows step the position and the buddy shows it.
TEST_F(ControlWidgetsTest, TypingAndSpinningComeBackThroughTheModel) {
    HWND frame = MakeWindow(300, 120);
    HWND edit = Control(frame, WC_EDIT, L"", 0, 30, 10);
    HWND spin = CreateWindowExW(
        0, UPDOWN_CLASS, L"", WS_CHILD | WS_VISIBLE | UDS_AUTOBUDDY | UDS_SETBUDDYINT, 130, 10, 16,
        24, frame, reinterpret_cast<HMENU>(intptr_t(31)), nullptr, nullptr);
    SendMessageW(edit, EM_LIMITTEXT, 4, 0);
    SendMessageW(spin, UDM_SETRANGE32, 0, 5000);
    Pump();
    Log().clear();
    auto* line = qobject_cast<QLineEdit*>(Widget(edit));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->maxLength(), 4);
    line->setFocus();
    QTest::keyClicks(line, QStringLiteral("12345"));
    Pump();
    wchar_t text[16] = {};
    GetWindowTextW(edit, text, 16);
    EXPECT_EQ(std::wstring(text), L"1234");
    auto commands = Received({WM_COMMAND});
    int changes = 0;
    for (const Seen& c : commands)
        changes += HIWORD(DWORD(c.wp)) == EN_CHANGE && LOWORD(DWORD(c.wp)) == 30;
    EXPECT_EQ(changes, 4);

    QWidget* arrows = Widget(spin);
    ASSERT_NE(arrows, nullptr);
    auto* up = arrows->findChild<QToolButton*>(QStringLiteral("up"));
    ASSERT_NE(up, nullptr);
    QTest::mouseClick(up, Qt::LeftButton);
    Pump();
    EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 1235);
    EXPECT_EQ(line->text(), QStringLiteral("1235"));
    EXPECT_EQ(Received({WM_VSCROLL}).size(), 1u);
    EXPECT_TRUE(Widget(frame)->grab().save(TEST_BINARY_DIR "/edit_and_up_down.png"));
}

// An owner that paints its edits grey on pale yellow through WM_CTLCOLOREDIT.
HBRUSH g_pale = nullptr;

LRESULT ColouringOwner(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CTLCOLOREDIT && g_pale) {
        SetTextColor(reinterpret_cast<HDC>(wp), RGB(128, 128, 128));
        return reinterpret_cast<LRESULT>(g_pale);
    }
    return DefWindowProcW(h, msg, wp, lp);
}

TEST_F(ControlWidgetsTest, AnEditTakesItsOwnersColours) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = ColouringOwner;
    cls.lpszClassName = L"ColouringOwner";
    RegisterClassW(&cls);
    g_pale = CreateSolidBrush(RGB(255, 255, 200));
    HWND owner = CreateWindowExW(0, L"ColouringOwner", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 200, 60, nullptr, nullptr, nullptr, nullptr);
    m_windows.push_back(owner);
    HWND edit = Control(owner, WC_EDIT, L"", 0, 40, 10);
    Pump();
    auto* line = qobject_cast<QLineEdit*>(Widget(edit));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->palette().color(QPalette::Text), QColor(128, 128, 128));
    EXPECT_EQ(line->palette().color(QPalette::Base), QColor(255, 255, 200));
    DestroyWindow(owner);
    m_windows.pop_back();
    DeleteObject(g_pale);
    g_pale = nullptr;
}

TEST_F(ControlWidgetsTest, AnEmptyEditShowsItsCueTextInGrey) {
    HWND frame = MakeWindow(200, 80);
    HWND edit = Control(frame, WC_EDIT, L"", 0, 50, 10);
    HWND filled = Control(frame, WC_EDIT, L"", 0, 51, 40);
    SendMessageW(edit, EM_SETCUEBANNER, 0, reinterpret_cast<LPARAM>(L"345"));
    SendMessageW(filled, EM_SETCUEBANNER, 0, reinterpret_cast<LPARAM>(L"1920"));
    SetWindowTextW(filled, L"1600");
    Pump();
    auto* line = qobject_cast<QLineEdit*>(Widget(edit));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->placeholderText(), QStringLiteral("345"));
    EXPECT_TRUE(line->text().isEmpty());
    const QPalette p = line->palette();
    const QColor ink = p.color(QPalette::Text), paper = p.color(QPalette::Base);
    EXPECT_EQ(p.color(QPalette::PlaceholderText),
              QColor((ink.red() + paper.red()) / 2, (ink.green() + paper.green()) / 2,
                     (ink.blue() + paper.blue()) / 2));
    EXPECT_EQ(qobject_cast<QLineEdit*>(Widget(filled))->text(), QStringLiteral("1600"));
    EXPECT_TRUE(Widget(frame)->grab().save(TEST_BINARY_DIR "/edit_cue_text.png"));

    // Gone with the model's cue.
    SendMessageW(edit, EM_SETCUEBANNER, 0, 0);
    Pump();
    EXPECT_TRUE(line->placeholderText().isEmpty());
}

} // namespace
