// Time from window creation to the first completed paint: a sample skinned
// window (manager, control tree, images from a skin archive in memory, text)
// against a plain Win32 window that shows the same picture by hand: it decodes
// the same images (background, banner, button) with the same decoder, blits
// the opaque ones and alpha-blends the translucent one, fills the same
// gradients, draws the same frames and the same texts in the same fonts, bold,
// coloured and underlined runs included. Like the skinned window, the plain one
// keeps its decoded bitmaps for every later window of the process. Each timer
// starts before anything of its side exists: for the skinned window before the
// manager is constructed (and, in a process's first window, before the
// framework's process-wide set-up); for the plain window before its class is
// registered. The first window of a process (each run in a fresh child
// process) is reported apart from later windows. Both kinds are child windows
// of one visible host, so that the platform's cost of showing a top-level
// window does not swamp what is measured; the sides are interleaved, pinned to
// one core.
#include <windows.h>

#include "bench/BenchClock.h"
#include "bench/BenchStats.h"
#include "bench/PngBitmap.h"
#include "ui/ControlUI.h"
#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"
#include "ui/WindowWnd.h"

#include "tests/support/ZipWriter.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

using SkinUI::CControlUI;
using SkinUI::CWindowManagerUI;

namespace {

const int kWidth = 500;
const int kHeight = 400;
const int kRounds = 30;
const int kFirstRounds = 9;

void AppendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::string*>(context);
    out->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

// A PNG with a soft pattern (alpha below 255 at the edges when asked).
std::string MakePng(int w, int h, unsigned seed, bool translucentEdge) {
    std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &pixels[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = static_cast<unsigned char>((x * 255 / w + seed * 40) & 0xFF);
            p[1] = static_cast<unsigned char>((y * 255 / h + seed * 90) & 0xFF);
            p[2] = static_cast<unsigned char>(((x + y) * 3 + seed * 7) & 0xFF);
            const bool edge = x < 3 || y < 3 || x >= w - 3 || y >= h - 3;
            p[3] = translucentEdge && edge ? 128 : 255;
        }
    }
    std::string png;
    stbi_write_png_to_func(AppendBytes, &png, w, h, 4, pixels.data(), w * 4);
    return png;
}

// A tiny container: children at fixed places relative to it.
class SampleBox : public CControlUI {
public:
    ~SampleBox() override {
        for (CControlUI* child : children_) {
            delete child;
        }
    }
    CControlUI* Add(CControlUI* child, RECT place) {
        children_.push_back(child);
        places_.push_back(place);
        return child;
    }
    void AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool init) override {
        CControlUI::AttachManager(manager, parent, init);
        for (CControlUI* child : children_) {
            child->AttachManager(manager, this, init);
        }
    }
    void SetPos(RECT rc) override {
        CControlUI::SetPos(rc);
        for (size_t i = 0; i < children_.size(); ++i) {
            RECT place = places_[i];
            ::OffsetRect(&place, rc.left, rc.top);
            children_[i]->SetPos(place);
        }
    }
    CControlUI* FindControl(SkinUI::FINDCONTROLPROC proc, LPVOID data, UINT flags) override {
        if (CControlUI* found = CControlUI::FindControl(proc, data, flags)) {
            return found;
        }
        for (CControlUI* child : children_) {
            if (CControlUI* found = child->FindControl(proc, data, flags)) {
                return found;
            }
        }
        return nullptr;
    }
    void Paint(HDC hDC, const RECT& rcPaint) override {
        CControlUI::Paint(hDC, rcPaint);
        for (CControlUI* child : children_) {
            child->Paint(hDC, rcPaint);
        }
    }

private:
    std::vector<CControlUI*> children_;
    std::vector<RECT> places_;
};

// A control with a line of mark-up text.
class SampleText : public CControlUI {
public:
    void PaintText(HDC hDC) override {
        RECT rc = m_rcItem;
        int links = 0;
        SkinUI::CRendererUI::DrawMarkupText(hDC, m_pManager, rc, m_sText, 0xFF202020, nullptr,
                                            nullptr, links, DT_SINGLELINE | DT_VCENTER);
    }
};

CControlUI* BuildSampleTree() {
    auto* root = new SampleBox();
    root->SetBkColor(0xFFE8EEF4);
    root->SetBkColor2(0xFFC0D0E0);
    root->SetBkImage(L"file='bk.png' corner='8,8,8,8'");
    auto* title = new SampleText();
    title->SetText(L"<b>卸载程序</b> uninstall <c #FF0000>sample</c>");
    root->Add(title, RECT{20, 10, 480, 40});
    auto* banner = new CControlUI();
    banner->SetBkImage(L"banner.png");
    root->Add(banner, RECT{20, 50, 480, 230});
    for (int i = 0; i < 3; ++i) {
        auto* button = new SampleText();
        button->SetBkImage(L"file='button.png' corner='6,6,6,6'");
        button->SetText(L"Button");
        button->SetBorderColor(0xFF4070A0);
        button->SetBorderSize(1);
        root->Add(button, RECT{20 + i * 160, 250, 160 + i * 160, 290});
    }
    auto* progress = new CControlUI();
    progress->SetBkColor(0xFF3080C0);
    progress->SetBkColor2(0xFF60B0F0);
    progress->SetBkColor3(0xFF3080C0);
    root->Add(progress, RECT{20, 310, 480, 330});
    auto* footer = new SampleText();
    footer->SetText(L"Removing files ... <u>42%</u>");
    root->Add(footer, RECT{20, 340, 480, 380});
    return root;
}

// ---- The two windows ---------------------------------------------------------------

double g_paintDone = 0;

class SampleWnd : public SkinUI::CWindowWnd {
public:
    LPCWSTR GetWindowClassName() const override { return L"FirstPaintSample"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE) {
            pm_.Init(m_hWnd);
            pm_.AttachRootControl(BuildSampleTree());
            return 0;
        }
        LRESULT result = 0;
        if (pm_.HandleWindowMessage(message, wParam, lParam, result)) {
            if (message == WM_PAINT && g_paintDone == 0) {
                g_paintDone = BenchMilliseconds();
            }
            return result;
        }
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }

private:
    CWindowManagerUI pm_;
};

// The images' PNG bytes, as the skin archive holds them.
std::string g_backgroundPng, g_bannerPng, g_buttonPng;
std::string g_archive;

// What the plain window keeps for the whole process once its first window made it.
struct PlainResources {
    HBITMAP background = nullptr, banner = nullptr, button = nullptr;
    HFONT normal = nullptr, bold = nullptr, underline = nullptr;
};

HFONT MakeFont(bool bold, bool underline) {
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = underline ? TRUE : FALSE;
    return ::CreateFontIndirectW(&lf);
}

const PlainResources& Resources() {
    static const PlainResources resources = [] {
        PlainResources r;
        r.background = DecodePngToDib(g_backgroundPng);
        r.banner = DecodePngToDib(g_bannerPng);
        r.button = DecodePngToDib(g_buttonPng);
        r.normal = MakeFont(false, false);
        r.bold = MakeFont(true, false);
        r.underline = MakeFont(false, true);
        return r;
    }();
    return resources;
}

void Blit(HDC hDC, HDC memory, HBITMAP bitmap, int x, int y, int w, int h) {
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(hDC, x, y, w, h, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
}

void Blend(HDC hDC, HDC memory, HBITMAP bitmap, int x, int y, int w, int h) {
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(hDC, x, y, w, h, memory, 0, 0, w, h, blend);
    ::SelectObject(memory, old);
}

// A top-to-bottom gradient between two 0xRRGGBB colours.
void Gradient(HDC hDC, RECT rc, DWORD top, DWORD bottom) {
    const auto vertex = [](LONG x, LONG y, DWORD c) {
        return TRIVERTEX{x,
                         y,
                         static_cast<COLOR16>((c >> 16 & 0xFF) << 8),
                         static_cast<COLOR16>((c >> 8 & 0xFF) << 8),
                         static_cast<COLOR16>((c & 0xFF) << 8),
                         0xFF00};
    };
    TRIVERTEX vertices[2] = {vertex(rc.left, rc.top, top), vertex(rc.right, rc.bottom, bottom)};
    GRADIENT_RECT rect = {0, 1};
    ::GdiGradientFill(hDC, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

// Runs of one line, left to right, centred vertically in rc.
struct Run {
    const wchar_t* text;
    HFONT font;
    COLORREF colour;
};

void DrawRuns(HDC hDC, RECT rc, std::initializer_list<Run> runs) {
    int x = rc.left;
    for (const Run& run : runs) {
        HGDIOBJ old = ::SelectObject(hDC, run.font);
        ::SetTextColor(hDC, run.colour);
        RECT place = {x, rc.top, rc.right, rc.bottom};
        ::DrawTextW(hDC, run.text, -1, &place, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        SIZE size = {};
        ::GetTextExtentPoint32W(hDC, run.text, static_cast<int>(std::wcslen(run.text)), &size);
        x += size.cx;
        ::SelectObject(hDC, old);
    }
}

void PaintPlain(HDC hDC) {
    const PlainResources& r = Resources();
    HDC memory = ::CreateCompatibleDC(hDC);
    // The background image is opaque and covers the window: the colours under it never show.
    Blit(hDC, memory, r.background, 0, 0, kWidth, kHeight);
    Blit(hDC, memory, r.banner, 20, 50, 460, 180);
    ::SetBkMode(hDC, TRANSPARENT);
    const COLORREF ink = RGB(0x20, 0x20, 0x20);
    DrawRuns(hDC, RECT{20, 10, 480, 40},
             {{L"卸载程序", r.bold, ink},
              {L" uninstall ", r.normal, ink},
              {L"sample", r.normal, RGB(0xFF, 0, 0)}});
    HBRUSH frame = ::CreateSolidBrush(RGB(0x40, 0x70, 0xA0));
    for (int i = 0; i < 3; ++i) {
        const RECT place = {20 + i * 160, 250, 160 + i * 160, 290};
        Blend(hDC, memory, r.button, place.left, place.top, 140, 40);
        ::FrameRect(hDC, &place, frame);
        DrawRuns(hDC, place, {{L"Button", r.normal, ink}});
    }
    ::DeleteObject(frame);
    Gradient(hDC, RECT{20, 310, 480, 320}, 0x3080C0, 0x60B0F0);
    Gradient(hDC, RECT{20, 320, 480, 330}, 0x60B0F0, 0x3080C0);
    DrawRuns(hDC, RECT{20, 340, 480, 380},
             {{L"Removing files ... ", r.normal, ink}, {L"42%", r.underline, ink}});
    ::DeleteDC(memory);
}

LRESULT CALLBACK PlainProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        Resources();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hDC = ::BeginPaint(hWnd, &ps);
        PaintPlain(hDC);
        ::EndPaint(hWnd, &ps);
        if (g_paintDone == 0) {
            g_paintDone = BenchMilliseconds();
        }
        return 0;
    }
    default:
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }
}

void Drain() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

COLORREF g_bannerPixel = 0;

// The framework's process-wide set-up, as a program does it before its first window.
void SetUpFramework() {
    static const bool done = [] {
        CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        CWindowManagerUI::SetResourceZip(&g_archive[0],
                                         static_cast<unsigned int>(g_archive.size()));
        return true;
    }();
    (void)done;
}

void RegisterPlainClass() {
    static const bool done = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"FirstPaintPlain";
        return ::RegisterClassW(&wc) != 0;
    }();
    (void)done;
}

double TimeSample(HWND host) {
    g_paintDone = 0;
    const double start = BenchMilliseconds();
    SetUpFramework();
    auto wnd = std::make_unique<SampleWnd>();
    wnd->Create(host, L"", WS_CHILD, 0, 0, 0, kWidth, kHeight);
    ::ShowWindow(*wnd, SW_SHOW);
    ::UpdateWindow(*wnd);
    const double elapsed = g_paintDone > 0 ? g_paintDone - start : -1;
    HDC dc = ::GetDC(*wnd);
    g_bannerPixel = ::GetPixel(dc, 250, 140);
    ::ReleaseDC(*wnd, dc);
    ::DestroyWindow(*wnd);
    Drain();
    return elapsed;
}

double TimePlain(HWND host) {
    g_paintDone = 0;
    const double start = BenchMilliseconds();
    RegisterPlainClass();
    HWND wnd = ::CreateWindowExW(0, L"FirstPaintPlain", L"", WS_CHILD, 0, 0, kWidth, kHeight, host,
                                 nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::ShowWindow(wnd, SW_SHOW);
    ::UpdateWindow(wnd);
    const double elapsed = g_paintDone > 0 ? g_paintDone - start : -1;
    ::DestroyWindow(wnd);
    Drain();
    return elapsed;
}

// The images and the archive, and the host window; neither side's timer counts these.
HWND Setup() {
    g_backgroundPng = MakePng(kWidth, kHeight, 1, false);
    g_bannerPng = MakePng(460, 180, 2, false);
    g_buttonPng = MakePng(140, 40, 3, true);
    g_archive = TestSupport::ZipWriter()
                    .AddFile("bk.png", g_backgroundPng)
                    .AddFile("banner.png", g_bannerPng)
                    .AddFile("button.png", g_buttonPng)
                    .Bytes();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"FirstPaintHost";
    ::RegisterClassW(&wc);
    HWND host = ::CreateWindowExW(0, L"FirstPaintHost", L"host", WS_POPUP | WS_VISIBLE, 0, 0,
                                  kWidth, kHeight, nullptr, nullptr, wc.hInstance, nullptr);
    Drain();
    return host;
}

// The first window of a fresh process of the given kind, in milliseconds.
double FirstWindowInChild(const char* kind) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) + L"\" --first " +
                        (std::strcmp(kind, "sample") == 0 ? L"sample" : L"plain");
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        return -1;
    }
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi = {};
    const BOOL started =
        ::CreateProcessW(self, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    ::CloseHandle(writeEnd);
    std::string output;
    char buffer[128];
    DWORD read = 0;
    while (started && ::ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        output.append(buffer, read);
    }
    ::CloseHandle(readEnd);
    if (!started) {
        return -1;
    }
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return output.empty() ? -1 : std::atof(output.c_str());
}

// Each side's times over the rounds.
struct Times {
    std::vector<double> sample, plain;
};

void PrintSides(const char* title, const Times& times, double target) {
    const std::vector<double>& sample = times.sample;
    const std::vector<double>& plain = times.plain;
    const double sampleMedian = Median(sample);
    const double plainMedian = Median(plain);
    std::printf("%s, median of %zu:\n", title, sample.size());
    std::printf("  skinned sample window: %8.3f ms (min %.3f, max %.3f)\n", sampleMedian,
                *std::min_element(sample.begin(), sample.end()),
                *std::max_element(sample.begin(), sample.end()));
    std::printf("  plain window:          %8.3f ms (min %.3f, max %.3f)\n", plainMedian,
                *std::min_element(plain.begin(), plain.end()),
                *std::max_element(plain.begin(), plain.end()));
    std::printf("  ratio sample / plain:  %8.2f (target at most %.1f)\n",
                sampleMedian / plainMedian, target);
}

// Odd rounds start with the plain side: neither side always finds the system's caches warmer.
template <typename SampleSide, typename PlainSide>
Times TakeTurns(int rounds, SampleSide sample, PlainSide plain) {
    Times times;
    for (int i = 0; i < rounds; ++i) {
        if (i % 2 == 1) {
            times.plain.push_back(plain());
        }
        times.sample.push_back(sample());
        if (i % 2 == 0) {
            times.plain.push_back(plain());
        }
    }
    return times;
}

} // namespace

int main(int argc, char** argv) {
    PinToOneCore();
    if (argc == 3 && std::strcmp(argv[1], "--first") == 0) {
        HWND host = Setup();
        const double ms = std::strcmp(argv[2], "sample") == 0 ? TimeSample(host) : TimePlain(host);
        std::printf("%.4f\n", ms);
        ::DestroyWindow(host);
        return 0;
    }
    const Times first = TakeTurns(
        kFirstRounds, [] { return FirstWindowInChild("sample"); },
        [] { return FirstWindowInChild("plain"); });
    HWND host = Setup();
    // One of each first: later windows are what follows.
    TimeSample(host);
    TimePlain(host);
    const Times later = TakeTurns(
        kRounds, [host] { return TimeSample(host); }, [host] { return TimePlain(host); });
    std::printf("first paint, %dx%d child window, one core:\n", kWidth, kHeight);
    PrintSides("first window of a process", first, 1.3);
    PrintSides("later windows", later, 2.0);
    std::printf("  (banner pixel read back: %06lX)\n", static_cast<unsigned long>(g_bannerPixel));
    ::DestroyWindow(host);
    return 0;
}
