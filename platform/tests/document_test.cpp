#include "platform/framework/document.h"

#include "platform/framework/cmd_ui.h"
#include "platform/framework/frame_messages.h"
#include "platform/framework/win_app.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/file_dialog.h"

#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/message_box.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A document holding one line of text; a line "fail" makes its store raise half-way.
class CTextDoc : public CDocument {
public:
    CTextDoc() { m_bAutoDelete = FALSE; }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_text;
            if (m_text == L"fail")
                AfxThrowFileException(CFileException::diskFull, 28);
        } else {
            ++m_loads;
            ar >> m_text;
        }
    }
    void DeleteContents() override {
        m_text.Empty();
        ++m_deleted;
    }
    CString m_text;
    int m_deleted = 0;
    int m_loads = 0;
};

std::vector<char> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class DocumentTest : public ::testing::Test {
protected:
    CString Path(const char* name) { return CString::FromUtf8(m_box.Path(name)); }
    SettingsSandbox m_box;
    platform::MessageBoxResponder m_responder;
};

TEST_F(DocumentTest, SaveAndOpenThroughTheArchive) {
    CTextDoc doc;
    doc.m_text = L"Sign";
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.OnSaveDocument(Path("a.doc")));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(Bytes(m_box.Path("a.doc")),
              (std::vector<char>{'\xFF', '\xFE', '\xFF', 4, 'S', 0, 'i', 0, 'g', 0, 'n', 0}));

    CTextDoc back;
    ASSERT_TRUE(back.OnOpenDocument(Path("a.doc")));
    EXPECT_EQ(back.m_text, CString(L"Sign"));
    EXPECT_FALSE(back.IsModified());
    EXPECT_EQ(back.m_deleted, 1);
}

TEST_F(DocumentTest, AFailedSaveKeepsThePreviousFileAndLeavesNoTemporary) {
    CTextDoc doc;
    doc.m_text = L"first";
    ASSERT_TRUE(doc.OnSaveDocument(Path("a.doc")));
    auto before = Bytes(m_box.Path("a.doc"));
    doc.m_text = L"fail";
    doc.SetModifiedFlag();
    EXPECT_FALSE(doc.OnSaveDocument(Path("a.doc")));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(Bytes(m_box.Path("a.doc")), before);
    EXPECT_NE(doc.GetLastErrorText().Find(L"Failed to save"), -1);
    ASSERT_EQ(m_responder.Shown().size(), 1u);
    int files = 0;
    for (const auto& e : fs::directory_iterator(m_box.root()))
        files +=
            e.is_regular_file() && e.path().filename().string().find("a.doc") != std::string::npos;
    EXPECT_EQ(files, 1);
}

TEST_F(DocumentTest, AFailedOpenEmptiesTheDocumentAndSaysWhy) {
    std::ofstream(m_box.Path("bad.doc"), std::ios::binary) << "\xFF\xFE\xFF\x40xx";
    CTextDoc doc;
    doc.m_text = L"kept?";
    EXPECT_FALSE(doc.OnOpenDocument(Path("bad.doc")));
    EXPECT_TRUE(doc.m_text.IsEmpty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_NE(doc.GetLastErrorText().Find(L"damaged"), -1);
    EXPECT_FALSE(doc.OnOpenDocument(Path("missing.doc")));
    EXPECT_NE(doc.GetLastErrorText().Find(L"missing.doc"), -1);
    EXPECT_EQ(m_responder.Shown().size(), 2u);
}

// A pipe would hang the open, a device would fill the memory: neither is read.
TEST_F(DocumentTest, PipesAndDevicesAreRefusedAtOnce) {
    ASSERT_EQ(::mkfifo(m_box.Path("pipe.doc").c_str(), 0600), 0);
    // Bounds the test should the open block: the whole program stops instead of hanging.
    ::alarm(60);
    for (const std::string& path : {m_box.Path("pipe.doc"), std::string("/dev/zero")}) {
        CTextDoc doc;
        EXPECT_FALSE(doc.OnOpenDocument(CString::FromUtf8(path))) << path;
        EXPECT_NE(doc.GetLastErrorText().Find(L"not a regular file"), -1)
            << doc.GetLastErrorText().ToUtf8();
        EXPECT_EQ(doc.m_loads, 0);
    }
    ::alarm(0);
    EXPECT_EQ(m_responder.Shown().size(), 2u);
}

// Files of the process file system report no size; what is read counts against the limit.
TEST_F(DocumentTest, BytesReadCountAgainstTheSizeLimit) {
    platform::SetDocumentSizeLimit(64);
    CTextDoc doc;
    BOOL opened = doc.OnOpenDocument(L"/proc/self/status");
    platform::SetDocumentSizeLimit(0);
    EXPECT_FALSE(opened);
    EXPECT_EQ(doc.m_loads, 0) << "read past the limit";
    EXPECT_NE(doc.GetLastErrorText().Find(L"Failed to open"), -1);
}

TEST_F(DocumentTest, SaveModifiedAsksOnlyWhenModified) {
    CTextDoc doc;
    doc.SetPathName(Path("Logo.doc"));
    EXPECT_EQ(doc.GetTitle(), CString(L"Logo.doc"));
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_TRUE(m_responder.Shown().empty());

    doc.m_text = L"new";
    doc.SetModifiedFlag();
    struct Case {
        int answer;
        BOOL result;
        bool saved;
    } cases[] = {{IDCANCEL, FALSE, false}, {IDNO, TRUE, false}, {IDYES, TRUE, true}};
    for (const Case& c : cases) {
        { std::ofstream(m_box.Path("Logo.doc")) << "old"; }
        m_responder.SetDefault(c.answer);
        EXPECT_EQ(doc.SaveModified(), c.result) << c.answer;
        const std::vector<char> old{'o', 'l', 'd'};
        EXPECT_EQ(Bytes(m_box.Path("Logo.doc")) != old, c.saved) << c.answer;
        EXPECT_EQ(m_responder.Shown().back().text, std::wstring(L"Save changes to Logo.doc?"));
    }
}

// The standard commands reach the document: Save writes under its name, Save As and the Save
// of a document whose file is not there yet go through the save dialog, Close asks first.
class DocumentCommandsTest : public DocumentTest {
protected:
    // The headless save dialog answers with this name (empty: cancelled) and counts its uses.
    void AnswerSaveDialog(const CString& name) {
        m_answer = name;
        m_dialog.reset(); // the one before puts back what it replaced
        m_dialog = std::make_unique<platform::ScopedDialogResponder>([this](HWND dlg, UINT id) {
            if (id != platform::kFileDialogId)
                return;
            ++m_asked;
            wchar_t proposed[512] = {};
            GetDlgItemTextW(dlg, platform::kFileNameEdit, proposed, 512);
            m_proposed = proposed;
            SetDlgItemTextW(dlg, platform::kFileNameEdit, m_answer);
            EndDialog(dlg, m_answer.IsEmpty() ? IDCANCEL : IDOK);
        });
    }
    static BOOL Command(CDocument& doc, UINT id) {
        return doc.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr);
    }
    CWinApp m_app;
    CString m_answer, m_proposed;
    int m_asked = 0;
    std::unique_ptr<platform::ScopedDialogResponder> m_dialog;
};

TEST_F(DocumentCommandsTest, SaveWritesAnExistingFileAndAsksForANewOne) {
    CTextDoc doc;
    doc.m_text = L"Sign";
    doc.SetPathName(Path("Sign.doc"), FALSE);
    doc.SetModifiedFlag();
    AnswerSaveDialog(Path("Chosen.doc"));

    // Its file is not there yet: the name is confirmed in the dialog first.
    ASSERT_TRUE(Command(doc, ID_FILE_SAVE));
    EXPECT_EQ(m_asked, 1);
    EXPECT_EQ(m_proposed, CString(L"Sign.doc"));
    EXPECT_TRUE(fs::exists(m_box.Path("Chosen.doc")));
    EXPECT_FALSE(fs::exists(m_box.Path("Sign.doc")));
    EXPECT_EQ(doc.GetPathName(), Path("Chosen.doc"));
    EXPECT_FALSE(doc.IsModified());

    // Now it is: saved in place, nothing asked.
    doc.m_text = L"Sign 2";
    doc.SetModifiedFlag();
    ASSERT_TRUE(Command(doc, ID_FILE_SAVE));
    EXPECT_EQ(m_asked, 1);
    CTextDoc back;
    ASSERT_TRUE(back.OnOpenDocument(Path("Chosen.doc")));
    EXPECT_EQ(back.m_text, CString(L"Sign 2"));
}

TEST_F(DocumentCommandsTest, SaveAsTakesTheNewNameAndACancelSavesNothing) {
    CTextDoc doc;
    doc.m_text = L"Sign";
    ASSERT_TRUE(doc.OnSaveDocument(Path("Old.doc")));
    doc.SetPathName(Path("Old.doc"), FALSE);
    doc.SetModifiedFlag();

    AnswerSaveDialog(CString());
    ASSERT_TRUE(Command(doc, ID_FILE_SAVE_AS));
    EXPECT_EQ(m_asked, 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), Path("Old.doc"));

    AnswerSaveDialog(Path("New.doc"));
    ASSERT_TRUE(Command(doc, ID_FILE_SAVE_AS));
    EXPECT_TRUE(fs::exists(m_box.Path("New.doc")));
    EXPECT_EQ(doc.GetPathName(), Path("New.doc"));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocumentCommandsTest, CloseAsksFirstAndCancelKeepsTheDocument) {
    struct CClosingDoc : CTextDoc {
        void OnCloseDocument() override { ++closed; }
        int closed = 0;
    } doc;
    doc.SetPathName(Path("Sign.doc"), FALSE);
    doc.SetModifiedFlag();
    m_responder.SetDefault(IDCANCEL);
    ASSERT_TRUE(Command(doc, ID_FILE_CLOSE));
    EXPECT_EQ(doc.closed, 0);
    ASSERT_EQ(m_responder.Shown().size(), 1u);
    m_responder.SetDefault(IDNO);
    ASSERT_TRUE(Command(doc, ID_FILE_CLOSE));
    EXPECT_EQ(doc.closed, 1);
    EXPECT_FALSE(fs::exists(m_box.Path("Sign.doc")));
}

TEST_F(DocumentCommandsTest, TheDocumentAnswersForItsCommandsButLeavesTheirStateToOthers) {
    CTextDoc doc;
    int query = 0;
    for (UINT id : {ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_CLOSE})
        EXPECT_TRUE(doc.OnCmdMsg(id, CN_COMMAND, nullptr, &query)) << id;
    CCmdUI ui;
    ui.m_nID = ID_FILE_SAVE;
    EXPECT_FALSE(doc.OnCmdMsg(ID_FILE_SAVE, CN_UPDATE_COMMAND_UI, &ui, nullptr));
    EXPECT_TRUE(m_app.OnCmdMsg(ID_APP_EXIT, CN_COMMAND, nullptr, &query));
}

} // namespace
