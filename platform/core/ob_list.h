// CObList: a list of CObject pointers; the list does not own the objects.
#pragma once

#include "platform/core/list.h"

class CObject;

class CObList : public CList<CObject*, CObject*> {
public:
    using CList<CObject*, CObject*>::CList;
};
