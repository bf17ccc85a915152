#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/DialogBuilder.h"
#include "ui/WindowManagerUI.h"

#include "tests/e2e/SkinInput.h"
#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"

#include <gtest/gtest.h>

#include <string>

// The uninstaller's own skin (resources/skin) laid out at its window size: where the wizard's
// buttons and the questionnaire's rows land, as the player and the end-to-end clicks see them.
namespace {

using SkinUI::CControlUI;
using SkinUI::CWindowManagerUI;

constexpr RECT kWindow = {0, 0, 800, 495};

class ShippedSkin : public ::testing::Test {
protected:
    void SetUp() override {
        previousPath_ = CWindowManagerUI::GetResourcePath().GetData();
        CWindowManagerUI::SetResourcePath(
            TestSupport::WinePathOf(UNINST_SOURCE_DIR "/resources/skin/").c_str());
        SkinUI::CDialogBuilder builder;
        root_ = builder.Create(L"UninstallFrame.xml", nullptr, nullptr, &pm_);
        ASSERT_NE(root_, nullptr);
        pm_.AttachRootControl(root_);
    }
    void TearDown() override { CWindowManagerUI::SetResourcePath(previousPath_.c_str()); }

    CControlUI* Find(const wchar_t* name) {
        CControlUI* control = pm_.FindControl(name);
        EXPECT_NE(control, nullptr) << TestSupport::ToUtf8(name);
        return control;
    }
    // Shows one wizard page with the first `questions` question rows, the way the wizard
    // does, and lays the window out.
    void ShowPage(int page, int questions = 4) {
        for (int n = 1; n <= 4; ++n) {
            Find((L"Uninstall_Step_0" + std::to_wstring(n)).c_str())->SetVisible(n == page);
            Find((L"Questionnaire" + std::to_wstring(n)).c_str())->SetVisible(n <= questions);
        }
        root_->SetPos(kWindow);
    }
    int DistanceFromBottom(const wchar_t* name) {
        return kWindow.bottom - Find(name)->GetPos().bottom;
    }

    std::wstring previousPath_;
    CWindowManagerUI pm_;
    CControlUI* root_ = nullptr;
};

bool Contains(const RECT& rc, SkinInput::ClientPoint p) {
    return ::PtInRect(&rc, POINT{p.x, p.y}) != FALSE;
}

// The questionnaire's buttons stand where the farewell page's did, so neither page's buttons
// hug the window's bottom edge and the pointer finds them in one place.
TEST_F(ShippedSkin, QuestionnaireButtonsKeepTheFarewellPagesDistanceFromTheBottom) {
    ShowPage(1);
    const RECT stay1 = Find(L"CloseUnistall01")->GetPos();
    const RECT go1 = Find(L"UninstallNextStep")->GetPos();
    const int farewell = DistanceFromBottom(L"CloseUnistall01");
    EXPECT_GE(farewell, 24);
    for (int questions = 1; questions <= 4; ++questions) {
        SCOPED_TRACE(questions);
        ShowPage(2, questions);
        EXPECT_EQ(DistanceFromBottom(L"CloseUnistall02"), farewell);
        EXPECT_EQ(DistanceFromBottom(L"BeginUnistall"), farewell);
        EXPECT_EQ(Find(L"CloseUnistall02")->GetPos().left, stay1.left);
        EXPECT_EQ(Find(L"BeginUnistall")->GetPos().left, go1.left);
        // The free text ends above the buttons, with all four questions too.
        EXPECT_LT(Find(L"OtherReason")->GetPos().bottom, Find(L"BeginUnistall")->GetPos().top);
    }
}

// Rows the survey leaves hidden take no room: the free text follows the last question shown,
// where the end-to-end runs and the demo click.
TEST_F(ShippedSkin, QuestionRowsAndTheFreeTextLieWhereTheClicksGo) {
    for (int questions = 1; questions <= 4; ++questions) {
        SCOPED_TRACE(questions);
        ShowPage(2, questions);
        const RECT text = Find(L"OtherReason")->GetPos();
        const RECT expected = SkinInput::OtherReasonRect(questions);
        EXPECT_TRUE(EqualRect(&text, &expected))
            << text.left << "," << text.top << "," << text.right << "," << text.bottom;
        for (int n = 1; n <= questions; ++n) {
            for (int m = 1; m <= 4; ++m) {
                const std::wstring name = std::to_wstring(n) + L"-" + std::to_wstring(m);
                const RECT option = Find(name.c_str())->GetPos();
                const SkinInput::ClientPoint row = SkinInput::OptionRow(n, m);
                EXPECT_EQ(option.left, row.x) << TestSupport::ToUtf8(name);
                EXPECT_EQ(option.top, row.y) << TestSupport::ToUtf8(name);
                EXPECT_TRUE(Contains(option, SkinInput::Option(n, m)));
            }
        }
    }
    ShowPage(2);
    EXPECT_TRUE(Contains(Find(L"CloseUnistall02")->GetPos(), SkinInput::kCloseUnistall02));
    EXPECT_TRUE(Contains(Find(L"BeginUnistall")->GetPos(), SkinInput::kBeginUnistall));
    ShowPage(1);
    EXPECT_TRUE(Contains(Find(L"CloseUnistall01")->GetPos(), SkinInput::kCloseUnistall01));
    EXPECT_TRUE(Contains(Find(L"UninstallNextStep")->GetPos(), SkinInput::kUninstallNextStep));
    ShowPage(4);
    EXPECT_TRUE(Contains(Find(L"UnistallFinished")->GetPos(), SkinInput::kUnistallFinished));
}

} // namespace
