#include "platform/windowing/edit_control.h"

#include "platform/framework/edit.h"
#include "platform/graphics/gdi.h"
#include "platform/windowing/controls.h"
#include "platform/windowing/message.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// An owner that records its edit's notifications and who has the focus at each.
struct Owner : CWnd {
    std::vector<UINT> codes;
    HWND focusAtKill = nullptr;
    HBRUSH brush = nullptr;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* r) override {
        if (msg == WM_COMMAND && HIWORD(DWORD(wp)) != BN_CLICKED) {
            codes.push_back(HIWORD(DWORD(wp)));
            if (HIWORD(DWORD(wp)) == EN_KILLFOCUS)
                focusAtKill = ::GetFocus();
        }
        if (msg == WM_CTLCOLOREDIT && brush) {
            ::SetTextColor(reinterpret_cast<HDC>(wp), RGB(0x80, 0x80, 0x80));
            *r = reinterpret_cast<LRESULT>(brush);
            return TRUE;
        }
        return CWnd::OnWndMsg(msg, wp, lp, r);
    }
};

struct EditTest : ::testing::Test {
    Owner owner;
    CEdit edit, other;
    void SetUp() override {
        platform::ResetMessageQueue();
        ASSERT_TRUE(owner.CreateEx(0, nullptr, L"o", WS_POPUP, CRect(0, 0, 200, 100), nullptr, 0));
        ASSERT_TRUE(edit.Create(WS_VISIBLE, CRect(0, 0, 80, 12), &owner, 10));
        ASSERT_TRUE(other.Create(WS_VISIBLE, CRect(0, 20, 80, 32), &owner, 11));
    }
    void TearDown() override {
        if (owner.m_hWnd)
            owner.DestroyWindow();
        if (brush)
            ::DeleteObject(brush);
    }
    CString Text() {
        CString s;
        edit.GetWindowText(s);
        return s;
    }
    HBRUSH brush = nullptr;
};

TEST_F(EditTest, TypingReplacesTheSelectionWithinTheLimitAndTellsTheOwner) {
    edit.SetWindowText(L"12.5");
    EXPECT_EQ(owner.codes, std::vector<UINT>{EN_CHANGE}); // setting the text changes it too
    owner.codes.clear();
    edit.SetLimitText(6);
    EXPECT_EQ(edit.GetLimitText(), 6u);
    edit.SetSel(0, -1);
    EXPECT_TRUE(platform::TypeIntoEdit(edit.m_hWnd, L"300"));
    EXPECT_EQ(Text(), L"300");
    EXPECT_TRUE(edit.GetModify());
    // Past the limit the whole typing is refused, and the owner hears why.
    EXPECT_FALSE(platform::TypeIntoEdit(edit.m_hWnd, L"4567"));
    EXPECT_EQ(Text(), L"300");
    EXPECT_TRUE(platform::TypeIntoEdit(edit.m_hWnd, L"\b"));
    edit.SendMessage(WM_CHAR, L'9');
    EXPECT_EQ(Text(), L"309");
    EXPECT_EQ(owner.codes, (std::vector<UINT>{EN_CHANGE, EN_MAXTEXT, EN_CHANGE, EN_CHANGE}));
    int from = -1, to = -1;
    edit.GetSel(from, to);
    EXPECT_EQ(from, 3);
    EXPECT_EQ(to, 3);
    edit.SetSel(1, 2);
    edit.ReplaceSel(L"77");
    EXPECT_EQ(Text(), L"3779");
    // Setting the same text again is no change.
    owner.codes.clear();
    edit.SetWindowText(L"3779");
    EXPECT_TRUE(owner.codes.empty());
}

TEST_F(EditTest, ReadOnlyDisabledAndDigitOnlyEditsRefuseWhatTheyMustNotTake) {
    edit.SetReadOnly(TRUE);
    EXPECT_FALSE(platform::TypeIntoEdit(edit.m_hWnd, L"a"));
    edit.SetReadOnly(FALSE);
    edit.ModifyStyle(0, ES_NUMBER);
    EXPECT_FALSE(platform::TypeIntoEdit(edit.m_hWnd, L"1a"));
    EXPECT_TRUE(platform::TypeIntoEdit(edit.m_hWnd, L"12"));
    edit.EnableWindow(FALSE);
    EXPECT_FALSE(platform::TypeIntoEdit(edit.m_hWnd, L"3"));
    EXPECT_FALSE(platform::TypeIntoEdit(owner.m_hWnd, L"3")); // no edit at all
    EXPECT_EQ(Text(), L"12");
}

TEST_F(EditTest, LosingTheFocusNamesTheWindowGainingIt) {
    edit.SetFocus();
    other.SetFocus();
    EXPECT_EQ(owner.codes, (std::vector<UINT>{EN_SETFOCUS, EN_KILLFOCUS, EN_SETFOCUS}));
    EXPECT_EQ(owner.focusAtKill, other.m_hWnd);
}

TEST_F(EditTest, TheOwnerChoosesTheColours) {
    platform::EditColours c{};
    EXPECT_FALSE(platform::QueryEditColours(edit.m_hWnd, &c)); // defaults
    brush = owner.brush = ::CreateSolidBrush(RGB(0xF0, 0xF0, 0xF0));
    ASSERT_TRUE(platform::QueryEditColours(edit.m_hWnd, &c));
    EXPECT_EQ(c.text, RGB(0x80, 0x80, 0x80));
    EXPECT_EQ(c.background, RGB(0xF0, 0xF0, 0xF0));
}

// A subclassed edit sees its messages first and hands the rest to the model.
struct DigitsOnly : CEdit {
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* r) override {
        if (msg == WM_CHAR && (wp < L'0' || wp > L'9')) {
            *r = 0;
            return TRUE;
        }
        return CEdit::OnWndMsg(msg, wp, lp, r);
    }
};

TEST_F(EditTest, ASubclassedEditFiltersItsKeys) {
    DigitsOnly digits;
    ASSERT_TRUE(digits.SubclassWindow(other.UnsubclassWindow()));
    for (wchar_t c : std::wstring(L"4x2"))
        digits.SendMessage(WM_CHAR, c);
    CString s;
    digits.GetWindowText(s);
    EXPECT_EQ(s, L"42");
    EXPECT_EQ(owner.codes, (std::vector<UINT>{EN_CHANGE, EN_CHANGE}));
}

// An edit that gives itself a cue text as soon as it is bound to its window.
struct CuedEdit : CEdit {
    void PreSubclassWindow() override { SetCueBanner(L"345"); }
};

TEST_F(EditTest, TheCueTextIsKeptBesideAnEmptyValue) {
    EXPECT_EQ(platform::EditCueBanner(edit.m_hWnd), L"");
    EXPECT_TRUE(edit.SetCueBanner(L"1920"));
    EXPECT_EQ(platform::EditCueBanner(edit.m_hWnd), L"1920");
    EXPECT_EQ(Text(), L"");
    EXPECT_TRUE(owner.codes.empty()); // no change of the value
    wchar_t small[3] = {L'x', L'x', L'x'};
    EXPECT_TRUE(edit.SendMessage(EM_GETCUEBANNER, reinterpret_cast<WPARAM>(small), 3));
    EXPECT_EQ(std::wstring(small), L"19");
    EXPECT_FALSE(edit.SendMessage(EM_GETCUEBANNER, 0, 3));
    edit.SetCueBanner(nullptr);
    EXPECT_EQ(platform::EditCueBanner(edit.m_hWnd), L"");
    EXPECT_EQ(platform::EditCueBanner(owner.m_hWnd), L""); // not an edit

    // Bound by creation and by subclassing alike.
    CuedEdit created, subclassed;
    ASSERT_TRUE(created.Create(WS_VISIBLE, CRect(0, 40, 80, 52), &owner, 12));
    EXPECT_EQ(platform::EditCueBanner(created.m_hWnd), L"345");
    ASSERT_TRUE(subclassed.SubclassWindow(other.UnsubclassWindow()));
    EXPECT_EQ(platform::EditCueBanner(subclassed.m_hWnd), L"345");
}

} // namespace
