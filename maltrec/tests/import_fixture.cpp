#include "maltrec/tests/import_fixture.h"

#include "spline/spline_item.h"
#include "vector/vector_article.h"
#include "vector/vector_style_pb.h"

#include "platform/core/archive.h"

#include <fstream>
#include <iterator>

std::ostream& operator<<(std::ostream& os, const Path& p) {
    os << "pen " << p.pen << ":";
    for (const CLpoint& pt : p.points)
        os << " (" << pt.x << ", " << pt.y << ")";
    return os;
}

void ImportTest::SetUp() {
    AppSettingsTest::SetUp();
    ResetPage();
}

void ImportTest::TearDown() {
    m_page.reset();
    AppSettingsTest::TearDown();
}

void ImportTest::ResetPage() {
    m_page.reset(static_cast<CDesignPage*>(CDesignPage::CreateObject()));
    // As a new design window's page starts.
    m_page->fnInitParamBlocks();
}

namespace {

void Collect(CTree* first, std::vector<Path>& out) {
    for (CTree* t = first; t; t = t->GetRsibling()) {
        if (auto* a = DynamicDowncast<CVectorArticle>(t)) {
            Path p;
            p.pen = a->PaletteIndex();
            if (auto* s = DynamicDowncast<CSplineItem>(a->GetItem()))
                for (int i = 0; i < s->VectCount(); ++i)
                    p.points.push_back(s->Vect(i).pt);
            out.push_back(p);
        }
        Collect(t->GetFirstChild(), out);
    }
}

} // namespace

std::vector<Path> ImportTest::Paths() const {
    std::vector<Path> out;
    Collect(m_page->RootArticle()->GetFirstChild(), out);
    return out;
}

bool ImportTest::EveryPenInStyles() const {
    CVectorStylePB* table = CVectorArticle::fnGetVectorStylePB(m_page.get());
    for (const Path& p : Paths())
        if (p.pen < 0 || p.pen >= table->fnGetSize())
            return false;
    return true;
}

void ImportTest::ExpectSavedTwiceIdentical() {
    const std::string first = m_box.Path("Import.KDX"), second = m_box.Path("Again.KDX");
    ASSERT_TRUE(m_page->OnSaveDocument(CString::FromUtf8(first)));
    auto opened =
        std::unique_ptr<CDesignPage>(static_cast<CDesignPage*>(CDesignPage::CreateObject()));
    // What the file holds, read back without the design page's own open road (which sets the
    // page up for a window).
    ASSERT_TRUE(opened->CJoxPage::OnOpenDocument(CString::FromUtf8(first)));
    ASSERT_TRUE(opened->OnSaveDocument(CString::FromUtf8(second)));
    std::ifstream f1(first, std::ios::binary), f2(second, std::ios::binary);
    std::vector<char> b1((std::istreambuf_iterator<char>(f1)), {});
    std::vector<char> b2((std::istreambuf_iterator<char>(f2)), {});
    EXPECT_FALSE(b1.empty());
    EXPECT_EQ(b1, b2);
}

std::vector<BYTE> ImportTest::Stored() const {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    m_page->Serialize(ar);
    ar.Close();
    return file.Detach();
}
