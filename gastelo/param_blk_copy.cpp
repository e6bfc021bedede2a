#include "gastelo/param_blk_copy.h"

#include "pivora/param_blk.h"
#include "pivora/scope_guard.h"

#include "platform/core/archive.h"
#include "platform/core/mem_file.h"

CObject* CopyParamBlkThroughArchive(CParamBlk& source, CObject* target) {
    if (target && !target->IsKindOf(source.GetRuntimeClass()))
        return nullptr;
    CObject* made = nullptr;
    if (!target)
        target = made = source.GetRuntimeClass()->CreateObject();
    CScopeGuard onFailure([&] { delete made; });
    CMemFile file;
    {
        CArchive store(&file, CArchive::store);
        source.Serialize(store);
        store.Close();
    }
    file.SeekToBegin();
    CArchive load(&file, CArchive::load);
    target->Serialize(load);
    onFailure.Dismiss();
    return target;
}
