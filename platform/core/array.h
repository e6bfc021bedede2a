// CArray: a growable array with bounds-checked access. Elements live in one block; growth is
// geometric, so a run of Add calls costs amortised constant time whatever grow-by was asked for.
#pragma once

#include "platform/core/exceptions.h"
#include "platform/core/types.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray {
public:
    typedef TYPE BASE_TYPE;
    typedef ARG_TYPE BASE_ARG_TYPE;

    CArray() = default;
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;
    virtual ~CArray() { Release(); }

    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }

    // New elements are value-initialised (zero for plain data). growBy -1 keeps the current one.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1) {
        if (nNewSize < 0)
            AfxThrowInvalidArgException();
        if (nGrowBy >= 0)
            m_nGrowBy = nGrowBy;
        if (nNewSize == 0) {
            Release();
            return;
        }
        if (nNewSize > m_nMaxSize) {
            INT_PTR step = std::max<INT_PTR>(m_nGrowBy > 0 ? m_nGrowBy : 4, m_nMaxSize / 2);
            // A huge grow-by is a hint, not a reason to ask for memory nobody will use.
            step = std::min(step, std::max<INT_PTR>(nNewSize, 1024));
            INT_PTR cap = m_nMaxSize <= MaxElements() - step ? m_nMaxSize + step : MaxElements();
            Reallocate(std::max(nNewSize, cap));
        }
        if (nNewSize > m_nSize) {
            for (; m_nSize < nNewSize; ++m_nSize)
                ::new (static_cast<void*>(m_pData + m_nSize)) TYPE();
        } else {
            std::destroy(m_pData + nNewSize, m_pData + m_nSize);
            m_nSize = nNewSize;
        }
    }
    void FreeExtra() {
        if (m_nSize == 0)
            Release();
        else if (m_nSize != m_nMaxSize)
            Reallocate(m_nSize);
    }
    void RemoveAll() { Release(); }

    const TYPE& GetAt(INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_pData[Checked(nIndex)] = newElement; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
    TYPE& ElementAt(INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
    const TYPE& operator[](INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
    TYPE& operator[](INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    // The new element is copied before the array grows: it may be an element of this array.
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
        if (nIndex < 0)
            AfxThrowInvalidArgException();
        if (nIndex < m_nSize) {
            m_pData[nIndex] = newElement;
            return;
        }
        if (nIndex >= MaxElements())
            AfxThrowMemoryException();
        TYPE value(newElement);
        SetSize(nIndex + 1);
        m_pData[nIndex] = std::move(value);
    }
    INT_PTR Add(ARG_TYPE newElement) {
        INT_PTR index = m_nSize;
        SetAtGrow(index, newElement);
        return index;
    }
    // Returns the index of the first appended element.
    INT_PTR Append(const CArray& src) {
        INT_PTR old = m_nSize, n = src.m_nSize;
        if (n == 0)
            return old;
        SetSize(old + n);
        const TYPE* from = src.m_pData; // re-read: src may be this array, now moved
        std::copy(from, from + n, m_pData + old);
        return old;
    }
    void Copy(const CArray& src) {
        if (&src == this)
            return;
        SetSize(src.m_nSize);
        std::copy(src.m_pData, src.m_pData + src.m_nSize, m_pData);
    }

    // Inserting past the end pads with value-initialised elements.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1) {
        if (nIndex < 0 || nCount < 0)
            AfxThrowInvalidArgException();
        if (nCount == 0)
            return;
        TYPE value(newElement);
        OpenGap(nIndex, nCount);
        std::fill(m_pData + nIndex, m_pData + nIndex + nCount, value);
    }
    void InsertAt(INT_PTR nStartIndex, CArray* pNewArray) {
        if (!pNewArray || nStartIndex < 0)
            AfxThrowInvalidArgException();
        if (pNewArray->m_nSize == 0)
            return;
        if (pNewArray == this) {
            CArray copy;
            copy.Copy(*this);
            InsertAt(nStartIndex, &copy);
            return;
        }
        INT_PTR n = pNewArray->m_nSize;
        OpenGap(nStartIndex, n);
        std::copy(pNewArray->m_pData, pNewArray->m_pData + n, m_pData + nStartIndex);
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1) {
        if (nIndex < 0 || nCount < 0 || nIndex > m_nSize || nCount > m_nSize - nIndex)
            AfxThrowInvalidArgException();
        if (nCount == 0)
            return;
        std::move(m_pData + nIndex + nCount, m_pData + m_nSize, m_pData + nIndex);
        std::destroy(m_pData + m_nSize - nCount, m_pData + m_nSize);
        m_nSize -= nCount;
    }

protected:
    static constexpr INT_PTR MaxElements() { return INT_PTR(PTRDIFF_MAX / sizeof(TYPE)); }
    INT_PTR Checked(INT_PTR nIndex) const {
        if (nIndex < 0 || nIndex >= m_nSize)
            AfxThrowInvalidArgException();
        return nIndex;
    }
    // Makes room for nCount elements at nIndex, for the caller to assign.
    void OpenGap(INT_PTR nIndex, INT_PTR nCount) {
        if (nCount > MaxElements() - std::max(nIndex, m_nSize))
            AfxThrowMemoryException();
        if (nIndex >= m_nSize) {
            SetSize(nIndex + nCount);
            return;
        }
        INT_PTR old = m_nSize;
        SetSize(old + nCount);
        std::move_backward(m_pData + nIndex, m_pData + old, m_pData + old + nCount);
    }
    void Reallocate(INT_PTR capacity) {
        if (capacity > MaxElements())
            AfxThrowMemoryException();
        std::allocator<TYPE> alloc;
        TYPE* data;
        try {
            data = alloc.allocate(size_t(capacity));
        } catch (const std::bad_alloc&) {
            AfxThrowMemoryException();
        }
        std::uninitialized_move(m_pData, m_pData + m_nSize, data);
        std::destroy(m_pData, m_pData + m_nSize);
        if (m_pData)
            alloc.deallocate(m_pData, size_t(m_nMaxSize));
        m_pData = data;
        m_nMaxSize = capacity;
    }
    void Release() {
        std::destroy(m_pData, m_pData + m_nSize);
        if (m_pData)
            std::allocator<TYPE>().deallocate(m_pData, size_t(m_nMaxSize));
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
    }

    TYPE* m_pData = nullptr;
    INT_PTR m_nSize = 0;
    INT_PTR m_nMaxSize = 0;
    INT_PTR m_nGrowBy = -1;
};
