// CWaitCursor: shows the wait cursor for its lifetime and puts the previous one back.
#pragma once

#include "platform/windowing/cursor.h"

class CWaitCursor {
public:
    CWaitCursor() : m_previous(::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_WAIT)))) {}
    ~CWaitCursor() { ::SetCursor(m_previous); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_previous;
};
