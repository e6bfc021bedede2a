#include "pivora/document/jox_comment_pb.h"

#include "pivora/document/record_fields.h"

IMPLEMENT_SERIAL(CJOXCommentPB, CParamBlk, 0)

CJOXCommentPB::CJOXCommentPB() : CParamBlk(kCommentId) {}

void CJOXCommentPB::fnSetArraySize(int n) {
    m_comments.RemoveAll();
    if (n > 0)
        m_comments.SetSize(n);
}

void CJOXCommentPB::fnGetComment(int index, CString& out) const {
    if (index >= 0 && index < m_comments.GetSize())
        out = m_comments.GetAt(index);
}

void CJOXCommentPB::fnSetComment(int index, const CString& text) {
    if (index >= 0 && index < m_comments.GetSize())
        m_comments.SetAt(index, text);
}

void CJOXCommentPB::Serialize(CArchive& ar) {
    CParamBlk::Serialize(ar);
    CRecArchive rec(ar);
    if (ar.IsStoring()) {
        DWORD pos = rec.StartStore(WORD(kRecComments));
        ar << m_lID;
        ar.WriteCount(DWORD_PTR(m_comments.GetSize()));
        for (INT_PTR i = 0; i < m_comments.GetSize(); ++i)
            ar << m_comments.GetAt(i);
        rec.EndStore(pos);
        rec.StoreEndRec();
        return;
    }
    record_fields::ForEach(rec, [&](WORD id, DWORD len) {
        if (id != kRecComments)
            return false;
        int32_t commentId;
        CStringArray comments;
        record_fields::LoadSized(rec, len, [&] {
            ar >> commentId;
            // A stored string takes at least its one-byte length.
            DWORD_PTR count = ar.ReadCount(1);
            for (DWORD_PTR i = 0; i < count; ++i)
                comments.Add(ar.ReadString());
        });
        m_lID = commentId;
        m_comments.Copy(comments);
        return true;
    });
}
