// CJOXCommentPB: the comments block of a page, an id and a row of comment strings.
#pragma once

#include "pivora/param_blk.h"

#include "platform/core/string_array.h"

class CJOXCommentPB : public CParamBlk {
    DECLARE_SERIAL(CJOXCommentPB)
public:
    enum { kRecComments = 1 };

    CJOXCommentPB();

    LONG fnGetID() const { return m_lID; }
    void fnSetID(LONG id) { m_lID = id; }
    int fnGetCount() const { return int(m_comments.GetSize()); }
    // Existing comments are always discarded.
    void fnSetArraySize(int n);
    // An index outside the array leaves out unchanged.
    void fnGetComment(int index, CString& out) const;
    // An index outside the array does nothing; the array never grows here.
    void fnSetComment(int index, const CString& text);

    void Serialize(CArchive& ar) override;

private:
    LONG m_lID = -1;
    CStringArray m_comments;
};
