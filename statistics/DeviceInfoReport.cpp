#include <windows.h>

#include "statistics/DataStatisticsImp.h"

// The device-information report (the machine inventory that "SystemInfoKeys.xml" steers, sent to
// the SubmitDeviceInfo URLs) is built elsewhere. This is its entry from SubmitEventInst with the
// code "0"; until the inventory is linked in, that code sends nothing and reports failure.
int CDataStatisticsImp::DoSubmitDeviceInfo(const wchar_t* /*extraJson*/) {
    return STAT_FAILED;
}
