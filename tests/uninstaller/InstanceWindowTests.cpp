// Bringing the running uninstaller's window back: real windows, one of them
// minimised, found by the mark the running copy left on its window.
#include <windows.h>

#include "uninstaller/SingleInstance.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SingleInstance, TheMarkedWindowComesBackFromTheTaskBar) {
    const std::wstring name =
        InstanceNameOf(L"C:\\Games\\Marked " + std::to_wstring(GetCurrentProcessId()));
    const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                       0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    const HWND marked = CreateWindowExW(0, L"STATIC", L"marked", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                        0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(other && marked);
    const CInstanceLock lock(name);
    EXPECT_FALSE(BringInstanceToFront(name, 200)) << "no window is marked yet";
    MarkInstanceWindow(marked, name);
    ShowWindow(marked, SW_MINIMIZE);
    EXPECT_FALSE(BringInstanceToFront(name + L"2", 200));
    EXPECT_TRUE(IsIconic(marked));
    EXPECT_TRUE(BringInstanceToFront(name, 200));
    EXPECT_FALSE(IsIconic(marked));
    DestroyWindow(marked);
    DestroyWindow(other);
}

} // namespace
