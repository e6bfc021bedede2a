// Pages of a PDF as pictures for the PDF library stand-in, in a process of its own like the
// EPS helper:
//   pdflibrary-raster <pdf> <page> <dpi> <format> <out>   BMP (0), JPEG (1) or TIFF (7)
// Exit code 0 on success; the output file appears whole or not at all.
#include "pdf_source.h"

#include <SplashOutputDev.h>
#include <splash/SplashBitmap.h>

#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

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
    if (argc != 6)
        return kUsage;
    const PdfSource source(argv[1]);
    PDFDoc* doc = source.Document();
    if (!doc)
        return kUnreadable;
    const int page = std::atoi(argv[2]);
    if (page < 1 || page > doc->getNumPages())
        return kNoPage;
    return WriteRaster(*doc, page, std::atoi(argv[3]), std::atoi(argv[4]), argv[5]);
}
