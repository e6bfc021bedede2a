// A design, an installed DM/PL cutter writing to the file port, and a media manager bound to
// it, for the send's tests: what the cutter received is read back from the home folder.
#pragma once

#include "maltrec/send_to_cutter.h"

#include "design/design_page.h"
#include "hobrand/media_manager_blk.h"
#include "pivora/tests/app_settings_fixture.h"
#include "platform/windowing/message_box.h"
#include "vector/vector_article.h"

#include <memory>
#include <string>

// Reaches the set-up steps the media manager's dialog takes.
class CTestMedium : public CMediaManagerBlk {
public:
    CTestMedium(const CString& device, const CWindow& sheet);
};

class SendTest : public AppSettingsTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A closed square path of side `size` at (x, y), of colour rgb, under parent (the root).
    CVectorArticle* AddSquare(int x, int y, int size, COLORREF rgb, CArticle* parent = nullptr);
    std::string Output() const;
    // The design as a file would hold it.
    std::vector<BYTE> Saved();

    std::unique_ptr<CDesignPage> m_design;
    std::unique_ptr<CDesignPage> m_sheetPage;
    CTestMedium* m_medium = nullptr;
    std::unique_ptr<platform::MessageBoxResponder> m_boxes;
};
