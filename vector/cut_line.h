// CCutLine: the cutting information of one line style: a colour number and a name that joins
// the cutting effect and the material with a TAB.
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/object.h"

class CCutLine : public CObject {
    DECLARE_SERIAL(CCutLine)
public:
    static constexpr WORD kRecColour = 0;
    static constexpr WORD kRecName = 1;
    static constexpr const wchar_t* kUnassigned = L"Unassigned";

    CCutLine() { fnInitCutLine(); }
    explicit CCutLine(int colour) : m_nColour(colour) { fnInitCutLine(); }
    CCutLine(const CCutLine& other) : CObject() { *this = other; }
    CCutLine& operator=(const CCutLine& other) {
        m_nColour = other.m_nColour;
        m_Name = other.m_Name;
        return *this;
    }

    void fnInitCutLine() { m_Name = kUnassigned; }
    int fnGetColour() const { return m_nColour; }
    void fnSetColour(int colour) { m_nColour = colour; }
    CString fnGetName() const { return m_Name; }
    void fnSetName(const CString& name) { m_Name = name; }
    void fnGetEffectAndMaterial(CString& effect, CString& material) const;

    void Serialize(CArchive& ar) override;

private:
    int32_t m_nColour = 0;
    CString m_Name;
};
