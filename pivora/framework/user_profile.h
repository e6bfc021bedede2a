// A user record kept scrambled as the value "UPD" in [Settings] of a profile file.
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/object.h"

class CUserProfile : public CObject {
    DECLARE_DYNAMIC(CUserProfile)
public:
    // Property bit of an administrator.
    static constexpr int kAdministrator = 0x2;

    CUserProfile() { fnInitContents(); }

    void fnInitContents();
    // 2 to 9 random numbers from 1 to 98, written one after the other.
    void fnGenerateUID(CString& out);
    int fnGetProperty(int mask) const { return m_properties & mask; }
    int fnGetUserProfileString(const wchar_t* key, CString& out);
    int fnGetUserProfileValue(const wchar_t* key, int def);
    // Loads the record of `file`; 1 when its short name is `shortName` (ignoring case).
    int fnLoadProfile(const CString& shortName, const CString& file);
    void fnSaveUserProfile();
    // Even positions one code up, odd positions one code down; and back.
    static void fnEncryptUPD(CString& record);
    static void fnDecryptUPD(CString& record);
    // Reads the fields from a plain record; always 1.
    int fnUnloadUPD(CString& record);
    int fnUserIsAdministrator() const;

    CString m_uid;
    CString m_profileFile;
    CString m_shortName;
    CString m_longName;
    CString m_password;
    int m_properties = 0;
};
