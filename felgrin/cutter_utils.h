// The cutter types the driver can make, the table of installed cutters and the preferred one.
#pragma once

#include "felgrin/base_cutter.h"
#include "platform/core/ob_array.h"
#include "platform/core/typed_ptr_array.h"

// One row of the cutter-type table.
struct tagCUTTERINFO {
    wchar_t szName[64];
    int nType;
    wchar_t szDescription[64];
    CRuntimeClass* pClass;
};
typedef tagCUTTERINFO CUTTERINFO;

constexpr int CUTTER_TYPE_DMPL = 0;
constexpr int CUTTER_TYPE_QX3 = 1;
constexpr int CUTTER_TYPE_COUNT = 2;

class CCutterUtils {
public:
    static tagCUTTERINFO m_aCutterInfo[CUTTER_TYPE_COUNT];
    // The installed cutters in load and install order; the table owns them.
    static CTypedPtrArray<CObArray, CBaseCutter*> m_oaCutters;
    // Not owned; null when there is none.
    static CBaseCutter* m_pPreferedCutter;

    // A new cutter of the row's class with its type set and initialised; null for a row that
    // does not exist or has no class.
    static CBaseCutter* CreateCutter(int type);
    // The same by run-time class name (exact); null for a name of no row.
    static CBaseCutter* CreateCutter(const wchar_t* className);
    // 1 when the table took the cutter; 0 when a cutter of that name (in any case) is already
    // there, and the caller keeps it.
    static int AddCutterToArray(CBaseCutter* cutter);
    // The first cutter of that name (exact), or null.
    static CBaseCutter* GetCutterFromName(const CString& name);
    static void SetPreferedCutter(CBaseCutter* cutter) { m_pPreferedCutter = cutter; }
    static CBaseCutter* GetPreferedCutter() { return m_pPreferedCutter; }
};
