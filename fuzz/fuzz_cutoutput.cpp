// Arbitrary bytes opened as a design, tidied by the curve and segment utilities and sent to a
// DM/PL cutter on the file port: odd paths, empty articles, huge extents and marks anywhere in
// the data range must end the output and leave the design as it was sent, never crash or hang.
#include "design/design_page.h"
#include "felgrin/cutter_utils.h"
#include "felgrin/felgrin_utils.h"
#include "fuzz_scratch.h"
#include "hobrand/media_manager_blk.h"
#include "maltrec/curve_utils.h"
#include "maltrec/send_to_cutter.h"
#include "pivora/framework/app_params.h"
#include "vector/cut_line_palette.h"
#include "vector/draw_line_palette.h"
#include "vector/vector_article.h"
#include "vector/vector_style_pb.h"

#include "platform/core/archive.h"
#include "platform/core/mem_file.h"
#include "platform/windowing/message_box.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

class Medium : public CMediaManagerBlk {
public:
    Medium() {
        __fnSetDevice(CString(L"Plotter"));
        CWindow roll(0, 0, 600000, 5000000);
        __fnSetSpace();
        __fnSetSheetExtents(&roll);
        __fnSetCutterExt(&roll);
        SetFeedOnDelete(0);
        _fnDocStart();
    }
};

CDesignPage* g_sheet = nullptr;

CMediaManagerBlk* Setup(int, int, int) {
    return dynamic_cast<CMediaManagerBlk*>(g_sheet->FindParam(CParamBlk::kMediaManagerId));
}

std::vector<BYTE> Stored(CJoxPage& page) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    page.Serialize(ar);
    ar.Close();
    return file.Detach();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string root = FuzzScratchFolder("cutoutput");
    ::setenv("KELVANE_USER_HIVE", (root + "/user.hive").c_str(), 1);
    ::setenv("KELVANE_MACHINE_HIVE", (root + "/machine.hive").c_str(), 1);
    ::setenv("KELVANE_HOME", root.c_str(), 1);
    ::setenv("KELVANE_PROGRAM_DIR", root.c_str(), 1);
    std::unique_ptr<CObject> readers[] = {
        std::make_unique<CVectorStylePB>(), std::make_unique<CCutLinePalette>(),
        std::make_unique<CDrawLinePalette>(), std::make_unique<CVectorArticle>()};
    platform::MessageBoxResponder quiet;
    CBaseCutter* cutter = CCutterUtils::CreateCutter(0);
    cutter->fnSetName(CString(L"Plotter"));
    cutter->SetPortName(CString(L"FILE"));
    CCutterUtils::AddCutterToArray(cutter);
    g_sheet = new CDesignPage;
    g_sheet->AddParam(new Medium);
    // Moved starts, weed boxes, one job per object: none of it may stay on the design.
    QvSetAppParam(L"Inside first", 2);
    QvSetAppParam(L"Cut Out Weed", 1);
    QvSetAppParam(L"Cut objects separate", 1);
    FnSendServices().medManSetup = Setup;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::MessageBoxResponder responder;
    CDesignPage page;
    page.m_bAutoDelete = FALSE;
    try {
        CMemFile file(const_cast<BYTE*>(data), UINT(size));
        CArchive ar(&file, CArchive::load);
        page.Serialize(ar);
    } catch (CException&) {
        return 0;
    }
    FnReplaceBezierCircles(&page);
    if (CArticle* root = page.RootArticle())
        OrderSegment(root, size > 0 ? data[0] & 7 : 0);
    // The send's first step (the extents) is its own change; the rest must leave the design as
    // it found it. The mark finder tags what it finds: it runs first, as the send would.
    StVelmMarkers marks;
    FnFindVelmMarks(&page, 0, &marks);
    page.RecalcExtents(0);
    const std::vector<BYTE> before = Stored(page);
    FnSendServices().findMarks = nullptr;
    g_fnSendDesignToCutter(&page, nullptr, 0, 1);
    if (Stored(page) != before)
        std::abort();
    return 0;
}
