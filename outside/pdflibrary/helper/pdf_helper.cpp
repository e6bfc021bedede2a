// The PDF work of the PDF library stand-in, run as a process of its own so that a damaged or
// hostile file can crash or hang only this helper:
//   pdflibrary-helper info <pdf>                                 prints "pages <n>"
//   pdflibrary-helper load <pdf> <out>                           prints "pages <n>", then
//                                                                writes page 1 as EPS
//   pdflibrary-helper eps <pdf> <page> <out>                     the page's paths as EPS
//   pdflibrary-helper raster <pdf> <page> <dpi> <format> <out>   BMP (0), JPEG (1) or TIFF (7)
// Exit code 0 on success; the output file appears whole or not at all.
#include "eps_output_dev.h"

#include <GlobalParams.h>
#include <PDFDoc.h>
#include <SplashOutputDev.h>
#include <Stream.h>
#include <goo/GooString.h>
#include <splash/SplashBitmap.h>

#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum ExitCode { kOk = 0, kUsage = 1, kUnreadable = 2, kNoPage = 3, kWriteFailed = 4 };

// Quiet: the program reports a failed load itself.
void IgnoreError(ErrorCategory, Goffset, const char*) {}

// The file mapped into memory for the reader: it then takes its bytes without a system call
// for every few hundred of them.
class MappedFile {
public:
    explicit MappedFile(const char* path) {
        const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return;
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
    ~MappedFile() {
        if (m_data)
            ::munmap(const_cast<char*>(m_data), m_size);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const char* Data() const { return m_data; }
    size_t Size() const { return m_size; }

private:
    // The reader's positions in memory are ints.
    static constexpr off_t kMaxMappedBytes = 0x7fffffff;
    const char* m_data = nullptr;
    size_t m_size = 0;
};

// The document, read from memory where the file could be mapped (the map outlives it).
std::unique_ptr<PDFDoc> Open(const char* path, const MappedFile& mapped) {
    std::unique_ptr<PDFDoc> doc;
    if (mapped.Data())
        doc = std::make_unique<PDFDoc>(
            new MemStream(mapped.Data(), 0, Goffset(mapped.Size()), Object(objNull)));
    else
        doc = std::make_unique<PDFDoc>(std::make_unique<GooString>(path));
    if (!doc->isOk() || doc->getNumPages() < 1)
        return nullptr;
    return doc;
}

int WriteEps(PDFDoc& doc, int page, const std::string& out) {
    std::string part = out + ".part";
    FILE* f = std::fopen(part.c_str(), "wb");
    if (!f)
        return kWriteFailed;
    EpsOutputDev dev(f);
    doc.displayPage(&dev, page, 72, 72, 0, true, false, false);
    // No fsync: the file is a temporary, read at once and removed; the rename keeps it whole.
    bool ok = dev.Finish() && std::fflush(f) == 0;
    ok = std::fclose(f) == 0 && ok;
    if (!ok || std::rename(part.c_str(), out.c_str()) != 0) {
        std::remove(part.c_str());
        return kWriteFailed;
    }
    return kOk;
}

int WriteRaster(PDFDoc& doc, int page, int dpi, int format, const std::string& out) {
    const char* kind = format == 0 ? "BMP" : format == 1 ? "JPEG" : format == 7 ? "TIFF" : nullptr;
    if (!kind || dpi < 1 || dpi > 2400)
        return kUsage;
    SplashColor paper = {255, 255, 255};
    SplashOutputDev dev(splashModeRGB8, 4, false, paper);
    dev.startDoc(&doc);
    doc.displayPage(&dev, page, dpi, dpi, 0, true, false, false);
    SplashBitmap* bitmap = dev.getBitmap();
    if (!bitmap)
        return kWriteFailed;
    QImage image(bitmap->getDataPtr(), bitmap->getWidth(), bitmap->getHeight(),
                 bitmap->getRowSize(), QImage::Format_RGB888);
    std::string part = out + ".part";
    if (!image.save(QString::fromStdString(part), kind) ||
        std::rename(part.c_str(), out.c_str()) != 0) {
        std::remove(part.c_str());
        return kWriteFailed;
    }
    return kOk;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return kUsage;
    globalParams = std::make_unique<GlobalParams>();
    setErrorCallback(IgnoreError);
    const MappedFile mapped(argv[2]);
    std::unique_ptr<PDFDoc> doc = Open(argv[2], mapped);
    if (!doc)
        return kUnreadable;
    const std::string command = argv[1];
    if ((command == "info" && argc == 3) || (command == "load" && argc == 4)) {
        // The answer to the library, out before the page is drawn: the count stands even when
        // drawing fails.
        std::fprintf(stdout, "pages %d\n", doc->getNumPages());
        if (std::fflush(stdout) != 0)
            return kWriteFailed;
        return command == "load" ? WriteEps(*doc, 1, argv[3]) : kOk;
    }
    int page = argc > 3 ? std::atoi(argv[3]) : 0;
    if (page < 1 || page > doc->getNumPages())
        return kNoPage;
    if (command == "eps" && argc == 5)
        return WriteEps(*doc, page, argv[4]);
    if (command == "raster" && argc == 7)
        return WriteRaster(*doc, page, std::atoi(argv[4]), std::atoi(argv[5]), argv[6]);
    return kUsage;
}
