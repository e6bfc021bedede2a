// A language bundle for the tests whose table also holds entries that do not fit: an id past
// 16 bits, a text missing, an unknown kind, a string with an owner. Those are skipped.
#include "platform/windowing/language_bundle.h"

namespace {

const LanguageEntry kEntries[] = {
    {platform::kLanguageString, 0, 61446, L"Deutsch V10.00"},
    {platform::kLanguageString, 0, 0x1F000, L"too far"},
    {platform::kLanguageString, 0, 57602, nullptr},
    {7, 0, 57603, L"unknown kind"},
    {platform::kLanguageString, 5, 57604, L"owned string"},
    {platform::kLanguageMenu, 23012, 57601, L"\u00d6&ffnen..."},
};
const LanguageTable kTable{platform::kLanguageTableVersion, 6, kEntries};

} // namespace

extern "C" __attribute__((visibility("default"))) const LanguageTable* LanguageResourceTable() {
    return &kTable;
}
