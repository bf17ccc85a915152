// The real wizard window: the redraw requests made while it is built and
// until its first paint (and how many of them ask for an empty rectangle),
// the time from creation to the first paint, and its skin built and laid
// out in a window of its own, per control, beside synthetic skins of 250,
// 1,000 and 4,000 controls: the cost per control must not grow.
#include <windows.h>

#include "bench/BenchClock.h"
#include "bench/BenchStats.h"
#include "bench/RedrawCounter.h"
#include "ui/ControlUI.h"
#include "ui/DialogBuilder.h"
#include "ui/WindowManagerUI.h"
#include "uninstaller/UninstallSession.h"
#include "uninstaller/SingleInstance.h"
#include "uninstaller/UninstallerFrameWnd.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using SkinUI::CControlUI;
using SkinUI::CDialogBuilder;
using SkinUI::CWindowManagerUI;

namespace {

const int kRounds = 9;

void Drain() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&msg);
    }
}

std::wstring MakeInstallDir() {
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring dir =
        std::wstring(temp) + L"wizard_bench_" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring ini = L"\xFEFF[game]\r\nchsName=向导基准\r\nenName=VelmoraWizardBench\r\n"
                             L"Gameid=1\r\n[survey]\r\nsurveytoken=t\r\nsurveyurl=u\r\n";
    const HANDLE file = ::CreateFileW((dir + L"\\installedFileList.txt").c_str(), GENERIC_WRITE, 0,
                                      nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, ini.data(), static_cast<DWORD>(ini.size() * sizeof(wchar_t)), &written,
                nullptr);
    ::CloseHandle(file);
    return dir;
}

struct FrameFigures {
    int buildRequests = 0;
    int buildEmpty = 0;
    int paintRequests = 0;
    int paintEmpty = 0;
    double firstPaintMs = 0;
};

FrameFigures TimeFrame(const std::wstring& dir, Bench::RedrawCounter& counter) {
    FrameFigures figures;
    auto* frame = new CUninstallerFrameWnd(dir.c_str(), InstanceNameOf(dir));
    frame->GetSession()->SetServerListPath(dir + L"\\no_server_list.ini");
    counter.Reset();
    const double start = BenchMilliseconds();
    frame->Create(nullptr, L"wizard bench", WS_OVERLAPPEDWINDOW, 0, 0, 0, 800, 572);
    figures.buildRequests = counter.Requests();
    figures.buildEmpty = counter.EmptyRequests();
    ::ShowWindow(frame->GetHWND(), SW_SHOW);
    ::UpdateWindow(frame->GetHWND());
    figures.firstPaintMs = BenchMilliseconds() - start;
    figures.paintRequests = counter.Requests();
    figures.paintEmpty = counter.EmptyRequests();
    ::DestroyWindow(frame->GetHWND());
    Drain();
    return figures;
}

CControlUI* CALLBACK CountControl(CControlUI*, LPVOID data) {
    ++*static_cast<int*>(data);
    return nullptr;
}

const wchar_t kRow[] =
    LR"(<HorizontalLayout name="row%d" height="30" childpadding="6" padding="0,0,0,2">
  <Label name="label%d" text="卸载项目 %d" width="120"/>
  <Progress name="progress%d" value="%d" padding="0,8,0,8"/>
  <Option name="option%d" group="g%d" text="选项" width="80"/>
  <Button name="button%d" text="按钮" width="70"/>
</HorizontalLayout>
)";

std::wstring MakeSkin(int rows) {
    std::wstring text = LR"(<Window size="800,600">
<Font name="DejaVu Sans" size="12" default="true"/>
<VerticalLayout name="root" inset="4,4,4,4" vscrollbar="true" childpadding="2">
)";
    wchar_t buffer[2048];
    for (int i = 0; i < rows; ++i) {
        swprintf(buffer, 2048, kRow, i, i, i, i, i % 100, i, i % 7, i);
        text += buffer;
    }
    return text + L"</VerticalLayout>\n</Window>\n";
}

// Builds the skin into a manager of a hidden window and lays it out once;
// the median time and the number of controls.
double TimeSkin(const wchar_t* skin, bool fromArchive, int& controls) {
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        HWND wnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                                     nullptr, nullptr);
        CWindowManagerUI pm;
        pm.Init(wnd);
        const double start = BenchMilliseconds();
        CDialogBuilder builder;
        CDialogBuilderCallbackEx callback;
        CControlUI* root = fromArchive ? builder.Create(skin, nullptr, &callback, &pm)
                                       : builder.Create(skin, nullptr, nullptr, &pm);
        if (root == nullptr) {
            ::DestroyWindow(wnd);
            return -1;
        }
        pm.AttachRootControl(root);
        root->SetPos(RECT{0, 0, 800, 600});
        times.push_back(BenchMilliseconds() - start);
        controls = 0;
        root->FindControl(CountControl, &controls, SkinUI::UIFIND_ALL);
        ::DestroyWindow(wnd);
    }
    return Median(times);
}

} // namespace

int main() {
    CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    ::SetThreadAffinityMask(::GetCurrentThread(), 1);
    const std::wstring dir = MakeInstallDir();
    Bench::RedrawCounter counter;
    if (!counter.Hooked()) {
        std::printf("cannot count redraw requests\n");
        return 1;
    }
    TimeFrame(dir, counter); // one-time costs
    std::vector<double> paints;
    FrameFigures last;
    for (int round = 0; round < kRounds; ++round) {
        last = TimeFrame(dir, counter);
        paints.push_back(last.firstPaintMs);
    }
    std::printf("real wizard window (median of %d):\n", kRounds);
    std::printf("  redraw requests while built:        %4d (%d for empty rectangles)\n",
                last.buildRequests, last.buildEmpty);
    std::printf("  redraw requests up to first paint:  %4d (%d for empty rectangles)\n",
                last.paintRequests, last.paintEmpty);
    std::printf("  creation to first paint:           %8.3f ms\n", Median(paints));

    int wizardControls = 0;
    const double wizard = TimeSkin(L"UninstallFrame.xml", true, wizardControls);
    std::printf("build and first layout, per control (median of %d):\n", kRounds);
    std::printf("  wizard skin   %5d controls: %8.3f ms, %6.2f us a control\n", wizardControls,
                wizard, wizard * 1000 / std::max(wizardControls, 1));
    double smallest = 0;
    for (int rows : {50, 200, 800}) {
        const std::wstring skin = MakeSkin(rows);
        int controls = 0;
        const double ms = TimeSkin(skin.c_str(), false, controls);
        const double perControl = ms * 1000 / std::max(controls, 1);
        if (smallest == 0) {
            smallest = perControl;
        }
        std::printf("  grid skin     %5d controls: %8.3f ms, %6.2f us a control (%.2fx the "
                    "smallest)\n",
                    controls, ms, perControl, perControl / smallest);
    }
    return 0;
}
