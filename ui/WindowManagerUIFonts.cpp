#include <windows.h>

#include "ui/SkinFont.h"
#include "ui/WindowManagerUI.h"

namespace SkinUI {

namespace {

bool SameFont(const TFontRecordUI* font, LPCWSTR fontName, int size, bool bold, bool underline,
              bool italic) {
    return font->sFontName == (fontName != nullptr ? fontName : L"") &&
           font->iSize == ClampFontSize(size) && font->bBold == bold &&
           font->bUnderline == underline && font->bItalic == italic;
}

} // namespace

CWindowManagerUI* CWindowManagerUI::TopResource() {
    CWindowManagerUI* top = this;
    while (top->m_pParentResourcePM != nullptr) {
        top = top->m_pParentResourcePM;
    }
    return top;
}

const CWindowManagerUI* CWindowManagerUI::TopResource() const {
    const CWindowManagerUI* top = this;
    while (top->m_pParentResourcePM != nullptr) {
        top = top->m_pParentResourcePM;
    }
    return top;
}

// Measures with the window's device context; a manager without a window
// measures against the screen so that drawing into bitmaps still gets
// metrics.
void CWindowManagerUI::MeasureFont(TFontRecordUI* font) const {
    if (font == nullptr || font->hFont == nullptr) {
        return;
    }
    HDC hDC = m_hDcPaint;
    HDC memoryDC = nullptr;
    if (hDC == nullptr) {
        memoryDC = ::CreateCompatibleDC(nullptr);
        hDC = memoryDC;
    }
    if (hDC == nullptr) {
        return;
    }
    HGDIOBJ old = ::SelectObject(hDC, font->hFont);
    ::GetTextMetricsW(hDC, &font->tm);
    ::SelectObject(hDC, old);
    if (memoryDC != nullptr) {
        ::DeleteDC(memoryDC);
    }
}

void CWindowManagerUI::SetDefaultFont(LPCWSTR fontName, int size, bool bold, bool underline,
                                      bool italic) {
    HFONT hFont = CreateSkinFont(fontName, size, bold, underline, italic);
    if (hFont == nullptr) {
        return;
    }
    if (m_DefaultFontInfo.hFont != nullptr) {
        ::DeleteObject(m_DefaultFontInfo.hFont);
    }
    m_DefaultFontInfo.hFont = hFont;
    m_DefaultFontInfo.sFontName = fontName != nullptr ? fontName : L"";
    m_DefaultFontInfo.iSize = ClampFontSize(size);
    m_DefaultFontInfo.bBold = bold;
    m_DefaultFontInfo.bUnderline = underline;
    m_DefaultFontInfo.bItalic = italic;
    m_DefaultFontInfo.tm = TEXTMETRICW();
    if (m_hDcPaint != nullptr) {
        MeasureFont(&m_DefaultFontInfo);
    }
}

TFontRecordUI* CWindowManagerUI::GetDefaultFontInfo() {
    CWindowManagerUI* top = TopResource();
    if (top->m_DefaultFontInfo.tm.tmHeight == 0) {
        top->MeasureFont(&top->m_DefaultFontInfo);
    }
    return &top->m_DefaultFontInfo;
}

HFONT CWindowManagerUI::AddFont(LPCWSTR fontName, int size, bool bold, bool underline,
                                bool italic) {
    if (m_aCustomFonts.GetSize() >= MAX_CUSTOM_FONTS) {
        return nullptr;
    }
    HFONT hFont = CreateSkinFont(fontName, size, bold, underline, italic);
    if (hFont == nullptr) {
        return nullptr;
    }
    auto* font = new TFontRecordUI();
    font->hFont = hFont;
    font->sFontName = fontName != nullptr ? fontName : L"";
    font->iSize = ClampFontSize(size);
    font->bBold = bold;
    font->bUnderline = underline;
    font->bItalic = italic;
    if (m_hDcPaint != nullptr) {
        MeasureFont(font);
    }
    if (!m_aCustomFonts.Add(font)) {
        ::DeleteObject(hFont);
        delete font;
        return nullptr;
    }
    return hFont;
}

HFONT CWindowManagerUI::GetFont(int index) {
    const auto* font = static_cast<TFontRecordUI*>(m_aCustomFonts.GetAt(index));
    if (font == nullptr) {
        return GetDefaultFontInfo()->hFont;
    }
    return font->hFont;
}

HFONT CWindowManagerUI::GetFont(LPCWSTR fontName, int size, bool bold, bool underline,
                                bool italic) {
    for (CWindowManagerUI* manager = this; manager != nullptr;
         manager = manager->m_pParentResourcePM) {
        for (int i = 0; i < manager->m_aCustomFonts.GetSize(); ++i) {
            const auto* font = static_cast<TFontRecordUI*>(manager->m_aCustomFonts[i]);
            if (SameFont(font, fontName, size, bold, underline, italic)) {
                return font->hFont;
            }
        }
    }
    return nullptr;
}

TFontRecordUI* CWindowManagerUI::GetFontInfo(int index) {
    auto* font = static_cast<TFontRecordUI*>(m_aCustomFonts.GetAt(index));
    if (font == nullptr) {
        return GetDefaultFontInfo();
    }
    if (font->tm.tmHeight == 0) {
        MeasureFont(font);
    }
    return font;
}

TFontRecordUI* CWindowManagerUI::GetFontInfo(HFONT hFont) {
    if (hFont != nullptr) {
        for (CWindowManagerUI* manager = this; manager != nullptr;
             manager = manager->m_pParentResourcePM) {
            for (int i = 0; i < manager->m_aCustomFonts.GetSize(); ++i) {
                auto* font = static_cast<TFontRecordUI*>(manager->m_aCustomFonts[i]);
                if (font->hFont == hFont) {
                    if (font->tm.tmHeight == 0) {
                        manager->MeasureFont(font);
                    }
                    return font;
                }
            }
        }
    }
    return GetDefaultFontInfo();
}

void CWindowManagerUI::RemoveAllFonts() {
    for (int i = 0; i < m_aCustomFonts.GetSize(); ++i) {
        auto* font = static_cast<TFontRecordUI*>(m_aCustomFonts[i]);
        ::DeleteObject(font->hFont);
        delete font;
    }
    m_aCustomFonts.Empty();
}

} // namespace SkinUI
