#include "maltrec/tests/pdf_fixture.h"

#include <fstream>

const char* const kLineEps =
    "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 1\n%%EndComments\n%%EndSetup\n"
    "0 0 m 10 0 l S\n";

void PdfImportTest::SetUp() {
    AppSettingsTest::SetUp();
    CPDFManager::m_eManagerStatus = CPDFManager::eNotStarted;
    CPDFManager::m_bDeleteNewEPS = true;
    FnSetPDFLibraryFile(CString());
    m_page = std::make_unique<CDesignPage>();
}

void PdfImportTest::TearDown() {
    m_page.reset();
    CPDFManager::StopPDFManager();
    CPDFManager::m_eManagerStatus = CPDFManager::eNotStarted;
    FnSetPDFLibraryFile(CString());
    AppSettingsTest::TearDown();
}

std::string PdfImportTest::WriteText(const std::string& name, const std::string& text) {
    const std::string path = m_box.Path(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string PdfImportTest::WritePdf(const std::string& name, std::initializer_list<double> sides) {
    const std::string path = m_box.Path(name);
    const bool loaded = FnGetPDFLibrary() != nullptr;
    if (!loaded && !FnLoadPDFLibrary())
        return path;
    CPDFLibraryBinding* lib = FnGetPDFLibrary();
    const int id = lib->Instance();
    lib->DPLNewDocument(id);
    lib->DPLSetPageDimensions(id, 400, 400);
    for (double side : sides) {
        lib->DPLStartPath(id, 10, 10);
        lib->DPLAddLineToPath(id, 10 + side, 10);
        lib->DPLAddLineToPath(id, 10 + side, 10 + side);
        lib->DPLClosePath(id);
        lib->DPLDrawPath(id, kDplPathOutline);
    }
    lib->DPLSaveToFile(id, CString::FromUtf8(path));
    if (!loaded)
        FnReleasePDFLibrary();
    return path;
}

int PdfImportTest::TopLevelArticles() const {
    int n = 0;
    for (CTree* t = m_page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
        ++n;
    return n;
}
