#include "platform/display/slider_widget.h"

#include "display_fixture.h"
#include "platform/windowing/slider_control.h"

#include <QSlider>
#include <QTest>

namespace {

using SliderWidgetTest = DisplayTest;

HWND Slider(HWND parent, DWORD style = 0) {
    return CreateWindowExW(0, TRACKBAR_CLASS, L"", WS_CHILD | WS_VISIBLE | style, 10, 10, 220, 30,
                           parent, reinterpret_cast<HMENU>(intptr_t(28227)), nullptr, nullptr);
}

std::vector<std::pair<UINT, int>> Scrolls(const std::vector<Seen>& seen) {
    std::vector<std::pair<UINT, int>> out;
    for (const Seen& s : seen)
        out.emplace_back(LOWORD(DWORD(s.wp)), HIWORD(DWORD(s.wp)));
    return out;
}

TEST_F(SliderWidgetTest, TheWidgetShowsTheModelsRangeStepsAndPosition) {
    HWND frame = MakeWindow(260, 60);
    HWND slider = Slider(frame);
    SendMessageW(slider, TBM_SETRANGEMAX, TRUE, 30);
    SendMessageW(slider, TBM_SETPAGESIZE, 0, 10);
    SendMessageW(slider, TBM_SETPOS, TRUE, 12);
    Pump();
    auto* s = qobject_cast<QSlider*>(Widget(slider));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->orientation(), Qt::Horizontal);
    EXPECT_EQ(s->maximum(), 30);
    EXPECT_EQ(s->pageStep(), 10);
    EXPECT_EQ(s->value(), 12);
    // The empty list's range 0..-1 shows as a slider that cannot move.
    SendMessageW(slider, TBM_SETRANGEMAX, TRUE, -1);
    Pump();
    EXPECT_EQ(s->minimum(), 0);
    EXPECT_EQ(s->maximum(), 0);
    EXPECT_TRUE(Widget(frame)->grab().save(TEST_BINARY_DIR "/slider.png"));
}

TEST_F(SliderWidgetTest, DragsKeysAndPageClicksReachTheOwnerAsScrollCodes) {
    HWND frame = MakeWindow(260, 60);
    HWND slider = Slider(frame);
    SendMessageW(slider, TBM_SETRANGEMAX, TRUE, 40);
    SendMessageW(slider, TBM_SETPAGESIZE, 0, 10);
    Pump();
    auto* s = qobject_cast<QSlider*>(Widget(slider));
    ASSERT_NE(s, nullptr);
    Log().clear();
    // A drag as the person makes it: the thumb pressed, moved, let go.
    s->setSliderDown(true);
    s->setSliderPosition(25);
    s->setSliderDown(false);
    Pump();
    EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 25);
    EXPECT_EQ(Scrolls(Received({WM_HSCROLL})),
              (std::vector<std::pair<UINT, int>>{
                  {TB_THUMBTRACK, 25}, {TB_THUMBPOSITION, 25}, {TB_ENDTRACK, 0}}));
    EXPECT_EQ(s->value(), 25);
    Log().clear();
    s->setFocus();
    QTest::keyClick(s, Qt::Key_Right);
    QTest::keyClick(s, Qt::Key_PageUp); // Qt raises the value with Page Up
    QTest::keyClick(s, Qt::Key_Home);
    Pump();
    EXPECT_EQ(Scrolls(Received({WM_HSCROLL})),
              (std::vector<std::pair<UINT, int>>{{TB_LINEDOWN, 0},
                                                 {TB_ENDTRACK, 0},
                                                 {TB_PAGEDOWN, 0},
                                                 {TB_ENDTRACK, 0},
                                                 {TB_TOP, 0},
                                                 {TB_ENDTRACK, 0}}));
    EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 0);
    EXPECT_EQ(s->value(), 0);
}

} // namespace
