#include "platform/windowing/file_dialog.h"

#include "platform/core/cstring.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/edit_control.h"
#include "platform/windowing/list_controls.h"

#include <filesystem>
#include <system_error>

namespace platform {

namespace {

FileDialogPresenter& Presenter() {
    static FileDialogPresenter presenter = nullptr;
    return presenter;
}

constexpr int kCheckBoxPlace = 2000; // stands for the extra check box until its id is known

const DialogTemplate& Template() {
    static const DialogTemplate t{
        kFileDialogId,
        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
        300,
        92,
        L"Open",
        nullptr,
        8,
        {{-1, WC_STATIC, L"File &name:", SS_LEFT, 7, 9, 60, 8},
         {kFileNameEdit, WC_EDIT, L"", ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER, 70, 7, 223, 14},
         {-1, WC_STATIC, L"Files of &type:", SS_LEFT, 7, 29, 60, 8},
         {kFileTypeCombo, WC_COMBOBOX, L"", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, 70, 27, 223,
          100},
         {kCheckBoxPlace, WC_BUTTON, L"", BS_AUTOCHECKBOX | WS_TABSTOP, 70, 47, 223, 10},
         {IDOK, WC_BUTTON, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 188, 71, 50, 14},
         {IDCANCEL, WC_BUTTON, L"Cancel", WS_TABSTOP, 243, 71, 50, 14}}};
    return t;
}

std::wstring WindowText(HWND w) {
    std::wstring text(size_t(std::max(GetWindowTextLengthW(w), 0)) + 1, L'\0');
    const int n = GetWindowTextW(w, text.data(), int(text.size()));
    text.resize(size_t(std::max(n, 0)));
    return text;
}

std::wstring InFolder(const std::wstring& name, const std::wstring& folder) {
    const std::filesystem::path given(CString(name.c_str()).ToUtf8());
    if (given.is_absolute())
        return name;
    std::error_code ec;
    const std::filesystem::path base =
        folder.empty() ? std::filesystem::current_path(ec)
                       : std::filesystem::path(CString(folder.c_str()).ToUtf8());
    return CString::FromUtf8((base / given).lexically_normal().string()).GetString();
}

// Reads the person's answer back from the controls; false keeps nothing.
bool ReadAnswer(HWND dialog, FileDialogState& state) {
    std::vector<std::wstring> names = SplitFileNames(WindowText(GetDlgItem(dialog, kFileNameEdit)));
    if (names.empty() || (!state.multiSelect && names.size() > 1))
        return false;
    state.chosen.clear();
    for (const std::wstring& name : names)
        state.chosen.push_back(InFolder(name, state.folder));
    const LRESULT sel = SendDlgItemMessageW(dialog, kFileTypeCombo, CB_GETCURSEL, 0, 0);
    if (sel >= 0)
        state.filterIndex = int(sel) + 1;
    if (state.checkId)
        state.checked = IsDlgButtonChecked(dialog, state.checkId) == BST_CHECKED;
    return true;
}

INT_PTR FileDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, GWLP_USERDATA, LONG_PTR(lp));
        return TRUE;
    }
    if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wp));
        return TRUE;
    }
    return FALSE;
}

bool RunHeadless(HWND owner, FileDialogState& state) {
    HWND dialog =
        CreateDialogIndirectParamW(nullptr, &Template(), owner, FileDialogProc, LPARAM(&state));
    if (!dialog)
        return false;
    SetWindowTextW(dialog,
                   state.title.empty() ? (state.open ? L"Open" : L"Save As") : state.title.c_str());
    SetDlgItemTextW(dialog, kFileNameEdit, state.fileName.c_str());
    for (const FileFilter& f : state.filters)
        SendDlgItemMessageW(dialog, kFileTypeCombo, CB_ADDSTRING, 0, LPARAM(f.description.c_str()));
    if (!state.filters.empty()) {
        const int index = std::clamp(state.filterIndex, 1, int(state.filters.size()));
        SendDlgItemMessageW(dialog, kFileTypeCombo, CB_SETCURSEL, WPARAM(index - 1), 0);
    }
    HWND check = GetDlgItem(dialog, kCheckBoxPlace);
    if (state.checkId) {
        SetWindowLongPtrW(check, GWLP_ID, state.checkId);
        SetWindowTextW(check, state.checkText.c_str());
        CheckDlgButton(dialog, state.checkId, state.checked ? BST_CHECKED : BST_UNCHECKED);
    }
    ShowWindow(check, state.checkId && !state.checkHidden ? SW_SHOW : SW_HIDE);

    const bool disabled = owner && IsWindowEnabled(owner);
    if (disabled)
        EnableWindow(owner, FALSE);
    if (!IsDialogEnded(dialog))
        ShowWindow(dialog, SW_SHOW);
    const INT_PTR result = RunModalDialog(dialog);
    if (disabled)
        EnableWindow(owner, TRUE);
    const bool ok = result == IDOK && ReadAnswer(dialog, state);
    DestroyWindow(dialog);
    return ok;
}

} // namespace

std::vector<FileFilter> ParseFilterPairs(const wchar_t* filter) {
    std::vector<FileFilter> pairs;
    if (!filter)
        return pairs;
    const wchar_t* p = filter;
    while (*p) {
        FileFilter f;
        f.description = p;
        p += f.description.size() + 1;
        if (!*p)
            break;
        f.pattern = p;
        p += f.pattern.size() + 1;
        pairs.push_back(std::move(f));
    }
    return pairs;
}

std::vector<std::wstring> SplitFileNames(const std::wstring& text) {
    std::vector<std::wstring> names;
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return names;
    if (text[first] != L'"') {
        const size_t last = text.find_last_not_of(L' ');
        names.push_back(text.substr(first, last - first + 1));
        return names;
    }
    size_t at = first;
    while (at < text.size()) {
        const size_t open = text.find(L'"', at);
        if (open == std::wstring::npos)
            break;
        const size_t close = text.find(L'"', open + 1);
        if (close == std::wstring::npos)
            break; // an unclosed quote names nothing
        if (close > open + 1)
            names.push_back(text.substr(open + 1, close - open - 1));
        at = close + 1;
    }
    return names;
}

bool RunFileDialog(HWND owner, FileDialogState& state) {
    state.chosen.clear();
    // A test's responder answers before the display, as for message boxes.
    if (Presenter() && !HasDialogResponder())
        return Presenter()(owner, state) && !state.chosen.empty();
    return RunHeadless(owner, state);
}

void SetFileDialogPresenter(FileDialogPresenter presenter) {
    Presenter() = presenter;
}

} // namespace platform
