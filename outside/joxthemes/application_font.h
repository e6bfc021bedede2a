// CApplicationFont: the font the application draws its own interface text with. Made without
// a name it takes the interface face of the system at the standard size. Its description can
// be read and changed and then applied.
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

    // The description the next ChangeFont applies (and, until then, the one in use).
    LOGFONTW& Description() { return m_description; }
    const LOGFONTW& Description() const { return m_description; }
    // Makes the font from the description; a description no font can be made from keeps the
    // font in use and returns false. redraw: windows are told to take the new font.
    bool ChangeFont(bool redraw);

    static constexpr const wchar_t* kDefaultFace = L"MS Shell Dlg";
    static constexpr int kDefaultHeight = -12; // pixels: 9 points at 96 per inch

private:
    CFont m_font;
    LOGFONTW m_description{};
};
