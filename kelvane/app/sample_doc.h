// The document of the first start's design window (the real design page replaces it).
#pragma once

#include "platform/framework/document.h"

class CSampleDoc : public CDocument {
    DECLARE_DYNCREATE(CSampleDoc)
};
