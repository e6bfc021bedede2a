// CMapWordToPtr: 16-bit keys to untyped pointers.
#pragma once

#include "platform/core/map.h"

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
public:
    using CMap<WORD, WORD, void*, void*>::CMap;
};
