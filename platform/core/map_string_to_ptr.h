// CMapStringToPtr: strings to untyped pointers; the map does not own what they point to.
#pragma once

#include "platform/core/map.h"

class CMapStringToPtr : public CMap<CString, LPCTSTR, void*, void*> {
public:
    using CMap<CString, LPCTSTR, void*, void*>::CMap;
};
