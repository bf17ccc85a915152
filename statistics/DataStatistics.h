#pragma once
#include <windows.h>

#include <cstddef>

// The statistics component as the rest of the program sees it: an object made by its interface
// id, events submitted through it on the caller's thread, an integer status back.
//
// The component is a library for other callers of the maker's too, not only for this
// uninstaller: device-information reports, batches of download events and the session id stay
// although the uninstaller itself only submits events.

// The interface id that CreateDataStatisticsObject accepts (compared ignoring case).
#define DATA_STATISTICS_USER_IID L"{91095A15-3C46-43b5-BA5F-462064037E59}"

// Statuses of the submitting operations.
enum DataStatisticsStatus : int {
    STAT_FAILED = 0,
    STAT_OK = 1,
    STAT_NO_MODULE_DIR = 5,
    STAT_DEVICE_INPUT_KEY_MISSING = 10,
    STAT_INPUT_KEY_MISSING = 11,
    STAT_DEVICE_BODY_FAILED = 12,
    STAT_BODY_FAILED = 13,
    STAT_EXCEPTION = 16,
    STAT_BATCH_FULL = 18,
    STAT_NO_SERVER_LIST = 20,
    STAT_BATCH_BODY_FAILED = 21,
};

// Bits of the hardware mask: each adds a group to an event's info.
enum DataStatisticsHardwareBits : int {
    STAT_HW_CPU = 1,
    STAT_HW_MEMORY = 2,
    STAT_HW_VIDEO = 4,
};

// The narrow forms read their texts in code page 936; the wide forms take UTF-16. Every report
// goes out as UTF-8. A null hardware-mask pointer counts as the mask 0; null texts count as empty
// (AddDownloadEvent's wide form answers STAT_FAILED for them).
class IDataStatisticsUser {
public:
    virtual int SubmitEventInst(const char* code, const char* extraJson, int* hardwareMask) = 0;
    virtual int SubmitEventInst(const wchar_t* code, const wchar_t* extraJson,
                                int* hardwareMask) = 0;
    virtual int SubmitEventUpdt(const char* code, const char* extraJson, int* hardwareMask) = 0;
    virtual int SubmitEventUpdt(const wchar_t* code, const wchar_t* extraJson,
                                int* hardwareMask) = 0;
    virtual int SubmitEventDownload(const wchar_t* code, const wchar_t* extraJson,
                                    int* hardwareMask) = 0;
    virtual int SubmitEventDownload(const char* code, const char* extraJson, int* hardwareMask) = 0;
    virtual void SetServerListPath(const wchar_t* path) = 0;
    virtual void SetServerListPath(const char* path) = 0;
    virtual void SetSessionId(const wchar_t* sessionId) = 0;
    virtual void SetSessionId(const char* sessionId) = 0;
    virtual int AddDownloadEvent(const wchar_t* code, const wchar_t* info, int* hardwareMask) = 0;
    virtual int AddDownloadEvent(const char* code, const char* info, int* hardwareMask) = 0;
    virtual int SubmitEventDownloadSeveral() = 0;
    // "0x" + 8 hex digits + ", 0x" + 8 hex digits. 1 when copied; the answer's length (22) when
    // *size cannot hold it and its terminator; 0 when no identifier can be had.
    virtual int GetMachineId(wchar_t* buffer, const int* sizeInChars) = 0;
    virtual int GetMachineId(char* buffer, const int* sizeInBytes) = 0;
    virtual ~IDataStatisticsUser() = default;
};

// Stores a new object through out when id is the interface id, else leaves *out untouched.
// Returns 0 in every case: callers test the pointer.
int CreateDataStatisticsObject(const wchar_t* interfaceId, IDataStatisticsUser** out);

// 1 for a null pointer or a pointer to null; else destroys the object, nulls *object and
// returns 0.
int ReleaseDataStatisticsObject(IDataStatisticsUser** object);

// The narrow GetMachineId of the process-wide default object.
int GetDefaultMachineId(char* buffer, int sizeInBytes);
