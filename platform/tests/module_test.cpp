#include "platform/system/module.h"
#include "platform/system/paths.h"
#include "platform/system/random.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

KELVANE_SETTINGS_SANDBOX();

namespace {

std::string SystemLibm() {
    for (const char* p : {"/lib/x86_64-linux-gnu/libm.so.6", "/usr/lib/x86_64-linux-gnu/libm.so.6",
                          "/lib64/libm.so.6", "/usr/lib/aarch64-linux-gnu/libm.so.6"})
        if (std::filesystem::exists(p))
            return p;
    return {};
}

} // namespace

TEST(Module, LoadsByWindowsStyleNameFromTheProgramFolder) {
    SettingsSandbox box;
    std::string libm = SystemLibm();
    if (libm.empty())
        GTEST_SKIP() << "no libm to copy";
    // A stand-in library in the program folder, found by the name the deliverables use and
    // whatever case they spell it in.
    std::filesystem::copy_file(libm, box.Path("program/libvanterusb.so"));
    for (const wchar_t* name : {L"vanterusb", L"vanterusb.dll", L"VanterUSB.DLL"}) {
        SCOPED_TRACE(CString(name).ToUtf8());
        HMODULE h = LoadLibrary(name);
        ASSERT_NE(h, nullptr) << platform::GetModuleLoadError().ToUtf8();
        auto cosine = reinterpret_cast<double (*)(double)>(GetProcAddress(h, "cos"));
        ASSERT_NE(cosine, nullptr);
        EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
        EXPECT_EQ(GetProcAddress(h, "no_such_entry_point"), nullptr);

        wchar_t path[2048];
        DWORD n = GetModuleFileName(h, path, 2048);
        ASSERT_GT(n, 0u);
        EXPECT_EQ(std::string(CString(path).ToUtf8()),
                  std::filesystem::canonical(box.Path("program/libvanterusb.so")).string());
        EXPECT_TRUE(FreeLibrary(h));
    }
}

TEST(Module, AFullWindowsStylePathFindsTheLibraryInThatFolderOnly) {
    SettingsSandbox box;
    std::string libm = SystemLibm();
    if (libm.empty())
        GTEST_SKIP() << "no libm to copy";
    std::filesystem::create_directories(box.Path("elsewhere"));
    std::filesystem::copy_file(libm, box.Path("elsewhere/libPdfStandIn.so"));
    HMODULE h = LoadLibraryW((CString(box.Path("elsewhere").c_str()) + L"\\PdfStandIn.dll"));
    ASSERT_NE(h, nullptr) << platform::GetModuleLoadError().ToUtf8();
    EXPECT_TRUE(FreeLibrary(h));
    // Not found by path in another folder, even when it sits in the program folder.
    std::filesystem::copy_file(libm, box.Path("program/libOther.so"));
    EXPECT_EQ(LoadLibraryW((CString(box.Path("elsewhere").c_str()) + L"\\Other.dll")), nullptr);
}

TEST(Module, MissingLibraryFailsWithAReason) {
    SettingsSandbox box;
    EXPECT_EQ(LoadLibrary(L"no_such_stand_in_library"), nullptr);
    EXPECT_FALSE(platform::GetModuleLoadError().IsEmpty());
    EXPECT_EQ(LoadLibrary(L""), nullptr);
    EXPECT_EQ(LoadLibrary(nullptr), nullptr);
    EXPECT_FALSE(FreeLibrary(nullptr));
    EXPECT_EQ(GetProcAddress(nullptr, "cos"), nullptr);
}

TEST(Module, FileNamesOfTheProgramAndOfOurLibrary) {
    wchar_t path[4096];
    DWORD n = GetModuleFileName(nullptr, path, 4096);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(CString(path), platform::ProgramFilePath());
    EXPECT_EQ(std::filesystem::path(CString(path).ToUtf8()).filename(), "platform_module_test");

    // The shared library that holds platform code is ours, found by an address in it.
    CString lib = platform::ModuleFilePathOf(reinterpret_cast<const void*>(&platform::rand));
    EXPECT_EQ(std::filesystem::path(lib.ToUtf8()).filename(), "libplatform.so");
    HMODULE h = GetModuleHandle(L"platform");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h, platform::ModuleHandleOf(reinterpret_cast<const void*>(&platform::rand)));
    ASSERT_GT(GetModuleFileName(h, path, 4096), 0u);
    EXPECT_EQ(CString(path), lib);

    // A short buffer is cut and terminated, and says so by returning its size.
    wchar_t small[5];
    EXPECT_EQ(GetModuleFileName(h, small, 5), 5u);
    EXPECT_EQ(small[4], L'\0');
    EXPECT_EQ(GetModuleFileName(h, small, 0), 0u);
}
