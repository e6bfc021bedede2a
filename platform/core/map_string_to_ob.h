// CMapStringToOb: strings to CObject pointers; the map does not own the objects.
#pragma once

#include "platform/core/map.h"

class CObject;

class CMapStringToOb : public CMap<CString, LPCTSTR, CObject*, CObject*> {
public:
    using CMap<CString, LPCTSTR, CObject*, CObject*>::CMap;
};
