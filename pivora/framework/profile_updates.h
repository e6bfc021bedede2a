// Start-up steps over the application profile and the application parameters together.
#pragma once

#include "platform/core/cstring.h"

// Merges UpdateBOOT.INI and the home folder's UpdateSettings.INI into BOOT.INI and the shared
// Settings.INI, deleting each once merged.
void FnUpdateProfiles();
// The "Software Package" parameter, else the BOOT.INI value of that name; empty when neither.
CString FnGetSoftwarePackage();
