// CStringArray: an array of strings, held by value.
#pragma once

#include "platform/core/array.h"
#include "platform/core/cstring.h"

class CStringArray : public CArray<CString, const CString&> {
public:
    using CArray::CArray;
};
