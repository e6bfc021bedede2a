// Arbitrary bytes opened as a design file through the page's own open: a damaged file must
// end in a reported failure, never a crash, a hang or a leak, and the file stays as it was.
#include "fuzz_scratch.h"
#include "gastelo/design_param_blk.h"
#include "gastelo/emb_table_param_blk.h"
#include "hobrand/media_manager_blk.h"
#include "pivora/framework/jox_dc.h"
#include "pivora/jox_page.h"
#include "vector/cut_line_palette.h"
#include "vector/draw_line_palette.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"
#include "vector/vector_style_pb.h"

#include "platform/core/archive.h"
#include "platform/core/mem_file.h"
#include "platform/graphics/surface.h"
#include "platform/windowing/message_box.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string g_path;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Settings and folders of this run stay in a private folder.
    const std::string root = FuzzScratchFolder("design");
    ::setenv("KELVANE_USER_HIVE", (root + "/user.hive").c_str(), 1);
    ::setenv("KELVANE_MACHINE_HIVE", (root + "/machine.hive").c_str(), 1);
    ::setenv("KELVANE_HOME", root.c_str(), 1);
    ::setenv("KELVANE_PROGRAM_DIR", root.c_str(), 1);
    g_path = root + "/Fuzz.KDX";
    // Designs carry the design and table blocks: their readers must be in the program.
    std::unique_ptr<CObject> blocks[] = {
        std::make_unique<CDesignParamBlk>(),  std::make_unique<CEmbTableParamBlk>(),
        std::make_unique<CVectorStylePB>(),   std::make_unique<CCutLinePalette>(),
        std::make_unique<CDrawLinePalette>(), std::make_unique<CVectorArticle>(),
        std::make_unique<CVectorItem>(),      std::make_unique<CMediaManagerBlk>(),
        std::make_unique<CSheetNester>()};
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Answers the failure's message box without a word on the console; one run's record only.
    platform::MessageBoxResponder responder;
    {
        std::ofstream out(g_path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    std::unique_ptr<CJoxPage> page(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
    if (page->OnOpenDocument(CString::FromUtf8(g_path))) {
        // What opened must also measure, draw and store.
        page->RecalcExtents(0);
        CWindow w;
        page->GetActiveObjectExtents(w);
        platform::RecordingSurface surface(64, 64);
        struct SurfaceDC : CJoxDC {
            explicit SurfaceDC(platform::Surface& s) { Attach(platform::CreateSurfaceDC(&s)); }
        } dc(surface);
        dc.SetDrawMode(CJoxDC::DRAW_PATHS);
        page->OnDraw(nullptr, &dc);
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        page->Serialize(ar);
        ar.Close();
    } else if (page->GetLastErrorText().IsEmpty() || responder.Shown().size() != 1) {
        std::abort(); // a failure must say why, once
    }
    std::ifstream in(g_path, std::ios::binary);
    std::vector<uint8_t> back((std::istreambuf_iterator<char>(in)), {});
    if (back.size() != size || !std::equal(back.begin(), back.end(), data))
        std::abort(); // opening never touches the file
    return 0;
}
