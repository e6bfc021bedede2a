// The driver's public front: loading the installed cutters, handing out instances, the preferred
// cutter, deleting cutters and quitting.
#pragma once

#include "felgrin/base_cutter.h"
#include "felgrin/cutter_instance.h"
#include "platform/core/string_array.h"

// A cutter of this name is not offered among the cutters to choose from.
inline constexpr wchar_t SCANNING_LASER_NAME[] = L"Scanning Laser";
inline constexpr wchar_t PREFERED_CUTTER_VALUE[] = L"PreferedCutter";

class FelgrinUtils {
public:
    // Reads the installed cutters from `key` (null: the per-user "Cutter-Settings" key).
    static int LoadCutterDevices(const wchar_t* key);
    // Deletes every cutter and forgets the preferred one; 0.
    static int QuitCutterDriver();
    // A new instance, owned by the caller, on the cutter of that name (any case), or on the
    // preferred cutter for an empty name; null after telling the operator there is none.
    static CCutterInstance* GetCutterInstance(const CString& name);
    // The names in table order without the scanning laser; the preferred cutter's place among
    // them, or -1 when it is not listed.
    static int InquireCutterNames(CStringArray& names);
    // 1 when a cutter of that name (any case) became the preferred one, else 0.
    static int SetPrefCutter(const CString& name, int save);
    static void DeleteFelgrinCutter(const CString& name);
    static CBaseCutter* GetFelgrinCurrentCutter();

protected:
    static int ReadCuttersFromRegistry(const wchar_t* key);
    static void DeleteCutter(const CString& name);
    static void DeleteAllCuttersBut(const CString& name);
};
