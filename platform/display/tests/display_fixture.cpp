#include "display_fixture.h"

#include "platform/graphics/gdi.h"

#include <QApplication>

namespace {

class DisplayEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "display_test";
        static char* argv[] = {name, nullptr};
        ASSERT_TRUE(platform::display::Start(argc, argv));
    }
    void TearDown() override { platform::display::Stop(); }
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new DisplayEnvironment);

LRESULT RecordingProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_PAINT && msg != WM_ERASEBKGND)
        DisplayTestLog().push_back(Seen{h, msg, wp, lp});
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT client;
        GetClientRect(h, &client);
        for (int x = 0; x < client.right; x += 8) {
            RECT stripe{x, 0, x + 8, client.bottom};
            HBRUSH b = CreateSolidBrush(RGB((x * 7) & 0xFF, (x * 3) & 0xFF, 0x40 + (x & 0x3F)));
            FillRect(dc, &stripe, b);
            DeleteObject(b);
        }
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

} // namespace

std::vector<Seen>& DisplayTestLog() {
    static std::vector<Seen> log;
    return log;
}

const wchar_t* const kRecordingClass = L"DisplayTestWindow";

void DisplayTest::SetUp() {
    platform::ResetMessageQueue();
    Log().clear();
    static bool registered = [] {
        WNDCLASSW cls{};
        cls.lpfnWndProc = RecordingProc;
        cls.lpszClassName = kRecordingClass;
        return RegisterClassW(&cls) != FALSE;
    }();
    ASSERT_TRUE(registered);
}

void DisplayTest::TearDown() {
    for (HWND h : m_windows)
        if (IsWindow(h))
            DestroyWindow(h);
    Pump();
    platform::ResetMessageQueue();
}

std::vector<Seen>& DisplayTest::Log() {
    return DisplayTestLog();
}

HWND DisplayTest::MakeWindow(int cx, int cy, DWORD style) {
    HWND h = CreateWindowExW(0, kRecordingClass, L"test", style, 40, 30, cx, cy, nullptr, nullptr,
                             nullptr, nullptr);
    m_windows.push_back(h);
    Pump();
    return h;
}

void DisplayTest::Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button,
                        Qt::MouseButtons held) {
    QPointF local(at);
    QMouseEvent event(type, local, local, w->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

std::vector<Seen> DisplayTest::Received(std::initializer_list<UINT> kinds) {
    std::vector<Seen> out;
    for (const Seen& s : Log())
        for (UINT k : kinds)
            if (s.msg == k)
                out.push_back(s);
    return out;
}
