#include "platform/display/clipboard_bridge.h"

#include "display_fixture.h"
#include "platform/graphics/metafile.h"
#include "platform/system/global_memory.h"
#include "platform/windowing/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

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

} // namespace
