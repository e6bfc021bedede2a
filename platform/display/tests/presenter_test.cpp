#include "platform/display/presenter.h"

#include "display_fixture.h"
#include "platform/system/clock.h"
#include "platform/windowing/dialog_template.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

constexpr UINT kAskDialog = 9101;
constexpr UINT kBareDialog = 9102;
constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;

INT_PTR CALLBACK_Ask(HWND h, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
        EndDialog(h, LOWORD(wp));
        return TRUE;
    }
    return FALSE;
}

// Acts once Qt's loop runs inside the model's modal loop, as a person would.
void Later(std::function<bool()> act) {
    QTimer::singleShot(10, [act] {
        if (!act())
            Later(act);
    });
}

QWidget* ShownWidgetWithButton(const QString& text) {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible())
            for (QPushButton* b : top->findChildren<QPushButton*>())
                if (b->text() == text && b->isVisible())
                    return b;
    return nullptr;
}

class PresenterTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        platform::RegisterDialogTemplate(
            {kAskDialog,
             WS_POPUP | WS_CAPTION | DS_MODALFRAME,
             160,
             60,
             L"Ask",
             nullptr,
             8,
             {{IDOK, WC_BUTTON, L"OK", kShown | BS_DEFPUSHBUTTON | WS_TABSTOP, 20, 36, 50, 14},
              {IDCANCEL, WC_BUTTON, L"Cancel", kShown | WS_TABSTOP, 90, 36, 50, 14},
              {100, WC_STATIC, L"Proceed?", kShown, 10, 10, 140, 10}}});
        platform::RegisterDialogTemplate(
            {kBareDialog,
             WS_POPUP | WS_CAPTION,
             40,
             20,
             L"Bare",
             nullptr,
             8,
             {{IDOK, WC_BUTTON, L"OK", kShown, 0, 0, 0, 0},
              {100, WC_STATIC, L"A longer line of text", kShown, 0, 0, 0, 0}}});
    }
};

TEST_F(PresenterTest, AModalDialogAnsweredByAClickReturnsOk) {
    HWND frame = MakeWindow(400, 300);
    bool ownerDisabled = false;
    Later([&] {
        QWidget* ok = ShownWidgetWithButton(QStringLiteral("OK"));
        if (!ok)
            return false;
        ownerDisabled = !Widget(frame)->isEnabled();
        QTest::mouseClick(ok, Qt::LeftButton);
        return true;
    });
    EXPECT_EQ(DialogBoxParamW(nullptr, kAskDialog, frame, CALLBACK_Ask, 0), IDOK);
    EXPECT_TRUE(ownerDisabled);
    Pump();
    EXPECT_TRUE(Widget(frame)->isEnabled());
}

// A dialog that ended is hidden, then destroyed; Qt hands its focus on through its widgets
// meanwhile. The keyboard the model gave back to the dialog under it must stay there.
TEST_F(PresenterTest, QtsFocusPassingThroughAnEndedDialogLeavesTheModelsFocusAlone) {
    HWND under = CreateDialogParamW(nullptr, kAskDialog, nullptr, CALLBACK_Ask, 0);
    HWND ended = CreateDialogParamW(nullptr, kAskDialog, nullptr, CALLBACK_Ask, 0);
    ShowWindow(under, SW_SHOW);
    ShowWindow(ended, SW_SHOW);
    Pump();
    HWND cancel = GetDlgItem(under, IDCANCEL);
    SetFocus(cancel);
    ShowWindow(ended, SW_HIDE);
    Pump();
    Q_EMIT qApp->focusChanged(nullptr, Widget(GetDlgItem(ended, IDOK)));
    EXPECT_EQ(GetFocus(), cancel);
    // A shown window's widget still takes the model's focus with it.
    Q_EMIT qApp->focusChanged(nullptr, Widget(GetDlgItem(under, IDOK)));
    EXPECT_EQ(GetFocus(), GetDlgItem(under, IDOK));
    DestroyWindow(ended);
    DestroyWindow(under);
}

TEST_F(PresenterTest, ADialogOpensCentredOverItsOwner) {
    HWND frame = MakeWindow(400, 300);
    HWND dlg = CreateDialogParamW(nullptr, kAskDialog, frame, CALLBACK_Ask, 0);
    m_windows.push_back(dlg);
    ShowWindow(dlg, SW_SHOW);
    Pump();
    RECT f, d;
    GetWindowRect(frame, &f);
    GetWindowRect(dlg, &d);
    EXPECT_NEAR((d.left + d.right) / 2, (f.left + f.right) / 2, 1);
    EXPECT_NEAR((d.top + d.bottom) / 2, (f.top + f.bottom) / 2, 1);
    EXPECT_EQ(Widget(dlg)->geometry(), QRect(d.left, d.top, d.right - d.left, d.bottom - d.top));
}

TEST_F(PresenterTest, ControlsWithoutAPlaceAreLaidOutInAColumn) {
    HWND dlg = CreateDialogParamW(nullptr, kBareDialog, nullptr, CALLBACK_Ask, 0);
    m_windows.push_back(dlg);
    ShowWindow(dlg, SW_SHOW);
    Pump();
    RECT ok, text, client;
    GetWindowRect(GetDlgItem(dlg, IDOK), &ok);
    GetWindowRect(GetDlgItem(dlg, 100), &text);
    GetClientRect(dlg, &client);
    EXPECT_GT(ok.right - ok.left, 0);
    EXPECT_GT(ok.bottom - ok.top, 0);
    EXPECT_GE(text.top, ok.bottom); // below the button, not on it
    POINT corner{text.right, text.bottom};
    ScreenToClient(dlg, &corner);
    EXPECT_LE(corner.x, client.right);
    EXPECT_LE(corner.y, client.bottom);
}

TEST_F(PresenterTest, AMessageBoxIsShownAndAnswered) {
    HWND frame = MakeWindow(300, 200);
    QString shownText;
    Later([&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
                shownText = box->text();
                QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
                return true;
            }
        return false;
    });
    EXPECT_EQ(MessageBoxW(frame, L"Replace the file?", L"Save", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(shownText, QStringLiteral("Replace the file?"));
    EXPECT_TRUE(IsWindowEnabled(frame));
}

TEST_F(PresenterTest, AQuitPostedInsideAModalLoopStillEndsTheProgram) {
    HWND frame = MakeWindow(300, 200);
    Later([] {
        PostQuitMessage(3);
        return true;
    });
    EXPECT_EQ(DialogBoxParamW(nullptr, kAskDialog, frame, CALLBACK_Ask, 0), IDCANCEL);
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.wParam, WPARAM(3));
}

TEST_F(PresenterTest, AFrameClosedUnderItsModalDialogCrashesNothing) {
    HWND frame = MakeWindow(300, 200);
    Later([&] {
        if (!ShownWidgetWithButton(QStringLiteral("OK")))
            return false;
        Widget(frame)->close(); // the frame's close box, under the dialog
        return true;
    });
    EXPECT_EQ(DialogBoxParamW(nullptr, kAskDialog, frame, CALLBACK_Ask, 0), IDCANCEL);
    EXPECT_FALSE(IsWindow(frame));
    Pump();
}

TEST_F(PresenterTest, KeyboardFocusFollowsTheModelAndThePerson) {
    HWND dlg = CreateDialogParamW(nullptr, kAskDialog, nullptr, CALLBACK_Ask, 0);
    m_windows.push_back(dlg);
    ShowWindow(dlg, SW_SHOW);
    Pump();
    HWND ok = GetDlgItem(dlg, IDOK), cancel = GetDlgItem(dlg, IDCANCEL);
    SetFocus(cancel);
    Pump();
    EXPECT_EQ(Widget(dlg)->focusWidget(), Widget(cancel));
    Widget(dlg)->activateWindow();
    QApplication::processEvents();
    Widget(ok)->setFocus(Qt::TabFocusReason);
    Pump();
    ASSERT_TRUE(Widget(ok)->hasFocus()); // the window was activated
    EXPECT_EQ(GetFocus(), ok);
}

TEST_F(PresenterTest, ModelTimersFireWhileQtWaits) {
    HWND frame = MakeWindow(100, 100);
    SetTimer(frame, 7, 20, nullptr);
    MSG msg;
    ASSERT_EQ(GetMessageW(&msg, frame, WM_TIMER, WM_TIMER), 1);
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_EQ(msg.wParam, WPARAM(7));
    KillTimer(frame, 7);
}

TEST_F(PresenterTest, WithNothingShownAndNoTimerNothingCanArrive) {
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), -1);
}

} // namespace
