#pragma once
#include <windows.h>

#include <string>

namespace TestSupport {

// Points a copy of the uninstaller at a server of the caller's: rewrites the
// server list embedded in the executable (resource 105 of type STATISCNF) so
// that every URL on the build's statistics server names baseUrl instead
// ("http://127.0.0.1:<port>"). The product needs no hook for this, and no run
// depends on a fixed port. Returns the new list; empty when the executable has
// no such list or cannot be rewritten (e.g. while it runs).
std::string PointServerListAt(const std::wstring& exePath, const std::string& baseUrl);

} // namespace TestSupport
