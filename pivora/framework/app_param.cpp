#include "pivora/framework/app_param.h"

#include "pivora/framework/app_params.h"
#include "platform/system/app_registry.h"

#include <cwctype>

IMPLEMENT_DYNAMIC(CAppParam, CObject)
IMPLEMENT_DYNAMIC(CAppOnOff, CAppParam)
IMPLEMENT_DYNAMIC(CAppString, CAppParam)

namespace {

const wchar_t kStringNotFound[] = L"String-Not-Found";
constexpr UINT kIntNotFound = 0xFFFF;

} // namespace

bool ParseAppParamNumber(const CString& text, int& value) {
    const wchar_t* p = text.GetString();
    while (std::iswspace(wint_t(*p)))
        ++p;
    bool negative = false;
    if (*p == L'-' || *p == L'+')
        negative = *p++ == L'-';
    if (*p < L'0' || *p > L'9')
        return false;
    // Wraps like the C library's conversion of an int, without overflow in C++.
    uint32_t n = 0;
    while (*p >= L'0' && *p <= L'9')
        n = n * 10u + uint32_t(*p++ - L'0');
    value = int(negative ? 0u - n : n);
    return true;
}

int CAppOnOff::WriteProfile() {
    CAppRegistry* app = CAppRegistry::Current();
    if (!app)
        return 0;
    return app->WriteProfileInt(QvGetAppParamSection(), m_name, m_value);
}

int CAppOnOff::LoadProfile() {
    CAppRegistry* app = CAppRegistry::Current();
    if (!app)
        return 0;
    UINT v = app->GetProfileInt(QvGetAppParamSection(), m_name, int(kIntNotFound));
    if (v == kIntNotFound)
        return 0;
    m_value = int(v);
    return 1;
}

void CAppOnOff::GetParamStr(CString& out) const {
    out.Format(L"%d", m_value);
}

void CAppOnOff::SetParamStr(const CString& text) {
    ParseAppParamNumber(text, m_value);
}

CObject* CAppOnOff::CopyObject(CObject* obj) {
    if (!obj)
        obj = new CAppOnOff(m_name, m_value);
    if (auto* p = DYNAMIC_DOWNCAST(CAppParam, obj))
        p->SetParamValue(m_value);
    return obj;
}

int CAppString::WriteProfile() {
    CAppRegistry* app = CAppRegistry::Current();
    if (!app)
        return 0;
    return app->WriteProfileString(QvGetAppParamSection(), m_name, m_text);
}

int CAppString::LoadProfile() {
    CAppRegistry* app = CAppRegistry::Current();
    if (!app)
        return 0;
    CString v = app->GetProfileString(QvGetAppParamSection(), m_name, kStringNotFound);
    if (v == kStringNotFound)
        return 0;
    m_text = v;
    return 1;
}

int CAppString::GetParamValue() const {
    int v = 0;
    ParseAppParamNumber(m_text, v);
    return v;
}

void CAppString::SetParamValue(int value) {
    m_text.Format(L"%d", value);
}

CObject* CAppString::CopyObject(CObject* obj) {
    if (!obj)
        obj = new CAppString(m_name, m_text);
    if (auto* p = DYNAMIC_DOWNCAST(CAppParam, obj))
        p->SetParamStr(m_text);
    return obj;
}
