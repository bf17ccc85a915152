#include <windows.h>
#include <nb30.h>

#include "statistics/MachId.h"

#include <cstdio>
#include <cstring>

namespace {

// The NetBIOS buffers' sizes are part of the identifier's definition: an adapter whose status
// does not fit reports an error and yields the zero address.
static_assert(sizeof(LANA_ENUM) == 256, "adapter-number list of 256 bytes");
static_assert(sizeof(ADAPTER_STATUS) == 60, "adapter status of 60 bytes");

DWORD VolumeSerialOfC() {
    DWORD serial = 0;
    if (!::GetVolumeInformationA("c:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) {
        return 0;
    }
    return serial;
}

} // namespace

bool GetNetBiosMac(unsigned char (&address)[6]) {
    LANA_ENUM lanas = {};
    NCB ncb = {};
    ncb.ncb_command = NCBENUM;
    ncb.ncb_buffer = reinterpret_cast<PUCHAR>(&lanas);
    ncb.ncb_length = sizeof(lanas);
    if (::Netbios(&ncb) != NRC_GOODRET) {
        return false;
    }
    const UCHAR lana = lanas.lana[0];

    ncb = NCB{};
    ncb.ncb_command = NCBRESET;
    ncb.ncb_lana_num = lana;
    if (::Netbios(&ncb) != NRC_GOODRET) {
        return false;
    }

    ADAPTER_STATUS status = {};
    ncb = NCB{};
    ncb.ncb_command = NCBASTAT;
    ncb.ncb_lana_num = lana;
    ncb.ncb_callname[0] = '*';
    ncb.ncb_buffer = reinterpret_cast<PUCHAR>(&status);
    ncb.ncb_length = sizeof(status);
    if (::Netbios(&ncb) != NRC_GOODRET) {
        return false;
    }
    std::memcpy(address, status.adapter_address, sizeof(address));
    return true;
}

std::string FormatMachId(DWORD volumeSerial, const unsigned char (&address)[6]) {
    const unsigned s0 = volumeSerial & 0xFF;
    const unsigned s1 = (volumeSerial >> 8) & 0xFF;
    const unsigned s2 = (volumeSerial >> 16) & 0xFF;
    const unsigned s3 = (volumeSerial >> 24) & 0xFF;
    const unsigned bytes[8] = {
        (address[0] + s2) & 0xFF,
        address[1],
        (address[2] + s3) & 0xFF,
        (address[3] + s0) & 0xFF,
        address[4],
        (address[5] + s2) & 0xFF,
        s0,
        s1,
    };
    char text[17] = {};
    std::snprintf(text, sizeof(text), "%02X%02X%02X%02X%02X%02X%02X%02X", bytes[0], bytes[1],
                  bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7]);
    return text;
}

void ComputeMachId(std::string& machId) {
    // The NetBIOS enumeration costs milliseconds and the answer cannot change
    // while the process runs; the text lives until the process ends, so that
    // a report thread still running at exit never reads a destroyed string.
    static const std::string* const computed = [] {
        unsigned char address[6] = {};
        GetNetBiosMac(address);
        return new std::string(FormatMachId(VolumeSerialOfC(), address));
    }();
    machId = *computed;
}

void AddMachIdToJson(Json::Value& out) {
    std::string machId;
    ComputeMachId(machId);
    out["MachId"] = machId;
}
