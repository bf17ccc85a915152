#pragma once
#include <windows.h>

#include <json/json.h>

#include <string>

// The machine identifier: 16 upper-case hexadecimal digits from the NetBIOS adapter address and
// the serial number of volume C:. The statistics server knows machines by it, so the formula must
// never change. Computed once per process.
void ComputeMachId(std::string& machId);
// Writes the identifier as "MachId".
void AddMachIdToJson(Json::Value& out);

// The 6-byte address of the first NetBIOS LAN adapter; false (address untouched) when any NetBIOS
// call fails.
bool GetNetBiosMac(unsigned char (&address)[6]);

// The formula: bytes M0+S2, M1, M2+S3, M3+S0, M4, M5+S2, S0, S1 (each modulo 256, S0 the serial's
// least significant byte), printed as "%02X" each.
std::string FormatMachId(DWORD volumeSerial, const unsigned char (&address)[6]);
