#include <windows.h>

#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"
#include "tests/ui/RendererTestUtil.h"

#include <gtest/gtest.h>

using namespace SkinUI;
using namespace TestSupport;
using namespace RendererTest;

namespace {

// The link under the manager's last mouse point is drawn in the hover
// colour; the mouse point comes from a real window's mouse message.
TEST(MarkupHover, LinkUnderTheMouseUsesTheHoverColour) {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"hover", WS_POPUP, 0, 0, 200, 60, nullptr,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    {
        CWindowManagerUI manager;
        manager.Init(window);
        manager.SetDefaultLinkFontColor(0xFF0000FF);
        manager.SetDefaultLinkHoverFontColor(0xFFFF0000);

        const std::wstring text = L"<a one>first</a> <a two>second</a>";
        RECT links[4] = {};
        CUIString names[4];
        int count = 4;
        DibSurface surface(200, 30, 0xFFFFFFFF);
        RECT rc = {0, 0, 200, 30};
        CRendererUI::DrawMarkupText(surface.DC(), &manager, rc, text.c_str(), 0xFF000000, links,
                                    names, count, DT_SINGLELINE);
        ASSERT_EQ(2, count);
        EXPECT_GT(CountChanged(surface, links[0], 0xFFFFFF), 0);

        const POINT inside = {(links[1].left + links[1].right) / 2,
                              (links[1].top + links[1].bottom) / 2};
        LRESULT result = 0;
        manager.HandleWindowMessage(WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, inside.y), result);
        ASSERT_EQ(inside.x, manager.GetMousePos().x);

        DibSurface hovered(200, 30, 0xFFFFFFFF);
        count = 4;
        CRendererUI::DrawMarkupText(hovered.DC(), &manager, rc, text.c_str(), 0xFF000000, links,
                                    names, count, DT_SINGLELINE);
        ASSERT_EQ(2, count);
        // The second link turned red, the first stayed blue.
        int red = 0, blue = 0;
        for (int y = links[1].top; y < links[1].bottom; ++y) {
            for (int x = links[1].left; x < links[1].right; ++x) {
                const uint32_t p = hovered.Rgb(x, y);
                red += p == 0xFF0000;
                blue += p == 0x0000FF;
            }
        }
        EXPECT_GT(red, 5);
        EXPECT_EQ(0, blue);
        blue = 0;
        for (int y = links[0].top; y < links[0].bottom; ++y) {
            for (int x = links[0].left; x < links[0].right; ++x) {
                blue += hovered.Rgb(x, y) == 0x0000FF;
            }
        }
        EXPECT_GT(blue, 5);
    }
    ::DestroyWindow(window);
}

} // namespace
