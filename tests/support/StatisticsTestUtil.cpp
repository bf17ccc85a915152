#include <windows.h>

#include "tests/support/StatisticsTestUtil.h"
#include "tests/support/FileUtil.h"
#include "tests/support/JsonText.h"
#include "tests/support/LoopbackHttpServer.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace StatsTest {

std::string StandardServerList(const std::string& base) {
    const std::string event = base + "/launchersubmit/eventInfoSubmit";
    return "[SubmitDeviceInfo]\n"
           "SubmitUrl=" +
           base +
           "/launchersubmit/deviceInfoSubmit\n"
           "InputDataKeyWord=Game_ID;Game_Version\n"
           "SubmitDataKeyWord=Client_Info;Module\n"
           "\n[SubmitEventUpdt]\n"
           "SubmitUrl=" +
           event +
           "\n"
           "InputDataKeyWord=DVersion;GameID;AppVersion\n"
           "SubmitDataKeyWord=MachId;Mac;OS\n"
           "\n[SubmitEventInst]\n"
           "SubmitUrl=" +
           event +
           "\n"
           "InputDataKeyWord=DVersion;GameID;GVersion;AppVersion\n"
           "SubmitDataKeyWord=MachId;Mac;OS\n"
           "\n[SubmitEventDownload]\n"
           "SubmitUrl=" +
           event +
           "\n"
           "InputDataKeyWord=DVersion;GameID;GVersion;AppVersion\n"
           "SubmitDataKeyWord=MachId;Mac;OS\n"
           "\n[SubmitEventDownloadSeveral]\n"
           "#SubmitUrl=" +
           base +
           "/elsewhere/eventListSubmit\n"
           "SubmitUrl=" +
           base +
           "/launchersubmit/eventListSubmit\n"
           "InputDataKeyWord=DVersion;GameID;GVersion;AppVersion\n"
           "SubmitDataKeyWord=MachId;Mac;OS\n"
           "\n[OsTypeCode]\nWIN_XP_SP2=512 \nWIN_7_SP1=611\nOther=999\n";
}

bool WriteServerList(const std::wstring& path, const std::string& text) {
    std::string crlf;
    for (const char c : text) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    return TestSupport::WriteFileBytes(path, crlf);
}

std::wstring MinimalFragment(const std::wstring& gversion) {
    return L",\"DVersion\":\"1.8\",\"Machid\":\"0x01234567, 0x89ABCDEF\",\"AppVersion\":\"\","
           L"\"GameID\":\"1001\",\"GVersion\":\"" +
           gversion + L"\"";
}

bool ParseStrictJson(const std::string& text, Json::Value& root) {
    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    return reader->parse(text.data(), text.data() + text.size(), &root, &errors);
}

bool IsMadeOf(const std::string& text, const char* set, size_t count) {
    return text.size() == count && text.find_first_not_of(set) == std::string::npos;
}

bool IsMachineIdAnswer(const std::string& text) {
    const char* hex = "0123456789ABCDEF";
    return text.size() == 22 && text.compare(0, 2, "0x") == 0 &&
           IsMadeOf(text.substr(2, 8), hex, 8) && text.compare(10, 4, ", 0x") == 0 &&
           IsMadeOf(text.substr(14, 8), hex, 8);
}

EventReport DecodeEventBody(const std::string& body) {
    EventReport report;
    const std::string infoField = "&info=";
    const size_t info = body.find(infoField);
    if (body.compare(0, 5, "code=") != 0 || info == std::string::npos) {
        return report;
    }
    report.code = body.substr(5, info - 5);
    report.encodedInfo = body.substr(info + infoField.size());
    bool clean = true;
    for (size_t i = 0; i < report.encodedInfo.size(); ++i) {
        const char c = report.encodedInfo[i];
        const bool alnum =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (c == '%') {
            clean = clean && i + 2 < report.encodedInfo.size() &&
                    std::strchr("0123456789ABCDEF", report.encodedInfo[i + 1]) != nullptr &&
                    std::strchr("0123456789ABCDEF", report.encodedInfo[i + 2]) != nullptr;
            i += 2;
        } else if (!alnum) {
            clean = false;
        }
    }
    report.wellFormedBody = clean;
    report.text = TestSupport::PercentDecode(report.encodedInfo);
    report.validUtf8 = TestSupport::IsValidUtf8(report.text);
    report.validJson = ParseStrictJson(report.text, report.root) && report.root.isObject();
    report.names = TestSupport::TopLevelMemberNames(report.text);
    return report;
}

std::vector<std::string> ComponentNamesWithHardware() {
    return {"CPU", "Mac",       "MachId",    "Memory", "Memory_Total_Capacity",
            "OS",  "Sessionid", "Video_Card"};
}

std::vector<std::string> ComponentNamesWithoutHardware() {
    return {"Mac", "MachId", "OS", "Sessionid"};
}

bool ExpectedCodePage936() {
    const char* expected = std::getenv("UNINST_EXPECT_ACP");
    return expected != nullptr && std::atoi(expected) == 936;
}

} // namespace StatsTest
