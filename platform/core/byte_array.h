// CByteArray: an array of bytes.
#pragma once

#include "platform/core/array.h"

class CByteArray : public CArray<BYTE, BYTE> {
public:
    using CArray<BYTE, BYTE>::CArray;
};
