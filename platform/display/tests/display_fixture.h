// Tests of the presenter run against the offscreen Qt platform: one Qt application for the
// test program, a queue emptied before each test, and helpers that act as the person would.
#pragma once

#include "platform/display/display.h"
#include "platform/display/presenter.h"
#include "platform/windowing/message.h"

#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

struct Seen {
    HWND hwnd;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Dispatches everything queued and brings the widgets up to date.
    static void Pump() { platform::display::Flush(); }
    static QWidget* Widget(HWND hwnd) {
        return platform::display::Presenter::Instance()->WidgetFor(hwnd);
    }
    // A top-level window of the recording class, shown and painted.
    HWND MakeWindow(int cx, int cy, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    // A mouse event as the window system delivers it to the widget.
    static void Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons held);
    // Messages the recording class received, of the given kinds.
    static std::vector<Seen> Received(std::initializer_list<UINT> kinds);
    static std::vector<Seen>& Log();

    std::vector<HWND> m_windows;
};

// The class every recording window uses; it paints stripes so that pixels differ.
extern const wchar_t* const kRecordingClass;
std::vector<Seen>& DisplayTestLog();
