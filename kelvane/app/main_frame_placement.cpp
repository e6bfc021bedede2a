// The main frame's stored place: read and checked at start, written at close.
#include "kelvane/app/main_frame.h"
#include "kelvane/app/window_pos.h"
#include "kelvane/app/workspace_settings.h"

namespace {

const wchar_t* const kSettingsSection = L"Settings";
const wchar_t* const kWindowPosEntry = L"WindowPos";

} // namespace

bool CMainFrame::fnReadWindowPlacement(WINDOWPLACEMENT& wp) {
    CString text;
    return kelvane::ReadWorkspaceString(kSettingsSection, kWindowPosEntry, text) &&
           kelvane::ParseWindowPlacement(text, wp);
}

void CMainFrame::fnRestoreWindowPlacement(int showCmd) {
    WINDOWPLACEMENT wp;
    if (fnReadWindowPlacement(wp) && kelvane::WindowPlacementFits(wp)) {
        // The place comes from the record; how it shows is the caller's, so a stored hidden
        // or minimised state never flashes first.
        wp.showCmd = UINT(showCmd);
        ::SetWindowPlacement(m_hWnd, &wp);
    }
    ShowWindow(showCmd);
}

void CMainFrame::fnSaveWindowPlacement() {
    WINDOWPLACEMENT wp;
    if (::GetWindowPlacement(m_hWnd, &wp))
        kelvane::WriteWorkspaceString(kSettingsSection, kWindowPosEntry,
                                      kelvane::FormatWindowPlacement(wp));
}
