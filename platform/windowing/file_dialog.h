// The file dialog: the files to open (one or several) or the name to save under, chosen among
// filter pairs ("description", "pattern"), with an optional extra check box. Without a display
// it is a modal dialog (template kFileDialogId) that a test's dialog responder fills in: the
// name edit takes one name or several in double quotes, the type combo the filter, the check
// box its state. With a display the presenter shows the system's file dialog instead. The names
// chosen are whole paths; nothing limits their number or length.
#pragma once

#include "platform/windowing/window.h"

#include <string>
#include <vector>

namespace platform {

constexpr UINT kFileDialogId = 0x7F42;
// Controls of the headless dialog.
constexpr int kFileNameEdit = 1152;
constexpr int kFileTypeCombo = 1136;

struct FileFilter {
    std::wstring description;
    std::wstring pattern; // "*.eps", or several joined by ";"
};

struct FileDialogState {
    bool open = true;
    bool multiSelect = false;
    std::wstring title;
    std::wstring folder;   // where relative names are taken; the current folder when empty
    std::wstring fileName; // the name proposed
    std::vector<FileFilter> filters;
    int filterIndex = 1; // 1-based; what the person ended on after OK
    // The extra check box; none when checkId is 0.
    int checkId = 0;
    std::wstring checkText;
    bool checked = false;
    bool checkHidden = false;
    // After OK: every chosen file, as whole paths.
    std::vector<std::wstring> chosen;
};

// Pairs from a filter in which every part ends in a NUL and the list in a second NUL
// ("KDX (*.kdx)\0*.kdx\0\0"). A description without its pattern is dropped.
std::vector<FileFilter> ParseFilterPairs(const wchar_t* filter);
// The names in the edit's text: one bare name, or several each in double quotes.
std::vector<std::wstring> SplitFileNames(const std::wstring& text);

// Runs the dialog; true when the person chose at least one name (state.chosen, filterIndex and
// checked are then set). A name without a folder is taken in state.folder.
bool RunFileDialog(HWND owner, FileDialogState& state);

// The display's file dialog; null without a display.
typedef bool (*FileDialogPresenter)(HWND owner, FileDialogState& state);
void SetFileDialogPresenter(FileDialogPresenter presenter);

} // namespace platform
