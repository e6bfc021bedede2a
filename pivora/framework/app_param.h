// One named application parameter, integer or string, as kept in the per-user settings.
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/object.h"

class CAppParam : public CObject {
    DECLARE_DYNAMIC(CAppParam)
public:
    explicit CAppParam(const CString& name) : m_name(name) {}
    ~CAppParam() override = default;
    void Serialize(CArchive&) override {}

    // The stored value is read or written under the current parameter section; 1 on success.
    virtual int WriteProfile() { return 0; }
    virtual int LoadProfile() { return 0; }
    virtual int GetParamValue() const { return 0; }
    virtual void GetParamStr(CString& out) const { out.Empty(); }
    virtual void SetParamValue(int) {}
    virtual void SetParamStr(const CString&) {}
    // Copies the value into `obj` (a new entry of this name when null) and returns it.
    virtual CObject* CopyObject(CObject* obj) { return obj; }

    int MatchAppParam(const CString& name) const { return m_name == name ? 1 : 0; }
    bool Default() const { return m_default; }
    void Default(bool on) { m_default = on; }
    const CString& Name() const { return m_name; }

protected:
    CString m_name;
    bool m_default = false; // no stored value was found
};

class CAppOnOff : public CAppParam {
    DECLARE_DYNAMIC(CAppOnOff)
public:
    CAppOnOff(const CString& name, int value) : CAppParam(name), m_value(value) {}

    int WriteProfile() override;
    // A stored 65535 is the absent marker of the profile call and reads as nothing stored.
    int LoadProfile() override;
    int GetParamValue() const override { return m_value; }
    void GetParamStr(CString& out) const override;
    void SetParamValue(int value) override { m_value = value; }
    void SetParamStr(const CString& text) override;
    CObject* CopyObject(CObject* obj) override;

private:
    int m_value;
};

class CAppString : public CAppParam {
    DECLARE_DYNAMIC(CAppString)
public:
    CAppString(const CString& name, const CString& text) : CAppParam(name), m_text(text) {}

    int WriteProfile() override;
    // A stored "String-Not-Found" is the absent marker and reads as nothing stored.
    int LoadProfile() override;
    int GetParamValue() const override;
    void GetParamStr(CString& out) const override { out = m_text; }
    void SetParamValue(int value) override;
    void SetParamStr(const CString& text) override { m_text = text; }
    CObject* CopyObject(CObject* obj) override;

private:
    CString m_text;
};

// "%d" parsing of the class library: leading blanks, a sign, digits; false when none.
bool ParseAppParamNumber(const CString& text, int& value);
