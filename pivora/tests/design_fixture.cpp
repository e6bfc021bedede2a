#include "design_fixture.h"

#include "pivora/document/jox_comment_pb.h"
#include "pivora/document/tx_xform_effect.h"

#include "platform/core/archive.h"

#include <fstream>
#include <iterator>

IMPLEMENT_SERIAL(CBoxTestItem, CItem, 0)
IMPLEMENT_SERIAL(CFailingTestBlock, CParamBlk, 0)

void CBoxTestItem::Serialize(CArchive& ar) {
    CItem::Serialize(ar);
    if (ar.IsStoring()) {
        ar << int32_t(m_box.x1) << int32_t(m_box.y1) << int32_t(m_box.x2) << int32_t(m_box.y2);
    } else {
        int32_t v[4];
        ar.ReadExact(v, sizeof v);
        m_box = CWindow(v[0], v[1], v[2], v[3]);
    }
}

void CFailingTestBlock::Serialize(CArchive& ar) {
    CParamBlk::Serialize(ar);
    if (ar.IsStoring())
        AfxThrowFileException(CFileException::diskFull, 28);
}

std::unique_ptr<CJoxPage> NewPage() {
    return std::unique_ptr<CJoxPage>(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
}

CArticle* AddBox(CJoxPage& page, CArticle* parent, const CWindow& box, const wchar_t* name) {
    auto* a = new CArticle;
    a->Item(new CBoxTestItem(box));
    if (name)
        a->SetName(CString(name));
    (parent ? parent : page.RootArticle())->AddChild(a);
    // As the design library does after linking new content.
    a->InvExtents(1);
    return a;
}

std::unique_ptr<CJoxPage> BuildSampleDesign() {
    auto page = NewPage();
    CArticle* root = page->RootArticle();
    auto* group = new CArticle;
    group->SetName(CString(L"Group"));
    group->SetProperty(CArticle::kGroupBit, false);
    root->AddChild(group);
    AddBox(*page, group, CWindow(0, 0, 1000, 2000), L"Left");
    CArticle* right = AddBox(*page, group, CWindow(1500, -300, 4000, 2500), L"Right");
    right->fnSaveString(L"CutNext", L"1", 0);
    right->fnSaveValue(L".VectorColour", 3, 0);
    auto* inner = new CArticle;
    inner->SetName(CString(L"Inner"));
    group->AddChild(inner);
    AddBox(*page, inner, CWindow(-50, -60, 70, 80), L"Deep");
    auto* effect = new CTxXformEffect;
    CMat2d m;
    effect->SetXform(m);
    effect->SetEnabled();
    group->AddTxEffect(effect);
    AddBox(*page, root, CWindow(5000, 5000, 6000, 6000), L"Single");

    auto* second = new CArticle;
    second->SetName(CString(L"Second layer"));
    page->EmbeddedRootArticle()->AddRsibling(second);
    AddBox(*page, second, CWindow(1, 2, 3, 4), L"On second");
    group->InvExtents(1);

    page->GetColourPalette(true, eColourPaletteDefault)->SetColour(20, 0x123456);
    auto* comments = new CJOXCommentPB;
    comments->fnSetID(42);
    comments->fnSetArraySize(2);
    comments->fnSetComment(0, CString(L"Cut on 3M vinyl"));
    page->AddParam(comments);
    page->AddParam(new CParamBlk(7));

    page->Grid()->AddGridLinePos(12345, CGrid::kVertical);
    page->Grid()->showRect = 1;
    page->Context(43);
    page->SetFlags(0x04);
    page->RecalcExtents(0);
    page->ViewExtents(CWindow(-10, -20, 30000, 40000), false);
    return page;
}

std::vector<BYTE> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::string& path, const std::vector<BYTE>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
