// CImportGroup: what the plotter-file readers share: the group the imported articles go into
// (kind 0 none, 1 one group article, 2 a named auto group), the article made for each stroke,
// the style table grown to cover every pen used, and small helpers (bounded file reading, a
// saturating integer parse, the wait cursor).
//
// One import is one undo transaction: the style table as it was, then an added-article record
// for every top article, written in one batch when the group ends; so one undo takes the whole
// import away and puts the styles back.
#pragma once

#include "pivora/article.h"

#include "platform/core/cstring.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CDesignPage;
class CFile;
class CImpPaletteUndo;
class CJoxPage;
class CSplineItem;
class CVectorArticle;

class CImportGroup {
public:
    enum Kind : unsigned { kNone = 0, kOneGroup = 1, kAutoGroup = 2 };
    // Pens are palette indices: clamped to this range so a stray number cannot grow the
    // style table without bound.
    static constexpr int kMaxPen = 1023;
    // Size of the style table every reader starts from.
    static constexpr int kMinStyles = 16;
    // Larger files are refused: they are not cutter jobs and would be held whole.
    static constexpr uint64_t kMaxFileBytes = uint64_t(1) << 30;

    // Kind 2 takes the page's next auto-group number. The style table is saved for the undo
    // record, then grown to kMinStyles.
    CImportGroup(CDesignPage* page, unsigned kind);
    ~CImportGroup();
    CImportGroup(const CImportGroup&) = delete;
    CImportGroup& operator=(const CImportGroup&) = delete;

    // A new vector article with an empty spline item in the pen, added to the group or the
    // root article; the page's style table covers the pen. Returns the item.
    CSplineItem* NewPenArticle(int pen, CVectorArticle** article = nullptr);
    // Deletes an article this group made (one left with nothing to cut).
    void DeleteArticle(CArticle* article);
    // Gives an article a pen, clamped, growing the style table to cover it.
    void SetPen(CVectorArticle* article, int64_t pen);
    // Closes the group: a one-article group is unwrapped; the top article goes to the head of
    // the list; the import's undo transaction is written when anything was added. Idempotent.
    void End(CArticleList* list);
    // How many articles were made.
    int Added() const { return m_nAdded; }
    CDesignPage* Page() const { return m_pPage; }

    static int ClampPen(int64_t pen);
    // Grows the page's vector style table to at least n entries.
    static void EnsureStyles(CJoxPage* page, int n);
    // Makes the curves of a finished path and its flattened points.
    static void FinishItem(CSplineItem* item);

private:
    void WriteUndo();

    CDesignPage* m_pPage;
    unsigned m_nKind;
    CArticle* m_pGroup = nullptr;
    CString m_strGroupName;
    bool m_bOpen = false;
    // The last article added: the next one goes right of it without walking the row.
    CArticle* m_pLast = nullptr;
    int m_nAdded = 0;
    // The top articles added to the page, in order, for the undo records.
    std::vector<CArticle*> m_Top;
    std::unique_ptr<CImpPaletteUndo> m_pStylesBefore;
    CWindow m_ExtentsBefore;
};

// Reads the whole file from its current position, one byte per character. False (with the
// reason in error) for a file over the limit or a read failure.
bool FnReadImportFile(CFile* file, std::string& out, CString& error);

// Reads an optionally signed decimal integer at text[pos], moving pos past it; the value
// saturates at the 64-bit limits (overflow is set). Leading blanks are skipped. False when no
// digit follows.
bool FnParseSaturating(std::string_view text, size_t& pos, int64_t& value, bool& overflow);

// Shows the wait cursor for its lifetime.
class CImportWaitCursor {
public:
    CImportWaitCursor();
    ~CImportWaitCursor();
    CImportWaitCursor(const CImportWaitCursor&) = delete;
    CImportWaitCursor& operator=(const CImportWaitCursor&) = delete;

private:
    void* m_previous;
};

// Status text 34065 ("Importing %s") with the path in upper case, and the idle message.
void FnShowImportingStatus(const CString& path);
void FnShowIdleStatus();
