// Arbitrary bytes saved as a PDF and as an Illustrator file and imported through the import
// dispatcher, with the PDF library and its helper beside the program: any result is fine; a
// crash, a hang or undefined behaviour is not.
#include "fuzz_scratch.h"
#include "maltrec/import/import_draw.h"
#include "maltrec/import/pdf_manager.h"

#include "design/design_page.h"
#include "platform/core/file.h"
#include "platform/windowing/message_box.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string g_root;

void ImportAs(const char* name, const uint8_t* data, size_t size) {
    const std::string path = g_root + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    CFile file;
    if (!file.Open(CString::FromUtf8(path), CFile::modeRead))
        std::abort();
    CDesignPage page;
    page.m_bAutoDelete = FALSE;
    CImportDraw::ImportVectorDesign(&page, &file, 0, nullptr);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_root = FuzzScratchFolder("pdf_import");
    ::setenv("KELVANE_USER_HIVE", (g_root + "/user.hive").c_str(), 1);
    ::setenv("KELVANE_MACHINE_HIVE", (g_root + "/machine.hive").c_str(), 1);
    ::setenv("KELVANE_HOME", g_root.c_str(), 1);
    // A missing library would make every input a quick refusal: the run would test nothing.
    if (!CPDFManager::StartPDFManager())
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::MessageBoxResponder quiet;
    ImportAs("fuzz.pdf", data, size);
    ImportAs("fuzz.ai", data, size);
    return 0;
}
