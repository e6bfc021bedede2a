// CDWordArray: an array of 32-bit unsigned values.
#pragma once

#include "platform/core/array.h"

class CDWordArray : public CArray<DWORD, DWORD> {
public:
    using CArray<DWORD, DWORD>::CArray;
};
