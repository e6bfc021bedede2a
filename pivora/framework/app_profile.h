// The application profile: the program folder and the INI profiles beside it. BOOT.INI in the
// program's "Profiles" folder can take over the machine-wide values and the home folder;
// "Profiles\Shared Settings\Settings.INI" holds settings shared by all users. Update files are
// merged into both at start.
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/object.h"
#include "platform/core/string_array.h"

class CPercentageDlg;

class CApplicationProfile : public CObject {
    DECLARE_DYNAMIC(CApplicationProfile)
public:
    CApplicationProfile() { fnInitContents(); }
    ~CApplicationProfile() override;
    CApplicationProfile(const CApplicationProfile&) = delete;
    CApplicationProfile& operator=(const CApplicationProfile&) = delete;

    void fnInitContents();
    // 1 when the program folder is known; looks for BOOT.INI once.
    int fnCreate();
    // The program folder ending in a separator, or the folder registered for the program under
    // "Software\Oquen\App Paths\"; returns its length (0: not found).
    int fnGetProgramDirectory(CString& out);
    // The boot profile is used only when it can be read and written; always 1.
    int fnPrepareBootProfile();
    // The home folder in boot-profile mode: the program folder, then `file`.
    int fnGetHomePath(const wchar_t* file, CString& out);
    const CString& ProgramFolder() const { return m_programFolder; }
    const CString& BootProfile() const { return m_bootProfile; }

    // [Settings] of BOOT.INI.
    int fnGetBootProfileString(const wchar_t* key, CString& out);
    int fnGetBootProfileValue(const wchar_t* key, int def);
    int fnSetBootProfileString(const wchar_t* key, const CString& value);
    void fnWriteBootProfileString(const wchar_t* key, const wchar_t* value);
    void fnWriteBootProfileValue(const wchar_t* key, int value);

    // The shared settings folder, and with `withFile` its Settings.INI.
    void fnGetSettingsPath(CString& out, int withFile);
    // INI access; a null `file` means the shared Settings.INI. 1 when the value is not empty.
    int fnGetProfileString(const wchar_t* section, const wchar_t* key, CString& out,
                           const wchar_t* file);
    int fnGetProfileValue(const wchar_t* section, const wchar_t* key, int def, const wchar_t* file);
    int fnWriteProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                             const wchar_t* file);
    int fnWriteProfileValue(const wchar_t* section, const wchar_t* key, int value,
                            const wchar_t* file);
    int fnGetSettingsProfileString(const wchar_t* key, CString& out, const wchar_t* file);
    int fnGetSettingsProfileValue(const wchar_t* key, int def, const wchar_t* file);
    int fnWriteSettingsProfileString(const wchar_t* key, const wchar_t* value, const wchar_t* file);
    int fnWriteSettingsProfileValue(const wchar_t* key, int value, const wchar_t* file);

    // The section names of `file`; returns their count.
    int fnGetSettingsFileSections(const wchar_t* file, CStringArray& out);
    // Appends the names of the *.INI files in `folder` (without ".INI" when asked); returns
    // the count of `out`.
    int fnGetSettingsFileList(const wchar_t* folder, CStringArray& out, int stripExtension);
    // Sub-folders of `folder` matching `pattern` (e.g. "\*"): names and full paths.
    int fnGetDirList(const CString& folder, const wchar_t* pattern, CStringArray& names,
                     CStringArray& paths);
    // Retires a settings folder: renames it with " DELETED <date> <time>" appended.
    void fnRenameDirAsDeleted(const CString& folder, const CString& name);
    // Writes every key=value line of the update file into [Settings] of the target.
    // True when the update file was read and every line written (or it does not exist).
    bool fnAddSettings(const CString& updateFile, const CString& target);

    // A modeless progress dialog without cancel button, stepping by 5; one at a time.
    void fnCreateProgressBar(int caption);
    // Steps the bar when `ms` milliseconds passed since its last step.
    void fnStepProgressBar(int ms);
    void fnDestroyProgressBar();
    CPercentageDlg* ProgressBar() const { return m_progress; }

private:
    CString SettingsFile(const wchar_t* file);

    CString m_programFolder;
    CString m_bootProfile;
    CPercentageDlg* m_progress = nullptr; // owned
};

CApplicationProfile* FnCreateApplicationProfile();
CApplicationProfile* FnGetApplicationProfile();
void FnDestroyApplicationProfile();
int FnGetBootProfileInt(const wchar_t* key, int def);
int FnGetBootProfileString(const wchar_t* key, CString& out);
int FnSetBootProfileString(const wchar_t* key, const CString& value);
int FnGetHomePath(const wchar_t* file, CString& out);
