#include "sorvane_host.h"

#include "felgrin/base_cutter.h"
#include "felgrin/cutter_utils.h"
#include "felgrin/felgrin_utils.h"
#include "maltrec/colour_tool_bar.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_child_wnd.h"
#include "pivora/geometry/sb.h"
#include "platform/display/display.h"
#include "platform/framework/mfc_tool_bar.h"
#include "platform/windowing/message.h"
#include "qvutils/qv_utils.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

#include <chrono>
#include <thread>
#include <vector>

SorvaneCalls g_calls;

CVectorArticle* AddSquare(CDesignPage* p, LONG x, int style) {
    constexpr DWORD kCorner = 0x200;
    auto* item = DynamicDowncast<CVectorItem>(CRuntimeClass::CreateObject("CSplineItem"));
    if (!item)
        return nullptr;
    std::vector<CSb> sb;
    for (CLpoint pt : {CLpoint{x, 0}, CLpoint{x + 1000, 0}, CLpoint{x + 1000, 1000},
                       CLpoint{x, 1000}, CLpoint{x, 0}})
        sb.emplace_back(kCorner, pt);
    item->InsertElement(-1, sb.data(), int(sb.size()));
    auto* a = new CVectorArticle;
    a->Item(item);
    p->RootArticle()->AddChild(a);
    a->InvExtents(1);
    a->SetPaletteIndex(style);
    return a;
}

ULONGLONG OffsetClock::NowMs() {
    using namespace std::chrono;
    return ULONGLONG(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count()) +
           m_offset;
}

void OffsetClock::SleepMs(DWORD ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

namespace {

int RecordSend(CDesignPage*, CJoxView*, int velm, int autoSend) {
    ++g_calls.sends;
    g_calls.velm = velm;
    g_calls.autoSend = autoSend;
    if (g_calls.during)
        g_calls.during();
    return 1;
}

void RecordDesignSize(CDesignPage*, CJoxView*) {
    ++g_calls.designSize;
}

int RecordDeleteAll() {
    ++g_calls.deleteAll;
    return 1;
}

CMediaManagerBlk* RecordSetup(int, int, int) {
    ++g_calls.setup;
    return nullptr;
}

// The design context's toolbar mask, as the program registers it.
constexpr int kDesignContextMask = 0x400000;

// The program's frame keeps the colour toolbar in its slot.
class SorvaneFrame : public CJoxToolbarFrameWnd {
public:
    CCustomToolBar* NewToolbar(int slot) override {
        if (slot == CColourToolBar::kSlot)
            return new CColourToolBar;
        return CJoxToolbarFrameWnd::NewToolbar(slot);
    }
};

} // namespace

void SorvaneHost::SetUp() {
    QvResetAppParamCache();
    platform::ResetMessageQueue();
    g_calls = SorvaneCalls{};
    m_saved = FnSorvaneServices();
    FnSorvaneServices() = {RecordSend, RecordDesignSize, RecordDeleteAll, RecordSetup};
    m_scopedClock = std::make_unique<platform::ScopedClock>(m_clock);
    m_app.SetContextCount(100);
    m_tmpl = new CJoxDocTemplate(IDR_DESIGN_WINDOW, RUNTIME_CLASS(CDesignPage),
                                 RUNTIME_CLASS(CJoxChildWnd), RUNTIME_CLASS(CSorvaneView),
                                 CSorvaneView::kContext);
    m_app.AddDocTemplate(CSorvaneView::kContext, m_tmpl, 1);
    QvResetContextMasks();
    QvAddContextMask(CSorvaneView::kContext, kDesignContextMask);
    platform::RegisterToolBarTemplate(
        {CSorvaneView::kColourToolBarResource, 16, 16, {CColourToolBar::ID_COLOUR_LIST}});
    m_frame = new SorvaneFrame;
    ASSERT_TRUE(m_frame->Create(nullptr, L"Kelvane", WS_OVERLAPPEDWINDOW, CRect(0, 0, 1000, 800)));
    AfxSetMainWnd(m_frame);
}

void SorvaneHost::TearDown() {
    if (m_frame && ::IsWindow(m_frame->m_hWnd))
        m_frame->DestroyWindow();
    AfxSetMainWnd(nullptr);
    FelgrinUtils::QuitCutterDriver();
    FnSorvaneServices() = m_saved;
    platform::ResetMessageQueue();
    m_scopedClock.reset();
    QvResetAppParamCache();
}

CSorvaneView* SorvaneHost::Open() {
    page = dynamic_cast<CDesignPage*>(m_tmpl->OpenDocumentFile(nullptr));
    if (!page)
        return nullptr;
    POSITION pos = page->GetFirstViewPosition();
    view = pos ? dynamic_cast<CSorvaneView*>(page->GetNextView(pos)) : nullptr;
    Pump();
    return view;
}

void SorvaneHost::Command(UINT id) {
    ::SendMessageW(view->m_hWnd, WM_COMMAND, id, 0);
}

void SorvaneHost::Pump() {
    MSG msg;
    // Bounded: a handler that keeps posting must not hang a test.
    for (int i = 0; i < 10000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void SorvaneHost::Advance(ULONGLONG ms) {
    m_clock.Advance(ms);
    Pump();
}

CBaseCutter* SorvaneHost::Install(const wchar_t* name, const wchar_t* port) {
    CBaseCutter* c = CCutterUtils::CreateCutter(L"CDMPLCutter");
    c->fnSetName(name);
    c->SetPortName(port);
    c->fnSaveSettings();
    CCutterUtils::AddCutterToArray(c);
    return c;
}

void SorvaneDisplayHost::SetUp() {
    int argc = 1;
    char name[] = "varnholm_test";
    char* argv[] = {name, nullptr};
    if (!platform::display::Start(argc, argv))
        GTEST_SKIP() << "no display";
    m_started = true;
    SorvaneHost::SetUp();
}

void SorvaneDisplayHost::TearDown() {
    if (!m_started)
        return;
    SorvaneHost::TearDown();
    platform::display::Stop();
}
