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
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace platform::display {

namespace {

// Pictures larger than this on a side are drawn at this size.
constexpr int kMaxPictureSide = 4096;
constexpr const char* kPrivateTypePrefix = "application/x-kelvane-";
constexpr int kMaxFormatName = 256;

// The system clipboard's data as the bridge last set it, and whether the model's clipboard is
// being filled from the system's (its change then goes back nowhere).
const QMimeData* g_mirrored = nullptr;
bool g_taking = false;
QMetaObject::Connection g_changes;

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
    if (!clipboard || g_taking)
        return;
    QMimeData* mime = ClipboardMimeData();
    g_mirrored = mime;
    if (mime)
        clipboard->setMimeData(mime);
    else
        clipboard->clear();
}

bool TakeClipboardMimeData(const QMimeData* mime);

// The system clipboard changed: unless the bridge itself set it, its data becomes the model's.
void SystemClipboardChanged() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || g_taking)
        return;
    const QMimeData* mime = clipboard->mimeData();
    if ((mime && mime == g_mirrored) || clipboard->ownsClipboard())
        return;
    TakeClipboardMimeData(mime);
}

HGLOBAL BlockOf(const void* data, size_t size) {
    HGLOBAL block = size ? GlobalAlloc(GMEM_MOVEABLE, size) : nullptr;
    if (block) {
        std::memcpy(GlobalLock(block), data, size);
        GlobalUnlock(block);
    }
    return block;
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
    // Registered formats holding a block: their bytes under the private type.
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        wchar_t name[kMaxFormatName] = {};
        if (format < kFirstRegisteredClipboardFormat ||
            GetClipboardFormatNameW(format, name, kMaxFormatName) <= 0)
            continue;
        HGLOBAL block = GetClipboardData(format);
        if (!platform::IsGlobalBlock(block))
            continue;
        const auto* bytes = static_cast<const char*>(GlobalLock(block));
        mime->setData(PrivateClipboardType(QString::fromWCharArray(name)),
                      QByteArray(bytes, qsizetype(GlobalSize(block))));
        GlobalUnlock(block);
        any = true;
    }
    CloseClipboard();
    return any ? mime.release() : nullptr;
}

QString PrivateClipboardType(const QString& formatName) {
    return QLatin1String(kPrivateTypePrefix) + formatName;
}

namespace {

bool TakeClipboardMimeData(const QMimeData* mime) {
    if (!OpenClipboard(nullptr))
        return false;
    g_taking = true;
    EmptyClipboard();
    if (mime && mime->hasText()) {
        std::wstring text = mime->text().toStdWString();
        text.push_back(L'\0');
        if (HGLOBAL block = BlockOf(text.data(), text.size() * sizeof(wchar_t)))
            if (!SetClipboardData(CF_UNICODETEXT, block))
                GlobalFree(block);
    }
    const QString prefix = QLatin1String(kPrivateTypePrefix);
    for (const QString& type : mime ? mime->formats() : QStringList()) {
        if (!type.startsWith(prefix) || type.size() == prefix.size())
            continue;
        const UINT format =
            RegisterClipboardFormatW(type.mid(prefix.size()).toStdWString().c_str());
        const QByteArray bytes = mime->data(type);
        HGLOBAL block = BlockOf(bytes.constData(), size_t(bytes.size()));
        if (block && (!format || !SetClipboardData(format, block)))
            GlobalFree(block);
    }
    CloseClipboard();
    g_taking = false;
    return true;
}

} // namespace

bool TakeSystemClipboard() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard && TakeClipboardMimeData(clipboard->mimeData());
}

void InstallClipboardBridge() {
    SetClipboardObserver(&Mirror);
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        g_changes = QObject::connect(clipboard, &QClipboard::dataChanged, clipboard,
                                     &SystemClipboardChanged);
        // What another program copied before this one started can be pasted here too.
        SystemClipboardChanged();
    }
}

void RemoveClipboardBridge() {
    SetClipboardObserver(nullptr);
    QObject::disconnect(g_changes);
    g_mirrored = nullptr;
}

} // namespace platform::display
