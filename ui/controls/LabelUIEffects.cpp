#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include "ui/controls/LabelUI.h"
#include "ui/WindowManagerUI.h"

#include <algorithm>

namespace SkinUI {

namespace {

BYTE ToAlpha(int alpha) {
    return static_cast<BYTE>(std::clamp(alpha, 0, 255));
}

// The RGB of an ARGB colour under another alpha.
Gdiplus::Color WithAlpha(int alpha, DWORD argb) {
    return Gdiplus::Color(ToAlpha(alpha), static_cast<BYTE>(argb >> 16),
                          static_cast<BYTE>(argb >> 8), static_cast<BYTE>(argb));
}

Gdiplus::RectF ToRectF(const RECT& rc, float dx = 0.0f, float dy = 0.0f) {
    return Gdiplus::RectF(static_cast<Gdiplus::REAL>(rc.left) + dx,
                          static_cast<Gdiplus::REAL>(rc.top) + dy,
                          static_cast<Gdiplus::REAL>(rc.right - rc.left),
                          static_cast<Gdiplus::REAL>(rc.bottom - rc.top));
}

const DWORD kNoColor = 0xFFFFFFFF;

} // namespace

CLabelUI::CLabelUI()
    : m_dwTextColor(0), m_dwDisabledTextColor(0), m_iFont(-1), m_uTextStyle(DT_VCENTER),
      m_bShowHtml(false), m_EnumTextAlignment(Gdiplus::StringAlignmentNear),
      m_EnumTextLineAlignment(Gdiplus::StringAlignmentCenter), m_TransShadow(60),
      m_TransShadow1(60), m_TransText(168), m_TransText1(168), m_TransStroke(255),
      m_GradientLength(0), m_GradientAngle(0), m_EnableEffect(false), m_EnabledStroke(false),
      m_EnabledShadow(false), m_dwTextColor2(kNoColor), m_dwTextShadowColorA(0xFF000000),
      m_dwTextShadowColorB(kNoColor), m_dwStrokeColor(0), m_ShadowOffsetX(0.0f),
      m_ShadowOffsetY(0.0f), m_gdiplusToken(0), m_TextRenderingHintAntiAlias(0) {
    Gdiplus::GdiplusStartupInput input; // version 1
    if (Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr) != Gdiplus::Ok) {
        m_gdiplusToken = 0;
    }
}

CLabelUI::~CLabelUI() {
    if (m_gdiplusToken != 0) {
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
    }
}

void CLabelUI::PaintEffectText(HDC hDC) {
    if (m_gdiplusToken == 0 || m_TextValue.IsEmpty()) {
        return;
    }
    const RECT rc = GetTextRect();
    LOGFONTW lf = {};
    if (::GetObjectW(m_pManager->GetFont(m_iFont), sizeof(lf), &lf) == 0) {
        return;
    }
    Gdiplus::Font font(hDC, &lf);
    Gdiplus::Graphics graphics(hDC);
    graphics.SetTextRenderingHint(
        static_cast<Gdiplus::TextRenderingHint>(m_TextRenderingHintAntiAlias));
    Gdiplus::StringFormat format;
    format.SetAlignment(static_cast<Gdiplus::StringAlignment>(m_EnumTextAlignment));
    format.SetLineAlignment(static_cast<Gdiplus::StringAlignment>(m_EnumTextLineAlignment));

    const int height = rc.bottom - rc.top;
    // A gradient needs two distinct points.
    int length = m_GradientLength != 0 ? m_GradientLength : height;
    if (length == 0 && m_GradientAngle == 0) {
        length = 1;
    }
    const Gdiplus::Point from(m_GradientAngle, 0);
    const Gdiplus::Point to(0, length);
    const DWORD shadowB =
        m_dwTextShadowColorB == kNoColor ? m_dwTextShadowColorA : m_dwTextShadowColorB;
    const DWORD text1 = m_dwTextColor2 == kNoColor ? m_dwTextColor : m_dwTextColor2;
    Gdiplus::LinearGradientBrush shadowBrush(from, to,
                                             WithAlpha(m_TransShadow, m_dwTextShadowColorA),
                                             WithAlpha(m_TransShadow1, shadowB));
    Gdiplus::LinearGradientBrush textBrush(from, to, WithAlpha(m_TransText, m_dwTextColor),
                                           WithAlpha(m_TransText1, text1));
    const LPCWSTR text = m_TextValue.GetData();
    const INT count = m_TextValue.GetLength();

    if (m_EnabledStroke && m_dwStrokeColor != 0) {
        Gdiplus::LinearGradientBrush strokeBrush(from, Gdiplus::Point(0, height + 2),
                                                 WithAlpha(m_TransStroke, m_dwStrokeColor),
                                                 WithAlpha(m_TransStroke, m_dwStrokeColor));
        const float moves[4][2] = {{-1.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, -1.0f}, {0.0f, 1.0f}};
        for (const auto& move : moves) {
            graphics.DrawString(text, count, &font, ToRectF(rc, move[0], move[1]), &format,
                                &strokeBrush);
        }
    }
    if (m_EnabledShadow && (m_dwTextShadowColorA != 0 || m_dwTextShadowColorB != 0)) {
        graphics.DrawString(text, count, &font, ToRectF(rc, m_ShadowOffsetX, m_ShadowOffsetY),
                            &format, &shadowBrush);
    }
    graphics.DrawString(text, count, &font, ToRectF(rc), &format, &textBrush);
}

// ---- Effect properties ----------------------------------------------------------

bool CLabelUI::GetEnabledEffect() const {
    return m_EnableEffect;
}

void CLabelUI::SetEnabledEffect(bool enabled) {
    m_EnableEffect = enabled;
}

bool CLabelUI::GetEnabledStroke() const {
    return m_EnabledStroke;
}

void CLabelUI::SetEnabledStroke(bool enabled) {
    m_EnabledStroke = enabled;
}

bool CLabelUI::GetEnabledShadow() const {
    return m_EnabledShadow;
}

void CLabelUI::SetEnabledShadow(bool enabled) {
    m_EnabledShadow = enabled;
}

int CLabelUI::GetEffectTextAlignment() const {
    return m_EnumTextAlignment;
}

void CLabelUI::SetEffectTextAlignment(int alignment) {
    m_EnumTextAlignment = std::clamp(alignment, 0, 2);
}

int CLabelUI::GetEffectLineAlignment() const {
    return m_EnumTextLineAlignment;
}

void CLabelUI::SetEffectLineAlignment(int alignment) {
    m_EnumTextLineAlignment = std::clamp(alignment, 0, 2);
}

int CLabelUI::GetTextRenderingHintAntiAlias() const {
    return m_TextRenderingHintAntiAlias;
}

void CLabelUI::SetTextRenderingHintAntiAlias(int hint) {
    m_TextRenderingHintAntiAlias = (hint < 0 || hint > 5) ? 0 : hint;
}

int CLabelUI::GetTransShadow() const {
    return m_TransShadow;
}

void CLabelUI::SetTransShadow(int alpha) {
    m_TransShadow = alpha;
}

int CLabelUI::GetTransShadow1() const {
    return m_TransShadow1;
}

void CLabelUI::SetTransShadow1(int alpha) {
    m_TransShadow1 = alpha;
}

int CLabelUI::GetTransText() const {
    return m_TransText;
}

void CLabelUI::SetTransText(int alpha) {
    m_TransText = alpha;
}

int CLabelUI::GetTransText1() const {
    return m_TransText1;
}

void CLabelUI::SetTransText1(int alpha) {
    m_TransText1 = alpha;
}

int CLabelUI::GetTransStroke() const {
    return m_TransStroke;
}

void CLabelUI::SetTransStroke(int alpha) {
    m_TransStroke = alpha;
}

int CLabelUI::GetGradientLength() const {
    return m_GradientLength;
}

void CLabelUI::SetGradientLength(int length) {
    m_GradientLength = length;
}

int CLabelUI::GetGradientAngle() const {
    return m_GradientAngle;
}

void CLabelUI::SetGradientAngle(int angle) {
    m_GradientAngle = angle;
}

DWORD CLabelUI::GetTextColor1() const {
    return m_dwTextColor2;
}

void CLabelUI::SetTextColor1(DWORD color) {
    m_dwTextColor2 = color;
}

DWORD CLabelUI::GetTextShadowColorA() const {
    return m_dwTextShadowColorA;
}

void CLabelUI::SetTextShadowColorA(DWORD color) {
    m_dwTextShadowColorA = color;
}

DWORD CLabelUI::GetTextShadowColorB() const {
    return m_dwTextShadowColorB;
}

void CLabelUI::SetTextShadowColorB(DWORD color) {
    m_dwTextShadowColorB = color;
}

DWORD CLabelUI::GetStrokeColor() const {
    return m_dwStrokeColor;
}

void CLabelUI::SetStrokeColor(DWORD color) {
    m_dwStrokeColor = color;
}

void CLabelUI::SetShadowOffset(int offset, int angle) {
    if (angle < -180 || angle > 180) {
        return;
    }
    // Measured from where the control is now (the origin while the skin is
    // being built).
    double left = m_rcItem.left;
    double top = m_rcItem.top;
    if (angle >= 0) {
        top -= offset;
    } else if (angle > -180) {
        top += offset;
    }
    if (angle > -90 && angle <= 90) {
        left -= offset;
    } else if (angle != -90) {
        left += offset;
    }
    m_ShadowOffsetX = static_cast<float>(top);
    m_ShadowOffsetY = static_cast<float>(left);
}

float CLabelUI::GetShadowOffsetX() const {
    return m_ShadowOffsetX;
}

float CLabelUI::GetShadowOffsetY() const {
    return m_ShadowOffsetY;
}

} // namespace SkinUI
