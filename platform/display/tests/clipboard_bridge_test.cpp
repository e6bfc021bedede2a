#include "platform/display/clipboard_bridge.h"

#include "display_fixture.h"
#include "platform/graphics/metafile.h"
#include "platform/system/global_memory.h"
#include "platform/windowing/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <cstring>

namespace {

class ClipboardBridgeTest : public DisplayTest {
protected:
    void TearDown() override {
        platform::ResetClipboard();
        DisplayTest::TearDown();
    }
};

TEST_F(ClipboardBridgeTest, APictureReachesTheSystemClipboardAsMetafileBytesAndAPng) {
    // A picture of one line from (10, 10) to (90, 50).
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    MoveToEx(dc, 10, 10, nullptr);
    LineTo(dc, 90, 50);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    const UINT size = GetWinMetaFileBits(emf, 0, nullptr, MM_TEXT, nullptr);
    std::vector<BYTE> bytes(size);
    GetWinMetaFileBits(emf, size, bytes.data(), MM_TEXT, nullptr);
    DeleteEnhMetaFile(emf);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT));
    *static_cast<METAFILEPICT*>(GlobalLock(block)) =
        METAFILEPICT{MM_TEXT, 10, 10, SetMetaFileBitsEx(size, bytes.data())};
    GlobalUnlock(block);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_METAFILEPICT, block);
    CloseClipboard();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    const QByteArray wmf = mime->data(QStringLiteral("image/x-wmf"));
    EXPECT_EQ(std::vector<BYTE>(wmf.begin(), wmf.end()), bytes);
    QImage png;
    ASSERT_TRUE(png.loadFromData(mime->data(QStringLiteral("image/png")), "PNG"));
    EXPECT_EQ(png.width(), 91);
    EXPECT_EQ(png.height(), 51);
    EXPECT_NE(png.pixelColor(50, 30), QColor(Qt::white)); // on the line
    EXPECT_EQ(png.pixelColor(80, 10), QColor(Qt::white));
}

// A block under a registered name, as the article clipboard writes one.
void PutPrivate(const wchar_t* name, const QByteArray& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size_t(bytes.size()));
    std::memcpy(GlobalLock(block), bytes.constData(), size_t(bytes.size()));
    GlobalUnlock(block);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(RegisterClipboardFormatW(name), block);
    CloseClipboard();
}

QByteArray ModelBytes(UINT format) {
    QByteArray out;
    if (!OpenClipboard(nullptr))
        return out;
    if (HGLOBAL h = GetClipboardData(format))
        out = QByteArray(static_cast<const char*>(GlobalLock(h)), qsizetype(GlobalSize(h)));
    GlobalUnlock(GetClipboardData(format));
    CloseClipboard();
    return out;
}

TEST_F(ClipboardBridgeTest, PrivateFormatsGoOutUnderTheirOwnTypeAndComeBackFromOtherPrograms) {
    const QByteArray stream("\x02\x00articles\x00\xff", 12);
    PutPrivate(L"Tavrin_1.0", stream);
    const QMimeData* out = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(out, nullptr);
    const QString type = platform::display::PrivateClipboardType(QStringLiteral("Tavrin_1.0"));
    EXPECT_EQ(type, QStringLiteral("application/x-kelvane-Tavrin_1.0"));
    EXPECT_EQ(out->data(type), stream);
    // The bridge's own data does not come back as a change.
    EXPECT_EQ(ModelBytes(RegisterClipboardFormatW(L"Tavrin_1.0")), stream);

    // Another program copies: text and another stream, with a type nobody here knows.
    const QByteArray theirs("other design", 12);
    auto* mime = new QMimeData;
    mime->setText(QStringLiteral("Kerb 12"));
    mime->setData(type, theirs);
    mime->setData(QStringLiteral("image/jpeg"), QByteArray("jpeg", 4));
    QGuiApplication::clipboard()->setMimeData(mime);
    const UINT format = RegisterClipboardFormatW(L"Tavrin_1.0");
    EXPECT_EQ(ModelBytes(format), theirs);
    const QByteArray text = ModelBytes(CF_UNICODETEXT);
    EXPECT_EQ(QString::fromWCharArray(reinterpret_cast<const wchar_t*>(text.constData())),
              QStringLiteral("Kerb 12"));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(CountClipboardFormats(), 2);
    CloseClipboard();

    // A clipboard with nothing this program reads leaves the model's empty.
    auto* picture = new QMimeData;
    picture->setData(QStringLiteral("image/jpeg"), QByteArray("jpeg", 4));
    QGuiApplication::clipboard()->setMimeData(picture);
    EXPECT_FALSE(IsClipboardFormatAvailable(format));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
}

} // namespace
