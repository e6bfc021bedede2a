// Arbitrary bytes read as a row of articles with their items, effects and named values: the
// archive exception is the only way out, and whatever loaded is walked, copied, stored and freed.
#include "pivora/article.h"

#include "platform/core/archive.h"
#include "platform/core/mem_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMemFile file(data, UINT(size));
    CArchive ar(&file, CArchive::load);
    CArticle* first = nullptr;
    try {
        first = ar.ReadObjectAs<CArticle>();
    } catch (const CArchiveException&) {
        return 0;
    }
    if (!first)
        return 0;
    first->BuildLinks();

    // What a page does with a loaded design: measure it, look things up, copy and store it.
    first->Extents(0);
    first->FindID(first->GetID() + 1);
    first->fnGetValue(L"Width", 0);
    int x = 0, y = 0;
    first->TxEffectXform(1, 2, x, y);
    CLpoint pts[2] = {CLpoint(0, 0), CLpoint(10, 10)};
    int n = 0;
    CLpoint* moved = first->TxEffectXform(pts, 2, n);
    if (moved != pts)
        delete[] moved;
    delete first->CopyTreeObject();
    {
        CMemFile out;
        CArchive store(&out, CArchive::store);
        store.WriteObject(first);
        store.Close();
    }

    CTree::DeleteRow(first);
    return 0;
}
