#include <windows.h>

#include "statistics/MachId.h"
#include "statistics/NetworkAdapters.h"
#include "statistics/OsCode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <regex>

namespace {

bool IsWow64() {
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

// The cp936 run of the test program says which code page it expects.
UINT ExpectedAnsiCodePage() {
    const char* expected = std::getenv("UNINST_EXPECT_ACP");
    return expected != nullptr ? static_cast<UINT>(std::atoi(expected)) : 1252u;
}

} // namespace

TEST(OsCode, CodePageClasses) {
    for (UINT cp : {936u, 950u, 10002u, 10008u, 20000u, 20002u, 20936u, 50227u, 50229u, 50935u,
                    50936u, 51936u, 51950u, 52936u, 54936u}) {
        EXPECT_STREQ("0", CodePageClassOf(cp)) << cp;
    }
    EXPECT_STREQ("1", CodePageClassOf(1252));
    for (UINT cp : {0u, 437u, 932u, 949u, 1250u, 1251u, 1253u, 65001u}) {
        EXPECT_STREQ("2", CodePageClassOf(cp)) << cp;
    }
}

TEST(OsCode, FormatsTheWorkedRows) {
    EXPECT_EQ("513320", FormatOsCode(5, 1, "3", "32", "0"));
    EXPECT_EQ("611640", FormatOsCode(6, 1, "1", "64", "0"));
    EXPECT_EQ("630641", FormatOsCode(6, 3, "0", "64", "1"));
    EXPECT_EQ("1000642", FormatOsCode(10, 0, "0", "64", "2"));
    EXPECT_EQ("999320", FormatOsCode(9, 9, "9", "32", "0"));
    EXPECT_EQ("009640", FormatOsCode(0, 0, "9", "64", "0"));
}

TEST(OsCode, ReadsWineAsWindows7Sp1) {
    DWORD major = 0;
    DWORD minor = 0;
    DWORD build = 0;
    ASSERT_TRUE(GetNtVersionNumbers(major, minor, build));
    EXPECT_EQ(6u, major);
    EXPECT_EQ(1u, minor);
    EXPECT_EQ(7601u, build);

    std::string servicePack;
    GetServicePackText(servicePack);
    EXPECT_EQ("1", servicePack);

    EXPECT_EQ(ExpectedAnsiCodePage(), ::GetACP());
    std::string cls;
    GetCodePageClass(cls);
    EXPECT_EQ(ExpectedAnsiCodePage() == 936 ? "0" : "1", cls);

    std::string osCode = "stale";
    BuildOsCode(osCode);
    EXPECT_EQ(std::string("611") + (IsWow64() ? "64" : "32") + cls, osCode);
}

TEST(MachIdFormula, MixesAddressAndSerial) {
    const unsigned char zero[6] = {};
    EXPECT_EQ("0000000000000000", FormatMachId(0, zero));

    // S = 0x11223344: S0 0x44, S1 0x33, S2 0x22, S3 0x11.
    const unsigned char address[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    // 00+22, 1A, 2B+11, 3C+44, 4D, 5E+22, 44, 33
    EXPECT_EQ("221A3C804D804433", FormatMachId(0x11223344, address));

    // Each byte wraps modulo 256.
    const unsigned char high[6] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    // FF+02, FF, FF+03, FF+04, FF, FF+02, 04, 01
    EXPECT_EQ("01FF0203FF010401", FormatMachId(0x03020104, high));
}

TEST(MachIdFormula, ComputedFromNetBiosAndVolumeC) {
    std::string machId;
    ComputeMachId(machId);
    EXPECT_TRUE(std::regex_match(machId, std::regex("[0-9A-F]{16}"))) << machId;

    unsigned char address[6] = {};
    const bool netbios = GetNetBiosMac(address);
    EXPECT_TRUE(netbios) << "Netbios works under Wine";
    DWORD serial = 0;
    ::GetVolumeInformationA("c:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(FormatMachId(serial, address), machId);

    // Stable from call to call.
    for (int i = 0; i < 3; ++i) {
        std::string again;
        ComputeMachId(again);
        EXPECT_EQ(machId, again);
    }
    Json::Value out(Json::objectValue);
    AddMachIdToJson(out);
    EXPECT_EQ(machId, out["MachId"].asString());
}

TEST(MachIdFormula, FailedNetBiosLeavesTheAddressUntouched) {
    unsigned char address[6] = {1, 2, 3, 4, 5, 6};
    if (GetNetBiosMac(address)) {
        GTEST_SKIP() << "NetBIOS answers on this machine";
    }
    const unsigned char expected[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(0, std::memcmp(expected, address, 6));
}

TEST(Network, MacTextsAndJoining) {
    const unsigned char address[6] = {0x00, 0x0A, 0xBC, 0xDE, 0xF0, 0x12};
    EXPECT_EQ("00-0a-bc-de-f0-12", FormatMacText(address));
    EXPECT_EQ("", JoinWithSemicolons({}));
    EXPECT_EQ("a", JoinWithSemicolons({"a"}));
    EXPECT_EQ("a;b", JoinWithSemicolons({"a", "b"}));
    EXPECT_EQ("a;;c", JoinWithSemicolons({"a", "", "c"}));
}

TEST(Network, AdaptersGiveOneMacAndOneIpEach) {
    std::vector<std::string> macs;
    std::vector<std::string> ips;
    GetAdapterMacsAndIps(macs, ips);
    ASSERT_EQ(macs.size(), ips.size());
    ASSERT_FALSE(macs.empty()) << "Wine lists the host's adapters";
    for (const auto& mac : macs) {
        EXPECT_TRUE(std::regex_match(mac, std::regex("([0-9a-f]{2}-){5}[0-9a-f]{2}"))) << mac;
    }
    for (const auto& ip : ips) {
        EXPECT_TRUE(std::regex_match(ip, std::regex("\\d{1,3}(\\.\\d{1,3}){3}"))) << ip;
    }

    std::string macText = "stale";
    std::string ipText = "stale";
    ReadMacAndIp(macText, ipText);
    EXPECT_EQ(JoinWithSemicolons(macs), macText);
    EXPECT_EQ(JoinWithSemicolons(ips), ipText);
    EXPECT_EQ(macs.size() - 1,
              static_cast<size_t>(std::count(macText.begin(), macText.end(), ';')));
}

TEST(Network, EthernetAdaptersFromTheInterfaceTable) {
    Json::Value out(Json::objectValue);
    CollectNetworkAdapters(out);
    const Json::Value& adapters = out["Netword_Adapter"];
    ASSERT_TRUE(adapters.isArray());
    ASSERT_GE(adapters.size(), 1u);
    if (adapters[0]["Name"] == "Unknown") {
        ASSERT_EQ(1u, adapters.size());
        EXPECT_EQ("Unknown", adapters[0]["Speed"].asString());
        return;
    }
    for (const auto& adapter : adapters) {
        EXPECT_TRUE(adapter["Name"].isString());
        EXPECT_TRUE(adapter["Speed"].isUInt());
        EXPECT_EQ(2u, adapter.size());
    }
}
