#include <windows.h>

#include "ui/XmlDocument.h"

#include "tests/support/FileUtil.h"
#include "tests/ui/SkinSamples.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <random>
#include <set>
#include <string>

using SkinUI::CXmlDocument;
using SkinUI::CXmlNode;

namespace {

// Characters that matter to the syntax, plus ordinary and awkward ones.
const wchar_t kAlphabet[] = L"<>/\"'=&;#x!?- \t\r\nabAZ09_:.\x4E2D\xD83D\xDE00\x0001\xFFFF\xFEFF";

class Mutator {
public:
    explicit Mutator(uint32_t seed) : rng_(seed) {}

    std::wstring Mutate(std::wstring text) {
        const int edits = 1 + static_cast<int>(Next(8));
        for (int i = 0; i < edits && !text.empty(); ++i) {
            const size_t pos = Next(static_cast<uint32_t>(text.size()));
            switch (Next(9)) {
            case 0: // replace one character
                text[pos] = RandomChar();
                break;
            case 1: // insert characters
                text.insert(pos, 1 + Next(4), RandomChar());
                break;
            case 2: // delete a run
                text.erase(pos, 1 + Next(40));
                break;
            case 3: // duplicate a run
                text.insert(pos, text.substr(Next(static_cast<uint32_t>(text.size())), Next(120)));
                break;
            case 4: // cut the text
                text.resize(pos);
                break;
            case 5: { // drop one syntax character
                const size_t at = text.find_first_of(L"<>\"=/&", pos);
                if (at != std::wstring::npos) {
                    text.erase(at, 1);
                }
                break;
            }
            case 6: { // a reference of some kind
                static const wchar_t* refs[] = {
                    L"&amp;",          L"&lt",      L"&#",    L"&#x", L"&#x110000;",
                    L"&#99999999999;", L"&#xD800;", L"&#65;", L"&",   L"&quot;",
                    L"<!--",           L"<?",       L"-->",   L"</"};
                text.insert(pos, refs[Next(sizeof(refs) / sizeof(refs[0]))]);
                break;
            }
            case 7: // swap two characters
                std::swap(text[pos], text[Next(static_cast<uint32_t>(text.size()))]);
                break;
            default: { // deepen: opening tags, sometimes past the nesting limit
                const int tags = Next(3) == 0 ? 200 + static_cast<int>(Next(200)) : 1;
                std::wstring opening;
                for (int t = 0; t < tags; ++t) {
                    opening += L"<N>";
                }
                text.insert(pos, opening);
                break;
            }
            }
        }
        return text;
    }

    uint32_t Next(uint32_t bound) { return bound == 0 ? 0 : static_cast<uint32_t>(rng_() % bound); }

private:
    wchar_t RandomChar() { return kAlphabet[Next(static_cast<uint32_t>(std::wcslen(kAlphabet)))]; }

    std::mt19937 rng_;
};

struct Span {
    uintptr_t low = UINTPTR_MAX;
    uintptr_t high = 0;
    void Add(const wchar_t* p) {
        ASSERT_NE(nullptr, p);
        const auto begin = reinterpret_cast<uintptr_t>(p);
        const auto end = reinterpret_cast<uintptr_t>(p + std::wcslen(p));
        low = std::min(low, begin);
        high = std::max(high, end);
    }
};

// Walks every element and attribute. All strings handed out lie inside the
// document's text, so together they span no more than the text's length.
void Walk(CXmlNode node, int depth, Span& span, int& elements) {
    ASSERT_LE(depth, CXmlDocument::MAX_NESTING_DEPTH);
    for (; node.IsValid(); node = node.GetSibling()) {
        ++elements;
        span.Add(node.GetName());
        span.Add(node.GetValue());
        const int count = node.GetAttributeCount();
        ASSERT_LE(count, CXmlNode::MAX_XML_ATTRIBUTES);
        for (int i = 0; i < count; ++i) {
            span.Add(node.GetAttributeName(i));
            span.Add(node.GetAttributeValue(i));
            wchar_t buffer[17];
            ASSERT_TRUE(node.GetAttributeValue(node.GetAttributeName(i), buffer, 16));
        }
        Walk(node.GetChild(), depth + 1, span, elements);
    }
}

// A parse either succeeds with a sound tree or fails with an error text.
void CheckOutcome(CXmlDocument& doc, bool loaded, size_t textLength) {
    if (!loaded) {
        ASSERT_STRNE(L"", doc.GetLastErrorMessage());
        ASSERT_LT(std::wcslen(doc.GetLastErrorMessage()), 100u);
        ASSERT_LT(std::wcslen(doc.GetLastErrorLocation()), 50u);
        ASSERT_FALSE(doc.GetRoot().IsValid());
        return;
    }
    ASSERT_STREQ(L"", doc.GetLastErrorMessage());
    Span span;
    int elements = 0;
    Walk(doc.GetRoot(), 1, span, elements);
    if (elements > 0) {
        ASSERT_LE((span.high - span.low) / sizeof(wchar_t), textLength);
    }
}

} // namespace

TEST(XmlRobustnessTest, SamplesParse) {
    for (const wchar_t* skin : SkinSamples::kAll) {
        CXmlDocument doc;
        ASSERT_TRUE(doc.Load(skin)) << doc.GetLastErrorMessage();
        CheckOutcome(doc, true, std::wcslen(skin));
    }
}

TEST(XmlRobustnessTest, SeededCorruptionsOfWideSkinTexts) {
    int loaded = 0;
    int failed = 0;
    std::set<std::wstring> messages;
    for (uint32_t seed = 1; seed <= 40000; ++seed) {
        Mutator mutator(seed);
        const wchar_t* skin = SkinSamples::kAll[seed % 4];
        const std::wstring text = mutator.Mutate(skin);
        CXmlDocument doc;
        const bool ok = doc.Load(text.c_str());
        ASSERT_NO_FATAL_FAILURE(CheckOutcome(doc, ok, text.size())) << "seed " << seed;
        (ok ? loaded : failed) += 1;
        if (!ok) {
            messages.insert(doc.GetLastErrorMessage());
        }
        if (seed % 5000 == 0) {
            ASSERT_EQ(_HEAPOK, _heapchk()) << "seed " << seed;
        }
    }
    // Both outcomes occur, so the corruptions reach the parser's error paths
    // and its success paths alike.
    EXPECT_GT(loaded, 1000);
    EXPECT_GT(failed, 1000);
    // Every syntax error text of the parser is reached.
    EXPECT_EQ(9u, messages.size());
}

TEST(XmlRobustnessTest, SeededCorruptionsOfEncodedBytes) {
    for (uint32_t seed = 1; seed <= 12000; ++seed) {
        Mutator mutator(seed * 7919u);
        const wchar_t* skin = SkinSamples::kAll[seed % 4];
        std::string bytes;
        int encoding = SkinUI::XMLFILE_ENCODING_UTF8;
        switch (seed % 3) {
        case 0:
            bytes = "\xEF\xBB\xBF" + TestSupport::ToUtf8(mutator.Mutate(skin));
            break;
        case 1: {
            const std::wstring text = mutator.Mutate(skin);
            bytes = (seed & 4) ? "\xFE\xFF" : "\xFF\xFE";
            for (wchar_t c : text) {
                const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
                bytes += (seed & 4) ? std::string{hi, lo} : std::string{lo, hi};
            }
            encoding = SkinUI::XMLFILE_ENCODING_UNICODE;
            break;
        }
        default:
            bytes = TestSupport::ToUtf8(skin);
            encoding = (seed & 8) ? SkinUI::XMLFILE_ENCODING_ANSI : SkinUI::XMLFILE_ENCODING_UTF8;
            break;
        }
        // Byte-level damage: invalid UTF-8, split UTF-16 pairs, odd sizes.
        const int flips = 1 + static_cast<int>(mutator.Next(6));
        for (int i = 0; i < flips && !bytes.empty(); ++i) {
            const size_t pos = mutator.Next(static_cast<uint32_t>(bytes.size()));
            if (mutator.Next(4) == 0) {
                bytes.erase(pos, 1 + mutator.Next(3));
            } else {
                bytes[pos] = static_cast<char>(mutator.Next(256));
            }
        }
        CXmlDocument doc;
        const bool ok = doc.LoadFromMem(reinterpret_cast<const BYTE*>(bytes.data()),
                                        static_cast<DWORD>(bytes.size()), encoding);
        ASSERT_NO_FATAL_FAILURE(CheckOutcome(doc, ok, bytes.size())) << "seed " << seed;
    }
    ASSERT_EQ(_HEAPOK, _heapchk());
}

TEST(XmlRobustnessTest, ReloadingOneDocumentManyTimes) {
    // One document object reused: every load starts from a clean state.
    CXmlDocument doc;
    Mutator mutator(424242);
    for (int i = 0; i < 5000; ++i) {
        const std::wstring text = mutator.Mutate(SkinSamples::kAll[i % 4]);
        const bool ok = doc.Load(text.c_str());
        ASSERT_NO_FATAL_FAILURE(CheckOutcome(doc, ok, text.size())) << "round " << i;
    }
    ASSERT_TRUE(doc.Load(SkinSamples::kMainFrame));
    EXPECT_STREQ(L"Window", doc.GetRoot().GetName());
}
