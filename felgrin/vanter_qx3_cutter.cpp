#include "felgrin/vanter_qx3_cutter.h"

IMPLEMENT_DYNCREATE(CVanterQX3Cutter, CDMPLCutter)

CVanterQX3Cutter::CVanterQX3Cutter() {
    m_strName = L"DM/PL Vanter QX3";
    m_nOrigin = 1;
    m_wInquired.x2 = 910000;
    m_wInquired.y2 = 50000000;
    m_nCutterModel = CUTTER_MODEL_QX3;
}

int CVanterQX3Cutter::InquireExtents(CWindow* window) {
    if (window)
        *window = m_wInquired;
    return 0;
}

int CVanterQX3Cutter::fnSetLineStyle(int) {
    return 0;
}
