#include "send_fixture.h"

#include "felgrin/cutter_utils.h"
#include "felgrin/felgrin_utils.h"
#include "platform/core/archive.h"
#include "platform/core/mem_file.h"
#include "spline/spline_item.h"
#include "vector/vector_style_pb.h"

#include <fstream>
#include <sstream>

namespace {

CMediaManagerBlk* s_medium = nullptr;

CMediaManagerBlk* TestSetup(int, int, int) {
    return s_medium;
}

} // namespace

CTestMedium::CTestMedium(const CString& device, const CWindow& sheet) {
    __fnSetDevice(device);
    CWindow w = sheet;
    __fnSetSpace();
    __fnSetSheetExtents(&w);
    __fnSetCutterExt(&w);
    SetFeedOnDelete(0);
    _fnDocStart(); // as the binding of the sheet document does
}

void SendTest::SetUp() {
    AppSettingsTest::SetUp();
    m_boxes = std::make_unique<platform::MessageBoxResponder>();
    CBaseCutter* c = CCutterUtils::CreateCutter(0);
    ASSERT_NE(c, nullptr);
    c->fnSetName(CString(L"Plotter"));
    c->SetPortName(CString(L"FILE"));
    ASSERT_EQ(CCutterUtils::AddCutterToArray(c), 1);
    m_sheetPage = std::make_unique<CDesignPage>();
    m_medium = new CTestMedium(L"Plotter", CWindow(0, 0, 600000, 1000000));
    m_sheetPage->AddParam(m_medium);
    s_medium = m_medium;
    FnSendServices().medManSetup = TestSetup;
    m_design = std::make_unique<CDesignPage>();
    CVectorStylePB* styles = CVectorArticle::fnGetVectorStylePB(m_design.get());
    styles->fnResize(2);
}

void SendTest::TearDown() {
    FnSendServices() = StSendServices();
    s_medium = nullptr;
    m_design.reset();
    m_sheetPage.reset();
    FelgrinUtils::QuitCutterDriver();
    m_boxes.reset();
    AppSettingsTest::TearDown();
}

CVectorArticle* SendTest::AddSquare(int x, int y, int size, COLORREF rgb, CArticle* parent) {
    auto* s = new CSplineItem;
    for (CLpoint p : {CLpoint(x, y), CLpoint(x + size, y), CLpoint(x + size, y + size),
                      CLpoint(x, y + size), CLpoint(x, y)})
        s->Vect(CSb(CSplineItem::kBreak, p));
    s->MakeCurves();
    auto* a = new CVectorArticle;
    a->Item(s);
    (parent ? parent : m_design->RootArticle())->AddChild(a);
    int style = 0;
    a->SetLineColour(rgb, style);
    a->InvExtents(1);
    return a;
}

std::string SendTest::Output() const {
    std::ifstream in(m_box.Path("home") + "/output.spl", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<BYTE> SendTest::Saved() {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    m_design->Serialize(ar);
    ar.Close();
    return file.Detach();
}
