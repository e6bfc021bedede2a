#include "pivora/framework/jox_win_app_ex.h"

#include "pivora/framework/jox_child_wnd.h"
#include "pivora/framework/jox_doc_template.h"
#include "pivora/framework/jox_view.h"
#include "pivora/jox_page.h"
#include "platform/core/exceptions.h"
#include "platform/windowing/dialog_template.h"

#include <gtest/gtest.h>

namespace {

TEST(JoxWinAppEx, AppPathCutsTheProgramFileAtItsFolder) {
    EXPECT_EQ(CJoxWinAppEx::AppPathOf(L"C:\\a\\b.exe", true), L"C:\\a\\");
    EXPECT_EQ(CJoxWinAppEx::AppPathOf(L"C:\\a\\b.exe", false), L"C:\\a");
    EXPECT_EQ(CJoxWinAppEx::AppPathOf(L"b.exe", true), L"b.exe");
    EXPECT_EQ(CJoxWinAppEx::AppPathOf(L"/opt/kelvane/bin/kelvane", false), L"/opt/kelvane/bin");
    CJoxWinAppEx app;
    EXPECT_FALSE(app.AppPath(false).IsEmpty());
    ASSERT_NE(app.AppFont(), nullptr);
    EXPECT_NE(app.AppFont()->m_hObject, nullptr);
}

TEST(JoxWinAppEx, TheContextTableBindsTemplatesAndChecksItsRangeFirst) {
    platform::RegisterStrings({{600, L"\nDesign\nDesign\n"}, {601, L"\nCut\n\n"}});
    CJoxWinAppEx app;
    app.SetContextCount(100);
    auto* design =
        new CJoxDocTemplate(600, RUNTIME_CLASS(CJoxPage), RUNTIME_CLASS(CJoxChildWnd), nullptr, 3);
    auto* cut =
        new CJoxDocTemplate(601, RUNTIME_CLASS(CJoxPage), RUNTIME_CLASS(CJoxChildWnd), nullptr, 4);
    // Out of range: nothing is registered, so the application does not own it.
    auto* stray = new CJoxDocTemplate(600, RUNTIME_CLASS(CJoxPage), nullptr, nullptr, 100);
    EXPECT_THROW(app.AddDocTemplate(100, stray, 1), CInvalidArgException);
    EXPECT_EQ(app.GetDocTemplateCount(), 0);
    delete stray;
    app.AddDocTemplate(3, design, 2);
    app.AddDocTemplate(4, cut, 5);
    EXPECT_EQ(app.NumChangeContexts(), 1); // the cut template has no name for new documents
    EXPECT_EQ(app.IndustryForContext(3), 2);
    EXPECT_EQ(app.IndustryForContext(-1), 0);
    EXPECT_EQ(GetDocTemplate(3), design);
    EXPECT_EQ(GetDocTemplate(7), nullptr);
    EXPECT_EQ(GetDocTemplate(-5), nullptr);
    EXPECT_THROW(GetDocTemplate(100), CInvalidArgException);
    EXPECT_THROW(app.IndustryForContext(100), CInvalidArgException);
    // A second template for a context replaces the pair; the first stays registered.
    auto* again = new CJoxDocTemplate(600, RUNTIME_CLASS(CJoxPage), nullptr, nullptr, 3);
    app.AddDocTemplate(3, again, 9);
    EXPECT_EQ(GetDocTemplate(3), again);
    EXPECT_EQ(app.IndustryForContext(3), 9);
    EXPECT_EQ(app.GetDocTemplateCount(), 3);
    EXPECT_EQ(JoxGetApp(), &app);
}

} // namespace
