#include "pivora/document/tx_effect_param.h"

#include "article_fixtures.h"
#include "pivora/document/tx_xform_effect.h"
#include "pivora/jox_page.h"

#include "platform/core/exceptions.h"
#include "platform/core/mem_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct TestPage : CJoxPage {
    TestPage() = default;
};

std::vector<std::wstring> ChildNames(CTree* parent) {
    std::vector<std::wstring> out;
    for (CTree* t = parent->GetFirstChild(); t; t = t->GetRsibling())
        out.push_back(static_cast<CArticle*>(t)->GetName().str());
    return out;
}

CTxEffectParam* LoadBlock(const std::vector<BYTE>& bytes) {
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    return ar.ReadObjectAs<CTxEffectParam>();
}

} // namespace

TEST(TxEffectParam, NewBlockDefaults) {
    CTxEffectParam block;
    EXPECT_EQ(block.Id(), 19);
    EXPECT_EQ(block.fnIsEnabled(), 0);
    EXPECT_EQ(block.GetEffect(), nullptr);
    ASSERT_NE(block.GetSavedDesign(), nullptr);
    EXPECT_TRUE(block.GetSavedDesign()->IsEmpty());
}

TEST(TxEffectParam, DesignDataMovesAsideAndBackInOrder) {
    TestPage page;
    CArticle* root = page.RootArticle();
    for (const wchar_t* name : {L"one", L"two", L"three"})
        root->AddChild(MakeBoxArticle(name, nullptr));
    CTxEffectParam block;
    block.fnSaveDesignData(&page);
    EXPECT_EQ(root->GetFirstChild(), nullptr);
    EXPECT_EQ(ChildNames(block.GetSavedDesign()),
              (std::vector<std::wstring>{L"one", L"two", L"three"}));

    block.fnRestoreDesignData(&page);
    EXPECT_EQ(block.GetSavedDesign()->GetFirstChild(), nullptr);
    EXPECT_EQ(ChildNames(root), (std::vector<std::wstring>{L"one", L"two", L"three"}));
    auto* first = static_cast<CArticle*>(root->GetFirstChild());
    EXPECT_EQ(first->GetDocument(), &page);
    EXPECT_EQ(root->GetInvExtents(), 1);
}

TEST(TxEffectParam, AddToDocKeepsOneBlock) {
    TestPage page;
    auto* first = new CTxEffectParam;
    EXPECT_EQ(CTxEffectParam::fnAddToDoc(first, &page), first);
    EXPECT_EQ(page.FindParam(19), first);
    int count = page.ParamCount();
    EXPECT_EQ(CTxEffectParam::fnAddToDoc(first, &page), first); // already there: no change
    EXPECT_EQ(page.ParamCount(), count);

    auto* second = new CTxEffectParam; // replaces (and deletes) the first
    CTxEffectParam::fnAddToDoc(second, &page);
    EXPECT_EQ(page.FindParam(19), second);
    EXPECT_EQ(page.ParamCount(), count);

    // A block already on the page behind another id-19 block is not added a second time.
    auto* behind = new CTxEffectParam;
    page.AddParam(behind);
    CTxEffectParam::fnAddToDoc(behind, &page);
    EXPECT_EQ(page.FindParam(19), behind);
    EXPECT_EQ(page.ParamCount(), count);

    CTxEffectParam loose;
    EXPECT_EQ(CTxEffectParam::fnAddToDoc(&loose, nullptr), &loose);
}

TEST(TxEffectParam, RoundTripWithEffectAndHeldArticles) {
    CTxEffectParam block;
    block.fnEnable(1);
    auto* effect = new CTxXformEffect;
    effect->SetXform(CMat2d(CDpoint(3.0, 4.0)));
    block.SetEffect(effect);
    block.GetSavedDesign()->AddChild(MakeSampleTree());
    const std::vector<BYTE> bytes = StoreObject(&block);

    std::unique_ptr<CTxEffectParam> back(LoadBlock(bytes));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->fnIsEnabled(), 1);
    EXPECT_TRUE(IsCXformEffect(back->GetEffect()));
    CArticle* held = static_cast<CArticle*>(back->GetSavedDesign()->GetFirstChild());
    ASSERT_TRUE(held);
    EXPECT_EQ(held->GetParent(), back->GetSavedDesign());
    EXPECT_EQ(held->GetName(), CString(L"Layer"));
    EXPECT_EQ(StoreObject(back.get()), bytes);

    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + n);
        EXPECT_THROW(delete LoadBlock(cut), CArchiveException) << "length " << n;
    }
}

TEST(TxEffectParam, NullEffectAndNullSavedDesignLoadToDefaults) {
    // A block whose effect and saved-design fields hold the null reference.
    CTxEffectParam empty;
    std::vector<BYTE> nulls;
    {
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        ar.WriteObjectHeader(&empty);
        static_cast<CParamBlk&>(empty).CParamBlk::Serialize(ar);
        CRecArchive rec(ar);
        rec.StoreField(CTxEffectParam::kRecEnabled, int32_t(1));
        rec.StoreField(CTxEffectParam::kRecEffect, static_cast<const CObject*>(nullptr));
        rec.StoreField(CTxEffectParam::kRecSavedDesign, static_cast<const CObject*>(nullptr));
        rec.StoreEndRec();
        ar.Close();
        nulls = file.Detach();
    }
    std::unique_ptr<CTxEffectParam> back(LoadBlock(nulls));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->fnIsEnabled(), 1);
    EXPECT_EQ(back->GetEffect(), nullptr);
    ASSERT_NE(back->GetSavedDesign(), nullptr); // never null
    TestPage page;
    back->fnRestoreDesignData(&page);
    EXPECT_EQ(page.RootArticle()->GetFirstChild(), nullptr);
}
