#include "pivora/framework/user_profile.h"

#include "pivora/framework/rand_number.h"
#include "platform/system/paths.h"
#include "platform/system/private_profile.h"

#include <cstdio>
#include <fstream>
#include <vector>

IMPLEMENT_DYNAMIC(CUserProfile, CObject)

namespace {

const wchar_t kSettings[] = L"Settings";
const wchar_t kAdministratorName[] = L"Warden";
constexpr DWORD kValueChars = 1024;

CString ReadValue(const wchar_t* key, const CString& file) {
    std::vector<wchar_t> buf(kValueChars, L'\0');
    GetPrivateProfileString(kSettings, key, L"", buf.data(), kValueChars, file);
    return CString(buf.data());
}

} // namespace

void CUserProfile::fnInitContents() {
    m_profileFile.Empty();
    m_shortName.Empty();
    m_longName.Empty();
    m_password.Empty();
    m_properties = 0;
    fnGenerateUID(m_uid);
}

void CUserProfile::fnGenerateUID(CString& out) {
    out.Empty();
    int count = get_rand_number(2, 10);
    for (int i = 0; i < count; ++i)
        out.AppendFormat(L"%d", get_rand_number(1, 99));
}

int CUserProfile::fnGetUserProfileString(const wchar_t* key, CString& out) {
    out = ReadValue(key, m_profileFile);
    return out.IsEmpty() ? 0 : 1;
}

int CUserProfile::fnGetUserProfileValue(const wchar_t* key, int def) {
    return int(GetPrivateProfileInt(kSettings, key, def, m_profileFile));
}

int CUserProfile::fnLoadProfile(const CString& shortName, const CString& file) {
    m_profileFile = file;
    CString record;
    if (!fnGetUserProfileString(L"UPD", record))
        return 0;
    fnDecryptUPD(record);
    fnUnloadUPD(record);
    return shortName.CompareNoCase(m_shortName) == 0 ? 1 : 0;
}

void CUserProfile::fnSaveUserProfile() {
    if (m_profileFile.IsEmpty())
        return;
    CString record;
    record.Format(L"\r[settings]\rUID=%s\rshort name=%s\rlong name=%s\rpassword=%s\r"
                  L"properties=%d\r",
                  m_uid.GetString(), m_shortName.GetString(), m_longName.GetString(),
                  m_password.GetString(), m_properties);
    fnEncryptUPD(record);
    WritePrivateProfileString(kSettings, L"UPD", record, m_profileFile);
}

void CUserProfile::fnEncryptUPD(CString& record) {
    for (int i = 0; i < record.GetLength(); ++i)
        record.SetAt(i, wchar_t(record.GetAt(i) + (i % 2 == 0 ? 1 : -1)));
}

void CUserProfile::fnDecryptUPD(CString& record) {
    if (!record.IsEmpty() && record.GetAt(0) == L'\r')
        return; // already plain
    for (int i = 0; i < record.GetLength(); ++i)
        record.SetAt(i, wchar_t(record.GetAt(i) + (i % 2 == 0 ? -1 : 1)));
}

int CUserProfile::fnUnloadUPD(CString& record) {
    record.Replace(L"\r", L"\r\n");
    CString temp = m_profileFile + L".TMP";
    {
        std::ofstream out(platform::MapPath(temp), std::ios::binary | std::ios::trunc);
        if (!out)
            return 1;
        out << record.ToUtf8();
    }
    m_uid = ReadValue(L"UID", temp);
    m_shortName = ReadValue(L"short name", temp);
    m_longName = ReadValue(L"long name", temp);
    m_password = ReadValue(L"password", temp);
    m_properties = int(GetPrivateProfileInt(kSettings, L"properties", 0, temp));
    std::remove(platform::MapPath(temp).c_str());
    return 1;
}

int CUserProfile::fnUserIsAdministrator() const {
    if (m_shortName.CompareNoCase(kAdministratorName) == 0)
        return 1;
    return m_properties & kAdministrator;
}
