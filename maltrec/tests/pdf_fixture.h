// A design page to import PDF, Illustrator and EPS files into, with the PDF manager reset
// around each test and fixture files written into the sandbox.
#pragma once

#include "maltrec/import/pdf_library_binding.h"
#include "maltrec/import/pdf_manager.h"

#include "design/design_page.h"
#include "pivora/tests/app_settings_fixture.h"

#include <memory>
#include <string>
#include <vector>

class PdfImportTest : public AppSettingsTest {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string Home(const std::string& rel) const { return m_box.Path("home/" + rel); }
    // Writes text to a file in the sandbox and answers its path.
    std::string WriteText(const std::string& name, const std::string& text);
    // A one-page PDF through the library's own document calls: squares of the given sides at
    // (10, 10), none for an empty page.
    std::string WritePdf(const std::string& name, std::initializer_list<double> sides);
    // Articles directly under the root.
    int TopLevelArticles() const;

    std::unique_ptr<CDesignPage> m_page;
};

// One page of a hand-written PDF: its content stream and further entries of its dictionary
// ("/MediaBox [0 0 300 100] /Rotate 90"; 200 x 150 points unless a MediaBox is given).
struct PdfPage {
    std::string content;
    std::string keys = {};
};
// A PDF of the pages with a cross-reference table; every page has the font /F1 (Helvetica).
std::string PdfOf(const std::vector<PdfPage>& pages);

// An EPS that draws one open line from (0, 0) to (10, 0).
extern const char* const kLineEps;
