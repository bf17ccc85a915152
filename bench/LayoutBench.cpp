#include <windows.h>

#include "bench/BenchClock.h"
#include "ui/ControlUI.h"
#include "ui/DialogBuilder.h"
#include "ui/WindowManagerUI.h"

#include <cstdio>
#include <string>

using SkinUI::CControlUI;
using SkinUI::CDialogBuilder;
using SkinUI::CWindowManagerUI;

namespace {

const wchar_t kRow[] =
    LR"(<HorizontalLayout name="row%d" height="30" childpadding="6" padding="0,0,0,2">
  <Label name="label%d" text="卸载项目 %d" width="120"/>
  <Progress name="progress%d" value="%d" padding="0,8,0,8"/>
  <Option name="option%d" group="g%d" text="选项" width="80"/>
  <Button name="button%d" text="按钮" width="70"/>
</HorizontalLayout>
)";

// A window skin of rows of five controls each (the row layout counts), in a
// scrolling vertical layout, with a tile layout of its own at the end.
std::wstring MakeSkin(int rows) {
    std::wstring text = LR"(<Window size="800,600">
<Font name="DejaVu Sans" size="12" default="true"/>
<Default name="Button" value="textcolor=&quot;#FFFFFFFF&quot; bkcolor=&quot;#FF2B6FC2&quot;"/>
<VerticalLayout name="root" inset="4,4,4,4" vscrollbar="true" childpadding="2">
)";
    wchar_t buffer[2048];
    for (int i = 0; i < rows; ++i) {
        swprintf(buffer, 2048, kRow, i, i, i, i, i % 100, i, i % 7, i);
        text += buffer;
    }
    text += L"</VerticalLayout>\n</Window>\n";
    return text;
}

CControlUI* CALLBACK CountControl(CControlUI*, LPVOID data) {
    ++*static_cast<int*>(data);
    return nullptr;
}

} // namespace

int main() {
    const std::wstring skin = MakeSkin(200);
    int controls = 0;
    {
        CWindowManagerUI pm;
        CDialogBuilder builder;
        CControlUI* root = builder.Create(skin.c_str(), nullptr, nullptr, &pm);
        if (root == nullptr) {
            std::printf("build failed: %ls\n", builder.GetDocument()->GetLastErrorMessage());
            return 1;
        }
        pm.AttachRootControl(root);
        root->FindControl(CountControl, &controls, SkinUI::UIFIND_ALL);
    }
    std::printf("Skin of %d controls (%zu characters)\n", controls, skin.size());

    int rounds = 0;
    double build = 0;
    double layout = 0;
    double relayout = 0;
    const double start = BenchSeconds();
    while (BenchSeconds() - start < 3.0) {
        CWindowManagerUI pm;
        double t0 = BenchSeconds();
        CDialogBuilder builder;
        CControlUI* root = builder.Create(skin.c_str(), nullptr, nullptr, &pm);
        pm.AttachRootControl(root);
        double t1 = BenchSeconds();
        root->SetPos(RECT{0, 0, 800, 600});
        double t2 = BenchSeconds();
        // A resize: every row is laid out again at the new width and the
        // scroll bar's range follows the new height.
        root->SetPos(RECT{0, 0, 1024, 700});
        double t3 = BenchSeconds();
        build += t1 - t0;
        layout += t2 - t1;
        relayout += t3 - t2;
        ++rounds;
    }
    std::printf("%-40s %8.2f ms\n", "build and attach", build * 1000 / rounds);
    std::printf("%-40s %8.2f ms\n", "first layout (800 x 600)", layout * 1000 / rounds);
    std::printf("%-40s %8.2f ms\n", "layout after resize (1024 x 700)", relayout * 1000 / rounds);
    std::printf("(%d rounds)\n", rounds);
    return 0;
}
