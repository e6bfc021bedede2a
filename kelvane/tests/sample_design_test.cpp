// The sample design: the file the build writes opens through the program's open road with its
// border, the word with its counters and the circle, and writing it again gives the same bytes.
#include "kelvane/app/sample_design.h"

#include "bezier/bezier_item.h"
#include "design/design_page.h"
#include "kelvane/tests/app_fixture.h"
#include "pivora/article.h"
#include "vector/vector_article.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<char> Bytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

std::vector<CArticle*> Children(CArticle* parent) {
    std::vector<CArticle*> out;
    for (CTree* t = parent->GetFirstChild(); t; t = t->GetRsibling())
        out.push_back(static_cast<CArticle*>(t));
    return out;
}

std::wstring Name(CArticle* a) {
    return static_cast<const wchar_t*>(a->GetName());
}

// The closed curve of a path article, or null.
CBezierItem* ClosedCurve(CArticle* a) {
    auto* v = DynamicDowncast<CVectorArticle>(a);
    auto* item = v ? DynamicDowncast<CBezierItem>(v->GetItem()) : nullptr;
    return item && item->IsClosed(0) ? item : nullptr;
}

class SampleDesign : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(Start({"a", "b"})); // no design of its own
    }
};

TEST_F(SampleDesign, OpensWithBorderLettersAndCircle) {
    const std::string path = box.Path("sample.kdx");
    ASSERT_TRUE(WriteSampleDesign(CString(path)));
    auto* page = dynamic_cast<CDesignPage*>(app->OpenDocumentFile(CString(path)));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Context(), CDesignPage::kContext);
    // The resize to its contents the open posts changes nothing: a close asks no question.
    Pump();
    EXPECT_FALSE(page->IsModified());
    EXPECT_EQ(page->Extents(), CWindow(0, 0, 280000, 130000));

    const std::vector<CArticle*> top = Children(page->RootArticle());
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(Name(top[0]), L"Border");
    EXPECT_EQ(Name(top[1]), L"OPEN");
    EXPECT_EQ(Name(top[2]), L"Circle");
    EXPECT_NE(ClosedCurve(top[0]), nullptr);
    EXPECT_NE(ClosedCurve(top[2]), nullptr);

    // Each letter a group of closed outlines; a counter lies inside its letter's outline.
    const struct {
        const wchar_t* letter;
        size_t outlines;
    } letters[] = {{L"O", 2}, {L"P", 2}, {L"E", 1}, {L"N", 1}};
    const std::vector<CArticle*> word = Children(top[1]);
    ASSERT_EQ(word.size(), std::size(letters));
    for (size_t i = 0; i < word.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "letter " << i);
        EXPECT_EQ(Name(word[i]), letters[i].letter);
        const std::vector<CArticle*> outlines = Children(word[i]);
        ASSERT_EQ(outlines.size(), letters[i].outlines);
        for (CArticle* o : outlines)
            EXPECT_NE(ClosedCurve(o), nullptr);
        if (outlines.size() == 2) {
            CBezierItem* outer = ClosedCurve(outlines[0]);
            CBezierItem* counter = ClosedCurve(outlines[1]);
            ASSERT_TRUE(outer && counter);
            EXPECT_TRUE(counter->InsideOf(outer));
            EXPECT_FALSE(outer->InsideOf(counter));
        }
    }
    // Everything on the page.
    const CWindow all = page->RootArticle()->FullExtents();
    EXPECT_GE(all.x1, 0);
    EXPECT_GE(all.y1, 0);
    EXPECT_LE(all.x2, 280000);
    EXPECT_LE(all.y2, 130000);
}

TEST_F(SampleDesign, WritingTwiceGivesTheSameBytes) {
    const std::string first = box.Path("one.kdx"), second = box.Path("two.kdx");
    ASSERT_TRUE(WriteSampleDesign(CString(first)));
    const LONG idCount = CArticle::m_ID_count;
    ASSERT_TRUE(WriteSampleDesign(CString(second)));
    EXPECT_EQ(CArticle::m_ID_count, idCount); // the program's own ids count on as they were
    const std::vector<char> bytes = Bytes(first);
    EXPECT_FALSE(bytes.empty());
    EXPECT_EQ(bytes, Bytes(second));
}

TEST_F(SampleDesign, AnUnwritableFolderFails) {
    EXPECT_FALSE(WriteSampleDesign(CString(box.Path("missing/folder/sample.kdx"))));
}

} // namespace
