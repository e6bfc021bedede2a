// CQvMultiDocTemplate: the program's document template. After an automatic load of a design
// that holds articles, its first design view resizes its zoom to the design.
#pragma once

#include "pivora/framework/jox_doc_template.h"

class CQvMultiDocTemplate : public CJoxDocTemplate {
    DECLARE_DYNAMIC(CQvMultiDocTemplate)

public:
    CQvMultiDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                        CRuntimeClass* viewClass, int context);

    CDocument* OpenDocumentFile(LPCWSTR path, BOOL makeVisible = TRUE) override;
};
