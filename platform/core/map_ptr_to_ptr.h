// CMapPtrToPtr: untyped pointers to untyped pointers.
#pragma once

#include "platform/core/map.h"

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
public:
    using CMap<void*, void*, void*, void*>::CMap;
};
