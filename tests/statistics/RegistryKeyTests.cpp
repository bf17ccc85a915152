#include <windows.h>

#include "statistics/RegistryKey.h"
#include "tests/statistics/ScratchRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>

using CollectorTests::ScratchRegistry;
using CollectorTests::UniqueName;
using Win32Reg::RegistryKey;

namespace {

bool IsWow64() {
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

bool HandleIsValid(HKEY key) {
    DWORD subKeys = 0;
    return ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

class RegistryKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = L"Software\\" + UniqueName(L"UninstCollRegKey");
        ASSERT_TRUE(scratch_.CreateKey(HKEY_CURRENT_USER, base_));
    }

    std::wstring base_;
    ScratchRegistry scratch_;
};

} // namespace

TEST_F(RegistryKeyTest, OpenSubKeyBuildsThePathFromTheRoot) {
    ASSERT_TRUE(scratch_.CreateKey(HKEY_CURRENT_USER, base_ + L"\\Child\\Grandchild"));
    const RegistryKey key = Win32Reg::CurrentUser.OpenSubKey(base_);
    ASSERT_TRUE(key.IsOpened());
    EXPECT_EQ(base_, key.Path());
    EXPECT_NE(nullptr, key.Handle());

    const RegistryKey child = key.OpenSubKey(L"Child");
    ASSERT_TRUE(child.IsOpened());
    EXPECT_EQ(base_ + L"\\Child", child.Path());
    const RegistryKey grandchild = child.OpenSubKey(L"Grandchild");
    EXPECT_TRUE(grandchild.IsOpened());
    EXPECT_EQ(base_ + L"\\Child\\Grandchild", grandchild.Path());
}

TEST_F(RegistryKeyTest, OpenSubKeyOfAMissingKeyIsNotOpened) {
    const RegistryKey missing = Win32Reg::CurrentUser.OpenSubKey(base_ + L"\\Missing");
    EXPECT_FALSE(missing.IsOpened());
    EXPECT_EQ(nullptr, missing.Handle());
    EXPECT_TRUE(missing.Path().empty());
    // Nothing below a key that is not open opens either.
    EXPECT_FALSE(missing.OpenSubKey(L"Anything").IsOpened());
    EXPECT_TRUE(missing.QueryStringValue(L"Value").empty());
    std::vector<std::wstring> names;
    missing.EnumSubKeys(names);
    EXPECT_TRUE(names.empty());
}

TEST_F(RegistryKeyTest, QueryStringValueReadsTextsUpToTheBufferLimit) {
    const std::wstring longest(2047, L'x');
    const std::wstring tooLong(2048, L'y');
    ASSERT_TRUE(scratch_.SetString(HKEY_CURRENT_USER, base_, L"Short", L"版本 1.2"));
    ASSERT_TRUE(scratch_.SetString(HKEY_CURRENT_USER, base_, L"Longest", longest));
    ASSERT_TRUE(scratch_.SetString(HKEY_CURRENT_USER, base_, L"TooLong", tooLong));
    ASSERT_TRUE(scratch_.SetString(HKEY_CURRENT_USER, base_, L"Empty", L""));
    ASSERT_TRUE(scratch_.SetDword(HKEY_CURRENT_USER, base_, L"Number", 0x00420041));

    const RegistryKey key = Win32Reg::CurrentUser.OpenSubKey(base_);
    ASSERT_TRUE(key.IsOpened());
    EXPECT_EQ(L"版本 1.2", key.QueryStringValue(L"Short"));
    EXPECT_EQ(longest, key.QueryStringValue(L"Longest"));
    // More than 4096 bytes: the platform leaves the buffer undefined, so nothing is returned.
    EXPECT_TRUE(key.QueryStringValue(L"TooLong").empty());
    EXPECT_TRUE(key.QueryStringValue(L"Empty").empty());
    EXPECT_TRUE(key.QueryStringValue(L"Missing").empty());
    // The type is not examined: a DWORD reads as the UTF-16 its bytes spell.
    EXPECT_EQ(L"AB", key.QueryStringValue(L"Number"));
}

TEST_F(RegistryKeyTest, EnumSubKeysAppendsNames) {
    const RegistryKey empty = Win32Reg::CurrentUser.OpenSubKey(base_);
    std::vector<std::wstring> names;
    empty.EnumSubKeys(names);
    EXPECT_TRUE(names.empty());

    for (const wchar_t* name : {L"Beta", L"Alpha", L"中文键"}) {
        ASSERT_TRUE(scratch_.CreateKey(HKEY_CURRENT_USER, base_ + L"\\" + name));
    }
    const RegistryKey key = Win32Reg::CurrentUser.OpenSubKey(base_);
    key.EnumSubKeys(names);
    std::vector<std::wstring> sorted(names);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha", L"Beta", L"中文键"}), sorted);

    // The vector is not cleared: a second call appends the names again.
    key.EnumSubKeys(names);
    EXPECT_EQ(6u, names.size());
}

TEST_F(RegistryKeyTest, EnumSubKeysStopsAfter1024Indices) {
    HKEY raw = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegOpenKeyExW(HKEY_CURRENT_USER, base_.c_str(), 0, KEY_ALL_ACCESS, &raw));
    for (int i = 0; i < 1030; ++i) {
        HKEY sub = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(raw, (L"K" + std::to_wstring(i)).c_str(), 0,
                                                   nullptr, 0, KEY_READ, nullptr, &sub, nullptr));
        ::RegCloseKey(sub);
    }
    ::RegCloseKey(raw);
    std::vector<std::wstring> names;
    Win32Reg::CurrentUser.OpenSubKey(base_).EnumSubKeys(names);
    EXPECT_EQ(1024u, names.size());
}

TEST_F(RegistryKeyTest, CopiesShareTheHandleUntilTheLastOneGoes) {
    ASSERT_TRUE(scratch_.SetString(HKEY_CURRENT_USER, base_, L"Name", L"value"));
    HKEY raw = nullptr;
    {
        auto original = std::make_unique<RegistryKey>(Win32Reg::CurrentUser.OpenSubKey(base_));
        ASSERT_TRUE(original->IsOpened());
        raw = original->Handle();
        EXPECT_EQ(1, original->ShareCount());

        RegistryKey copy(*original);
        EXPECT_EQ(2, original->ShareCount());
        RegistryKey assigned = Win32Reg::CurrentUser;
        assigned = copy;
        EXPECT_EQ(3, copy.ShareCount());

        original.reset();
        // The handle is still open for the copies.
        EXPECT_TRUE(HandleIsValid(raw));
        EXPECT_EQ(L"value", copy.QueryStringValue(L"Name"));
        EXPECT_EQ(L"value", assigned.QueryStringValue(L"Name"));

        RegistryKey moved(std::move(copy));
        EXPECT_EQ(2, moved.ShareCount());
        EXPECT_EQ(L"value", moved.QueryStringValue(L"Name"));
    }
    // The last copy closed it.
    EXPECT_FALSE(HandleIsValid(raw));
}

TEST_F(RegistryKeyTest, RootsAreNeverClosed) {
    {
        RegistryKey copy = Win32Reg::CurrentUser;
        RegistryKey other(HKEY_CURRENT_USER, L"");
        EXPECT_EQ(0, copy.ShareCount());
        EXPECT_EQ(0, other.ShareCount());
    }
    EXPECT_TRUE(HandleIsValid(HKEY_CURRENT_USER));
    EXPECT_TRUE(Win32Reg::CurrentUser.OpenSubKey(base_).IsOpened());
}

TEST_F(RegistryKeyTest, LocalMachineReadsThe32BitView) {
    ScratchRegistry hklm;
    const std::wstring path = L"Software\\" + UniqueName(L"UninstCollView");
    ASSERT_TRUE(hklm.SetString(HKEY_LOCAL_MACHINE, path, L"View", L"32", KEY_WOW64_32KEY));
    const RegistryKey key = Win32Reg::LocalMachine.OpenSubKey(path);
    ASSERT_TRUE(key.IsOpened());
    EXPECT_EQ(L"32", key.QueryStringValue(L"View"));
    hklm.Clear();
    EXPECT_FALSE(Win32Reg::LocalMachine.OpenSubKey(path).IsOpened());

    if (!IsWow64()) {
        return;
    }
    // A key that only the 64-bit view holds stays invisible to the 32-bit process.
    const std::wstring only64 = L"Software\\" + UniqueName(L"UninstCollView64");
    ASSERT_TRUE(hklm.SetString(HKEY_LOCAL_MACHINE, only64, L"View", L"64", KEY_WOW64_64KEY));
    EXPECT_FALSE(Win32Reg::LocalMachine.OpenSubKey(only64).IsOpened());
}
