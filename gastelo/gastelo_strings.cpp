#include "gastelo/gastelo_strings.h"

#include "platform/windowing/dialog_template.h"

#include <string>

void GasteloRegisterResources() {
    static const bool registered = [] {
        platform::RegisterStrings({
            {IDS_DEFAULT_DESIGN_DIRECTORY, L"DefaultDesignDirectory"},
            {IDS_DOCUMENT_LOCKED_BROWSER, L"Document Locked."},
            {IDS_DESIGN_NOT_SAVED, L"'%s' has NOT been saved.\n\nDo you want to save it?"},
            {IDS_DEFAULT_DESIGN_NAME, L"Design"},
            {IDS_DESIGN_MODIFIED, L"'%s' has been modified.\n\nDo you want to save it?"},
            {IDS_CLOSE_ALL_MANY,
             L"%d designs are unsaved. Save all, some or none of them before closing?"},
            {IDS_CLOSE_ALL_ONE, L"1 design is unsaved. Save it before closing?"},
            {IDS_CLOSE_ALL_SAVE, L"&Save"},
            {IDS_REPLACE_EXISTING_DESIGN, L"%s already exists.\nDo you want to replace it?"},
        });
        return true;
    }();
    (void)registered;
}

namespace {
// At load, so that a language library registering later replaces these texts.
const bool kRegisteredAtLoad = (GasteloRegisterResources(), true);
} // namespace

CString GasteloLoadString(UINT id) {
    (void)kRegisteredAtLoad;
    std::wstring text;
    if (!platform::LoadResourceString(id, text))
        return CString();
    return CString(text);
}
