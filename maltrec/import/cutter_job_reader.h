// CCutterJobReader: reads the files meant for a cutter that are not HP-GL: spool files of the
// DM/PL dialect (as the cutter driver writes them, "output.spl", "CutLog.txt") and the maker's
// own cutter files. Lines are split before every "D" and "U", so every line consumes at least
// one byte; curves are made once per path when it ends.
#pragma once

#include "maltrec/import/import_group.h"

#include "pivora/geometry/geometry_types.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CDesignView;
class CDesignPage;
class CPercentageDlg;
class CSplineItem;
class CVectorArticle;

class CCutterJobReader {
public:
    static constexpr int kUnitsPerMm = 40;
    // What the spool's pens 64 - n / 4 start from.
    static constexpr int kPenBase = 64;
    static constexpr int kKnifePen = 64;
    static constexpr int kDefaultRotaryScale = 1000;
    static constexpr int kFeedLimit = 40000;

    CCutterJobReader(CDesignView* view, CImportGroup& group, std::string_view text,
                     const CString& path);
    ~CCutterJobReader();
    CCutterJobReader(const CCutterJobReader&) = delete;
    CCutterJobReader& operator=(const CCutterJobReader&) = delete;

    // With progress the progress dialog is shown (and its Cancel stops the reading).
    void ReadSpool(bool progress);
    void ReadOquen(bool progress);
    // Whether the import entries show the progress dialog (on by default); batch runs that
    // read many small files turn it off.
    static void SetProgressShown(bool shown) { s_bShowProgress = shown; }
    static bool ProgressShown() { return s_bShowProgress; }
    // Articles that were kept (articles left empty are removed at the end).
    int Kept() const { return m_nKept; }

    // The next line from pos: leading CR and LF skipped, cut at CR, LF and before "D" and
    // "U", trimmed. False at the end.
    static bool NextLine(std::string_view text, size_t& pos, std::string_view& line);

private:
    struct Spool;
    void SpoolLine(std::string_view line, Spool& s);
    void SpoolPair(std::string_view line, size_t& i, Spool& s, bool arc);
    bool OquenPoint(std::string_view text, size_t& i, CLpoint& p) const;
    void OquenLine(std::string_view line);

    CSplineItem* StartPen(int pen);
    void Append(const CLpoint& p, DWORD mode = 0x200);
    void EndItem();
    void DropLonePoint();
    void RemoveEmptyArticles();
    bool Progress();
    void OpenProgress(const wchar_t* title);

    CDesignView* m_pView;
    CImportGroup& m_group;
    std::string_view m_text;
    size_t m_pos = 0;
    CString m_strPath;
    CSplineItem* m_pItem = nullptr;
    CVectorArticle* m_pArticle = nullptr;
    std::vector<CVectorArticle*> m_articles;
    CLpoint m_current{0, 0};
    CPercentageDlg* m_pProgress = nullptr;
    size_t m_lastProgress = 0;
    int m_nKept = 0;
    static inline bool s_bShowProgress = true;
};
