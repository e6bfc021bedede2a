#include "platform/windowing/language_bundle.h"

#include <cwchar>
#include <dlfcn.h>
#include <map>
#include <memory>
#include <tuple>

namespace platform {

namespace {

using Key = std::tuple<uint32_t, uint32_t, uint32_t>; // kind, owner, id

struct Bundle {
    void* module = nullptr;
    std::string path;
    std::map<Key, std::wstring> texts;

    ~Bundle() {
        if (module)
            dlclose(module);
    }
};

std::unique_ptr<Bundle>& Current() {
    static std::unique_ptr<Bundle> bundle;
    return bundle;
}

bool Fits(const LanguageEntry& e) {
    if (e.kind > kLanguageDialog || !e.text)
        return false;
    if (e.kind == kLanguageMenu ? e.id > kLanguagePopupBase + 0xFFFF : e.id > 0xFFFF)
        return false;
    if (e.owner > 0xFFFF || (e.kind == kLanguageString && e.owner != 0))
        return false;
    return wcsnlen(e.text, kLanguageMaxTextChars + 1) <= kLanguageMaxTextChars;
}

// Loads the module and copies its usable entries; null when it offers none.
std::unique_ptr<Bundle> Open(const std::string& path) {
    auto bundle = std::make_unique<Bundle>();
    bundle->module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!bundle->module)
        return nullptr;
    auto entry = reinterpret_cast<LanguageTableEntry>(dlsym(bundle->module, kLanguageEntryPoint));
    const LanguageTable* table = entry ? entry() : nullptr;
    if (!table || table->version != kLanguageTableVersion || !table->entries ||
        table->count > kLanguageMaxEntries)
        return nullptr;
    for (uint32_t i = 0; i < table->count; ++i) {
        const LanguageEntry& e = table->entries[i];
        if (Fits(e))
            bundle->texts[Key{e.kind, e.owner, e.id}] = e.text;
    }
    bundle->path = path;
    return bundle;
}

bool Find(const Key& key, std::wstring& out) {
    const std::unique_ptr<Bundle>& bundle = Current();
    if (!bundle)
        return false;
    auto it = bundle->texts.find(key);
    if (it == bundle->texts.end())
        return false;
    out = it->second;
    return true;
}

} // namespace

bool LoadLanguageBundle(const std::string& path) {
    std::unique_ptr<Bundle> bundle = Open(path);
    if (!bundle)
        return false;
    Current() = std::move(bundle);
    return true;
}

void UnloadLanguageBundle() {
    Current().reset();
}

std::string CurrentLanguageBundle() {
    return Current() ? Current()->path : std::string();
}

bool PeekLanguageString(const std::string& path, UINT id, std::wstring& out) {
    std::unique_ptr<Bundle> bundle = Open(path);
    if (!bundle)
        return false;
    auto it = bundle->texts.find(Key{kLanguageString, 0, id});
    if (it == bundle->texts.end())
        return false;
    out = it->second;
    return true;
}

bool BundleString(UINT id, std::wstring& out) {
    return Find(Key{kLanguageString, 0, id}, out);
}

bool BundleMenuText(UINT menuId, UINT key, std::wstring& out) {
    return Find(Key{kLanguageMenu, menuId, key}, out);
}

bool BundleDialogText(UINT dialogId, int controlId, std::wstring& out) {
    return controlId >= 0 && Find(Key{kLanguageDialog, dialogId, uint32_t(controlId)}, out);
}

} // namespace platform
