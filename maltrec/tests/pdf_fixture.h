// A design page to import PDF, Illustrator and EPS files into, with the PDF manager reset
// around each test and fixture files written into the sandbox.
#pragma once

#include "maltrec/import/pdf_library_binding.h"
#include "maltrec/import/pdf_manager.h"

#include "design/design_page.h"
#include "pivora/tests/app_settings_fixture.h"

#include <memory>
#include <string>

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

// An EPS that draws one open line from (0, 0) to (10, 0).
extern const char* const kLineEps;
