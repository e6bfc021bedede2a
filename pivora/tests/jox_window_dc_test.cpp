#include "pivora/framework/jox_window_dc.h"

#include "platform/framework/wnd.h"

#include <gtest/gtest.h>

namespace {

TEST(JoxWindowDC, HoldsTheWindowContextAndReleasesIt) {
    CWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    HDC held = nullptr;
    {
        CJoxWindowDC dc(&w);
        held = dc.m_hDC;
        EXPECT_EQ(WindowFromDC(held), w.m_hWnd);
    }
    EXPECT_EQ(WindowFromDC(held), nullptr);
    CWnd ghost;
    ghost.m_hWnd = reinterpret_cast<HWND>(0x10);
    EXPECT_THROW(CJoxWindowDC dc(&ghost), CResourceException);
    ghost.m_hWnd = nullptr;
}

} // namespace
