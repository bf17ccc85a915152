#include <windows.h>

#include "ui/UIString.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using SkinUI::CUIString;

namespace {

std::wstring Repeat(wchar_t ch, int n) {
    return std::wstring(static_cast<size_t>(n), ch);
}

// Whether the characters live in the inline buffer inside the object.
bool IsInline(const CUIString& s) {
    const auto* begin = reinterpret_cast<const char*>(&s);
    const auto* data = reinterpret_cast<const char*>(s.GetData());
    return data >= begin && data < begin + sizeof(CUIString);
}

} // namespace

// One string through assignments and an append across the inline/heap
// boundary: up to 62 characters it keeps them inline.
TEST(UIStringTest, InlineUpTo62CharactersHeapFrom63) {
    const std::wstring a62 = Repeat(L'a', 62);
    const struct {
        const char* step;
        std::function<void(CUIString&)> apply;
        std::wstring text;
        bool inlined;
    } steps[] = {
        {"assign 62", [&](CUIString& s) { s = a62.c_str(); }, a62, true},
        {"assign 63", [](CUIString& s) { s = Repeat(L'b', 63).c_str(); }, Repeat(L'b', 63), false},
        {"assign 10 after 63", [](CUIString& s) { s = L"0123456789"; }, L"0123456789", true},
        {"assign 62 again", [&](CUIString& s) { s = a62.c_str(); }, a62, true},
        {"append 1 to 62", [](CUIString& s) { s += L'z'; }, a62 + L"z", false},
        {"append to the heap", [](CUIString& s) { s += L"tail"; }, a62 + L"ztail", false},
    };
    CUIString s;
    for (const auto& step : steps) {
        step.apply(s);
        EXPECT_EQ(step.text, s.GetData()) << step.step;
        EXPECT_EQ(static_cast<int>(step.text.size()), s.GetLength()) << step.step;
        EXPECT_EQ(step.inlined, IsInline(s)) << step.step;
    }
}

TEST(UIStringTest, AssignWithLengthStopsAtTerminator) {
    CUIString s;
    s.Assign(L"abc", 2);
    EXPECT_STREQ(L"ab", s);
    s.Assign(L"abc", 100); // copy stops at the source's end
    EXPECT_STREQ(L"abc", s);
    EXPECT_EQ(3, s.GetLength());
    s.Assign(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    s = static_cast<LPCWSTR>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    // A short text kept on the heap still appends correctly.
    s.Assign(L"xy", 80);
    s += L"z";
    EXPECT_STREQ(L"xyz", s);
    EXPECT_TRUE(IsInline(s));
}

TEST(UIStringTest, SelfAssignmentAndAssignmentFromOwnBuffer) {
    CUIString s(L"hello world");
    s = s;
    EXPECT_STREQ(L"hello world", s);
    s = s.GetData() + 6;
    EXPECT_STREQ(L"world", s);

    const std::wstring longText = Repeat(L'x', 40) + Repeat(L'y', 60);
    CUIString heap(longText.c_str());
    heap = heap.GetData() + 40; // 60 characters: back to the inline buffer
    EXPECT_EQ(Repeat(L'y', 60), heap.GetData());
    EXPECT_TRUE(IsInline(heap));

    CUIString heap2(longText.c_str());
    heap2.Assign(heap2.GetData() + 10, 80); // heap to heap, from inside
    EXPECT_EQ(longText.substr(10, 80), heap2.GetData());

    CUIString inl(L"abcdef");
    inl.Assign(inl.GetData() + 2, 3);
    EXPECT_STREQ(L"cde", inl);
}

TEST(UIStringTest, AppendFromOwnBuffer) {
    CUIString s(L"abc");
    s += s;
    EXPECT_STREQ(L"abcabc", s);
    s.Append(s.GetData() + 4);
    EXPECT_STREQ(L"abcabcbc", s);

    // Inline to heap with the source in the inline buffer.
    const std::wstring t40 = Repeat(L'q', 40);
    CUIString grow(t40.c_str());
    grow.Append(grow.GetData());
    EXPECT_EQ(t40 + t40, grow.GetData());
    // Heap to larger heap with the source in the old block.
    grow.Append(grow.GetData() + 1);
    EXPECT_EQ(t40 + t40 + Repeat(L'q', 79), grow.GetData());
}

TEST(UIStringTest, LeftMidRightClamp) {
    CUIString s(L"abcdef");
    EXPECT_STREQ(L"cdef", s.Mid(2, -1));
    EXPECT_STREQ(L"ef", s.Mid(4, 10));
    EXPECT_STREQ(L"", s.Mid(3, 0));
    EXPECT_STREQ(L"", s.Mid(6));
    EXPECT_STREQ(L"", s.Mid(100, 5)); // the position is clamped, never read past the end
    EXPECT_STREQ(L"", s.Mid(100));
    EXPECT_STREQ(L"ab", s.Mid(-5, 2));
    EXPECT_STREQ(L"", s.Left(-3));
    EXPECT_STREQ(L"abc", s.Left(3));
    EXPECT_STREQ(L"abcdef", s.Left(99));
    EXPECT_STREQ(L"ef", s.Right(2));
    EXPECT_STREQ(L"abcdef", s.Right(10));
}

TEST(UIStringTest, FindAndReverseFind) {
    CUIString s(L"abcabc");
    EXPECT_EQ(1, s.Find(L'b'));
    EXPECT_EQ(4, s.Find(L'b', 2));
    EXPECT_EQ(-1, s.Find(L'b', 6)); // start equal to the length
    EXPECT_EQ(-1, s.Find(L'b', -1));
    EXPECT_EQ(-1, s.Find(L'z'));
    EXPECT_EQ(-1, CUIString().Find(L'a', 0));

    EXPECT_EQ(3, s.Find(L"abc", 1));
    EXPECT_EQ(-1, s.Find(L"abc", 6)); // the empty tail holds no text
    EXPECT_EQ(6, s.Find(L"", 6));
    EXPECT_EQ(-1, s.Find(L"abc", 7));
    EXPECT_EQ(-1, s.Find(L"abc", -1));
    EXPECT_EQ(-1, s.Find(static_cast<LPCWSTR>(nullptr)));

    EXPECT_EQ(5, s.ReverseFind(L'c'));
    EXPECT_EQ(-1, s.ReverseFind(L'z'));
    EXPECT_EQ(-1, s.ReverseFind(0));
}

TEST(UIStringTest, Replace) {
    CUIString s(L"line1<n>line2<n>");
    EXPECT_EQ(2, s.Replace(L"<n>", L"\r\n"));
    EXPECT_STREQ(L"line1\r\nline2\r\n", s);
    EXPECT_EQ(-1, s.Find(L"<n>"));

    CUIString grow(L"aaa");
    EXPECT_EQ(3, grow.Replace(L"a", L"aa")); // the replacement is never searched again
    EXPECT_STREQ(L"aaaaaa", grow);

    CUIString shrink(L"xxabxxabxx");
    EXPECT_EQ(2, shrink.Replace(L"ab", L""));
    EXPECT_STREQ(L"xxxxxx", shrink);

    CUIString none(L"abc");
    EXPECT_EQ(0, none.Replace(L"", L"z"));
    EXPECT_EQ(0, none.Replace(nullptr, L"z"));
    EXPECT_EQ(0, none.Replace(L"q", L"z"));
    EXPECT_STREQ(L"abc", none);

    // Replacement text taken from the string itself.
    CUIString self(L"ab-ab");
    EXPECT_EQ(2, self.Replace(L"ab", self.GetData()));
    EXPECT_STREQ(L"ab-ab-ab-ab", self);

    // Growth across the inline/heap boundary.
    CUIString big(L"<x><x><x><x><x><x><x><x><x><x>");
    EXPECT_EQ(10, big.Replace(L"<x>", L"0123456789"));
    EXPECT_EQ(100, big.GetLength());
}

TEST(UIStringTest, SmallFormatKeepsAtMost63Characters) {
    CUIString s;
    EXPECT_EQ(8, s.SmallFormat(L"%d-%s-%c", 42, L"abc", L'z'));
    EXPECT_STREQ(L"42-abc-z", s);

    const std::wstring longArg = Repeat(L'w', 500);
    const int n = s.SmallFormat(L"[%s]", longArg.c_str());
    EXPECT_EQ(63, n);
    EXPECT_EQ(63, s.GetLength());
    EXPECT_EQ(L"[" + Repeat(L'w', 62), s.GetData());

    EXPECT_EQ(63, s.SmallFormat(L"%s", Repeat(L'e', 63).c_str()));
    EXPECT_EQ(Repeat(L'e', 63), s.GetData());
    EXPECT_EQ(2, s.SmallFormat(L"%x", 255));
    EXPECT_STREQ(L"ff", s);
}

TEST(UIStringTest, FormatHasNoSmallLimit) {
    CUIString s;
    EXPECT_EQ(5, s.Format(L"%d%%%s", 12, L"ab"));
    EXPECT_STREQ(L"12%ab", s);
    const std::wstring arg = Repeat(L'k', 700);
    EXPECT_EQ(702, s.Format(L"<%s>", arg.c_str()));
    EXPECT_EQ(L"<" + arg + L">", s.GetData());
    EXPECT_EQ(3, s.Format(L"%ls", L"wid"));
    EXPECT_STREQ(L"wid", s);
    EXPECT_EQ(4, s.Format(L"%hs", "narr"));
    EXPECT_STREQ(L"narr", s);
}

// Texts growing from the inline buffer onto the heap, by every way a string grows: each heap
// block keeps room for the terminator (the checking allocator of this program sees a character
// written past a malloc block when the string is freed).
TEST(UIStringTest, GrowingOntoTheHeapKeepsRoomForTheTerminator) {
    for (const int length : {62, 63, 64, 65, 126, 127, 128, 255}) {
        const std::wstring text = Repeat(L'g', length);
        CUIString assigned(text.c_str());
        CUIString cut;
        cut.Assign((text + L"tail").c_str(), length);
        CUIString appended(L"g");
        appended.Append(Repeat(L'g', length - 1).c_str());
        CUIString added = CUIString(L"g") + Repeat(L'g', length - 1).c_str();
        CUIString byChar;
        for (int i = 0; i < length; ++i) {
            byChar += L'g';
        }
        CUIString replaced(Repeat(L'x', length / 2).c_str());
        replaced.Replace(L"x", L"gg");
        replaced.Append(length % 2 != 0 ? L"g" : L"");
        CUIString formatted;
        formatted.Format(L"%s", text.c_str());
        CUIString shrunk(Repeat(L'g', length + 40).c_str());
        shrunk.Assign(text.c_str()); // into the block it already has
        CUIString copied(assigned);
        for (const CUIString* s : {&assigned, &cut, &appended, &added, &byChar, &replaced,
                                   &formatted, &shrunk, &copied}) {
            EXPECT_EQ(s->GetLength(), length);
            EXPECT_EQ(text, s->GetData());
        }
        EXPECT_EQ(IsInline(assigned), length < CUIString::MAX_LOCAL_STRING_LEN) << length;
    }
}
