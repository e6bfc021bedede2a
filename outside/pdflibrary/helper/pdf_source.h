// A PDF file opened for the helpers: mapped into memory where it can be, so that the reader
// takes its bytes without a system call for every few hundred of them.
#pragma once

#include <PDFDoc.h>

#include <cstddef>
#include <memory>

// The helpers' exit codes, read by the library.
enum HelperExitCode { kOk = 0, kUsage = 1, kUnreadable = 2, kNoPage = 3, kWriteFailed = 4 };

class PdfSource {
public:
    // Sets up the reader once (quiet: the program reports a failed load itself).
    static void PrepareReader();
    // Opens `path` (preparing the reader when that was not done).
    explicit PdfSource(const char* path);
    ~PdfSource();
    PdfSource(const PdfSource&) = delete;
    PdfSource& operator=(const PdfSource&) = delete;

    // The document with at least one page, or null.
    PDFDoc* Document() const { return m_doc.get(); }

private:
    const char* m_data = nullptr;
    size_t m_size = 0;
    std::unique_ptr<PDFDoc> m_doc; // reads from the map: goes first
};
