// CUIntArray: an array of 32-bit unsigned values.
#pragma once

#include "platform/core/array.h"

class CUIntArray : public CArray<UINT, UINT> {
public:
    using CArray<UINT, UINT>::CArray;
};
