#include "platform/display/file_drop_bridge.h"

#include "platform/windowing/drop_files.h"
#include "platform/windowing/message.h"

#include <QMimeData>
#include <QUrl>

#include <string>
#include <vector>

namespace platform::display {

namespace {

std::vector<std::wstring> LocalFiles(const QMimeData* data) {
    std::vector<std::wstring> paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            paths.push_back(url.toLocalFile().toStdWString());
    return paths;
}

} // namespace

bool WantsFileDrop(HWND hwnd, const QMimeData* data) {
    return platform::AcceptsDroppedFiles(hwnd) && !LocalFiles(data).empty();
}

bool PostFileDrop(HWND hwnd, const QMimeData* data) {
    if (!platform::AcceptsDroppedFiles(hwnd))
        return false;
    const std::vector<std::wstring> paths = LocalFiles(data);
    if (paths.empty())
        return false;
    HDROP drop = platform::MakeDropHandle(paths);
    if (!PostMessageW(hwnd, WM_DROPFILES, WPARAM(drop), 0)) {
        DragFinish(drop);
        return false;
    }
    return true;
}

} // namespace platform::display
