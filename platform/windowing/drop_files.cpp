#include "platform/windowing/drop_files.h"

#include <cwchar>

struct HDROP__ {
    std::vector<std::wstring> paths;
};

namespace {
constexpr UINT kCountQuery = 0xFFFFFFFF;
}

void DragAcceptFiles(HWND hwnd, BOOL accept) {
    if (!IsWindow(hwnd))
        return;
    LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    ex = accept ? (ex | LONG_PTR(WS_EX_ACCEPTFILES)) : (ex & ~LONG_PTR(WS_EX_ACCEPTFILES));
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ex);
}

UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT size) {
    if (!drop)
        return 0;
    if (index == kCountQuery)
        return UINT(drop->paths.size());
    if (index >= drop->paths.size())
        return 0;
    const std::wstring& p = drop->paths[index];
    if (!buffer)
        return UINT(p.size());
    if (size == 0)
        return 0;
    size_t n = p.size() < size - 1 ? p.size() : size - 1;
    wmemcpy(buffer, p.data(), n);
    buffer[n] = L'\0';
    return UINT(n);
}

void DragFinish(HDROP drop) {
    delete drop;
}

namespace platform {

HDROP MakeDropHandle(const std::vector<std::wstring>& paths) {
    return new HDROP__{paths};
}

bool AcceptsDroppedFiles(HWND hwnd) {
    return IsWindow(hwnd) && (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
}

} // namespace platform
