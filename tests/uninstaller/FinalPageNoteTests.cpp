// The final page's line about files left behind, measured with a real font: the folder's middle
// gives way to "…" so that the line fits, and its two ends stay.
#include <windows.h>

#include "ui/Win32Handles.h"
#include "uninstaller/FinalPageNote.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::wstring kPrefix = L"有 3 个文件未能删除，请手动删除：";

class FinalPageNoteTest : public ::testing::Test {
protected:
    // The final page's font: the skin's 16-pixel face.
    SkinUI::CMemoryDC dc_{nullptr};
    SkinUI::CGdiObject<HFONT> font_{
        ::CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, L"微软雅黑")};
    SkinUI::CSelectObject selected_{dc_.Get(), font_.Get()};
    const TextWidth width_ = [this](const std::wstring& text) {
        SIZE size = {};
        ::GetTextExtentPoint32W(dc_.Get(), text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
};

std::wstring Repeat(const std::wstring& part, int times) {
    std::wstring out;
    for (int i = 0; i < times; ++i)
        out += part;
    return out;
}

TEST_F(FinalPageNoteTest, TheCountAndAFolderThatFitsAreShownWhole) {
    const struct {
        unsigned count;
        const wchar_t* folder;
        const wchar_t* expected;
    } cases[] = {
        {1, L"C:\\Games\\Zeph", L"有 1 个文件未能删除，请手动删除：C:\\Games\\Zeph"},
        {12345, L"D:\\泽菲 游戏", L"有 12345 个文件未能删除，请手动删除：D:\\泽菲 游戏"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FilesLeftNote(c.count, c.folder, 800, width_), c.expected);
}

TEST_F(FinalPageNoteTest, ALongFolderGivesWayInItsMiddle) {
    const std::wstring head = L"C:\\Games\\";
    const std::wstring tail = L"\\Zeph Online";
    const struct {
        const char* what;
        std::wstring folder;
        int maxWidth;
    } cases[] = {
        {"a deep folder", head + Repeat(L"Velmora Games\\", 20) + L"Zeph Online", 800},
        {"Chinese names", head + Repeat(L"泽菲游戏目录\\", 30) + L"Zeph Online", 800},
        {"one long name", head + Repeat(L"x", 300) + tail, 800},
        {"a narrow line", head + Repeat(L"Velmora Games\\", 5) + L"Zeph Online", 500},
    };
    for (const auto& c : cases) {
        const std::wstring line = FitPathInMiddle(kPrefix, c.folder, c.maxWidth, width_);
        EXPECT_LE(width_(line), c.maxWidth) << c.what;
        // Not shortened further than the line needs: one more wide character would not fit.
        EXPECT_GT(width_(line), c.maxWidth - 2 * width_(L"泽")) << c.what;
        EXPECT_EQ(line.find(kPrefix + head), 0u) << c.what;
        EXPECT_EQ(line.rfind(tail), line.size() - tail.size()) << c.what;
        EXPECT_NE(line.find(L"\u2026"), std::wstring::npos) << c.what;
    }
}

TEST_F(FinalPageNoteTest, NeitherEndSplitsACharacterOutsideTheBasicPlane) {
    // U+20000 as a surrogate pair, many times over.
    const std::wstring folder = L"C:\\" + Repeat(L"\xD840\xDC00", 200);
    for (int maxWidth = 300; maxWidth < 800; maxWidth += 37) {
        const std::wstring line = FitPathInMiddle(kPrefix, folder, maxWidth, width_);
        for (size_t i = 0; i < line.size(); ++i) {
            const bool high = line[i] >= 0xD800 && line[i] <= 0xDBFF;
            const bool low = line[i] >= 0xDC00 && line[i] <= 0xDFFF;
            const bool lowNext =
                i + 1 < line.size() && line[i + 1] >= 0xDC00 && line[i + 1] <= 0xDFFF;
            const bool highBefore = i > 0 && line[i - 1] >= 0xD800 && line[i - 1] <= 0xDBFF;
            ASSERT_TRUE(!high || lowNext) << maxWidth << " at " << i;
            ASSERT_TRUE(!low || highBefore) << maxWidth << " at " << i;
        }
    }
}

TEST_F(FinalPageNoteTest, WithoutRoomForAnyOfTheFolderOnlyTheEllipsisFollows) {
    EXPECT_EQ(FitPathInMiddle(kPrefix, L"C:\\Games\\Zeph", 10, width_), kPrefix + L"\u2026");
}

} // namespace
