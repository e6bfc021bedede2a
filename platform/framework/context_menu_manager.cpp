#include "platform/framework/context_menu_manager.h"

#include "platform/framework/win_app_ex.h"
#include "platform/framework/wnd.h"
#include "platform/system/settings_store.h"

#include <cstdint>

IMPLEMENT_DYNAMIC(CContextMenuManager, CObject)

namespace {

CString KeyOf(LPCWSTR path) {
    CString key(path ? path : L"");
    key.TrimRight(L'\\');
    return key;
}

} // namespace

CContextMenuManager::~CContextMenuManager() {
    for (Named& n : m_menus)
        ::DestroyMenu(n.menu);
}

BOOL CContextMenuManager::AddMenu(LPCWSTR name, UINT menuId) {
    if (!name || !*name)
        return FALSE;
    HMENU menu = ::LoadMenuW(nullptr, menuId);
    if (!menu)
        return FALSE;
    for (Named& n : m_menus)
        if (n.name.CompareNoCase(name) == 0) {
            ::DestroyMenu(n.menu);
            n.id = menuId;
            n.menu = menu;
            return TRUE;
        }
    m_menus.push_back({CString(name), menuId, menu});
    return TRUE;
}

HMENU CContextMenuManager::GetMenuByName(LPCWSTR name, UINT* menuId) const {
    if (!name)
        return nullptr;
    for (const Named& n : m_menus)
        if (n.name.CompareNoCase(name) == 0) {
            if (menuId)
                *menuId = n.id;
            return ::GetSubMenu(n.menu, 0);
        }
    return nullptr;
}

std::vector<std::pair<CString, UINT>> CContextMenuManager::GetMenuNames() const {
    std::vector<std::pair<CString, UINT>> names;
    for (const Named& n : m_menus)
        names.emplace_back(n.name, n.id);
    return names;
}

BOOL CContextMenuManager::SaveState(LPCWSTR keyPath) const {
    const CString key = KeyOf(keyPath);
    if (key.IsEmpty())
        return FALSE;
    // Names registered no longer must not come back at the next start.
    RegDeleteTree(HKEY_CURRENT_USER, key);
    HKEY h = nullptr;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                       nullptr, &h, nullptr) != ERROR_SUCCESS)
        return FALSE;
    bool ok = true;
    for (const Named& n : m_menus) {
        const uint32_t v = n.id;
        const BYTE bytes[4] = {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)};
        ok = RegSetValueEx(h, n.name, 0, REG_DWORD, bytes, sizeof bytes) == ERROR_SUCCESS && ok;
    }
    RegCloseKey(h);
    return ok ? TRUE : FALSE;
}

BOOL CContextMenuManager::LoadState(LPCWSTR keyPath) {
    const CString key = KeyOf(keyPath);
    HKEY h = nullptr;
    if (key.IsEmpty() || RegOpenKeyEx(HKEY_CURRENT_USER, key, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return FALSE;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = {};
        DWORD chars = 256, type = 0, bytes = 4;
        BYTE data[4] = {};
        const LONG r = RegEnumValue(h, index, name, &chars, nullptr, &type, data, &bytes);
        if (r == ERROR_NO_MORE_ITEMS)
            break;
        if (r != ERROR_SUCCESS || type != REG_DWORD || bytes != 4 || GetMenuByName(name))
            continue;
        const UINT id =
            UINT(data[0]) | UINT(data[1]) << 8 | UINT(data[2]) << 16 | UINT(data[3]) << 24;
        AddMenu(name, id);
    }
    RegCloseKey(h);
    return TRUE;
}

UINT CContextMenuManager::ShowPopupMenu(HMENU popup, int x, int y, CWnd* owner, BOOL sendCommand) {
    if (!::IsMenu(popup))
        return 0;
    m_lastPoint = POINT{x, y};
    m_lastOwner = owner ? owner->m_hWnd : nullptr;
    ++m_nShown;
    const UINT cmd = UINT(::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                           x, y, 0, m_lastOwner, nullptr));
    if (cmd && sendCommand && owner && ::IsWindow(owner->m_hWnd))
        owner->SendMessage(WM_COMMAND, MAKEWPARAM(WORD(cmd), 0), 0);
    return cmd;
}

CContextMenuManager* AfxGetContextMenuManager() {
    auto* app = dynamic_cast<CWinAppEx*>(AfxGetApp());
    return app ? app->GetContextMenuManager() : nullptr;
}
