#include "design/design_iterator.h"

#include "design/design_page.h"
#include "design/tests/page_fixture.h"
#include "pivora/framework/jox_doc_template.h"
#include "pivora/framework/jox_win_app_ex.h"
#include "platform/windowing/resources.h"

#include <memory>

namespace {

class DesignIteratorTest : public PageTest {
protected:
    DesignIteratorTest() {
        m_app.SetContextCount(100);
        m_design = AddTemplate(CDesignPage::kContext, RUNTIME_CLASS(CDesignPage));
        m_plain = AddTemplate(7, RUNTIME_CLASS(CJoxPage));
        m_beyond = AddTemplate(60, RUNTIME_CLASS(CDesignPage));
    }
    CJoxDocTemplate* AddTemplate(int context, CRuntimeClass* docClass) {
        auto* t = new CJoxDocTemplate(0, docClass, nullptr, nullptr, context);
        m_app.AddDocTemplate(context, t, 1);
        return t;
    }
    CDocument* Open(CJoxDocTemplate* t) {
        m_docs.emplace_back(t->CreateNewDocument());
        m_docs.back()->m_bAutoDelete = FALSE;
        return m_docs.back().get();
    }

    CJoxWinAppEx m_app;
    CJoxDocTemplate* m_design = nullptr;
    CJoxDocTemplate* m_plain = nullptr;
    CJoxDocTemplate* m_beyond = nullptr;
    std::vector<std::unique_ptr<CDocument>> m_docs; // closed before the application goes
};

TEST_F(DesignIteratorTest, WalksTheDesignsOfContextsOneTo59) {
    CDocument* first = Open(m_design);
    CDocument* second = Open(m_design);
    Open(m_plain);  // not a design
    Open(m_beyond); // past the last context
    second->SetModifiedFlag(TRUE);
    int count = -1, modified = -1;
    CDesignIterator::CountDesigns(count, modified);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(modified, 1);

    std::vector<CDesignPage*> seen;
    EXPECT_FALSE(CDesignIterator::Iterate(
        [](CDesignPage* p, void* d) {
            static_cast<std::vector<CDesignPage*>*>(d)->push_back(p);
            return CDesignIterator::eIteratorContinue;
        },
        &seen));
    EXPECT_EQ(seen, (std::vector<CDesignPage*>{static_cast<CDesignPage*>(first),
                                               static_cast<CDesignPage*>(second)}));
    EXPECT_TRUE(CDesignIterator::Iterate(
        [](CDesignPage*, void*) { return CDesignIterator::eIteratorStop; }, nullptr));

    // A view counts while a design shows it.
    CView* view = View();
    EXPECT_FALSE(CDesignIterator::IsValidView(view)); // the fixture's page is no open design
    static_cast<CDesignPage*>(first)->AddView(view);
    EXPECT_TRUE(CDesignIterator::IsValidView(view));
    static_cast<CDesignPage*>(first)->RemoveView(view);
    m_page.AddView(view);
    EXPECT_FALSE(CDesignIterator::IsValidView(nullptr));
}

} // namespace
