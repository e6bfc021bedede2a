#include "kelvane/app/sample_doc.h"

IMPLEMENT_DYNCREATE(CSampleDoc, CDocument)
