#pragma once
#include <windows.h>

#include <json/json.h>

#include <string>
#include <vector>

// "Netword_Adapter": one {"Name": description bytes, "Speed": UInt} per ethernet interface, or a
// single {"Name": "Unknown", "Speed": "Unknown"} when the interface table cannot be read.
void CollectNetworkAdapters(Json::Value& out);

// One MAC text ("%02x-%02x-%02x-%02x-%02x-%02x", lower case) and one IP text (the adapter's first
// address) per adapter, in the platform's order; both stay empty when the adapters cannot be read.
void GetAdapterMacsAndIps(std::vector<std::string>& macs, std::vector<std::string>& ips);

// All adapters' MAC texts and all their IP texts, each joined by ";" (the report's "Mac" and "IP"),
// read once per process.
void ReadMacAndIp(std::string& macText, std::string& ipText);

// The pieces, for callers that format addresses of their own.
std::string FormatMacText(const unsigned char* address);
std::string JoinWithSemicolons(const std::vector<std::string>& texts);
