// Start-up steps that join the application profile and the application parameters; kept apart
// so the profile never calls back into the parameters that read it.
#include "pivora/framework/profile_updates.h"

#include "pivora/framework/app_params.h"
#include "pivora/framework/app_profile.h"
#include "platform/system/paths.h"

#include <cstdio>

void FnUpdateProfiles() {
    CApplicationProfile* profile = FnGetApplicationProfile();
    if (!profile)
        return;
    // An update file goes only once it has been merged whole; after a failed merge it stays
    // for the next start.
    CString profiles = profile->ProgramFolder() + L"Profiles\\";
    CString update = profiles + L"UpdateBOOT.INI";
    if (profile->fnAddSettings(update, profiles + L"BOOT.INI"))
        std::remove(platform::MapPath(update).c_str());

    CString homeUpdate, homeSettings;
    QvHomePath(L"Profiles\\Shared Settings\\UpdateSettings.INI", homeUpdate);
    QvHomePath(L"Profiles\\Shared Settings\\Settings.INI", homeSettings);
    if (platform::PathExists(homeUpdate) && profile->fnAddSettings(homeUpdate, homeSettings))
        std::remove(platform::MapPath(homeUpdate).c_str());
}

CString FnGetSoftwarePackage() {
    CString package;
    if (QvGetAppParam(L"Software Package", package))
        return package;
    FnGetBootProfileString(L"Software Package", package);
    return package;
}
