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

// The capacity is private; it is the third 32-bit field.
int CapacityOf(const CUIPtrArray& a) {
    static_assert(sizeof(CUIPtrArray) == sizeof(void*) + 2 * sizeof(int), "field layout");
    int capacity = 0;
    std::memcpy(&capacity, reinterpret_cast<const char*>(&a) + sizeof(void*) + sizeof(int),
                sizeof(int));
    return capacity;
}

void* P(int i) {
    return reinterpret_cast<void*>(static_cast<INT_PTR>(i));
}

} // namespace

TEST(UIPtrArrayTest, GrowsFrom0To11To22AndKeepsAFreeSlot) {
    CUIPtrArray a(0);
    EXPECT_EQ(0, CapacityOf(a));
    EXPECT_TRUE(a.IsEmpty());
    ASSERT_TRUE(a.Add(P(1)));
    EXPECT_EQ(11, CapacityOf(a));
    for (int i = 2; i <= 10; ++i) {
        ASSERT_TRUE(a.Add(P(i)));
    }
    EXPECT_EQ(11, CapacityOf(a));
    ASSERT_TRUE(a.Add(P(11)));
    EXPECT_EQ(22, CapacityOf(a));
    EXPECT_EQ(11, a.GetSize());
    for (int i = 12; i <= 1000; ++i) {
        ASSERT_TRUE(a.Add(P(i)));
        ASSERT_LT(a.GetSize(), CapacityOf(a));
    }
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(P(i + 1), a[i]);
    }
}

TEST(UIPtrArrayTest, PreallocatedArrayAlsoKeepsAFreeSlot) {
    CUIPtrArray a(1);
    EXPECT_EQ(1, CapacityOf(a));
    ASSERT_TRUE(a.Add(P(7)));
    EXPECT_LT(a.GetSize(), CapacityOf(a));
    ASSERT_TRUE(a.InsertAt(0, P(6)));
    EXPECT_LT(a.GetSize(), CapacityOf(a));
    EXPECT_EQ(P(6), a.GetAt(0));
    EXPECT_EQ(P(7), a.GetAt(1));
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

TEST(UIPtrArrayTest, ResizeEmptyAndCopy) {
    CUIPtrArray a;
    a.Resize(5);
    EXPECT_EQ(5, a.GetSize());
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(nullptr, a.GetAt(i));
    }
    ASSERT_TRUE(a.Add(P(1)));
    EXPECT_LT(a.GetSize(), CapacityOf(a));
    a.Resize(0);
    EXPECT_EQ(0, a.GetSize());
    EXPECT_EQ(0, CapacityOf(a));

    CUIPtrArray source;
    source.Add(P(1));
    source.Add(P(2));
    CUIPtrArray copy(source);
    ASSERT_EQ(2, copy.GetSize());
    EXPECT_EQ(P(2), copy[1]);
    CUIPtrArray assigned;
    assigned.Add(P(5));
    assigned = source;
    EXPECT_EQ(2, assigned.GetSize());
    EXPECT_EQ(P(1), assigned[0]);
    assigned = assigned;
    EXPECT_EQ(2, assigned.GetSize());
    assigned.Empty();
    EXPECT_TRUE(assigned.IsEmpty());
    EXPECT_EQ(0, CapacityOf(assigned));
}

TEST(UIStringPtrMapTest, HashTakesCharactersFromTheLast) {
    EXPECT_EQ(3331u, CUIStringPtrMap::HashKey(L"ab"));
    EXPECT_EQ(0u, CUIStringPtrMap::HashKey(L""));
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

TEST(UIStringPtrMapTest, BucketCountIsAtLeast16) {
    // With 16 buckets, keys whose hashes differ by 16 share a chain; with 5
    // they would not all collide the same way. "a" (97) and "q" (113) meet in
    // bucket 1 only when the count is 16.
    CUIStringPtrMap map(5);
    map.Insert(L"a", P(1));
    map.Insert(L"q", P(2));
    map.Insert(L"b", P(3));
    // Iteration runs from the last bucket down: bucket 2 ("b"), then bucket 1
    // with its chain head first ("q" was inserted last).
    EXPECT_STREQ(L"b", map.GetAt(0));
    EXPECT_STREQ(L"q", map.GetAt(1));
    EXPECT_STREQ(L"a", map.GetAt(2));
    EXPECT_EQ(nullptr, map.GetAt(3));
    EXPECT_EQ(nullptr, map.GetAt(-1));
    // A lookup moves the node found to the front of its chain.
    EXPECT_EQ(P(1), map.Find(L"a"));
    EXPECT_STREQ(L"a", map.GetAt(1));
    EXPECT_STREQ(L"q", map.GetAt(2));
    // Without optimize the chain stays.
    EXPECT_EQ(P(2), map.Find(L"q", false));
    EXPECT_STREQ(L"a", map.GetAt(1));
    // Removing a node from the middle or head keeps the chain intact.
    EXPECT_TRUE(map.Remove(L"a"));
    EXPECT_EQ(P(2), map.Find(L"q"));
    EXPECT_EQ(P(3), map.Find(L"b"));
}

TEST(UIStringPtrMapTest, ManyKeysAndResize) {
    CUIStringPtrMap map(16);
    for (int i = 0; i < 2000; ++i) {
        const std::wstring key = L"key" + std::to_wstring(i);
        ASSERT_TRUE(map.Insert(key.c_str(), P(i + 1)));
    }
    EXPECT_EQ(2000, map.GetSize());
    std::set<std::wstring> seen;
    for (int i = 0; i < map.GetSize(); ++i) {
        seen.insert(map.GetAt(i));
    }
    EXPECT_EQ(2000u, seen.size());
    for (int i = 0; i < 2000; i += 7) {
        const std::wstring key = L"key" + std::to_wstring(i);
        ASSERT_EQ(P(i + 1), map.Find(key.c_str()));
    }
    for (int i = 0; i < 2000; i += 2) {
        const std::wstring key = L"key" + std::to_wstring(i);
        ASSERT_TRUE(map.Remove(key.c_str()));
    }
    EXPECT_EQ(1000, map.GetSize());

    map.Resize(83);
    EXPECT_EQ(0, map.GetSize());
    EXPECT_EQ(nullptr, map.Find(L"key1"));
    EXPECT_TRUE(map.Insert(L"key1", P(5)));
    map.RemoveAll();
    EXPECT_EQ(0, map.GetSize());
    EXPECT_TRUE(map.Insert(L"again", P(6))); // RemoveAll keeps the buckets
    EXPECT_EQ(P(6), map.Find(L"again"));
}

TEST(UIStringPtrMapTest, WithoutBucketsAnswersNullOrFalse) {
    CUIStringPtrMap map;
    map.Insert(L"x", P(1));
    map.Resize(0);
    EXPECT_EQ(nullptr, map.Find(L"x"));
    EXPECT_FALSE(map.Insert(L"x", P(1)));
    EXPECT_EQ(nullptr, map.Set(L"x", P(1)));
    EXPECT_FALSE(map.Remove(L"x"));
    EXPECT_EQ(0, map.GetSize());
    EXPECT_EQ(nullptr, map.GetAt(0));
    map.RemoveAll();
    map.Resize(-4);
    EXPECT_EQ(nullptr, map.Find(L"x"));
    EXPECT_FALSE(map.Insert(L"y", P(2)));
    map.Resize(3); // Resize takes the count as given
    EXPECT_TRUE(map.Insert(L"y", P(2)));
    EXPECT_EQ(P(2), map.Find(L"y"));
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
