// The cursors a person sees: standard ones by shape, resource ones by their picture, their
// look-alike or the cross hair.
#include "platform/display/cursor_shape.h"

#include "display_fixture.h"
#include "platform/windowing/cursor.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr UINT kPictured = 14700, kLookAlike = 14701, kBare = 14702;

// A 16 x 16 guide cursor: a vertical bar with arrows left and right, its hot spot in the middle.
std::vector<uint32_t> GuidePicture() {
    std::vector<uint32_t> px(16 * 16, 0);
    auto set = [&](int x, int y, uint32_t c) { px[size_t(y * 16 + x)] = c; };
    for (int y = 1; y < 15; ++y)
        set(7, y, 0xFF000000u), set(8, y, 0xFF000000u);
    for (int x = 1; x < 15; ++x)
        if (x < 7 || x > 8)
            set(x, 7, 0xFF000000u);
    for (int d = 1; d < 4; ++d)
        set(1 + d, 7 - d, 0xFF000000u), set(1 + d, 7 + d, 0xFF000000u),
            set(14 - d, 7 - d, 0xFF000000u), set(14 - d, 7 + d, 0xFF000000u);
    set(0, 0, 0x40FF0000u); // faint: left transparent
    return px;
}

using CursorShapeTest = DisplayTest;

TEST_F(CursorShapeTest, ResourceCursorsShowTheirPictureTheirLookAlikeOrTheCrossHair) {
    ASSERT_TRUE(platform::RegisterCursorImage(kPictured, POINT{7, 7}, 16, 16, GuidePicture()));
    platform::RegisterCursor(kLookAlike);
    platform::SetCursorLookAlike(kLookAlike, IDC_SIZEWE);
    platform::RegisterCursor(kBare);
    struct Case {
        UINT id;
        Qt::CursorShape shape;
    } cases[] = {{IDC_IBEAM, Qt::IBeamCursor},
                 {kPictured, Qt::BitmapCursor},
                 {kLookAlike, Qt::SizeHorCursor},
                 {kBare, Qt::CrossCursor}};
    for (const Case& c : cases)
        EXPECT_EQ(
            platform::display::CursorFor(LoadCursorW(nullptr, MAKEINTRESOURCEW(c.id))).shape(),
            c.shape)
            << c.id;
    const QCursor guide =
        platform::display::CursorFor(LoadCursorW(nullptr, MAKEINTRESOURCEW(kPictured)));
    EXPECT_EQ(guide.hotSpot(), QPoint(7, 7));
    const QImage picture = guide.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(picture.size(), QSize(16, 16));
    EXPECT_EQ(qAlpha(picture.pixel(7, 3)), 255);
    EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(picture.pixel(4, 3)), 0);

    // Set by the model while the pointer is over a window, the picture is what the widget shows.
    HWND h = MakeWindow(120, 80);
    QWidget* w = Widget(h);
    ASSERT_NE(w, nullptr);
    Mouse(w, QEvent::MouseMove, QPoint(30, 30), Qt::NoButton, Qt::NoButton);
    Pump();
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(kPictured)));
    Pump();
    EXPECT_EQ(w->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(w->cursor().hotSpot(), QPoint(7, 7));
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(kLookAlike)));
    Pump();
    EXPECT_EQ(w->cursor().shape(), Qt::SizeHorCursor);

    // For people: the picture over a window's contents, its hot spot on the grabbed point.
    QImage shot = w->grab().toImage();
    QPainter painter(&shot);
    painter.drawPixmap(QPoint(30, 30) - guide.hotSpot(), guide.pixmap());
    painter.end();
    shot.save(QString::fromUtf8(TEST_BINARY_DIR) + QStringLiteral("/resource_cursor.png"));
}

} // namespace
