#include <windows.h>

#include "ui/ImageDescriptionUI.h"

#include <algorithm>
#include <cwchar>

namespace SkinUI {

namespace {

inline bool IsBlank(wchar_t ch) {
    return ch > 0 && ch <= 32;
}

LPCWSTR SkipBlanks(LPCWSTR p) {
    while (IsBlank(*p)) {
        ++p;
    }
    return p;
}

// Four integers separated by one character each; missing ones are 0 and
// reading never passes the end of the text.
RECT ReadFourInts(LPCWSTR p) {
    long values[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        wchar_t* end = nullptr;
        values[i] = std::wcstol(p, &end, 10);
        if (*end == L'\0') {
            break;
        }
        p = end + 1;
    }
    return {values[0], values[1], values[2], values[3]};
}

bool IsTrue(const CUIString& value) {
    return value == L"true";
}

class CDescriptionReader {
public:
    CDescriptionReader(const RECT& rcItem, TImageDrawUI& settings,
                       const std::function<void(const TImageDrawUI&)>& drawNow)
        : m_rcItem(rcItem), m_settings(settings), m_drawNow(drawNow) {}

    void Read(LPCWSTR p) {
        for (;;) {
            p = SkipBlanks(p);
            CUIString key;
            LPCWSTR start = p;
            while (*p != L'\0' && *p != L'=' && *p > 32) {
                ++p;
            }
            key.Assign(start, static_cast<int>(p - start));
            p = SkipBlanks(p);
            if (*p++ != L'=') {
                return;
            }
            p = SkipBlanks(p);
            if (*p++ != L'\'') {
                return;
            }
            start = p;
            while (*p != L'\0' && *p != L'\'') {
                ++p;
            }
            if (*p != L'\'') {
                return;
            }
            const CUIString value(start, static_cast<int>(p - start));
            ++p;
            if (!value.IsEmpty()) {
                Apply(key, value);
            }
            if (!IsBlank(*p)) {
                return;
            }
        }
    }

private:
    void DrawNamedSoFar() {
        if (m_bNamed) {
            m_drawNow(m_settings);
        }
    }

    void Apply(const CUIString& key, const CUIString& value) {
        if (key == L"file" || key == L"res") {
            DrawNamedSoFar();
            m_settings.sFile = value;
            if (key == L"file") {
                m_bNamed = true;
            }
        } else if (key == L"restype") {
            DrawNamedSoFar();
            m_settings.sResType = value;
            m_bNamed = true;
        } else if (key == L"dest") {
            const RECT rc = ReadFourInts(value);
            m_settings.rcDest = {m_rcItem.left + rc.left, m_rcItem.top + rc.top,
                                 std::min(m_rcItem.left + rc.right, m_rcItem.right),
                                 std::min(m_rcItem.top + rc.bottom, m_rcItem.bottom)};
        } else if (key == L"source") {
            m_settings.rcSource = ReadFourInts(value);
        } else if (key == L"corner") {
            m_settings.rcCorners = ReadFourInts(value);
        } else if (key == L"mask") {
            LPCWSTR digits = value.GetData();
            if (*digits == L'#') {
                ++digits;
            }
            m_settings.dwMask = std::wcstoul(digits, nullptr, 16);
        } else if (key == L"fade") {
            const long fade = std::wcstol(value, nullptr, 10);
            m_settings.uFade = static_cast<BYTE>(std::clamp(fade, 0L, 255L));
        } else if (key == L"hole") {
            m_settings.bHole = IsTrue(value);
        } else if (key == L"xtiled") {
            m_settings.bXTiled = IsTrue(value);
        } else if (key == L"ytiled") {
            m_settings.bYTiled = IsTrue(value);
        }
    }

    const RECT& m_rcItem;
    TImageDrawUI& m_settings;
    const std::function<void(const TImageDrawUI&)>& m_drawNow;
    bool m_bNamed = false;
};

} // namespace

TImageDrawUI::TImageDrawUI(const RECT& rcItem)
    : rcDest(rcItem), rcSource({0, 0, 0, 0}), rcCorners({0, 0, 0, 0}) {}

void ParseImageDescription(LPCWSTR text, bool bareName, const RECT& rcItem, TImageDrawUI& settings,
                           const std::function<void(const TImageDrawUI&)>& drawNow) {
    if (text == nullptr) {
        return;
    }
    if (bareName) {
        settings.sFile = text;
    }
    CDescriptionReader(rcItem, settings, drawNow).Read(text);
}

} // namespace SkinUI
