#include "outside/joxthemes/application_font.h"

#include <cwchar>

CApplicationFont::CApplicationFont(const wchar_t* name) {
    LOGFONTW lf{};
    lf.lfHeight = kDefaultHeight;
    lf.lfWeight = FW_NORMAL;
    const wchar_t* face = name && *name ? name : kDefaultFace;
    std::wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    m_font.CreateFontIndirect(&lf);
}

CApplicationFont::~CApplicationFont() = default;
