#pragma once
#include <windows.h>

#include "statistics/RegistryKey.h"

#include <map>
#include <set>
#include <string>
#include <vector>

// One program that an Uninstall key lists.
struct InstalledSoftwareRecord {
    std::wstring subKeyName;
    std::wstring displayName;
    std::wstring displayVersion;
};

// DisplayName (as stored) -> DisplayVersion, one per software category.
using InstalledSoftwareMap = std::map<std::wstring, std::wstring>;

// The programs named under the Uninstall keys of HKLM and HKCU (also below WOW6432Node), in scan
// order. HKLM is read in its 32-bit and then its 64-bit registry view, so that a 32-bit process
// on 64-bit Windows also sees 64-bit programs; a program that both views show (same sub key,
// name and version; on 32-bit Windows the views are one) is listed once. One scanner per
// statistics component; it reads the registry only when asked to.
class InstalledSoftwareScanner {
public:
    // "HKEY_LOCAL_MACHINE\..." and "HKEY_CURRENT_USER\..." texts, scanned in this order.
    static const wchar_t* const kRootTexts[4];

    // Rebuilds the record list from the four roots.
    void ScanAll();
    // Appends the records of one root text ("<root name>\<path>"); unknown roots and keys that
    // cannot be opened add nothing.
    void ScanRoot(const wchar_t* rootText);

    const std::vector<InstalledSoftwareRecord>& Records() const { return records_; }

private:
    // listed: sub key, name and version of the records this root has added so far.
    void ScanView(const Win32Reg::RegistryKey& root, const std::wstring& path, REGSAM view,
                  std::set<std::wstring>& listed);

    std::vector<InstalledSoftwareRecord> records_;
};

// True for sub keys that are updates or internal entries rather than programs: names beginning
// with "_", with "KB" and a digit, or with "{}".
bool IsSkippedSubKey(const std::wstring& name);

// Lower-cases A to Z only, whatever the locale; patterns and display names are compared this way.
std::wstring LowerAsciiLetters(const std::wstring& text);

// Adds every recorded program whose lower-cased DisplayName contains pattern (which the caller
// has lower-cased with LowerAsciiLetters) to result; a name already present keeps its first
// version. Returns 0 for an empty pattern (nothing added), else 1.
int FindInstalledSoftware(InstalledSoftwareMap& result, const InstalledSoftwareScanner& scanner,
                          const std::wstring& pattern);

// The "Version" value of HKLM\SOFTWARE\Microsoft\Internet Explorer, or the empty text.
std::wstring GetIeVersion();
