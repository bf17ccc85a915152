// The test bench itself: what every run relies on, and faults that it must see although the
// program may still exit with code 0 under Wine (those run only when their entry asks by name).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

// The default entry runs under C.UTF-8, the *_cp936 entry under a Chinese locale.
TEST(Bench, AnsiCodePageComesFromTheLocale) {
    const char* expected = std::getenv("UNINST_EXPECT_ACP");
    EXPECT_EQ(::GetACP(), expected != nullptr ? static_cast<UINT>(std::atoi(expected)) : 1252u);
}

// The prefix maps the skins' Chinese face names to the installed CJK font.
TEST(Bench, ChineseFaceNamesAreSubstitutedByTheirOwnNames) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                              L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes",
                              0, KEY_READ, &key),
              ERROR_SUCCESS);
    for (const wchar_t* face : {L"微软雅黑", L"宋体"}) {
        wchar_t value[64] = {};
        DWORD size = sizeof(value);
        EXPECT_EQ(
            ::RegQueryValueExW(key, face, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size),
            ERROR_SUCCESS);
        EXPECT_STREQ(value, L"WenQuanYi Micro Hei");
    }
    ::RegCloseKey(key);
}

int Recurse(volatile char* previous, int depth) {
    // Far beyond any thread's stack: the overflow comes first.
    if (depth > 1 << 30) {
        return 0;
    }
    volatile char frame[4096];
    frame[0] = static_cast<char>(depth);
    frame[sizeof frame - 1] = previous != nullptr ? previous[0] : 0;
    return Recurse(frame, depth + 1) + frame[sizeof frame - 1];
}

TEST(EntryCheck, DISABLED_StackOverflow) {
    EXPECT_NE(Recurse(nullptr, 0), 0);
}

TEST(EntryCheck, DISABLED_HeapOverrun) {
    char* volatile block = new char[24];
    volatile std::size_t length = 32;
    // Eight bytes past the end: the test itself sees nothing wrong.
    std::memset(block, 'x', length);
    delete[] block;
    SUCCEED();
}

TEST(EntryCheck, DISABLED_MallocOverrun) {
    // A text of four characters whose terminator lands one character past its block: the write
    // the platform's own heap checks do not see.
    wchar_t* volatile text = static_cast<wchar_t*>(std::malloc(4 * sizeof(wchar_t)));
    volatile std::size_t length = 4;
    std::wmemcpy(text, L"abcd", length);
    text[length] = 0;
    std::free(text);
    SUCCEED();
}

} // namespace
