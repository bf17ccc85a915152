#pragma once
#include <windows.h>
#include <wbemidl.h>

#include <cstdint>
#include <functional>
#include <string>

#include "statistics/ComPtr.h"
#include "statistics/ComVariant.h"

// The hardware groups that are collected once per process and cached; the values are the bits of
// the statistics component's hardware mask.
enum WmiCachedGroupBits : int {
    kWmiGroupCpu = 1,
    kWmiGroupMemory = 2,
    kWmiGroupVideo = 4,
    kWmiAllCachedGroups = 7,
};

// OpenWmiSession's results besides 0 (failure).
constexpr int kWmiOpened = 1;
constexpr int kWmiAlreadyOpened = 17;

// One statistics component's connection to WMI on "root\CIMV2". A session without services
// (never opened, failed, or closed) still answers the cached groups from the process-wide caches.
// Open, use and close a session on one thread: COM is initialised on the thread that opens it.
class WmiSession {
public:
    WmiSession() = default;
    // Releases the COM pointers; COM itself is uninitialised only by CloseWmiSession.
    ~WmiSession();
    WmiSession(const WmiSession&) = delete;
    WmiSession& operator=(const WmiSession&) = delete;

    IWbemServices* Services() const { return services_.Get(); }
    IWbemLocator* Locator() const { return locator_.Get(); }
    // The result of CoInitialize on the opening thread; -1 until the session was opened.
    HRESULT CoInitializeResult() const { return coInitializeResult_; }

private:
    friend int OpenWmiSession(WmiSession& session, bool force);
    friend int OpenWmiSessionForReport(WmiSession& session, int hardwareMask);
    friend int CloseWmiSession(WmiSession& session);
    int Open(bool force, int promisedGroups);
    int Connect(bool& setFlag);

    ComPtr<IWbemServices> services_;
    ComPtr<IWbemLocator> locator_;
    HRESULT coInitializeResult_ = -1;
};

// Opens the session. Without force, returns 17 when some session of this process opened WMI
// before (the process-wide flag). 1 when opened, and also when COM security cannot be set up (the
// flag is then set and the session has no services); 0 on failure. A forced open promises every
// cached group to the other threads: they wait for this session's collection rather than find
// empty caches. The open itself is serialised across threads.
int OpenWmiSession(WmiSession& session, bool force);

// For event and batch reports: opens the session (as OpenWmiSession without force) only when
// hardwareMask asks for a cached group, so that a report without hardware groups never uses up
// the process's one WMI connection. Returns 17 when nothing was opened for either reason. The
// asked groups are promised to other threads as above.
int OpenWmiSessionForReport(WmiSession& session, int hardwareMask);

// Releases the services and the locator and balances the session's CoInitialize; the process-wide
// flag stays set. Call it on the thread that opened the session. Returns 1.
int CloseWmiSession(WmiSession& session);

// Whether a session of this process opened WMI (the flag that OpenWmiSession tests).
bool IsWmiOpenedInProcess();

// A WMI row's named properties; Get fails for a property that is missing or null.
class WmiPropertySource {
public:
    virtual ~WmiPropertySource() = default;
    virtual bool Get(const wchar_t* name, ComVariant& value) const = 0;
};

// Runs a WQL query (return immediately, forward only) and hands each row to onRow. S_OK after the
// rows were read (also when there were none), the HRESULT of a query that cannot be started, or
// S_FALSE when the session has no services.
HRESULT RunWmiQuery(const WmiSession& session, const wchar_t* queryText,
                    const std::function<void(const WmiPropertySource&)>& onRow);

// Diagnostics for tests and benchmarks: the number of WMI queries started in this process, and a
// reset of the flag, the caches and the counter. No report may be running during a reset.
std::uint32_t GetWmiQueryCount();
void ResetWmiProcessState();
