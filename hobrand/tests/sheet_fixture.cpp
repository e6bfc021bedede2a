#include "hobrand/tests/sheet_fixture.h"

#include "hobrand/media_manager_setup.h"

#include "felgrin/cutter_utils.h"
#include "felgrin/felgrin_utils.h"
#include "pivora/framework/jox_child_wnd.h"
#include "pivora/framework/jox_doc_template.h"
#include "pivora/framework/jox_frame_wnd.h"
#include "pivora/framework/jox_win_app_ex.h"
#include "pivora/jox_page.h"
#include "platform/framework/view.h"
#include "platform/windowing/resources.h"
#include "qvutils/host_services.h"

#include <fstream>
#include <sstream>

namespace {

constexpr UINT kSheetResource = 7010;

// The sheet documents' view draws nothing in these tests.
class CSheetTestView : public CView {
    DECLARE_DYNCREATE(CSheetTestView)
};
IMPLEMENT_DYNCREATE(CSheetTestView, CView)

} // namespace

void SheetTest::SetUp() {
    m_box = std::make_unique<SettingsSandbox>();
    qvhost::ResetAppParams();
    m_boxes = std::make_unique<platform::MessageBoxResponder>();
    // Cancel unless a test answers otherwise: a retry question never loops.
    m_boxes->SetDefault(IDCANCEL);
    platform::RegisterStrings({{kSheetResource, L"\nSheet\nSheet"}});
    m_app = std::make_unique<CJoxWinAppEx>();
    m_app->SetContextCount(100);
    m_main = new CJoxFrameWnd;
    ASSERT_TRUE(m_main->Create(nullptr, L"Kelvane", WS_OVERLAPPEDWINDOW, CRect(0, 0, 800, 600)));
    AfxSetMainWnd(m_main);
    m_app->m_pMainWnd = m_main;
}

void SheetTest::TearDown() {
    // Sheet documents end their cutter's document: they go before the cutters.
    if (CJoxDocTemplate* t = m_app->DocTemplateForContext(kSheetContext))
        t->CloseAllDocuments(TRUE);
    FelgrinUtils::QuitCutterDriver();
    if (::IsWindow(m_main->m_hWnd))
        m_main->DestroyWindow();
    AfxSetMainWnd(nullptr);
    m_app.reset();
    m_boxes.reset();
    qvhost::ResetAppParams();
    m_box.reset();
}

CBaseCutter* SheetTest::Install(const wchar_t* name, const wchar_t* port) {
    CBaseCutter* c = CCutterUtils::CreateCutter(CUTTER_TYPE_DMPL);
    c->fnSetName(name);
    c->SetPortName(port);
    c->fnSetOrigin(1);
    if (CCutterUtils::AddCutterToArray(c) != 1) {
        delete c;
        return nullptr;
    }
    return c;
}

void SheetTest::AddSheetTemplate() {
    m_app->AddDocTemplate(kSheetContext,
                          new CJoxDocTemplate(kSheetResource, RUNTIME_CLASS(CJoxPage),
                                              RUNTIME_CLASS(CJoxChildWnd),
                                              RUNTIME_CLASS(CSheetTestView), kSheetContext),
                          1);
}

std::vector<CJoxPage*> SheetTest::SheetPages() const {
    std::vector<CJoxPage*> pages;
    if (CJoxDocTemplate* t = m_app->DocTemplateForContext(kSheetContext))
        for (POSITION pos = t->GetFirstDocPosition(); pos;)
            pages.push_back(dynamic_cast<CJoxPage*>(t->GetNextDoc(pos)));
    return pages;
}

std::string SheetTest::ReadHomeFile(const std::string& name) const {
    std::ifstream in(m_box->Path("home") + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::wstring> SheetTest::Shown() const {
    std::vector<std::wstring> texts;
    for (const auto& m : m_boxes->Shown())
        texts.push_back(m.text);
    return texts;
}
