#include "design/document/dialog_numbers.h"

#include "platform/framework/dialog.h"
#include "platform/windowing/dialog_template.h"

#include <cmath>
#include <cwchar>

namespace dialog_numbers {

double Parse(const CString& text) {
    const wchar_t* s = text.GetString();
    wchar_t* end = nullptr;
    const double v = std::wcstod(s, &end);
    if (end == s || !std::isfinite(v))
        return 0.0;
    return v;
}

CString Format(double value, int decimals) {
    CString text = FormatString(L"%.*f", decimals, value);
    if (text.Find(L'.') >= 0) {
        text.TrimRight(L"0");
        text.TrimRight(L".");
    }
    if (text == L"-0")
        text = L"0";
    return text;
}

double Step(double value, int delta, double step, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round((value - delta * step) * scale) / scale;
}

void DDX_Number(CDataExchange* dx, int id, double& value, int decimals) {
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        const int n = GetWindowTextLengthW(h);
        std::wstring buf(size_t(n) + 1, L'\0');
        GetWindowTextW(h, buf.data(), n + 1);
        value = Parse(CString(buf.c_str()));
        return;
    }
    SetWindowTextW(h, Format(value, decimals).GetString());
}

} // namespace dialog_numbers
