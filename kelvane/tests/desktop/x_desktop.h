// A private X display for the program's desktop tests: its own Xvfb with a real window manager
// (openbox), input sent through XTest as a person's keyboard and mouse would, windows found by
// their titles, and the screen read back as screen grabs read it (xwd).
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <chrono>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

struct _XDisplay;

namespace desktop {

using namespace std::chrono_literals;

// One top-level window of a client, as the window manager placed it.
struct ShownWindow {
    unsigned long id = 0; // the client's own window, not the manager's frame
    QString title;
    QRect rect;           // in screen coordinates
    std::string wmClass;  // the instance part of WM_CLASS ("kelvane")
    bool overlay = false; // a window past the manager (a menu, a drop-down list, a tooltip)
};

class XDesktop {
public:
    XDesktop() = default;
    ~XDesktop();
    XDesktop(const XDesktop&) = delete;
    XDesktop& operator=(const XDesktop&) = delete;

    // Starts Xvfb on a free display and the window manager on it; false (with why()) when
    // either is missing or does not come up.
    bool Start(int width = 1280, int height = 1024);
    void Stop();
    // Ends the X server only (a display that goes away under the program).
    void KillServer();
    const std::string& Why() const { return m_why; }
    // ":N"
    const std::string& Name() const { return m_name; }
    // The X server's and the window manager's processes.
    std::vector<pid_t> Processes() const { return {m_server, m_manager}; }

    // Keys: "ctrl+a", "alt+d", "Return", "Escape", "Tab", "shift+Tab", single characters. Each
    // press and release is its own event, delay apart.
    void Key(const std::string& combo, std::chrono::milliseconds delay = 15ms);
    // Types text character by character (shift where the character needs it).
    void Type(const std::string& text);
    void MoveTo(int x, int y);
    void Click(int x, int y, int button = 1);

    // Every viewable top-level client window and overlay, bottom first.
    std::vector<ShownWindow> Windows() const;
    // The newest viewable window whose title contains part, within the bound.
    bool WaitForWindow(const QString& part, ShownWindow* found = nullptr,
                       std::chrono::milliseconds bound = 30s) const;
    bool WaitUntilGone(const QString& part, std::chrono::milliseconds bound = 30s) const;
    bool HasWindow(const QString& part) const;
    // Waits until the window manager names a window whose title contains part as the active
    // one and the keyboard's focus is in it, as a person waits before typing.
    bool WaitUntilActive(const QString& part, std::chrono::milliseconds bound = 20s) const;
    // Called once a waited-for window is there or active, before the test goes on: a person
    // types only once the program has caught up with what it shows.
    void SetSettle(std::function<void()> settle) { m_settle = std::move(settle); }
    QString ActiveTitle() const;
    // Asks the window manager to close the window, as its close box does.
    void CloseWithManager(const ShownWindow& window);

    // What the screen shows, read as xwd reads it (window by window where colormaps differ).
    QImage Screen() const;
    // The window's own picture, as the X server keeps it.
    QImage Picture(const ShownWindow& window) const;

private:
    _XDisplay* m_display = nullptr;
    pid_t m_server = -1, m_manager = -1;
    std::string m_name, m_why;
    std::function<void()> m_settle;
    void Settle() const {
        if (m_settle)
            m_settle();
    }
};

// Fraction of pixels that are the same in both pictures (of the same size).
double SameFraction(const QImage& a, const QImage& b);
// Whether nearly every pixel of the picture is black.
bool MostlyBlack(const QImage& image);

// The process's CPU time (user and system), in seconds; negative when it cannot be read.
double CpuSeconds(pid_t pid);

} // namespace desktop
