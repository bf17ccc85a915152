#include <windows.h>

#include "statistics/InstalledSoftwareScanner.h"
#include "statistics/RegistryKey.h"
#include "tests/statistics/ScratchRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>

using CollectorTests::ScratchRegistry;
using CollectorTests::UniqueName;

namespace {

const std::wstring kUninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::wstring kWowUninstall =
    L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

bool IsWow64() {
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

// Programs registered under the real Uninstall keys for one test; the token keeps their names
// apart from whatever else the machine lists.
class InstalledSoftwareTest : public ::testing::Test {
protected:
    void SetUp() override {
        token_ = UniqueName(L"Zq");
        lowerToken_ = LowerAsciiLetters(token_);
    }

    bool AddProgram(HKEY root, const std::wstring& uninstallPath, const std::wstring& subKey,
                    const std::wstring& displayName, const std::wstring& version, REGSAM view = 0) {
        const std::wstring path = uninstallPath + L"\\" + subKey;
        if (!scratch_.CreateKey(root, path, view)) {
            return false;
        }
        if (!displayName.empty() &&
            !scratch_.SetString(root, path, L"DisplayName", displayName, view)) {
            return false;
        }
        return version.empty() || scratch_.SetString(root, path, L"DisplayVersion", version, view);
    }

    // The records whose sub key name carries this test's token, in scan order.
    std::vector<InstalledSoftwareRecord> OwnRecords(const InstalledSoftwareScanner& scanner) const {
        std::vector<InstalledSoftwareRecord> own;
        for (const auto& r : scanner.Records()) {
            if (r.subKeyName.find(token_) != std::wstring::npos ||
                r.displayName.find(token_) != std::wstring::npos) {
                own.push_back(r);
            }
        }
        return own;
    }

    std::wstring token_;
    std::wstring lowerToken_;
    ScratchRegistry scratch_;
};

bool HasSubKey(const std::vector<InstalledSoftwareRecord>& records, const std::wstring& name) {
    return std::any_of(records.begin(), records.end(),
                       [&](const InstalledSoftwareRecord& r) { return r.subKeyName == name; });
}

} // namespace

TEST(InstalledSoftwareNames, SkippedSubKeys) {
    EXPECT_TRUE(IsSkippedSubKey(L"_Internal"));
    EXPECT_TRUE(IsSkippedSubKey(L"_"));
    EXPECT_TRUE(IsSkippedSubKey(L"KB2533623"));
    EXPECT_TRUE(IsSkippedSubKey(L"KB0"));
    EXPECT_TRUE(IsSkippedSubKey(L"{}"));
    EXPECT_TRUE(IsSkippedSubKey(L"{}Tail"));
    EXPECT_FALSE(IsSkippedSubKey(L""));
    EXPECT_FALSE(IsSkippedSubKey(L"K"));
    EXPECT_FALSE(IsSkippedSubKey(L"KB"));
    EXPECT_FALSE(IsSkippedSubKey(L"KBx1"));
    EXPECT_FALSE(IsSkippedSubKey(L"kb123"));
    EXPECT_FALSE(IsSkippedSubKey(L"Kb123"));
    EXPECT_FALSE(IsSkippedSubKey(L"{90140000-0011-0000-0000-0000000FF1CE}"));
    EXPECT_FALSE(IsSkippedSubKey(L"{"));
    EXPECT_FALSE(IsSkippedSubKey(L"Product_1"));
}

TEST(InstalledSoftwareNames, LowerCasesOnlyAsciiLetters) {
    EXPECT_EQ(L"abc xyz 123 ÄÖ 搜狗拼音 ß", LowerAsciiLetters(L"ABC xYz 123 ÄÖ 搜狗拼音 ß"));
}

TEST_F(InstalledSoftwareTest, ScanListsMachineProgramsBeforeUserPrograms) {
    const std::wstring hklm = L"Hklm" + token_;
    const std::wstring hkcu = L"Hkcu" + token_;
    ASSERT_TRUE(AddProgram(HKEY_LOCAL_MACHINE, kUninstall, hklm, L"Machine " + token_, L"1.0",
                           KEY_WOW64_32KEY));
    ASSERT_TRUE(AddProgram(HKEY_CURRENT_USER, kUninstall, hkcu, L"用户程序 " + token_, L"2.0"));

    InstalledSoftwareScanner scanner;
    scanner.ScanAll();
    const auto own = OwnRecords(scanner);
    ASSERT_GE(own.size(), 2u);
    EXPECT_EQ(hklm, own[0].subKeyName);
    EXPECT_EQ(L"Machine " + token_, own[0].displayName);
    EXPECT_EQ(L"1.0", own[0].displayVersion);
    EXPECT_EQ(hkcu, own[1].subKeyName);
    EXPECT_EQ(L"用户程序 " + token_, own[1].displayName);
    EXPECT_EQ(L"2.0", own[1].displayVersion);

    // A second scan rebuilds the same list. Only this test's own programs
    // are compared: other test programs change the registry meanwhile.
    scanner.ScanAll();
    const auto again = OwnRecords(scanner);
    ASSERT_EQ(own.size(), again.size());
    for (size_t i = 0; i < own.size(); ++i) {
        EXPECT_EQ(own[i].subKeyName, again[i].subKeyName);
        EXPECT_EQ(own[i].displayName, again[i].displayName);
        EXPECT_EQ(own[i].displayVersion, again[i].displayVersion);
    }
}

TEST_F(InstalledSoftwareTest, Hklm32BitEntriesAreFoundThroughBothHklmRoots) {
    const std::wstring viaNode = L"Node" + token_;
    // Written through the explicit WOW6432Node path of the 64-bit view: the same keys that the
    // 32-bit process sees as its own HKLM\SOFTWARE.
    ASSERT_TRUE(AddProgram(HKEY_LOCAL_MACHINE, kWowUninstall, viaNode, L"Node " + token_, L"4.0",
                           IsWow64() ? KEY_WOW64_64KEY : 0));
    InstalledSoftwareScanner first;
    first.ScanRoot(InstalledSoftwareScanner::kRootTexts[0]);
    // Without WoW64 the WOW6432Node path is an ordinary key that only the third root names.
    EXPECT_EQ(HasSubKey(first.Records(), viaNode), IsWow64());
    InstalledSoftwareScanner third;
    third.ScanRoot(InstalledSoftwareScanner::kRootTexts[2]);
    EXPECT_TRUE(HasSubKey(third.Records(), viaNode));

    // Listed twice by the full scan, entered once.
    InstalledSoftwareScanner scanner;
    scanner.ScanAll();
    InstalledSoftwareMap found;
    EXPECT_EQ(1, FindInstalledSoftware(found, scanner, L"node " + lowerToken_));
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(L"4.0", found[L"Node " + token_]);
}

TEST_F(InstalledSoftwareTest, UserWow6432NodeEntriesAreFound) {
    const std::wstring wow = L"UserWow" + token_;
    // The literal HKCU\SOFTWARE\WOW6432Node path (Wine then redirects the 32-bit view of
    // HKCU\SOFTWARE there too; the scratch keys go with the test).
    ASSERT_TRUE(AddProgram(HKEY_CURRENT_USER, kWowUninstall, wow, L"Wow user " + token_, L"3.0",
                           IsWow64() ? KEY_WOW64_64KEY : 0));
    InstalledSoftwareScanner fourth;
    fourth.ScanRoot(InstalledSoftwareScanner::kRootTexts[3]);
    ASSERT_TRUE(HasSubKey(fourth.Records(), wow));

    InstalledSoftwareScanner scanner;
    scanner.ScanAll();
    const auto own = OwnRecords(scanner);
    ASSERT_FALSE(own.empty());
    EXPECT_EQ(wow, own.back().subKeyName);
    EXPECT_EQ(L"Wow user " + token_, own.back().displayName);
    EXPECT_EQ(L"3.0", own.back().displayVersion);
}

// Where there is no 64-bit view, the flag is ignored and the program is in the only one.
TEST_F(InstalledSoftwareTest, ProgramsOnlyIn64BitViewAreFoundOnce) {
    const std::wstring only64 = L"Only64" + token_;
    ASSERT_TRUE(AddProgram(HKEY_LOCAL_MACHINE, kUninstall, only64, L"Only64 " + token_, L"6.4",
                           KEY_WOW64_64KEY));
    InstalledSoftwareScanner scanner;
    scanner.ScanAll();
    EXPECT_EQ(OwnRecords(scanner).size(), 1u);
    EXPECT_TRUE(HasSubKey(scanner.Records(), only64));
}

TEST_F(InstalledSoftwareTest, SkipsUpdatesInternalEntriesAndNamelessKeys) {
    const std::wstring display = L"Listed " + token_;
    ASSERT_TRUE(AddProgram(HKEY_CURRENT_USER, kUninstall, L"KB9" + token_, display, L"1"));
    ASSERT_TRUE(AddProgram(HKEY_CURRENT_USER, kUninstall, L"_" + token_, display, L"1"));
    ASSERT_TRUE(AddProgram(HKEY_CURRENT_USER, kUninstall, L"{}" + token_, display, L"1"));
    ASSERT_TRUE(AddProgram(HKEY_CURRENT_USER, kUninstall, L"KBx" + token_, display, L"1"));
    ASSERT_TRUE(AddProgram(HKEY_CURRENT_USER, kUninstall, L"kb1" + token_, display, L"1"));
    ASSERT_TRUE(AddProgram(HKEY_CURRENT_USER, kUninstall, L"{A1B2}" + token_, display, L"1"));
    ASSERT_TRUE(AddProgram(HKEY_CURRENT_USER, kUninstall, L"NoName" + token_, L"", L"1"));
    ASSERT_TRUE(AddProgram(HKEY_CURRENT_USER, kUninstall, L"NoVersion" + token_, display, L""));

    InstalledSoftwareScanner scanner;
    scanner.ScanAll();
    const auto own = OwnRecords(scanner);
    EXPECT_FALSE(HasSubKey(own, L"KB9" + token_));
    EXPECT_FALSE(HasSubKey(own, L"_" + token_));
    EXPECT_FALSE(HasSubKey(own, L"{}" + token_));
    EXPECT_TRUE(HasSubKey(own, L"KBx" + token_));
    EXPECT_TRUE(HasSubKey(own, L"kb1" + token_));
    EXPECT_TRUE(HasSubKey(own, L"{A1B2}" + token_));
    EXPECT_FALSE(HasSubKey(own, L"NoName" + token_));
    ASSERT_TRUE(HasSubKey(own, L"NoVersion" + token_));
    for (const auto& r : own) {
        if (r.subKeyName == L"NoVersion" + token_) {
            EXPECT_TRUE(r.displayVersion.empty());
        }
    }
}

TEST_F(InstalledSoftwareTest, FindMatchesLowerCasedPatternsAnywhereInTheName) {
    ASSERT_TRUE(AddProgram(HKEY_CURRENT_USER, kUninstall, L"A" + token_,
                           L"Super Player " + token_ + L" Deluxe", L"5.1"));
    ASSERT_TRUE(
        AddProgram(HKEY_CURRENT_USER, kUninstall, L"B" + token_, L"360安全卫士 " + token_, L"9.7"));
    ASSERT_TRUE(AddProgram(HKEY_CURRENT_USER, kUninstall, L"C" + token_,
                           L"搜狗拼音输入法" + token_ + L" 8.0", L"8.0.0.1"));
    InstalledSoftwareScanner scanner;
    scanner.ScanAll();

    InstalledSoftwareMap found;
    EXPECT_EQ(1, FindInstalledSoftware(found, scanner, L"player " + lowerToken_));
    ASSERT_EQ(1u, found.size());
    // Entered under the name as stored, with its version.
    EXPECT_EQ(L"5.1", found[L"Super Player " + token_ + L" Deluxe"]);

    InstalledSoftwareMap chinese;
    EXPECT_EQ(1, FindInstalledSoftware(chinese, scanner, L"360安全卫士 " + lowerToken_));
    EXPECT_EQ(1, FindInstalledSoftware(chinese, scanner, L"搜狗拼音输入法" + lowerToken_));
    ASSERT_EQ(2u, chinese.size());
    EXPECT_EQ(L"9.7", chinese[L"360安全卫士 " + token_]);
    EXPECT_EQ(L"8.0.0.1", chinese[L"搜狗拼音输入法" + token_ + L" 8.0"]);

    // The comparison itself is exact: an upper-case pattern matches nothing.
    InstalledSoftwareMap none;
    EXPECT_EQ(1, FindInstalledSoftware(none, scanner, L"SUPER PLAYER " + token_));
    EXPECT_TRUE(none.empty());
}

TEST_F(InstalledSoftwareTest, PatternWithTrailingBlankNeedsTheBlank) {
    ASSERT_TRUE(AddProgram(HKEY_CURRENT_USER, kUninstall, L"FfA" + token_,
                           L"Mozilla " + token_ + L"Firefox 52.0 (x86 zh-CN)", L"52.0"));
    ASSERT_TRUE(AddProgram(HKEY_CURRENT_USER, kUninstall, L"FfB" + token_,
                           L"End " + token_ + L"FIREFOX", L"1"));
    InstalledSoftwareScanner scanner;
    scanner.ScanAll();
    InstalledSoftwareMap found;
    FindInstalledSoftware(found, scanner, lowerToken_ + L"firefox ");
    EXPECT_EQ(1u, found.count(L"Mozilla " + token_ + L"Firefox 52.0 (x86 zh-CN)"));
    EXPECT_EQ(0u, found.count(L"End " + token_ + L"FIREFOX"));
}

TEST_F(InstalledSoftwareTest, SameNameTwiceKeepsTheVersionScannedFirst) {
    const std::wstring name = L"Twin " + token_;
    ASSERT_TRUE(AddProgram(HKEY_LOCAL_MACHINE, kUninstall, L"TwinM" + token_, name, L"1.0",
                           KEY_WOW64_32KEY));
    ASSERT_TRUE(AddProgram(HKEY_CURRENT_USER, kUninstall, L"TwinU" + token_, name, L"2.0"));
    InstalledSoftwareScanner scanner;
    scanner.ScanAll();
    InstalledSoftwareMap found;
    found[L"Already " + token_] = L"0.1";
    EXPECT_EQ(1, FindInstalledSoftware(found, scanner, L"twin " + lowerToken_));
    // One pattern matching twice and a second pattern matching the same program add one entry.
    EXPECT_EQ(1, FindInstalledSoftware(found, scanner, lowerToken_));
    EXPECT_EQ(L"1.0", found[name]);
    EXPECT_EQ(L"0.1", found[L"Already " + token_]);
    EXPECT_EQ(2u, found.size());
}

TEST_F(InstalledSoftwareTest, EmptyPatternAddsNothing) {
    ASSERT_TRUE(AddProgram(HKEY_CURRENT_USER, kUninstall, L"E" + token_, L"Any " + token_, L"1"));
    InstalledSoftwareScanner scanner;
    scanner.ScanAll();
    InstalledSoftwareMap found;
    found[L"kept"] = L"1";
    EXPECT_EQ(0, FindInstalledSoftware(found, scanner, L""));
    EXPECT_EQ(1u, found.size());
}

TEST_F(InstalledSoftwareTest, ScanRootIgnoresMalformedAndUnknownRoots) {
    ASSERT_TRUE(AddProgram(HKEY_CURRENT_USER, kUninstall, L"R" + token_, L"Root " + token_, L"1"));
    InstalledSoftwareScanner scanner;
    scanner.ScanRoot(nullptr);
    scanner.ScanRoot(L"");
    scanner.ScanRoot(L"HKEY_CURRENT_USER");
    scanner.ScanRoot(L"hkey_current_user\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    scanner.ScanRoot(L"HKEY_USERS\\.DEFAULT\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion");
    scanner.ScanRoot(L"HKEY_CURRENT_USER\\SOFTWARE\\NoSuchVendor_Uninst\\Uninstall");
    EXPECT_TRUE(scanner.Records().empty());

    scanner.ScanRoot(L"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    EXPECT_TRUE(HasSubKey(scanner.Records(), L"R" + token_));
    // ScanRoot appends; ScanAll starts over.
    const size_t once = scanner.Records().size();
    scanner.ScanRoot(L"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    EXPECT_EQ(2 * once, scanner.Records().size());
}

// Redirects HKEY_LOCAL_MACHINE of this process to a scratch key while it lives.
class OverriddenLocalMachine {
public:
    explicit OverriddenLocalMachine(const std::wstring& path) {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key) !=
            ERROR_SUCCESS) {
            return;
        }
        ok_ = ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, key) == ERROR_SUCCESS;
        ::RegCloseKey(key);
    }
    ~OverriddenLocalMachine() {
        if (ok_) {
            ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        }
    }
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

TEST_F(InstalledSoftwareTest, IeVersionComesFromTheRegistry) {
    HKEY raw = nullptr;
    std::wstring expected;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Internet Explorer", 0, KEY_READ,
                        &raw) == ERROR_SUCCESS) {
        wchar_t buffer[256] = {};
        DWORD size = sizeof(buffer) - sizeof(wchar_t);
        ::RegQueryValueExW(raw, L"Version", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer),
                           &size);
        ::RegCloseKey(raw);
        expected = buffer;
    }
    EXPECT_EQ(expected, GetIeVersion());

    const std::wstring fake = L"Software\\" + UniqueName(L"UninstCollFakeHklm");
    ASSERT_TRUE(scratch_.CreateKey(HKEY_CURRENT_USER, fake));
    {
        OverriddenLocalMachine overridden(fake);
        if (!overridden.ok()) {
            GTEST_SKIP() << "RegOverridePredefKey is not available";
        }
        // No Internet Explorer key: the empty text.
        EXPECT_EQ(L"", GetIeVersion());
        ASSERT_TRUE(scratch_.SetString(HKEY_CURRENT_USER,
                                       fake + L"\\SOFTWARE\\Microsoft\\Internet Explorer",
                                       L"Version", L"11.0.9600.16428"));
        EXPECT_EQ(L"11.0.9600.16428", GetIeVersion());
    }
}
