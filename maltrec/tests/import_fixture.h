// A page to import plotter files into, and what the readers made of them.
#pragma once

#include "maltrec/import/import_group.h"

#include "design/design_page.h"
#include "pivora/tests/app_settings_fixture.h"

#include "platform/core/mem_file.h"
#include "platform/windowing/message_box.h"

#include <memory>
#include <ostream>
#include <vector>

struct Path {
    int pen = 0;
    std::vector<CLpoint> points;
    bool operator==(const Path&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Path& p);

class ImportTest : public AppSettingsTest {
protected:
    void SetUp() override;
    void TearDown() override;
    void ResetPage();
    // Every vector article of the page in tree order (groups entered), with the pen and the
    // item's points (smooth points included).
    std::vector<Path> Paths() const;
    // Every pen of an imported article lies in the page's style table.
    bool EveryPenInStyles() const;
    // Saves the page, opens it and saves it again: the two files are the same.
    void ExpectSavedTwiceIdentical();
    // The page as its design file stores it.
    std::vector<BYTE> Stored() const;

    std::unique_ptr<CDesignPage> m_page;
};
