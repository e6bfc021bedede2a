#include "gastelo/design_param_blk.h"

#include "browsing_fixture.h"

#include "platform/windowing/message_box.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// The base block's group of a design block: id 7, name "Default", end field.
const std::vector<BYTE> kBaseGroup = {
    0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x07, 0x00, // field 0, 2 bytes: id 7
    0x01, 0x00, 0x12, 0x00, 0x00, 0x00,             // field 1, 18 bytes: name
    0xFF, 0xFE, 0xFF, 0x07, 'D',  0,    'e',  0,    'f',
    0,    'a',  0,    'u',  0,    'l',  0,    't',  0, // "Default"
    0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00,                // end
};

// The version 2 payload of the sample block below (190 bytes).
const std::vector<BYTE> kPayloadV2 = {
    0xFF, 0xFE, 0xFF, 0x02, 'v',  0,    '2',  0,                         // 38 "v2"
    0xFF, 0xFE, 0xFF, 0x00, 0xFF, 0xFE, 0xFF, 0x00,                      // 6, 10 empty
    0xFF, 0xFE, 0xFF, 0x00, 0xFF, 0xFE, 0xFF, 0x00,                      // 14, 16 empty
    0xFF, 0xFF, 0xFF, 0xFF,                                              // 2: -1
    0x00, 0x00, 0x00, 0x00,                                              // 3: status valid,
    0x00, 0x00, 0x00, 0x00, 0xD0, 0xD5, 0xE1, 0x40,                      //    day 36526.5
    0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,                      // 4: 0, 5: 1
    0xFF, 0xFE, 0xFF, 0x04, 'L',  0,    'o',  0,    'g',  0,    'o',  0, // 7 "Logo"
    0xFF, 0xFE, 0xFF, 0x00,                                              // 1 empty
    0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,                      // 8, 9: 1
    0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x8F, 0x40,                      // 11: 1000.0
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                      // 12: 0.0
    0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,                      // 13, 15: 1
    0xFF, 0xFE, 0xFF, 0x00,                                              // 17 empty
    0xFF, 0xFE, 0xFF, 0x05, 'x',  0,    '.',  0,    'K',  0,    'D',  0,    'X', 0, // 18 "x.KDX"
    0xFF, 0xFE, 0xFF, 0x00,                                                         // 19 empty
    0x04, 0x00, 0x00, 0x00,                                                         // 20: 4
    0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,                                 // 21, 22
    0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,                                 // 23, 24
    0xFF, 0xFF, 0xFF, 0xFF,                                                         // 25: -1
    0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,                                 // 26, 27
    0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,                                 // 28, 29
    0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,                                 // 30, 31
    0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,                                 // 32, 33
    0x07, 0x00, 0x00, 0x00,                                                         // 34: 7
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,         // 36: zero
};
// Version 1 lacks field 38; version 0 also fields 6, 10, 14 and 16.
constexpr size_t kField38Bytes = 8;
constexpr size_t kFields6To16Bytes = 16;

void SetSample(CDesignParamBlk& b) {
    b.m_strText38 = L"v2";
    b.m_dtField3 = COleDateTime(36526.5);
    b.m_strDesignName = L"Logo";
    b.m_dWidth = 1000.0;
    b.m_strPathName = L"x.KDX";
    b.m_nEmbTable = 4;
    b.Option(34) = 7;
    // Not stored.
    b.m_nState = CDesignParamBlk::kStateOpened;
    b.m_nField39 = 9;
    b.m_strText40 = L"forty";
}

// A record group: version field with its payload, then the end field.
std::vector<BYTE> Record(WORD version, const std::vector<BYTE>& payload) {
    std::vector<BYTE> out = kBaseGroup;
    const DWORD len = DWORD(payload.size());
    out.insert(out.end(), {BYTE(version), BYTE(version >> 8), BYTE(len), BYTE(len >> 8),
                           BYTE(len >> 16), BYTE(len >> 24)});
    out.insert(out.end(), payload.begin(), payload.end());
    out.insert(out.end(), {0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00});
    return out;
}

std::vector<BYTE> Tail(const std::vector<BYTE>& v, size_t from) {
    return std::vector<BYTE>(v.begin() + ptrdiff_t(from), v.end());
}

void ExpectSampleStored(const CDesignParamBlk& b) {
    EXPECT_EQ(b.m_strDesignName, CString(L"Logo"));
    EXPECT_EQ(b.m_strPathName, CString(L"x.KDX"));
    EXPECT_EQ(b.m_dWidth, 1000.0);
    EXPECT_EQ(b.m_dtField3, COleDateTime(36526.5));
    EXPECT_EQ(b.m_nEmbTable, 4);
    EXPECT_EQ(b.m_nOptions[34 - 21], 7);
    EXPECT_EQ(b.m_nOptions[25 - 21], -1);
    EXPECT_EQ(b.m_nField2, -1);
}

class DesignParamBlkTest : public BrowsingTest {};

} // namespace

TEST_F(DesignParamBlkTest, StartsFromTheInitialValues) {
    CDesignParamBlk b;
    EXPECT_EQ(b.Id(), 7);
    EXPECT_EQ(b.m_nField2, -1);
    EXPECT_EQ(b.m_nField5, 1);
    EXPECT_EQ(b.m_nField8 + b.m_nField9 + b.m_nField13 + b.m_nField15, 4);
    EXPECT_EQ(b.m_nEmbTable, 1);
    for (int f = 21; f <= 34; ++f)
        EXPECT_EQ(b.Option(f), f == 25 ? -1 : 1) << f;
    EXPECT_EQ(b.m_nState, CDesignParamBlk::kStateInitial);
    EXPECT_EQ(b.m_dtField3, COleDateTime());
    EXPECT_EQ(b.m_dtInitialised.GetStatus(), COleDateTime::valid);
    EXPECT_GT(b.m_dtInitialised.m_dt, 40000.0); // some day after 2009
}

TEST_F(DesignParamBlkTest, WritesVersionTwoAndReadsItBack) {
    CDesignParamBlk b;
    SetSample(b);
    const std::vector<BYTE> golden = Record(2, kPayloadV2);
    ASSERT_EQ(kPayloadV2.size(), 190u);
    const std::vector<BYTE> stored = StoreBytes(b);
    EXPECT_EQ(stored, golden) << Hex(stored);

    CDesignParamBlk back;
    ASSERT_TRUE(LoadBytes(back, golden));
    ExpectSampleStored(back);
    EXPECT_EQ(back.m_strText38, CString(L"v2"));
    // Unstored fields keep the reader's values.
    EXPECT_EQ(back.m_nState, CDesignParamBlk::kStateInitial);
    EXPECT_EQ(back.m_nField39, 0);
    EXPECT_TRUE(back.m_strText40.IsEmpty());
}

TEST_F(DesignParamBlkTest, ReadsTheOlderVersions) {
    CDesignParamBlk v1;
    ASSERT_TRUE(LoadBytes(v1, Record(1, Tail(kPayloadV2, kField38Bytes))));
    ExpectSampleStored(v1);
    EXPECT_TRUE(v1.m_strText38.IsEmpty());

    // Version 0 leaves the texts it does not hold as they were: empty in a fresh block.
    std::vector<BYTE> v0payload = Tail(kPayloadV2, kField38Bytes + kFields6To16Bytes);
    CDesignParamBlk v0;
    ASSERT_TRUE(LoadBytes(v0, Record(0, v0payload)));
    ExpectSampleStored(v0);
    for (const CString* s :
         {&v0.m_strText6, &v0.m_strText10, &v0.m_strText14, &v0.m_strText16, &v0.m_strText38})
        EXPECT_TRUE(s->IsEmpty());
}

TEST_F(DesignParamBlkTest, DamagedRecordsLeaveSoundValues) {
    std::vector<BYTE> longer = kPayloadV2;
    longer.insert(longer.end(), {1, 2, 3, 4, 5});
    std::vector<BYTE> shorter(kPayloadV2.begin(), kPayloadV2.end() - 1);
    // Field 7 announcing 200 characters where 4 follow.
    std::vector<BYTE> longName = kPayloadV2;
    longName[51] = 200;
    ASSERT_EQ(longName[52], 'L');
    // Field 3 with a status no writer gives and a day number that is not one.
    std::vector<BYTE> garbledDate = kPayloadV2;
    for (size_t i = 28; i < 40; ++i)
        garbledDate[i] = 0xFF;

    const struct {
        const char* what;
        std::vector<BYTE> record;
        bool sampleRead;
    } cases[] = {
        {"newer version", Record(3, kPayloadV2), false},
        {"empty payload", Record(2, {}), false},
        {"payload shorter than its version", Record(2, shorter), false},
        {"payload longer than its version", Record(2, longer), true},
        {"string beyond its payload", Record(2, longName), false},
    };
    for (const auto& c : cases) {
        CDesignParamBlk b;
        ASSERT_TRUE(LoadBytes(b, c.record)) << c.what;
        if (c.sampleRead) {
            ExpectSampleStored(b);
        } else {
            EXPECT_TRUE(b.m_strDesignName.IsEmpty()) << c.what;
            EXPECT_EQ(b.m_nEmbTable, 1) << c.what;
            EXPECT_EQ(b.m_dWidth, 0.0) << c.what;
        }
    }

    CDesignParamBlk dated;
    ASSERT_TRUE(LoadBytes(dated, Record(2, garbledDate)));
    EXPECT_EQ(dated.m_strDesignName, CString(L"Logo"));
    EXPECT_EQ(dated.m_dtField3.GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(dated.m_dtField3.m_dt, 0.0);

    // A field announcing more bytes than the stream holds fails the load.
    std::vector<BYTE> cut = Record(2, kPayloadV2);
    cut.resize(cut.size() - 20);
    CDesignParamBlk b;
    EXPECT_FALSE(LoadBytes(b, cut));
}

TEST_F(DesignParamBlkTest, CopiesOnlyWhatAFileHolds) {
    CDesignParamBlk source;
    SetSample(source);
    source.SetName(L"Design");

    std::unique_ptr<CObject> made(source.CopyObject(nullptr));
    auto* copy = DYNAMIC_DOWNCAST(CDesignParamBlk, made.get());
    ASSERT_NE(copy, nullptr);
    ExpectSampleStored(*copy);
    CString name;
    copy->GetName(name);
    EXPECT_EQ(name, CString(L"Design"));
    EXPECT_EQ(copy->m_nState, CDesignParamBlk::kStateInitial);

    CDesignParamBlk target;
    target.m_nState = CDesignParamBlk::kStateNew;
    target.m_nField39 = 5;
    target.m_strText40 = L"kept";
    target.m_dtInitialised = COleDateTime(12.0);
    EXPECT_EQ(source.CopyObject(&target), &target);
    ExpectSampleStored(target);
    EXPECT_EQ(target.m_nState, CDesignParamBlk::kStateNew);
    EXPECT_EQ(target.m_nField39, 5);
    EXPECT_EQ(target.m_strText40, CString(L"kept"));
    EXPECT_EQ(target.m_dtInitialised, COleDateTime(12.0));

    CParamBlk other(9);
    EXPECT_EQ(source.CopyObject(&other), nullptr);
}

TEST_F(DesignParamBlkTest, NamesTheDesignAfterTheFileTitle) {
    const struct {
        const wchar_t* path;
        const wchar_t* name;
    } cases[] = {
        {L"C:\\work\\logo.kdx", L"logo"},
        {L"C:\\work\\logo", L"logo"},
        {L"logo.v2.KDX", L"logo.v2"},
        {L"C:\\my.designs\\logo", L"logo"}, // a dot in a folder name is no extension
        {L"/home/sam/my.designs/sign.KDX", L"sign"},
        {L"", L""},
    };
    for (const auto& c : cases) {
        CDesignParamBlk b;
        CString path(c.path);
        b.fnSetPathName(path);
        EXPECT_EQ(b.m_strPathName, path);
        EXPECT_EQ(b.m_strDesignName, CString(c.name)) << path.ToUtf8();
    }
}

TEST_F(DesignParamBlkTest, MeasuresThePageOrItsActiveObjects) {
    auto page = NewPage();
    AddBox(*page, CWindow(100, 200, 1100, 2700));
    page->Extents(CWindow(0, 0, 50000, 40000));
    CDesignParamBlk b;
    b.fnGetExtents(page.get());
    EXPECT_EQ(b.m_dWidth, 50000.0);
    EXPECT_EQ(b.m_dHeight, 40000.0);

    QvSetAppParam(CDesignParamBlk::kSaveDataExtentsParam, 1);
    b.fnGetExtents(page.get());
    EXPECT_EQ(b.m_dWidth, 1000.0);
    EXPECT_EQ(b.m_dHeight, 2500.0);

    b.fnGetExtents(nullptr);
    EXPECT_EQ(b.m_dWidth, 1000.0);
}

TEST_F(DesignParamBlkTest, ADesignWithADamagedBlockOpensWithDefaultsOrFailsUntouched) {
    const std::string file = m_box.Path("home/blocks.KDX");
    const CString path = CString::FromUtf8(file);
    {
        auto page = NewPage();
        auto* design = new CDesignParamBlk;
        SetSample(*design);
        page->AddParam(design);
        ASSERT_TRUE(page->OnSaveDocument(path));
    }
    std::string bytes = SettingsSandbox::Read(file);
    // The design name's length byte, just before its characters.
    const std::string name("L\0o\0g\0o\0", 8);
    const size_t at = bytes.find(name);
    ASSERT_NE(at, std::string::npos);
    ASSERT_EQ(bytes[at - 1], '\x04');

    bytes[at - 1] = char(0x7F); // more characters than the field holds
    SettingsSandbox::Write(file, bytes);
    auto damaged = NewPage();
    ASSERT_TRUE(damaged->OnOpenDocument(path));
    auto* read = DYNAMIC_DOWNCAST(CDesignParamBlk, damaged->FindParam(CParamBlk::kDesignParamId));
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(read->m_strDesignName.IsEmpty());
    EXPECT_EQ(read->m_nEmbTable, 1);

    const std::string cut = bytes.substr(0, at + 4);
    SettingsSandbox::Write(file, cut);
    platform::MessageBoxResponder responder;
    auto truncated = NewPage();
    EXPECT_FALSE(truncated->OnOpenDocument(path));
    EXPECT_FALSE(truncated->GetLastErrorText().IsEmpty());
    EXPECT_EQ(SettingsSandbox::Read(file), cut);
}
