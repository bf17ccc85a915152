// Linked into every test program: gives the process a temporary folder of its
// own. The programs share one Wine prefix and run side by side, and the
// uninstaller unpacks its session files (the server list, the hardware keys,
// the plug-in archive and its library) under fixed names in %TEMP%: two
// programs unpacking into one folder would overwrite or lock each other's
// files.
#include <windows.h>

#include "tests/support/TempDir.h"

namespace {

struct PrivateTemp {
    TestSupport::TempDir dir{L"proc"};
    PrivateTemp() {
        SetEnvironmentVariableW(L"TEMP", dir.Path().c_str());
        SetEnvironmentVariableW(L"TMP", dir.Path().c_str());
    }
};

const PrivateTemp privateTemp;

} // namespace
