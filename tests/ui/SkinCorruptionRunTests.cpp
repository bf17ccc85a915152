// Seeded corruption of the shipped skin files: each case damages one file,
// builds it into a manager, lays it out and paints it. The environment picks
// the run: UNINST_CORRUPTION_CASES (2000), UNINST_CORRUPTION_SEED, and
// UNINST_GUARD_PAGES=1 for a guard page after every block.
#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/DialogBuilder.h"
#include "ui/WindowManagerUI.h"
#include "tests/support/DibSurface.h"
#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/ui/support/GuardPageNew.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

using namespace SkinUI;

namespace {

unsigned long EnvNumber(const char* name, unsigned long fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::strtoul(value, nullptr, 10) : fallback;
}

// Values and elements that broke or slowed the framework once.
const wchar_t* const kValues[] = {L"1",
                                  L"-7",
                                  L"99999999999",
                                  L"-9,-9,99999,99999",
                                  L"&lt;b&gt;&lt;b&gt;&lt;u&gt;x",
                                  L"&lt;f DejaVu Sans 1&gt;e\x0300\x20DD",
                                  L"&lt;b x y",
                                  L"file='x.png' corner='99,99,99,99'"};
const wchar_t* const kElements[] = {
    L"<Font name=\"x\" size=\"1\" default=\"true\"/>",
    L"<Text showhtml=\"true\" width=\"6\" text=\"a\x0301 &lt;b&gt;&lt;p 99999&gt;x\"/>",
    L"<Include source=\"UninstallFrame.xml\" count=\"3\"/>",
    L"<ChildLayout xmlfile=\"UninstallStep_02.xml\"/>"};

template <size_t N> std::wstring Pick(const wchar_t* const (&list)[N], std::mt19937& random) {
    return list[random() % N];
}

void Damage(std::wstring& text, std::mt19937& random) {
    const size_t at = random() % (text.size() + 1);
    switch (random() % 5) {
    case 0: { // an attribute value replaced, now and then by a long run of tags or letters
        const size_t quote = text.find(L"=\"", at);
        const size_t end = quote == std::wstring::npos ? quote : text.find(L'"', quote + 2);
        std::wstring value = Pick(kValues, random);
        for (unsigned n = random() % 4 == 0 ? random() % 800 : 0; n > 0; --n)
            value += value.size() < 4 ? L"a" : L"&lt;b&gt;";
        if (end != std::wstring::npos)
            text.replace(quote + 2, end - quote - 2, value);
        break;
    }
    case 1: // an element dropped in after a tag
        if (text.find(L'>', at) != std::wstring::npos)
            text.insert(text.find(L'>', at) + 1, Pick(kElements, random));
        break;
    case 2: // one character replaced
        if (at < text.size())
            text[at] = L"<>/=\"&#;x0 \x4E2D"[random() % 12];
        break;
    case 3: // a span removed or repeated
        if (random() % 2 == 0)
            text.erase(at, 1 + random() % 60);
        else
            text.insert(random() % (text.size() + 1), text.substr(at, 1 + random() % 400));
        break;
    default: // cut short
        text.resize(at);
        break;
    }
}

int BuildLayOutAndPaint(const std::wstring& skin, RECT rc) {
    CWindowManagerUI manager;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(skin.c_str(), nullptr, nullptr, &manager);
    if (root == nullptr)
        return 0;
    manager.AttachRootControl(root);
    root->SetPos(rc);
    static TestSupport::DibSurface surface(800, 495);
    root->Paint(surface.DC(), surface.Rect());
    return 1;
}

const char* const kSkinFolder = UNINST_SOURCE_DIR "/resources/skin/";

// The skins' includes and images come from the shipped skin's folder.
class ShippedSkinFolder : public ::testing::Environment {
public:
    void SetUp() override {
        CWindowManagerUI::SetResourcePath(TestSupport::WinePathOf(kSkinFolder).c_str());
    }
};

const auto* const g_skinFolder = ::testing::AddGlobalTestEnvironment(new ShippedSkinFolder);

std::wstring ReadShippedSkin(const char* file) {
    return TestSupport::FromUtf8(
        TestSupport::ReadFileBytes(TestSupport::WinePathOf(std::string(kSkinFolder) + file)));
}

// A damaged skin that repeats an include until the build budget is spent holds about 100,000
// blocks at once. Guarding each with a mapping of its own used up the process's mappings for
// good, and the run stalled: blocks beyond the guarded ones now come from the heap.
TEST(SkinCorruptionRun, HundredThousandLiveBlocksLeaveTheProcessWorking) {
    if (EnvNumber("UNINST_GUARD_PAGES", 0) != 1)
        GTEST_SKIP() << "guard pages off";
    const unsigned long unguardedBefore = GuardPages::UnguardedBlocks();
    std::vector<std::unique_ptr<char[]>> blocks(100000);
    for (auto& block : blocks)
        block.reset(new char[24]);
    EXPECT_GE(GuardPages::UnguardedBlocks() - unguardedBefore,
              blocks.size() - GuardPages::kMaxGuardedSmallBlocks - 1024);
    const std::wstring frame = ReadShippedSkin("UninstallFrame.xml");
    EXPECT_EQ(1, BuildLayOutAndPaint(frame, RECT{0, 0, 800, 495}));
    blocks.clear();
    EXPECT_EQ(1, BuildLayOutAndPaint(frame, RECT{0, 0, 800, 495}));
}

TEST(SkinCorruptionRun, DamagedShippedSkinsNeverCrashOrHang) {
    std::vector<std::wstring> sources;
    for (const char* file : {"UninstallFrame.xml", "UninstallStep_01.xml", "UninstallStep_02.xml",
                             "UninstallStep_03.xml", "UninstallStep_04.xml"}) {
        sources.push_back(ReadShippedSkin(file));
        ASSERT_EQ(1, BuildLayOutAndPaint(sources.back(), RECT{0, 0, 800, 495})) << file;
    }
    const bool guarded = EnvNumber("UNINST_GUARD_PAGES", 0) == 1;
    if (guarded) { // the page after a block cannot be touched
        const std::unique_ptr<char[]> block(new char[32]);
        MEMORY_BASIC_INFORMATION info = {};
        ::VirtualQuery(block.get() + 32, &info, sizeof info);
        ASSERT_TRUE(info.State == MEM_RESERVE || info.Protect == PAGE_NOACCESS);
    }
    const unsigned long cases = EnvNumber("UNINST_CORRUPTION_CASES", 2000);
    const unsigned long seed = EnvNumber("UNINST_CORRUPTION_SEED", 20261207);
    std::printf("skin XML corruption: seed %lu, %lu cases, guard pages %d\n", seed, cases, guarded);
    std::mt19937 random(seed);
    unsigned long built = 0, tooBig = 0;
    const bool trace = EnvNumber("UNINST_CORRUPTION_TRACE", 0) == 1;
    for (unsigned long i = 0; i < cases; ++i) {
        if (trace) // the case a stalled or crashed run was in
            std::fprintf(stderr, "case %lu\n", i);
        std::wstring text = sources[i % sources.size()];
        for (unsigned op = 1 + random() % 3; op > 0; --op)
            Damage(text, random);
        const RECT rc = {0, 0, static_cast<LONG>(random() % 900) - 50,
                         static_cast<LONG>(random() % 600) - 50};
        try {
            built += static_cast<unsigned long>(BuildLayOutAndPaint(text, rc));
        } catch (const std::bad_alloc&) {
            // A page and a guard page per block: the largest skins (the frame
            // included in itself) outgrow the address space only this way.
            ASSERT_TRUE(guarded) << "case " << i;
            ++tooBig;
        }
    }
    std::printf("skin XML corruption: %lu cases done, %lu built, %lu too big for guard pages, "
                "%lu blocks unguarded\n",
                cases, built, tooBig, GuardPages::UnguardedBlocks());
    EXPECT_GT(built, cases / 3); // most damage still leaves a skin to build
}

} // namespace
