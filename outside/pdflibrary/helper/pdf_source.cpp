#include "pdf_source.h"

#include <GlobalParams.h>
#include <Stream.h>
#include <goo/GooString.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The reader's positions in memory are ints.
constexpr off_t kMaxMappedBytes = 0x7fffffff;

void IgnoreError(ErrorCategory, Goffset, const char*) {}

} // namespace

void PdfSource::PrepareReader() {
    if (globalParams)
        return;
    globalParams = std::make_unique<GlobalParams>();
    setErrorCallback(IgnoreError);
}

PdfSource::PdfSource(const char* path) {
    PrepareReader();
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
            st.st_size < kMaxMappedBytes) {
            void* data = ::mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
            if (data != MAP_FAILED) {
                m_data = static_cast<const char*>(data);
                m_size = size_t(st.st_size);
            }
        }
        ::close(fd);
    }
    // A file that cannot be mapped is read by the reader itself.
    if (m_data)
        m_doc =
            std::make_unique<PDFDoc>(new MemStream(m_data, 0, Goffset(m_size), Object(objNull)));
    else
        m_doc = std::make_unique<PDFDoc>(std::make_unique<GooString>(path));
    if (!m_doc->isOk() || m_doc->getNumPages() < 1)
        m_doc.reset();
}

PdfSource::~PdfSource() {
    m_doc.reset();
    if (m_data)
        ::munmap(const_cast<char*>(m_data), m_size);
}
