#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/DialogBuilder.h"
#include "ui/SkinBuildLimits.h"

#include "tests/support/DibSurface.h"
#include "tests/ui/LayoutTestTree.h"
#include "tests/ui/SkinBuildTestSupport.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <random>
#include <string>
#include <vector>

using namespace SkinBuildTest;
using SkinUI::CContainerUI;
using SkinUI::CSkinBuildScope;

namespace {

// Builds a skin into a manager of its own, attaches it, lays it out into a
// rectangle and paints it: whatever the skin, nothing may crash or hang.
int BuildLayOutAndPaint(const std::wstring& skin, RECT rc, IDialogBuilderCallback* callback) {
    CWindowManagerUI pm;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(skin.c_str(), nullptr, callback, &pm);
    if (root == nullptr) {
        return 0;
    }
    pm.AttachRootControl(root);
    root->SetPos(rc);
    static TestSupport::DibSurface surface(320, 240);
    root->Paint(surface.DC(), surface.Rect());
    return CountControls(root);
}

// ---- Malformed skins ----------------------------------------------------------------

TEST(BuilderMalformed, BadNumbersReadAsFarAsTheyGo) {
    BuiltTree t(LR"(<VerticalLayout name="v" inset=",,,,,," childpadding="x7">
      <Control name="a" width="abc" height="12px" pos="1,2,x" padding="-"/>
      <TileLayout name="tile" columns="99999999999999" itemsize="-5,-5"/>
      <TabLayout name="tab" selectedid="-3"><Control/></TabLayout>
      <TabLayout name="tab2" selectedid="99"><Control/></TabLayout>
      <VerticalLayout name="sep" sepheight="-99999999999"/>
      <Progress name="p" min="5" max="5" value="9999999999999"/>
      <Label name="l" font="77" textpadding="1,2,3,4,5,6,7"/>
      <Include source="row.xml" count="x"/>
    </VerticalLayout>)",
                RECT{0, 0, 300, 300});
    ASSERT_NE(t.Root(), nullptr);
    EXPECT_EQ(RectText(t.As<CContainerUI>(L"v")->GetInset()), L"0,0,0,0");
    EXPECT_EQ(t[L"a"]->GetFixedWidth(), 0);
    EXPECT_EQ(t[L"a"]->GetFixedHeight(), 12);
    EXPECT_EQ(t[L"a"]->GetFixedXY().cx, 1);
    EXPECT_EQ(t.Pos(L"l").empty(), false);
    // "count" that is no number reads as 0: nothing is included.
    EXPECT_EQ(Find(t.Root(), L"row"), nullptr);
}

TEST(BuilderMalformed, DeepNestingStopsAtTheLimitInsteadOfTheStack) {
    auto nested = [](int depth) {
        std::wstring skin = L"<Window>";
        for (int i = 0; i < depth; ++i) {
            skin += L"<VerticalLayout>";
        }
        skin += L"<Control name=\"leaf\"/>";
        for (int i = 0; i < depth; ++i) {
            skin += L"</VerticalLayout>";
        }
        return skin + L"</Window>";
    };
    UseSkinArchive();
    {
        CWindowManagerUI pm;
        CDialogBuilder builder;
        CControlUI* root = builder.Create(nested(30).c_str(), nullptr, nullptr, &pm);
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(TreeDepth(root), 31);
        delete root;
    }
    {
        // Past the limit the deeper elements are not built.
        CWindowManagerUI pm;
        CDialogBuilder builder;
        CControlUI* root = builder.Create(nested(200).c_str(), nullptr, nullptr, &pm);
        ASSERT_NE(root, nullptr);
        EXPECT_LT(TreeDepth(root), CSkinBuildScope::kMaxLevels);
        EXPECT_GT(TreeDepth(root), 50);
        EXPECT_EQ(Find(root, L"leaf"), nullptr);
        delete root;
    }
}

TEST(BuilderMalformed, IncludeCyclesStopAtTheNestingLimit) {
    BuiltTree self(LR"(<VerticalLayout name="v"><Include source="self.xml"/></VerticalLayout>)");
    auto* v = self.As<CContainerUI>(L"v");
    ASSERT_NE(v, nullptr);
    EXPECT_GT(v->GetCount(), 10);
    EXPECT_LT(v->GetCount(), CSkinBuildScope::kMaxLevels);

    BuiltTree cycle(LR"(<VerticalLayout name="v"><Include source="cycle_a.xml"/>
                       <Label name="after"/></VerticalLayout>)");
    auto* cv = cycle.As<CContainerUI>(L"v");
    ASSERT_NE(cv, nullptr);
    EXPECT_GT(cv->GetCount(), 10);
    EXPECT_LT(cv->GetCount(), CSkinBuildScope::kMaxLevels);
    EXPECT_EQ(cv->GetItemAt(0)->GetName(), L"a");
    EXPECT_EQ(cv->GetItemAt(1)->GetName(), L"b");
    // The siblings after the cycle still build.
    EXPECT_EQ(cv->GetItemAt(cv->GetCount() - 1)->GetName(), L"after");
}

// A file that includes itself twice would double at every level; the build
// budget ends it, and so does it end a huge repetition count.
TEST(BuilderMalformed, ExponentialAndHugeRepetitionsEndAtTheBuildBudget) {
    BuiltTree twice(LR"(<VerticalLayout name="v"><Include source="self_twice.xml"/>
                       <Label name="after"/></VerticalLayout>)");
    auto* v = twice.As<CContainerUI>(L"v");
    ASSERT_NE(v, nullptr);
    EXPECT_GT(v->GetCount(), 100);
    EXPECT_LE(v->GetCount(), CSkinBuildScope::kMaxBuildSteps);

    BuiltTree huge(LR"(<VerticalLayout name="v"><Include source="row.xml" count="2000000000"/>
                      </VerticalLayout>)");
    auto* hv = huge.As<CContainerUI>(L"v");
    ASSERT_NE(hv, nullptr);
    EXPECT_GT(hv->GetCount(), 1000);
    EXPECT_LE(hv->GetCount(), CSkinBuildScope::kMaxBuildSteps);

    // A file that builds no control but loads: the repetitions still end.
    BuiltTree loads(LR"(<VerticalLayout name="v"><Include source="no_controls.xml"
                       count="2000000000"/><Label name="after"/></VerticalLayout>)");
    EXPECT_NE(Find(loads.Root(), L"v"), nullptr);

    // The budget is per build: the next build starts afresh.
    BuiltTree next(LR"(<VerticalLayout name="v"><Include source="row.xml" count="3"/>
                      </VerticalLayout>)");
    auto* nv = next.As<CContainerUI>(L"v");
    ASSERT_NE(nv, nullptr);
    EXPECT_EQ(nv->GetCount(), 3);
}

TEST(BuilderMalformed, BrokenFragmentsBuildWhatCanBeBuilt) {
    RecordingCallback callback;
    const wchar_t* const skins[] = {
        L"<Window>",
        L"<Window/>",
        L"<Window><Unknown><Label/></Unknown></Window>",
        L"<Window><Include source=\"bad.xml\"/><Include source=\"empty.xml\"/></Window>",
        L"<Window><ChildLayout xmlfile=\"\"/></Window>",
        L"<Window><TabLayout selectedid=\"0\"/></Window>",
        L"<Window><Default name=\"Label\" value=\"text=&quot;unterminated\"/><Label/></Window>",
        L"<Window><Default name=\"Label\" value=\"=&quot;&quot; x\"/><Label/></Window>",
        L"<Window><Font name=\"\" size=\"-5\"/><Font name=\"x\" size=\"99999999\"/>"
        L"<Label font=\"1\" text=\"t\"/></Window>",
        L"<Window><Image name=\"\"/><Image name=\"x\" restype=\"\"/><Image name=\"9x\" "
        L"restype=\"NOPE\"/><Control/></Window>",
        L"<Window><VerticalLayout vscrollbar=\"true\" hscrollbar=\"true\" "
        L"vscrollbarstyle=\"width=&quot;-9&quot;\"><Control height=\"-5\"/></VerticalLayout>"
        L"</Window>",
        L"<Window><Slider min=\"10\" max=\"10\" thumbsize=\"500,500\"/><Progress hor=\"false\" "
        L"min=\"-2147483648\" max=\"2147483647\" value=\"0\"/></Window>",
        L"<Window><Text showhtml=\"true\" text=\"{a}{a}{a}{a}{a}{a}{a}{a}{a}{a}\"/></Window>",
    };
    for (const wchar_t* skin : skins) {
        BuildLayOutAndPaint(skin, RECT{0, 0, 320, 240}, &callback);
        BuildLayOutAndPaint(skin, RECT{0, 0, 0, 0}, &callback);
    }
}

// ---- Seeded random damage to a realistic skin ---------------------------------------

const wchar_t* const kWholeFragments[] = {
    L"<Include source=\"self.xml\"/>",
    L"<Include source=\"cycle_a.xml\" count=\"3\"/>",
    L"<Include source=\"footer.xml\" count=\"40\"/>",
    L"<Include source=\"no_such.xml\" count=\"9\"/>",
    L"<ChildLayout xmlfile=\"child_self.xml\"/>",
    L"<ChildLayout xmlfile=\"page_survey.xml\"><Label/></ChildLayout>",
    L"<TabLayout selectedid=\"7\"><Control/><Option group=\"q1\"/></TabLayout>",
    L"<TileLayout itemsize=\"1,1\" columns=\"0\"><Control/><Control/></TileLayout>",
    L"<Label><Button/></Label>",
    L"<Default name=\"Label\" value=\"width=&quot;5\"/>",
    L"<Default name=\"Button\" value=\"bkimage=&quot;file='x.png' source='9,9,1,1'&quot;\"/>",
    L"<Font name=\"x\" size=\"-9\"/>",
    L"<Image name=\"missing.png\"/>",
    L"<ComputerExamine><Control/></ComputerExamine>",
    L"<Option group=\"q1\" selected=\"true\"/>",
    L"<VerticalLayout sepheight=\"6\" vscrollbar=\"true\"><Control "
    L"height=\"900\"/></VerticalLayout>",
    L"<Window size=\"1,1\"/>",
};

const wchar_t* const kTags[] = {L"Control",
                                L"Container",
                                L"VerticalLayout",
                                L"HorizontalLayout",
                                L"TileLayout",
                                L"TabLayout",
                                L"ChildLayout",
                                L"Label",
                                L"Text",
                                L"Button",
                                L"Option",
                                L"CheckBox",
                                L"Progress",
                                L"Slider",
                                L"ScrollBar",
                                L"Include",
                                L"Default",
                                L"Font",
                                L"Image",
                                L"Window",
                                L"ComputerExamine",
                                L"Unknown",
                                L"TreeNode",
                                L"List"};

// Values that keep the document well formed.
std::wstring JunkValue(std::mt19937& random) {
    static const wchar_t kSafe[] = L"0123456789,,,---##  xyzfalsetrue.';=&quot;&amp;";
    switch (random() % 5) {
    case 0:
        return std::to_wstring(static_cast<int>(random()));
    case 1:
        return L"-" + std::wstring(1 + random() % 14, L'9');
    case 2: {
        std::wstring value;
        const size_t n = random() % 80;
        for (size_t i = 0; i < n; ++i) {
            value += kSafe[random() % (sizeof(kSafe) / sizeof(kSafe[0]) - 1)];
        }
        return value;
    }
    case 3:
        return std::wstring(random() % 3000, L'x');
    default:
        return L"";
    }
}

// Damage that keeps the text well formed, so that it reaches the builder:
// attribute values, tag names, whole elements.
void DamageStructure(std::wstring& text, std::mt19937& random) {
    const auto pick = [&](size_t n) { return n == 0 ? 0 : static_cast<size_t>(random() % n); };
    switch (random() % 4) {
    case 0: { // an attribute value replaced
        const size_t quote = text.find(L"=\"", pick(text.size()));
        if (quote == std::wstring::npos) {
            return;
        }
        const size_t end = text.find(L'"', quote + 2);
        if (end != std::wstring::npos) {
            text.replace(quote + 2, end - quote - 2, JunkValue(random));
        }
        break;
    }
    case 1: { // a tag renamed (start and end tag alike, when it has one)
        const size_t open = text.find(L'<', pick(text.size()));
        if (open == std::wstring::npos || open + 1 >= text.size() || !iswalpha(text[open + 1])) {
            return;
        }
        size_t end = open + 1;
        while (end < text.size() && iswalnum(text[end])) {
            ++end;
        }
        const std::wstring name = text.substr(open + 1, end - open - 1);
        const std::wstring renamed = kTags[pick(sizeof(kTags) / sizeof(kTags[0]))];
        const size_t close = text.find(L"</" + name + L">", end);
        if (close != std::wstring::npos) {
            text.replace(close + 2, name.size(), renamed);
        }
        text.replace(open + 1, name.size(), renamed);
        break;
    }
    case 2: { // a whole element dropped in after a tag
        const size_t gt = text.find(L'>', pick(text.size()));
        if (gt != std::wstring::npos) {
            text.insert(
                gt + 1,
                kWholeFragments[pick(sizeof(kWholeFragments) / sizeof(kWholeFragments[0]))]);
        }
        break;
    }
    default: { // an attribute removed
        const size_t quote = text.find(L"=\"", pick(text.size()));
        if (quote == std::wstring::npos) {
            return;
        }
        const size_t start = text.rfind(L' ', quote);
        const size_t end = text.find(L'"', quote + 2);
        if (start != std::wstring::npos && end != std::wstring::npos && start < quote) {
            text.erase(start, end + 1 - start);
        }
        break;
    }
    }
}

// Damage of any kind: most of it breaks the XML, which the parser refuses.
void DamageText(std::wstring& text, std::mt19937& random) {
    static const wchar_t kChars[] = L"<>/=\"& #;!?-0123456789,abcxyzABCXYZ\t\n'{}";
    const auto pick = [&](size_t n) { return n == 0 ? 0 : static_cast<size_t>(random() % n); };
    const size_t at = pick(text.size() + 1);
    switch (random() % 6) {
    case 0: // one character replaced
        if (!text.empty()) {
            text[pick(text.size())] = random() % 4 == 0
                                          ? static_cast<wchar_t>(1 + random() % 0xD7FF)
                                          : kChars[pick(sizeof(kChars) / sizeof(kChars[0]) - 1)];
        }
        break;
    case 1: // a span removed
        text.erase(std::min(at, text.size()), 1 + pick(40));
        break;
    case 2: { // a span repeated elsewhere
        const size_t from = pick(text.size());
        const std::wstring span = text.substr(from, 1 + pick(300));
        text.insert(pick(text.size() + 1), span);
        break;
    }
    case 3: // cut short
        text.resize(at);
        break;
    case 4: { // two spans swapped
        if (text.size() > 4) {
            const size_t a = pick(text.size() / 2);
            const size_t b = text.size() / 2 + pick(text.size() / 2);
            const size_t n = 1 + pick(std::min<size_t>(60, b - a));
            const std::wstring first = text.substr(a, n);
            const std::wstring second = text.substr(b, n);
            text.replace(b, second.size(), first);
            text.replace(a, first.size(), second);
        }
        break;
    }
    default: // a digit run made huge
        text.insert(at, std::wstring(1 + pick(12), static_cast<wchar_t>(L'0' + pick(10))));
        break;
    }
}

std::wstring Corrupt(std::wstring text, std::mt19937& random) {
    const int operations = 1 + static_cast<int>(random() % 4);
    for (int op = 0; op < operations; ++op) {
        if (random() % 5 == 0) {
            DamageText(text, random);
        } else {
            DamageStructure(text, random);
        }
    }
    return text;
}

TEST(BuilderRandomDamage, ThousandsOfDamagedRealisticSkinsNeverCrash) {
    UseSkinArchive();
    RecordingCallback callback;
    callback.Knows(L"ComputerExamine");
    const std::wstring sources[] = {
        kFrameSkin,  std::wstring(L"<Window>") + kFarewellPage + L"</Window>",
        kSurveyPage, kProgressPage,
        kFinishPage, kSampleSkin};
    // The undamaged skins build.
    EXPECT_GT(BuildLayOutAndPaint(kFrameSkin, RECT{0, 0, 560, 400}, &callback), 40);
    EXPECT_GT(BuildLayOutAndPaint(kSampleSkin, RECT{0, 0, 640, 480}, &callback), 60);

    std::mt19937 random(20240611);
    int built = 0;
    long long total = 0;
    const int rounds = 5000;
    for (int round = 0; round < rounds; ++round) {
        const std::wstring& source = sources[round % 6];
        const std::wstring damaged = Corrupt(source, random);
        const RECT rc = {0, 0, static_cast<LONG>(random() % 900) - 50,
                         static_cast<LONG>(random() % 700) - 50};
        const int controls = BuildLayOutAndPaint(damaged, rc, &callback);
        if (controls > 0) {
            ++built;
            total += controls;
        }
        callback.asked.clear();
    }
    // Most damage leaves something to build.
    EXPECT_GT(built, rounds / 2);
    EXPECT_GT(total, built * 10LL);
}

} // namespace
