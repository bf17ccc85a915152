#include <windows.h>

#include "ui/UIPtrArray.h"
#include "ui/UIRect.h"
#include "ui/UIStringPtrMap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

using SkinUI::CUIPoint;
using SkinUI::CUIPtrArray;
using SkinUI::CUIRect;
using SkinUI::CUISize;
using SkinUI::CUIStringPtrMap;

namespace {

void* P(int i) {
    return reinterpret_cast<void*>(static_cast<INT_PTR>(i));
}

// The array's capacity and the map's bucket count are private 32-bit fields
// behind a leading pointer: the index-th of them.
template <typename T> int IntFieldAfterThePointer(const T& object, int index) {
    int value = 0;
    std::memcpy(&value,
                reinterpret_cast<const char*>(&object) + sizeof(void*) + index * sizeof(int),
                sizeof(int));
    return value;
}

int CapacityOf(const CUIPtrArray& a) {
    static_assert(sizeof(CUIPtrArray) == sizeof(void*) + 2 * sizeof(int), "field layout");
    return IntFieldAfterThePointer(a, 1);
}

int BucketCountOf(const CUIStringPtrMap& map) {
    static_assert(sizeof(CUIStringPtrMap) == sizeof(void*) + 2 * sizeof(int), "field layout");
    return IntFieldAfterThePointer(map, 0);
}

} // namespace

TEST(UIPtrArrayTest, GrowsFrom0To11To22AndKeepsAFreeSlot) {
    CUIPtrArray a(0);
    EXPECT_EQ(0, CapacityOf(a));
    // Capacity after the n-th element was added.
    const struct {
        int count;
        int capacity;
    } growth[] = {{1, 11}, {10, 11}, {11, 22}, {21, 22}, {22, 44}};
    int added = 0;
    for (const auto& g : growth) {
        while (added < g.count) {
            ASSERT_TRUE(a.Add(P(++added)));
        }
        EXPECT_EQ(g.capacity, CapacityOf(a)) << g.count;
        EXPECT_EQ(g.count, a.GetSize());
    }
    for (int i = 0; i < added; ++i) {
        ASSERT_EQ(P(i + 1), a[i]);
    }
}

TEST(UIStringPtrMapTest, HashTakesCharactersFromTheLastAndBucketsAreAtLeast16) {
    EXPECT_EQ(3331u, CUIStringPtrMap::HashKey(L"ab"));
    EXPECT_EQ(0u, CUIStringPtrMap::HashKey(L""));
    const struct {
        int asked;
        int buckets;
    } sizes[] = {{5, 16}, {0, 16}, {16, 16}, {17, 17}, {83, 83}};
    for (const auto& s : sizes) {
        CUIStringPtrMap map(s.asked);
        EXPECT_EQ(s.buckets, BucketCountOf(map)) << s.asked;
    }
    // "a" (97) and "q" (113) share bucket 1 of 16: a lookup moves "a" in
    // front of "q", which came in later.
    CUIStringPtrMap map(5);
    map.Insert(L"a", P(1));
    map.Insert(L"q", P(2));
    EXPECT_STREQ(L"q", map.GetAt(0));
    EXPECT_EQ(P(1), map.Find(L"a"));
    EXPECT_STREQ(L"a", map.GetAt(0));
}

TEST(UIPtrArrayTest, InsertRemoveFindGetAt) {
    CUIPtrArray a;
    EXPECT_FALSE(a.InsertAt(1, P(1)));
    EXPECT_FALSE(a.InsertAt(-1, P(1)));
    EXPECT_TRUE(a.InsertAt(0, P(3))); // index == count: append
    EXPECT_TRUE(a.InsertAt(0, P(1)));
    EXPECT_TRUE(a.InsertAt(1, P(2)));
    EXPECT_TRUE(a.InsertAt(3, P(4)));
    ASSERT_EQ(4, a.GetSize());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(P(i + 1), a.GetAt(i));
    }
    EXPECT_EQ(nullptr, a.GetAt(-1));
    EXPECT_EQ(nullptr, a.GetAt(4));
    EXPECT_EQ(2, a.Find(P(3)));
    EXPECT_EQ(-1, a.Find(P(9)));
    EXPECT_FALSE(a.Remove(4));
    EXPECT_FALSE(a.Remove(-1));
    EXPECT_TRUE(a.Remove(1));
    EXPECT_EQ(3, a.GetSize());
    EXPECT_EQ(P(3), a.GetAt(1));
    EXPECT_TRUE(a.Remove(2));
    EXPECT_EQ(2, a.GetSize());
    EXPECT_TRUE(a.SetAt(0, P(9)));
    EXPECT_FALSE(a.SetAt(2, P(9)));
    EXPECT_EQ(P(9), a[0]);
}

TEST(UIStringPtrMapTest, InsertFindSetRemove) {
    CUIStringPtrMap map(5); // raised to 16 buckets
    EXPECT_EQ(0, map.GetSize());
    EXPECT_TRUE(map.Insert(L"name", P(1)));
    EXPECT_FALSE(map.Insert(L"name", P(2))); // existing key keeps its value
    EXPECT_EQ(P(1), map.Find(L"name"));
    EXPECT_EQ(nullptr, map.Find(L"Name")); // case-sensitive
    EXPECT_EQ(nullptr, map.Set(L"other", P(3)));
    EXPECT_EQ(P(3), map.Set(L"other", P(4)));
    EXPECT_EQ(P(4), map.Find(L"other"));
    EXPECT_EQ(2, map.GetSize());
    EXPECT_TRUE(map.Remove(L"name"));
    EXPECT_FALSE(map.Remove(L"name"));
    EXPECT_EQ(nullptr, map.Find(L"name"));
    EXPECT_EQ(1, map.GetSize());
    EXPECT_FALSE(map.Insert(nullptr, P(1)));
    EXPECT_EQ(nullptr, map.Find(nullptr));
    // Long keys live on the heap inside the node.
    const std::wstring longKey(200, L'k');
    EXPECT_TRUE(map.Insert(longKey.c_str(), P(8)));
    EXPECT_EQ(P(8), map.Find(longKey.c_str()));
}

TEST(UIRectTest, GeometryOperations) {
    CUIRect zero;
    EXPECT_TRUE(zero.IsNull());
    CUIRect r(10, 20, 110, 70);
    EXPECT_EQ(100, r.GetWidth());
    EXPECT_EQ(50, r.GetHeight());
    r.Offset(5, -5);
    EXPECT_EQ(CUIRect(15, 15, 115, 65).left, r.left);
    EXPECT_EQ(15, r.top);
    EXPECT_EQ(115, r.right);
    r.Deflate(5, 10);
    EXPECT_EQ(20, r.left);
    EXPECT_EQ(25, r.top);
    EXPECT_EQ(110, r.right);
    EXPECT_EQ(55, r.bottom);
    r.ResetOffset();
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(90, r.right);
    EXPECT_EQ(30, r.bottom);
    r.Join(CUIRect(-5, 10, 50, 100));
    EXPECT_EQ(-5, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(90, r.right);
    EXPECT_EQ(100, r.bottom);
    // Join does not skip empty rectangles.
    CUIRect j(10, 10, 20, 20);
    j.Join(CUIRect());
    EXPECT_EQ(0, j.left);
    EXPECT_EQ(0, j.top);
    RECT plain = {1, 2, 3, 4};
    CUIRect fromRect(plain);
    EXPECT_EQ(4, fromRect.bottom);
    RECT* asRect = &fromRect; // passes to Win32 as a RECT
    EXPECT_TRUE(::PtInRect(asRect, POINT{2, 3}));
    fromRect.Inflate(1, 1);
    EXPECT_EQ(0, fromRect.left);
    CUIRect n(10, 10, 0, 0);
    n.Normalize();
    EXPECT_EQ(0, n.left);
    EXPECT_EQ(10, n.right);
    fromRect.Empty();
    EXPECT_TRUE(fromRect.IsNull());

    CUISize s(3, 4);
    EXPECT_EQ(3, s.cx);
    EXPECT_EQ(4, s.cy);
    CUISize fromRc(RECT{0, 0, 7, 9});
    EXPECT_EQ(9, fromRc.cy);
    CUIPoint p(5, 6);
    EXPECT_EQ(5, p.x);
    EXPECT_EQ(6, p.y);
    CUIPoint fromLParam(MAKELPARAM(static_cast<WORD>(-3), 12));
    EXPECT_EQ(-3, fromLParam.x);
    EXPECT_EQ(12, fromLParam.y);
    static_assert(sizeof(CUIRect) == sizeof(RECT), "RECT layout");
    static_assert(sizeof(CUISize) == sizeof(SIZE), "SIZE layout");
    static_assert(sizeof(CUIPoint) == sizeof(POINT), "POINT layout");
}
