#include "platform/display/file_drop_bridge.h"

#include "display_fixture.h"
#include "platform/windowing/drop_files.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

using FileDropBridgeTest = DisplayTest;

// Drops the data on the widget as the window system would, after a drag entered it.
bool DropOn(QWidget* w, const QMimeData& data) {
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &enter);
    const bool entered = enter.isAccepted();
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &drop);
    EXPECT_EQ(drop.isAccepted(), entered);
    return entered;
}

std::vector<std::wstring> Names(HDROP drop) {
    std::vector<std::wstring> names;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring n(DragQueryFileW(drop, i, nullptr, 0), L'\0');
        DragQueryFileW(drop, i, n.data(), UINT(n.size() + 1));
        names.push_back(n);
    }
    return names;
}

TEST_F(FileDropBridgeTest, LocalFilesDroppedOnAnAcceptingWindowReachItAsOneMessage) {
    HWND h = MakeWindow(200, 100);
    QWidget* w = Widget(h);
    ASSERT_NE(w, nullptr);
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/tmp/one.kdx"), QUrl("https://example.org/x.kdx"),
                   QUrl::fromLocalFile(QString::fromUtf8("/tmp/två €.ai"))});

    // Not accepting files: the drag is refused and nothing arrives.
    EXPECT_FALSE(DropOn(w, files));
    Pump();
    EXPECT_TRUE(Received({WM_DROPFILES}).empty());

    DragAcceptFiles(h, TRUE);
    QMimeData text;
    text.setText("/tmp/one.kdx");
    EXPECT_FALSE(DropOn(w, text));
    EXPECT_TRUE(DropOn(w, files));
    Pump();
    const auto drops = Received({WM_DROPFILES});
    ASSERT_EQ(drops.size(), 1u);
    HDROP drop = reinterpret_cast<HDROP>(drops[0].wp);
    EXPECT_EQ(Names(drop), (std::vector<std::wstring>{L"/tmp/one.kdx", L"/tmp/två €.ai"}));
    DragFinish(drop);
}

} // namespace
