// The Open command and the import road: each file handed to its reader, a failed or refused
// file adding nothing, a real cutter file becoming a design in one undo step, the question after
// a failure in a selection, names typed without an extension, templates and duplicates.
#include "bezier/bezier_item.h"
#include "design/design_page.h"
#include "kelvane/app/app_resources.h"
#include "kelvane/app/import_readers.h"
#include "kelvane/app/open_resources.h"
#include "kelvane/tests/app_fixture.h"
#include "pivora/article.h"
#include "pivora/framework/app_params.h"
#include "pivora/geometry/sb.h"
#include "platform/core/file.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/file_dialog.h"
#include "platform/windowing/list_controls.h"
#include "vector/vector_article.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

// What the stand-in readers saw, and what they answer.
struct Seen {
    std::vector<std::string> calls; // reader name and file name
    int answer = 1;
};
Seen* g_seen = nullptr;

void Note(const char* reader, CFile* file) {
    g_seen->calls.push_back(
        std::string(reader) + " " +
        std::filesystem::path(file->GetFilePath().ToUtf8()).filename().string());
}
int Vector(CDesignPage*, CFile* file, UINT, CArticleList*) {
    Note("vector", file);
    return g_seen->answer;
}
int Cutter(CDesignView*, CDesignPage*, CFile* file, UINT, CArticleList*) {
    Note("cutter", file);
    return g_seen->answer;
}
int Panel(CDesignView*, CDesignPage*, CFile* file) {
    Note("panel", file);
    return g_seen->answer;
}

class FileOpen : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        g_seen = &seen;
        QvSetAppParam(L"OpenDialogSortFilters", 0); // list order: kdx, ai, eps, pdf, all
        ASSERT_TRUE(Start({"a", "b"}));             // no design of its own
    }
    void TearDown() override {
        AppFixture::TearDown();
        g_seen = nullptr;
    }

    std::string File(const std::string& name, const std::string& content = "data") {
        const std::string path = box.Path(name);
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    // Answers the open dialog with these names (quoted) and the filter at this list index.
    platform::ScopedDialogResponder Choose(std::vector<std::string> paths, int filter) {
        return platform::ScopedDialogResponder([=](HWND dlg, UINT id) {
            if (id != platform::kFileDialogId)
                return;
            std::wstring names;
            for (const std::string& p : paths)
                names += L"\"" + std::wstring(CString(p).GetString()) + L"\" ";
            SetDlgItemTextW(dlg, platform::kFileNameEdit, names.c_str());
            SendDlgItemMessageW(dlg, platform::kFileTypeCombo, CB_SETCURSEL, WPARAM(filter), 0);
            EndDialog(dlg, IDOK);
        });
    }

    Seen seen;
    // The stand-ins, or the program's own readers after RealReaders.
    void RealReaders() {
        readers.reset();
        readers.emplace(kelvane::DefaultImportReaders());
    }
    std::optional<kelvane::CScopedImportReaders> readers{
        std::in_place, kelvane::TImportReaders{&Vector, &Cutter, &Panel}};
    static constexpr int kAllFiles = 4;
    static constexpr int kEps = 2;
};

TEST_F(FileOpen, EachExtensionGoesToItsReader) {
    const struct {
        const char* name;
        int id;
        const char* reader; // empty: none
    } cases[] = {
        {"a.ai", 11, "vector"},  {"a.eps", 12, "vector"}, {"a.pdf", 65, "vector"},
        {"a.dxf", 14, "vector"}, {"a.spl", 40, "cutter"}, {"a.plt", 42, "cutter"},
        {"a.hgl", 16, "cutter"}, {"a.gnm", 54, "cutter"}, {"a.pnl", 60, "panel"},
        {"a.kom", 1, ""},
    };
    boxes.Answer(kelvane::IDS_DXF_TO_INCHES, IDYES);
    for (const auto& c : cases) {
        seen.calls.clear();
        const std::string path = File(c.name);
        CDocument* doc = app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE);
        auto* page = dynamic_cast<CDesignPage*>(doc);
        ASSERT_NE(page, nullptr);
        const int result = app->fnImportFile(CString(path), page, c.id, 0);
        EXPECT_EQ(result, *c.reader ? 1 : 0) << c.name;
        const std::vector<std::string> want =
            *c.reader ? std::vector<std::string>{std::string(c.reader) + " " + c.name}
                      : std::vector<std::string>{};
        EXPECT_EQ(seen.calls, want) << c.name;
        doc->OnCloseDocument();
    }
    // The DXF question was asked and its answer kept.
    EXPECT_EQ(QvGetAppParam(L"DXF Load Inches", 0), 1);
    // A missing file reaches no reader.
    seen.calls.clear();
    auto* page = dynamic_cast<CDesignPage*>(app->DesignTemplate()->OpenDocumentFile(nullptr));
    EXPECT_EQ(app->fnImportFile(CString(box.Path("gone.eps")), page, 12, 0), 0);
    EXPECT_TRUE(seen.calls.empty());
}

TEST_F(FileOpen, ACutterFileBecomesANewDesignInOneUndoStep) {
    RealReaders();
    const std::string path = File("logo.plt", "IN;SP1;PU0,0;PD400,0,400,400;SP2;PU0,0;PD0,400;");
    auto scope = Choose({path}, kAllFiles);
    EXPECT_EQ(app->fnFileOpenDialog(0), -1); // "--All files--"
    ASSERT_EQ(DesignCount(), 1);
    POSITION pos = app->DesignTemplate()->GetFirstDocPosition();
    auto* page = dynamic_cast<CDesignPage*>(app->DesignTemplate()->GetNextDoc(pos));
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(page->RootArticle()->IsEmpty());
    EXPECT_TRUE(page->IsModified());
    // One step: undone once, the design is empty again.
    EXPECT_EQ(page->UndoTransactionNames().GetSize(), 1);
    page->PerformUndoTransaction();
    EXPECT_TRUE(page->RootArticle()->IsEmpty());
    // Untitled: its name comes from the file, its path is not the file's.
    EXPECT_NE(page->GetPathName(), CString(path));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(FileOpen, ADamagedOrRefusedFileSaysSoAndAddsNothing) {
    RealReaders();
    const struct {
        std::string name;
        std::string content;
        std::wstring reason; // under the first line
    } cases[] = {
        {"short.pnl", "IN;", L""},                            // shorter than its header
        {"notes.kom", "x", L"\n\nFormat Not Supported .kom"}, // not a file the program takes
        {"README", "x", L"\n\nFormat Not Supported"},         // "--All files--" adds no "."
        {"noise.plt", "\x01\x02 noise",
         L"\n\nThe file holds no HP-GL strokes that can be imported."},
    };
    for (const auto& c : cases) {
        platform::MessageBoxResponder shown;
        const std::string path = File(c.name, c.content);
        auto scope = Choose({path}, kAllFiles);
        app->fnFileOpenDialog(0);
        EXPECT_EQ(DesignCount(), 0) << c.name;
        ASSERT_EQ(shown.Shown().size(), 1u) << c.name;
        EXPECT_EQ(shown.Shown()[0].text,
                  L"Failed to Import '" + std::wstring(CString(path)) + L"'" + c.reason);
    }
    // In a selection the reason stands between the failure and the question.
    platform::MessageBoxResponder shown;
    shown.SetDefault(IDNO);
    const std::vector<std::string> paths = {File("1.plt", "IN;"), File("2.plt", "IN;")};
    auto scope = Choose(paths, kAllFiles);
    app->fnFileOpenDialog(0);
    ASSERT_EQ(shown.Shown().size(), 1u);
    EXPECT_EQ(shown.Shown()[0].text,
              L"Failed to Import '" + std::wstring(CString(paths[0])) +
                  L"'\n\nThe file holds no HP-GL strokes that can be imported.\n\nContinue "
                  L"Importing?");
}

TEST_F(FileOpen, AFileOnTheCommandLineThatAddsNothingSaysWhy) {
    RealReaders();
    const struct {
        std::string name;
        std::string content;
        std::wstring reason;
    } cases[] = {
        {"noise.plt", "\x01\x02 noise", L"The file holds no HP-GL strokes that can be imported."},
        // Extensions the program does not know.
        {"plot.hpgl", "IN;PU0,0;PD400,0;", L"Format Not Supported .hpgl"},
        {"job.pcl", "x", L"Format Not Supported .pcl"},
    };
    for (const auto& c : cases) {
        const std::string path = File(c.name, c.content);
        const std::wstring want =
            L"Failed to Import '" + std::wstring(CString(path)) + L"'\n\n" + c.reason;
        const size_t before = boxes.Shown().size();
        Restart({path});
        EXPECT_EQ(DesignCount(), 0) << c.name;
        const auto& shown = boxes.Shown();
        EXPECT_EQ(std::count_if(shown.begin() + std::ptrdiff_t(before), shown.end(),
                                [&](const platform::ShownMessage& m) { return m.text == want; }),
                  1)
            << c.name;
    }
}

TEST_F(FileOpen, AFailureInASelectionAsksAndNoStopsTheRest) {
    seen.answer = 0;
    const std::vector<std::string> paths = {File("1.eps"), File("2.eps"), File("3.eps")};
    boxes.SetDefault(IDNO);
    {
        auto scope = Choose(paths, kEps);
        app->fnFileOpenDialog(0);
    }
    EXPECT_EQ(seen.calls, std::vector<std::string>{"vector 1.eps"});
    EXPECT_EQ(DesignCount(), 0);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, L"Failed to Import '" + std::wstring(CString(paths[0])) +
                                         L"'\n\nContinue Importing?");
    // Yes goes on with the next ones, each failure asked about, the last one told.
    seen.calls.clear();
    boxes.SetDefault(IDYES);
    {
        auto scope = Choose(paths, kEps);
        app->fnFileOpenDialog(0);
    }
    EXPECT_EQ(seen.calls.size(), 3u);
    EXPECT_EQ(boxes.Shown().size(), 4u);
}

TEST_F(FileOpen, ANameWithoutExtensionTakesTheFiltersOne) {
    File("logo.eps");
    auto scope = Choose({box.Path("logo")}, kEps);
    EXPECT_EQ(app->fnFileOpenDialog(0), 12);
    EXPECT_EQ(seen.calls, std::vector<std::string>{"vector logo.eps"});
    EXPECT_EQ(DesignCount(), 1);
}

// A design saved on a page larger than its contents: the open's posted Zoom Resize fits the
// page to the contents, a change of the design's size the operator can undo, so the design is
// modified. A page already the size of its contents stays unmodified.
TEST_F(FileOpen, AnOpenedDesignIsFittedToItsContentsAsAnUndoableChange) {
    const CWindow contents(100000, 50000, 200000, 100000);
    const CWindow larger(0, 0, 300000, 150000);
    for (const CWindow& saved : {larger, contents}) {
        SCOPED_TRACE(saved == larger ? "larger page" : "fitted page");
        const std::string path = box.Path(saved == larger ? "larger.kdx" : "fitted.kdx");
        {
            auto* page =
                dynamic_cast<CDesignPage*>(app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE));
            ASSERT_NE(page, nullptr);
            auto* item = new CBezierItem;
            for (const CLpoint& p :
                 {CLpoint(contents.x1, contents.y1), CLpoint(contents.x2, contents.y1),
                  CLpoint(contents.x2, contents.y2), CLpoint(contents.x1, contents.y2),
                  CLpoint(contents.x1, contents.y1)})
                item->Vect(CSb(CBezierItem::kBreak, p));
            auto* a = new CVectorArticle;
            a->Item(item);
            page->RootArticle()->AddChild(a);
            a->InvExtents(1);
            page->Extents(saved);
            ASSERT_TRUE(page->OnSaveDocument(CString(path)));
            page->OnCloseDocument();
        }
        auto* page = dynamic_cast<CDesignPage*>(app->OpenDocumentFile(CString(path)));
        ASSERT_NE(page, nullptr);
        EXPECT_FALSE(page->IsModified());
        const int undo = page->GetUndoCount();
        Pump();
        for (LONG idle = 0; app->OnIdle(idle); ++idle) {
        }
        EXPECT_EQ(page->Extents(), contents);
        EXPECT_EQ(page->IsModified() != FALSE, saved == larger);
        EXPECT_EQ(page->GetUndoCount(), undo + (saved == larger ? 1 : 0));
        if (saved == larger) {
            page->PerformUndoTransaction();
            EXPECT_EQ(page->Extents(), larger);
        }
        page->SetModifiedFlag(FALSE);
        page->OnCloseDocument();
    }
}

TEST_F(FileOpen, ATemplateOpensUntitledAndADesignOnlyOnce) {
    const std::string kdx = box.Path("Logo.kdx");
    SaveDesign(kdx);
    std::filesystem::copy_file(kdx, box.Path("logo.kdx"));
    std::filesystem::copy_file(kdx, box.Path("shop.cut"));
    CDocument* logo = app->OpenDocumentFile(CString(kdx));
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(app->OpenDocumentFile(CString(kdx)), logo);
    // Another file whose name differs in case only is another design.
    CDocument* lower = app->OpenDocumentFile(CString(box.Path("logo.kdx")));
    ASSERT_NE(lower, nullptr);
    EXPECT_NE(lower, logo);
    CDocument* cut = app->OpenDocumentFile(CString(box.Path("shop.cut")));
    ASSERT_NE(cut, nullptr);
    EXPECT_NE(cut->GetPathName(), CString(box.Path("shop.cut")));
    EXPECT_EQ(DesignCount(), 3);
}

TEST_F(FileOpen, AFolderGivenAsADesignIsSaidToBeAFolder) {
    const std::string folder = box.Path("Sign.KDX");
    std::filesystem::create_directories(folder);
    EXPECT_EQ(app->OpenDocumentFile(CString(folder)), nullptr);
    EXPECT_EQ(DesignCount(), 0);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, L"Failed to open \"" + std::wstring(CString(folder)) +
                                         L"\".\n" + std::wstring(CString(folder)) +
                                         L": is a folder, not a file");
}

} // namespace

namespace {

TEST_F(FileOpen, TheOpenCommandShowsTheDialog) {
    UINT shown = 0;
    platform::ScopedDialogResponder responder([&](HWND dlg, UINT id) {
        shown = id;
        EndDialog(dlg, IDCANCEL);
    });
    app->MainFrame()->SendMessage(WM_COMMAND, kelvane::ID_OPEN_DESIGN, 0);
    EXPECT_EQ(shown, platform::kFileDialogId);
    EXPECT_EQ(DesignCount(), 0);
}

} // namespace
