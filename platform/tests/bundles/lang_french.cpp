// A language bundle for the tests: the program's name of its language, one status text, the
// main menu's "File" popup and "Open" item, and the language page's caption.
#include "platform/windowing/language_bundle.h"

namespace {

const LanguageEntry kEntries[] = {
    {platform::kLanguageString, 0, 61446, L"Fran\u00e7ais V10.00"},
    {platform::kLanguageString, 0, 57601, L"Ouvrir un dessin\nOuvrir"},
    {platform::kLanguageMenu, 23012, platform::kLanguagePopupBase + 0, L"&Fichier"},
    {platform::kLanguageMenu, 23012, 57601, L"&Ouvrir...\tCtrl+O"},
    {platform::kLanguageDialog, 131, 0, L"Langue"},
};
const LanguageTable kTable{platform::kLanguageTableVersion, 5, kEntries};

} // namespace

extern "C" __attribute__((visibility("default"))) const LanguageTable* LanguageResourceTable() {
    return &kTable;
}
