#include "felgrin/felgrin_utils.h"

#include "felgrin/cutter_utils.h"
#include "felgrin/felgrin_strings.h"
#include "platform/system/settings_store.h"
#include "qvutils/host_services.h"

#include <vector>

namespace {

// Writes the preferred cutter's name, when the key of the installed cutters can be opened.
void WritePreferedCutter(const CString& name) {
    platform::CSettingsKey key;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, CBaseCutter::fnCuttersKeyPath(), 0, KEY_WRITE,
                     key.Receive()) != ERROR_SUCCESS)
        return;
    RegSetValueEx(key.Get(), PREFERED_CUTTER_VALUE, 0, REG_SZ,
                  reinterpret_cast<const BYTE*>(name.GetString()),
                  DWORD((name.GetLength() + 1) * sizeof(wchar_t)));
}

// The name of the sub-key at `index`, whatever its length.
LONG EnumKeyName(HKEY key, DWORD index, CString& name) {
    DWORD chars = 0;
    LONG r = RegEnumKeyEx(key, index, nullptr, &chars, nullptr, nullptr, nullptr, nullptr);
    if (r != ERROR_SUCCESS && r != ERROR_MORE_DATA)
        return r;
    std::vector<wchar_t> buffer(size_t(chars) + 1, L'\0');
    chars = DWORD(buffer.size());
    r = RegEnumKeyEx(key, index, buffer.data(), &chars, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_SUCCESS)
        name = CString(buffer.data());
    return r;
}

} // namespace

int FelgrinUtils::LoadCutterDevices(const wchar_t* key) {
    return ReadCuttersFromRegistry(key);
}

int FelgrinUtils::ReadCuttersFromRegistry(const wchar_t* key) {
    if (CCutterUtils::m_oaCutters.GetSize() > 0)
        return 1;
    CString path = key ? CString(key) : CBaseCutter::fnCuttersKeyPath();
    platform::CSettingsKey holder;
    DWORD disposition = 0;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                       nullptr, holder.Receive(), &disposition) != ERROR_SUCCESS)
        return 0;
    if (disposition != REG_OPENED_EXISTING_KEY)
        return 0;
    HKEY root = holder.Get();
    CString prefered;
    if (CBaseCutter::fnRegReadString(root, PREFERED_CUTTER_VALUE, prefered) == CUTTER_REG_DAMAGED)
        CBaseCutter::fnReportDamagedValues(path, PREFERED_CUTTER_VALUE);

    int read = 0;
    for (DWORD index = 0;; ++index) {
        CString name;
        LONG r = EnumKeyName(root, index, name);
        if (r == ERROR_NO_MORE_ITEMS)
            break;
        if (r != ERROR_SUCCESS) {
            if (r == ERROR_MORE_DATA)
                continue; // renamed under us: this one is skipped
            break;
        }
        platform::CSettingsKey subKey;
        if (RegOpenKeyEx(root, name, 0, KEY_READ, subKey.Receive()) != ERROR_SUCCESS)
            continue;
        HKEY sub = subKey.Get();
        CString className;
        int found = CBaseCutter::fnRegReadString(sub, CUTTER_REG_CLASS, className);
        if (found != CUTTER_REG_MISSING) {
            CBaseCutter* cutter =
                found == CUTTER_REG_READ ? CCutterUtils::CreateCutter(className) : nullptr;
            if (cutter) {
                cutter->fnReadRegistry(sub, name);
                CCutterUtils::m_oaCutters.Add(cutter);
                ++read;
            } else {
                CString text = FormatString(L"The cutter '%s' could not be created:\nits type "
                                            L"'%s' is not known to this program.",
                                            name.GetString(), className.GetString());
                qvhost::MessageBox(text, qvhost::kMbOk | qvhost::kMbIconExclamation);
            }
        }
    }
    holder.Close();
    if (!prefered.IsEmpty())
        SetPrefCutter(prefered, 0);
    return read > 0 ? 1 : 0;
}

int FelgrinUtils::QuitCutterDriver() {
    auto& cutters = CCutterUtils::m_oaCutters;
    for (INT_PTR i = cutters.GetSize() - 1; i >= 0; --i)
        delete cutters[i];
    cutters.RemoveAll();
    CCutterUtils::m_pPreferedCutter = nullptr;
    return 0;
}

CCutterInstance* FelgrinUtils::GetCutterInstance(const CString& name) {
    CBaseCutter* cutter = nullptr;
    if (name.IsEmpty()) {
        cutter = CCutterUtils::m_pPreferedCutter;
    } else {
        auto& cutters = CCutterUtils::m_oaCutters;
        for (INT_PTR i = 0; i < cutters.GetSize() && !cutter; ++i)
            if (cutters[i]->fnGetName().CompareNoCase(name) == 0)
                cutter = cutters[i];
    }
    if (!cutter) {
        CString text = FormatString(FelgrinLoadString(IDS_CUTTER_NOT_FOUND), name.GetString());
        qvhost::MessageBox(text, qvhost::kMbOk | qvhost::kMbIconExclamation);
        return nullptr;
    }
    return new CCutterInstance(cutter);
}

int FelgrinUtils::InquireCutterNames(CStringArray& names) {
    names.RemoveAll();
    int place = -1;
    auto& cutters = CCutterUtils::m_oaCutters;
    for (INT_PTR i = 0; i < cutters.GetSize(); ++i) {
        CString name = cutters[i]->fnGetName();
        // A preferred scanning laser is not listed, so it has no place: -1, not the place of
        // the cutter after it.
        if (name == SCANNING_LASER_NAME)
            continue;
        if (cutters[i] == CCutterUtils::m_pPreferedCutter)
            place = int(names.GetSize());
        names.Add(name);
    }
    return place;
}

int FelgrinUtils::SetPrefCutter(const CString& name, int save) {
    auto& cutters = CCutterUtils::m_oaCutters;
    for (INT_PTR i = 0; i < cutters.GetSize(); ++i) {
        if (cutters[i]->fnGetName().CompareNoCase(name) != 0)
            continue;
        CCutterUtils::m_pPreferedCutter = cutters[i];
        if (save)
            WritePreferedCutter(name);
        return 1;
    }
    return 0;
}

void FelgrinUtils::DeleteFelgrinCutter(const CString& name) {
    DeleteCutter(name);
}

void FelgrinUtils::DeleteCutter(const CString& name) {
    auto& cutters = CCutterUtils::m_oaCutters;
    for (INT_PTR i = cutters.GetSize() - 1; i >= 0; --i) {
        CBaseCutter* cutter = cutters[i];
        if (cutter->fnGetName() != name)
            continue;
        if (cutter == CCutterUtils::m_pPreferedCutter) {
            CCutterUtils::m_pPreferedCutter = nullptr;
            WritePreferedCutter(CString());
        }
        cutters.RemoveAt(i);
        delete cutter;
        break;
    }
    // An empty name would be the key of every cutter.
    CString path = CBaseCutter::fnCutterKeyPath(name);
    if (!path.IsEmpty())
        RegDeleteTree(HKEY_CURRENT_USER, path);
}

void FelgrinUtils::DeleteAllCuttersBut(const CString& name) {
    std::vector<CString> doomed;
    auto& cutters = CCutterUtils::m_oaCutters;
    for (INT_PTR i = 0; i < cutters.GetSize(); ++i)
        if (cutters[i]->fnGetName() != name)
            doomed.push_back(cutters[i]->fnGetName());
    for (const CString& n : doomed)
        DeleteCutter(n);
}

CBaseCutter* FelgrinUtils::GetFelgrinCurrentCutter() {
    auto& cutters = CCutterUtils::m_oaCutters;
    return cutters.GetSize() > 0 ? cutters[0] : nullptr;
}
