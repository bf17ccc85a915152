#pragma once
#include <windows.h>

namespace SkinUI {

// Geometry values with the layouts of RECT, SIZE and POINT, so they go to
// Win32 wherever one of those is expected.
class CUIRect : public tagRECT {
public:
    CUIRect();
    CUIRect(const RECT& src);
    CUIRect(int left, int top, int right, int bottom);

    int GetWidth() const;
    int GetHeight() const;
    void Empty();
    bool IsNull() const;
    void Join(const RECT& rc);
    void ResetOffset();
    void Normalize();
    void Offset(int cx, int cy);
    void Inflate(int cx, int cy);
    void Deflate(int cx, int cy);
    void Union(const CUIRect& rc);
};

class CUISize : public tagSIZE {
public:
    CUISize();
    CUISize(const SIZE& src);
    CUISize(const RECT& rc);
    CUISize(int cx, int cy);
};

class CUIPoint : public tagPOINT {
public:
    CUIPoint();
    CUIPoint(const POINT& src);
    CUIPoint(int x, int y);
    // The point packed into a mouse message's lParam.
    explicit CUIPoint(LPARAM lParam);
};

} // namespace SkinUI
