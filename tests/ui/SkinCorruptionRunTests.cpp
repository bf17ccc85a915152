// Seeded corruption of the shipped skin files: each case damages one file
// (attribute values, elements, bytes; hostile mark-up texts and font sizes
// among the values), builds it into a manager, lays it out and paints it.
// UNINST_CORRUPTION_CASES and UNINST_CORRUPTION_SEED choose the run (2000
// cases by default); with UNINST_GUARD_PAGES=1 every block ends at a guard
// page. A case that takes over 20 s counts as a hang and ends the program.
#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/DialogBuilder.h"
#include "ui/WindowManagerUI.h"
#include "tests/support/DibSurface.h"
#include "tests/support/FileUtil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace SkinUI;

namespace {

const wchar_t* const kSkinFiles[] = {L"UninstallFrame.xml", L"UninstallStep_01.xml",
                                     L"UninstallStep_02.xml", L"UninstallStep_03.xml",
                                     L"UninstallStep_04.xml"};

unsigned long EnvNumber(const char* name, unsigned long fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::strtoul(value, nullptr, 10) : fallback;
}

std::wstring Widen(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                      &wide[0], static_cast<int>(wide.size())));
    return wide;
}

// Values that broke or slowed the framework once, and plain junk.
std::wstring HostileValue(std::mt19937& random) {
    static const wchar_t* const kValues[] = {
        L"1",
        L"0",
        L"-7",
        L"99999999999",
        L"-2147483648",
        L"true",
        L"#FF00FF00",
        L"1,1,1,1",
        L"-9,-9,99999,99999",
        L"&lt;b&gt;&lt;b&gt;&lt;b&gt;x",
        L"&lt;f DejaVu Sans 1&gt;e\x0300\x20DD&lt;/f&gt;",
        L"&lt;b x y z",
        L"{c #FFFF0000}{i x}{/c}",
        L"file='missing.png' source='9,9,1,1' corner='99,99,99,99'"};
    switch (random() % 4) {
    case 0:
        return kValues[random() % (sizeof(kValues) / sizeof(kValues[0]))];
    case 1:
        return std::wstring(random() % 4000, static_cast<wchar_t>(L'a' + random() % 26));
    case 2: {
        std::wstring tags;
        for (unsigned n = random() % 600; n > 0; --n) {
            tags += L"&lt;b&gt;";
        }
        return tags + L"text";
    }
    default:
        return std::to_wstring(static_cast<int>(random()));
    }
}

const wchar_t* const kElements[] = {
    L"<Font name=\"x\" size=\"1\" default=\"true\"/>",
    L"<Font name=\"NoSuchFace\" size=\"-99999\" bold=\"true\"/>",
    L"<Label showhtml=\"true\" width=\"6\" text=\"&lt;b&gt;&lt;u&gt;&lt;i&gt;aaaaaaaaaaaa\"/>",
    L"<Text showhtml=\"true\" width=\"6\" text=\"a\x0301\x0301 a\x0301 &lt;p 99999&gt;x\"/>",
    L"<Include source=\"UninstallFrame.xml\" count=\"3\"/>",
    L"<ChildLayout xmlfile=\"UninstallStep_02.xml\"/>",
    L"<VerticalLayout><HorizontalLayout><Container><Control/></Container></HorizontalLayout>"
    L"</VerticalLayout>",
};

void Damage(std::wstring& text, std::mt19937& random) {
    const auto pick = [&](size_t n) { return n == 0 ? 0 : static_cast<size_t>(random() % n); };
    switch (random() % 6) {
    case 0:
    case 1: { // an attribute value replaced
        const size_t quote = text.find(L"=\"", pick(text.size()));
        const size_t end = quote == std::wstring::npos ? quote : text.find(L'"', quote + 2);
        if (end != std::wstring::npos) {
            text.replace(quote + 2, end - quote - 2, HostileValue(random));
        }
        break;
    }
    case 2: { // an element dropped in after a tag
        const size_t gt = text.find(L'>', pick(text.size()));
        if (gt != std::wstring::npos) {
            text.insert(gt + 1, kElements[pick(sizeof(kElements) / sizeof(kElements[0]))]);
        }
        break;
    }
    case 3: // one character replaced
        if (!text.empty()) {
            text[pick(text.size())] = static_cast<wchar_t>(L"<>/=\"&#;x0 \x4E2D"[pick(14)]);
        }
        break;
    case 4: // a span removed or repeated
        if (random() % 2 == 0) {
            text.erase(pick(text.size()), 1 + pick(60));
        } else {
            const size_t from = pick(text.size());
            text.insert(pick(text.size() + 1), text.substr(from, 1 + pick(400)));
        }
        break;
    default: // cut short
        text.resize(pick(text.size() + 1));
        break;
    }
}

int BuildLayOutAndPaint(const std::wstring& skin, RECT rc) {
    CWindowManagerUI manager;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(skin.c_str(), nullptr, nullptr, &manager);
    if (root == nullptr) {
        return 0;
    }
    manager.AttachRootControl(root);
    root->SetPos(rc);
    static TestSupport::DibSurface surface(800, 495);
    root->Paint(surface.DC(), surface.Rect());
    return 1;
}

std::atomic<long> g_case{-1};
std::atomic<DWORD> g_caseStart{0};

DWORD WINAPI Watchdog(void*) {
    for (;;) {
        ::Sleep(1000);
        const DWORD start = g_caseStart.load();
        if (g_case.load() >= 0 && ::GetTickCount() - start > 20000) {
            std::printf("HANG in case %ld\n", g_case.load());
            std::fflush(stdout);
            ::ExitProcess(3);
        }
    }
}

TEST(SkinCorruptionRun, DamagedShippedSkinsNeverCrashOrHang) {
    const std::wstring folder = Widen(std::string("Z:") + UNINST_SOURCE_DIR + "/resources/skin/");
    CWindowManagerUI::SetResourcePath(folder.c_str());
    std::vector<std::wstring> sources;
    for (const wchar_t* file : kSkinFiles) {
        sources.push_back(Widen(TestSupport::ReadFileBytes(folder + file)));
        ASSERT_GT(sources.back().size(), 100u) << "missing " << file;
        ASSERT_EQ(1, BuildLayOutAndPaint(sources.back(), RECT{0, 0, 800, 495}));
    }
    if (EnvNumber("UNINST_GUARD_PAGES", 0) == 1) {
        // The block ends where the no-access page begins.
        const std::unique_ptr<char[]> block(new char[32]);
        MEMORY_BASIC_INFORMATION info = {};
        ::VirtualQuery(block.get() + 32, &info, sizeof info);
        ASSERT_EQ(static_cast<DWORD>(PAGE_NOACCESS), info.Protect);
    }
    const unsigned long cases = EnvNumber("UNINST_CORRUPTION_CASES", 2000);
    const unsigned long seed = EnvNumber("UNINST_CORRUPTION_SEED", 20261207);
    std::printf("skin XML corruption: seed %lu, %lu cases, guard pages %s\n", seed, cases,
                std::getenv("UNINST_GUARD_PAGES") ? std::getenv("UNINST_GUARD_PAGES") : "0");
    std::fflush(stdout);
    ::CloseHandle(::CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
    std::mt19937 random(seed);
    unsigned long built = 0;
    for (unsigned long i = 0; i < cases; ++i) {
        g_caseStart = ::GetTickCount();
        g_case = static_cast<long>(i);
        std::wstring text = sources[i % sources.size()];
        for (unsigned op = 1 + random() % 3; op > 0; --op) {
            Damage(text, random);
        }
        const RECT rc = {0, 0, static_cast<LONG>(random() % 900) - 50,
                         static_cast<LONG>(random() % 600) - 50};
        built += static_cast<unsigned long>(BuildLayOutAndPaint(text, rc));
    }
    g_case = -1;
    std::printf("skin XML corruption: %lu cases done, %lu built, no crash, no hang\n", cases,
                built);
    // Most damage still leaves a skin to build.
    EXPECT_GT(built, cases / 3);
}

} // namespace
