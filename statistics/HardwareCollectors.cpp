#include <windows.h>

#include "statistics/HardwareCollectors.h"
#include "statistics/HardwareRows.h"
#include "statistics/RegistryKey.h"
#include "statistics/WmiProcessState.h"

#include <cstdint>
#include <optional>

namespace {

using WmiProcessState::Group;

constexpr int kNoServices = 1;
// Display drivers list a few hundred modes at most; the bound only guards against a driver that
// never reports the end.
constexpr DWORD kMaxDisplayModes = 100000;

// Reports the end of a collection that AcquireGroup handed to this thread, also when the
// collection fails or throws, so that waiting threads are released.
class GroupCollection {
public:
    GroupCollection(const WmiSession& session, Group group) : session_(session), group_(group) {}
    GroupCollection(const GroupCollection&) = delete;
    GroupCollection& operator=(const GroupCollection&) = delete;
    ~GroupCollection() {
        if (!finished_) {
            WmiProcessState::FinishGroup(session_, group_, nullptr, 0);
        }
    }
    void Complete(const Json::Value& result, std::int64_t total = 0) {
        finished_ = true;
        WmiProcessState::FinishGroup(session_, group_, &result, total);
    }

private:
    const WmiSession& session_;
    Group group_;
    bool finished_ = false;
};

std::optional<std::string> ProcessorNameFromRegistry() {
    const Win32Reg::RegistryKey key =
        Win32Reg::LocalMachine.OpenSubKey(L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0");
    if (!key.IsOpened()) {
        return std::nullopt;
    }
    return WideToUtf8Text(key.QueryStringValue(L"ProcessorNameString"));
}

// Runs the query and appends one element per row to a fresh array.
template <typename ToElement>
HRESULT QueryArray(const WmiSession& session, const wchar_t* query, Json::Value& rows,
                   ToElement toElement) {
    rows = Json::Value(Json::arrayValue);
    return RunWmiQuery(session, query,
                       [&](const WmiPropertySource& row) { rows.append(toElement(row)); });
}

void DisplayModeMaxima(std::uint32_t& maxWidth, std::uint32_t& maxHeight) {
    maxWidth = 0;
    maxHeight = 0;
    for (DWORD mode = 0; mode < kMaxDisplayModes; ++mode) {
        DEVMODEW dm = {};
        dm.dmSize = sizeof(dm);
        if (!::EnumDisplaySettingsExW(nullptr, mode, &dm, 0)) {
            break;
        }
        maxWidth = dm.dmPelsWidth > maxWidth ? dm.dmPelsWidth : maxWidth;
        maxHeight = dm.dmPelsHeight > maxHeight ? dm.dmPelsHeight : maxHeight;
    }
}

} // namespace

int CollectCpu(const WmiSession& session, Json::Value& out) {
    Json::Value cpus;
    switch (WmiProcessState::AcquireGroup(session, Group::Cpu, cpus, nullptr)) {
    case WmiProcessState::Answer::Cached:
        out["CPU"] = cpus;
        return 0;
    case WmiProcessState::Answer::Nothing:
        return kNoServices;
    case WmiProcessState::Answer::CollectHere:
        break;
    }
    GroupCollection collection(session, Group::Cpu);
    // Every row gets the name of processor 0: the registry holds the marketing name WMI lacks.
    const std::optional<std::string> registryName = ProcessorNameFromRegistry();
    const HRESULT hr =
        QueryArray(session, L"Select * FROM Win32_Processor", cpus, [&](const auto& row) {
            return CpuElementFromRow(row, registryName ? &*registryName : nullptr);
        });
    if (FAILED(hr)) {
        return hr;
    }
    out["CPU"] = cpus;
    collection.Complete(cpus);
    return 0;
}

int CollectMemory(const WmiSession& session, Json::Value& out) {
    Json::Value modules;
    std::int64_t total = 0;
    switch (WmiProcessState::AcquireGroup(session, Group::Memory, modules, &total)) {
    case WmiProcessState::Answer::Cached:
        out["Memory"] = modules;
        out["Memory_Total_Capacity"] = Json::Int64(total);
        return 0;
    case WmiProcessState::Answer::Nothing:
        return kNoServices;
    case WmiProcessState::Answer::CollectHere:
        break;
    }
    GroupCollection collection(session, Group::Memory);
    HRESULT hr = RunWmiQuery(session, L"Select * From Win32_ComputerSystem",
                             [&](const WmiPropertySource& row) {
                                 std::uint64_t bytes = 0;
                                 if (ReadUInt64Property(row, L"TotalPhysicalMemory", bytes)) {
                                     total = static_cast<std::int64_t>(bytes);
                                     out["Memory_Total_Capacity"] = Json::Int64(total);
                                 }
                             });
    if (FAILED(hr)) {
        return hr;
    }
    hr = QueryArray(session, L"Select * FROM Win32_PhysicalMemory", modules,
                    [](const auto& row) { return MemoryElementFromRow(row); });
    if (FAILED(hr)) {
        return hr;
    }
    out["Memory"] = modules;
    collection.Complete(modules, total);
    return 0;
}

int CollectVideoCard(const WmiSession& session, Json::Value& out) {
    Json::Value cards;
    switch (WmiProcessState::AcquireGroup(session, Group::Video, cards, nullptr)) {
    case WmiProcessState::Answer::Cached:
        out["Video_Card"] = cards;
        return 0;
    case WmiProcessState::Answer::Nothing:
        return kNoServices;
    case WmiProcessState::Answer::CollectHere:
        break;
    }
    GroupCollection collection(session, Group::Video);
    const HRESULT hr = QueryArray(session, L"Select * FROM Win32_VideoController", cards,
                                  [](const auto& row) { return VideoCardElementFromRow(row); });
    if (FAILED(hr)) {
        return hr;
    }
    out["Video_Card"] = cards;
    collection.Complete(cards);
    return 0;
}

int CollectDisk(const WmiSession& session, Json::Value& out) {
    if (session.Services() == nullptr) {
        return kNoServices;
    }
    Json::Value disks;
    const HRESULT hr = QueryArray(session, L"Select * FROM Win32_DiskDrive", disks,
                                  [](const auto& row) { return DiskElementFromRow(row); });
    if (FAILED(hr)) {
        return hr;
    }
    out["Disk"] = disks;
    wchar_t fileSystem[MAX_PATH] = {};
    if (::GetVolumeInformationW(L"C:\\", nullptr, 0, nullptr, nullptr, nullptr, fileSystem,
                                MAX_PATH)) {
        out["Disk_File_System"] = WideToUtf8Text(fileSystem);
    }
    return 0;
}

int CollectMonitor(const WmiSession& session, Json::Value& out) {
    if (session.Services() == nullptr) {
        return kNoServices;
    }
    std::uint32_t maxWidth = 0;
    std::uint32_t maxHeight = 0;
    DisplayModeMaxima(maxWidth, maxHeight);
    Json::Value monitors;
    // A monitor query that cannot be started leaves the list empty; the collector goes on.
    if (FAILED(QueryArray(
            session, L"Select * FROM Win32_DesktopMonitor", monitors,
            [&](const auto& row) { return MonitorElementFromRow(row, maxWidth, maxHeight); }))) {
        monitors = Json::Value(Json::arrayValue);
    }
    const HRESULT hr = RunWmiQuery(session, L"Select * FROM Win32_DisplayConfiguration",
                                   [&](const WmiPropertySource& row) {
                                       std::uint32_t bits = 0;
                                       if (ReadUInt32Property(row, L"BitsPerPel", bits)) {
                                           out["BitsPerPel"] = Json::UInt(bits);
                                       }
                                   });
    if (FAILED(hr)) {
        return hr;
    }
    out["Monitor"] = monitors;
    return 0;
}

int CollectSoundCard(const WmiSession& session, Json::Value& out) {
    if (session.Services() == nullptr) {
        return kNoServices;
    }
    Json::Value cards;
    const HRESULT hr = QueryArray(session, L"Select * FROM Win32_SoundDevice", cards,
                                  [](const auto& row) { return SoundCardElementFromRow(row); });
    if (FAILED(hr)) {
        return hr;
    }
    out["Sound_Card"] = cards;
    return 0;
}
