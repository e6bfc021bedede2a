#include "qvutils/qv_utils.h"

#include "platform/core/string_array.h"
#include "platform/framework/frame_wnd.h"
#include "platform/framework/status_bar.h"
#include "platform/tests/settings_sandbox.h"
#include "qvutils/host_services.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

class QvUtils : public ::testing::Test {
protected:
    void SetUp() override {
        m_sandbox = std::make_unique<SettingsSandbox>();
        m_dir = m_sandbox->Path("home");
        qvhost::ResetAppParams();
        QvResetPreferenceCache();
        QvResetContextMasks();
        FNEnableLocking(1);
        ::setenv("HOME", m_dir.c_str(), 1);
        ::setenv("XDG_DATA_HOME", (m_dir + "/data").c_str(), 1);
        qvhost::SetMessageBoxResponder([this](const CString& text, UINT) {
            m_messages.push_back(text.ToUtf8());
            return qvhost::kIdOk;
        });
    }
    void TearDown() override {
        qvhost::SetMessageBoxResponder(nullptr);
        qvhost::ResetAppParams();
        m_sandbox.reset();
    }
    void Touch(const std::string& name) { std::ofstream(m_dir + "/" + name) << "x"; }
    bool Exists(const std::string& name) { return std::filesystem::exists(m_dir + "/" + name); }
    std::unique_ptr<SettingsSandbox> m_sandbox;
    std::string m_dir;
    std::vector<std::string> m_messages;
};

TEST_F(QvUtils, DisplayPromptsTurnMillimetresIntoInches) {
    struct Case {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {
        {L"Offset 12.5mm", L"Offset 0.49in"},
        {L"10mm and 10mm", L"0.39in and 0.39in"},
        {L"mm", L"mm"},
        {L"25.4mm x 50.8mm", L"1.00in x 2.00in"},
        {L"no units", L"no units"},
    };
    for (const Case& c : cases) {
        CString text = c.in;
        QvConvertDisplayPrompt(text);
        EXPECT_EQ(text, c.out) << text.ToUtf8();
    }
}

TEST_F(QvUtils, CachedPreferencesReadOnceAndSettersReturnTheOldValue) {
    EXPECT_EQ(QvSetAutoPan(0), 1);
    qvhost::SetAppParam(L"AutoPan", 7); // changed behind the cache
    EXPECT_EQ(QvGetAutoPan(), 0);
    EXPECT_EQ(qvhost::GetAppParam(L"AutoPan", -1), 7);
    EXPECT_EQ(QvGetResizeOn(), 1);
    EXPECT_EQ(QvGetStopRescaleOn(), 0);
    EXPECT_EQ(QvGetTextAutoCutters(), 1);
    EXPECT_EQ(QvSetUseLargeCrossHair(1), 0);
    EXPECT_EQ(qvhost::GetAppParam(L"Use Large Cross Hair", -1), 1);
    // Uncached ones follow the parameter.
    EXPECT_EQ(QvStandardPaletteSize(), 15);
    qvhost::SetAppParam(L"Standard Palette Size", 20);
    EXPECT_EQ(QvStandardPaletteSize(), 20);
    QvSetSilentModeOn(1);
    EXPECT_EQ(QvGetSilentModeOn(), 1);
    EXPECT_EQ(QvGetAutoPanDelay(), 1);
    EXPECT_EQ(QvGetInchDisplayOn(), 0);
    EXPECT_STREQ(QvDefaultFontName(), L"DefaultFontName");
    EXPECT_STREQ(QvDefaultDofFontName(), L"DefaultDofFontName");
}

TEST_F(QvUtils, ContextMasksHoldTenContextsAndAnAllowedMask) {
    for (int i = 1; i <= 11; ++i)
        QvAddContextMask(i, 1 << i);
    EXPECT_EQ(QvGetContextMask(10), DWORD(1 << 10));
    EXPECT_EQ(QvGetContextMask(11), 0u); // the eleventh is ignored
    EXPECT_EQ(QvGetContextAllowed(3), 1);
    EXPECT_EQ(QvGetContextAllowed(42), 0);
    QvSetContextAllowed(0);
    EXPECT_EQ(QvGetContextAllowed(3), 0);
    QvSetContextAllowed(3);
    EXPECT_EQ(QvGetContextAllowed(3), 1);
    EXPECT_EQ(QvGetContextAllowed(4), 0);
    QvSetContextAllowed(-1);
    EXPECT_EQ(QvGetContextAllowed(4), 1);
}

TEST_F(QvUtils, LockFilesBesideDesigns) {
    CString path = CString(m_dir + "/a.kdx");
    EXPECT_EQ(FNGetLockFileName(path), 1);
    EXPECT_EQ(path, CString(m_dir + "/a.LOC"));
    CString text = L"a.txt";
    EXPECT_EQ(FNGetLockFileName(text), 0);

    Touch("a.LOC");
    EXPECT_EQ(FNUnLockFile(CString(m_dir + "/a.kdx")), 1);
    EXPECT_FALSE(Exists("a.LOC"));
    Touch("a.txt");
    EXPECT_EQ(FNUnLockFile(CString(m_dir + "/a.txt")), 1);
    EXPECT_TRUE(Exists("a.txt"));

    Touch("second.LOC");
    EXPECT_EQ(FNMoveLockFile(CString(m_dir + "/first.KDX"), CString(m_dir + "/second.kdx")), 1);
    EXPECT_TRUE(Exists("first.LOC"));
    EXPECT_FALSE(Exists("second.LOC"));

    Touch("b.LOC");
    EXPECT_EQ(FNEnableLocking(0), 1);
    EXPECT_EQ(FNUnLockFile(CString(m_dir + "/b.KDX")), 1);
    EXPECT_TRUE(Exists("b.LOC"));
}

TEST_F(QvUtils, PipeStrings) {
    CString filter = L"Designs|*.kdx|All|*.*|";
    wchar_t* p = FNConvertPipesToNull(filter);
    EXPECT_STREQ(p, L"Designs");
    EXPECT_STREQ(p + 8, L"*.kdx");
    wchar_t text[] = L"one|two";
    EXPECT_STREQ(FNGetNextPipeTerminator(text), L"two");
    EXPECT_STREQ(text, L"one");
    EXPECT_EQ(FNGetNextPipeTerminator(text + 4), nullptr);
    EXPECT_EQ(FNGetNextPipeTerminator(nullptr), nullptr);
    CStringArray a;
    EXPECT_EQ(fnGetRefSearchStrings(&a), &a);
    ASSERT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a[0], L"%Date%");
    EXPECT_EQ(a[1], L"%DateUS%");
}

TEST_F(QvUtils, RecycleBinKeepsTheFileRestorable) {
    Touch("old.kdx");
    EXPECT_EQ(QvSendToRecycleBin(CString(m_dir + "/old.kdx")), 1);
    EXPECT_FALSE(Exists("old.kdx"));
    EXPECT_TRUE(Exists("data/Trash/files/old.kdx"));
    EXPECT_TRUE(Exists("data/Trash/info/old.kdx.trashinfo"));
    EXPECT_EQ(QvSendToRecycleBin(CString(m_dir + "/missing.kdx")), 0);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], "Unable to Delete File " + m_dir + "/missing.kdx");
}

TEST(QvIsIPv4Address, FourNumbersUpTo255WithoutPathSeparators) {
    struct Case {
        const wchar_t* name;
        bool address;
    } cases[] = {
        {L"192.168.0.10", true},
        {L"0.0.0.0", true},
        {L"255.255.255.255", true},
        {L"256.1.1.1", false},
        {L"1.2.3", false},
        {L".1.2.3", false},
        {L"COM1", false},
        {L"1.2.3.4\\x", false},
        {L"a/1.2.3.4", false},
        {L"1.2.3.4x", true},
        {L"1.2.3.99999999999", false},
        {L"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QvIsIPv4Address(c.name), c.address) << CString(c.name).ToUtf8();
}

} // namespace

namespace {

TEST(QvStatusText, TheMainWindowsStatusBarShowsTheTextAtOnce) {
    QvSetStatusText(0, L"nobody listens"); // no main window: nothing happens
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, L"Kelvane", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    AfxSetMainWnd(frame);
    QvSetStatusText(0, L"no status bar yet");
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(frame));
    const UINT panes[] = {ID_SEPARATOR, 17655, 17656};
    bar.SetIndicators(panes, 3);
    QvSetStatusText(1, L"Importing C:\\A.PLT");
    EXPECT_EQ(bar.GetPaneText(1), L"Importing C:\\A.PLT");
    QvSetStatusText(2, nullptr);
    EXPECT_EQ(bar.GetPaneText(2), L" ");
    RECT update;
    EXPECT_FALSE(GetUpdateRect(bar.m_hWnd, &update, FALSE)); // painted already
    QvSetStatusText(9, L"no such pane");
    frame->DestroyWindow();
    platform::ResetMessageQueue();
}

} // namespace
