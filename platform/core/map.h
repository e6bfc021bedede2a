// CMap: a hash map with chained buckets, walked with POSITION handles. The bucket count stays
// as set (17 unless InitHashTable says otherwise), so the order of a walk depends only on the
// keys and the order they were added. Large maps should call InitHashTable first.
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/exceptions.h"
#include "platform/core/position.h"

#include <type_traits>
#include <utility>
#include <vector>

// The bucket hash of a key. Specialise it for key types of your own.
template <class ARG_KEY> inline UINT HashKey(ARG_KEY key) {
    typedef std::remove_cvref_t<ARG_KEY> K;
    if constexpr (std::is_same_v<K, CString> || std::is_same_v<K, const wchar_t*> ||
                  std::is_same_v<K, wchar_t*>) {
        const wchar_t* s = key;
        UINT hash = 0;
        if (s)
            for (; *s; ++s)
                hash = (hash << 5) + hash + UINT(*s);
        return hash;
    } else if constexpr (std::is_pointer_v<K>) {
        return UINT(uintptr_t(key) >> 4);
    } else {
        static_assert(std::is_integral_v<K> || std::is_enum_v<K>,
                      "specialise HashKey for this key type");
        return UINT(uint64_t(key) >> 4);
    }
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap {
protected:
    struct CAssoc {
        CAssoc* pNext;
        UINT nHashValue;
        KEY key;
        VALUE value;
    };

public:
    typedef KEY BASE_KEY;
    typedef ARG_KEY BASE_ARG_KEY;
    typedef VALUE BASE_VALUE;
    typedef ARG_VALUE BASE_ARG_VALUE;

    // Entries are allocated one by one; the block size is accepted and not needed.
    explicit CMap(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;
    virtual ~CMap() { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
        CAssoc* assoc = Find(key, HashKey<ARG_KEY>(key));
        if (!assoc)
            return FALSE;
        rValue = assoc->value;
        return TRUE;
    }
    // Adds the key with a value-initialised value when it is missing.
    VALUE& operator[](ARG_KEY key) {
        UINT hash = HashKey<ARG_KEY>(key);
        if (CAssoc* assoc = Find(key, hash))
            return assoc->value;
        if (m_table.empty())
            m_table.assign(m_nHashTableSize, nullptr);
        CAssoc*& bucket = m_table[hash % m_nHashTableSize];
        bucket = new CAssoc{bucket, hash, KEY(key), VALUE()};
        ++m_nCount;
        return bucket->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

    BOOL RemoveKey(ARG_KEY key) {
        if (m_table.empty())
            return FALSE;
        UINT hash = HashKey<ARG_KEY>(key);
        for (CAssoc** link = &m_table[hash % m_nHashTableSize]; *link; link = &(*link)->pNext) {
            CAssoc* assoc = *link;
            if (assoc->nHashValue == hash && assoc->key == key) {
                *link = assoc->pNext;
                delete assoc;
                --m_nCount;
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll() {
        for (CAssoc* bucket : m_table)
            while (bucket) {
                CAssoc* next = bucket->pNext;
                delete bucket;
                bucket = next;
            }
        m_table.clear();
        m_nCount = 0;
    }

    POSITION GetStartPosition() const { return m_nCount ? BEFORE_START_POSITION : nullptr; }
    // Removing the entry just returned is safe; the position already points past it.
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
        CAssoc* assoc;
        if (rNextPosition == BEFORE_START_POSITION)
            assoc = FirstFrom(0);
        else
            assoc = reinterpret_cast<CAssoc*>(rNextPosition);
        if (!assoc)
            AfxThrowInvalidArgException();
        CAssoc* next =
            assoc->pNext ? assoc->pNext : FirstFrom(assoc->nHashValue % m_nHashTableSize + 1);
        rNextPosition = reinterpret_cast<POSITION>(next);
        rKey = assoc->key;
        rValue = assoc->value;
    }

    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Existing entries are moved to the new buckets.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE) {
        if (hashSize == 0)
            AfxThrowInvalidArgException();
        std::vector<CAssoc*> old;
        old.swap(m_table);
        m_nHashTableSize = hashSize;
        if (bAllocNow || !old.empty())
            m_table.assign(hashSize, nullptr);
        for (CAssoc* bucket : old)
            while (bucket) {
                CAssoc* next = bucket->pNext;
                CAssoc*& slot = m_table[bucket->nHashValue % hashSize];
                bucket->pNext = slot;
                slot = bucket;
                bucket = next;
            }
    }

protected:
    CAssoc* Find(ARG_KEY key, UINT hash) const {
        if (m_table.empty())
            return nullptr;
        for (CAssoc* assoc = m_table[hash % m_nHashTableSize]; assoc; assoc = assoc->pNext)
            if (assoc->nHashValue == hash && assoc->key == key)
                return assoc;
        return nullptr;
    }
    CAssoc* FirstFrom(size_t bucket) const {
        for (; bucket < m_table.size(); ++bucket)
            if (m_table[bucket])
                return m_table[bucket];
        return nullptr;
    }

    std::vector<CAssoc*> m_table;
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
};
