// Arbitrary bytes read as a row of tree nodes: the archive exception is the only way out.
#include "pivora/tree.h"

#include "platform/core/archive.h"
#include "platform/core/mem_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMemFile file(data, UINT(size));
    CArchive ar(&file, CArchive::load);
    try {
        CTree* first = ar.ReadObjectAs<CTree>();
        if (first)
            first->BuildLinks();
        CTree::DeleteRow(first);
    } catch (const CArchiveException&) {
    }
    return 0;
}
