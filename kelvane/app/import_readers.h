// The readers the import road hands files to (tests put stand-ins in their place), and how the
// road tells a file that added nothing.
#pragma once

#include "pivora/article.h"
#include "platform/core/cstring.h"
#include "platform/core/types.h"

class CDesignPage;
class CDesignView;
class CFile;

namespace kelvane {

struct TImportReaders {
    int (*vectorDesign)(CDesignPage* page, CFile* file, UINT flags, CArticleList* list);
    int (*cutterFile)(CDesignView* view, CDesignPage* page, CFile* file, UINT kind,
                      CArticleList* list);
    int (*panelFile)(CDesignView* view, CDesignPage* page, CFile* file);
};

// The program's own readers.
TImportReaders DefaultImportReaders();
const TImportReaders& ImportReaders();

// Replaces the readers for its life.
class CScopedImportReaders {
public:
    explicit CScopedImportReaders(const TImportReaders& readers);
    ~CScopedImportReaders();
    CScopedImportReaders(const CScopedImportReaders&) = delete;
    CScopedImportReaders& operator=(const CScopedImportReaders&) = delete;

private:
    TImportReaders m_previous;
};

// The message of a failed file: "Failed to Import '<path>'" (id 61453) or the question whether
// to go on (61452), with the reason, when there is one, under the first line.
CString ImportFailureText(UINT id, const CString& path, const CString& reason);
// Shows 61453 for the path with the reason.
void TellImportFailure(const CString& path, const CString& reason);

// A failed import is told by fnImportFile itself, so that every road (the command line, a
// forwarded or dropped file, a recent file) says so. While one of these lives, the caller tells
// it instead (the Open command, which asks whether to go on), with the reason kept here.
class CImportFailureToCaller {
public:
    CImportFailureToCaller();
    ~CImportFailureToCaller();
    CImportFailureToCaller(const CImportFailureToCaller&) = delete;
    CImportFailureToCaller& operator=(const CImportFailureToCaller&) = delete;

    // The reason of the last failure, emptied.
    CString TakeReason();
    static CImportFailureToCaller* Current();
    void Keep(const CString& reason) { m_reason = reason; }

private:
    CImportFailureToCaller* m_previous;
    CString m_reason;
};

} // namespace kelvane
