#include <windows.h>

#include "statistics/ServerListCache.h"
#include "statistics/CodePageConverter.h"
#include "statistics/TextHelpers.h"

#include <map>
#include <mutex>
#include <utility>

namespace {

constexpr DWORD kKeyWordChars = 256;
constexpr DWORD kUrlChars = 260;

std::wstring ReadProfileText(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                             DWORD chars) {
    std::vector<wchar_t> buffer(chars, L'\0');
    ::GetPrivateProfileStringW(section, key, L"", buffer.data(), chars, path.c_str());
    return buffer.data();
}

std::vector<std::string> SplitKeyWords(const std::wstring& value) {
    std::vector<std::string> list;
    const std::string ansi = CodePageConverter(CP_ACP).ToMultiByte(value);
    SplitBySemicolon(ansi.c_str(), ansi.size(), list);
    return list;
}

ServerListSection ParseSection(const std::wstring& path, const wchar_t* section) {
    ServerListSection parsed;
    parsed.inputKeyWords =
        SplitKeyWords(ReadProfileText(path, section, L"InputDataKeyWord", kKeyWordChars));
    parsed.submitKeyWords =
        SplitKeyWords(ReadProfileText(path, section, L"SubmitDataKeyWord", kKeyWordChars));
    const CodePageConverter urlPage(936);
    for (unsigned number = 0;; ++number) {
        const std::wstring key =
            number == 0 ? std::wstring(L"SubmitUrl") : L"SubmitUrl" + std::to_wstring(number);
        const std::wstring url = ReadProfileText(path, section, key.c_str(), kUrlChars);
        if (url.empty()) {
            break;
        }
        parsed.submitUrls.push_back(urlPage.ToMultiByte(url));
    }
    return parsed;
}

// What tells one version of a file from the next without reading it.
struct FileStamp {
    bool exists = false;
    FILETIME written = {};
    ULONGLONG size = 0;

    bool operator==(const FileStamp& other) const {
        return exists == other.exists && size == other.size &&
               CompareFileTime(&written, &other.written) == 0;
    }
};

FileStamp StampOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    FileStamp stamp;
    if (::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        stamp.exists = true;
        stamp.written = data.ftLastWriteTime;
        stamp.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    return stamp;
}

struct CachedSection {
    FileStamp stamp;
    ServerListSection section;
};

// Reports run on threads of their own; the cache lives until the process
// ends, so that a report still running at exit never meets a destroyed map.
std::mutex& CacheLock() {
    static auto* lock = new std::mutex;
    return *lock;
}

std::map<std::pair<std::wstring, std::wstring>, CachedSection>& Cache() {
    static auto* cache = new std::map<std::pair<std::wstring, std::wstring>, CachedSection>;
    return *cache;
}

} // namespace

ServerListSection ReadServerListSection(const std::wstring& path, const wchar_t* section) {
    const FileStamp stamp = StampOf(path);
    const auto key = std::make_pair(path, std::wstring(section));
    {
        const std::lock_guard<std::mutex> hold(CacheLock());
        const auto it = Cache().find(key);
        if (it != Cache().end() && it->second.stamp == stamp) {
            return it->second.section;
        }
    }
    ServerListSection parsed = ParseSection(path, section);
    const std::lock_guard<std::mutex> hold(CacheLock());
    Cache()[key] = CachedSection{stamp, parsed};
    return parsed;
}
