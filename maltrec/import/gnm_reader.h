// CGnMReader: reads a GnM cutter file (G-code and M-code records, millimetres) into a design.
// M65 puts the tool down and starts a path; G01 adds corner points (each followed by the
// item's simple filter), G02 and G03 add an arc through its middle point; "A" + "bort -"
// stops the reading. Lines of blanks are skipped; number fields have no length limit.
#pragma once

#include "maltrec/import/import_group.h"

#include "pivora/geometry/geometry_types.h"

#include <cstdint>
#include <string_view>

class CDesignView;
class CFile;
class CDesignPage;
class CSplineItem;
class CVectorArticle;

class CGnMReader {
public:
    // The simple filter applied after every linear point.
    static constexpr int kFilterLength = 50;
    static constexpr int kFilterDeviation = 20;
    static constexpr int kToolUp = 64;
    static constexpr int kToolDown = 65;

    CGnMReader(CDesignView* view, CImportGroup& group, std::string_view text);
    CGnMReader(const CGnMReader&) = delete;
    CGnMReader& operator=(const CGnMReader&) = delete;

    // Reads every record; the number of articles kept.
    int Read();

    // The next trimmed line from pos (empty for a line of blanks); false at the end.
    static bool NextLine(std::string_view text, size_t& pos, std::string_view& line);
    // The number field at the start of text, up to "Y", "C" or "F", in data units (× 1000,
    // truncated); text loses the field.
    static int32_t Field(std::string_view& text);

private:
    void Motion(int record, std::string_view rest);
    void EndItem();

    CDesignView* m_pView;
    CImportGroup& m_group;
    std::string_view m_text;
    CSplineItem* m_pItem = nullptr;
    CVectorArticle* m_pArticle = nullptr;
    int m_nTool = 0;
    CLpoint m_current{0, 0};
    int64_t m_yOffset = 0;
    int m_nKept = 0;
};

// Imports a GnM file into the page; 1 when at least one article was added. The last argument
// is not used.
int FnImportGnMFile(CDesignView* view, CDesignPage* page, CFile* file, int unused);
