#include <winsock2.h>
#include <windows.h>

#include "statistics/DataStatisticsImp.h"
#include "statistics/NetworkAdapters.h"
#include "statistics/OsCode.h"
#include "tests/statistics/ScratchRegistry.h"
#include "tests/support/StatisticsTestUtil.h"
#include "tests/support/FileUtil.h"
#include "tests/support/JsonText.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

using TestSupport::ToUtf8;

namespace {

const char kDevicePath[] = "/launchersubmit/deviceInfoSubmit";
const wchar_t kFragment[] = L",\"Game_ID\":\"1001\",\"Game_Version\":\"1.2\"";
const std::wstring kUninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char* const kCategories[] = {"Assisted_Tools",    "Browser_Software",  "Chat_Tools",
                                   "Compression_Tools", "Download_Software", "Input_Method",
                                   "Media_Player",      "Music_Tools",       "Office_Software",
                                   "Other_Software",    "Security_Software"};

std::set<std::string> Names(const Json::Value& object) {
    const auto names = object.getMemberNames();
    return std::set<std::string>(names.begin(), names.end());
}

// The programs of a category whose names carry the token.
std::vector<std::string> Own(const Json::Value& programs, const std::string& token) {
    std::vector<std::string> own;
    for (const Json::Value& program : programs) {
        const std::string name = program["Name"].asString();
        if (name.find(token) != std::string::npos) {
            own.push_back(name + "=" + program["Version"].asString());
        }
    }
    return own;
}

// The list is read from the component's folder, which is this program's: each test puts the list
// it wants there (the ctest lock keeps the code-page twin out meanwhile).
class DeviceInfoReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Start());
        ASSERT_TRUE(
            StatsTest::WriteServerList(listPath, StatsTest::StandardServerList(server.BaseUrl())));
        object.SetServerListPath(listPath.c_str());
        const std::wstring program = TestSupport::OwnProgramPath();
        keysPath = program.substr(0, program.rfind(L'\\') + 1) + L"SystemInfoKeys.xml";
        ASSERT_TRUE(TestSupport::WriteFileBytes(
            keysPath, TestSupport::ReadFileBytes(TestSupport::WinePathOf(
                          UNINST_SOURCE_DIR "/resources/SystemInfoKeys.xml"))));
        token = ToUtf8(CollectorTests::UniqueName(L"Zq"));
    }
    void TearDown() override { ::DeleteFileW(keysPath.c_str()); }

    void AddProgram(const std::string& displayName, const std::wstring& version) {
        const std::wstring key =
            kUninstall + L"\\" + TestSupport::FromUtf8(token) + std::to_wstring(++programs);
        ASSERT_TRUE(registry.SetString(HKEY_CURRENT_USER, key, L"DisplayName",
                                       TestSupport::FromUtf8(displayName)));
        ASSERT_TRUE(registry.SetString(HKEY_CURRENT_USER, key, L"DisplayVersion", version));
    }

    // Submits the report and takes the one request apart.
    Json::Value Submit() {
        int mask = 0;
        EXPECT_EQ(object.SubmitEventInst(L"0", kFragment, &mask), STAT_OK);
        const auto requests = server.Requests();
        EXPECT_EQ(requests.size(), 1u);
        if (requests.size() != 1) {
            return Json::Value();
        }
        EXPECT_EQ(requests[0].path, kDevicePath);
        const std::string& body = requests[0].body;
        EXPECT_EQ(body.rfind("info=", 0), 0u);
        text = TestSupport::PercentDecode(body.substr(5));
        EXPECT_TRUE(TestSupport::IsValidUtf8(text));
        Json::Value root;
        EXPECT_TRUE(StatsTest::ParseStrictJson(text, root)) << text;
        return root;
    }

    TestSupport::TempDir dir{L"device"};
    std::wstring listPath = dir / L"Serverlist.ini";
    std::wstring keysPath;
    TestSupport::LoopbackHttpServer server;
    CDataStatisticsImp object;
    CollectorTests::ScratchRegistry registry;
    std::string token;
    std::string text;
    int programs = 0;
};

} // namespace

TEST_F(DeviceInfoReportTest, ShippedListReportsHardwareSoftwareAndOs) {
    AddProgram("Mozilla Firefox 99.0 (x86 zh-CN) " + token, L"99.0");
    AddProgram(token + " ends in Firefox", L"1");
    AddProgram(ToUtf8(L"风行 funshion ") + token, L"3.0");
    AddProgram(ToUtf8(L"腾讯QQ ") + token, L"9.7");
    const Json::Value root = Submit();
    EXPECT_EQ(TestSupport::TopLevelMemberNames(text),
              (std::vector<std::string>{"Client_Info", "Data_Date", "IP", "Mac_Address", "Game_ID",
                                        "Game_Version"}));
    EXPECT_TRUE(std::regex_match(root["Data_Date"].asString(),
                                 std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
    std::string mac, ip, os;
    ReadMacAndIp(mac, ip);
    BuildOsCode(os);
    EXPECT_EQ(root["Mac_Address"].asString(), mac);
    EXPECT_EQ(root["IP"].asString(), ip);
    const Json::Value& client = root["Client_Info"];
    ASSERT_EQ(client.size(), 3u);

    const std::set<std::string> hardware = Names(client[0]);
    for (const char* member : {"Module", "CPU", "Disk", "Memory", "Monitor", "Video_Card",
                               "Netword_Adapter", "Sound_Card", "MachId"}) {
        EXPECT_EQ(hardware.count(member), 1u) << member;
    }
    EXPECT_EQ(client[0]["Module"], "pt_hardware");
    EXPECT_TRUE(StatsTest::IsMadeOf(client[0]["MachId"].asString(), "0123456789ABCDEF", 16));

    EXPECT_EQ(client[1]["Module"], "pt_software");
    EXPECT_EQ(client[1].size(), 12u);
    const Json::Value& browsers = client[1]["Browser_Software"];
    // "Firefox " with its blank: a name that ends in the word is not a match.
    EXPECT_EQ(Own(browsers, token),
              (std::vector<std::string>{"Mozilla Firefox 99.0 (x86 zh-CN) " + token + "=99.0"}));
    EXPECT_EQ(Own(client[1]["Media_Player"], token),
              (std::vector<std::string>{ToUtf8(L"风行 funshion ") + token + "=3.0"}));
    EXPECT_EQ(Own(client[1]["Chat_Tools"], token),
              (std::vector<std::string>{ToUtf8(L"腾讯QQ ") + token + "=9.7"}));
    EXPECT_EQ(Own(browsers, "Internet Explorer").size(), GetIeVersion().empty() ? 0u : 1u);

    EXPECT_EQ(Names(client[2]), (std::set<std::string>{"Module", "Windows_Code"}));
    EXPECT_EQ(client[2]["Module"], "pt_os");
    EXPECT_EQ(client[2]["Windows_Code"], os);
}

// The same object reported every group with the shipped list before: what the list stops asking
// for is not sent again.
TEST_F(DeviceInfoReportTest, OnlyGroupsMarkedYesAndReadableCategoriesReport) {
    AddProgram("Skype " + token, L"8");
    const Json::Value before = Submit()["Client_Info"][0];
    ASSERT_TRUE(before.isMember("CPU") && before.isMember("Disk") && before.isMember("Sound_Card"));
    server.ClearRequests();
    ASSERT_TRUE(TestSupport::WriteFileBytes(
        keysPath,
        "<?xml version='1.0' encoding='utf-8'?><pt_SystemInfo><pt_hardware>"
        "<CPU_INFO SubmitType='yes'/><DISK_INFO SubmitType='No'/><SOUND_DEVICE/>"
        "<Memory SubmitType='Yes'/><Netword_Adapter SubmitType=\"Yes\"></Netword_Adapter>"
        "</pt_hardware><pt_software><Chat_Tools><item Regkey='SKYPE '/><item Regkey='skype'/>"
        "<item Regkey=''/></Chat_Tools></pt_software></pt_SystemInfo>"));
    const Json::Value root = Submit();
    const Json::Value& client = root["Client_Info"];
    EXPECT_EQ(Names(client[0]), (std::set<std::string>{"MachId", "Memory", "Memory_Total_Capacity",
                                                       "Module", "Netword_Adapter"}));
    // Two patterns match the program: one entry. The categories after it have none of its programs.
    EXPECT_EQ(Own(client[1]["Chat_Tools"], token),
              (std::vector<std::string>{"Skype " + token + "=8"}));
    for (const char* category : kCategories) {
        EXPECT_EQ(client[1][category].size(), std::string(category) == "Chat_Tools" ? 1u : 0u)
            << category;
    }
    EXPECT_FALSE(root.isMember("Extra_Err_Msg"));
}

// Each report lists the programs installed at its own time: one object, programs added and removed
// between its reports.
TEST_F(DeviceInfoReportTest, EveryReportScansTheRegistryAnew) {
    const std::string name = "Skype " + token;
    for (const int step : {0, 1, 2}) {
        server.ClearRequests();
        if (step == 1) {
            AddProgram(name, L"8");
        } else if (step == 2) {
            registry.Clear();
        }
        const Json::Value root = Submit();
        EXPECT_EQ(Own(root["Client_Info"][1]["Chat_Tools"], token),
                  step == 1 ? std::vector<std::string>{name + "=8"} : std::vector<std::string>{})
            << step;
    }
}

TEST_F(DeviceInfoReportTest, MissingOrBrokenListStillReports) {
    for (const bool missing : {true, false}) {
        server.ClearRequests();
        if (missing) {
            ASSERT_TRUE(::DeleteFileW(keysPath.c_str()));
        } else {
            ASSERT_TRUE(TestSupport::WriteFileBytes(
                keysPath, "<pt_SystemInfo><pt_hardware><CPU_INFO SubmitType='Yes'>"));
        }
        const Json::Value root = Submit();
        EXPECT_EQ(root.get("Extra_Err_Msg", "").asString(),
                  missing ? "ERR : something wrong with SystemInfoKeys.xml or no such files!" : "");
        const Json::Value& client = root["Client_Info"];
        EXPECT_EQ(Names(client[0]), (std::set<std::string>{"MachId", "Module"}));
        for (const char* category : kCategories) {
            EXPECT_EQ(client[1][category], Json::Value(Json::arrayValue)) << category;
        }
        EXPECT_TRUE(root.isMember("Data_Date") && root.isMember("IP") &&
                    root.isMember("Mac_Address"));
    }
}

namespace {

// Every way out of the report closes WMI: this thread's COM is uninitialised again.
void ExpectComBalanced() {
    EXPECT_EQ(::CoInitialize(nullptr), S_OK);
    ::CoUninitialize();
}

} // namespace

TEST_F(DeviceInfoReportTest, MissingKeywordsSendNothing) {
    int mask = 0;
    EXPECT_EQ(object.SubmitEventInst(L"0", L",\"Game_ID\":\"1\"", &mask),
              STAT_DEVICE_INPUT_KEY_MISSING);
    ExpectComBalanced();
    ASSERT_TRUE(StatsTest::WriteServerList(
        listPath, "[SubmitDeviceInfo]\nSubmitUrl=" + server.Url(kDevicePath) +
                      "\nSubmitDataKeyWord=Client_Info;Nope\n"));
    EXPECT_EQ(object.SubmitEventInst(L"0", kFragment, &mask), STAT_DEVICE_BODY_FAILED);
    ExpectComBalanced();
    EXPECT_EQ(server.RequestCount(), 0u);
}
