// CSelectionRequest: a small typed bag of values by key that goes with a selection change.
#pragma once

#include "platform/core/map.h"

struct stRequestData {
    void* data = nullptr; // the value (owned for the bool, int and unsigned types)
    int type = 0;         // 1 pointer, 2 bool, 3 int, 4 unsigned
};

class CSelectionRequest {
public:
    enum { kPointer = 1, kBool = 2, kInt = 3, kUnsigned = 4 };

    CSelectionRequest();
    ~CSelectionRequest();
    CSelectionRequest(const CSelectionRequest&) = delete;
    CSelectionRequest& operator=(const CSelectionRequest&) = delete;

    // Key 0 is not stored.
    void Set(UINT key, bool value);
    void Set(UINT key, int value);
    void Set(UINT key, UINT value);
    void Set(UINT key, void* pointer);
    // A key stored with another type answers the default, as a missing one does.
    bool GetBool(UINT key);
    int GetInt(UINT key);
    UINT GetUINT(UINT key);
    void* GetVoid(UINT key);
    void RemoveAll();

private:
    void Store(UINT key, void* data, int type);
    static void Free(stRequestData& d);

    CMap<UINT, UINT, stRequestData, stRequestData&> m_values{10};
    bool m_cachedBool = false;
    UINT m_boolKey = 0;
    UINT m_cachedUnsigned = 0;
    UINT m_unsignedKey = 0;
    int m_cachedInt = 0;
    UINT m_intKey = 0;
};
