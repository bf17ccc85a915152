#include <windows.h>

#include "statistics/SystemInfoKeyList.h"
#include "statistics/XmlTextDoc.h"
#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

constexpr unsigned kSeed = 20261207;
constexpr int kCases = 100000;

using namespace std::string_literals;

const std::vector<std::string> kGeneralXml = {
    "<?xml version='1.0' encoding='gb2312'?><!DOCTYPE r [<!ENTITY e 'x'>]><r a=\"&amp;&#x4E2D;\">"
    "<![CDATA[ <x> ]]><!-- c --><b c='>'/>t&lt;</r>",
    "\xFF\xFE<\0r\0>\0<\0/\0r\0>\0"s,
    "<html><head><meta http-equiv='Content-Type' content='text/html; charset=utf-8'></head></html>",
    "<a><b><c></b></a><d/></x>"};
// clang-format off
const std::vector<std::string> kInserts = {
    "<", ">", "&", "\"", "'", "/", "<!--", "-->", "]]>", "<![CDATA[", "<!DOCTYPE [", "<?", "?>",
    "&#x110000;", "&#55296;", "\xFF\xFE", "\xEF\xBB\xBF", "\0"s, "\xC3", "</a>",
    "encoding='utf-16'"};
// clang-format on

std::string Corrupt(std::string bytes, std::mt19937& random) {
    const int steps = 1 + static_cast<int>(random() % 6);
    for (int step = 0; step < steps; ++step) {
        const size_t at = bytes.empty() ? 0 : random() % (bytes.size() + 1);
        const size_t span = 1 + random() % 64;
        switch (random() % 5) {
        case 0: // flip bits of a byte
            if (at < bytes.size()) {
                bytes[at] = static_cast<char>(bytes[at] ^ (1 + random() % 255));
            }
            break;
        case 1:
            bytes.insert(at, kInserts[random() % kInserts.size()]);
            break;
        case 2: // cut a span out
            bytes.erase(at, span);
            break;
        case 3: // cut the end off
            bytes.resize(at);
            break;
        default: // repeat a span
            bytes.insert(at, bytes.substr(at, span));
        }
    }
    return bytes;
}

// Walks every element depth first and reads attributes; the walk must see each record once.
void WalkAll(CXmlTextDoc& doc) {
    doc.ResetPos();
    size_t visited = 0;
    while (visited < doc.ElementCount()) {
        if (doc.FindElement(nullptr)) {
            ++visited;
            doc.GetAttribute(L"a");
            doc.EnterElement();
        } else if (!doc.LeaveElement()) {
            break;
        }
    }
    EXPECT_EQ(visited + 1, doc.ElementCount());
}

void CheckRecords(const CXmlTextDoc& doc) {
    const size_t size = doc.GetDocText().size();
    for (std::uint32_t i = 1; i < doc.ElementCount(); ++i) {
        const XmlElementPos& e = doc.Element(i);
        ASSERT_LE(e.start + static_cast<size_t>(e.length), size) << i;
        ASSERT_LE(e.startTagLength + e.endTagLength, e.length) << i;
        ASSERT_LT(e.parent, i);
    }
}

} // namespace

TEST(XmlCorruption, SeededDamageParsesWithoutCrashOrHang) {
    const std::string list = TestSupport::ReadFileBytes(
        TestSupport::WinePathOf(UNINST_SOURCE_DIR "/resources/SystemInfoKeys.xml"));
    ASSERT_GT(list.size(), 1000u);
    std::mt19937 random(kSeed);
    int listsRead = 0, wellFormed = 0;
    for (int i = 0; i < kCases && !HasFatalFailure(); ++i) {
        const bool isList = i % 2 == 0;
        const std::string bytes =
            Corrupt(isList ? list : kGeneralXml[(i / 2) % kGeneralXml.size()], random);
        if (isList) {
            SystemInfoKeyList keys;
            keys.LoadBytes(bytes);
            std::vector<std::wstring> patterns;
            listsRead += keys.IsGroupSubmitted(L"Monitor") &&
                         keys.ReadCategoryPatterns(L"Other_Software", patterns);
        }
        CXmlTextDoc doc;
        int flags = 0;
        doc.ReadTextBytes(bytes, flags);
        wellFormed += doc.ParseDocument();
        CheckRecords(doc);
        WalkAll(doc);
    }
    // Seeded: the same counts on every run.
    std::printf("seed %u: %d lists still read, %d documents well-formed\n", kSeed, listsRead,
                wellFormed);
    EXPECT_GT(listsRead, 0);
}
