#include "maltrec/import/import_failure.h"

namespace {

CString& Reason() {
    static CString reason;
    return reason;
}

} // namespace

void FnSetImportFailure(const CString& reason) {
    Reason() = reason;
}

CString FnTakeImportFailure() {
    CString taken = Reason();
    Reason().Empty();
    return taken;
}
