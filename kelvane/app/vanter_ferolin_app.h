// CVanterFerolinApp: the program's application object: start-up in its order, the design and
// tile templates, the main frame, the design files named on the command line, and exit.
#pragma once

#include "pivora/framework/jox_win_app_ex.h"
#include "platform/core/cstring.h"

#include <memory>
#include <vector>

class CAppRegistry;
class CMainFrame;
class CDesignPage;
class CQvMultiDocTemplate;

class CVanterFerolinApp : public CJoxWinAppEx {
    DECLARE_DYNAMIC(CVanterFerolinApp)

public:
    // Industries the templates are registered with.
    static constexpr int kDesignIndustry = 2;
    static constexpr int kTileIndustry = 0;
    static constexpr int kContextCount = 100;
    static constexpr int kDesignContextMask = 0x400000;
    static constexpr UINT kRecentFiles = 10;

    CVanterFerolinApp();
    ~CVanterFerolinApp() override;

    // The program's arguments (without the program name) and the whole command line.
    void SetCommandLine(int argc, char** argv);
    const std::vector<CString>& Arguments() const { return m_args; }
    const CString& CommandLineText() const { return m_strCommandLine; }

    BOOL InitInstance() override;
    int ExitInstance() override;
    // Whether this start handed its argument to the running copy and that copy took it.
    bool ForwardedToRunningCopy() const { return m_bForwarded; }
    CDocument* OpenDocumentFile(LPCWSTR path) override;
    // New (57600): a design from BrowserOnFileNew in the context of "New Design Preferred
    // Context", named afresh ("DesignN") under the templates folder.
    void OnFileNew() override;
    // The shell's open request (on this system it comes through the second-start channel):
    // the text opened as a path, else the class library's command; an opened design raises
    // the main window (restored from minimised unless in silent mode).
    BOOL OnDDECommand(LPWSTR command) override;
    // The help call, told first when "Display Help Commands" is set.
    void WinHelp(DWORD_PTR data, UINT cmd = HELP_CONTEXT) override;

    // The machine-wide "Exit Application", started as the program ends; false (after telling
    // the operator) when it could not be.
    bool fnRunExitApplication();
    // The help file, "HELP\help_en.pdf" under the home folder.
    CString HelpFilePath() const;

    // Opens a design through the design template with automatic loading; null when it did not
    // open.
    CDesignPage* fnOpenDesignFile(const wchar_t* path, int autoSend);
    // With exactly one argument, that file; a relative name is taken in the current folder.
    CDesignPage* fnOpenCommandLineFile();

    // Opening and importing (file_open.cpp, file_import.cpp).
    // The Open command: the chosen files opened or imported one by one; the identifier of the
    // filter chosen, or -1 when cancelled.
    int fnFileOpenDialog(int useLastExtension);
    // Reads the file into the page by its extension identifier; non-zero on success.
    int fnImportFile(const wchar_t* path, CDesignPage* page, int id, UINT flags);
    // The application's commands: Open, Close All, Select Language (app_commands.cpp).
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;
    // Close All asks once for all designs; otherwise (at exit) each modified design is asked
    // about by its own prompt (save_all.cpp).
    BOOL SaveAllModified() override;
    // Closes every design once SaveAllModified agreed.
    void OnCloseAll();

    // Null once the main window is gone.
    CMainFrame* MainFrame() const;
    CQvMultiDocTemplate* DesignTemplate() const { return m_pDesign; }
    CQvMultiDocTemplate* TileTemplate() const { return m_pTile; }

    // Start-up steps (app_startup.cpp): the product's presets (and "InstallUtils.Reg" once),
    // the screen check (false: the operator chose to quit), the interface font from its 14
    // values and back into 7 of them, and the installed cutters (none: the installation).
    void fnSetProductPresets();
    // Every kind of tooltip in the program's colours, plain labels without descriptions.
    void fnSetToolTipLook();
    BOOL fnCheckScreen();
    void fnLoadApplicationFont();
    void fnSaveApplicationFont();
    void fnLoadCutterDevices(int installWhenNone);
    // The design windows' right-click menu registered under its name ("Right Click Default")
    // with the context-menu manager, when the name exists.
    void fnRegisterRightClickMenu();

    // Makes the main frame; a main frame already there loses its toolbars and goes once the
    // new one stands.
    BOOL fnCreateMainFrame();

protected:
    BOOL fnRegisterDocTemplates();

    std::vector<CString> m_args;
    CString m_strCommandLine;
    CQvMultiDocTemplate* m_pDesign = nullptr;
    CQvMultiDocTemplate* m_pTile = nullptr;
    // The parameters' place in the per-user store (Software\Oquen\VanterFerolin).
    std::unique_ptr<CAppRegistry> m_pRegistry;
    // Set except while Close All runs.
    bool m_bSkipSaveAll = true;
    bool m_bForwarded = false;
    // The font values are written back at the end only once they were read.
    bool m_bFontLoaded = false;
};
