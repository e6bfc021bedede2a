// Files dropped on the main window open as if chosen in the open dialog.
#include "kelvane/tests/app_fixture.h"
#include "platform/framework/document.h"
#include "platform/windowing/drop_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

class MainFrameDrop : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(Start({"a", "b"})); // no design of its own
    }
    void Drop(const std::vector<std::wstring>& paths) {
        ::SendMessageW(AfxGetMainWnd()->GetSafeHwnd(), WM_DROPFILES,
                       WPARAM(platform::MakeDropHandle(paths)), 0);
    }
};

TEST_F(MainFrameDrop, TheMainWindowTakesFilesAndOpensEachDroppedDesign) {
    EXPECT_TRUE(platform::AcceptsDroppedFiles(AfxGetMainWnd()->GetSafeHwnd()));
    const std::string one = box.Path("one.kdx"), two = box.Path("två €.kdx");
    SaveDesign(one);
    SaveDesign(two);
    ASSERT_EQ(DesignCount(), 0);
    Drop({std::wstring(CString(one)), std::wstring(CString(two))});
    ASSERT_EQ(DesignCount(), 2);
    POSITION pos = app->DesignTemplate()->GetFirstDocPosition();
    EXPECT_EQ(app->DesignTemplate()->GetNextDoc(pos)->GetPathName(), CString(one));
    EXPECT_EQ(app->DesignTemplate()->GetNextDoc(pos)->GetPathName(), CString(two));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(MainFrameDrop, AFileTheProgramDoesNotTakeIsPassedOverAndTheRestOpen) {
    const std::string notes = box.Path("notes.kom"), sign = box.Path("sign.kdx");
    std::ofstream(notes, std::ios::binary) << "x";
    SaveDesign(sign);
    Drop({std::wstring(CString(notes)), std::wstring(CString(sign))});
    ASSERT_EQ(DesignCount(), 1);
    POSITION pos = app->DesignTemplate()->GetFirstDocPosition();
    EXPECT_EQ(app->DesignTemplate()->GetNextDoc(pos)->GetPathName(), CString(sign));
}

} // namespace
