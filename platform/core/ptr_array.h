// CPtrArray: an array of untyped pointers; the array does not own what they point to.
#pragma once

#include "platform/core/array.h"

class CPtrArray : public CArray<void*, void*> {
public:
    using CArray<void*, void*>::CArray;
};
