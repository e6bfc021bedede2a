// Popup menus shown by the presenter: what the person picks comes back as the model asked for
// it, and the owner prepares each level before it opens.
#include "platform/display/frame_menu_bar.h"

#include "display_fixture.h"
#include "platform/framework/frame_wnd.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/menu_hidden.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

constexpr UINT kCut = 9801, kCopy = 9802, kPaste = 9803, kWeld = 9804, kTrim = 9805;

// The owner grays Paste and checks Copy whenever a level opens, as command-UI handlers do.
std::vector<HMENU> g_initialised;
LRESULT OwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITMENUPOPUP) {
        HMENU menu = reinterpret_cast<HMENU>(wp);
        g_initialised.push_back(menu);
        EnableMenuItem(menu, kPaste, MF_BYCOMMAND | MF_GRAYED);
        CheckMenuItem(menu, kCopy, MF_BYCOMMAND | MF_CHECKED);
        CheckMenuItem(menu, kTrim, MF_BYCOMMAND | MF_CHECKED);
    }
    if (msg == WM_COMMAND)
        DisplayTestLog().push_back(Seen{h, msg, wp, lp});
    return DefWindowProcW(h, msg, wp, lp);
}

// Acts on the open popup once Qt's loop runs inside the menu's own loop.
void WhenOpen(std::function<bool(QMenu*)> act) {
    QTimer::singleShot(10, [act] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || !menu->isVisible() || !act(menu))
            WhenOpen(act);
    });
}

QAction* ActionFor(QMenu* menu, UINT id) {
    for (QAction* a : menu->actions())
        if (a->data().isValid() && a->data().toUInt() == id)
            return a;
    return nullptr;
}

class PopupMenuTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        g_initialised.clear();
        static bool registered = [] {
            WNDCLASSW cls{};
            cls.lpfnWndProc = OwnerProc;
            cls.lpszClassName = L"PopupOwner";
            return RegisterClassW(&cls) != FALSE;
        }();
        ASSERT_TRUE(registered);
        owner = CreateWindowExW(0, L"PopupOwner", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                30, 300, 200, nullptr, nullptr, nullptr, nullptr);
        m_windows.push_back(owner);
        Pump();
        menu = CreatePopupMenu();
        sub = CreatePopupMenu();
        AppendMenuW(sub, MF_STRING, kWeld, L"Weld");
        AppendMenuW(sub, MF_STRING, kTrim, L"Trim");
        AppendMenuW(menu, MF_STRING, kCut, L"Cu&t\tCtrl+X");
        AppendMenuW(menu, MF_STRING, kCopy, L"&Copy\tCtrl+C");
        AppendMenuW(menu, MF_STRING, kPaste, L"&Paste\tCtrl+V");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&Shape");
    }
    void TearDown() override {
        DestroyMenu(menu);
        DisplayTest::TearDown();
    }
    HWND owner = nullptr;
    HMENU menu = nullptr, sub = nullptr;
};

TEST_F(PopupMenuTest, APickIsReturnedOrPostedAsTheCallerAsks) {
    struct Case {
        const char* name;
        UINT flags;
        UINT pick; // 0: the person presses Escape
        BOOL returned;
        std::vector<UINT> posted;
    } cases[] = {
        {"returned", TPM_RETURNCMD, kCut, BOOL(kCut), {}},
        {"posted", 0, kCut, TRUE, {kCut}},
        {"not told", TPM_NONOTIFY, kCut, TRUE, {}},
        {"escape, returned", TPM_RETURNCMD, 0, 0, {}},
        {"escape, posted", 0, 0, TRUE, {}},
        {"grayed item", TPM_RETURNCMD, kPaste, 0, {}},
    };
    for (const Case& c : cases) {
        Log().clear();
        WhenOpen([&](QMenu* shown) {
            if (!c.pick) {
                QTest::keyClick(shown, Qt::Key_Escape);
                return true;
            }
            QAction* a = ActionFor(shown, c.pick);
            if (!a)
                return false;
            if (a->isEnabled()) {
                shown->setActiveAction(a);
                QTest::keyClick(shown, Qt::Key_Return);
            } else {
                QTest::mouseClick(shown, Qt::LeftButton, {}, shown->actionGeometry(a).center());
                QTest::keyClick(shown, Qt::Key_Escape);
            }
            return true;
        });
        EXPECT_EQ(TrackPopupMenu(menu, c.flags, 100, 80, 0, owner, nullptr), c.returned) << c.name;
        Pump();
        std::vector<UINT> posted;
        for (const Seen& s : Received({WM_COMMAND}))
            posted.push_back(LOWORD(DWORD(s.wp)));
        EXPECT_EQ(posted, c.posted) << c.name;
    }
}

TEST_F(PopupMenuTest, EachLevelIsPreparedByTheOwnerBeforeItOpens) {
    bool copyChecked = false, pasteEnabled = true, trimChecked = false;
    QImage shot;
    WhenOpen([&](QMenu* shown) {
        QAction* shape = nullptr;
        for (QAction* a : shown->actions())
            if (a->menu())
                shape = a;
        if (!shape || !ActionFor(shown, kCopy))
            return false;
        copyChecked = ActionFor(shown, kCopy)->isChecked();
        pasteEnabled = ActionFor(shown, kPaste)->isEnabled();
        shown->setActiveAction(shape);
        QTest::keyClick(shown, Qt::Key_Right);
        WhenOpen([&, shown](QMenu* inner) {
            if (inner == shown || !ActionFor(inner, kTrim))
                return false;
            trimChecked = ActionFor(inner, kTrim)->isChecked();
            QPixmap picture(shown->width() + inner->width(),
                            std::max(shown->height(), inner->height()));
            picture.fill(Qt::white);
            shown->render(&picture);
            inner->render(&picture, QPoint(shown->width(), 0));
            shot = picture.toImage();
            inner->setActiveAction(ActionFor(inner, kTrim));
            QTest::keyClick(inner, Qt::Key_Return);
            return true;
        });
        return true;
    });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 80, 0, owner, nullptr), BOOL(kTrim));
    EXPECT_TRUE(copyChecked);
    EXPECT_FALSE(pasteEnabled);
    EXPECT_TRUE(trimChecked);
    EXPECT_EQ(g_initialised, (std::vector<HMENU>{menu, sub}));
    ASSERT_FALSE(shot.isNull());
    shot.save(QString::fromUtf8(TEST_BINARY_DIR) + QStringLiteral("/popup_menu.png"));
}

TEST_F(PopupMenuTest, AHiddenItemIsLeftOutOfThePopup) {
    ASSERT_TRUE(SetMenuItemHidden(menu, kPaste, MF_BYCOMMAND, TRUE));
    ASSERT_TRUE(SetMenuItemHidden(menu, 3, MF_BYPOSITION, TRUE)); // the separator
    bool pasteVisible = true, cutVisible = false, separatorVisible = true;
    QImage shot;
    WhenOpen([&](QMenu* shown) {
        if (!ActionFor(shown, kPaste) || shown->actions().size() < 4)
            return false;
        pasteVisible = ActionFor(shown, kPaste)->isVisible();
        cutVisible = ActionFor(shown, kCut)->isVisible();
        separatorVisible = shown->actions()[3]->isVisible();
        shot = shown->grab().toImage();
        QTest::keyClick(shown, Qt::Key_Escape);
        return true;
    });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 80, 0, owner, nullptr), 0);
    EXPECT_FALSE(pasteVisible);
    EXPECT_FALSE(separatorVisible);
    EXPECT_TRUE(cutVisible);
    ASSERT_FALSE(shot.isNull());
    shot.save(QString::fromUtf8(TEST_BINARY_DIR) + QStringLiteral("/popup_menu_hidden.png"));
}

} // namespace
