#include <windows.h>

#include "statistics/InstalledSoftwareScanner.h"
#include "statistics/RegistryKey.h"

namespace {

const wchar_t kHklmName[] = L"HKEY_LOCAL_MACHINE";
const wchar_t kHkcuName[] = L"HKEY_CURRENT_USER";

const Win32Reg::RegistryKey* RootByName(const std::wstring& name) {
    if (name == kHklmName) {
        return &GetHklmRootKey();
    }
    if (name == kHkcuName) {
        return &GetHkcuRootKey();
    }
    return nullptr;
}

bool IsDecimalDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

} // namespace

const wchar_t* const InstalledSoftwareScanner::kRootTexts[4] = {
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    L"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    L"HKEY_CURRENT_USER\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
};

void InstalledSoftwareScanner::ScanAll() {
    records_.clear();
    for (const wchar_t* root : kRootTexts) {
        ScanRoot(root);
    }
}

void InstalledSoftwareScanner::ScanRoot(const wchar_t* rootText) {
    if (rootText == nullptr) {
        return;
    }
    const std::wstring text(rootText);
    const std::wstring::size_type slash = text.find(L'\\');
    if (slash == std::wstring::npos) {
        return;
    }
    const Win32Reg::RegistryKey* root = RootByName(text.substr(0, slash));
    if (root == nullptr) {
        return;
    }
    const std::wstring path = text.substr(slash + 1);
    std::set<std::wstring> listed;
    if (root == &GetHklmRootKey()) {
        // Where there is no 64-bit view the flags are ignored and the second pass meets the
        // same programs again.
        ScanView(*root, path, KEY_WOW64_32KEY, listed);
        ScanView(*root, path, KEY_WOW64_64KEY, listed);
    } else {
        ScanView(*root, path, 0, listed);
    }
}

void InstalledSoftwareScanner::ScanView(const Win32Reg::RegistryKey& root, const std::wstring& path,
                                        REGSAM view, std::set<std::wstring>& listed) {
    const Win32Reg::RegistryKey uninstall = root.OpenSubKey(path, view);
    if (!uninstall.IsOpened()) {
        return;
    }
    std::vector<std::wstring> names;
    uninstall.EnumSubKeys(names);
    for (const std::wstring& name : names) {
        if (IsSkippedSubKey(name)) {
            continue;
        }
        // A sub key that does not open reads as empty texts and is dropped below.
        const Win32Reg::RegistryKey program = uninstall.OpenSubKey(name, view);
        InstalledSoftwareRecord record{name, program.QueryStringValue(L"DisplayName"),
                                       program.QueryStringValue(L"DisplayVersion")};
        const std::wstring identity =
            name + L'\n' + record.displayName + L'\n' + record.displayVersion;
        if (!record.displayName.empty() && listed.insert(identity).second) {
            records_.push_back(std::move(record));
        }
    }
}

bool IsSkippedSubKey(const std::wstring& name) {
    if (!name.empty() && name[0] == L'_') {
        return true;
    }
    if (name.size() >= 3 && name[0] == L'K' && name[1] == L'B' && IsDecimalDigit(name[2])) {
        return true;
    }
    // Only an empty pair of braces at the start is skipped; product codes in braces are programs.
    return name.size() >= 2 && name[0] == L'{' && name[1] == L'}';
}

std::wstring LowerAsciiLetters(const std::wstring& text) {
    std::wstring lower(text);
    for (wchar_t& c : lower) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return lower;
}

int FindInstalledSoftware(InstalledSoftwareMap& result, const InstalledSoftwareScanner& scanner,
                          const std::wstring& pattern) {
    if (pattern.empty()) {
        return 0;
    }
    for (const InstalledSoftwareRecord& record : scanner.Records()) {
        if (LowerAsciiLetters(record.displayName).find(pattern) != std::wstring::npos) {
            result.emplace(record.displayName, record.displayVersion);
        }
    }
    return 1;
}

std::wstring GetIeVersion() {
    const Win32Reg::RegistryKey ie =
        Win32Reg::LocalMachine.OpenSubKey(L"SOFTWARE\\Microsoft\\Internet Explorer");
    return ie.IsOpened() ? ie.QueryStringValue(L"Version") : std::wstring();
}
