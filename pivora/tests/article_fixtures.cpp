#include "article_fixtures.h"

#include "pivora/document/tx_xform_effect.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/rec_archive.h"
#include "pivora/tx_effect.h"

#include "platform/core/mem_file.h"

#include <algorithm>
#include <type_traits>

IMPLEMENT_SERIAL(CBoxItem, CItem, 0)

void CBoxItem::DoTransform(CMat2d& m) {
    CLpoint a = m * CLpoint(m_Box.x1, m_Box.y1);
    CLpoint b = m * CLpoint(m_Box.x2, m_Box.y2);
    m_Box = CWindow(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
    ++m_nTransforms;
    InvExtents(1);
}

CObject* CBoxItem::CopyObject(CObject* obj) {
    auto* to = obj ? static_cast<CBoxItem*>(obj) : new CBoxItem;
    CItem::CopyObject(to);
    to->m_Box = m_Box;
    return to;
}

void CBoxItem::Serialize(CArchive& ar) {
    CItem::Serialize(ar);
    CRecArchive rec(ar);
    if (rec.IsStoring()) {
        rec.StoreField(0, CRect(m_Box.x1, m_Box.y1, m_Box.x2, m_Box.y2));
        rec.StoreEndRec();
        return;
    }
    WORD id;
    DWORD len;
    while (rec.LoadFieldID(id, len)) {
        if (id == 0 && len == 16) {
            CRect r;
            rec >> r;
            m_Box = CWindow(r.left, r.top, r.right, r.bottom);
        } else {
            rec.SkipField(len);
        }
    }
}

CArticle* MakeBoxArticle(const wchar_t* name, const CWindow* box) {
    auto* a = new CArticle;
    a->SetName(name);
    if (box)
        a->Item(new CBoxItem(*box));
    return a;
}

void DeleteArticleRow(CTree* first) {
    CTree::DeleteRow(first);
}

CArticle* MakeSampleTree() {
    CWindow b1(0, 0, 1000, 500), b2(-200, 100, 300, 900), b3(5000, 5000, 6000, 7000);
    CArticle* root = MakeBoxArticle(L"Layer", nullptr);
    CArticle* group = MakeBoxArticle(L"Group", nullptr);
    group->SetProperty(CArticle::kGroupBit, false);
    root->AddChild(group);
    CArticle* a = MakeBoxArticle(L"Frame", &b1);
    a->fnSaveValue(L"Width", 5, 0);
    a->fnSaveString(L".Vector.Colour", L"Red", 0);
    a->fnSetOrientation(CLpoint(10, 20), CLpoint(30, 40));
    a->fnSetRefCount(2);
    a->fnSetDataStamp(77, 0);
    a->SetTime(CTime(int64_t(1700000000)));
    auto* xf = new CTxXformEffect;
    CMat2d m(CDpoint(100.0, -50.0));
    xf->SetXform(m);
    xf->SetEnabled();
    a->AddTxEffect(xf);
    a->AddTxEffect(new CTxEffect);
    group->AddChild(a);
    CArticle* b = MakeBoxArticle(L"Text", &b2);
    b->GetItem()->SetProperty(0x20);
    b->GetItem()->SetXformProperties(0x011);
    group->AddChild(b);
    CArticle* c = MakeBoxArticle(L"Ring", &b3);
    c->fnSaveString(L"CutNext", L"1", 0);
    root->AddChild(c);
    return root;
}
