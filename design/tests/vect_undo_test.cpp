#include "design/document/vect_undo.h"

#include "design/tests/page_fixture.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/geometry/sb.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

namespace {

class VectUndoTest : public PageTest {
protected:
    void SetUp() override {
        auto* item = DynamicDowncast<CVectorItem>(CRuntimeClass::CreateObject("CSplineItem"));
        if (!item)
            GTEST_SKIP() << "the curve library is not linked";
        const CSb pts[] = {
            {0x200, {0, 0}}, {0x200, {100, 0}}, {0x200, {100, 100}}, {0x200, {0, 100}}};
        item->InsertElement(-1, const_cast<CSb*>(pts), 4);
        m_path = new CVectorArticle;
        m_path->Item(item);
        m_page.RootArticle()->AddChild(m_path);
    }
    std::vector<CSb> Points() {
        std::vector<CSb> out;
        CVectorItem* item = m_path->GetItem();
        for (int i = 0; i < item->ElementCount(); ++i) {
            unsigned char* data = nullptr;
            int size = 0;
            item->ElementData(i, &data, size);
            CSb p;
            std::memcpy(&p, data, sizeof p);
            out.push_back(p);
        }
        return out;
    }
    // Records, changes, undoes through the page and checks the path is as before; then
    // redoes and checks the change is back.
    template <class Change> void RoundTrip(CVectUndo* record, Change change) {
        const std::vector<CSb> before = Points();
        m_page.AddUndo(record, CDesignPage::IDS_ROTATE_90);
        change(m_path->GetItem());
        const std::vector<CSb> after = Points();
        ASSERT_TRUE(m_page.PerformUndoTransaction());
        EXPECT_EQ(Points(), before);
        ASSERT_TRUE(m_page.PerformRedoTransaction());
        EXPECT_EQ(Points(), after);
    }

    CVectorArticle* m_path = nullptr;
};

TEST_F(VectUndoTest, EachCodeIsUndoneAndRedone) {
    {
        SCOPED_TRACE("added at the end");
        auto* u = new CVectUndo(CVectUndo::kElemAddedAtEnd, m_path, 0);
        u->IncAddCount(2);
        RoundTrip(u, [](CVectorItem* item) {
            const CSb more[] = {{0x200, {5, 5}}, {0x200, {6, 6}}};
            item->InsertElement(-1, const_cast<CSb*>(more), 2);
        });
    }
    {
        SCOPED_TRACE("added at listed places");
        auto* u = new CVectUndo(CVectUndo::kElemAdded, m_path, 0);
        u->InitContents();
        u->AddElement(1);
        RoundTrip(u, [](CVectorItem* item) {
            CSb p(0x200, {50, 0});
            item->InsertElement(1, &p, 1);
        });
    }
    {
        SCOPED_TRACE("deleted");
        m_path->GetItem()->DeselectAllElements();
        m_path->GetItem()->SelectElement(1);
        m_path->GetItem()->SelectElement(2);
        auto* u = new CVectUndo(CVectUndo::kElemDeleted, m_path, 1);
        EXPECT_EQ(u->GetCount(), 2);
        RoundTrip(u, [](CVectorItem* item) { item->DeleteElement(1, 2); });
    }
    {
        SCOPED_TRACE("replaced");
        auto* u = new CVectUndo(CVectUndo::kElemReplaced, m_path, 0);
        RoundTrip(u, [](CVectorItem* item) {
            CMat2d m{CSize(7, 9)};
            item->TransformElement(&m, 0, item->ElementCount());
        });
    }
    for (double sx : {2.0, 0.0}) {
        SCOPED_TRACE(sx ? "transformed" : "flattened by a singular matrix");
        CMat2d m{CScale(sx, 1)};
        auto* u = new CVectUndo(3, m_path, &m, 0);
        RoundTrip(u,
                  [&](CVectorItem* item) { item->TransformElement(&m, 0, item->ElementCount()); });
    }
}

TEST_F(VectUndoTest, ElementDataOfOneLengthOnly) {
    auto* u = new CVectUndo(CVectUndo::kElemDeleted, m_path, 0);
    EXPECT_EQ(u->GetCount(), 4);
    EXPECT_EQ(u->GetDataLength(), int(sizeof(CSb)));
    CSb p;
    EXPECT_TRUE(u->GetElement(0, reinterpret_cast<BYTE*>(&p)));
    EXPECT_EQ(p.pt, CLpoint(0, 100)); // the last element first
    EXPECT_FALSE(u->GetElement(4, reinterpret_cast<BYTE*>(&p)));
    EXPECT_FALSE(u->IsEmpty());
    u->InitContents();
    EXPECT_TRUE(u->IsEmpty());
    delete u;
}

} // namespace
