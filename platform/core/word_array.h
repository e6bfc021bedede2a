// CWordArray: an array of 16-bit unsigned values.
#pragma once

#include "platform/core/array.h"

class CWordArray : public CArray<WORD, WORD> {
public:
    using CArray<WORD, WORD>::CArray;
};
