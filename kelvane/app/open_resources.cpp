#include "kelvane/app/open_resources.h"

#include "platform/core/cstring.h"
#include "platform/windowing/resources.h"

#include <string>

namespace kelvane {

CString LoadAppString(UINT id) {
    std::wstring text;
    platform::LoadResourceString(id, text);
    return CString(text.c_str());
}

void RegisterOpenResources() {
    platform::RegisterStrings({
        {IDS_LAST_OPEN_DIR, L"LastDesignOpenDir %s"},
        {IDS_LAST_OPEN_EXTENSION, L"LastDesignOpenExtension"},
        {IDS_LAST_OPEN_CHOOSE_TEMPLATE, L"LastDesignOpenChooseTemplate"},
        {IDS_DESIGN_FILTER, L"KDX Design File (*.kdx)|*.kdx|"},
        {IDS_ALL_FILES_FILTER, L"--All files-- (*.*)|*.*|"},
        {IDS_IMPORT_FAILED_CONTINUE, L"Failed to Import '%s'\n\nContinue Importing?"},
        {IDS_IMPORT_FAILED, L"Failed to Import '%s'"},
        {IDS_DXF_TO_INCHES, L"Do you want to convert this design to inches?"},
        {IDS_CLOSE_ALL_DESIGNS, L"You are about to close all %d designs"},
    });
}

} // namespace kelvane
