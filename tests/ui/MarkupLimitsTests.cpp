#include <windows.h>

#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"
#include "tests/support/DibSurface.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace SkinUI;
using TestSupport::DibSurface;

namespace {

std::wstring Repeat(const std::wstring& piece, int count) {
    std::wstring text;
    for (int i = 0; i < count; ++i) {
        text += piece;
    }
    return text;
}

// Texts found by feeding the mark-up hostile input. Each is drawn into a
// column of its width and measured the way a text control sizes itself.
struct HostileText {
    const char* name;
    std::function<std::wstring()> text;
    int width;
    int defaultFontSize; // 0: the manager's own default
};

const HostileText kHostileTexts[] = {
    {"32000 letters in a 6-pixel text control", [] { return std::wstring(32000, L'a'); }, 6, 0},
    {"8000 unclosed style tags", [] { return Repeat(L"<b>", 8000) + L"x"; }, 100, 0},
    {"8000 tag openers never closed", [] { return Repeat(L"<b ", 8000); }, 100, 0},
    {"unclosed styles over a narrow column",
     [] { return Repeat(L"<u>", 8000) + std::wstring(32000, L'w'); }, 6, 0},
    {"8000 invented faces",
     [] {
         std::wstring text;
         for (int i = 0; i < 8000; ++i) {
             text += L"<f face" + std::to_wstring(i) + L">x";
         }
         return text;
     },
     100, 0},
    {"1-pixel default font with combining marks", [] { return Repeat(L"a\x0301\x0308 ", 4000); },
     40, 1},
    {"1-pixel mark-up font with combining marks",
     [] { return L"<f DejaVu Sans 1>" + Repeat(L"e\x0300\x20DD", 4000) + L"</f>"; }, 40, 0},
};

class HostileMarkupTest : public ::testing::TestWithParam<HostileText> {};

TEST_P(HostileMarkupTest, DrawsAndMeasuresOnlyWhatTheRectangleHolds) {
    CWindowManagerUI manager;
    if (GetParam().defaultFontSize != 0) {
        manager.SetDefaultFont(L"DejaVu Sans", GetParam().defaultFontSize, false, false, false);
    }
    const std::wstring text = GetParam().text();
    DibSurface surface(GetParam().width, 60);
    for (const UINT style : {UINT(DT_WORDBREAK), UINT(0), UINT(DT_END_ELLIPSIS),
                             UINT(DT_VCENTER | DT_CENTER | DT_SINGLELINE)}) {
        RECT rc = {0, 0, GetParam().width, 60};
        int links = 0;
        CRendererUI::DrawMarkupText(surface.DC(), &manager, rc, text.c_str(), 0xFF000000, nullptr,
                                    nullptr, links, style);
        RECT measured = {0, 0, GetParam().width, 9999};
        CRendererUI::DrawMarkupText(surface.DC(), &manager, measured, text.c_str(), 0xFF000000,
                                    nullptr, nullptr, links, style | DT_CALCRECT);
        // Measuring stops once the rectangle is full: at most one line more.
        EXPECT_LE(measured.bottom, 9999 + 200) << style;
        EXPECT_GT(measured.bottom, 0) << style;
    }
    // The fonts the text asked for are readable, and few.
    EXPECT_GE(manager.GetDefaultFontInfo()->tm.tmHeight, 6);
    EXPECT_LE(manager.GetCustomFontCount(), 256);
}

INSTANTIATE_TEST_SUITE_P(FuzzFound, HostileMarkupTest, ::testing::ValuesIn(kHostileTexts),
                         [](const ::testing::TestParamInfo<HostileText>& info) {
                             return "case" + std::to_string(info.index);
                         });

// A 1-pixel mark-up font is laid out at the smallest readable size.
TEST(SkinFontSize, MarkupFontSizeIsClamped) {
    CWindowManagerUI manager;
    DibSurface surface(4, 4);
    const auto width = [&](const wchar_t* text) {
        RECT rc = {0, 0, 9999, 200};
        int links = 0;
        CRendererUI::DrawMarkupText(surface.DC(), &manager, rc, text, 0xFF000000, nullptr, nullptr,
                                    links, DT_CALCRECT | DT_SINGLELINE);
        return rc.right;
    };
    EXPECT_EQ(width(L"<f DejaVu Sans 6>eeeeeeeeeeeeeeeeeeee</f>"),
              width(L"<f DejaVu Sans 1>eeeeeeeeeeeeeeeeeeee</f>"));
}

} // namespace
