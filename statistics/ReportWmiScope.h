#pragma once
#include <windows.h>

#include "statistics/WmiSession.h"

// WMI for the length of one event or batch report: opened when the report's hardware mask asks
// for a group and no report of the process has opened WMI before, and closed on every way out of
// the report, so that the thread's COM initialisation is always balanced.
class ReportWmiScope {
public:
    ReportWmiScope(WmiSession& session, int hardwareMask) : session_(session) {
        OpenWmiSessionForReport(session_, hardwareMask);
    }
    // A device-information report opens WMI whatever the process flag says.
    struct Forced {};
    ReportWmiScope(WmiSession& session, Forced) : session_(session) {
        OpenWmiSession(session_, true);
    }
    ~ReportWmiScope() { CloseWmiSession(session_); }
    ReportWmiScope(const ReportWmiScope&) = delete;
    ReportWmiScope& operator=(const ReportWmiScope&) = delete;

private:
    WmiSession& session_;
};
