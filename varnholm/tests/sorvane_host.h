// A design window test host: an application with the design template of the cutting view, a
// main frame, and one design opened through the template. The view's neighbours (send, design
// size, media managers) are replaced by recorders; installed cutters live in the test's hive.
#pragma once

#include "varnholm/sorvane_view.h"

#include "design/design_page.h"
#include "felgrin/base_cutter.h"
#include "pivora/framework/jox_doc_template.h"
#include "pivora/framework/jox_win_app_ex.h"
#include "platform/system/clock.h"
#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/message_box.h"
#include "toolbars/jox_toolbar_frame_wnd.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class CVectorArticle;

// A closed 1 mm square path of the given style at (x, 0) on the page's root; null without the
// curve library.
CVectorArticle* AddSquare(CDesignPage* page, LONG x, int style);

// What the recorders saw.
struct SorvaneCalls {
    int sends = 0, velm = -1, autoSend = -1, designSize = 0, deleteAll = 0, setup = 0;
    // Runs inside the send, while it would pump messages.
    std::function<void()> during;
};
extern SorvaneCalls g_calls;

// The system's clock moved on by whatever a test adds: timers fire when a test says, while
// network waits still end in real time.
class OffsetClock : public platform::Clock {
public:
    ULONGLONG NowMs() override;
    void SleepMs(DWORD ms) override;
    void Advance(ULONGLONG ms) { m_offset += ms; }

private:
    ULONGLONG m_offset = 0;
};

class SorvaneHost : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    CSorvaneView* Open();
    // Runs a command as the menu does: WM_COMMAND to the view.
    void Command(UINT id);
    void Pump();
    void Advance(ULONGLONG ms);
    // Installs a DM/PL cutter of this name on this port into the table and the hive.
    CBaseCutter* Install(const wchar_t* name, const wchar_t* port = L"FILE");

    SettingsSandbox m_box;
    OffsetClock m_clock;
    std::unique_ptr<platform::ScopedClock> m_scopedClock;
    platform::MessageBoxResponder m_boxes;
    CJoxWinAppEx m_app;
    CJoxDocTemplate* m_tmpl = nullptr;
    CJoxToolbarFrameWnd* m_frame = nullptr;
    CDesignPage* page = nullptr;
    CSorvaneView* view = nullptr;

private:
    StSorvaneServices m_saved{};
};

// The same host on the display (offscreen in tests); skipped where there is none. The display
// starts first: it shows the windows made after it.
class SorvaneDisplayHost : public SorvaneHost {
protected:
    void SetUp() override;
    void TearDown() override;

private:
    bool m_started = false;
};
