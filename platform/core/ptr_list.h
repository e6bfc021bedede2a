// CPtrList: a list of untyped pointers; the list does not own what they point to.
#pragma once

#include "platform/core/list.h"

class CPtrList : public CList<void*, void*> {
public:
    using CList<void*, void*>::CList;
};
