#include "pivora/jox_page.h"

#include "design_fixture.h"
#include "pivora/document/jox_comment_pb.h"
#include "pivora/document/tx_xform_effect.h"
#include "view_fixture.h"

#include "platform/core/archive.h"
#include "platform/core/mem_file.h"
#include "platform/framework/document.h"
#include "platform/system/paths.h"
#include "platform/windowing/message_box.h"

#include "archive_round_trip.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class JoxPageTest : public DesignTest {
protected:
    void SetUp() override {
        DesignTest::SetUp();
        QvSetAppParam(L"BackupOn", 0);
        QvSetAppParam(L"BackupDir", CString());
        QvSetAppParam(L"AutoSaveDir", CString());
        fs::create_directories(m_sandbox.Path("designs"));
    }
    std::string Designs(const std::string& name) const { return m_sandbox.Path("designs/" + name); }
    static CString W(const std::string& s) { return CString::FromUtf8(s); }
    std::vector<BYTE> Save(CJoxPage& page, const std::string& path) {
        EXPECT_TRUE(page.OnSaveDocument(W(path))) << page.GetLastErrorText().ToUtf8();
        return ReadFileBytes(path);
    }

    SettingsSandbox& m_sandbox = m_box;
    platform::MessageBoxResponder m_responder;
};

std::vector<BYTE> Cat(std::initializer_list<std::vector<BYTE>> parts) {
    std::vector<BYTE> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

const std::vector<BYTE> kEnd = {0xFE, 0xFE, 0, 0, 0, 0};

// ---- Tree and extents ----

TEST_F(JoxPageTest, NewPageHasTheEmbeddedRootAndDefaults) {
    auto page = NewPage();
    CArticle* root = page->RootArticle();
    EXPECT_EQ(root, page->EmbeddedRootArticle());
    EXPECT_EQ(root->GetName(), CString(L"Design Order"));
    EXPECT_EQ(root->GetDocument(), page.get());
    EXPECT_EQ(page->ActiveRootArticleID(), -1);
    ASSERT_NE(page->Grid(), nullptr);
    EXPECT_EQ(page->AutoResize(), 1);
    EXPECT_EQ(page->Extents(), CWindow::EmptyExtent());
    page->RecalcExtents(0);
    EXPECT_EQ(page->Extents(), CWindow(0, 0, 100000, 100000));
    EXPECT_EQ(page->ParamCount(), 0);
    EXPECT_FALSE(page->IsModified());
}

TEST_F(JoxPageTest, RecalcExtentsWidensSmallAndDegenerateExtents) {
    struct Case {
        const char* name;
        CWindow item, expected;
    } cases[] = {
        {"narrow width about the centre", {10, 10, 400, 5000}, {-295, 10, 705, 5000}},
        {"a single point", {0, 0, 0, 0}, {0, 0, 100000, 100000}},
        {"both axes small, odd centre", {-3, 0, 0, 10}, {-502, -495, 498, 505}},
        {"large extents kept", {-20000, 100, 30000, 90000}, {-20000, 100, 30000, 90000}},
    };
    for (const Case& c : cases) {
        auto page = NewPage();
        AddBox(*page, nullptr, c.item);
        page->RecalcExtents(0);
        EXPECT_EQ(page->Extents(), c.expected) << c.name;
    }
}

TEST_F(JoxPageTest, RootRowAndActiveRoot) {
    auto page = NewPage();
    auto* second = new CArticle;
    page->EmbeddedRootArticle()->AddRsibling(second);
    AddBox(*page, second, CWindow(0, 0, 2000, 2000));
    EXPECT_EQ(page->RootArticle(12345), page->EmbeddedRootArticle());
    EXPECT_EQ(page->RootArticle(second->GetID()), second);

    page->SetActiveRootArticle(second->GetID());
    EXPECT_EQ(page->RootArticle(), second);
    page->SetActiveRootArticle(12345); // unknown: kept
    EXPECT_EQ(page->RootArticle(), second);
    page->RecalcExtents(0);
    EXPECT_EQ(page->Extents(), CWindow(0, 0, 2000, 2000));
    page->SetActiveRootArticle(-1);
    EXPECT_EQ(page->RootArticle(), page->EmbeddedRootArticle());
}

TEST_F(JoxPageTest, ActiveObjectExtentsSkipInactiveAndEmptyItems) {
    auto page = NewPage();
    CWindow w;
    page->GetActiveObjectExtents(w);
    EXPECT_EQ(w, CWindow(0, 0, 0, 0));
    AddBox(*page, nullptr, CWindow(0, 0, 10, 10));
    AddBox(*page, nullptr, CWindow(-5, 20, 5, 30));
    AddBox(*page, nullptr, CWindow(100, 100, 200, 200))->GetItem()->SetProperty(0x08);
    AddBox(*page, nullptr, CWindow(300, 300, 400, 400))->GetItem()->SetProperty(0x40);
    AddBox(*page, nullptr, CWindow::EmptyExtent());
    page->GetActiveObjectExtents(w);
    EXPECT_EQ(w, CWindow(-5, 0, 10, 30));
}

TEST_F(JoxPageTest, DeleteArticleRefusesNullAndTheEmbeddedRoot) {
    auto page = NewPage();
    CArticle* box = AddBox(*page, nullptr, CWindow(0, 0, 10, 10));
    page->DeleteArticle(nullptr, 1, 0);
    page->DeleteArticle(nullptr, 0, 0);
    page->DeleteArticle(page->EmbeddedRootArticle(), 0, 0);
    page->DeleteArticle(page->EmbeddedRootArticle(), 1, 0);
    EXPECT_EQ(page->RootArticle()->GetFirstChild(), box);

    page->RootArticle()->Extents(0);
    page->DeleteArticle(box, 0, 0);
    EXPECT_EQ(page->RootArticle()->GetFirstChild(), nullptr);
    EXPECT_EQ(page->RootArticle()->GetInvExtents(), 1);
}

TEST_F(JoxPageTest, DeleteArticleWithAdjustTakesTheWrappingGroup) {
    auto page = NewPage();
    auto* group = new CArticle;
    page->RootArticle()->AddChild(group);
    CArticle* only = AddBox(*page, group, CWindow(0, 0, 10, 10));
    CArticle* keep = AddBox(*page, nullptr, CWindow(0, 0, 10, 10));
    page->DeleteArticle(only, 1, 0);
    EXPECT_EQ(page->RootArticle()->GetFirstChild(), keep);
    EXPECT_EQ(keep->GetRsibling(), nullptr);
}

// ---- Blocks ----

CParamBlk* MakeStyleBlock() {
    return new CParamBlk(14);
}

TEST_F(JoxPageTest, ParameterBlocksAreOwnedAndFoundById) {
    auto page = NewPage();
    EXPECT_EQ(page->AddParam(nullptr), nullptr);
    CParamBlk* a = page->AddParam(new CParamBlk(14));
    CParamBlk* b = page->AddParam(new CParamBlk(7));
    CParamBlk* c = page->AddParam(new CParamBlk(14));
    EXPECT_EQ(a->GetDocument(), page.get());
    EXPECT_EQ(page->FindParam(14), a);
    EXPECT_EQ(page->FindParam(14, 1, nullptr), c);
    EXPECT_EQ(page->FindParam(99), nullptr);
    EXPECT_EQ(page->ParamCount(), 3);
    CParamBlk* made = page->FindParam(14, 3, MakeStyleBlock);
    EXPECT_EQ(page->ParamCount(), 4);
    EXPECT_EQ(page->FindParam(made), 3);
    EXPECT_EQ(made->GetDocument(), page.get());

    EXPECT_EQ(page->MakeParamFirst(b), 1);
    EXPECT_EQ(page->GetParam(0), b);
    CParamBlk stray(1);
    EXPECT_EQ(page->MakeParamFirst(&stray), 0);
    EXPECT_EQ(page->RemoveParam(&stray), 0);
    EXPECT_EQ(page->RemoveParam(4), 0);
    EXPECT_EQ(page->RemoveParam(-1), 0);
    EXPECT_EQ(page->RemoveParam(a), 1);
    EXPECT_EQ(page->ParamCount(), 3);

    EXPECT_EQ(page->GetColourPalette(false, eColourPaletteDefault), nullptr);
    EXPECT_EQ(CColourPalette::GetCurrentGreyCount(page.get()), 16);
    CColourPalette* palette = page->GetColourPalette(true, eColourPaletteDefault);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(page->GetColourPalette(false, eColourPaletteDefault), palette);
    EXPECT_EQ(CColourPalette::GetCurrentGreyCount(page.get()), 0); // entry 1 is red
    page->DeleteContents();
    EXPECT_EQ(page->ParamCount(), 0);
}

class CNotStoredBlock : public CParamBlk {
public:
    CNotStoredBlock() : CParamBlk(8) {}
    int CanSerialize(CArchive&) override { return 0; }
};

TEST_F(JoxPageTest, OnlyStorableBlocksAreWritten) {
    auto page = NewPage();
    page->AddParam(new CParamBlk(7));
    page->AddParam(new CNotStoredBlock);
    auto bytes = StoreBody(*page);
    auto back = NewPage();
    LoadBody(*back, bytes);
    ASSERT_EQ(back->ParamCount(), 1);
    EXPECT_EQ(back->GetParam(0)->Id(), 7);
    EXPECT_EQ(back->GetParam(0)->GetDocument(), back.get());
}

// ---- State ----

TEST_F(JoxPageTest, FlagsLocksAndModificationTypes) {
    auto page = NewPage();
    page->SetFlags(0x04);
    EXPECT_EQ(page->FlagsOn(0x05), 0);
    EXPECT_EQ(page->FlagsOn(0x04), 1);
    page->ClrFlags(0x04);
    EXPECT_EQ(page->FlagsOn(0x04), 0);

    EXPECT_EQ(page->IsTypeModified(3), 0);
    page->SetModifiedFlag(TRUE);
    EXPECT_EQ(page->IsTypeModified(3), 1);
    page->SetModifiedFlag(FALSE);
    EXPECT_EQ(page->IsTypeModified(3), 1); // clearing leaves the word
    page->SetTypeModifiedFlag(35, 0);      // bit 35 & 31 = 3
    EXPECT_EQ(page->IsTypeModified(3), 0);

    page->Lock();
    EXPECT_TRUE(page->IsLocked());
    page->SetModifiedFlag(TRUE);
    EXPECT_EQ(page->SaveModified(), 0);
    ASSERT_EQ(m_responder.Shown().size(), 1u);
    EXPECT_EQ(m_responder.Shown()[0].text, std::wstring(L"Document Locked"));
    page->Unlock();
    EXPECT_FALSE(page->IsLocked());
    m_responder.SetDefault(IDNO);
    EXPECT_EQ(page->SaveModified(), 1);
    EXPECT_EQ(m_responder.Shown().size(), 2u);
}

TEST_F(JoxPageTest, ViewExtentsMarkTheViewModifiedBeyondOneUnit) {
    auto page = NewPage();
    page->ViewExtents(CWindow(0, 0, 100, 100), false);
    EXPECT_EQ(page->ViewModified(), 0);
    page->ViewExtents(CWindow(1, 0, 100, 100), true);
    EXPECT_EQ(page->ViewModified(), 0);
    page->ViewExtents(CWindow(1, 0, 102, 100), true);
    EXPECT_EQ(page->ViewModified(), 1);
}

TEST_F(JoxPageTest, SnapToExtentsClampsIntoThePage) {
    auto page = NewPage();
    page->RecalcExtents(0);
    CLpoint p(-5, 200000);
    page->fnSnapToExtents(p);
    EXPECT_EQ(p, CLpoint(0, 100000));
}

TEST_F(JoxPageTest, SetFileNameExtensionLooksOnlyInTheFileName) {
    struct Case {
        const wchar_t* path;
        const wchar_t* ext;
        const wchar_t* expected;
    } cases[] = {
        {L"C:\\Designs\\Logo.KDX", L".KDR", L"C:\\Designs\\Logo.KDR"},
        {L"C:\\Designs\\Logo.KDX", L"eps", L"C:\\Designs\\Logo.eps"},
        {L"C:\\My.Designs\\Logo", L".KDX", L"C:\\My.Designs\\Logo.KDX"},
        {L"/home/sign.shop/Logo", L"KDX", L"/home/sign.shop/Logo.KDX"},
        {L"Logo.old.KDX", L".ai", L"Logo.old.ai"},
    };
    for (const Case& c : cases) {
        auto page = NewPage();
        page->SetPathName(c.path, FALSE);
        page->SetFileNameExtension(CString(c.ext));
        EXPECT_EQ(page->GetPathName(), CString(c.expected)) << CString(c.path).ToUtf8();
    }
}

TEST_F(JoxPageTest, CloseModifiedActionIsClassWide) {
    EXPECT_EQ(CJoxPage::CloseModifiedAction(), eCloseModNone);
    CJoxPage::CloseModifiedAction(eCloseModNoSave);
    EXPECT_EQ(CJoxPage::CloseModifiedAction(), eCloseModNoSave);
    CJoxPage::CloseModifiedAction(eCloseModNone);
}

// ---- Records ----

// The page's own records after the tree: blocks (none), context 43, flags 4, both times,
// extents, a default grid in object-reference form, AutoResize 1, view extents.
TEST_F(JoxPageTest, PageRecordsAfterTheTree) {
    // Build the page from records, then compare what it writes after its tree record.
    CGrid grid;
    CMemFile gridFile;
    {
        CArchive ar(&gridFile, CArchive::store);
        ar << static_cast<const CObject*>(&grid);
        ar.Close();
    }
    const std::vector<BYTE> gridRef = gridFile.Detach();
    std::vector<BYTE> gridRecord = {0x07, 0x00, BYTE(gridRef.size()), 0, 0, 0};
    gridRecord.insert(gridRecord.end(), gridRef.begin(), gridRef.end());
    const std::vector<BYTE> own = Cat({
        {0x01, 0x00, 0x02, 0, 0, 0, 0x00, 0x00},
        {0x02, 0x00, 0x02, 0, 0, 0, 43, 0},
        {0x03, 0x00, 0x04, 0, 0, 0, 4, 0, 0, 0},
        {0x04, 0x00, 0x04, 0, 0, 0, 0x00, 0x5E, 0xD0, 0xB2},
        {0x05, 0x00, 0x04, 0, 0, 0, 0x80, 0x5F, 0xD0, 0xB2},
        {0x06, 0x00, 0x10, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0},
        gridRecord,
        {0x08, 0x00, 0x04, 0, 0, 0, 1, 0, 0, 0},
        {0x09, 0x00, 0x10, 0, 0, 0, 0xF6, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0},
        kEnd,
    });
    auto page = NewPage();
    LoadBody(*page, own);
    EXPECT_EQ(page->Context(), 43);
    EXPECT_EQ(page->CreatedTime().GetTime(), int64_t(0xB2D05E00));
    EXPECT_EQ(page->Extents(), CWindow(1, 2, 3, 4));
    EXPECT_EQ(page->ViewExtents(), CWindow(-10, 0, 5, 6));
    auto bytes = StoreBody(*page);
    ASSERT_GT(bytes.size(), own.size());
    EXPECT_EQ(std::vector<BYTE>(bytes.end() - own.size(), bytes.end()), own);
    // The versions of the running program come first, then the tree.
    EXPECT_EQ(bytes[0], 0x0A);
    EXPECT_EQ(bytes[1], 0x00);
    ASSERT_NE(page->ModulesVersion(), nullptr);
}

TEST_F(JoxPageTest, ModuleVersionsNameTheProgramsThatWroteTheFile) {
    CVersion writer;
    writer.m_major = 5;
    writer.m_minor = 1;
    writer.m_revision = 12;
    writer.m_fileName = L"C:\\Program Files\\Kelvane.exe";
    CMemFile vf;
    {
        CArchive ar(&vf, CArchive::store);
        ar.WriteCount(1);
        writer.Serialize(ar);
        ar.Close();
    }
    const std::vector<BYTE> payload = vf.Detach();
    std::vector<BYTE> record = {0x0A, 0x00, BYTE(payload.size()), 0, 0, 0};
    record.insert(record.end(), payload.begin(), payload.end());

    auto page = NewPage();
    EXPECT_EQ(page->ModulesVersion(), nullptr);
    LoadBody(*page, Cat({record, kEnd}));
    ASSERT_NE(page->ModulesVersion(), nullptr);
    ASSERT_EQ(page->ModulesVersion()->GetSize(), 1);
    const CVersion& v = page->ModulesVersion()->GetAt(0);
    EXPECT_EQ(CVersion::GetVersion(v), CString(L"5.1.0.12"));
    EXPECT_EQ(v.m_fileName, writer.m_fileName);

    // A count the record cannot hold is refused.
    auto damaged = record;
    damaged[6] = 0x40;
    auto other = NewPage();
    EXPECT_THROW(LoadBody(*other, Cat({damaged, kEnd})), CArchiveException);
}

TEST_F(JoxPageTest, RectangleRecordsOfOtherSizes) {
    auto page = NewPage();
    page->Extents(CWindow(7, 7, 8, 8));
    LoadBody(*page, Cat({{0x06, 0x00, 0x14, 0, 0, 0, 9, 9, 9, 9, 1, 0, 0,
                          0,    2,    0,    0, 0, 3, 0, 0, 0, 4, 0, 0, 0},
                         {0x09, 0x00, 0x0C, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0},
                         {0x06, 0x00, 0x08, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0},
                         kEnd}));
    EXPECT_EQ(page->Extents(), CWindow(1, 2, 3, 4)); // 20 bytes: the last 16
    EXPECT_EQ(page->ViewExtents(), CWindow::EmptyExtent());
}

TEST_F(JoxPageTest, NullGridAndNullBlocksLoadToSoundDefaults) {
    auto page = NewPage();
    page->Grid()->showRect = 1;
    LoadBody(*page, Cat({{0x07, 0x00, 0x02, 0, 0, 0, 0x00, 0x00},             // null grid
                         {0x01, 0x00, 0x06, 0, 0, 0, 0x02, 0x00, 0, 0, 0, 0}, // two null blocks
                         {0x02, 0x00, 0x04, 0, 0, 0, 1, 0, 0, 0},             // context as u32
                         kEnd}));
    ASSERT_NE(page->Grid(), nullptr);
    EXPECT_EQ(page->Grid()->showRect, 0);
    EXPECT_EQ(page->ParamCount(), 0);
    EXPECT_EQ(page->Context(), 0);
    page->RecalcExtents(0);
}

TEST_F(JoxPageTest, ObjectsOfTheWrongClassOrSizeAreRefused) {
    // A grid where the blocks belong, and a block where the grid belongs.
    CGrid grid;
    CParamBlk block(3);
    auto ref = [](const CObject* o) {
        CMemFile f;
        CArchive ar(&f, CArchive::store);
        ar << o;
        ar.Close();
        return f.Detach();
    };
    auto gridRef = ref(&grid), blockRef = ref(&block);
    std::vector<BYTE> params = {0x01, 0x00, BYTE(gridRef.size() + 2), 0, 0, 0, 1, 0};
    params.insert(params.end(), gridRef.begin(), gridRef.end());
    std::vector<BYTE> gridRec = {0x07, 0x00, BYTE(blockRef.size()), 0, 0, 0};
    gridRec.insert(gridRec.end(), blockRef.begin(), blockRef.end());
    // A grid whose object runs past its record.
    auto goodGrid = ref(&grid);
    std::vector<BYTE> shortGrid = {0x07, 0x00, BYTE(goodGrid.size() - 6), 0, 0, 0};
    shortGrid.insert(shortGrid.end(), goodGrid.begin(), goodGrid.end());
    for (const auto& bytes : {Cat({params, kEnd}), Cat({gridRec, kEnd}), Cat({shortGrid, kEnd})}) {
        auto page = NewPage();
        EXPECT_THROW(LoadBody(*page, bytes), CArchiveException);
        EXPECT_EQ(page->ParamCount(), 0);
        EXPECT_NE(page->Grid(), nullptr);
    }
}

// ---- Files ----

void ExpectSameTree(CTree* a, CTree* b) {
    std::vector<std::pair<CTree*, CTree*>> todo{{a, b}};
    while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        ASSERT_EQ(x == nullptr, y == nullptr);
        if (!x)
            continue;
        auto* ax = DynamicDowncast<CArticle>(x);
        auto* ay = DynamicDowncast<CArticle>(y);
        ASSERT_TRUE(ax && ay);
        EXPECT_EQ(ax->GetID(), ay->GetID());
        EXPECT_EQ(ax->GetName(), ay->GetName());
        EXPECT_EQ(ax->HasItem(), ay->HasItem());
        EXPECT_EQ(ax->TxEffectCount(), ay->TxEffectCount());
        EXPECT_EQ(ax->Effects().GetSize(), ay->Effects().GetSize());
        // The links rebuilt after loading.
        if (CTree* c = y->GetFirstChild()) {
            EXPECT_EQ(c->GetParent(), y);
        }
        if (CTree* r = y->GetRsibling()) {
            EXPECT_EQ(r->GetLsibling(), y);
            EXPECT_EQ(r->GetParent(), y->GetParent());
        }
        if (ay->HasItem()) {
            EXPECT_EQ(ay->GetItem()->GetArticle(), ay);
        }
        todo.push_back({x->GetFirstChild(), y->GetFirstChild()});
        todo.push_back({x->GetRsibling(), y->GetRsibling()});
    }
}

TEST_F(JoxPageTest, SaveOpenSaveGivesTheSameBytes) {
    auto page = BuildSampleDesign();
    const std::string first = Designs("Sample.KDX"), second = Designs("Again.KDX");
    auto bytes = Save(*page, first);
    ASSERT_FALSE(bytes.empty());

    auto back = NewPage();
    ASSERT_TRUE(back->OnOpenDocument(W(first))) << back->GetLastErrorText().ToUtf8();
    ExpectSameTree(page->EmbeddedRootArticle(), back->EmbeddedRootArticle());
    EXPECT_EQ(back->ParamCount(), 3);
    auto* comments = DynamicDowncast<CJOXCommentPB>(back->FindParam(17));
    ASSERT_NE(comments, nullptr);
    EXPECT_EQ(comments->fnGetID(), 42);
    EXPECT_EQ(back->GetColourPalette(false, eColourPaletteDefault)->GetRGBColour(20), 0x123456u);
    int guide = 0;
    EXPECT_EQ(back->Grid()->GetGridLinePos(guide, CGrid::kVertical, 0), 1);
    EXPECT_EQ(guide, 12345);
    EXPECT_EQ(back->Extents(), page->Extents());
    EXPECT_EQ(back->ViewExtents(), page->ViewExtents());
    EXPECT_EQ(back->Context(), 43);
    // "Right" is the second child of the first group.
    LONG rightId =
        static_cast<CArticle*>(page->RootArticle()->GetFirstChild()->GetFirstChild()->GetRsibling())
            ->GetID();
    CArticle* right = back->RootArticle()->FindID(rightId);
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(right->fnGetValue(L".VectorColour", 0), 3);
    back->RecalcExtents(0);
    EXPECT_EQ(back->Extents(), page->Extents());

    EXPECT_EQ(Save(*back, second), bytes);
}

TEST_F(JoxPageTest, DamagedFileFailsWithAMessageAndStaysOnDisk) {
    auto page = BuildSampleDesign();
    const std::string path = Designs("Damaged.KDX");
    auto bytes = Save(*page, path);
    ASSERT_GT(bytes.size(), 200u);
    std::vector<std::vector<BYTE>> damaged = {
        std::vector<BYTE>(bytes.begin(), bytes.begin() + bytes.size() / 2), // cut short
        {},                                                                 // empty
        {'%', 'P', 'D', 'F', '-', '1', '.', '4'},                           // not a design
    };
    auto flipped = bytes;
    flipped[40] ^= 0xFF;
    damaged.push_back(flipped);
    for (const auto& d : damaged) {
        WriteFileBytes(path, d);
        auto back = NewPage();
        AddBox(*back, nullptr, CWindow(0, 0, 1, 1));
        size_t shown = m_responder.Shown().size();
        BOOL ok = back->OnOpenDocument(W(path));
        if (ok)
            continue; // a flipped byte inside a name may still read
        EXPECT_NE(back->GetLastErrorText().Find(L"Failed to open"), -1);
        EXPECT_EQ(m_responder.Shown().size(), shown + 1);
        EXPECT_EQ(back->RootArticle()->GetFirstChild(), nullptr);
        EXPECT_EQ(back->ParamCount(), 0);
        EXPECT_NE(back->Grid(), nullptr);
        EXPECT_EQ(ReadFileBytes(path), d);
    }
    auto missing = NewPage();
    EXPECT_FALSE(missing->OnOpenDocument(W(Designs("Missing.KDX"))));
    EXPECT_NE(missing->GetLastErrorText().Find(L"Missing.KDX"), -1);
}

TEST_F(JoxPageTest, FailedSaveLeavesThePreviousFileAndItsBackup) {
    QvSetAppParam(L"BackupOn", 1);
    auto page = BuildSampleDesign();
    const std::string path = Designs("Logo.KDX");
    auto first = Save(*page, path);
    page->SetModifiedFlag(TRUE);
    auto second = Save(*page, path); // moves the first file to the backup
    const std::string backup = m_sandbox.Path("home/Backup/Backup of Logo.KD~");
    ASSERT_EQ(ReadFileBytes(backup), first);

    page->AddParam(new CFailingTestBlock);
    page->SetModifiedFlag(TRUE);
    EXPECT_FALSE(page->OnSaveDocument(W(path)));
    EXPECT_TRUE(page->IsModified());
    EXPECT_NE(page->GetLastErrorText().Find(L"Failed to save"), -1);
    EXPECT_EQ(ReadFileBytes(path), second);
    EXPECT_EQ(ReadFileBytes(backup), first);
    for (const auto& entry : fs::directory_iterator(m_sandbox.Path("designs")))
        EXPECT_EQ(entry.path().filename(), "Logo.KDX") << "temporary file left behind";
}

// A save killed at any step leaves the old or the new file at the design's path (and the old
// one as the backup once that is made); the next save leaves no temporary behind.
TEST_F(JoxPageTest, ASaveKilledAtAnyStepLeavesTheOldOrTheNewFile) {
    QvSetAppParam(L"BackupOn", 1);
    const std::string path = Designs("Logo.KDX");
    const std::string backup = m_sandbox.Path("home/Backup/Backup of Logo.KD~");
    std::vector<std::unique_ptr<CJoxPage>> pages;
    pages.push_back(BuildSampleDesign());
    pages.push_back(BuildSampleDesign());
    AddBox(*pages[1], nullptr, CWindow(0, 0, 70, 30), L"Extra");
    const std::vector<BYTE> content[2] = {Save(*pages[0], Designs("A.KDX")),
                                          Save(*pages[1], Designs("B.KDX"))};
    ASSERT_NE(content[0], content[1]);
    fs::remove(Designs("A.KDX"));
    fs::remove(Designs("B.KDX"));

    using platform::ReplaceStep;
    struct Case {
        ReplaceStep step;
        bool newAtPath;
    } cases[] = {{ReplaceStep::TemporaryCreated, false},
                 {ReplaceStep::TemporaryWritten, false},
                 {ReplaceStep::ReadyToRename, false}, // between the backup and the rename
                 {ReplaceStep::Renamed, true}};
    constexpr int kSaves = 4; // killed in the last one, which writes content[1]
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.step));
        fs::remove(path);
        fs::remove(backup);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int save = 0;
            platform::SetDocumentSaveHook([&](ReplaceStep step) {
                if (save == kSaves - 1 && step == c.step)
                    ::raise(SIGKILL);
            });
            for (; save < kSaves; ++save) {
                pages[size_t(save % 2)]->SetModifiedFlag(TRUE);
                if (!pages[size_t(save % 2)]->OnSaveDocument(W(path)))
                    ::_exit(2);
            }
            ::_exit(3); // never killed
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;

        EXPECT_EQ(ReadFileBytes(path), content[c.newAtPath ? 1 : 0]);
        if (c.step == ReplaceStep::ReadyToRename || c.step == ReplaceStep::Renamed) {
            EXPECT_EQ(ReadFileBytes(backup), content[0]);
        }
        auto opened = NewPage();
        EXPECT_TRUE(opened->OnOpenDocument(W(path))) << opened->GetLastErrorText().ToUtf8();

        pages[0]->SetModifiedFlag(TRUE);
        Save(*pages[0], path);
        for (const auto& entry : fs::directory_iterator(m_sandbox.Path("designs")))
            EXPECT_EQ(entry.path().filename(), "Logo.KDX") << "temporary left behind";
        for (const auto& entry : fs::directory_iterator(m_sandbox.Path("home/Backup")))
            EXPECT_EQ(entry.path().filename(), "Backup of Logo.KD~") << "temporary left behind";
    }
}

TEST_F(JoxPageTest, SaveIntoAFolderThatCannotBeWritten) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    auto page = BuildSampleDesign();
    const std::string path = Designs("Locked.KDX");
    auto first = Save(*page, path);
    ::chmod(m_sandbox.Path("designs").c_str(), 0555);
    page->SetModifiedFlag(TRUE);
    EXPECT_FALSE(page->OnSaveDocument(W(path)));
    ::chmod(m_sandbox.Path("designs").c_str(), 0755);
    EXPECT_EQ(ReadFileBytes(path), first);
}

TEST_F(JoxPageTest, LongRowsAndDeepNesting) {
    // A long row of imported paths saves and opens without deep recursion.
    auto page = NewPage();
    CArticle* last = AddBox(*page, nullptr, CWindow(0, 0, 1, 1));
    for (int i = 1; i < 50000; ++i) {
        auto* a = new CArticle;
        a->Item(new CBoxTestItem(CWindow(i, 0, i + 1, 1)));
        last->InsertRsibling(a);
        last = a;
    }
    const std::string path = Designs("Row.KDX");
    Save(*page, path);
    auto back = NewPage();
    ASSERT_TRUE(back->OnOpenDocument(W(path))) << back->GetLastErrorText().ToUtf8();
    back->RecalcExtents(0);
    EXPECT_EQ(back->Extents(), CWindow(0, -499, 50000, 501));
    EXPECT_EQ(back->RootArticle()->FindID(last->GetID())->GetLsibling()->GetRsibling(),
              back->RootArticle()->FindID(last->GetID()));

    // Nesting beyond what the archive follows is refused on store, and the file stays.
    auto deep = NewPage();
    CArticle* parent = deep->RootArticle();
    for (int i = 0; i < 2000; ++i)
        parent = AddBox(*deep, parent, CWindow(0, 0, 1, 1));
    EXPECT_FALSE(deep->OnSaveDocument(W(path)));
    auto reread = NewPage();
    EXPECT_TRUE(reread->OnOpenDocument(W(path)));
}

// ---- Backup and recovery copies ----

TEST_F(JoxPageTest, BackupOnlyWhenSwitchedOnAndModified) {
    auto page = BuildSampleDesign();
    const std::string path = Designs("Logo.KDX");
    const std::string backup = m_sandbox.Path("home/Backup/Backup of Logo.KD~");
    auto first = Save(*page, path);
    page->SetModifiedFlag(TRUE);
    Save(*page, path); // BackupOn 0
    EXPECT_FALSE(fs::exists(backup));

    QvSetAppParam(L"BackupOn", 1);
    page->SetModifiedFlag(FALSE);
    Save(*page, path); // not modified
    EXPECT_FALSE(fs::exists(backup));

    fs::create_directories(m_sandbox.Path("home/Backup"));
    WriteFileBytes(backup, {1, 2, 3}); // an older backup is replaced
    auto previous = ReadFileBytes(path);
    page->SetModifiedFlag(TRUE);
    Save(*page, path);
    EXPECT_EQ(ReadFileBytes(backup), previous);
    CString dir;
    QvGetAppParam(L"BackupDir", dir);
    EXPECT_EQ(platform::MapPath(dir), m_sandbox.Path("home/Backup"));
}

// Where the backup folder cannot share the file (another file system), the backup is a copy.
TEST_F(JoxPageTest, ABackupOnAnotherFileSystemIsACopy) {
    char tmpl[] = "/dev/shm/kelvane-backup-XXXXXX";
    struct stat shm, here;
    if (::stat("/dev/shm", &shm) != 0 || ::stat(m_sandbox.root().c_str(), &here) != 0 ||
        shm.st_dev == here.st_dev || !::mkdtemp(tmpl))
        GTEST_SKIP() << "no second file system at hand";
    const std::string folder = tmpl;
    QvSetAppParam(L"BackupOn", 1);
    QvSetAppParam(L"BackupDir", W(folder));
    auto page = BuildSampleDesign();
    const std::string path = Designs("Logo.KDX");
    auto first = Save(*page, path);
    AddBox(*page, nullptr, CWindow(0, 0, 5, 5));
    page->SetModifiedFlag(TRUE);
    auto second = Save(*page, path);
    EXPECT_NE(first, second);
    EXPECT_EQ(ReadFileBytes(folder + "/Backup of Logo.KD~"), first);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    fs::remove_all(folder);
    EXPECT_EQ(names, std::vector<std::string>{"Backup of Logo.KD~"});
}

int RecoveryNumber(const CString& name, const CString& base) {
    EXPECT_EQ(name.Left(base.GetLength() + 1), base + L"-") << name.ToUtf8();
    EXPECT_EQ(name.Right(4), CString(L".KDR")) << name.ToUtf8();
    CString digits = name.Mid(base.GetLength() + 1, name.GetLength() - base.GetLength() - 5);
    int n = std::stoi(digits.ToUtf8());
    EXPECT_GE(n, 0);
    EXPECT_LE(n, 32767);
    return n;
}

TEST_F(JoxPageTest, RecoveryNamesFollowTheDesignName) {
    auto page = BuildSampleDesign();
    Save(*page, Designs("Sign.KDX"));
    CString name = page->fnGetAutosaveFile();
    int n = RecoveryNumber(name, L"Sign");
    CString dir;
    QvGetAppParam(L"AutoSaveDir", dir);
    EXPECT_EQ(platform::MapPath(dir), m_sandbox.Path("home/Recover"));

    // With its recovery file on disk, saving under another name keeps the number.
    fs::create_directories(m_sandbox.Path("home/Recover"));
    ASSERT_EQ(page->CreateAutosaveFile(), 1);
    Save(*page, Designs("Banner.KDX"));
    EXPECT_EQ(RecoveryNumber(page->fnGetAutosaveFile(), L"Banner"), n);

    // Without one, a fresh name is drawn.
    auto other = BuildSampleDesign();
    Save(*other, Designs("Sign.KDX"));
    CString first = other->fnGetAutosaveFile();
    Save(*other, Designs("Poster.KDX"));
    RecoveryNumber(other->fnGetAutosaveFile(), L"Poster");
    (void)first;
}

TEST_F(JoxPageTest, PagesMadeInOneSecondGetDifferentRecoveryNames) {
    std::vector<std::unique_ptr<CJoxPage>> pages;
    std::set<CString> names;
    for (int i = 0; i < 50; ++i) {
        pages.push_back(NewPage());
        pages.back()->fnSetAutosaveFile(W(Designs("Same.KDX")));
        names.insert(pages.back()->fnGetAutosaveFile());
    }
    EXPECT_EQ(names.size(), 50u);
}

TEST_F(JoxPageTest, AutosaveKeepsTheModifiedFlagAndThePath) {
    fs::create_directories(m_sandbox.Path("home/Recover"));
    auto page = BuildSampleDesign();
    const std::string path = Designs("Sign.KDX");
    Save(*page, path);
    page->SetPathName(W(path), FALSE);
    AddBox(*page, nullptr, CWindow(0, 0, 5, 5));
    page->SetModifiedFlag(TRUE);

    ASSERT_EQ(page->CreateAutosaveFile(), 1) << page->GetLastErrorText().ToUtf8();
    EXPECT_TRUE(page->IsModified());
    EXPECT_EQ(page->GetPathName(), W(path));
    m_responder.SetDefault(IDNO);
    page->SaveModified();
    ASSERT_FALSE(m_responder.Shown().empty()); // closing still asks

    // The recovery copy opens as the design with the new edit.
    auto recovered = NewPage();
    std::string copy = m_sandbox.Path("home/Recover/") + page->fnGetAutosaveFile().ToUtf8();
    ASSERT_TRUE(recovered->OnOpenDocument(W(copy))) << recovered->GetLastErrorText().ToUtf8();
    ExpectSameTree(page->EmbeddedRootArticle(), recovered->EmbeddedRootArticle());
}

TEST_F(JoxPageTest, AutosaveOfAnUntitledPageUsesItsTitleAndMakesItsFolder) {
    auto page = NewPage();
    page->SetTitle(L"Design1.KDX", false);
    ASSERT_EQ(page->CreateAutosaveFile(), 1);
    RecoveryNumber(page->fnGetAutosaveFile(), L"Design1");
    EXPECT_TRUE(fs::exists(m_sandbox.Path("home/Recover/") + page->fnGetAutosaveFile().ToUtf8()));
}

TEST_F(JoxPageTest, AutosaveBelowAMissingFolderFails) {
    auto page = NewPage();
    page->SetTitle(L"Design1.KDX", false);
    QvSetAppParam(L"AutoSaveDir", W(m_sandbox.Path("no/such/folder")));
    EXPECT_EQ(page->CreateAutosaveFile(), 0);
    EXPECT_NE(page->GetLastErrorText().Find(L"Failed to save"), -1);
    EXPECT_FALSE(fs::exists(m_sandbox.Path("no")));
}

} // namespace

namespace {

TEST_F(ViewTest, ThePageSnapsThroughItsGridAndFindsItsViews) {
    Place(CSize(1, 1), CSize(1, -1), 0, 150);
    page->Extents(CWindow(0, 0, 50000, 40000));
    page->SetFlags(CJoxPage::kSnapToExtentsFlag);
    CLpoint p(-300, 45000);
    EXPECT_EQ(page->Snap(view, p), 0); // kept inside the page; no grid snaps
    EXPECT_EQ(p, CLpoint(0, 40000));
    page->Grid()->showRect = 1;
    page->Grid()->rectSnap = 1;
    CGrid::SetSnapTolData(500);
    CPoint q(10200, 19800);
    EXPECT_EQ(page->Snap(view, q), 1);
    EXPECT_EQ(q, CPoint(10000, 20000));
    EXPECT_EQ(page->FirstView(nullptr), view);
    EXPECT_EQ(page->FirstView(RUNTIME_CLASS(CJoxView)), view);
    EXPECT_EQ(page->FirstView(RUNTIME_CLASS(CJoxPage)), nullptr);
}

} // namespace
