#include "platform/windowing/ip_address_control.h"

#include "platform/windowing/controls.h"
#include "platform/windowing/message.h"

#include <gtest/gtest.h>

#include <string>

namespace {

UINT g_lastCode = 0xFFFF;

LRESULT OwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND)
        g_lastCode = HIWORD(wp);
    return DefWindowProcW(h, msg, wp, lp);
}

HWND Owner() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW cls{};
        cls.lpfnWndProc = OwnerProc;
        cls.lpszClassName = L"IPOwner";
        RegisterClassW(&cls);
        registered = true;
    }
    return CreateWindowExW(0, L"IPOwner", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                           nullptr);
}

std::wstring Text(HWND h) {
    wchar_t buf[32];
    GetWindowTextW(h, buf, 32);
    return buf;
}

TEST(IPAddressControl, FourFieldsPackedFirstHighAndBlankUntilSet) {
    HWND owner = Owner();
    HWND ip = CreateWindowExW(0, WC_IPADDRESS, L"", WS_CHILD, 0, 0, 100, 20, owner,
                              reinterpret_cast<HMENU>(intptr_t(18624)), nullptr, nullptr);
    ASSERT_TRUE(ip);
    DWORD a = 1;
    EXPECT_TRUE(SendMessageW(ip, IPM_ISBLANK, 0, 0));
    EXPECT_EQ(SendMessageW(ip, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&a)), 0);
    EXPECT_EQ(a, 0u);

    SendMessageW(ip, IPM_SETADDRESS, 0, LPARAM(MAKEIPADDRESS(192, 168, 0, 7)));
    EXPECT_EQ(SendMessageW(ip, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&a)), 4);
    EXPECT_EQ(a, 0xC0A80007u);
    EXPECT_EQ(Text(ip), L"192.168.0.7");

    // The user blanks the third field and types past the range of the last.
    EXPECT_TRUE(platform::EditIPAddressField(ip, 2, -1));
    EXPECT_TRUE(platform::EditIPAddressField(ip, 3, 999));
    EXPECT_EQ(g_lastCode, EN_CHANGE);
    EXPECT_EQ(Text(ip), L"192.168..255");
    EXPECT_EQ(SendMessageW(ip, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&a)), 3);
    EXPECT_EQ(a, MAKEIPADDRESS(192, 168, 0, 255));
    EXPECT_EQ(platform::GetIPAddressField(ip, 2), -1);
    EXPECT_FALSE(platform::EditIPAddressField(ip, 4, 1));
    EXPECT_FALSE(platform::EditIPAddressField(owner, 0, 1));

    // A narrowed range brings the field into it.
    EXPECT_TRUE(SendMessageW(ip, IPM_SETRANGE, 0, MAKEIPRANGE(1, 100)));
    EXPECT_EQ(platform::GetIPAddressField(ip, 0), 100);
    EXPECT_FALSE(SendMessageW(ip, IPM_SETRANGE, 1, MAKEIPRANGE(9, 2)));

    SendMessageW(ip, IPM_CLEARADDRESS, 0, 0);
    EXPECT_TRUE(SendMessageW(ip, IPM_ISBLANK, 0, 0));
    EXPECT_EQ(Text(ip), L"...");
    DestroyWindow(owner);
}

// Addresses typed as people type them: "." after a number, or a third digit, moves on to the
// next field; a "." in a blank field stays there.
TEST(IPAddressControl, TypingMovesOnAtADotAndAtAFullField) {
    struct Case {
        const wchar_t* typed;
        const wchar_t* text;
    } cases[] = {
        {L"192.168.0.7", L"192.168.0.7"}, {L"1921680.7", L"192.168.0.7"},
        {L"10.0.0.12", L"10.0.0.12"},     {L".10..2", L"10.2.."},
        {L"300.1", L"255.1.."},        // a full field is brought into its range and left
        {L"1.2.3.2345", L"1.2.3.234"}, // the last field takes no fourth digit
        {L"12\b3.4", L"13.4.."},
    };
    HWND owner = Owner();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "typed " << c.typed);
        HWND ip = CreateWindowExW(0, WC_IPADDRESS, L"", WS_CHILD, 0, 0, 100, 20, owner,
                                  reinterpret_cast<HMENU>(intptr_t(18624)), nullptr, nullptr);
        SendMessageW(ip, IPM_SETFOCUS, 0, 0);
        g_lastCode = 0xFFFF;
        for (const wchar_t* t = c.typed; *t; ++t)
            SendMessageW(ip, WM_CHAR, WPARAM(*t), 0);
        EXPECT_EQ(Text(ip), c.text);
        EXPECT_EQ(g_lastCode, EN_CHANGE);
        DestroyWindow(ip);
    }
    // Entering a field by IPM_SETFOCUS selects it: typing replaces what it held.
    HWND ip = CreateWindowExW(0, WC_IPADDRESS, L"", WS_CHILD, 0, 0, 100, 20, owner, nullptr,
                              nullptr, nullptr);
    SendMessageW(ip, IPM_SETADDRESS, 0, LPARAM(MAKEIPADDRESS(192, 168, 0, 7)));
    SendMessageW(ip, IPM_SETFOCUS, 2, 0);
    for (wchar_t t : std::wstring(L"1.20"))
        SendMessageW(ip, WM_CHAR, WPARAM(t), 0);
    EXPECT_EQ(Text(ip), L"192.168.1.20");
    DestroyWindow(owner);
}

} // namespace
