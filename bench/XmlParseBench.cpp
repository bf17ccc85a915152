#include <windows.h>

#include "bench/BenchClock.h"
#include "statistics/XmlTextDoc.h"
#include "ui/XmlDocument.h"

#include <cstdio>
#include <string>

using SkinUI::CXmlDocument;
using SkinUI::CXmlNode;

namespace {

const wchar_t kControls[] =
    LR"(    <HorizontalLayout name="row%d" height="36" childpadding="8" bkcolor="#FFF4F4F4">
        <Label name="title%d" text="卸载程序 &amp; 设置 %d" font="1" textcolor="#FF333333" padding="12,0,0,0"/>
        <Button name="btn%d" text="继续" width="120" normalimage="file='btn.png' source='0,0,120,36'" hotimage="file='btn.png' source='120,0,240,36'" pushedimage="file='btn.png' source='240,0,360,36'" tooltip="&lt;%d&gt;"/>
        <Option name="opt%d" group="g%d" text="选项" selected="false" textpadding="20,0,0,0"/>
    </HorizontalLayout>
)";

// A window skin with fonts, defaults and images, then rows rows of controls.
std::wstring MakeSkin(int rows) {
    std::wstring text = LR"(<?xml version="1.0" encoding="utf-8"?>
<Window size="800,495" caption="0,0,0,40" roundcorner="4,4" sizebox="4,4,4,4" mininfo="600,400">
    <!-- fonts -->
    <Font name="微软雅黑" size="12" default="true"/>
    <Font name="微软雅黑" size="14" bold="true"/>
    <Default name="VScrollBar" value="button1normalimage=&quot;file='scroll.png' source='0,0,16,16'&quot;"/>
    <Image name="bg.png" mask="#FFFF00FF"/>
<VerticalLayout name="root" bkimage="file='bg.png' corner='4,4,4,4'" inset="1,1,1,1">
)";
    wchar_t buffer[2048];
    for (int i = 0; i < rows; ++i) {
        swprintf(buffer, 2048, kControls, i, i, i, i, i, i, i);
        text += buffer;
    }
    text += L"</VerticalLayout>\n</Window>\n";
    return text;
}

std::string ToUtf8(const std::wstring& text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n,
                          nullptr, nullptr);
    return out;
}

// Touches every attribute so that the lazy attribute mapping is measured too.
int WalkAttributes(CXmlNode node) {
    int count = 0;
    for (; node.IsValid(); node = node.GetSibling()) {
        count += node.GetAttributeCount();
        count += WalkAttributes(node.GetChild());
    }
    return count;
}

template <class Parse>
void Measure(const char* label, size_t bytes, double minimumSeconds, Parse parse) {
    int rounds = 0;
    int attributes = 0;
    const double start = BenchSeconds();
    double elapsed = 0;
    do {
        attributes = parse();
        ++rounds;
        elapsed = BenchSeconds() - start;
    } while (elapsed < minimumSeconds);
    const double megabytes = static_cast<double>(bytes) * rounds / (1024.0 * 1024.0);
    std::printf("%-44s %9zu bytes %6d rounds %8.1f MB/s  (%d attributes)\n", label, bytes, rounds,
                megabytes / elapsed, attributes);
}

std::wstring Repeat(const wchar_t* part, int count) {
    std::wstring text;
    for (int i = 0; i < count; ++i) {
        text += part;
    }
    return text;
}

// Seconds for one parse of the statistics XML document (the best of three).
double StatisticsParseSeconds(const std::wstring& text) {
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        CXmlTextDoc doc;
        const double start = BenchSeconds();
        doc.SetDocText(text.c_str());
        const double elapsed = BenchSeconds() - start;
        best = elapsed < best ? elapsed : best;
    }
    return best;
}

// The statistics XML document on hostile shapes of n tags and of 4n: the time must grow like the
// text. The baseline is a well-formed document of as many nested elements.
void MeasureStatisticsShapes(int n) {
    const struct {
        const char* label;
        std::wstring (*make)(int);
    } shapes[] = {
        {"well-formed <a>..</a> nested (baseline)",
         [](int k) { return Repeat(L"<a>", k) + Repeat(L"</a>", k); }},
        {"start tags never ended <a>", [](int k) { return Repeat(L"<a>", k); }},
        {"<a> then unmatched </b> then </a>",
         [](int k) { return Repeat(L"<a>", k) + Repeat(L"</b>", k) + Repeat(L"</a>", k); }},
    };
    std::printf("\nStatistics XML document, n = %d tags of each kind against 4n\n", n);
    double baseline = 0;
    for (const auto& shape : shapes) {
        const double small = StatisticsParseSeconds(shape.make(n));
        const double large = StatisticsParseSeconds(shape.make(4 * n));
        baseline = baseline == 0 ? small : baseline;
        std::printf("%-42s n: %8.1f ms  4n: %8.1f ms  4n/n %5.2f  n/baseline %5.2f\n", shape.label,
                    small * 1e3, large * 1e3, large / small, small / baseline);
    }
}

} // namespace

int main() {
    const std::wstring skin = MakeSkin(6);
    const std::wstring large = MakeSkin(12000);
    const std::string skinUtf8 = ToUtf8(skin);
    const std::string largeUtf8 = ToUtf8(large);

    CXmlDocument doc;
    if (!doc.Load(skin.c_str()) || !doc.Load(large.c_str())) {
        std::printf("parse failed: %ls\n", doc.GetLastErrorMessage());
        return 1;
    }
    std::printf("Skin XML parsing (UTF-16 input bytes count as 2 per character)\n");
    Measure("skin-sized, wide text (Load)", skin.size() * sizeof(wchar_t), 1.0, [&] {
        doc.Load(skin.c_str());
        return WalkAttributes(doc.GetRoot());
    });
    Measure("skin-sized, UTF-8 bytes (LoadFromMem)", skinUtf8.size(), 1.0, [&] {
        doc.LoadFromMem(reinterpret_cast<const BYTE*>(skinUtf8.data()),
                        static_cast<DWORD>(skinUtf8.size()));
        return WalkAttributes(doc.GetRoot());
    });
    Measure("large, wide text (Load)", large.size() * sizeof(wchar_t), 2.0, [&] {
        doc.Load(large.c_str());
        return WalkAttributes(doc.GetRoot());
    });
    Measure("large, UTF-8 bytes (LoadFromMem)", largeUtf8.size(), 2.0, [&] {
        doc.LoadFromMem(reinterpret_cast<const BYTE*>(largeUtf8.data()),
                        static_cast<DWORD>(largeUtf8.size()));
        return WalkAttributes(doc.GetRoot());
    });
    MeasureStatisticsShapes(64000);
    return 0;
}
