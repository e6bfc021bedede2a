// CWinApp: the application object: its document templates, main window, message loop and idle
// processing. One exists per process; AfxGetApp finds it.
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/ptr_list.h"
#include "platform/framework/cmd_target.h"
#include "platform/windowing/message.h"

#include <memory>

class CDocTemplate;
class CRecentFileList;
class CDocument;
class CWnd;

// The help call's commands (the data is a topic number for HELP_CONTEXT, 0 otherwise).
constexpr UINT HELP_CONTEXT = 0x0001;
constexpr UINT HELP_INDEX = 0x0003;
constexpr UINT HELP_FINDER = 0x000B;

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)

public:
    // The first application made becomes the current one.
    explicit CWinApp(LPCWSTR appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    // The message loop with idle processing, until WM_QUIT (or nothing can arrive any more).
    virtual int Run();
    // One idle step: count 0 updates the command state of the main window and its descendants
    // (WM_IDLEUPDATECMDUI); TRUE while more idle work is wanted.
    virtual BOOL OnIdle(LONG count);
    // Gives the target window and its parents up to the main window a chance at the message.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Takes one message and handles it; FALSE on WM_QUIT.
    BOOL PumpMessage();
    // Whether the message handled may have changed what the command states show (an idle
    // round follows it).
    virtual BOOL IsIdleMessage(const MSG* msg);
    virtual CWnd* GetMainWnd();

    // Templates are owned by the application.
    void AddDocTemplate(CDocTemplate* tmpl);
    POSITION GetFirstDocTemplatePosition() const { return m_templates.GetHeadPosition(); }
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    INT_PTR GetDocTemplateCount() const { return m_templates.GetCount(); }
    // The first template's new document.
    virtual void OnFileNew();
    // The first template opens the file.
    virtual CDocument* OpenDocumentFile(LPCWSTR path);
    // A command of the shell's for the running program: "[open("path")]" opens the file (the
    // quotes may be left out) and shows the main window, restored when minimised. TRUE when
    // the command was understood.
    virtual BOOL OnDDECommand(LPWSTR command);
    // The help call: the help file (m_strHelpFilePath) handed to the system's opener, whatever
    // the command; a file that is not there, or an opener that fails, is told.
    virtual void WinHelp(DWORD_PTR data, UINT cmd = HELP_CONTEXT);
    void CloseAllDocuments(BOOL endSession);
    virtual BOOL SaveAllModified();

    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;

    // Asks for a file name in the file dialog, with the filter and extension of the template
    // (or of every template when none is given); fileName is the first name shown and the
    // chosen one on TRUE.
    virtual BOOL DoPromptFileName(CString& fileName, LPCWSTR title, DWORD flags,
                                  BOOL openFileDialog, CDocTemplate* tmpl);
    // Exit: the main window is closed as the person closes it (its close may ask and refuse).
    virtual void OnAppExit();

    // The recent-file list of this many files ("Recent File List"), read from the profile.
    void LoadStdProfileSettings(UINT maxMRU = 4);
    // Puts the file at the top of the list (kept in the profile at once); nothing without one.
    virtual void AddToRecentFileList(LPCWSTR path);
    CRecentFileList* GetRecentFileList() const { return m_pRecentFileList.get(); }
    // Opens the entry of the command; a file that is gone leaves the list with a message.
    virtual BOOL OnOpenRecentFile(UINT id);
    // The recent-file items of a popup about to show.
    void UpdateRecentFileMenu(HMENU popup);

    CWnd* m_pMainWnd = nullptr;
    CString m_strAppName;
    CString m_strHelpFilePath;
    LPCWSTR m_pszAppName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    MSG m_msgCur{};
    MSG m_lastMouse{};

protected:
    CPtrList m_templates;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
};

CWinApp* AfxGetApp();
