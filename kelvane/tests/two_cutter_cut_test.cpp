// The program from end to end with two cutters: the sample sign (as the build writes it)
// opened from the command line, sent from its design window to a DM/PL cutter on the file
// port, then, after New Roll picks the other, to a DM/PL cutter on the network at
// 127.0.0.1:9100 (a listener of this test). Both receive the golden stream in
// data/sample_dmpl.txt; the program then closes and exits with 0.
//
// The golden is the program's own output, checked by eye once. To write it anew after a
// deliberate change of the output, run this test with KELVANE_REWRITE_GOLDEN=1 and read the
// diff before committing it.
#include "kelvane/app/sample_design.h"
#include "kelvane/tests/app_fixture.h"
#include "kelvane/tests/port9100_cutter.h"

#include "felgrin/base_cutter.h"
#include "felgrin/cutter_utils.h"
#include "felgrin/felgrin_utils.h"
#include "hobrand/choose_cutter.h"
#include "hobrand/media_manager_setup.h"
#include "platform/framework/document.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/list_controls.h"
#include "varnholm/sorvane_view.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class TwoCutterCut : public AppFixture {
protected:
    // The view of the one open design.
    CView* DesignView() {
        POSITION docs = app->DesignTemplate()->GetFirstDocPosition();
        CDocument* doc = docs ? app->DesignTemplate()->GetNextDoc(docs) : nullptr;
        POSITION views = doc ? doc->GetFirstViewPosition() : nullptr;
        return views ? doc->GetNextView(views) : nullptr;
    }
};

TEST_F(TwoCutterCut, TheSampleSentToACutterOnTheFileAndOneOnTheNetworkGivesBothTheGoldenStream) {
    kelvane::tests::Port9100Cutter network;
    std::string why;
    if (!network.Listen(why))
        GTEST_SKIP() << "127.0.0.1:" << kelvane::tests::kCutterService << " cannot be listened on ("
                     << why << "): another program holds the cutter port";

    ASSERT_NO_FATAL_FAILURE(StartWithFilePortCutter());
    {
        CBaseCutter* cutter = CCutterUtils::CreateCutter(L"CDMPLCutter");
        ASSERT_NE(cutter, nullptr);
        cutter->fnSetName(L"Network Plotter");
        cutter->SetPortName(L"127.0.0.1");
        cutter->fnSaveSettings();
        CCutterUtils::AddCutterToArray(cutter);
        FelgrinUtils::QuitCutterDriver();
    }
    const std::string sample = box.Path("sample.kdx");
    ASSERT_TRUE(WriteSampleDesign(CString(sample)));
    Restart({sample});
    ASSERT_EQ(DesignCount(), 1);
    CView* view = DesignView();
    ASSERT_NE(view, nullptr);
    CWnd* frame = view->GetParentFrame();

    // The cutter list picks `wanted`; the media manager and the output settings are taken as
    // they stand.
    std::wstring wanted;
    std::vector<std::wstring> offered;
    platform::ScopedDialogResponder answer([&](HWND dialog, UINT id) {
        if (id == IDD_CHOOSE_CUTTER) {
            HWND list = ::GetDlgItem(dialog, IDC_CHOOSE_CUTTER_LIST);
            const LRESULT at = ::SendMessageW(list, LB_FINDSTRINGEXACT, WPARAM(-1),
                                              reinterpret_cast<LPARAM>(wanted.c_str()));
            offered.push_back(wanted);
            platform::ChooseListItem(list, int(at));
        }
        ::SendDlgItemMessageW(dialog, IDOK, BM_CLICK, 0, 0);
    });

    wanted = L"Plotter";
    frame->SendMessage(WM_COMMAND, CSorvaneView::ID_SEND_TO_CUTTER, 0);
    Pump();
    wanted = L"Network Plotter";
    frame->SendMessage(WM_COMMAND, CSorvaneView::ID_NEW_ROLL, 0);
    Pump();
    frame->SendMessage(WM_COMMAND, CSorvaneView::ID_SEND_TO_CUTTER, 0);
    Pump();
    EXPECT_EQ(offered, (std::vector<std::wstring>{L"Plotter", L"Network Plotter"}));
    // The cutters' documents end with the sheet documents.
    if (CDocTemplate* sheets = app->DocTemplateForContext(kSheetContext))
        sheets->CloseAllDocuments(TRUE);
    FelgrinUtils::QuitCutterDriver();

    const std::string onFile = ReadFile(box.Path("home") + "/output.spl");
    const std::vector<std::string> onNetwork = network.Received();
    const std::string goldenPath = TEST_DATA_DIR "/sample_dmpl.txt";
    if (const char* rewrite = std::getenv("KELVANE_REWRITE_GOLDEN"); rewrite && *rewrite == '1')
        std::ofstream(goldenPath, std::ios::binary) << onFile;
    const std::string golden = ReadFile(goldenPath);
    ASSERT_FALSE(golden.empty()) << goldenPath;
    EXPECT_EQ(onFile, golden);
    // The network cutter is asked for its medium on a connection of its own when it is
    // picked; the job's connection then carries the same bytes as the file.
    EXPECT_EQ(onNetwork, (std::vector<std::string>{";:ER", golden}));
    EXPECT_TRUE(boxes.Shown().empty());

    // The sent design is unchanged: the program closes without a question and exits with 0.
    EXPECT_EQ(CloseProgram(), 0);
    EXPECT_TRUE(boxes.Shown().empty());
}

} // namespace
