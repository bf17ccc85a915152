#include <windows.h>

#include "ui/ClipRegionUI.h"
#include "ui/Win32Handles.h"
#include "ui/RendererUI.h"
#include "ui/RenderResourcesUI.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <deque>
#include <vector>

namespace SkinUI {

namespace {

const int kMaxTextLength = 0x7FFFFFFF;

// Characters measured first for a run, beyond what the room holds at the
// average character width; more are measured only while all of them fit.
const int kRunMeasureSlack = 16;

// The width a text is measured in before it is placed as a whole.
const int kMeasureWidth = 9999;

// A stack whose copies share their nodes: a line's start state is saved and
// restored in constant time however deep the styles are nested. Nodes live
// in the renderer's arena until the text is done.
template <typename T> class SharedStack {
public:
    struct Node {
        T value;
        const Node* below;
    };
    using Arena = std::deque<Node>;

    bool empty() const { return m_top == nullptr; }
    const T& back() const { return m_top->value; }
    void push_back(Arena& arena, const T& value) {
        arena.push_back(Node{value, m_top});
        m_top = &arena.back();
    }
    void pop_back() {
        if (m_top != nullptr) {
            m_top = m_top->below;
        }
    }

private:
    const Node* m_top = nullptr;
};

// One font on the mark-up's font stack, with its metrics on this device.
struct MarkupFont {
    HFONT hFont;
    const TFontRecordUI* info;
    TEXTMETRICW tm;
};

// Everything a line's layout depends on, so that the drawing run can start
// again from where the measuring run started.
struct MarkupState {
    LPCWSTR p;
    SharedStack<MarkupFont> fonts;
    SharedStack<DWORD> colors;
    SharedStack<int> spacings;
    bool raw = false;
    bool selected = false;
};

// The result of laying out one line.
struct MarkupLine {
    int top = 0;
    int height = 0;
    int width = 0; // pen advance over the line
    int reach = 0; // furthest pen advance over the line
    bool textEnded = false;
    bool broken = false; // ended by a line break or by text that didn't fit
};

inline bool IsTagOpener(wchar_t ch) {
    return ch == L'<' || ch == L'{';
}

inline bool IsTagCloser(wchar_t ch) {
    return ch == L'>' || ch == L'}';
}

inline bool IsAsciiLetter(wchar_t ch) {
    return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z');
}

LPCWSTR SkipBlanks(LPCWSTR p) {
    while (*p == L' ') {
        ++p;
    }
    return p;
}

// A closing raw tag: </r> or {/r}.
bool IsRawEnd(LPCWSTR p) {
    return IsTagOpener(p[0]) && p[1] == L'/' && p[2] == L'r' && IsTagCloser(p[3]);
}

// Moves rc so that text of the measured size sits as the alignment bits ask.
void PlaceMeasured(RECT& rc, int measuredWidth, int measuredHeight, UINT style) {
    if ((style & DT_SINGLELINE) != 0) {
        if ((style & DT_CENTER) != 0) {
            rc.left += (rc.right - rc.left) / 2 - measuredWidth / 2;
        } else if ((style & DT_RIGHT) != 0) {
            rc.left = rc.right - measuredWidth;
        }
    }
    if ((style & DT_VCENTER) != 0) {
        rc.top += (rc.bottom - rc.top) / 2 - measuredHeight / 2;
    } else if ((style & DT_BOTTOM) != 0) {
        rc.top = rc.bottom - measuredHeight;
    }
}

class CMarkupRenderer {
public:
    CMarkupRenderer(HDC hDC, IRenderResourcesUI* manager, const RECT& rc, DWORD color, RECT* links,
                    CUIString* linkNames, int linkCapacity, UINT style)
        : m_hDC(hDC), m_manager(manager), m_rc(rc), m_color(color), m_links(links),
          m_linkNames(linkNames),
          m_linkCapacity(links != nullptr && linkNames != nullptr ? std::max(linkCapacity, 0) : 0),
          m_style(style), m_measureOnly((style & DT_CALCRECT) != 0) {}

    void Init() {
        m_defaultFont = DefaultFont();
        m_imageBottom = m_rc.top;
        m_maxRight = m_rc.left;
        ::SetBkMode(m_hDC, TRANSPARENT);
        ::SetTextColor(m_hDC, ToColorRef(m_color));
        ::SetBkColor(m_hDC, ToColorRef(m_manager->GetDefaultSelectedBkColor()));
    }

    void FindHoveredLink(int known) {
        if (m_links == nullptr || m_linkNames == nullptr) {
            return;
        }
        const POINT pt = m_manager->GetMousePos();
        for (int i = 0; i < known; ++i) {
            if (::PtInRect(&m_links[i], pt)) {
                m_hoverName = m_linkNames[i];
                m_hasHover = true;
                return;
            }
        }
    }

    // Lines are laid out until the text ends or the rectangle is full (also
    // when only measuring: nothing below the rectangle is ever looked at).
    void Run(LPCWSTR text) {
        MarkupState state;
        state.p = text;
        int y = m_rc.top;
        for (;;) {
            const MarkupState lineStart = state;
            MarkupLine line = Layout(state, y, 0, false);
            const int shift = LineShift(line.width);
            FinishLineLinks(line, shift);
            if (!m_measureOnly) {
                MarkupState drawState = lineStart;
                Layout(drawState, y, line.height, true, shift);
            }
            m_maxRight = std::max<int>(m_maxRight, m_rc.left + line.width);
            y += line.height;
            if (line.textEnded || (m_style & DT_SINGLELINE) != 0 || y >= m_rc.bottom ||
                m_rc.right <= m_rc.left) {
                break;
            }
        }
        m_bottom = std::max(y, m_imageBottom);
    }

    // Single-line text placed as a whole (centred, right or bottom aligned):
    // its one line is measured where it stands, placed by that measurement
    // and drawn there. False, before anything is drawn, where a measurement
    // in unlimited room could differ (the line was broken or cut, or is very
    // wide) or where moving the line could change what fits on it.
    bool RunPlaced(LPCWSTR text) {
        MarkupState state;
        state.p = text;
        const MarkupState lineStart = state;
        MarkupLine line = Layout(state, m_rc.top, 0, false);
        if (line.broken || line.reach > kMeasureWidth) {
            return false;
        }
        const int height = std::max<int>(m_rc.top + line.height, m_imageBottom) - m_rc.top;
        RECT placed = m_rc;
        PlaceMeasured(placed, std::max(line.width, 0), height, m_style);
        const int dx = placed.left - m_rc.left;
        const int dy = placed.top - m_rc.top;
        if (dx > 0 && line.reach + dx > m_rc.right - m_rc.left) {
            return false;
        }
        FinishLineLinks(line, 0);
        for (int i = 0; i < m_linkCount; ++i) {
            ::OffsetRect(&m_links[i], dx, dy);
        }
        m_rc = placed;
        MarkupState drawState = lineStart;
        Layout(drawState, placed.top, line.height, true);
        return true;
    }

    int LinksMade() const { return m_linkCount; }
    int Bottom() const { return m_bottom; }
    int MaxRight() const { return m_maxRight; }

private:
    // ---- Fonts and colours --------------------------------------------------

    MarkupFont MakeFont(HFONT hFont) const {
        MarkupFont font = {};
        font.hFont = hFont;
        font.info = m_manager->GetFontInfo(hFont);
        ::SelectObject(m_hDC, hFont);
        if (!::GetTextMetricsW(m_hDC, &font.tm)) {
            font.tm = font.info != nullptr ? font.info->tm : TEXTMETRICW();
        }
        return font;
    }

    MarkupFont DefaultFont() const {
        const TFontRecordUI* info = m_manager->GetDefaultFontInfo();
        MarkupFont font = MakeFont(info->hFont);
        font.info = info;
        return font;
    }

    const MarkupFont& Font(const MarkupState& s) const {
        return s.fonts.empty() ? m_defaultFont : s.fonts.back();
    }

    void SelectCurrent(const MarkupState& s) const {
        ::SelectObject(m_hDC, Font(s).hFont);
        ::SetTextColor(m_hDC, ToColorRef(s.colors.empty() ? m_color : s.colors.back()));
    }

    HFONT FindOrAddFont(LPCWSTR face, int size, bool bold, bool underline, bool italic) const {
        const HFONT found = m_manager->GetFont(face, size, bold, underline, italic);
        // The manager adds a bounded number of fonts; beyond them (null) the current font stays.
        return found != nullptr ? found : m_manager->AddFont(face, size, bold, underline, italic);
    }

    // The current font with one more style. Always pushes (the same font
    // when it already has the style) so that every closing tag pops
    // exactly what its opening tag pushed.
    void PushStyledFont(MarkupState& s, bool bold, bool underline, bool italic) {
        const MarkupFont current = Font(s);
        const TFontRecordUI* info = current.info;
        HFONT hFont = current.hFont;
        if (info != nullptr && ((bold && !info->bBold) || (underline && !info->bUnderline) ||
                                (italic && !info->bItalic))) {
            const HFONT styled =
                FindOrAddFont(info->sFontName, info->iSize, info->bBold || bold,
                              info->bUnderline || underline, info->bItalic || italic);
            if (styled != nullptr) {
                hFont = styled;
            }
        }
        s.fonts.push_back(m_fontArena, hFont == current.hFont ? current : MakeFont(hFont));
        SelectCurrent(s);
    }

    void PopFont(MarkupState& s, int& penX) {
        if (s.fonts.empty()) {
            return;
        }
        const MarkupFont popped = s.fonts.back();
        s.fonts.pop_back();
        const MarkupFont& restored = Font(s);
        if (popped.tm.tmItalic && !restored.tm.tmItalic) {
            // The italic overhang of a blank; none when the font has no
            // ABC widths.
            ABC abc = {};
            ::SelectObject(m_hDC, popped.hFont);
            if (!::GetCharABCWidthsW(m_hDC, L' ', L' ', &abc)) {
                abc.abcC = 0;
            }
            penX += abc.abcC / 2;
        }
        SelectCurrent(s);
    }

    void PushColor(MarkupState& s, DWORD color) {
        s.colors.push_back(m_colorArena, color);
        SelectCurrent(s);
    }

    void PopColor(MarkupState& s) {
        if (!s.colors.empty()) {
            s.colors.pop_back();
        }
        SelectCurrent(s);
    }

    int FontHeight(const MarkupState& s) const {
        const TEXTMETRICW& tm = Font(s).tm;
        return tm.tmHeight + tm.tmExternalLeading;
    }

    int Spacing(const MarkupState& s) const { return s.spacings.empty() ? 0 : s.spacings.back(); }

    // ---- Lines ---------------------------------------------------------------

    // Without DT_SINGLELINE, centring and right alignment apply per line.
    int LineShift(int width) const {
        if ((m_style & DT_SINGLELINE) != 0) {
            return 0;
        }
        const int room = m_rc.right - m_rc.left - width;
        if ((m_style & DT_CENTER) != 0) {
            return room / 2;
        }
        if ((m_style & DT_RIGHT) != 0) {
            return room;
        }
        return 0;
    }

    void FinishLineLinks(const MarkupLine& line, int shift) {
        const int bottom = line.top + line.height;
        if (m_linkOpen) {
            // A link that goes on past the line end: this line's part now,
            // the rest in the next slot under the same name.
            m_links[m_linkCount] = {m_linkStart.x, m_linkStart.y, m_rc.left + line.width, bottom};
            ++m_linkCount;
            if (m_linkCount < m_linkCapacity && !line.textEnded) {
                m_linkNames[m_linkCount] = m_linkNames[m_linkCount - 1];
                m_linkStart = {m_rc.left, bottom};
            } else {
                m_linkOpen = false;
            }
        }
        for (int i = m_lineFirstLink; i < m_linkCount; ++i) {
            m_links[i].bottom = bottom;
            m_links[i].left += shift;
            m_links[i].right += shift;
        }
        m_lineFirstLink = m_linkCount;
    }

    struct LineContext {
        MarkupLine& line;
        bool draw;
        int shift;
        int penX;
        bool ended;
        // The line ended at a line break of the text itself.
        bool breaks;
    };

    // Lays out (and with draw, draws) one line from s. Measuring finds the
    // height; drawing uses the measured one.
    MarkupLine Layout(MarkupState& s, int top, int height, bool draw, int shift = 0) {
        SelectCurrent(s);
        MarkupLine line;
        line.top = top;
        line.height = draw ? height : Spacing(s) + FontHeight(s);
        LineContext ctx = {line, draw, shift, m_rc.left, false, false};
        while (!ctx.ended && *s.p != L'\0') {
            Step(s, ctx);
            line.reach = std::max(line.reach, ctx.penX - static_cast<int>(m_rc.left));
        }
        // A line break of the text (a line feed, <n> or </p>) opens another
        // line, even an empty one at the very end: "abc\n" is two lines high.
        line.textEnded = *s.p == L'\0' && !ctx.breaks;
        line.broken = ctx.ended;
        line.width = ctx.penX - m_rc.left;
        return line;
    }

    bool AtLineStart(const LineContext& ctx) const { return ctx.penX <= m_rc.left; }

    static void BreakLine(LineContext& ctx) {
        ctx.ended = true;
        ctx.breaks = true;
    }

    void GrowLine(LineContext& ctx, int height) {
        if (!ctx.draw) {
            ctx.line.height = std::max(ctx.line.height, height);
        }
    }

    // One token: a tag, an escape, a line feed, a blank or a run of text.
    void Step(MarkupState& s, LineContext& ctx) {
        LPCWSTR p = s.p;
        if (s.raw) {
            if (IsRawEnd(p)) {
                s.raw = false;
                s.p += 4;
                return;
            }
        } else if (IsTagOpener(*p)) {
            if (TryEscape(s, ctx) || TryTag(s, ctx)) {
                return;
            }
            // Neither tag nor escape: the character is plain text.
            s.p += OutputText(s, ctx, p, 1);
            return;
        }
        if (*p == L'\n') {
            ++s.p;
            BreakLine(ctx);
            return;
        }
        if (*p == L' ') {
            s.p += OutputText(s, ctx, p, 1);
            return;
        }
        s.p += OutputRun(s, ctx, p);
    }

    bool IsRunEnd(const MarkupState& s, LPCWSTR p) const {
        return *p == L'\0' || *p == L'\n' || (s.raw ? IsRawEnd(p) : IsTagOpener(*p));
    }

    // Outputs the run of text at p (up to the next tag, line feed or end)
    // as far as it fits. Only what can fit is scanned and measured: a first
    // guess from the average character width, doubled while all of it fits,
    // so a line costs about what it shows however long the run is.
    int OutputRun(const MarkupState& s, LineContext& ctx, LPCWSTR p) {
        const TEXTMETRICW& tm = Font(s).tm;
        const int room = std::max<int>(m_rc.right - ctx.penX, 0);
        int limit = room / std::max<int>(tm.tmAveCharWidth, 1) + kRunMeasureSlack;
        for (;;) {
            int length = 1;
            while (length < limit && !IsRunEnd(s, p + length)) {
                ++length;
            }
            const bool whole = IsRunEnd(s, p + length);
            if (whole || MeasureFit(tm, ctx, p, length) < length) {
                return OutputText(s, ctx, p, length);
            }
            limit = limit > kMaxTextLength / 2 ? kMaxTextLength : limit * 2;
        }
    }

    // How many of the characters fit in the rest of the line.
    int MeasureFit(const TEXTMETRICW& tm, const LineContext& ctx, LPCWSTR text, int length) const {
        const int room = m_rc.right - ctx.penX;
        // Runs that cannot reach the right edge need no per-character fit.
        if (static_cast<long long>(length) * tm.tmMaxCharWidth <= room) {
            return length;
        }
        int fit = 0;
        SIZE size;
        if (room <= 0 ||
            !::GetTextExtentExPointW(m_hDC, text, length, room, &fit, nullptr, &size)) {
            fit = 0;
        }
        return fit;
    }

    bool TryEscape(MarkupState& s, LineContext& ctx) {
        static const wchar_t kChars[] = L"{}<>";
        LPCWSTR p = s.p;
        int which = -1;
        if (p[0] == L'<' && (p[1] == L'{' || p[1] == L'}') && p[2] == L'>') {
            which = p[1] == L'{' ? 0 : 1;
        } else if (p[0] == L'{' && (p[1] == L'<' || p[1] == L'>') && p[2] == L'}') {
            which = p[1] == L'<' ? 2 : 3;
        }
        if (which < 0) {
            return false;
        }
        if (OutputText(s, ctx, kChars + which, 1) == 1) {
            s.p += 3;
        }
        return true;
    }

    bool TryTag(MarkupState& s, LineContext& ctx) {
        LPCWSTR p = s.p;
        if (p[1] == L'/' && p[2] >= L'a' && p[2] <= L'z' && IsTagCloser(p[3])) {
            s.p += 4;
            CloseTag(s, ctx, p[2]);
            return true;
        }
        if (!(p[1] >= L'a' && p[1] <= L'z') || !(p[2] == L' ' || IsTagCloser(p[2]))) {
            return false;
        }
        LPCWSTR close = NextCloser(p + 2);
        if (*close == L'\0') {
            return false; // never closed: not a tag
        }
        // Blanks never pass the closing character, so start <= close.
        const LPCWSTR start = SkipBlanks(p + 2);
        const CUIString params(start, static_cast<int>(close - start));
        if (OpenTag(s, ctx, p[1], params)) {
            s.p = close + 1;
        }
        return true;
    }

    // The first tag closer at or after p (or the terminator). Remembers the
    // last answer, so that a text of '<' never closed is scanned about once,
    // not once per '<'; a line read again goes back at most a line.
    LPCWSTR NextCloser(LPCWSTR p) {
        if (m_closerFrom != nullptr && p < m_closerFrom) {
            LPCWSTR q = p;
            while (q < m_closerFrom && !IsTagCloser(*q)) {
                ++q;
            }
            if (q < m_closerFrom) {
                m_closer = q;
            }
            m_closerFrom = p;
            return m_closer;
        }
        if (m_closerFrom != nullptr && p <= m_closer) {
            return m_closer;
        }
        LPCWSTR q = p;
        while (*q != L'\0' && !IsTagCloser(*q)) {
            ++q;
        }
        m_closerFrom = p;
        m_closer = q;
        return q;
    }

    // Returns false when the tag must be read again on the next line.
    bool OpenTag(MarkupState& s, LineContext& ctx, wchar_t tag, const CUIString& params) {
        switch (tag) {
        case L'a':
            OpenLink(s, ctx, params);
            return true;
        case L'b':
            PushStyledFont(s, true, false, false);
            return true;
        case L'c': {
            LPCWSTR digits = params.GetData();
            if (*digits == L'#') {
                ++digits;
            }
            PushColor(s, std::wcstoul(digits, nullptr, 16));
            return true;
        }
        case L'f':
            PushNamedFont(s, params);
            return true;
        case L'i':
            if (params.IsEmpty()) {
                PushStyledFont(s, false, false, true);
                return true;
            }
            return InlineImage(ctx, params);
        case L'n':
            if ((m_style & DT_SINGLELINE) == 0) {
                BreakLine(ctx);
            }
            return true;
        case L'p':
            if (!AtLineStart(ctx)) {
                ctx.ended = true;
                return false;
            }
            s.spacings.push_back(m_spacingArena, std::wcstol(params, nullptr, 10));
            GrowLine(ctx, Spacing(s) + FontHeight(s));
            return true;
        case L'r':
            s.raw = true;
            return true;
        case L's':
            s.selected = !s.selected;
            return true;
        case L'u':
            PushStyledFont(s, false, true, false);
            return true;
        case L'x':
            ctx.penX += std::wcstol(params, nullptr, 10);
            return true;
        case L'y':
            if (!ctx.draw) {
                ctx.line.height = std::wcstol(params, nullptr, 10);
            }
            return true;
        default:
            return true;
        }
    }

    void CloseTag(MarkupState& s, LineContext& ctx, wchar_t tag) {
        switch (tag) {
        case L'a':
            CloseLink(s, ctx);
            break;
        case L'b':
        case L'f':
        case L'i':
        case L'u':
            PopFont(s, ctx.penX);
            break;
        case L'c':
            PopColor(s);
            break;
        case L'p':
            if (!s.spacings.empty()) {
                s.spacings.pop_back();
            }
            if (!AtLineStart(ctx)) {
                BreakLine(ctx);
            }
            break;
        case L's':
            s.selected = !s.selected;
            break;
        default:
            break;
        }
    }

    void OpenLink(MarkupState& s, LineContext& ctx, const CUIString& name) {
        if (!ctx.draw && !m_linkOpen && m_linkCount < m_linkCapacity) {
            m_linkNames[m_linkCount] = name;
            m_linkOpen = true;
            m_linkStart = {ctx.penX, ctx.line.top};
        }
        const bool hovered = m_hasHover && name == m_hoverName;
        PushColor(s, hovered ? m_manager->GetDefaultLinkHoverFontColor()
                             : m_manager->GetDefaultLinkFontColor());
        PushStyledFont(s, false, true, false);
    }

    void CloseLink(MarkupState& s, LineContext& ctx) {
        if (!ctx.draw && m_linkOpen) {
            m_links[m_linkCount] = {m_linkStart.x, m_linkStart.y, ctx.penX,
                                    ctx.line.top + FontHeight(s)};
            ++m_linkCount;
            m_linkOpen = false;
        }
        PopColor(s);
        PopFont(s, ctx.penX);
    }

    // <f 2> (a font of the manager's table) or <f face size style-words>.
    // Face names may hold blanks ("MS Shell Dlg"): the face runs up to the
    // size or the first style word.
    void PushNamedFont(MarkupState& s, const CUIString& params) {
        LPCWSTR p = params.GetData();
        HFONT hFont = nullptr;
        if (*p >= L'0' && *p <= L'9') {
            hFont = m_manager->GetFont(static_cast<int>(std::wcstol(p, nullptr, 10)));
        } else {
            LPCWSTR faceEnd = p;
            LPCWSTR word = p;
            while (*word != L'\0' && !IsFontSizeOrStyle(word)) {
                while (*word != L'\0' && *word != L' ') {
                    ++word;
                }
                faceEnd = word;
                word = SkipBlanks(word);
            }
            const CUIString face(p, static_cast<int>(faceEnd - p));
            int size = 10;
            if (*word >= L'0' && *word <= L'9') {
                wchar_t* after = nullptr;
                size = static_cast<int>(std::wcstol(word, &after, 10));
                word = after;
            }
            CUIString words(word);
            words.MakeLower();
            hFont = FindOrAddFont(face, size, words.Find(L"bold") >= 0,
                                  words.Find(L"underline") >= 0, words.Find(L"italic") >= 0);
        }
        s.fonts.push_back(m_fontArena, hFont != nullptr ? MakeFont(hFont) : Font(s));
        SelectCurrent(s);
    }

    static bool IsFontSizeOrStyle(LPCWSTR word) {
        if (*word >= L'0' && *word <= L'9') {
            return true;
        }
        LPCWSTR end = word;
        while (*end != L'\0' && *end != L' ') {
            ++end;
        }
        CUIString text(word, static_cast<int>(end - word));
        text.MakeLower();
        return text.Find(L"bold") >= 0 || text.Find(L"underline") >= 0 || text.Find(L"italic") >= 0;
    }

    // <i name [count [index]]> or <i file='..' restype='..' [count [index]]>.
    bool InlineImage(LineContext& ctx, const CUIString& params) {
        CUIString name;
        CUIString type;
        LPCWSTR p = params.GetData();
        int numbers[2] = {1, 0};
        int numberCount = 0;
        while (*(p = SkipBlanks(p)) != L'\0') {
            LPCWSTR eq = p;
            while (IsAsciiLetter(*eq)) {
                ++eq;
            }
            if (eq > p && eq[0] == L'=' && eq[1] == L'\'') {
                const CUIString key(p, static_cast<int>(eq - p));
                LPCWSTR value = eq + 2;
                LPCWSTR end = value;
                while (*end != L'\0' && *end != L'\'') {
                    ++end;
                }
                const CUIString text(value, static_cast<int>(end - value));
                if (key == L"file" || key == L"res") {
                    name = text;
                } else if (key == L"restype") {
                    type = text;
                }
                p = *end != L'\0' ? end + 1 : end;
            } else if (*p >= L'0' && *p <= L'9' && !name.IsEmpty()) {
                wchar_t* after = nullptr;
                const long value = std::wcstol(p, &after, 10);
                if (numberCount < 2) {
                    numbers[numberCount++] = static_cast<int>(value);
                }
                p = after;
            } else {
                LPCWSTR end = p;
                while (*end != L'\0' && *end != L' ') {
                    ++end;
                }
                if (name.IsEmpty()) {
                    name.Assign(p, static_cast<int>(end - p));
                }
                p = end;
            }
        }
        const TImageRecordUI* image =
            name.IsEmpty()
                ? nullptr
                : m_manager->GetImageOrAdd(name, type.IsEmpty() ? nullptr : type.GetData(), 0);
        if (image == nullptr || image->nX <= 0 || image->nY <= 0) {
            return true;
        }
        const int count = std::max(numbers[0], 1);
        const int index = numbers[1] >= 0 && numbers[1] < count ? numbers[1] : 0;
        const int frameWidth = image->nX / count;
        if (frameWidth <= 0) {
            return true;
        }
        if (ctx.penX + frameWidth > m_rc.right && !AtLineStart(ctx) &&
            (m_style & DT_SINGLELINE) == 0) {
            ctx.ended = true;
            return false;
        }
        GrowLine(ctx, image->nY);
        if (ctx.draw) {
            int top = ctx.line.top + ctx.line.height - image->nY;
            if (image->nY < ctx.line.height) {
                top -= (ctx.line.height - image->nY) / 2;
            }
            const RECT rcDest = {ctx.penX + ctx.shift, top, ctx.penX + ctx.shift + frameWidth,
                                 top + image->nY};
            const RECT rcSource = {frameWidth * index, 0, frameWidth * (index + 1), image->nY};
            const RECT rcCorners = {0, 0, 0, 0};
            CRendererUI::DrawImage(m_hDC, image->hBitmap, rcDest, m_rc, rcSource, rcCorners,
                                   image->alphaChannel, 255);
        } else {
            m_imageBottom = std::max(m_imageBottom, ctx.line.top + image->nY);
        }
        ctx.penX += frameWidth;
        return true;
    }

    // ---- Text runs -------------------------------------------------------------

    int TextWidth(LPCWSTR text, int length) const {
        SIZE size = {0, 0};
        if (length > 0) {
            ::GetTextExtentPoint32W(m_hDC, text, length, &size);
        }
        return size.cx;
    }

    // Text sits on the line's bottom.
    void DrawRun(const MarkupState& s, const LineContext& ctx, int x, LPCWSTR text,
                 int length) const {
        DrawRunAt(s, ctx, x, ctx.line.top + ctx.line.height - FontHeight(s), text, length);
    }

    void DrawRunAt(const MarkupState& s, const LineContext& ctx, int x, int y, LPCWSTR text,
                   int length) const {
        if (!ctx.draw || length <= 0) {
            return;
        }
        if (s.selected) {
            ::SetBkMode(m_hDC, OPAQUE);
        }
        ::TextOutW(m_hDC, x + ctx.shift, y, text, length);
        if (s.selected) {
            ::SetBkMode(m_hDC, TRANSPARENT);
        }
    }

    // Outputs as much of text as fits on the line; returns the characters
    // consumed. A run that overflows ends the line.
    int OutputText(const MarkupState& s, LineContext& ctx, LPCWSTR text, int length) {
        GrowLine(ctx, Spacing(s) + FontHeight(s));
        const int fit = MeasureFit(Font(s).tm, ctx, text, length);
        if (fit >= length) {
            DrawRun(s, ctx, ctx.penX, text, length);
            ctx.penX += TextWidth(text, length);
            return length;
        }
        ctx.ended = true;
        // The character that doesn't fit starts the next line; a line that
        // has nothing yet takes it anyway, so every line makes progress.
        int cut = fit;
        if (cut == 0 && AtLineStart(ctx)) {
            cut = 1;
        }
        if ((m_style & DT_WORDBREAK) != 0) {
            for (int i = cut - 1; i >= 0; --i) {
                if (!IsAsciiLetter(text[i])) {
                    cut = i + 1;
                    break;
                }
            }
        }
        if ((m_style & DT_END_ELLIPSIS) != 0) {
            const int shown = std::max(cut - 2, 0);
            DrawRun(s, ctx, ctx.penX, text, shown);
            // The ellipsis stands at the line's top, however tall the line.
            DrawRunAt(s, ctx, ctx.penX + TextWidth(text, shown), ctx.line.top, L"...", 3);
            ctx.penX = m_rc.right;
            return cut;
        }
        DrawRun(s, ctx, ctx.penX, text, cut);
        ctx.penX += TextWidth(text, cut);
        return cut;
    }

    HDC m_hDC;
    IRenderResourcesUI* m_manager;
    RECT m_rc;
    const DWORD m_color;
    RECT* m_links;
    CUIString* m_linkNames;
    const int m_linkCapacity;
    const UINT m_style;
    const bool m_measureOnly;
    MarkupFont m_defaultFont = {};
    SharedStack<MarkupFont>::Arena m_fontArena;
    SharedStack<DWORD>::Arena m_colorArena;
    SharedStack<int>::Arena m_spacingArena;
    LPCWSTR m_closerFrom = nullptr;
    LPCWSTR m_closer = nullptr;
    CUIString m_hoverName;
    bool m_hasHover = false;
    int m_linkCount = 0;
    int m_lineFirstLink = 0;
    bool m_linkOpen = false;
    POINT m_linkStart = {0, 0};
    int m_imageBottom = 0;
    int m_maxRight = 0;
    int m_bottom = 0;
};

// Moves rc so that the text, measured first, sits as the alignment bits ask.
void AlignToMeasured(HDC hDC, IRenderResourcesUI* manager, RECT& rc, LPCWSTR text, DWORD color,
                     UINT style) {
    // As tall as the rectangle: a text taller than that is drawn from its
    // start, and measuring stops where the rectangle is full.
    RECT rcText = {0, 0, kMeasureWidth, std::max<LONG>(rc.bottom - rc.top, 100)};
    int links = 0;
    CRendererUI::DrawMarkupText(hDC, manager, rcText, text, color, nullptr, nullptr, links,
                                style | DT_CALCRECT);
    PlaceMeasured(rc, rcText.right - rcText.left, rcText.bottom - rcText.top, style);
}

// The caller's link slots, kept so that an attempt that writes them can be
// undone.
class SavedLinkSlots {
public:
    SavedLinkSlots(RECT* links, CUIString* names, int count) : m_links(links), m_names(names) {
        if (links != nullptr && names != nullptr && count > 0) {
            m_savedLinks.assign(links, links + count);
            m_savedNames.assign(names, names + count);
        }
    }
    void Restore() const {
        std::copy(m_savedLinks.begin(), m_savedLinks.end(), m_links);
        std::copy(m_savedNames.begin(), m_savedNames.end(), m_names);
    }

private:
    RECT* m_links;
    CUIString* m_names;
    std::vector<RECT> m_savedLinks;
    std::vector<CUIString> m_savedNames;
};

// Single-line text placed from the measurement of its own line, without a
// measuring pass of its own. False, with the link slots as they were, when
// only such a pass can place it.
bool DrawPlacedLine(HDC hDC, IRenderResourcesUI* manager, const RECT& rc, LPCWSTR text, DWORD color,
                    RECT* links, CUIString* linkNames, int capacity, UINT style, int& linkCount) {
    const SavedLinkSlots saved(links, linkNames, capacity);
    CMarkupRenderer renderer(hDC, manager, rc, color, links, linkNames, capacity, style);
    renderer.Init();
    renderer.FindHoveredLink(capacity);
    if (!renderer.RunPlaced(text)) {
        saved.Restore();
        return false;
    }
    linkCount = renderer.LinksMade();
    return true;
}

} // namespace

void CRendererUI::DrawText(HDC hDC, IRenderResourcesUI* manager, RECT& rc, LPCWSTR text,
                           DWORD color, int font, UINT style) {
    if (hDC == nullptr || text == nullptr || manager == nullptr) {
        return;
    }
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, ToColorRef(color));
    const CSelectObject selectFont(hDC, manager->GetFont(font));
    ::DrawTextW(hDC, text, -1, &rc, style | DT_NOPREFIX);
}

void CRendererUI::DrawMarkupText(HDC hDC, IRenderResourcesUI* manager, RECT& rc, LPCWSTR text,
                                 DWORD color, RECT* links, CUIString* linkNames, int& linkCount,
                                 UINT style) {
    const int capacity = linkCount;
    linkCount = 0;
    if (hDC == nullptr || text == nullptr || manager == nullptr || ::IsRectEmpty(&rc)) {
        return;
    }
    const bool measureOnly = (style & DT_CALCRECT) != 0;
    CClipRegionUI clip;
    if (!measureOnly) {
        CClipRegionUI::ClipToRect(hDC, rc, clip);
    }
    const HGDIOBJ oldFont = ::GetCurrentObject(hDC, OBJ_FONT);

    // Drawing works on a copy: only measuring hands a rectangle back.
    RECT rcLayout = rc;
    // Without DT_SINGLELINE centring is per line: only vertical placement
    // needs the text measured first.
    const bool alignsWhole =
        (style & (DT_VCENTER | DT_BOTTOM)) != 0 ||
        ((style & DT_SINGLELINE) != 0 && (style & (DT_CENTER | DT_RIGHT)) != 0);
    if (!measureOnly && alignsWhole && (style & DT_SINGLELINE) != 0 &&
        DrawPlacedLine(hDC, manager, rc, text, color, links, linkNames, capacity, style,
                       linkCount)) {
        ::SelectObject(hDC, oldFont);
        return;
    }
    if (!measureOnly && alignsWhole) {
        AlignToMeasured(hDC, manager, rcLayout, text, color, style);
    }
    CMarkupRenderer renderer(hDC, manager, rcLayout, color, links, linkNames, capacity, style);
    renderer.Init();
    renderer.FindHoveredLink(capacity);
    renderer.Run(text);
    linkCount = renderer.LinksMade();
    if (measureOnly) {
        rc.bottom = renderer.Bottom();
        rc.right = std::min<LONG>(rc.right, renderer.MaxRight());
    }
    ::SelectObject(hDC, oldFont);
}

} // namespace SkinUI
