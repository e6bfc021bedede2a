// CTypedPtrArray: a CObArray or CPtrArray that hands out and takes one pointer type.
#pragma once

#include "platform/core/types.h"

template <class BASE_CLASS, class TYPE> class CTypedPtrArray : public BASE_CLASS {
public:
    using BASE_CLASS::BASE_CLASS;

    TYPE GetAt(INT_PTR nIndex) const { return (TYPE)(BASE_CLASS::GetAt(nIndex)); }
    // References into the base storage: TYPE must be a pointer to a class whose base subobject
    // sits at its start (single inheritance), as for every class kept in these arrays.
    TYPE& ElementAt(INT_PTR nIndex) {
        return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex));
    }
    TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
    const TYPE* GetData() const { return reinterpret_cast<const TYPE*>(BASE_CLASS::GetData()); }
    TYPE* GetData() { return reinterpret_cast<TYPE*>(BASE_CLASS::GetData()); }

    void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, Base(ptr)); }
    void SetAtGrow(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAtGrow(nIndex, Base(ptr)); }
    INT_PTR Add(TYPE ptr) { return BASE_CLASS::Add(Base(ptr)); }
    INT_PTR Append(const CTypedPtrArray& src) { return BASE_CLASS::Append(src); }
    void Copy(const CTypedPtrArray& src) { BASE_CLASS::Copy(src); }
    void InsertAt(INT_PTR nIndex, TYPE ptr, INT_PTR nCount = 1) {
        BASE_CLASS::InsertAt(nIndex, Base(ptr), nCount);
    }
    void InsertAt(INT_PTR nStartIndex, CTypedPtrArray* pNewArray) {
        BASE_CLASS::InsertAt(nStartIndex, pNewArray);
    }

protected:
    // Old-style casts on purpose: a checked conversion where the pointee class is complete,
    // and still usable in inline code that sees only its declaration (its base sits first).
    static typename BASE_CLASS::BASE_TYPE Base(TYPE ptr) {
        return (typename BASE_CLASS::BASE_TYPE)(ptr);
    }
};
