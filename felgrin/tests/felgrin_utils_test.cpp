#include "felgrin/felgrin_utils.h"

#include "cutter_fixture.h"
#include "felgrin/cutter_utils.h"
#include "felgrin/dmpl_cutter.h"
#include "felgrin/vanter_qx3_cutter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Reaches the protected deletions and the read itself.
class Driver : public FelgrinUtils {
public:
    using FelgrinUtils::DeleteAllCuttersBut;
    using FelgrinUtils::ReadCuttersFromRegistry;
};

class InstalledCutters : public CutterTest {
protected:
    void TearDown() override {
        FelgrinUtils::QuitCutterDriver();
        CutterTest::TearDown();
    }

    // Installs a cutter as the cutting view does: made, saved, put in the table.
    CBaseCutter* Install(int type, const CString& name) {
        CBaseCutter* c = CCutterUtils::CreateCutter(type);
        EXPECT_NE(c, nullptr);
        c->fnSetName(name);
        EXPECT_EQ(c->fnWriteToRegistry(), 1);
        EXPECT_EQ(CCutterUtils::AddCutterToArray(c), 1);
        return c;
    }

    // As at the next start of the program.
    int Restart() {
        FelgrinUtils::QuitCutterDriver();
        return FelgrinUtils::LoadCutterDevices(nullptr);
    }

    static bool KeyExists(const CString& path) {
        HKEY k = nullptr;
        if (RegOpenKeyEx(HKEY_CURRENT_USER, path, 0, KEY_READ, &k) != ERROR_SUCCESS)
            return false;
        RegCloseKey(k);
        return true;
    }
    static CString CutterKey(const CString& name) { return CBaseCutter::fnCutterKeyPath(name); }

    // A string value in the hive; "<missing>" when there is none.
    static CString StoredString(const CString& path, const wchar_t* value) {
        HKEY k = nullptr;
        CString out = L"<missing>";
        if (RegOpenKeyEx(HKEY_CURRENT_USER, path, 0, KEY_READ, &k) == ERROR_SUCCESS) {
            CBaseCutter::fnRegReadString(k, value, out);
            RegCloseKey(k);
        }
        return out;
    }

    // Writes a value straight into the hive, as a damaged or foreign one would be.
    static void Put(const CString& path, const wchar_t* value, DWORD type, const void* data,
                    DWORD bytes) {
        HKEY k = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                 &k, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueEx(k, value, 0, type, static_cast<const BYTE*>(data), bytes),
                  ERROR_SUCCESS);
        RegCloseKey(k);
    }
    static void PutString(const CString& path, const wchar_t* value, const CString& text) {
        Put(path, value, REG_SZ, text.GetString(), DWORD((text.GetLength() + 1) * sizeof(wchar_t)));
    }
    static void PutDword(const CString& path, const wchar_t* value, DWORD v) {
        Put(path, value, REG_DWORD, &v, sizeof v);
    }

    static std::vector<CString> Names() {
        std::vector<CString> out;
        for (INT_PTR i = 0; i < CCutterUtils::m_oaCutters.GetSize(); ++i)
            out.push_back(CCutterUtils::m_oaCutters[i]->fnGetName());
        return out;
    }
};

TEST_F(InstalledCutters, TwoCuttersComeBackWithEverySettingInAFreshDriver) {
    CBaseCutter* a = Install(CUTTER_TYPE_DMPL, L"Shop Plotter");
    a->fnSetReturnToZero(1);
    a->fnSetOrigin(3);
    a->fnSetMaxWidth(1220000);
    a->fnSetMaxHeight(45000000);
    a->fnSetPenNumber(2);
    a->fnSetFeedMediaExtents(1);
    _CommsParams* p = a->fnGetCommsParams();
    p->szPortName = L"COM3";
    p->nBaudRate = 19200;
    p->nDataBits = 7;
    p->nStopBits = 2;
    p->nParity = 2;
    p->nFlowControl = COMMS_FLOW_DTRDSR | COMMS_FLOW_XONXOFF;
    a->fnSetOutFileName(L"C:\\jobs\\a.spl");
    ASSERT_EQ(a->fnWriteToRegistry(), 1);
    CBaseCutter* b = Install(CUTTER_TYPE_QX3, L"Vinyl QX3");
    b->SetPortName(L"FILE");
    ASSERT_EQ(b->fnWriteToRegistry(), 1);
    ASSERT_EQ(FelgrinUtils::SetPrefCutter(L"vinyl qx3", 1), 1);

    ASSERT_EQ(Restart(), 1);
    ASSERT_EQ(Names(), (std::vector<CString>{L"Shop Plotter", L"Vinyl QX3"}));
    CBaseCutter* ra = CCutterUtils::m_oaCutters[0];
    CBaseCutter* rb = CCutterUtils::m_oaCutters[1];
    EXPECT_EQ(ra->GetRuntimeClass(), RUNTIME_CLASS(CDMPLCutter));
    EXPECT_EQ(rb->GetRuntimeClass(), RUNTIME_CLASS(CVanterQX3Cutter));
    EXPECT_EQ(ra->GetType(), CUTTER_TYPE_DMPL);
    EXPECT_EQ(rb->GetType(), CUTTER_TYPE_QX3);
    EXPECT_EQ(ra->fnInquireReturnToZero(), 1);
    EXPECT_EQ(ra->fnGetiOrigin(), 3);
    EXPECT_EQ(ra->fnGetMaxWidth(), 1220000);
    EXPECT_EQ(ra->fnGetMaxHeight(), 45000000);
    EXPECT_EQ(ra->fnGetPenNumber(), 2);
    EXPECT_EQ(ra->FeedMediaExtents(), 1);
    const _CommsParams* q = ra->fnGetCommsParams();
    EXPECT_EQ(q->szPortName, L"COM3");
    EXPECT_EQ(q->nBaudRate, 19200);
    EXPECT_EQ(q->nDataBits, 7);
    EXPECT_EQ(q->nStopBits, 2);
    EXPECT_EQ(q->nParity, 2);
    EXPECT_EQ(q->nFlowControl, COMMS_FLOW_DTRDSR | COMMS_FLOW_XONXOFF);
    EXPECT_EQ(ra->fnGetOutFileName(), L"C:\\jobs\\a.spl");
    EXPECT_EQ(ra->fnGetStoredName(), L"Shop Plotter");
    EXPECT_EQ(rb->GetPortName(), L"FILE");
    EXPECT_EQ(rb->fnGetiOrigin(), 1);
    EXPECT_EQ(rb->fnGetMaxWidth(), 910000);
    EXPECT_EQ(CCutterUtils::GetPreferedCutter(), rb);
    EXPECT_EQ(StoredString(CBaseCutter::fnCuttersKeyPath(), PREFERED_CUTTER_VALUE), L"vinyl qx3");
    EXPECT_EQ(StoredString(CutterKey(L"Shop Plotter"), CUTTER_REG_CLASS), L"CDMPLCutter");
    EXPECT_EQ(StoredString(CutterKey(L"Vinyl QX3"), CUTTER_REG_CLASS), L"CVanterQX3Cutter");
    EXPECT_TRUE(m_messages.empty());
}

// Names, port names and paths of any length a shop uses come back whole: output to a
// shortened path or queue would go somewhere else, a shortened preferred name to no cutter.
TEST_F(InstalledCutters, LongNamesPortNamesAndPathsComeBackWhole) {
    const CString name = L"Large format plotter in the back workshop (roll 1)";
    const CString queue = L"Workshop_Vinyl_Cutter_Queue_On_Print_Server_2";
    const CString file = L"C:\\Users\\signs\\Documents\\Cutter output\\back workshop\\job.spl";
    ASSERT_GT(name.GetLength(), 31);
    ASSERT_GT(queue.GetLength(), 31);
    ASSERT_GT(file.GetLength(), 31);
    CBaseCutter* c = Install(CUTTER_TYPE_DMPL, name);
    Install(CUTTER_TYPE_DMPL, L"A");
    c->SetPortName(queue);
    c->fnSetOutFileName(file);
    ASSERT_EQ(c->fnWriteToRegistry(), 1);
    ASSERT_EQ(FelgrinUtils::SetPrefCutter(name, 1), 1);

    ASSERT_EQ(Restart(), 1);
    CBaseCutter* r = CCutterUtils::GetCutterFromName(name);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->GetPortName(), queue);
    EXPECT_EQ(r->fnGetOutFileName(), file);
    EXPECT_EQ(CCutterUtils::GetPreferedCutter(), r);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(InstalledCutters, AStringTooLongToBeRealIsReportedAndNotUsed) {
    CBaseCutter* c = Install(CUTTER_TYPE_DMPL, L"Plotter");
    c->SetPortName(L"COM2");
    ASSERT_EQ(c->fnWriteToRegistry(), 1);
    const CString port = CutterKey(L"Plotter") + L"\\" + CUTTER_REG_PORT;
    PutString(port, L"OutputFileName", CString(L'x', CUTTER_REG_STRING_MAX + 1));
    PutString(port, L"Name", CString(L'y', CUTTER_REG_STRING_MAX)); // the longest taken

    ASSERT_EQ(Restart(), 1);
    CBaseCutter* r = CCutterUtils::GetCutterFromName(L"Plotter");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->fnGetOutFileName(), CDMPLCutter().fnGetOutFileName());
    EXPECT_EQ(r->GetPortName(), CString(L'y', CUTTER_REG_STRING_MAX));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].find("OutputFileName"), std::string::npos);
    EXPECT_NE(m_messages[0].find("'Plotter'"), std::string::npos);
    EXPECT_EQ(m_messages[0].find("Name,"), std::string::npos);
}

// Each damaged value leaves its setting at the default of a new cutter, and is reported.
TEST_F(InstalledCutters, DamagedValuesKeepTheirDefaults) {
    struct Case {
        const wchar_t* subkey;
        const wchar_t* value;
        DWORD type;
        std::vector<BYTE> data;
        bool reported;
    };
    const std::vector<BYTE> text = {'9', 0, 0, 0, 0, 0, 0, 0};
    const std::vector<BYTE> eight = {1, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<Case> cases = {
        {CUTTER_REG_PORT, L"BaudRate", REG_SZ, text, true},
        {CUTTER_REG_PORT, L"Name", REG_DWORD, {1, 0, 0, 0}, true},
        {CUTTER_REG_PORT, L"OutputFileName", REG_BINARY, {1, 2, 3}, true},
        {CUTTER_REG_DRIVER, L"MaxWidth", REG_BINARY, eight, true},
        {CUTTER_REG_DRIVER, L"PenNumber", REG_BINARY, {7, 0}, true},
        {CUTTER_REG_DRIVER, L"Origin", REG_DWORD, {9, 0, 0, 0}, false}, // origin 9 is origin 0
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(CString(k.value).ToUtf8());
        m_messages.clear();
        FelgrinUtils::QuitCutterDriver();
        CBaseCutter* c = Install(CUTTER_TYPE_DMPL, L"Plotter");
        c->fnSetOrigin(2);
        ASSERT_EQ(c->fnWriteToRegistry(), 1);
        Put(CutterKey(L"Plotter") + L"\\" + k.subkey, k.value, k.type, k.data.data(),
            DWORD(k.data.size()));
        ASSERT_EQ(Restart(), 1);
        CBaseCutter* r = CCutterUtils::GetCutterFromName(L"Plotter");
        ASSERT_NE(r, nullptr);
        CDMPLCutter fresh;
        const _CommsParams* got = r->fnGetCommsParams();
        EXPECT_EQ(got->nBaudRate, fresh.fnGetCommsParams()->nBaudRate);
        EXPECT_EQ(got->szPortName, fresh.GetPortName());
        EXPECT_EQ(r->fnGetOutFileName(), fresh.fnGetOutFileName());
        EXPECT_EQ(r->fnGetMaxWidth(), fresh.fnGetMaxWidth());
        EXPECT_EQ(r->fnGetPenNumber(), fresh.fnGetPenNumber());
        EXPECT_EQ(r->fnGetiOrigin(), k.reported ? 2 : 0);
        EXPECT_EQ(m_messages.size(), k.reported ? 1u : 0u);
        FelgrinUtils::DeleteFelgrinCutter(L"Plotter");
    }
}

TEST_F(InstalledCutters, AnOriginMissingIsReadFromTheOldFreeXValue) {
    CBaseCutter* c = Install(CUTTER_TYPE_DMPL, L"Old");
    ASSERT_EQ(c->fnWriteToRegistry(), 1);
    const CString driver = CutterKey(L"Old") + L"\\" + CUTTER_REG_DRIVER;
    HKEY k = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, driver, 0, KEY_ALL_ACCESS, &k), ERROR_SUCCESS);
    RegDeleteValue(k, L"Origin");
    RegCloseKey(k);
    PutDword(driver, L"FreeX", 4);
    ASSERT_EQ(Restart(), 1);
    EXPECT_EQ(CCutterUtils::GetCutterFromName(L"Old")->fnGetiOrigin(), 4);
}

TEST_F(InstalledCutters, KeysOfUnknownClassesAreSkippedAndTheOthersLoad) {
    Install(CUTTER_TYPE_DMPL, L"Real");
    PutString(CutterKey(L"Ghost"), CUTTER_REG_CLASS, L"CLaserEngraver");
    PutString(CutterKey(L"Handle"), CUTTER_REG_CLASS, L"CCutterInstance"); // a class, no cutter
    PutDword(CutterKey(L"Number"), CUTTER_REG_CLASS, 1);
    PutDword(CutterKey(L"NoClass") + L"\\" + CUTTER_REG_DRIVER, L"PenNumber", 3);

    ASSERT_EQ(Restart(), 1);
    EXPECT_EQ(Names(), (std::vector<CString>{L"Real"}));
    ASSERT_EQ(m_messages.size(), 3u); // a key without a class is no cutter at all
    EXPECT_NE(m_messages[0].find("'Ghost'"), std::string::npos);
    EXPECT_NE(m_messages[0].find("CLaserEngraver"), std::string::npos);
}

TEST_F(InstalledCutters, LoadingTwiceAddsNothingAndAMissingKeyLoadsNothing) {
    EXPECT_EQ(FelgrinUtils::LoadCutterDevices(nullptr), 0);
    EXPECT_TRUE(KeyExists(CBaseCutter::fnCuttersKeyPath()));
    EXPECT_EQ(FelgrinUtils::LoadCutterDevices(nullptr), 0); // there, but empty
    Install(CUTTER_TYPE_DMPL, L"A");
    Install(CUTTER_TYPE_QX3, L"B");
    ASSERT_EQ(Restart(), 1);
    EXPECT_EQ(FelgrinUtils::LoadCutterDevices(nullptr), 1);
    EXPECT_EQ(Names(), (std::vector<CString>{L"A", L"B"}));
}

TEST_F(InstalledCutters, CuttersAreReadFromTheKeyGiven) {
    const CString other = L"Software\\Elsewhere\\Cutters";
    PutString(other + L"\\Far", CUTTER_REG_CLASS, L"CVanterQX3Cutter");
    EXPECT_EQ(Driver::ReadCuttersFromRegistry(other), 1);
    EXPECT_EQ(Names(), (std::vector<CString>{L"Far"}));
}

TEST_F(InstalledCutters, ANewNameMovesTheSettingsToAKeyOfThatName) {
    CBaseCutter* c = Install(CUTTER_TYPE_DMPL, L"Old name");
    c->fnSetName(L"New name");
    c->fnSetPenNumber(5);
    ASSERT_EQ(c->fnWriteToRegistry(), 1);
    EXPECT_FALSE(KeyExists(CutterKey(L"Old name")));
    EXPECT_TRUE(KeyExists(CutterKey(L"New name")));
    c->fnSetName(L"NEW NAME"); // the same key
    ASSERT_EQ(c->fnWriteToRegistry(), 1);
    EXPECT_TRUE(KeyExists(CutterKey(L"New name")));
    ASSERT_EQ(Restart(), 1);
    EXPECT_EQ(CCutterUtils::m_oaCutters[0]->fnGetPenNumber(), 5);
}

// A save that does not reach the hive says so, and the settings under the old name stay.
TEST_F(InstalledCutters, AFailedSaveIsReportedAndKeepsTheOldKey) {
    CBaseCutter* c = Install(CUTTER_TYPE_DMPL, L"Old name");
    c->fnSetName(L"New name");
    platform::SetHiveCommitHook([](const std::string&) { return false; });
    EXPECT_EQ(c->fnWriteToRegistry(), 0);
    platform::SetHiveCommitHook(nullptr);
    EXPECT_TRUE(KeyExists(CutterKey(L"Old name")));
    EXPECT_EQ(c->fnGetStoredName(), L"Old name");
    // Written in part: a path too long to be read back is not stored.
    c->fnSetOutFileName(CString(L'p', CUTTER_REG_STRING_MAX + 1));
    EXPECT_EQ(c->fnWriteToRegistry(), 0);
    EXPECT_TRUE(KeyExists(CutterKey(L"New name")));
    EXPECT_TRUE(KeyExists(CutterKey(L"Old name")));
    EXPECT_EQ(c->fnGetStoredName(), L"Old name");
    c->fnSetOutFileName(L"C:\\out.spl");
    ASSERT_EQ(c->fnWriteToRegistry(), 1);
    EXPECT_FALSE(KeyExists(CutterKey(L"Old name")));
}

TEST_F(InstalledCutters, AKeyLeftWithoutItsClassGetsItAtTheNextSave) {
    PutDword(CutterKey(L"Half") + L"\\" + CUTTER_REG_DRIVER, L"PenNumber", 3);
    std::unique_ptr<CBaseCutter> c(CCutterUtils::CreateCutter(CUTTER_TYPE_QX3));
    c->fnSetName(L"Half");
    ASSERT_EQ(c->fnWriteToRegistry(), 1);
    EXPECT_EQ(StoredString(CutterKey(L"Half"), CUTTER_REG_CLASS), L"CVanterQX3Cutter");
}

// Neither an empty name nor one with a key separator may write into or delete other keys.
TEST_F(InstalledCutters, NamesThatAreNoKeyOfTheirOwnAreNeitherSavedNorDeleted) {
    Install(CUTTER_TYPE_DMPL, L"Keep");
    for (const wchar_t* bad : {L"", L"Keep\\Port-Settings", L"..\\Other"}) {
        SCOPED_TRACE(CString(bad).ToUtf8());
        std::unique_ptr<CBaseCutter> c(CCutterUtils::CreateCutter(CUTTER_TYPE_DMPL));
        c->fnSetName(bad);
        EXPECT_EQ(c->fnWriteToRegistry(), 0);
        FelgrinUtils::DeleteFelgrinCutter(bad);
        EXPECT_TRUE(KeyExists(CutterKey(L"Keep")));
        EXPECT_TRUE(KeyExists(CutterKey(L"Keep") + L"\\" + CUTTER_REG_PORT));
    }
    ASSERT_EQ(Restart(), 1);
    EXPECT_EQ(Names(), (std::vector<CString>{L"Keep"}));
}

TEST_F(InstalledCutters, DeletingThePreferredCutterClearsThePreference) {
    Install(CUTTER_TYPE_DMPL, L"A");
    Install(CUTTER_TYPE_DMPL, L"B");
    ASSERT_EQ(FelgrinUtils::SetPrefCutter(L"B", 1), 1);
    FelgrinUtils::DeleteFelgrinCutter(L"B");
    EXPECT_EQ(CCutterUtils::GetPreferedCutter(), nullptr);
    EXPECT_EQ(StoredString(CBaseCutter::fnCuttersKeyPath(), PREFERED_CUTTER_VALUE), L"");
    EXPECT_FALSE(KeyExists(CutterKey(L"B")));
    EXPECT_EQ(Names(), (std::vector<CString>{L"A"}));
    ASSERT_EQ(Restart(), 1);
    EXPECT_EQ(Names(), (std::vector<CString>{L"A"}));
    EXPECT_EQ(CCutterUtils::GetPreferedCutter(), nullptr);
}

TEST_F(InstalledCutters, DeletingAnotherCutterKeepsThePreference) {
    CBaseCutter* a = Install(CUTTER_TYPE_DMPL, L"A");
    Install(CUTTER_TYPE_DMPL, L"B");
    ASSERT_EQ(FelgrinUtils::SetPrefCutter(L"A", 1), 1);
    FelgrinUtils::DeleteFelgrinCutter(L"b"); // names are exact: nothing in the table goes
    EXPECT_EQ(Names(), (std::vector<CString>{L"A", L"B"}));
    FelgrinUtils::DeleteFelgrinCutter(L"B");
    EXPECT_EQ(Names(), (std::vector<CString>{L"A"}));
    EXPECT_EQ(CCutterUtils::GetPreferedCutter(), a);
    EXPECT_EQ(StoredString(CBaseCutter::fnCuttersKeyPath(), PREFERED_CUTTER_VALUE), L"A");
    // A key with no cutter in the table goes too.
    PutString(CutterKey(L"Stray"), CUTTER_REG_CLASS, L"CDMPLCutter");
    FelgrinUtils::DeleteFelgrinCutter(L"Stray");
    EXPECT_FALSE(KeyExists(CutterKey(L"Stray")));
}

TEST_F(InstalledCutters, DeleteAllButOneKeepsOnlyThatOne) {
    Install(CUTTER_TYPE_DMPL, L"A");
    Install(CUTTER_TYPE_QX3, L"B");
    Install(CUTTER_TYPE_DMPL, L"C");
    ASSERT_EQ(FelgrinUtils::SetPrefCutter(L"C", 1), 1);
    Driver::DeleteAllCuttersBut(L"B");
    EXPECT_EQ(Names(), (std::vector<CString>{L"B"}));
    EXPECT_EQ(CCutterUtils::GetPreferedCutter(), nullptr);
    ASSERT_EQ(Restart(), 1);
    EXPECT_EQ(Names(), (std::vector<CString>{L"B"}));
}

TEST_F(InstalledCutters, TheNamesOfferedLeaveOutTheScanningLaser) {
    struct Case {
        const wchar_t* prefered;
        int place;
    };
    Install(CUTTER_TYPE_DMPL, L"A");
    Install(CUTTER_TYPE_DMPL, L"Scanning Laser");
    Install(CUTTER_TYPE_DMPL, L"B");
    Install(CUTTER_TYPE_DMPL, L"Scanning Laser 2"); // only the exact name is left out
    // A preferred scanning laser has no place in the list: -1, not the place of "B".
    for (const Case& k : std::vector<Case>{{L"B", 1},
                                           {L"A", 0},
                                           {L"Scanning Laser", -1},
                                           {L"Scanning Laser 2", 2},
                                           {nullptr, -1}}) {
        SCOPED_TRACE(k.prefered ? CString(k.prefered).ToUtf8() : "none");
        CCutterUtils::SetPreferedCutter(k.prefered ? CCutterUtils::GetCutterFromName(k.prefered)
                                                   : nullptr);
        CStringArray names;
        names.Add(L"left over");
        EXPECT_EQ(FelgrinUtils::InquireCutterNames(names), k.place);
        ASSERT_EQ(names.GetSize(), 3);
        EXPECT_EQ(names[0], L"A");
        EXPECT_EQ(names[1], L"B");
        EXPECT_EQ(names[2], L"Scanning Laser 2");
    }
}

TEST_F(InstalledCutters, InstancesAreFoundByNameInAnyCaseOrAsThePreferredCutter) {
    CBaseCutter* a = Install(CUTTER_TYPE_DMPL, L"A");
    CBaseCutter* b = Install(CUTTER_TYPE_QX3, L"B");
    std::unique_ptr<CCutterInstance> i(FelgrinUtils::GetCutterInstance(L"a"));
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(i->fnGetCutter(), a);
    EXPECT_EQ(CCutterUtils::GetCutterFromName(L"a"), nullptr);

    // No preferred cutter: the empty name finds none.
    EXPECT_EQ(FelgrinUtils::GetCutterInstance(L""), nullptr);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], "The Cutter named ''\ndoes not exist\n");
    ASSERT_EQ(FelgrinUtils::SetPrefCutter(L"b", 0), 1);
    std::unique_ptr<CCutterInstance> p(FelgrinUtils::GetCutterInstance(L""));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->fnGetCutter(), b);

    EXPECT_EQ(FelgrinUtils::GetCutterInstance(L"Nobody %s %n"), nullptr);
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_messages[1], "The Cutter named 'Nobody %s %n'\ndoes not exist\n");
}

TEST_F(InstalledCutters, APreferenceIsSetOnlyForACutterInTheTable) {
    CBaseCutter* a = Install(CUTTER_TYPE_DMPL, L"Alpha");
    ASSERT_EQ(FelgrinUtils::SetPrefCutter(L"ALPHA", 0), 1);
    EXPECT_EQ(CCutterUtils::GetPreferedCutter(), a);
    EXPECT_EQ(StoredString(CBaseCutter::fnCuttersKeyPath(), PREFERED_CUTTER_VALUE), L"<missing>");
    EXPECT_EQ(FelgrinUtils::SetPrefCutter(L"Beta", 1), 0);
    EXPECT_EQ(CCutterUtils::GetPreferedCutter(), a);
    EXPECT_EQ(StoredString(CBaseCutter::fnCuttersKeyPath(), PREFERED_CUTTER_VALUE), L"<missing>");
}

TEST_F(InstalledCutters, ThePreferredNameIsFoundInAnyCaseAtLoad) {
    Install(CUTTER_TYPE_DMPL, L"Alpha");
    Install(CUTTER_TYPE_DMPL, L"Beta");
    PutString(CBaseCutter::fnCuttersKeyPath(), PREFERED_CUTTER_VALUE, L"BETA");
    ASSERT_EQ(Restart(), 1);
    ASSERT_NE(CCutterUtils::GetPreferedCutter(), nullptr);
    EXPECT_EQ(CCutterUtils::GetPreferedCutter()->fnGetName(), L"Beta");
    PutString(CBaseCutter::fnCuttersKeyPath(), PREFERED_CUTTER_VALUE, L"Gamma");
    ASSERT_EQ(Restart(), 1);
    EXPECT_EQ(CCutterUtils::GetPreferedCutter(), nullptr);
}

TEST_F(InstalledCutters, ADamagedPreferredNameIsReportedAndNoCutterIsPreferred) {
    Install(CUTTER_TYPE_DMPL, L"Alpha");
    const CString root = CBaseCutter::fnCuttersKeyPath();
    // Too long to be a name: not cut down to one that happens to match.
    PutString(root, PREFERED_CUTTER_VALUE, L"Alpha" + CString(L' ', CUTTER_REG_STRING_MAX));
    ASSERT_EQ(Restart(), 1);
    EXPECT_EQ(CCutterUtils::GetPreferedCutter(), nullptr);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].find("PreferedCutter"), std::string::npos);
    PutDword(root, PREFERED_CUTTER_VALUE, 1);
    ASSERT_EQ(Restart(), 1);
    EXPECT_EQ(CCutterUtils::GetPreferedCutter(), nullptr);
    EXPECT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(Names(), (std::vector<CString>{L"Alpha"}));
}

TEST_F(InstalledCutters, TheCurrentCutterIsTheFirstInTheTable) {
    EXPECT_EQ(FelgrinUtils::GetFelgrinCurrentCutter(), nullptr);
    CBaseCutter* a = Install(CUTTER_TYPE_QX3, L"Z first");
    Install(CUTTER_TYPE_DMPL, L"A second");
    EXPECT_EQ(FelgrinUtils::GetFelgrinCurrentCutter(), a);
    EXPECT_EQ(FelgrinUtils::QuitCutterDriver(), 0);
    EXPECT_EQ(FelgrinUtils::GetFelgrinCurrentCutter(), nullptr);
    EXPECT_EQ(CCutterUtils::GetPreferedCutter(), nullptr);
}

} // namespace
