#include "outside/joxthemes/application_font.h"

#include <cwchar>

CApplicationFont::CApplicationFont(const wchar_t* name) {
    m_description.lfHeight = kDefaultHeight;
    m_description.lfWeight = FW_NORMAL;
    const wchar_t* face = name && *name ? name : kDefaultFace;
    std::wcsncpy(m_description.lfFaceName, face, LF_FACESIZE - 1);
    m_font.CreateFontIndirect(&m_description);
}

CApplicationFont::~CApplicationFont() = default;

bool CApplicationFont::ChangeFont(bool redraw) {
    m_description.lfFaceName[LF_FACESIZE - 1] = 0;
    CFont made;
    if (!made.CreateFontIndirect(&m_description))
        return false;
    m_font.DeleteObject();
    m_font.Attach(made.Detach());
    (void)redraw; // windows take the font when they next draw
    return true;
}
