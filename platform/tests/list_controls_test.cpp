#include "platform/windowing/list_controls.h"

#include "platform/windowing/controls.h"
#include "platform/windowing/message.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Heard {
    int id;
    UINT code;
};
std::vector<Heard> g_heard;

LRESULT OwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND)
        g_heard.push_back({LOWORD(wp), HIWORD(wp)});
    return DefWindowProcW(h, msg, wp, lp);
}

// An owner window that records the notifications of its controls.
class ListControls : public ::testing::Test {
protected:
    void SetUp() override {
        static bool registered = false;
        if (!registered) {
            WNDCLASSW cls{};
            cls.lpfnWndProc = OwnerProc;
            cls.lpszClassName = L"ListOwner";
            RegisterClassW(&cls);
            registered = true;
        }
        g_heard.clear();
        m_owner = CreateWindowExW(0, L"ListOwner", L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_TRUE(m_owner);
    }
    void TearDown() override { DestroyWindow(m_owner); }
    HWND Make(LPCWSTR cls, DWORD style, int id) {
        return CreateWindowExW(0, cls, L"", WS_CHILD | style, 0, 0, 100, 20, m_owner,
                               reinterpret_cast<HMENU>(intptr_t(id)), nullptr, nullptr);
    }
    static std::wstring Text(HWND h, int index, UINT lenMsg, UINT textMsg) {
        LRESULT n = SendMessageW(h, lenMsg, WPARAM(index), 0);
        if (n < 0)
            return L"<none>";
        std::wstring s(size_t(n) + 1, L'\0');
        SendMessageW(h, textMsg, WPARAM(index), reinterpret_cast<LPARAM>(s.data()));
        s.resize(size_t(n));
        return s;
    }
    static LPARAM Str(const wchar_t* s) { return reinterpret_cast<LPARAM>(s); }
    HWND m_owner = nullptr;
};

TEST_F(ListControls, ComboKeepsOrderItemDataAndShowsItsSelectionAsText) {
    HWND c = Make(WC_COMBOBOX, CBS_DROPDOWNLIST, 17);
    ASSERT_TRUE(c);
    EXPECT_EQ(SendMessageW(c, CB_ADDSTRING, 0, Str(L"FILE")), 0);
    EXPECT_EQ(SendMessageW(c, CB_ADDSTRING, 0, Str(L"USB")), 1);
    EXPECT_EQ(SendMessageW(c, CB_INSERTSTRING, 1, Str(L"10.0.0.9")), 1);
    EXPECT_EQ(SendMessageW(c, CB_INSERTSTRING, 9, Str(L"bad")), CB_ERR);
    EXPECT_EQ(SendMessageW(c, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(Text(c, 1, CB_GETLBTEXTLEN, CB_GETLBTEXT), L"10.0.0.9");
    EXPECT_EQ(Text(c, 3, CB_GETLBTEXTLEN, CB_GETLBTEXT), L"<none>");
    EXPECT_EQ(SendMessageW(c, CB_SETITEMDATA, 2, 115200), CB_OKAY);
    EXPECT_EQ(SendMessageW(c, CB_GETITEMDATA, 2, 0), 115200);
    EXPECT_EQ(SendMessageW(c, CB_GETITEMDATA, 7, 0), CB_ERR);

    EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(c, CB_SETCURSEL, 2, 0), 2);
    wchar_t buf[16];
    GetWindowTextW(c, buf, 16);
    EXPECT_STREQ(buf, L"USB");
    // Inserting above the selection keeps the same entry selected; deleting it clears it.
    SendMessageW(c, CB_INSERTSTRING, 0, Str(L"first"));
    EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(SendMessageW(c, CB_DELETESTRING, 3, 0), 3);
    EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(GetWindowTextLengthW(c), 0);
    EXPECT_TRUE(g_heard.empty()); // the program's own changes notify nobody
}

TEST_F(ListControls, SearchesIgnoreCaseAndWrapFromTheStart) {
    HWND c = Make(WC_COMBOBOX, CBS_DROPDOWNLIST, 1);
    for (const wchar_t* s : {L"COM1", L"Com10", L"LPT1", L"com2"})
        SendMessageW(c, CB_ADDSTRING, 0, Str(s));
    struct Case {
        UINT msg;
        int after;
        const wchar_t* key;
        int found;
    } cases[] = {
        {CB_FINDSTRING, -1, L"com", 0},
        {CB_FINDSTRING, 0, L"com", 1},
        {CB_FINDSTRING, 3, L"com", 0},
        {CB_FINDSTRING, -1, L"usb", CB_ERR},
        {CB_FINDSTRINGEXACT, -1, L"COM2", 3},
        {CB_FINDSTRINGEXACT, -1, L"COM", CB_ERR},
        {CB_FINDSTRING, -1, L"", 0},
        {CB_SELECTSTRING, -1, L"lpt", 2},
        {CB_SELECTSTRING, -1, L"nothing", CB_ERR},
    };
    for (const Case& k : cases)
        EXPECT_EQ(SendMessageW(c, k.msg, WPARAM(k.after), Str(k.key)), k.found) << k.key;
    EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 2); // the failed select left it alone
}

TEST_F(ListControls, SortedListsPlaceNewEntriesInOrder) {
    HWND l = Make(WC_LISTBOX, LBS_SORT, 2);
    for (const wchar_t* s : {L"pear", L"Apple", L"fig", L"apple"})
        SendMessageW(l, LB_ADDSTRING, 0, Str(s));
    std::vector<std::wstring> got;
    for (int i = 0; i < 4; ++i)
        got.push_back(Text(l, i, LB_GETTEXTLEN, LB_GETTEXT));
    EXPECT_EQ(got, (std::vector<std::wstring>{L"Apple", L"apple", L"fig", L"pear"}));
}

// Entries chosen one by one, all at once and as ranges, in the two kinds of list that hold
// several; a list of one holds just its current entry.
TEST_F(ListControls, ListsOfSeveralChosenEntries) {
    HWND extended = Make(WC_LISTBOX, LBS_MULTIPLESEL | LBS_EXTENDEDSEL, 40);
    HWND multiple = Make(WC_LISTBOX, LBS_MULTIPLESEL, 41);
    HWND single = Make(WC_LISTBOX, 0, 42);
    for (HWND h : {extended, multiple, single})
        for (const wchar_t* s : {L"a", L"b", L"c", L"d", L"e"})
            SendMessageW(h, LB_ADDSTRING, 0, Str(s));
    auto chosen = [](HWND h) {
        std::vector<int> got;
        for (int i = 0; i < 5; ++i)
            if (SendMessageW(h, LB_GETSEL, WPARAM(i), 0) > 0)
                got.push_back(i);
        return got;
    };
    const struct {
        UINT msg;
        WPARAM wp;
        LPARAM lp;
        LRESULT result;
        std::vector<int> after;
    } steps[] = {
        {LB_SETSEL, TRUE, -1, LB_OKAY, {0, 1, 2, 3, 4}},
        {LB_SELITEMRANGEEX, 3, 1, LB_OKAY, {0, 4}}, // first above last clears
        {LB_SELITEMRANGEEX, 1, 99, LB_OKAY, {0, 1, 2, 3, 4}},
        {LB_SETSEL, FALSE, 2, LB_OKAY, {0, 1, 3, 4}},
        {LB_SETSEL, FALSE, 5, LB_ERR, {0, 1, 3, 4}},
        {LB_SELITEMRANGEEX, 7, 9, LB_ERR, {0, 1, 3, 4}},
        {LB_SETSEL, FALSE, -1, LB_OKAY, {}},
        {LB_SELITEMRANGEEX, 0, 2, LB_OKAY, {0, 1, 2}},
    };
    for (const auto& k : steps) {
        EXPECT_EQ(SendMessageW(extended, k.msg, k.wp, k.lp), k.result) << k.msg;
        EXPECT_EQ(chosen(extended), k.after) << k.msg;
    }
    EXPECT_EQ(SendMessageW(extended, LB_GETSELCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(extended, LB_GETSEL, 9, 0), LB_ERR);

    // A click picks just that entry in an extended list and turns it over in a multiple one.
    EXPECT_TRUE(platform::ChooseListItem(extended, 4));
    EXPECT_EQ(chosen(extended), std::vector<int>{4});
    EXPECT_EQ(SendMessageW(extended, LB_GETCURSEL, 0, 0), 4);
    SendMessageW(multiple, LB_SETSEL, TRUE, 1);
    EXPECT_TRUE(platform::ChooseListItem(multiple, 3));
    EXPECT_TRUE(platform::ChooseListItem(multiple, 1));
    EXPECT_EQ(chosen(multiple), std::vector<int>{3});

    SendMessageW(single, LB_SETCURSEL, 2, 0);
    EXPECT_EQ(SendMessageW(single, LB_SETSEL, TRUE, 1), LB_ERR);
    EXPECT_EQ(SendMessageW(single, LB_GETSELCOUNT, 0, 0), LB_ERR);
    EXPECT_EQ(chosen(single), std::vector<int>{2});
}

TEST_F(ListControls, ThePointerOnAnEntryScrollsItIntoView) {
    HWND list = Make(WC_LISTBOX, LBS_EXTENDEDSEL, 43);
    MoveWindow(list, 0, 0, 100, 6 * platform::kListItemHeight, FALSE);
    for (int i = 0; i < 30; ++i)
        SendMessageW(list, LB_ADDSTRING, 0, Str(L"entry"));
    EXPECT_TRUE(platform::PointListItem(list, 3));
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
    EXPECT_TRUE(platform::PointListItem(list, 20));
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 15); // the last of six rows
    EXPECT_TRUE(platform::PointListItem(list, 2));
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 2);
    EXPECT_FALSE(platform::PointListItem(list, 30));
    EXPECT_EQ(SendMessageW(list, LB_SETTOPINDEX, 30, 0), LB_ERR);
    HWND combo = Make(WC_COMBOBOX, CBS_DROPDOWNLIST, 44);
    SendMessageW(combo, CB_ADDSTRING, 0, Str(L"x"));
    EXPECT_FALSE(platform::PointListItem(combo, 0));
}

TEST_F(ListControls, UserChoicesNotifyTheOwner) {
    HWND combo = Make(WC_COMBOBOX, CBS_DROPDOWNLIST, 30);
    HWND quiet = Make(WC_LISTBOX, 0, 31);
    HWND list = Make(WC_LISTBOX, LBS_NOTIFY, 32);
    for (HWND h : {quiet, list})
        for (const wchar_t* s : {L"a", L"b"})
            SendMessageW(h, LB_ADDSTRING, 0, Str(s));
    SendMessageW(combo, CB_ADDSTRING, 0, Str(L"x"));

    EXPECT_TRUE(platform::ChooseListItem(combo, 0));
    EXPECT_TRUE(platform::ChooseListItem(quiet, 1)); // no LBS_NOTIFY: nothing heard
    EXPECT_TRUE(platform::DoubleClickListItem(list, 1));
    EXPECT_FALSE(platform::ChooseListItem(list, 2));
    EXPECT_FALSE(platform::ChooseListItem(m_owner, 0));
    EnableWindow(list, FALSE);
    EXPECT_FALSE(platform::DoubleClickListItem(list, 0));

    ASSERT_EQ(g_heard.size(), 3u);
    EXPECT_EQ(g_heard[0].id, 30);
    EXPECT_EQ(g_heard[0].code, CBN_SELCHANGE);
    EXPECT_EQ(g_heard[1].id, 32);
    EXPECT_EQ(g_heard[1].code, LBN_SELCHANGE);
    EXPECT_EQ(g_heard[2].code, LBN_DBLCLK);
    EXPECT_EQ(SendMessageW(quiet, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
}

std::vector<std::pair<HWND, platform::ControlChange>> g_changes;

TEST_F(ListControls, TheDisplayHearsOfEveryChange) {
    platform::SetControlChangeHook(
        [](HWND h, platform::ControlChange what) { g_changes.emplace_back(h, what); });
    HWND l = Make(WC_LISTBOX, 0, 3);
    SendMessageW(l, LB_ADDSTRING, 0, Str(L"a"));
    SendMessageW(l, LB_SETCURSEL, 0, 0);
    SendMessageW(l, LB_RESETCONTENT, 0, 0);
    platform::SetControlChangeHook(nullptr);
    using C = platform::ControlChange;
    std::vector<std::pair<HWND, C>> want{
        {l, C::Items}, {l, C::Selection}, {l, C::Items}, {l, C::Selection}};
    EXPECT_EQ(g_changes, want);
    EXPECT_EQ(SendMessageW(l, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(l, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(ListControls, ADropDownKeepsTheClosedFieldHeightAndKnowsItsOpenOne) {
    HWND drop = Make(WC_COMBOBOX, CBS_DROPDOWNLIST, 40); // made 100 x 20 by Make
    RECT r{};
    GetWindowRect(drop, &r);
    EXPECT_EQ(r.bottom - r.top, platform::kComboFieldHeight);
    HWND tall = CreateWindowExW(0, WC_COMBOBOX, L"", WS_CHILD | CBS_DROPDOWN, 5, 5, 80, 150,
                                m_owner, nullptr, nullptr, nullptr);
    GetWindowRect(tall, &r);
    EXPECT_EQ(r.bottom - r.top, platform::kComboFieldHeight);
    RECT open{};
    EXPECT_EQ(SendMessageW(tall, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&open)),
              CB_OKAY);
    EXPECT_EQ(open.bottom - open.top, 150);
    EXPECT_EQ(open.top, r.top);
    HWND simple = Make(WC_COMBOBOX, CBS_SIMPLE, 41); // the list is always open
    GetWindowRect(simple, &r);
    EXPECT_EQ(r.bottom - r.top, 20);
}

} // namespace
