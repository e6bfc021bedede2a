// CPropTool: property bits a tool sets to switch parts of a base tool's behaviour off.
#pragma once

#include "platform/core/types.h"

class CPropTool {
public:
    CPropTool() = default;
    CPropTool(const CPropTool&) = default;
    CPropTool& operator=(const CPropTool&) = default;
    virtual ~CPropTool() = default;

    virtual void fnSetProperty(DWORD bits) { m_nProperties |= bits; }
    virtual DWORD fnGetProperty(DWORD mask) const { return m_nProperties & mask; }
    virtual void fnClrProperty(DWORD bits) { m_nProperties &= ~bits; }

private:
    DWORD m_nProperties = 0;
};
