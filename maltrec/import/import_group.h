// CImportGroup: what the plotter-file readers share: the group the imported articles go into
// (kind 0 none, 1 one group article, 2 a named auto group), the article made for each stroke,
// the style table grown to cover every pen used, and small helpers (bounded file reading, a
// saturating integer parse, the wait cursor).
//
// Written against CJoxPage while the design page is being built: once CDesignPage lands the
// entry points take CDesignPage*, each new article gets an unnamed undo transaction with an
// added-article record (StartUndoTransaction(-1), AddNewUndo) and kind 2 takes its number
// from the page (GetLastAutoGroup / SetLastAutoGroup) instead of AutoGroupCounter().
#pragma once

#include "pivora/article.h"

#include "platform/core/cstring.h"

#include <cstdint>
#include <string>
#include <string_view>

class CFile;
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

    CImportGroup(CJoxPage* page, unsigned kind);
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
    // the list. Idempotent.
    void End(CArticleList* list);
    // How many articles were made.
    int Added() const { return m_nAdded; }
    CJoxPage* Page() const { return m_pPage; }

    static int ClampPen(int64_t pen);
    // Grows the page's vector style table to at least n entries.
    static void EnsureStyles(CJoxPage* page, int n);
    // Makes the curves of a finished path and its flattened points.
    static void FinishItem(CSplineItem* item);
    // The next auto-group number while the page keeps none.
    static int& AutoGroupCounter();

private:
    CJoxPage* m_pPage;
    unsigned m_nKind;
    CArticle* m_pGroup = nullptr;
    CString m_strGroupName;
    bool m_bOpen = false;
    // The last article added: the next one goes right of it without walking the row.
    CArticle* m_pLast = nullptr;
    int m_nAdded = 0;
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
