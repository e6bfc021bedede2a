// CTypedPtrList: a CObList or CPtrList that hands out and takes one pointer type.
#pragma once

#include "platform/core/position.h"

template <class BASE_CLASS, class TYPE> class CTypedPtrList : public BASE_CLASS {
public:
    using BASE_CLASS::BASE_CLASS;

    // References into the base nodes: TYPE must be a pointer to a class whose base subobject
    // sits at its start (single inheritance), as for every class kept in these lists.
    TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetHead()); }
    TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
    TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetTail()); }
    TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }

    TYPE& GetNext(POSITION& rPosition) {
        return reinterpret_cast<TYPE&>(BASE_CLASS::GetNext(rPosition));
    }
    TYPE GetNext(POSITION& rPosition) const {
        return static_cast<TYPE>(BASE_CLASS::GetNext(rPosition));
    }
    TYPE& GetPrev(POSITION& rPosition) {
        return reinterpret_cast<TYPE&>(BASE_CLASS::GetPrev(rPosition));
    }
    TYPE GetPrev(POSITION& rPosition) const {
        return static_cast<TYPE>(BASE_CLASS::GetPrev(rPosition));
    }
    TYPE& GetAt(POSITION position) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetAt(position)); }
    TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }
    void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }

    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    void AddHead(CTypedPtrList* newList) { BASE_CLASS::AddHead(newList); }
    void AddTail(CTypedPtrList* newList) { BASE_CLASS::AddTail(newList); }
    POSITION InsertBefore(POSITION position, TYPE newElement) {
        return BASE_CLASS::InsertBefore(position, newElement);
    }
    POSITION InsertAfter(POSITION position, TYPE newElement) {
        return BASE_CLASS::InsertAfter(position, newElement);
    }
};
