// CQvMultiDocTemplate: the program's document template. A design or design template file is
// read by the page, any other file imported into it (then untitled); the frame is made once the
// file was read. After an automatic load of a design that holds articles, its first design
// view resizes its zoom to the design.
#pragma once

#include "pivora/framework/jox_doc_template.h"

class CQvMultiDocTemplate : public CJoxDocTemplate {
    DECLARE_DYNAMIC(CQvMultiDocTemplate)

public:
    CQvMultiDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                        CRuntimeClass* viewClass, int context);

    CDocument* OpenDocumentFile(LPCWSTR path, BOOL makeVisible = TRUE) override;

private:
    bool ReadPath(CDocument* doc, LPCWSTR path, int id);
};
