#include <windows.h>

#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/support/SampleInstall.h"
#include "tests/support/TempDir.h"
#include "tests/uninstaller/RemovalTestUtil.h"
#include "uninstaller/RemovalEngine.h"
#include "uninstaller/UninstallSession.h"

#include <gtest/gtest.h>

#include <memory>
#include <shlobj.h>
#include <string>

using namespace TestSupport;
using namespace RemovalTest;

namespace {

const wchar_t kUninstall[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t kMaker[] = L"SOFTWARE\\VelmoraGames\\";

class ScratchKey {
public:
    explicit ScratchKey(const std::wstring& path, HKEY root = HKEY_CURRENT_USER)
        : root_(root), path_(path) {
        ::RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY,
                          nullptr, &key_, nullptr);
    }
    ~ScratchKey() {
        if (key_ != nullptr) {
            ::RegCloseKey(key_);
        }
        ::RegDeleteTreeW(root_, path_.c_str());
        ::RegDeleteKeyExW(root_, path_.c_str(), KEY_WOW64_32KEY, 0);
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY Get() const { return key_; }
    void Set(const std::wstring& name, const std::wstring& value) const {
        ::RegSetValueExW(key_, name.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    DWORD ValueCount() const {
        DWORD values = 0;
        ::RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                           nullptr, nullptr, nullptr, nullptr);
        return values;
    }

private:
    HKEY root_;
    std::wstring path_;
    HKEY key_ = nullptr;
};

std::wstring Pid() {
    return std::to_wstring(::GetCurrentProcessId());
}

TEST(DeleteAllValues, RemovesEveryValueWhateverItsNameLength) {
    ScratchKey key(L"Software\\VelmoraRemovalValues" + Pid());
    ASSERT_NE(key.Get(), nullptr);
    for (int i = 0; i < 50; ++i) {
        key.Set(L"value" + std::to_wstring(i), L"x");
    }
    key.Set(L"", L"default");
    key.Set(std::wstring(1000, L'n'), L"long name");
    key.Set(std::wstring(300, L'长'), L"long wide name");
    ASSERT_EQ(key.ValueCount(), 53u);
    DeleteAllValues(key.Get());
    EXPECT_EQ(key.ValueCount(), 0u);
}

TEST(DeleteAllValues, StopsOnAKeyWhoseValuesCannotBeDeleted) {
    const std::wstring path = L"Software\\VelmoraRemovalReadOnly" + Pid();
    ScratchKey key(path);
    key.Set(L"a", L"1");
    key.Set(L"b", L"2");
    HKEY readOnly = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &readOnly),
              ERROR_SUCCESS);
    DeleteAllValues(readOnly); // each failure goes to the debugger output; the loop ends
    ::RegCloseKey(readOnly);
    EXPECT_EQ(key.ValueCount(), 2u);
}

class RegistryRemovalTest : public ::testing::Test {
protected:
    void SetUp() override {
        SampleGame game = PlainGame({L"a.dat"});
        install = std::make_unique<SampleInstall>(dir.Path(), game);
        install->CreateFiles();
        install->WriteConfig(install->ConfigText());
        session = std::make_unique<UninstallSession>(install->InstallDir().c_str());
        ASSERT_TRUE(session->IsConfigValid());
    }

    TempDir dir{L"rmreg"};
    std::unique_ptr<SampleInstall> install;
    std::unique_ptr<UninstallSession> session;
};

TEST_F(RegistryRemovalTest, BothKeysGoInTheProcesssRegistryView) {
    install->CreateRegistry();
    ASSERT_TRUE(KeyExists(install->UninstallKeyPath()));
    ASSERT_TRUE(KeyExists(install->MakerKeyPath()));
    RemoveRegistryEntries(*session);
    EXPECT_FALSE(KeyExists(install->UninstallKeyPath()));
    EXPECT_FALSE(KeyExists(install->MakerKeyPath()));
}

TEST_F(RegistryRemovalTest, MissingKeysAreSkippedAndNeverCreated) {
    const std::wstring top = L"VelmoraRemovalMissing" + Pid();
    session->GetGameConfig()->enName = top + L"\\Deeper";
    RemoveRegistryEntries(*session);
    EXPECT_FALSE(KeyExists(kUninstall + top));
    EXPECT_FALSE(KeyExists(kMaker + top));
}

TEST_F(RegistryRemovalTest, EmptyEnglishNameTouchesNothing) {
    ScratchKey maker(L"SOFTWARE\\VelmoraGames", HKEY_LOCAL_MACHINE);
    const std::wstring name = L"VelmoraRemovalEmpty" + Pid();
    maker.Set(name, L"kept");
    session->GetGameConfig()->enName.clear();
    RemoveRegistryEntries(*session);
    DWORD size = 0;
    EXPECT_EQ(::RegQueryValueExW(maker.Get(), name.c_str(), nullptr, nullptr, nullptr, &size),
              ERROR_SUCCESS);
    ::RegDeleteValueW(maker.Get(), name.c_str());
}

TEST_F(RegistryRemovalTest, KeyWithSubKeysStaysWithItsValuesGone) {
    const std::wstring path = install->UninstallKeyPath();
    ScratchKey key(path, HKEY_LOCAL_MACHINE);
    key.Set(L"DisplayName", L"x");
    key.Set(L"UninstallString", L"y");
    ScratchKey child(path + L"\\Child", HKEY_LOCAL_MACHINE);
    child.Set(L"c", L"kept");
    RemoveRegistryEntries(*session);
    EXPECT_TRUE(KeyExists(path));
    EXPECT_EQ(key.ValueCount(), 0u);
    EXPECT_EQ(child.ValueCount(), 1u);
}

TEST_F(RegistryRemovalTest, ShortcutNamesAreUsedVerbatimAndOnlyWhenPlain) {
    const std::wstring desktop = install->DesktopFolder();
    const std::wstring startMenu = install->StartMenuFolder();
    ASSERT_TRUE(CreateDirs(startMenu));
    // A relative way from the common desktop to a file of this test.
    const std::wstring victim = dir / L"victim.lnk";
    const std::wstring victimName = L"chs";
    ASSERT_TRUE(WriteFileBytes(victim, "not a shortcut of the game"));
    ASSERT_TRUE(WriteFileBytes(dir / (victimName + L".lnk"), "not a shortcut either"));
    ASSERT_EQ(::towupper(desktop[0]), ::towupper(dir.Path()[0]));
    std::wstring up;
    for (size_t i = 2; i < desktop.size(); ++i) {
        if (desktop[i] == L'\\') {
            up += L"..\\";
        }
    }
    const std::wstring toDir = up + dir.Path().substr(3);
    ASSERT_TRUE(FileExists(desktop + L"\\" + toDir + L"\\victim.lnk")) << "the way is right";

    GameConfig& config = *session->GetGameConfig();
    config.shortcut = {L"Game.LNK", toDir + L"\\victim.lnk", L"..", L""};
    ASSERT_TRUE(WriteFileBytes(desktop + L"\\Game.LNK", "link"));
    ASSERT_TRUE(WriteFileBytes(startMenu + L"\\Game.LNK", "link"));
    RemoveShortcuts(*session);
    EXPECT_FALSE(FileExists(desktop + L"\\Game.LNK"));
    EXPECT_FALSE(FileExists(startMenu + L"\\Game.LNK"));
    EXPECT_FALSE(DirExists(startMenu));
    EXPECT_TRUE(FileExists(victim));
    EXPECT_TRUE(DirExists(desktop));

    // A game name that is a path is not used at all.
    config.chsName = toDir + L"\\" + victimName;
    config.shortcut.clear();
    RemoveShortcuts(*session);
    EXPECT_TRUE(FileExists(dir / (victimName + L".lnk")));
}

} // namespace
