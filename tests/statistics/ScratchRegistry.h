#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace CollectorTests {

// Creates registry keys for a test and deletes, when it goes, exactly the keys that it created
// (with everything below them); keys that existed before are left alone.
class ScratchRegistry {
public:
    ScratchRegistry() = default;
    ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    // view: 0, KEY_WOW64_32KEY or KEY_WOW64_64KEY. Creates every missing key along path.
    bool CreateKey(HKEY root, const std::wstring& path, REGSAM view = 0);
    bool SetString(HKEY root, const std::wstring& path, const std::wstring& name,
                   const std::wstring& value, REGSAM view = 0);
    bool SetDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value,
                  REGSAM view = 0);
    // Deletes the created keys now (last created first).
    void Clear();

private:
    struct Created {
        HKEY root;
        std::wstring path;
        REGSAM view;
    };
    std::vector<Created> created_;
};

// A name no other test run uses: prefix + process id + tick count.
std::wstring UniqueName(const std::wstring& prefix);

} // namespace CollectorTests
