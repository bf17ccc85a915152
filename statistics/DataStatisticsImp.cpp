#include <windows.h>

#include "statistics/CodePageConverter.h"
#include "statistics/CrashDumpFilter.h"
#include "statistics/DataStatisticsImp.h"
#include "statistics/MachId.h"
#include "statistics/TextHelpers.h"

#include <cstring>
#include <cwchar>
#include <new>

namespace {

// The narrow interface hands texts over in the code page of the Simplified Chinese systems the
// component was made for, whatever the system's own code page is.
const CodePageConverter kNarrowInput(936);

// Every guarded operation installs the dump filter first, so that a crash inside the work (or
// later, on any thread) leaves a dump; an exception becomes a status.
template <typename Work> int Guarded(Work&& work) {
    ::SetUnhandledExceptionFilter(&CrashDumpExceptionFilter);
    try {
        return work();
    } catch (...) {
        return STAT_EXCEPTION;
    }
}

template <typename Work> void GuardedSetter(Work&& work) {
    ::SetUnhandledExceptionFilter(&CrashDumpExceptionFilter);
    try {
        work();
    } catch (...) {
        // A setter has no status to report; the object keeps its former value.
    }
}

const wchar_t* OrEmpty(const wchar_t* text) {
    return text != nullptr ? text : L"";
}

// "0x" + first 8 digits + ", 0x" + next 8; false when the identifier is too short.
bool MachineIdAnswer(std::string& answer) {
    std::string machId;
    ComputeMachId(machId);
    if (machId.size() < 16) {
        return false;
    }
    answer = "0x" + machId.substr(0, 8) + ", 0x" + machId.substr(8, 8);
    return true;
}

// Threads may still report while static destructors run at exit: the default object is made once
// and never destroyed.
CDataStatisticsImp& DefaultObject() {
    static CDataStatisticsImp* const object = new CDataStatisticsImp;
    return *object;
}

// Made at start-up, as every run has always had it, so that its session id predates the program.
const bool g_defaultObjectMade = (DefaultObject(), true);

} // namespace

CDataStatisticsImp::CDataStatisticsImp(const HttpTimeouts& timeouts) : reportTimeouts(timeouts) {
    sessionId.clear();
    NewSessionIdText(sessionId);
}

CDataStatisticsImp::~CDataStatisticsImp() = default;

int CDataStatisticsImp::SubmitEventInst(const char* code, const char* extraJson,
                                        int* hardwareMask) {
    return Guarded([&] {
        return DoSubmitEventInst(kNarrowInput.ToWide(code).c_str(),
                                 kNarrowInput.ToWide(extraJson).c_str(), hardwareMask);
    });
}

int CDataStatisticsImp::SubmitEventInst(const wchar_t* code, const wchar_t* extraJson,
                                        int* hardwareMask) {
    return Guarded(
        [&] { return DoSubmitEventInst(OrEmpty(code), OrEmpty(extraJson), hardwareMask); });
}

int CDataStatisticsImp::SubmitEventUpdt(const char* code, const char* extraJson,
                                        int* hardwareMask) {
    return Guarded([&] {
        return DoSubmitEventUpdt(kNarrowInput.ToWide(code).c_str(),
                                 kNarrowInput.ToWide(extraJson).c_str(), hardwareMask);
    });
}

int CDataStatisticsImp::SubmitEventUpdt(const wchar_t* code, const wchar_t* extraJson,
                                        int* hardwareMask) {
    return Guarded(
        [&] { return DoSubmitEventUpdt(OrEmpty(code), OrEmpty(extraJson), hardwareMask); });
}

int CDataStatisticsImp::SubmitEventDownload(const wchar_t* code, const wchar_t* extraJson,
                                            int* hardwareMask) {
    return Guarded(
        [&] { return DoSubmitEventDownload(OrEmpty(code), OrEmpty(extraJson), hardwareMask); });
}

int CDataStatisticsImp::SubmitEventDownload(const char* code, const char* extraJson,
                                            int* hardwareMask) {
    return Guarded([&] {
        return DoSubmitEventDownload(kNarrowInput.ToWide(code).c_str(),
                                     kNarrowInput.ToWide(extraJson).c_str(), hardwareMask);
    });
}

void CDataStatisticsImp::SetServerListPath(const wchar_t* path) {
    GuardedSetter([&] { serverListPath = OrEmpty(path); });
}

void CDataStatisticsImp::SetServerListPath(const char* path) {
    GuardedSetter([&] { serverListPath = kNarrowInput.ToWide(path); });
}

void CDataStatisticsImp::SetSessionId(const wchar_t* id) {
    GuardedSetter([&] { sessionId = CodePageConverter(CP_ACP).ToMultiByte(id); });
}

void CDataStatisticsImp::SetSessionId(const char* id) {
    GuardedSetter([&] { sessionId = id != nullptr ? id : ""; });
}

int CDataStatisticsImp::AddDownloadEvent(const wchar_t* code, const wchar_t* info,
                                         int* hardwareMask) {
    return Guarded([&] { return DoAddDownloadEvent(code, info, hardwareMask); });
}

int CDataStatisticsImp::AddDownloadEvent(const char* code, const char* info, int* hardwareMask) {
    return Guarded([&] {
        return DoAddDownloadEvent(kNarrowInput.ToWide(code).c_str(),
                                  kNarrowInput.ToWide(info).c_str(), hardwareMask);
    });
}

int CDataStatisticsImp::SubmitEventDownloadSeveral() {
    return Guarded([&] { return DoSubmitEventDownloadSeveral(); });
}

int CDataStatisticsImp::GetMachineId(wchar_t* buffer, const int* sizeInChars) {
    std::string answer;
    if (sizeInChars == nullptr || !MachineIdAnswer(answer)) {
        return 0;
    }
    const std::wstring wide = kNarrowInput.ToWide(answer);
    const int length = static_cast<int>(wide.size());
    if (*sizeInChars < length + 1) {
        return length;
    }
    if (buffer == nullptr) {
        return 0;
    }
    std::wmemcpy(buffer, wide.c_str(), wide.size() + 1);
    return 1;
}

int CDataStatisticsImp::GetMachineId(char* buffer, const int* sizeInBytes) {
    std::string answer;
    if (sizeInBytes == nullptr || !MachineIdAnswer(answer)) {
        return 0;
    }
    const int length = static_cast<int>(answer.size());
    if (*sizeInBytes < length + 1) {
        return length;
    }
    if (buffer == nullptr) {
        return 0;
    }
    std::memcpy(buffer, answer.c_str(), answer.size() + 1);
    return 1;
}

int CreateDataStatisticsObject(const wchar_t* interfaceId, IDataStatisticsUser** out) {
    if (interfaceId == nullptr || out == nullptr ||
        ::_wcsicmp(interfaceId, DATA_STATISTICS_USER_IID) != 0) {
        return 0;
    }
    try {
        *out = new CDataStatisticsImp;
    } catch (...) {
        *out = nullptr;
    }
    return 0;
}

int ReleaseDataStatisticsObject(IDataStatisticsUser** object) {
    if (object == nullptr || *object == nullptr) {
        return 1;
    }
    delete *object;
    *object = nullptr;
    return 0;
}

int GetDefaultMachineId(char* buffer, int sizeInBytes) {
    return DefaultObject().GetMachineId(buffer, &sizeInBytes);
}
