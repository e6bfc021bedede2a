#include "platform/display/clipboard_bridge.h"

#include "platform/graphics/metafile.h"
#include "platform/graphics/surface.h"
#include "platform/system/global_memory.h"
#include "platform/windowing/clipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

namespace platform::display {

namespace {

// Pictures larger than this on a side are drawn at this size.
constexpr int kMaxPictureSide = 4096;

// The picture played onto a white image as large as what it draws.
QImage PictureImage(HMETAFILE mf) {
    RecordingSurface probe(kMaxPictureSide, kMaxPictureSide);
    HDC dc = CreateSurfaceDC(&probe);
    PlayMetaFile(dc, mf);
    DeleteDC(dc);
    LONG right = 0, bottom = 0;
    for (const RecordedCall& c : probe.Calls())
        for (const POINT& p : c.pts) {
            right = std::max(right, p.x);
            bottom = std::max(bottom, p.y);
        }
    const int w = std::clamp<int>(int(right) + 1, 1, kMaxPictureSide);
    const int h = std::clamp<int>(int(bottom) + 1, 1, kMaxPictureSide);
    RasterSurface raster(w, h, 0xFFFFFF);
    dc = CreateSurfaceDC(&raster);
    PlayMetaFile(dc, mf);
    DeleteDC(dc);
    return static_cast<QImage*>(raster.NativeImage())->copy();
}

void Mirror() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    QMimeData* mime = ClipboardMimeData();
    if (mime)
        clipboard->setMimeData(mime);
    else
        clipboard->clear();
}

} // namespace

QMimeData* ClipboardMimeData() {
    if (!OpenClipboard(nullptr))
        return nullptr;
    auto mime = std::make_unique<QMimeData>();
    bool any = false;
    if (HGLOBAL text = GetClipboardData(CF_UNICODETEXT)) {
        const auto* chars = static_cast<const wchar_t*>(GlobalLock(text));
        const size_t max = GlobalSize(text) / sizeof(wchar_t);
        size_t n = 0;
        while (chars && n < max && chars[n])
            ++n;
        if (chars)
            mime->setText(QString::fromWCharArray(chars, qsizetype(n)));
        GlobalUnlock(text);
        any = chars != nullptr;
    }
    HGLOBAL pictBlock = GetClipboardData(CF_METAFILEPICT);
    if (pictBlock && GlobalSize(pictBlock) >= sizeof(METAFILEPICT)) {
        const METAFILEPICT pict = *static_cast<METAFILEPICT*>(GlobalLock(pictBlock));
        GlobalUnlock(pictBlock);
        const UINT size = GetMetaFileBitsEx(pict.hMF, 0, nullptr);
        if (size > 0) {
            QByteArray bytes(qsizetype(size), 0);
            GetMetaFileBitsEx(pict.hMF, size, bytes.data());
            mime->setData(QStringLiteral("image/x-wmf"), bytes);
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            PictureImage(pict.hMF).save(&buffer, "PNG");
            mime->setData(QStringLiteral("image/png"), png);
            any = true;
        }
    }
    CloseClipboard();
    return any ? mime.release() : nullptr;
}

void InstallClipboardBridge() {
    SetClipboardObserver(&Mirror);
}

void RemoveClipboardBridge() {
    SetClipboardObserver(nullptr);
}

} // namespace platform::display
