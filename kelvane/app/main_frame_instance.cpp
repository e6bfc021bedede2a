// CMainFrame and second starts: the channel it listens on and the two requests.
#include "kelvane/app/main_frame.h"

#include "kelvane/app/app_resources.h"
#include "kelvane/app/instance_forwarding.h"
#include "kelvane/app/vanter_ferolin_app.h"
#include "pivora/framework/app_params.h"
#include "platform/system/app_registry.h"
#include "platform/system/instance_channel.h"
#include "platform/system/paths.h"
#include "platform/windowing/message.h"
#include "qvutils/qv_utils.h"
#include "varnholm/sorvane_view.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace {

void PollChannel(HWND hwnd, UINT, UINT_PTR, DWORD) {
    if (auto* frame = dynamic_cast<CMainFrame*>(CWnd::FromHandlePermanent(hwnd)))
        frame->fnPollInstanceChannel();
}

CVanterFerolinApp* App() {
    return dynamic_cast<CVanterFerolinApp*>(AfxGetApp());
}

// "Import path" as the store holds it now: another copy wrote it a moment ago, so not the
// cached value, and whole, however long.
bool ReadImportPath(CString& path) {
    CAppRegistry* registry = CAppRegistry::Current();
    if (!registry)
        return false;
    constexpr const wchar_t* kMissing = L"\n";
    path = registry->GetProfileString(QvGetAppParamSection(), L"Import path", kMissing);
    return path != kMissing;
}

bool Exists(const CString& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::path(path.ToUtf8()), ec);
}

} // namespace

bool CMainFrame::fnStartInstanceChannel() {
    auto channel = std::make_unique<platform::InstanceChannelServer>();
    const bool listening =
        channel->Listen(kelvane::kInstanceMutexName, [this](const platform::InstanceRequest& r) {
            if (r.message != kelvane::WM_IMPORT_TEMP_AI && r.message != kelvane::WM_IMPORT_PATH)
                return uint32_t(0);
            if (r.flags & platform::kInstanceRaise) {
                ShowWindow(SW_SHOW);
                ::SetActiveWindow(m_hWnd);
            }
            return uint32_t(SendMessage(r.message, 0, 0));
        });
    if (!listening)
        return false;
    m_pInstanceChannel = std::move(channel);
    // Where the display watches the socket the idle program sleeps; elsewhere it polls.
    m_bChannelWatched = platform::WatchDescriptor(m_pInstanceChannel->Descriptor(), m_hWnd,
                                                  kelvane::WM_INSTANCE_CHANNEL);
    if (!m_bChannelWatched)
        SetTimer(kelvane::kInstanceChannelTimer, kelvane::kInstancePollMs, &PollChannel);
    return true;
}

void CMainFrame::fnPollInstanceChannel() {
    if (!m_pInstanceChannel)
        return;
    m_pInstanceChannel->Poll();
    if (!m_bChannelWatched)
        return;
    // A peer's request comes on a socket of its own: it is looked for until it is answered.
    if (m_pInstanceChannel->PendingPeers() > 0)
        SetTimer(kelvane::kInstanceChannelTimer, kelvane::kInstancePeerPollMs, &PollChannel);
    else
        KillTimer(kelvane::kInstanceChannelTimer);
}

void CMainFrame::fnStopInstanceChannel() {
    if (!m_pInstanceChannel)
        return;
    // The display stops watching the socket before it closes.
    if (m_bChannelWatched)
        platform::UnwatchDescriptor(m_pInstanceChannel->Descriptor());
    if (::IsWindow(m_hWnd))
        KillTimer(kelvane::kInstanceChannelTimer);
    m_pInstanceChannel.reset();
    m_bChannelWatched = false;
}

BOOL CMainFrame::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (OnFrameMessage(msg, wp, lp, result))
        return TRUE;
    if (msg == kelvane::WM_IMPORT_TEMP_AI || msg == kelvane::WM_IMPORT_PATH) {
        const LRESULT r = msg == kelvane::WM_IMPORT_TEMP_AI ? OnImportTempAi() : OnImportPath();
        if (result)
            *result = r;
        return TRUE;
    }
    if (msg == kelvane::WM_INSTANCE_CHANNEL) {
        fnPollInstanceChannel();
        if (result)
            *result = 0;
        return TRUE;
    }
    if (msg == kelvane::WM_TOOLBAR_MENU) {
        OnToolbarMenu(lp);
        if (result)
            *result = 0;
        return TRUE;
    }
    if (msg == WM_GET_TAB_TOOLTIP && lp) {
        OnGetTabToolTip(*reinterpret_cast<TabToolTipRequest*>(lp));
        if (result)
            *result = 1;
        return TRUE;
    }
    return CJoxToolbarFrameWnd::OnWndMsg(msg, wp, lp, result);
}

LRESULT CMainFrame::OnImportTempAi() {
    CVanterFerolinApp* app = App();
    if (m_bBusy || CSorvaneView::IsBusy() || !app)
        return 0;
    m_bBusy = true;
    CString path;
    QvHomePath(L"Temp\\Import.AI", path);
    path = platform::NativePath(path);
    app->fnOpenDesignFile(path, QvGetSilentModeOn());
    m_bBusy = false;
    return 0;
}

LRESULT CMainFrame::OnImportPath() {
    CVanterFerolinApp* app = App();
    if (m_bBusy || CSorvaneView::IsBusy() || !app)
        return 0;
    m_bBusy = true;
    ::SetActiveWindow(m_hWnd);
    ShowWindow(SW_SHOWMAXIMIZED);
    CString path;
    if (!ReadImportPath(path)) {
        m_bBusy = false;
        return 0;
    }
    if (!Exists(path)) {
        std::error_code ec;
        path = CString((std::filesystem::current_path(ec) / path.ToUtf8()).string());
    }
    // The shell's open command for a running copy (Windows sends it by DDE) comes here: a
    // second start with the file. In silent mode the design is sent to the cutter as it
    // opens, which the shell's road does not do.
    if (QvGetSilentModeOn()) {
        app->fnOpenDesignFile(path, 1);
    } else {
        std::wstring command(path.GetString());
        app->OnDDECommand(command.data());
    }
    m_bBusy = false;
    return 0;
}
