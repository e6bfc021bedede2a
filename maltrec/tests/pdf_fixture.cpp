#include "maltrec/tests/pdf_fixture.h"

#include <cstdio>
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

std::string PdfOf(const std::vector<PdfPage>& pages) {
    std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R >>", "",
                                        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    std::string kids;
    for (const PdfPage& page : pages) {
        const size_t number = objects.size() + 1;
        kids += std::to_string(number) + " 0 R ";
        const bool sized = page.keys.find("/MediaBox") != std::string::npos;
        objects.push_back("<< /Type /Page /Parent 2 0 R " +
                          std::string(sized ? "" : "/MediaBox [0 0 200 150] ") + page.keys +
                          " /Resources << /Font << /F1 3 0 R >> >> /Contents " +
                          std::to_string(number + 1) + " 0 R >>");
        objects.push_back("<< /Length " + std::to_string(page.content.size()) + " >>\nstream\n" +
                          page.content + "\nendstream");
    }
    objects[1] =
        "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) + " >>";
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[24];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        pdf += line;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}
