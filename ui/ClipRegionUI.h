#pragma once
#include <windows.h>

namespace SkinUI {

// Narrows a device context's clip region for the guard's lifetime and puts
// the previous clip back when it goes.
class CClipRegionUI {
public:
    CClipRegionUI() = default;
    ~CClipRegionUI();
    CClipRegionUI(const CClipRegionUI&) = delete;
    CClipRegionUI& operator=(const CClipRegionUI&) = delete;

    static void ClipToRect(HDC hDC, RECT rc, CClipRegionUI& clip);
    // rc intersected with a rounded rectangle over rcItem.
    static void ClipToRoundRect(HDC hDC, RECT rc, RECT rcItem, int width, int height,
                                CClipRegionUI& clip);
    // Paint with the clip that was in force before the guard, then with the
    // guard's own again.
    static void UseOuterClipBegin(HDC hDC, CClipRegionUI& clip);
    static void UseOuterClipEnd(HDC hDC, CClipRegionUI& clip);

private:
    void SaveClip(HDC hDC, const RECT& rc);
    void Narrow();
    void Restore();

    RECT m_rcItem = {};
    HDC m_hDC = nullptr;
    HRGN m_hRgn = nullptr;
    // Null when the device context had no clip region of its own.
    HRGN m_hOldRgn = nullptr;
    bool m_bActive = false;
};

} // namespace SkinUI
