#include <windows.h>

#include "bench/BenchClock.h"
#include "ui/ControlUI.h"
#include "ui/DialogBuilder.h"
#include "ui/WindowManagerUI.h"
#include "ui/controls/ListUI.h"

#include <cstdio>
#include <string>

using SkinUI::CControlUI;
using SkinUI::CDialogBuilder;
using SkinUI::CListUI;
using SkinUI::CWindowManagerUI;

namespace {

// A list of text rows under a header of three columns.
std::wstring MakeSkin(int rows) {
    std::wstring text = LR"(<Window size="800,600">
<Font name="DejaVu Sans" size="12" default="true"/>
<List name="list" vscrollbar="true" hscrollbar="true" itemaltbk="true" itembkcolor="#FFF0F0F0">
<ListHeader><ListHeaderItem text="A" width="300"/><ListHeaderItem text="B" width="300"/>
<ListHeaderItem text="C" width="300"/></ListHeader>
)";
    wchar_t buffer[128];
    for (int i = 0; i < rows; ++i) {
        swprintf(buffer, 128, L"<ListTextElement userdata=\"%d\"/>\n", i);
        text += buffer;
    }
    text += L"</List>\n</Window>\n";
    return text;
}

struct Times {
    double build = 0;
    double layout = 0;
    double select = 0;
};

// Selections spread over the whole list: each one scrolls the body.
const int kSelections = 200;

Times Measure(int rows) {
    const std::wstring skin = MakeSkin(rows);
    Times total;
    int rounds = 0;
    const double start = BenchSeconds();
    while (BenchSeconds() - start < 3.0 || rounds < 3) {
        CWindowManagerUI pm;
        const double t0 = BenchSeconds();
        CDialogBuilder builder;
        CControlUI* root = builder.Create(skin.c_str(), nullptr, nullptr, &pm);
        pm.AttachRootControl(root);
        const double t1 = BenchSeconds();
        root->SetPos(RECT{0, 0, 800, 600});
        const double t2 = BenchSeconds();
        auto* list = static_cast<CListUI*>(root->QueryInterfaceByName(L"List"));
        for (int i = 0; i < kSelections; ++i) {
            list->SelectItem(static_cast<int>((static_cast<long long>(i) * 7919) % rows));
        }
        const double t3 = BenchSeconds();
        total.build += t1 - t0;
        total.layout += t2 - t1;
        total.select += t3 - t2;
        ++rounds;
    }
    total.build /= rounds;
    total.layout /= rounds;
    total.select /= rounds;
    return total;
}

} // namespace

int main() {
    const Times small = Measure(1000);
    const Times large = Measure(10000);
    std::printf("%-32s %10s %10s %8s\n", "list of text rows", "1,000", "10,000", "ratio");
    const auto row = [](const char* what, double a, double b) {
        std::printf("%-32s %8.2f ms %8.2f ms %7.1fx\n", what, a * 1000, b * 1000, b / a);
    };
    row("build and attach", small.build, large.build);
    row("first layout (800 x 600)", small.layout, large.layout);
    row("200 scattered selections", small.select, large.select);
    std::printf("(linear growth gives about 10x)\n");
    return 0;
}
