#include "maltrec/import/import_eps.h"

#include "design/design_page.h"
#include "maltrec/import/eps_interpreter.h"
#include "maltrec/import/import_failure.h"

#include "platform/core/file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

std::unique_ptr<CDesignPage> NewPage() {
    return std::unique_ptr<CDesignPage>(static_cast<CDesignPage*>(CDesignPage::CreateObject()));
}

int CountArticles(CDesignPage& page) {
    CArticleList list;
    page.RootArticle()->GetArticleList(&list, nullptr, nullptr);
    int n = 0;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        if (list.GetNext(pos)->GetItem())
            ++n;
    }
    return n;
}

class ImportEpsTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/eps_import_XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(tmpl));
        m_dir = tmpl;
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path Write(const std::string& name, const std::string& text) {
        const fs::path p = m_dir / name;
        std::ofstream(p, std::ios::binary) << text;
        return p;
    }
    fs::path m_dir;
};

const char* kDrawing = "%!PS-Adobe-3.0 EPSF-3.0\n%%EndComments\n%%EndSetup\n0 0 m 10 0 l S\n";

TEST_F(ImportEpsTest, EpsEntryImportsAndAlwaysAnswersOne) {
    auto page = NewPage();
    CString path = CString::FromUtf8(Write("a.eps", kDrawing).string());
    int kind = 0;
    EXPECT_EQ(1, CImportEPS::ImportEPS3File(nullptr, page.get(), nullptr, 0, path, kind));
    EXPECT_EQ(1, CountArticles(*page));

    CString missing = CString::FromUtf8((m_dir / "missing.eps").string());
    EXPECT_EQ(1, CImportEPS::ImportEPS3File(nullptr, page.get(), nullptr, 0, missing, kind));
    EXPECT_EQ(1, CImportEPS::ImportEPS3File(nullptr, nullptr, nullptr, 0, path, kind));
}

TEST_F(ImportEpsTest, IllustratorEntryAnswersOneOnlyForASuccessfulRun) {
    auto page = NewPage();
    CFile good;
    ASSERT_TRUE(good.Open(CString::FromUtf8(Write("g.ai", kDrawing).string()).GetString(),
                          CFile::modeRead));
    EXPECT_EQ(1, CImportEPS::ImportIllustratorFile(nullptr, page.get(), &good, 1, 0, nullptr));
    EXPECT_FALSE(good.IsOpen());

    CFile pdf;
    ASSERT_TRUE(pdf.Open(CString::FromUtf8(Write("p.ai", "%PDF-1.4\n").string()).GetString(),
                         CFile::modeRead));
    EXPECT_EQ(0, CImportEPS::ImportIllustratorFile(nullptr, page.get(), &pdf, 1, 0, nullptr));
    EXPECT_EQ(0, CImportEPS::ImportIllustratorFile(nullptr, nullptr, nullptr, 0, 0, nullptr));
}

TEST_F(ImportEpsTest, AnImportThatAddsNothingLeavesItsReasonForTheRoad) {
    std::string nested;
    for (size_t i = 0; i <= CEPSInterpreter::kMaxSaves; ++i)
        nested += "q ";
    const struct {
        const char* name;
        std::string body;
        const wchar_t* reason;
    } cases[] = {
        {"huge.eps", "0 0 m 1e308 0 l S\n", L"A number is out of range."},
        {"nested.eps", nested + "\n0 0 m 10 0 l S\n", L"Too many nested graphics states."},
        {"text.eps", "/Helvetica findfont 12 scalefont setfont (Sign) show\n",
         L"The file holds no paths that can be imported."},
    };
    for (const auto& c : cases) {
        auto page = NewPage();
        CString path = CString::FromUtf8(
            Write(c.name, std::string("%!PS-Adobe-3.0 EPSF-3.0\n%%EndComments\n") + c.body)
                .string());
        int kind = 0;
        FnTakeImportFailure();
        EXPECT_EQ(1, CImportEPS::ImportEPS3File(nullptr, page.get(), nullptr, 0, path, kind));
        EXPECT_EQ(0, CountArticles(*page)) << c.name;
        EXPECT_EQ(CString(c.reason), FnTakeImportFailure()) << c.name;
    }
}

TEST_F(ImportEpsTest, PathsLongerThan256CharactersAreKept) {
    fs::path dir = m_dir;
    for (int i = 0; i < 6; ++i)
        dir /= std::string(60, char('a' + i));
    fs::create_directories(dir);
    const fs::path file = dir / "long.eps";
    std::ofstream(file, std::ios::binary) << kDrawing;
    ASSERT_GT(file.string().size(), 300u);
    auto page = NewPage();
    CEPSInterpreter eps(nullptr, page.get(), CString::FromUtf8(file.string()));
    EXPECT_EQ(file.string(), eps.SourcePath().ToUtf8());
    ASSERT_EQ(1, eps.ReadFile());
    EXPECT_EQ(0, eps.Run());
    EXPECT_EQ(1, CountArticles(*page));
}

TEST_F(ImportEpsTest, ReadFileRefusesWithoutPageOrPath) {
    auto page = NewPage();
    EXPECT_EQ(0, CEPSInterpreter(nullptr, nullptr, L"x.eps").ReadFile());
    EXPECT_EQ(0, CEPSInterpreter(nullptr, page.get(), L"").ReadFile());
    CEPSInterpreter dirAsFile(nullptr, page.get(), CString::FromUtf8(m_dir.string()));
    EXPECT_EQ(0, dirAsFile.ReadFile());
    EXPECT_FALSE(dirAsFile.StopReason().IsEmpty());
}

} // namespace
