// CTypedPtrList: a CObList or CPtrList that hands out and takes one pointer type.
#pragma once

#include "platform/core/position.h"

template <class BASE_CLASS, class TYPE> class CTypedPtrList : public BASE_CLASS {
public:
    using BASE_CLASS::BASE_CLASS;

    // References into the base nodes: TYPE must be a pointer to a class whose base subobject
    // sits at its start (single inheritance), as for every class kept in these lists.
    TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetHead()); }
    TYPE GetHead() const { return (TYPE)(BASE_CLASS::GetHead()); }
    TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetTail()); }
    TYPE GetTail() const { return (TYPE)(BASE_CLASS::GetTail()); }
    TYPE RemoveHead() { return (TYPE)(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return (TYPE)(BASE_CLASS::RemoveTail()); }

    TYPE& GetNext(POSITION& rPosition) {
        return reinterpret_cast<TYPE&>(BASE_CLASS::GetNext(rPosition));
    }
    TYPE GetNext(POSITION& rPosition) const { return (TYPE)(BASE_CLASS::GetNext(rPosition)); }
    TYPE& GetPrev(POSITION& rPosition) {
        return reinterpret_cast<TYPE&>(BASE_CLASS::GetPrev(rPosition));
    }
    TYPE GetPrev(POSITION& rPosition) const { return (TYPE)(BASE_CLASS::GetPrev(rPosition)); }
    TYPE& GetAt(POSITION position) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetAt(position)); }
    TYPE GetAt(POSITION position) const { return (TYPE)(BASE_CLASS::GetAt(position)); }
    void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, Base(newElement)); }

    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(Base(newElement)); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(Base(newElement)); }
    void AddHead(CTypedPtrList* newList) { BASE_CLASS::AddHead(newList); }
    void AddTail(CTypedPtrList* newList) { BASE_CLASS::AddTail(newList); }
    POSITION InsertBefore(POSITION position, TYPE newElement) {
        return BASE_CLASS::InsertBefore(position, Base(newElement));
    }
    POSITION InsertAfter(POSITION position, TYPE newElement) {
        return BASE_CLASS::InsertAfter(position, Base(newElement));
    }

protected:
    // Old-style casts on purpose: a checked conversion where the pointee class is complete,
    // and still usable in inline code that sees only its declaration (its base sits first).
    static typename BASE_CLASS::BASE_TYPE Base(TYPE ptr) {
        return (typename BASE_CLASS::BASE_TYPE)(ptr);
    }
};
