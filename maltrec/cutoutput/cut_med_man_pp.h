// The sheet's "Cutter" page: the cutter and port of the media manager, read only.
#pragma once

#include "platform/framework/property_page.h"

class CDesignPage;
class CMediaManagerBlk;

class CCutMedManPP : public CPropertyPage {
    DECLARE_DYNAMIC(CCutMedManPP)
public:
    static constexpr UINT IDD = 1098;
    static constexpr int IDC_DEVICE_NAME = 2033;
    static constexpr int IDC_PORT_NAME = 2034;

    explicit CCutMedManPP(CDesignPage* sheetPage);
    BOOL OnInitDialog() override;

    CString m_strDeviceName;
    CString m_strPortName;

private:
    CMediaManagerBlk* m_pMedMan = nullptr;
};

// The media manager block of a sheet document, or null.
CMediaManagerBlk* FnSheetMediaManager(CDesignPage* sheetPage);
