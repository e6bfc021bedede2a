// CTypedPtrMap: a pointer-valued map (CMapStringToPtr, CMapPtrToPtr, CMapStringToOb ...) that
// hands out and takes one key type and one pointer type.
#pragma once

#include "platform/core/position.h"

template <class BASE_CLASS, class KEY, class VALUE> class CTypedPtrMap : public BASE_CLASS {
public:
    typedef typename BASE_CLASS::BASE_ARG_KEY BASE_ARG_KEY;

    using BASE_CLASS::BASE_CLASS;

    // rValue is left as it was when the key is missing.
    BOOL Lookup(BASE_ARG_KEY key, VALUE& rValue) const {
        typename BASE_CLASS::BASE_VALUE value;
        if (!BASE_CLASS::Lookup(key, value))
            return FALSE;
        rValue = (VALUE)(value);
        return TRUE;
    }
    VALUE& operator[](BASE_ARG_KEY key) {
        return reinterpret_cast<VALUE&>(BASE_CLASS::operator[](key));
    }
    void SetAt(KEY key, VALUE newValue) {
        BASE_CLASS::SetAt(key, (typename BASE_CLASS::BASE_VALUE)(newValue));
    }
    BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const {
        typename BASE_CLASS::BASE_KEY key;
        typename BASE_CLASS::BASE_VALUE value;
        BASE_CLASS::GetNextAssoc(rPosition, key, value);
        rKey = (KEY)(key);
        rValue = (VALUE)(value);
    }
};
