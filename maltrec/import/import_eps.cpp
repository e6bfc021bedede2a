#include "maltrec/import/import_eps.h"

#include "maltrec/import/eps_interpreter.h"
#include "maltrec/import/import_failure.h"

#include "platform/core/file.h"

int CImportEPS::ImportEPS3File(CDesignView* view, CDesignPage* page, CFile* file, int closeFirst,
                               CString& path, int&) {
    if (file && closeFirst)
        file->Close();
    CEPSInterpreter eps(view, page, path);
    if (eps.ReadFile())
        eps.Run();
    // Said only when the road finds nothing added.
    FnSetImportFailure(eps.StopReason());
    return 1;
}

int CImportEPS::ImportIllustratorFile(CDesignView* view, CDesignPage* page, CFile* file,
                                      int closeFirst, int flags, CArticleList* list) {
    if (!page)
        return 0;
    const CString path = file ? file->GetFilePath() : CString();
    if (file && closeFirst)
        file->Close();
    CEPSInterpreter eps(view, page, path, flags, list);
    const int result = eps.ReadFile() && eps.Run() == CEPSInterpreter::kRunOk ? 1 : 0;
    FnSetImportFailure(eps.StopReason());
    return result;
}
