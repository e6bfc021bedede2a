// The static cutter operations of the "Cutters" menu: install, set up and remove.
#include "varnholm/sorvane_view.h"

#include "felgrin/base_cutter.h"
#include "felgrin/cutter_utils.h"
#include "felgrin/felgrin_utils.h"
#include "felgrin/select_cutter.h"
#include "platform/windowing/message_box.h"
#include "platform/windowing/resources.h"
#include "varnholm/cut_plot_setup.h"
#include "varnholm/varnholm_strings.h"

namespace {

constexpr const wchar_t* kNewCutterClass = L"CDMPLCutter";
constexpr const wchar_t* kNewCutterName = L"Vanter Cutter";
// 1.63 m by 50 m, in data units.
constexpr LONG kNewCutterMaxWidth = 1630000;
constexpr LONG kNewCutterMaxHeight = 50000000;

void Tell(UINT id, const CString& name) {
    CString text;
    text.Format(VarnholmLoadString(id).GetString(), name.GetString());
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

// Whether a name can be stored and is no other cutter's (any case); the operator is told why
// not. `self` is the cutter being set up, whose own name in another case stays allowed.
bool NameAccepted(const CString& name, const CBaseCutter* self) {
    if (name.IsEmpty()) {
        Tell(IDS_CUTTER_NAME_EMPTY, name);
        return false;
    }
    if (name.Find(L'\\') >= 0) {
        Tell(IDS_CUTTER_NAME_BACKSLASH, name);
        return false;
    }
    // Set-up compares with the other installed cutters, installation with every name listed.
    CStringArray names;
    if (self) {
        for (INT_PTR i = 0; i < CCutterUtils::m_oaCutters.GetSize(); ++i)
            if (CBaseCutter* other = CCutterUtils::m_oaCutters.GetAt(i); other && other != self)
                names.Add(other->fnGetName());
    } else {
        FelgrinUtils::InquireCutterNames(names);
    }
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
        if (names.GetAt(i).CompareNoCase(name) == 0) {
            Tell(IDS_CUTTER_NAME_EXISTS, name);
            return false;
        }
    return true;
}

} // namespace

void CSorvaneView::FnInstallCutter(int autoDetect) {
    const bool took = !s_nBusy;
    if (took)
        s_nBusy = 1;
    CBaseCutter* cutter = CCutterUtils::CreateCutter(kNewCutterClass);
    if (cutter) {
        cutter->fnSetName(kNewCutterName);
        cutter->fnSetMaxWidth(kNewCutterMaxWidth);
        cutter->fnSetMaxHeight(kNewCutterMaxHeight);
        bool stored = false;
        for (;;) {
            CCutPlotSetup dlg(cutter, nullptr, autoDetect);
            if (dlg.DoModal() != IDOK)
                break;
            const CString name = cutter->fnGetName();
            if (!NameAccepted(name, nullptr))
                continue;
            cutter->fnSaveSettings();
            stored = CCutterUtils::AddCutterToArray(cutter) != 0;
            FelgrinUtils::SetPrefCutter(name, 1);
            break;
        }
        if (!stored)
            delete cutter;
    }
    if (took)
        s_nBusy = 0;
}

void CSorvaneView::FnSetupCutter() {
    if (CCutterUtils::m_oaCutters.GetSize() == 0)
        return;
    CSelectCutter select;
    CString name;
    if (select.DoModal() == IDOK)
        name = select.m_strSelectedName;
    CBaseCutter* cutter = CCutterUtils::GetCutterFromName(name);
    if (!cutter)
        return;
    const CString before = cutter->fnGetName();
    for (;;) {
        CCutPlotSetup dlg(cutter, nullptr, 0);
        if (dlg.DoModal() != IDOK) {
            cutter->fnSetName(before);
            return;
        }
        if (NameAccepted(cutter->fnGetName(), cutter))
            break;
    }
    cutter->fnSaveSettings();
}

void CSorvaneView::FnDeleteCutter() {
    RemoveCutter();
}
