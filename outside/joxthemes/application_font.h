// CApplicationFont: the font the application draws its own interface text with. Made without
// a name it takes the interface face of the system at the standard size.
#pragma once

#include "platform/graphics/gdi_objects.h"

class CApplicationFont {
public:
    // A null or empty name gives the interface face.
    explicit CApplicationFont(const wchar_t* name = nullptr);
    ~CApplicationFont();
    CApplicationFont(const CApplicationFont&) = delete;
    CApplicationFont& operator=(const CApplicationFont&) = delete;

    CFont* GetFont() { return &m_font; }

    static constexpr const wchar_t* kDefaultFace = L"MS Shell Dlg";
    static constexpr int kDefaultHeight = -12; // pixels: 9 points at 96 per inch

private:
    CFont m_font;
};
