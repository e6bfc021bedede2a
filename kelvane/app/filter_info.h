// CFilterInfo: one entry of the open dialog's filter list: its text (description, "|",
// pattern, "|"), the extension identifier it stands for and the context of new pages.
#pragma once

#include "platform/core/cstring.h"

class CFilterInfo {
public:
    // Stands for the design context in an entry.
    static constexpr int kDesignContextMark = -2;
    static constexpr int kDesignContext = 43;

    CFilterInfo(const CString& filter, int extId, int context)
        : m_strFilter(filter), m_nExtID(extId), m_nContext(context) {}

    // The context new pages are made in.
    int Context() const { return m_nContext == kDesignContextMark ? kDesignContext : m_nContext; }

    CString m_strFilter;
    int m_nExtID;
    int m_nContext;
};
