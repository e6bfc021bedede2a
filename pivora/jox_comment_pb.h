// CJOXCommentPB: the comments block of a page, an id and a row of comment strings.
#pragma once

#include "pivora/param_blk.h"

#include "platform/core/string_array.h"

class CJOXCommentPB : public CParamBlk {
    DECLARE_SERIAL(CJOXCommentPB)
public:
    enum { kRecComments = 1 };

    CJOXCommentPB();

    long fnGetID() const { return m_lID; }
    void fnSetID(long id) { m_lID = id; }
    int fnGetCount() const { return int(m_comments.GetSize()); }
    // Existing comments are always discarded.
    void fnSetArraySize(int n);
    // An index outside the array leaves out unchanged.
    void fnGetComment(int index, CString& out) const;
    // An index outside the array does nothing; the array never grows here.
    void fnSetComment(int index, const CString& text);

    void Serialize(CArchive& ar) override;

private:
    long m_lID = -1;
    CStringArray m_comments;
};
