#include "felgrin/cutter_utils.h"

#include "felgrin/dmpl_cutter.h"
#include "felgrin/vanter_qx3_cutter.h"

tagCUTTERINFO CCutterUtils::m_aCutterInfo[CUTTER_TYPE_COUNT] = {
    {L"Generic DM/PL", CUTTER_TYPE_DMPL, L"Generic DM/PL", RUNTIME_CLASS(CDMPLCutter)},
    {L"Vanter QX3", CUTTER_TYPE_QX3, L"QX3 DM/PL", RUNTIME_CLASS(CVanterQX3Cutter)},
};
CTypedPtrArray<CObArray, CBaseCutter*> CCutterUtils::m_oaCutters;
CBaseCutter* CCutterUtils::m_pPreferedCutter = nullptr;

CBaseCutter* CCutterUtils::CreateCutter(int type) {
    if (type < 0 || type >= CUTTER_TYPE_COUNT || !m_aCutterInfo[type].pClass)
        return nullptr;
    CObject* made = m_aCutterInfo[type].pClass->CreateObject();
    CBaseCutter* cutter = DYNAMIC_DOWNCAST(CBaseCutter, made);
    if (!cutter) {
        delete made;
        return nullptr;
    }
    cutter->SetType(type);
    cutter->Initialise();
    return cutter;
}

CBaseCutter* CCutterUtils::CreateCutter(const wchar_t* className) {
    if (!className)
        return nullptr;
    for (int type = 0; type < CUTTER_TYPE_COUNT; ++type) {
        const CRuntimeClass* cls = m_aCutterInfo[type].pClass;
        if (cls && CString(cls->m_lpszClassName) == className)
            return CreateCutter(type);
    }
    return nullptr;
}

int CCutterUtils::AddCutterToArray(CBaseCutter* cutter) {
    if (!cutter)
        return 0;
    // The settings store ignores case: two such names would share one key.
    const CString name = cutter->fnGetName();
    for (INT_PTR i = 0; i < m_oaCutters.GetSize(); ++i)
        if (m_oaCutters[i] == cutter || m_oaCutters[i]->fnGetName().CompareNoCase(name) == 0)
            return 0;
    m_oaCutters.Add(cutter);
    return 1;
}

CBaseCutter* CCutterUtils::GetCutterFromName(const CString& name) {
    for (INT_PTR i = 0; i < m_oaCutters.GetSize(); ++i)
        if (m_oaCutters[i]->fnGetName() == name)
            return m_oaCutters[i];
    return nullptr;
}
