// Language bundles: modules loaded at run time that carry the program's texts in another
// language. A bundle exports one entry point returning its table; strings, menu texts and
// dialog texts are keyed by the program's own resource numbers. While a bundle is current every
// resource lookup of the layer asks it first and falls back to the program's own text.
//
// A module without the entry point, with a table of another version, or with entries that do
// not fit (ids past 16 bits, texts without an end within the limit) is refused or has those
// entries skipped; the program's texts stay in use.
#pragma once

#include "platform/core/types.h"

#include <cstdint>
#include <string>

// What a bundle exports (C linkage, so a bundle can be built by anything that makes modules).
extern "C" {
struct LanguageEntry {
    uint32_t kind;  // kLanguageString, kLanguageMenu, kLanguageDialog
    uint32_t owner; // 0 for strings; the menu or dialog template for the others
    uint32_t id;    // string id; menu command (or kLanguagePopupBase + popup order); control id
    const wchar_t* text;
};
struct LanguageTable {
    uint32_t version;
    uint32_t count;
    const LanguageEntry* entries;
};
typedef const LanguageTable* (*LanguageTableEntry)();
}

namespace platform {

constexpr const char* kLanguageEntryPoint = "LanguageResourceTable";
constexpr uint32_t kLanguageTableVersion = 1;
constexpr uint32_t kLanguageString = 0;
constexpr uint32_t kLanguageMenu = 1;
constexpr uint32_t kLanguageDialog = 2;
// Menu popups have no command: they are keyed by this plus their order in the template, counted
// depth first from 0. A dialog's caption is keyed as control 0.
constexpr uint32_t kLanguagePopupBase = 0x10000;
constexpr uint32_t kLanguageMaxEntries = 100000;
constexpr size_t kLanguageMaxTextChars = 4096;

// Makes the bundle at path current (the previous one is let go); false, with the current one
// kept, when it cannot be loaded or has no usable table.
bool LoadLanguageBundle(const std::string& path);
// The program's own texts again.
void UnloadLanguageBundle();
// The current bundle's path; empty for the program's own texts.
std::string CurrentLanguageBundle();
// One string of the bundle at path without making it current; false when the module cannot be
// loaded, has no usable table or lacks the string.
bool PeekLanguageString(const std::string& path, UINT id, std::wstring& out);

// The current bundle's texts; false when there is no bundle or it has no such text.
bool BundleString(UINT id, std::wstring& out);
bool BundleMenuText(UINT menuId, UINT key, std::wstring& out);
bool BundleDialogText(UINT dialogId, int controlId, std::wstring& out);

} // namespace platform
