#include <windows.h>
#include <iphlpapi.h>

#include "statistics/NetworkAdapters.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

namespace {

constexpr DWORD kEthernet = 6;

Json::Value UnknownAdapters() {
    Json::Value unknown(Json::objectValue);
    unknown["Speed"] = "Unknown";
    unknown["Name"] = "Unknown";
    Json::Value adapters(Json::arrayValue);
    adapters.append(unknown);
    return adapters;
}

Json::Value EthernetAdapters() {
    ULONG size = 0;
    if (::GetIfTable(nullptr, &size, TRUE) != ERROR_INSUFFICIENT_BUFFER || size == 0) {
        return UnknownAdapters();
    }
    std::vector<MIB_IFTABLE> buffer;
    try {
        buffer.resize(size / sizeof(MIB_IFTABLE) + 1);
    } catch (const std::bad_alloc&) {
        return UnknownAdapters();
    }
    MIB_IFTABLE* table = buffer.data();
    if (::GetIfTable(table, &size, TRUE) != NO_ERROR) {
        return UnknownAdapters();
    }
    Json::Value adapters(Json::arrayValue);
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        const MIB_IFROW& row = table->table[i];
        if (row.dwType != kEthernet) {
            continue;
        }
        // The description is bytes of the driver's choosing, taken as they are.
        const char* descr = reinterpret_cast<const char*>(row.bDescr);
        const size_t limit = row.dwDescrLen < MAXLEN_IFDESCR ? row.dwDescrLen : MAXLEN_IFDESCR;
        Json::Value adapter(Json::objectValue);
        adapter["Name"] = std::string(descr, ::strnlen(descr, limit));
        adapter["Speed"] = Json::UInt(row.dwSpeed);
        adapters.append(adapter);
    }
    return adapters;
}

} // namespace

void CollectNetworkAdapters(Json::Value& out) {
    out["Netword_Adapter"] = EthernetAdapters();
}

std::string FormatMacText(const unsigned char* address) {
    char text[18] = {};
    std::snprintf(text, sizeof(text), "%02x-%02x-%02x-%02x-%02x-%02x", address[0], address[1],
                  address[2], address[3], address[4], address[5]);
    return text;
}

std::string JoinWithSemicolons(const std::vector<std::string>& texts) {
    std::string joined;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i != 0) {
            joined += ';';
        }
        joined += texts[i];
    }
    return joined;
}

void GetAdapterMacsAndIps(std::vector<std::string>& macs, std::vector<std::string>& ips) {
    std::vector<IP_ADAPTER_INFO> buffer(1);
    ULONG size = sizeof(IP_ADAPTER_INFO);
    DWORD rc = ::GetAdaptersInfo(buffer.data(), &size);
    if (rc == ERROR_BUFFER_OVERFLOW) {
        buffer.resize(size / sizeof(IP_ADAPTER_INFO) + 1);
        size = static_cast<ULONG>(buffer.size() * sizeof(IP_ADAPTER_INFO));
        rc = ::GetAdaptersInfo(buffer.data(), &size);
    }
    if (rc != NO_ERROR) {
        return;
    }
    for (const IP_ADAPTER_INFO* adapter = buffer.data(); adapter != nullptr;
         adapter = adapter->Next) {
        macs.push_back(FormatMacText(adapter->Address));
        const char* ip = adapter->IpAddressList.IpAddress.String;
        ips.emplace_back(ip, ::strnlen(ip, sizeof(adapter->IpAddressList.IpAddress.String)));
    }
}

void ReadMacAndIp(std::string& macText, std::string& ipText) {
    // Read once per process (every report carries them) and kept until it
    // ends, like the machine identifier.
    static const std::pair<std::string, std::string>* const texts = [] {
        std::vector<std::string> macs;
        std::vector<std::string> ips;
        GetAdapterMacsAndIps(macs, ips);
        return new std::pair<std::string, std::string>(JoinWithSemicolons(macs),
                                                       JoinWithSemicolons(ips));
    }();
    macText = texts->first;
    ipText = texts->second;
}
