// Arbitrary bytes imported as a cutter job file (every kind the sniff knows) and as a panel
// file: the readers end, add only sound articles and keep every pen inside the style table.
#include "fuzz_scratch.h"
#include "maltrec/import/spl_import.h"

#include "maltrec/import/cutter_job_reader.h"

#include "design/design_page.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"
#include "vector/vector_style_pb.h"

#include "platform/core/mem_file.h"
#include "platform/windowing/message_box.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Settings and folders of this run stay in a private folder.
    const std::string root = FuzzScratchFolder("plotfile");
    ::setenv("KELVANE_USER_HIVE", (root + "/user.hive").c_str(), 1);
    ::setenv("KELVANE_MACHINE_HIVE", (root + "/machine.hive").c_str(), 1);
    ::setenv("KELVANE_HOME", root.c_str(), 1);
    ::setenv("KELVANE_PROGRAM_DIR", root.c_str(), 1);
    // No operator to press Cancel: a dialog per input would cost more than the reading.
    CCutterJobReader::SetProgressShown(false);
    return 0;
}

namespace {

void Check(CVectorStylePB* table, CTree* first) {
    for (CTree* t = first; t; t = t->GetRsibling()) {
        Check(table, t->GetFirstChild());
        auto* a = DynamicDowncast<CVectorArticle>(t);
        if (!a)
            continue;
        if (a->PaletteIndex() < 0 || a->PaletteIndex() >= table->fnGetSize())
            __builtin_trap();
        auto* item = DynamicDowncast<CSplineItem>(a->GetItem());
        if (!item)
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::MessageBoxResponder boxes;
    for (int panel = 0; panel < 2; ++panel) {
        auto page =
            std::unique_ptr<CDesignPage>(static_cast<CDesignPage*>(CDesignPage::CreateObject()));
        CMemFile file(data, UINT(size));
        if (panel)
            FnImportPNLFile(nullptr, page.get(), &file);
        else
            FnImportSPLFile(nullptr, page.get(), &file, 1, nullptr);
        Check(CVectorArticle::fnGetVectorStylePB(page.get()), page->RootArticle()->GetFirstChild());
    }
    return 0;
}
