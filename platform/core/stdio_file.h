// CStdioFile: a file read and written as text, line by line. Text is UTF-8; a byte that does not
// begin a valid UTF-8 sequence is taken as Latin-1, so plain ASCII and old 8-bit files both read.
#pragma once

#include "platform/core/file.h"

#include <string>

class CStdioFile : public CFile {
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile();
    CStdioFile(const wchar_t* fileName, UINT openFlags); // throws CFileException on failure

    BOOL Open(const wchar_t* fileName, UINT openFlags, CFileException* error = nullptr) override;
    void Close() override;
    void Abort() override;

    // The next line without its end ("\n", or "\r\n" in text mode); FALSE at the end of the file
    // when nothing is left. A last line without an end is still returned.
    virtual BOOL ReadString(CString& line);
    // As above, but a line of more than `maxBytes` bytes is read to its end and dropped: `line` is
    // empty and `tooLong` true. Memory stays bounded whatever the file holds.
    BOOL ReadString(CString& line, size_t maxBytes, bool& tooLong);
    // Writes the text as UTF-8; in text mode each "\n" becomes "\r\n".
    virtual void WriteString(const wchar_t* text);

    UINT Read(void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override;

    // Decodes bytes as described above.
    static CString DecodeText(std::string_view bytes);

private:
    bool Fill();
    void DropBuffer();

    std::string m_buffer; // bytes read ahead of the caller
    size_t m_next = 0;    // first byte of m_buffer not yet given out
    bool m_text = true;
};
