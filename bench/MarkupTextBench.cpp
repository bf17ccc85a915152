// Mark-up text cost against the length of the text: each case is laid out
// at N, 2N and 4N and the times are printed as ratios to the time at N.
// A layout linear in the text prints about 2 and 4; a quadratic one 4 and 16.
#include <windows.h>

#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"

#include <cstdio>
#include <functional>
#include <string>

using namespace SkinUI;

namespace {

double Seconds() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::wstring Repeat(const std::wstring& piece, int count) {
    std::wstring text;
    for (int i = 0; i < count; ++i) {
        text += piece;
    }
    return text;
}

struct Case {
    const char* name;
    std::function<std::wstring(int)> text;
    int width;
};

// Lays the whole text out (the rectangle is tall enough for every line),
// best of three runs.
double Time(HDC hDC, CWindowManagerUI& manager, const std::wstring& text, int width) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        RECT rc = {0, 0, width, 0x3FFFFFFF};
        int links = 0;
        const double start = Seconds();
        CRendererUI::DrawMarkupText(hDC, &manager, rc, text.c_str(), 0xFF000000, nullptr, nullptr,
                                    links, DT_WORDBREAK | DT_CALCRECT);
        best = std::min(best, Seconds() - start);
    }
    return best;
}

} // namespace

int main() {
    CWindowManagerUI manager;
    HDC hDC = ::CreateCompatibleDC(nullptr);
    const Case cases[] = {
        {"letters in a 6-pixel column", [](int n) { return std::wstring(n, L'a'); }, 6},
        {"words in a 300-pixel column", [](int n) { return Repeat(L"word ", n / 5); }, 300},
        {"unclosed style tags, then letters",
         [](int n) { return Repeat(L"<b>", n / 4) + std::wstring(n, L'a'); }, 6},
        {"tag openers never closed", [](int n) { return Repeat(L"<b ", n / 3); }, 300},
    };
    const int n = 8000;
    std::printf("%-36s %10s %8s %8s\n", "case (N = 8000 characters)", "t(N) ms", "2N/N", "4N/N");
    for (const Case& c : cases) {
        const double t1 = Time(hDC, manager, c.text(n), c.width);
        const double t2 = Time(hDC, manager, c.text(2 * n), c.width);
        const double t4 = Time(hDC, manager, c.text(4 * n), c.width);
        std::printf("%-36s %10.2f %8.2f %8.2f\n", c.name, t1 * 1000, t2 / t1, t4 / t1);
    }
    ::DeleteDC(hDC);
    return 0;
}
