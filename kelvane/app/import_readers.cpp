#include "kelvane/app/import_readers.h"

#include "maltrec/import/import_draw.h"
#include "maltrec/import/spl_import.h"

namespace kelvane {

namespace {

TImportReaders& Current() {
    static TImportReaders readers = DefaultImportReaders();
    return readers;
}

} // namespace

TImportReaders DefaultImportReaders() {
    return {&CImportDraw::ImportVectorDesign, &FnImportSPLFile, &FnImportPNLFile};
}

const TImportReaders& ImportReaders() {
    return Current();
}

CScopedImportReaders::CScopedImportReaders(const TImportReaders& readers) : m_previous(Current()) {
    Current() = readers;
}

CScopedImportReaders::~CScopedImportReaders() {
    Current() = m_previous;
}

} // namespace kelvane
