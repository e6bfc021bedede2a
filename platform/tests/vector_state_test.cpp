#include "platform/core/vector_state.h"

#include "platform/windowing/message.h"

#include <gtest/gtest.h>

namespace {

#if defined(__x86_64__) || defined(__i386__)
// As drawing code may: a 256-bit register written and left so.
__attribute__((target("avx"), noinline)) void UseUpperState() {
    __asm__ volatile("vpcmpeqd %%ymm0, %%ymm0, %%ymm0" ::: "xmm0");
}
#else
void UseUpperState() {}
#endif

LRESULT WideProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_USER)
        UseUpperState();
    return DefWindowProcW(h, msg, wp, lp);
}

struct VectorState : ::testing::Test {
    void SetUp() override {
        UseUpperState();
        if (platform::UpperVectorStateInUse() != 1)
            GTEST_SKIP() << "the processor does not report its vector state";
    }
};

TEST_F(VectorState, ClearingLeavesTheUpperStateUnused) {
    platform::ClearUpperVectorState();
    EXPECT_EQ(0, platform::UpperVectorStateInUse());
}

TEST_F(VectorState, ADispatchedMessageLeavesItUnusedWhateverTheWindowDid) {
    platform::ResetMessageQueue();
    static const bool registered = [] {
        WNDCLASSW cls{};
        cls.lpfnWndProc = WideProc;
        cls.lpszClassName = L"WideWindow";
        return RegisterClassW(&cls) != 0;
    }();
    ASSERT_TRUE(registered);
    HWND wnd = CreateWindowExW(0, L"WideWindow", L"", WS_POPUP, 0, 0, 50, 40, nullptr, nullptr,
                               nullptr, nullptr);
    ASSERT_NE(wnd, nullptr);
    PostMessageW(wnd, WM_USER, 0, 0);
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    platform::ClearUpperVectorState();
    DispatchMessageW(&m);
    EXPECT_EQ(0, platform::UpperVectorStateInUse());
    DestroyWindow(wnd);
    platform::ResetMessageQueue();
}

} // namespace
