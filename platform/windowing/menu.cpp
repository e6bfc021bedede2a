#include "platform/windowing/menu.h"

#include "platform/windowing/language_bundle.h"
#include "platform/windowing/menu_hidden.h"

#include "platform/windowing/message.h"
#include "platform/windowing/ui_notify.h"
#include "platform/windowing/window_internal.h"

#include <map>
#include <memory>
#include <set>
#include <string>

namespace {

struct Menu;

struct Item {
    UINT flags = 0;
    UINT id = 0;
    std::wstring text;
    Menu* popup = nullptr; // owned
    ULONG_PTR data = 0;
    bool hidden = false;
};

struct Menu {
    bool isPopup = false;
    std::vector<Item> items;
};

std::set<Menu*>& Live() {
    static std::set<Menu*> s;
    return s;
}

Menu* M(HMENU h) {
    auto* m = static_cast<Menu*>(h);
    return m && Live().count(m) ? m : nullptr;
}

HMENU NewMenu(bool popup) {
    auto* m = new Menu;
    m->isPopup = popup;
    Live().insert(m);
    return m;
}

void FreeMenu(Menu* m) {
    if (!m || !Live().erase(m))
        return;
    for (Item& i : m->items)
        FreeMenu(i.popup);
    delete m;
}

// The item by position, or by command searched through the sub-menus; the menu holding it.
Item* Find(Menu* m, UINT item, UINT flags, Menu** holder = nullptr, size_t* index = nullptr) {
    if (!m)
        return nullptr;
    if (flags & MF_BYPOSITION) {
        if (item >= m->items.size())
            return nullptr;
        if (holder)
            *holder = m;
        if (index)
            *index = item;
        return &m->items[item];
    }
    for (size_t k = 0; k < m->items.size(); ++k) {
        Item& i = m->items[k];
        if (!i.popup && !(i.flags & MF_SEPARATOR) && i.id == item) {
            if (holder)
                *holder = m;
            if (index)
                *index = k;
            return &i;
        }
        if (i.popup)
            if (Item* found = Find(i.popup, item, flags, holder, index))
                return found;
    }
    return nullptr;
}

constexpr UINT kKeptFlags =
    MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR | MF_DEFAULT;

bool MakeItem(Item& out, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
    out.flags = flags & kKeptFlags;
    out.text = text ? text : L"";
    if (flags & MF_POPUP) {
        Menu* sub = M(reinterpret_cast<HMENU>(idOrPopup));
        if (!sub)
            return false;
        out.popup = sub;
        out.id = 0;
    } else {
        out.popup = nullptr;
        out.id = (flags & MF_SEPARATOR) ? 0 : UINT(idOrPopup);
    }
    return true;
}

void Changed(Menu* m) {
    platform::NotifyUi(platform::UiChange::MenuItems, nullptr, m);
}

std::map<UINT, MenuTemplate>& Templates() {
    static std::map<UINT, MenuTemplate> t;
    return t;
}

platform::MenuResponder& Responder() {
    static platform::MenuResponder r;
    return r;
}

// The text of an item: the language bundle's, else the template's. Popups are counted depth
// first from 0 in popupOrder.
void Fill(HMENU menu, const std::vector<MenuTemplateItem>& items, UINT menuId, UINT& popupOrder) {
    std::wstring text;
    for (const MenuTemplateItem& t : items) {
        if (t.flags & MF_POPUP) {
            const UINT key = platform::kLanguagePopupBase + popupOrder++;
            HMENU sub = CreatePopupMenu();
            Fill(sub, t.popup, menuId, popupOrder);
            const bool own = platform::BundleMenuText(menuId, key, text);
            AppendMenuW(menu, t.flags, reinterpret_cast<UINT_PTR>(sub),
                        own ? text.c_str() : t.text);
        } else {
            const bool own = t.id && platform::BundleMenuText(menuId, t.id, text);
            AppendMenuW(menu, t.flags, t.id, own ? text.c_str() : t.text);
        }
    }
}

} // namespace

HMENU CreateMenu() {
    return NewMenu(false);
}

HMENU CreatePopupMenu() {
    return NewMenu(true);
}

BOOL DestroyMenu(HMENU menu) {
    Menu* m = M(menu);
    if (!m)
        return FALSE;
    for (HWND w : platform::detail::AllWindows())
        if (w->menu == menu)
            w->menu = nullptr;
    FreeMenu(m);
    return TRUE;
}

BOOL IsMenu(HMENU menu) {
    return M(menu) != nullptr;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
    Menu* m = M(menu);
    Item item;
    if (!m || !MakeItem(item, flags, idOrPopup, text))
        return FALSE;
    m->items.push_back(item);
    Changed(m);
    return TRUE;
}

BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
    Menu* m = M(menu);
    Item item;
    if (!m || !MakeItem(item, flags, idOrPopup, text))
        return FALSE;
    Menu* holder = m;
    size_t index = m->items.size();
    if (!Find(m, position, flags, &holder, &index)) {
        if (!(flags & MF_BYPOSITION))
            return FALSE;
        holder = m;
        index = m->items.size();
    }
    holder->items.insert(holder->items.begin() + ptrdiff_t(index), item);
    Changed(holder);
    return TRUE;
}

BOOL ModifyMenuW(HMENU menu, UINT item, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
    Menu* holder = nullptr;
    Item* i = Find(M(menu), item, flags, &holder);
    Item next;
    if (!i || !MakeItem(next, flags, idOrPopup, text))
        return FALSE;
    if (i->popup && i->popup != next.popup)
        FreeMenu(i->popup);
    *i = next;
    Changed(holder);
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT item, UINT flags) {
    Menu* holder = nullptr;
    size_t index = 0;
    Item* i = Find(M(menu), item, flags, &holder, &index);
    if (!i)
        return FALSE;
    FreeMenu(i->popup);
    holder->items.erase(holder->items.begin() + ptrdiff_t(index));
    Changed(holder);
    return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT item, UINT flags) {
    Menu* holder = nullptr;
    size_t index = 0;
    if (!Find(M(menu), item, flags, &holder, &index))
        return FALSE;
    holder->items.erase(holder->items.begin() + ptrdiff_t(index));
    Changed(holder);
    return TRUE;
}

int GetMenuItemCount(HMENU menu) {
    Menu* m = M(menu);
    return m ? int(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int pos) {
    Menu* m = M(menu);
    if (!m || pos < 0 || size_t(pos) >= m->items.size() || m->items[size_t(pos)].popup)
        return 0xFFFFFFFF;
    return m->items[size_t(pos)].id;
}

HMENU GetSubMenu(HMENU menu, int pos) {
    Menu* m = M(menu);
    if (!m || pos < 0 || size_t(pos) >= m->items.size())
        return nullptr;
    return m->items[size_t(pos)].popup;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    Item* i = Find(M(menu), item, flags);
    if (!i)
        return 0xFFFFFFFF;
    return i->flags | (i->popup ? MF_POPUP : 0);
}

int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int max, UINT flags) {
    Item* i = Find(M(menu), item, flags);
    if (!i)
        return 0;
    if (!buffer || max <= 0)
        return int(i->text.size());
    size_t n = std::min(i->text.size(), size_t(max) - 1);
    std::copy(i->text.begin(), i->text.begin() + ptrdiff_t(n), buffer);
    buffer[n] = 0;
    return int(n);
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
    Menu* holder = nullptr;
    Item* i = Find(M(menu), item, flags, &holder);
    if (!i)
        return 0xFFFFFFFF;
    DWORD previous = i->flags & MF_CHECKED;
    i->flags = (i->flags & ~MF_CHECKED) | (flags & MF_CHECKED);
    if (previous != (i->flags & MF_CHECKED))
        Changed(holder);
    return previous;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags) {
    Menu* holder = nullptr;
    Item* i = Find(M(menu), item, flags, &holder);
    if (!i)
        return -1;
    UINT previous = i->flags & (MF_GRAYED | MF_DISABLED);
    i->flags = (i->flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    if (previous != (i->flags & (MF_GRAYED | MF_DISABLED)))
        Changed(holder);
    return BOOL(previous);
}

BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOW* info) {
    Item* i = Find(M(menu), item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!i || !info)
        return FALSE;
    if (info->fMask & MIIM_DATA)
        info->dwItemData = i->data;
    if (info->fMask & MIIM_ID)
        info->wID = i->id;
    return TRUE;
}

BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOW* info) {
    Menu* holder = nullptr;
    Item* i = Find(M(menu), item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, &holder);
    if (!i || !info)
        return FALSE;
    if (info->fMask & MIIM_DATA)
        i->data = info->dwItemData;
    if (info->fMask & MIIM_ID) {
        i->id = info->wID;
        Changed(holder);
    }
    return TRUE;
}

BOOL SetMenuItemHidden(HMENU menu, UINT item, UINT flags, BOOL hidden) {
    Menu* holder = nullptr;
    Item* i = Find(M(menu), item, flags, &holder);
    if (!i)
        return FALSE;
    if (i->hidden != (hidden != FALSE)) {
        i->hidden = hidden != FALSE;
        Changed(holder);
    }
    return TRUE;
}

BOOL IsMenuItemHidden(HMENU menu, UINT item, UINT flags) {
    Item* i = Find(M(menu), item, flags);
    return i && i->hidden ? TRUE : FALSE;
}

HMENU GetMenu(HWND hwnd) {
    HWND w = platform::detail::Window(hwnd);
    return w ? static_cast<HMENU>(w->menu) : nullptr;
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
    HWND w = platform::detail::Window(hwnd);
    if (!w || (menu && !M(menu)))
        return FALSE;
    w->menu = menu;
    platform::NotifyUi(platform::UiChange::FrameMenu, w, menu);
    return TRUE;
}

BOOL DrawMenuBar(HWND hwnd) {
    HWND w = platform::detail::Window(hwnd);
    if (!w)
        return FALSE;
    platform::NotifyUi(platform::UiChange::FrameMenu, w, w->menu);
    return TRUE;
}

HMENU LoadMenuW(HINSTANCE, UINT id) {
    const MenuTemplate* t = platform::FindMenuTemplate(id);
    if (!t)
        return nullptr;
    HMENU menu = CreateMenu();
    UINT popupOrder = 0;
    Fill(menu, t->items, id, popupOrder);
    return menu;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    if (!M(menu))
        return FALSE;
    UINT cmd = Responder() ? Responder()(menu, x, y, owner) : 0;
    if (flags & TPM_RETURNCMD)
        return BOOL(cmd);
    if (cmd && owner && !(flags & TPM_NONOTIFY))
        PostMessageW(owner, WM_COMMAND, MAKEWPARAM(WORD(cmd), 0), 0);
    return TRUE;
}

namespace platform {

void RegisterMenuTemplate(const MenuTemplate& tmpl) {
    Templates()[tmpl.id] = tmpl;
}

const MenuTemplate* FindMenuTemplate(UINT id) {
    auto it = Templates().find(id);
    return it != Templates().end() ? &it->second : nullptr;
}

void SetMenuResponder(MenuResponder responder) {
    Responder() = std::move(responder);
}

} // namespace platform
