#include "platform/framework/win_app.h"

#include "platform/framework/cmd_ui.h"
#include "platform/framework/doc_template.h"
#include "platform/framework/file_dialog.h"
#include "platform/framework/frame_messages.h"
#include "platform/framework/pane_frame_wnd.h"
#include "platform/framework/recent_file_list.h"
#include "platform/framework/reserved_commands.h"
#include "platform/framework/wnd.h"
#include "platform/system/app_registry.h"
#include "platform/system/paths.h"
#include "platform/system/shell_open.h"
#include "platform/windowing/icon.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include <vector>

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace {

CWinApp*& Current() {
    static CWinApp* app = nullptr;
    return app;
}

void SendToDescendants(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    std::vector<HWND> children;
    for (HWND c = ::GetWindow(h, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    for (HWND c : children) {
        if (!::IsWindow(c))
            continue;
        ::SendMessageW(c, msg, wp, lp);
        SendToDescendants(c, msg, wp, lp);
    }
}

} // namespace

CWinApp* AfxGetApp() {
    return Current();
}

CWinApp::CWinApp(LPCWSTR appName) : m_strAppName(appName ? appName : L"") {
    m_pszAppName = m_strAppName;
    if (!Current())
        Current() = this;
}

CWinApp::~CWinApp() {
    while (!m_templates.IsEmpty())
        delete static_cast<CDocTemplate*>(m_templates.RemoveHead());
    if (Current() == this)
        Current() = nullptr;
}

CWnd* CWinApp::GetMainWnd() {
    return m_pMainWnd ? m_pMainWnd : AfxGetMainWnd();
}

void CWinApp::AddDocTemplate(CDocTemplate* tmpl) {
    if (tmpl && !m_templates.Find(tmpl))
        m_templates.AddTail(tmpl);
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const {
    return static_cast<CDocTemplate*>(const_cast<CPtrList&>(m_templates).GetNext(pos));
}

void CWinApp::OnFileNew() {
    if (POSITION pos = GetFirstDocTemplatePosition())
        GetNextDocTemplate(pos)->OpenDocumentFile(nullptr);
}

CDocument* CWinApp::OpenDocumentFile(LPCWSTR path) {
    POSITION pos = GetFirstDocTemplatePosition();
    return pos ? GetNextDocTemplate(pos)->OpenDocumentFile(path) : nullptr;
}

BOOL CWinApp::OnDDECommand(LPWSTR command) {
    if (!command)
        return FALSE;
    CString text(command);
    text.Trim();
    const CString open = L"[open(";
    if (text.GetLength() < open.GetLength() + 2 ||
        text.Left(open.GetLength()).CompareNoCase(open) != 0 || text.Right(2) != L")]")
        return FALSE;
    CString path = text.Mid(open.GetLength(), text.GetLength() - open.GetLength() - 2);
    path.Trim();
    if (path.GetLength() >= 2 && path[0] == L'"' && path[path.GetLength() - 1] == L'"')
        path = path.Mid(1, path.GetLength() - 2);
    if (path.IsEmpty())
        return FALSE;
    if (!OpenDocumentFile(path))
        return TRUE;
    // The program's window shows, restored when it was minimised, and takes the keyboard.
    if (CWnd* main = GetMainWnd(); main && ::IsWindow(main->m_hWnd)) {
        main->ShowWindow(::IsIconic(main->m_hWnd) ? SW_RESTORE : SW_SHOW);
        ::SetActiveWindow(main->m_hWnd);
    }
    return TRUE;
}

void CWinApp::WinHelp(DWORD_PTR, UINT) {
    const CString path = m_strHelpFilePath;
    if (path.IsEmpty())
        return;
    if (!platform::PathExists(path)) {
        AfxMessageBox(L"The help file " + path + L" is not there.");
        return;
    }
    CString why;
    if (!platform::ShellOpen(path, &why))
        AfxMessageBox(L"The help file " + path + L" could not be opened: " + why);
}

void CWinApp::CloseAllDocuments(BOOL endSession) {
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;)
        GetNextDocTemplate(pos)->CloseAllDocuments(endSession);
}

BOOL CWinApp::SaveAllModified() {
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;)
        if (!GetNextDocTemplate(pos)->SaveAllModified())
            return FALSE;
    return TRUE;
}

BOOL CWinApp::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    if (m_pRecentFileList && id >= ID_FILE_MRU_FIRST &&
        id < ID_FILE_MRU_FIRST + UINT(m_pRecentFileList->GetSize())) {
        const bool listed = int(id - ID_FILE_MRU_FIRST) < m_pRecentFileList->GetCount();
        if (CCmdUI* ui = UpdateUI(code, extra)) {
            ui->Enable(listed);
            return TRUE;
        }
        if (code == CN_COMMAND) {
            // The whole range has its handler (the empty list's placeholder shows greyed).
            if (IsQuery(handlerInfo))
                return TRUE;
            if (listed)
                OnOpenRecentFile(id);
            return listed;
        }
    }
    if (id == ID_APP_EXIT && code == CN_COMMAND) {
        if (!IsQuery(handlerInfo))
            OnAppExit();
        return TRUE;
    }
    if (id == ID_FILE_NEW && code == CN_COMMAND && GetDocTemplateCount() > 0) {
        if (!IsQuery(handlerInfo))
            OnFileNew();
        return TRUE;
    }
    return CCmdTarget::OnCmdMsg(id, code, extra, handlerInfo);
}

void CWinApp::OnAppExit() {
    if (CWnd* main = GetMainWnd(); main && ::IsWindow(main->m_hWnd))
        main->SendMessage(WM_CLOSE);
}

namespace {

// "Name (*.ext)|*.ext|" for a template with a file type.
void AppendFilter(CString& filter, CString& defaultExt, const CDocTemplate* tmpl) {
    CString name, ext;
    if (!tmpl || !tmpl->GetDocString(name, CDocTemplate::filterName) ||
        !tmpl->GetDocString(ext, CDocTemplate::filterExt) || ext.IsEmpty())
        return;
    if (ext[0] == L'.')
        ext = ext.Mid(1);
    if (defaultExt.IsEmpty())
        defaultExt = ext;
    filter += name + L"|*." + ext + L"|";
}

} // namespace

BOOL CWinApp::DoPromptFileName(CString& fileName, LPCWSTR title, DWORD flags, BOOL openFileDialog,
                               CDocTemplate* tmpl) {
    CString filter, defaultExt;
    if (tmpl) {
        AppendFilter(filter, defaultExt, tmpl);
    } else {
        for (POSITION pos = GetFirstDocTemplatePosition(); pos;)
            AppendFilter(filter, defaultExt, GetNextDocTemplate(pos));
    }
    filter += L"All Files (*.*)|*.*||";
    // A name without a folder or an extension is offered with the template's extension.
    CString shown = fileName;
    const CString leaf = platform::FileNameOf(shown);
    if (!defaultExt.IsEmpty() && !leaf.IsEmpty() && leaf.Find(L'.') < 0)
        shown += L"." + defaultExt;
    // The dialog opens in the name's folder, with the bare name in its field.
    const CString folder = platform::FolderOf(shown);
    const CString startIn = folder.IsEmpty() ? CString() : platform::NativePath(folder);
    if (!folder.IsEmpty())
        shown = platform::FileNameOf(shown);
    if (!openFileDialog)
        flags |= OFN_OVERWRITEPROMPT;
    CFileDialog dialog(openFileDialog, defaultExt.IsEmpty() ? nullptr : defaultExt.GetString(),
                       shown, flags, filter, GetMainWnd());
    if (title && *title)
        dialog.m_ofn.lpstrTitle = title;
    if (!startIn.IsEmpty())
        dialog.m_ofn.lpstrInitialDir = startIn.GetString();
    if (dialog.DoModal() != IDOK)
        return FALSE;
    fileName = dialog.GetPathName();
    return !fileName.IsEmpty();
}

BOOL CWinApp::OnIdle(LONG count) {
    if (count <= 0) {
        if (CWnd* main = GetMainWnd(); main && ::IsWindow(main->m_hWnd)) {
            main->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
            SendToDescendants(main->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            CPaneFrameWnd::UpdateFloatingPanes(main, TRUE);
        }
        return TRUE;
    }
    CWnd::DeleteTempMap();
    return FALSE;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
    CWnd* main = GetMainWnd();
    HWND stop = main ? main->m_hWnd : nullptr;
    for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd* w = CWnd::FromHandlePermanent(h); w && w->PreTranslateMessage(msg))
            return TRUE;
        if (h == stop)
            break;
    }
    if (main && main->m_hWnd != msg->hwnd && stop) {
        bool below = false;
        for (HWND h = msg->hwnd; h && !below; h = ::GetParent(h))
            below = h == stop;
        if (!below)
            return main->PreTranslateMessage(msg);
    }
    return FALSE;
}

BOOL CWinApp::PumpMessage() {
    BOOL got = ::GetMessageW(&m_msgCur, nullptr, 0, 0);
    if (got == 0 || got == -1)
        return FALSE;
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageW(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinApp::IsIdleMessage(const MSG* msg) {
    // Painting, a mouse resting where it was and a timer's callback change nothing the
    // command states show: no idle round follows them (an idle program then sleeps).
    if (msg->message == WM_PAINT || (msg->message == WM_TIMER && msg->lParam))
        return FALSE;
    if (msg->message == WM_MOUSEMOVE) {
        const bool same = m_lastMouse.hwnd == msg->hwnd && m_lastMouse.lParam == msg->lParam &&
                          m_lastMouse.wParam == msg->wParam;
        m_lastMouse = *msg;
        return !same;
    }
    return TRUE;
}

int CWinApp::Run() {
    bool idle = true;
    LONG count = 0;
    for (;;) {
        MSG peek;
        while (idle && !::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE))
            if (!OnIdle(count++))
                idle = false;
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                idle = true;
                count = 0;
            }
        } while (::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

void CWinApp::LoadStdProfileSettings(UINT maxMRU) {
    m_pRecentFileList.reset();
    if (maxMRU == 0)
        return;
    const UINT size = std::min(maxMRU, ID_FILE_MRU_LAST - ID_FILE_MRU_FIRST + 1);
    m_pRecentFileList = std::make_unique<CRecentFileList>(ID_FILE_MRU_FIRST, L"Recent File List",
                                                          L"File", int(size));
    m_pRecentFileList->ReadList(CAppRegistry::Current());
}

void CWinApp::AddToRecentFileList(LPCWSTR path) {
    if (!m_pRecentFileList)
        return;
    m_pRecentFileList->Add(path);
    m_pRecentFileList->WriteList(CAppRegistry::Current());
}

BOOL CWinApp::OnOpenRecentFile(UINT id) {
    if (!m_pRecentFileList)
        return FALSE;
    const int index = int(id) - int(ID_FILE_MRU_FIRST);
    if (index < 0 || index >= m_pRecentFileList->GetCount())
        return FALSE;
    const CString path = (*m_pRecentFileList)[index];
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::path(platform::MapPath(path)), ec)) {
        m_pRecentFileList->Remove(index);
        m_pRecentFileList->WriteList(CAppRegistry::Current());
        AfxMessageBox(path +
                      L"\nThis file no longer exists; it was taken off the recent-file list.");
        return FALSE;
    }
    return OpenDocumentFile(path) != nullptr;
}

void CWinApp::UpdateRecentFileMenu(HMENU popup) {
    if (m_pRecentFileList)
        m_pRecentFileList->UpdateMenu(popup, L"Recent File");
}
