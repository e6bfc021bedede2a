#include "browsing_fixture.h"

#include "pivora/framework/app_profile.h"

#include <cstdio>

IMPLEMENT_SERIAL(CBrowseBoxItem, CItem, 0)

void BrowsingTest::SetUp() {
    QvResetAppParamCache();
    FnDestroyApplicationProfile();
    m_app = std::make_unique<CAppRegistry>();
    m_app->SetRegistryKey(L"Oquen");
    m_app->SetProfileName(L"VanterFerolin");
    FnSetRegistryStem(L"VanterFerolin");
}

void BrowsingTest::TearDown() {
    FnDestroyApplicationProfile();
    QvResetAppParamCache();
    m_app.reset();
}

CString BrowsingTest::Home() const {
    CString home;
    QvHomePath(nullptr, home);
    return home;
}

void CBrowseBoxItem::Serialize(CArchive& ar) {
    CItem::Serialize(ar);
    if (ar.IsStoring()) {
        ar << int32_t(m_box.x1) << int32_t(m_box.y1) << int32_t(m_box.x2) << int32_t(m_box.y2);
    } else {
        int32_t v[4];
        ar.ReadExact(v, sizeof v);
        m_box = CWindow(v[0], v[1], v[2], v[3]);
    }
}

std::unique_ptr<CJoxPage> NewPage() {
    return std::unique_ptr<CJoxPage>(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
}

CArticle* AddBox(CJoxPage& page, const CWindow& box) {
    auto* a = new CArticle;
    a->Item(new CBrowseBoxItem(box));
    page.RootArticle()->AddChild(a);
    a->InvExtents(1);
    return a;
}

std::vector<BYTE> StoreBytes(CObject& obj) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    obj.Serialize(ar);
    ar.Close();
    return file.Data();
}

bool LoadBytes(CObject& obj, const std::vector<BYTE>& bytes) {
    try {
        CMemFile file(bytes.data(), UINT(bytes.size()));
        CArchive ar(&file, CArchive::load);
        obj.Serialize(ar);
        return true;
    } catch (const CArchiveException&) {
        return false;
    }
}

std::string Hex(const std::vector<BYTE>& bytes) {
    std::string out;
    char buf[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02X", bytes[i]);
        out += buf;
        out += (i % 16 == 15) ? '\n' : ' ';
    }
    return out;
}
