// The file dialog without a display: filter pairs, the names typed, the filter and check box the
// responder leaves, and the class library's dialog on top (several paths, the save prompt).
#include "platform/framework/file_dialog.h"
#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/edit_control.h"
#include "platform/windowing/list_controls.h"
#include "platform/windowing/message_box.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

using platform::FileDialogState;

TEST(FileDialog, FilterPairsAreReadUpToTheDoubleNul) {
    const wchar_t filter[] = L"KDX (*.kdx)\0*.kdx\0All (*.*)\0*.*\0\0ignored\0";
    const auto pairs = platform::ParseFilterPairs(filter);
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[1].description, L"All (*.*)");
    EXPECT_EQ(pairs[1].pattern, L"*.*");
    // A description without its pattern names nothing.
    EXPECT_TRUE(platform::ParseFilterPairs(L"Lonely\0\0").empty());
    EXPECT_TRUE(platform::ParseFilterPairs(nullptr).empty());
}

TEST(FileDialog, NamesAreOneBareNameOrSeveralInQuotes) {
    const struct {
        std::wstring text;
        std::vector<std::wstring> names;
    } cases[] = {
        {L"", {}},
        {L"   ", {}},
        {L"  logo file.eps ", {L"logo file.eps"}},
        {L"\"a.ai\" \"b c.pdf\"", {L"a.ai", L"b c.pdf"}},
        {L"\"a.ai\"\"\" \"b.eps", {L"a.ai"}}, // empty quotes and an unclosed one name nothing
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::SplitFileNames(c.text), c.names) << std::wstring(c.text);
}

// Fills the dialog as a person would and presses the button.
platform::DialogResponder Answer(std::wstring names, int comboIndex, int checkId, bool check,
                                 int button = IDOK) {
    return [=](HWND dialog, UINT id) {
        ASSERT_EQ(id, platform::kFileDialogId);
        SetDlgItemTextW(dialog, platform::kFileNameEdit, names.c_str());
        SendDlgItemMessageW(dialog, platform::kFileTypeCombo, CB_SETCURSEL, WPARAM(comboIndex), 0);
        if (checkId)
            CheckDlgButton(dialog, checkId, check ? BST_CHECKED : BST_UNCHECKED);
        EndDialog(dialog, button);
    };
}

TEST(FileDialog, TheAnswerComesBackAsWholePathsWithTheFilterAndTheBox) {
    FileDialogState state;
    state.multiSelect = true;
    state.folder = L"/work/designs";
    state.filters = {{L"A", L"*.a"}, {L"B", L"*.b"}};
    state.checkId = 1000;
    state.checkText = L"Choose Template";
    bool hidden = false;
    platform::ScopedDialogResponder responder([&](HWND dialog, UINT id) {
        hidden = !IsWindowVisible(GetDlgItem(dialog, 1000));
        Answer(L"\"one.b\" \"/tmp/two.b\"", 1, 1000, true)(dialog, id);
    });
    ASSERT_TRUE(platform::RunFileDialog(nullptr, state));
    EXPECT_FALSE(hidden);
    EXPECT_EQ(state.chosen, (std::vector<std::wstring>{L"/work/designs/one.b", L"/tmp/two.b"}));
    EXPECT_EQ(state.filterIndex, 2);
    EXPECT_TRUE(state.checked);
}

TEST(FileDialog, CancelSeveralNamesWithoutMultiSelectOrNoNameChooseNothing) {
    const struct {
        const wchar_t* names;
        bool multi;
        int button;
    } cases[] = {{L"a.b", true, IDCANCEL}, {L"\"a.b\" \"c.b\"", false, IDOK}, {L"", true, IDOK}};
    for (const auto& c : cases) {
        FileDialogState state;
        state.multiSelect = c.multi;
        platform::ScopedDialogResponder responder(Answer(c.names, 0, 0, false, c.button));
        EXPECT_FALSE(platform::RunFileDialog(nullptr, state)) << c.names;
        EXPECT_TRUE(state.chosen.empty());
    }
    // Nobody to answer: cancelled, not hung.
    FileDialogState state;
    EXPECT_FALSE(platform::RunFileDialog(nullptr, state));
}

TEST(FileDialog, ClassLibraryDialogGivesEveryPathAndHidesTheBoxWhenAsked) {
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT, L"A|*.a|B|*.b||");
    dialog.m_ofn.lpstrInitialDir = L"/d";
    dialog.AddCheckButton(1000, L"Box", TRUE);
    dialog.HideCheckButton(1000, TRUE);
    // A long selection: nothing caps how much is chosen.
    std::wstring names;
    for (int i = 0; i < 400; ++i)
        names += L"\"design number " + std::to_wstring(i) + L".a\" ";
    bool visible = true;
    platform::ScopedDialogResponder responder([&](HWND dlg, UINT id) {
        visible = IsWindowVisible(GetDlgItem(dlg, 1000));
        EXPECT_EQ(IsDlgButtonChecked(dlg, 1000), UINT(BST_CHECKED));
        Answer(names, 0, 1000, false)(dlg, id);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(visible);
    ASSERT_EQ(dialog.GetPathCount(), 400);
    EXPECT_EQ(dialog.GetPathName(399), CString(L"/d/design number 399.a"));
    EXPECT_EQ(dialog.GetFileTitle(), CString(L"design number 0"));
    EXPECT_EQ(dialog.GetFileExt(), CString(L"a"));
    EXPECT_FALSE(dialog.GetCheckButtonState(1000));
    EXPECT_EQ(dialog.m_ofn.nFilterIndex, 1u);
    int walked = 0;
    for (POSITION pos = dialog.GetStartPosition(); pos; ++walked)
        dialog.GetNextPathName(pos);
    EXPECT_EQ(walked, 400);
}

TEST(FileDialog, SavingOverAFileAsksAndNoCancels) {
    SettingsSandbox box;
    const std::string existing = box.Path("logo.kdx");
    std::ofstream(existing) << "x";
    const struct {
        int answer;
        INT_PTR result;
    } cases[] = {{IDYES, IDOK}, {IDNO, IDCANCEL}};
    for (const auto& c : cases) {
        CFileDialog dialog(FALSE, L"kdx", nullptr, OFN_OVERWRITEPROMPT, L"KDX|*.kdx||");
        platform::MessageBoxResponder boxes;
        boxes.SetDefault(c.answer);
        // Typed without its extension: the default one is added before the check.
        platform::ScopedDialogResponder responder(
            Answer(CString(box.Path("logo")).GetString(), 0, 0, false));
        EXPECT_EQ(dialog.DoModal(), c.result);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        if (c.result == IDOK) {
            EXPECT_EQ(dialog.GetPathName(), CString(existing));
        }
    }
}

} // namespace
