// CMapStringToString: strings to strings.
#pragma once

#include "platform/core/map.h"

class CMapStringToString : public CMap<CString, LPCTSTR, CString, LPCTSTR> {
public:
    using CMap<CString, LPCTSTR, CString, LPCTSTR>::CMap;
};
