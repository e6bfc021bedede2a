// CImportEPS: the entries that import an EPS, PostScript or Illustrator file into a design page
// through CEPSInterpreter.
#pragma once

#include "pivora/article.h"

#include "platform/core/cstring.h"

class CDesignView;
class CFile;
class CDesignPage;

class CImportEPS {
public:
    // Closes file first when closeFirst is non-zero, then imports path. Always 1; kind is not
    // used.
    static int ImportEPS3File(CDesignView* view, CDesignPage* page, CFile* file, int closeFirst,
                              CString& path, int& kind);
    // The Illustrator road: the path is taken from the file. 1 only when the file was read and
    // the run succeeded; 0 for a null page.
    static int ImportIllustratorFile(CDesignView* view, CDesignPage* page, CFile* file,
                                     int closeFirst, int flags, CArticleList* list);
};
