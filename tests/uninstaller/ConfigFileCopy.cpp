#include <windows.h>

#include "tests/uninstaller/ConfigFileCopy.h"
#include "tests/support/FileUtil.h"
#include "uninstaller/ConfigSource.h"
#include "uninstaller/ConfigText.h"

#include <vector>

namespace {

std::wstring TempCopyPath() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    wchar_t path[MAX_PATH] = {};
    if (length == 0 || length > MAX_PATH || ::GetTempFileNameW(folder, L"cfg", 0, path) == 0) {
        return std::wstring();
    }
    return path;
}

std::string Utf16WithMark(const std::wstring& text) {
    const std::wstring marked = L"\xFEFF" + text;
    return std::string(reinterpret_cast<const char*>(marked.data()),
                       marked.size() * sizeof(wchar_t));
}

} // namespace

ConfigFileCopy::ConfigFileCopy(const std::wstring& configPath) : original_(configPath) {
    std::string bytes;
    if (!ReadConfigBytes(configPath, bytes, kMaxConfigBytes) ||
        (HasUtf16Mark(bytes) && bytes.size() % 2 == 0)) {
        return;
    }
    const std::wstring copy = TempCopyPath();
    if (copy.empty()) {
        return;
    }
    // The profile API reads a byte past the end of a UTF-16 file of odd length (whatever the
    // heap holds there); the program drops that byte, and so does this copy.
    const bool written =
        HasUtf16Mark(bytes)
            ? TestSupport::WriteFileBytes(copy, bytes.substr(0, bytes.size() - 1))
            : TestSupport::WriteFileBytes(copy, Utf16WithMark(DecodeConfigText(bytes)));
    if (written) {
        copy_ = copy;
    } else {
        ::DeleteFileW(copy.c_str());
    }
}

ConfigFileCopy::~ConfigFileCopy() {
    if (!copy_.empty()) {
        ::DeleteFileW(copy_.c_str());
    }
}

namespace {

// A whole profile value, however long: the buffer grows until the value fits.
std::wstring ReadProfileString(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                               const wchar_t* fallback = L"") {
    std::wstring buf(260, L'\0');
    for (;;) {
        const DWORD n = GetPrivateProfileStringW(section, key, fallback, &buf[0],
                                                 static_cast<DWORD>(buf.size()), path.c_str());
        if (n + 1 < buf.size() || buf.size() >= (1u << 20)) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

// The section's key names through the profile API (a double-NUL-terminated list).
std::vector<std::wstring> ProfileKeyNames(const std::wstring& path, const wchar_t* section) {
    std::wstring names(4096, L'\0');
    DWORD n;
    for (;;) {
        n = GetPrivateProfileStringW(section, nullptr, L"", &names[0],
                                     static_cast<DWORD>(names.size()), path.c_str());
        if (n + 2 < names.size() || names.size() >= (64u << 20))
            break;
        names.resize(names.size() * 2);
    }
    std::vector<std::wstring> list;
    for (size_t at = 0; at < n && names[at] != L'\0';) {
        list.emplace_back(&names[at]);
        at += list.back().size() + 1;
    }
    return list;
}

class ProfileApiSource : public ConfigSource {
public:
    explicit ProfileApiSource(const std::wstring& path) : path_(path) {}
    std::wstring Value(const wchar_t* section, const wchar_t* key,
                       const wchar_t* fallback) const override {
        return ReadProfileString(path_, section, key, fallback);
    }
    std::vector<std::wstring> KeyNames(const wchar_t* section) const override {
        return ProfileKeyNames(path_, section);
    }

private:
    std::wstring path_;
};

} // namespace

bool ReadConfigFileWithProfileApi(const std::wstring& configFile, const std::wstring& installDir,
                                  GameConfig& config) {
    const ConfigFileCopy copy(configFile);
    return ReadGameConfig(ProfileApiSource(copy.Path()), installDir, config);
}
