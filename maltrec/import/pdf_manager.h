// The owner of the PDF library for the whole run, and the road that reads a PDF, Illustrator or
// EPS file into a design page: PDF and Illustrator files are rendered to an EPS file in the
// temporary folder first, which the PostScript interpreter then reads.
#pragma once

#include "pivora/article.h"
#include "platform/core/cstring.h"

class CDesignPage;
class CPercentageDlg;

class CPDFManager {
public:
    enum EManagerStatus { eNotStarted = 0, eRunning = 1, eFailedToStart = 2 };

    // Reads "Delete New EPS" (default 1) into the deletion flag.
    CPDFManager();

    // Loads the library once; a failed start is never retried. True while running.
    static bool StartPDFManager();
    // Closes the progress dialog and releases the library; later imports return false.
    static void StopPDFManager();
    // True only when the import added at least one article to the page.
    static bool ReadPDFDocument(const CString& path, CDesignPage* page, UINT flags,
                                CArticleList* list);
    // Renders page 1 of `source` into the temporary folder; `destination` receives the path.
    static bool PdfToFormat(const CString& source, CString* destination, const wchar_t* extension);
    static bool Cancelled() { return false; }

    static EManagerStatus m_eManagerStatus;
    static CPercentageDlg* m_pProgDlg;
    static bool m_bDeleteNewEPS;

protected:
    // The Save As dialog for an Illustrator (kind non-zero) or a PDF file (kind 0); `path` is
    // emptied first and receives the chosen path. True when a path was chosen.
    static bool GetFileName(CString& path, UINT kind);
    static void StartProgress();
    static void StopProgress();
};
