// The settings of one installed cutter in the registry: its key below "Cutter-Settings", the
// class that makes it, and its driver and port settings, each value read back whole or reported
// as damaged.
#include "felgrin/base_cutter.h"

#include "felgrin/felgrin_strings.h"
#include "pivora/framework/app_params.h"
#include "platform/system/settings_store.h"
#include "qvutils/host_services.h"

#include <vector>

namespace {

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

bool RegWriteDword(HKEY key, const wchar_t* name, DWORD value) {
    return RegSetValueEx(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                         sizeof value) == ERROR_SUCCESS;
}

// A string that could not be read back whole is not written either.
bool RegWriteString(HKEY key, const wchar_t* name, const CString& value) {
    if (value.GetLength() > CUTTER_REG_STRING_MAX)
        return false;
    return RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.GetString()),
                         DWORD((value.GetLength() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// Names of damaged values, gathered so that one message tells of all of them.
class CDamagedValues {
public:
    void Add(const wchar_t* name) {
        if (!m_names.IsEmpty())
            m_names += L", ";
        m_names += name;
    }
    void Report(const CString& where) const {
        if (!m_names.IsEmpty())
            CBaseCutter::fnReportDamagedValues(where, m_names);
    }

private:
    CString m_names;
};

int RegReadDword(HKEY key, const wchar_t* name, DWORD& out, CDamagedValues& damaged) {
    int r = CBaseCutter::fnRegReadDword(key, name, out);
    if (r == CUTTER_REG_DAMAGED)
        damaged.Add(name);
    return r;
}

int RegReadString(HKEY key, const wchar_t* name, CString& out, CDamagedValues& damaged) {
    int r = CBaseCutter::fnRegReadString(key, name, out);
    if (r == CUTTER_REG_DAMAGED)
        damaged.Add(name);
    return r;
}

} // namespace

CString CBaseCutter::fnCuttersKeyPath() {
    return CString(FnGetRegistryString(CUTTER_SETTINGS_KEY));
}

CString CBaseCutter::fnCutterKeyPath(const CString& name) {
    // An empty name would be the key of every cutter, and a separator a key inside another.
    if (name.IsEmpty() || name.Find(L'\\') >= 0)
        return CString();
    return fnCuttersKeyPath() + L"\\" + name;
}

int CBaseCutter::fnRegReadString(HKEY key, const wchar_t* name, CString& out) {
    DWORD type = REG_NONE;
    DWORD bytes = 0;
    LONG r = RegQueryValueEx(key, name, nullptr, &type, nullptr, &bytes);
    if (r == ERROR_FILE_NOT_FOUND)
        return CUTTER_REG_MISSING;
    if (r != ERROR_SUCCESS)
        return CUTTER_REG_MISSING; // an unreadable key counts as one without the value
    if (!IsStringType(type) || bytes > DWORD(CUTTER_REG_STRING_MAX + 1) * sizeof(wchar_t))
        return CUTTER_REG_DAMAGED;
    // Room for a terminator the stored data may lack.
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2, L'\0');
    DWORD got = DWORD((buffer.size() - 1) * sizeof(wchar_t));
    r = RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got);
    if (r != ERROR_SUCCESS || !IsStringType(type))
        return CUTTER_REG_DAMAGED;
    buffer.back() = L'\0';
    CString text(buffer.data());
    if (text.GetLength() > CUTTER_REG_STRING_MAX)
        return CUTTER_REG_DAMAGED;
    out = text;
    return CUTTER_REG_READ;
}

int CBaseCutter::fnRegReadDword(HKEY key, const wchar_t* name, DWORD& out) {
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD bytes = sizeof value;
    LONG r = RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes);
    if (r == ERROR_FILE_NOT_FOUND)
        return CUTTER_REG_MISSING;
    if (r == ERROR_MORE_DATA)
        return CUTTER_REG_DAMAGED;
    if (r != ERROR_SUCCESS)
        return CUTTER_REG_MISSING;
    if (type != REG_DWORD || bytes != sizeof value)
        return CUTTER_REG_DAMAGED;
    out = value;
    return CUTTER_REG_READ;
}

void CBaseCutter::fnReportDamagedValues(const CString& where, const CString& names) {
    CString text = FormatString(L"The stored settings of '%s' are damaged and were not used:\n%s",
                                where.GetString(), names.GetString());
    qvhost::MessageBox(text, qvhost::kMbOk | qvhost::kMbIconExclamation);
}

int CBaseCutter::fnReadRegistry(HKEY cutterKey, const wchar_t* name) {
    // Named first, so that a report of damaged values can say whose they are.
    m_strName = name;
    m_strStoredName = name;
    platform::CSettingsKey driver, port;
    if (RegOpenKeyEx(cutterKey, CUTTER_REG_DRIVER, 0, KEY_READ, driver.Receive()) == ERROR_SUCCESS)
        fnRegReadDriverSettings(driver.Get());
    if (RegOpenKeyEx(cutterKey, CUTTER_REG_PORT, 0, KEY_READ, port.Receive()) == ERROR_SUCCESS)
        fnRegReadPortSettings(port.Get());
    return 1;
}

int CBaseCutter::fnRegReadDriverSettings(HKEY key) {
    CDamagedValues damaged;
    DWORD v = 0;
    if (RegReadDword(key, L"ReturnToZero", v, damaged) == CUTTER_REG_READ)
        m_bReturnToZero = v ? 1 : 0;
    int origin = RegReadDword(key, L"Origin", v, damaged);
    if (origin == CUTTER_REG_MISSING)
        origin = RegReadDword(key, L"FreeX", v, damaged);
    if (origin == CUTTER_REG_READ)
        fnSetOrigin(LONG(v));
    if (RegReadDword(key, L"MaxWidth", v, damaged) == CUTTER_REG_READ)
        fnSetMaxWidth(LONG(v));
    if (RegReadDword(key, L"MaxHeight", v, damaged) == CUTTER_REG_READ)
        fnSetMaxHeight(LONG(v));
    if (RegReadDword(key, L"PenNumber", v, damaged) == CUTTER_REG_READ)
        m_nPenNumber = int(v);
    if (RegReadDword(key, L"FeedMediaExtents", v, damaged) == CUTTER_REG_READ)
        m_bFeedMediaExtents = int(v);
    damaged.Report(m_strName);
    return 1;
}

int CBaseCutter::fnRegReadPortSettings(HKEY key) {
    CDamagedValues damaged;
    DWORD v = 0;
    if (RegReadDword(key, L"BaudRate", v, damaged) == CUTTER_REG_READ)
        m_CommsParams.nBaudRate = int(v);
    if (RegReadDword(key, L"DataBits", v, damaged) == CUTTER_REG_READ)
        m_CommsParams.nDataBits = int(v);
    if (RegReadDword(key, L"StopBits", v, damaged) == CUTTER_REG_READ)
        m_CommsParams.nStopBits = int(v);
    if (RegReadDword(key, L"Parity", v, damaged) == CUTTER_REG_READ)
        m_CommsParams.nParity = int(v);
    if (RegReadDword(key, L"FlowControl", v, damaged) == CUTTER_REG_READ)
        m_CommsParams.nFlowControl = int(v);
    RegReadString(key, L"Name", m_CommsParams.szPortName, damaged);
    RegReadString(key, L"OutputFileName", m_strOutFileName, damaged);
    damaged.Report(m_strName);
    return 1;
}

int CBaseCutter::fnRegWriteDriverSettings(HKEY cutterKey) {
    platform::CSettingsKey holder;
    if (RegCreateKeyEx(cutterKey, CUTTER_REG_DRIVER, 0, nullptr, REG_OPTION_NON_VOLATILE,
                       KEY_ALL_ACCESS, nullptr, holder.Receive(), nullptr) != ERROR_SUCCESS)
        return 0;
    HKEY key = holder.Get();
    bool ok = RegWriteDword(key, L"ReturnToZero", DWORD(m_bReturnToZero));
    ok = RegWriteDword(key, L"Origin", DWORD(fnGetiOrigin())) && ok;
    ok = RegWriteDword(key, L"MaxWidth", DWORD(fnGetMaxWidth())) && ok;
    ok = RegWriteDword(key, L"MaxHeight", DWORD(fnGetMaxHeight())) && ok;
    ok = RegWriteDword(key, L"PenNumber", DWORD(m_nPenNumber)) && ok;
    ok = RegWriteDword(key, L"FeedMediaExtents", DWORD(m_bFeedMediaExtents)) && ok;
    return ok ? 1 : 0;
}

int CBaseCutter::fnRegWritePortSettings(HKEY cutterKey) {
    platform::CSettingsKey holder;
    if (RegCreateKeyEx(cutterKey, CUTTER_REG_PORT, 0, nullptr, REG_OPTION_NON_VOLATILE,
                       KEY_ALL_ACCESS, nullptr, holder.Receive(), nullptr) != ERROR_SUCCESS)
        return 0;
    HKEY key = holder.Get();
    bool ok = RegWriteDword(key, L"BaudRate", DWORD(m_CommsParams.nBaudRate));
    ok = RegWriteDword(key, L"DataBits", DWORD(m_CommsParams.nDataBits)) && ok;
    ok = RegWriteDword(key, L"StopBits", DWORD(m_CommsParams.nStopBits)) && ok;
    ok = RegWriteDword(key, L"Parity", DWORD(m_CommsParams.nParity)) && ok;
    ok = RegWriteDword(key, L"FlowControl", DWORD(m_CommsParams.nFlowControl)) && ok;
    ok = RegWriteString(key, L"Name", m_CommsParams.szPortName) && ok;
    ok = RegWriteString(key, L"OutputFileName", m_strOutFileName) && ok;
    return ok ? 1 : 0;
}

int CBaseCutter::fnWriteToRegistry() {
    CString path = fnCutterKeyPath(m_strName);
    if (path.IsEmpty())
        return 0;
    // The store keeps a key's first spelling: a rename that changes only the case takes the
    // old key away first, or the old spelling comes back at the next start.
    if (!m_strStoredName.IsEmpty() && m_strStoredName != m_strName &&
        m_strStoredName.CompareNoCase(m_strName) == 0)
        RegDeleteTree(HKEY_CURRENT_USER, path);
    platform::CSettingsKey holder;
    DWORD disposition = 0;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                       nullptr, holder.Receive(), &disposition) != ERROR_SUCCESS)
        return 0;
    HKEY key = holder.Get();
    // The class is what makes the key a cutter at the next start: a key that lacks it (an
    // earlier save that stopped half-way) gets it too.
    CString className(GetRuntimeClass()->m_lpszClassName);
    CString stored;
    bool ok = true;
    if (disposition == REG_CREATED_NEW_KEY ||
        fnRegReadString(key, CUTTER_REG_CLASS, stored) != CUTTER_REG_READ || stored != className)
        ok = RegWriteString(key, CUTTER_REG_CLASS, className);
    ok = fnRegWriteDriverSettings(key) && ok;
    ok = fnRegWritePortSettings(key) && ok;
    holder.Close();
    if (!ok)
        return 0; // the key of an old name stays until the new one is whole
    if (!m_strStoredName.IsEmpty() && m_strStoredName.CompareNoCase(m_strName) != 0) {
        CString old = fnCutterKeyPath(m_strStoredName);
        if (!old.IsEmpty())
            RegDeleteTree(HKEY_CURRENT_USER, old);
    }
    m_strStoredName = m_strName;
    return 1;
}
