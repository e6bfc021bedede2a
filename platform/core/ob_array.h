// CObArray: an array of CObject pointers; the array does not own the objects.
#pragma once

#include "platform/core/array.h"

class CObject;

class CObArray : public CArray<CObject*, CObject*> {
public:
    using CArray<CObject*, CObject*>::CArray;
};
