// The entry through which the program imports vector artwork (Illustrator, EPS and PDF files)
// into a design page, chosen by the file's extension.
#pragma once

#include "pivora/article.h"
#include "platform/core/types.h"

class CDesignPage;
class CFile;

class CImportDraw {
public:
    static constexpr UINT IDS_FORMAT_NOT_SUPPORTED = 34072;
    // Page extents of a new, empty design: an import into it takes the design's extents.
    static constexpr LONG kNewPageExtent = 100000;

    CImportDraw() = delete;

    // Imports the open `file` into `page`: ".ai", ".eps" and ".pdf" in any case; any other
    // extension shows "Format Not Supported" and gives 0. 1 when the import succeeded. The list
    // goes on to the readers unchanged.
    static int ImportVectorDesign(CDesignPage* page, CFile* file, UINT flags, CArticleList* list);
};
