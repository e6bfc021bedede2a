// The library's string table.
#include "design/design_page.h"

#include "platform/windowing/resources.h"

namespace {

// Registered when the library loads, so a language library registered later replaces them.
const bool kRegistered = [] {
    platform::RegisterStrings(
        {{CDesignPage::IDS_ROTATE_90, L"Rotate 90°\nRotate 90°"},
         {CDesignPage::IDS_SAVE_READ_ONLY,
          L"ERROR- Cannot Save Design\nThe Design was opened with Read-only permission"}});
    return true;
}();

} // namespace

void DesignRegisterStrings() {
    (void)kRegistered;
}
