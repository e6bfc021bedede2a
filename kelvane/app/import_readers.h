// The readers the import road hands files to. Tests put stand-ins in their place.
#pragma once

#include "pivora/article.h"
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

} // namespace kelvane
