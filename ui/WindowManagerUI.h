#pragma once
#include <windows.h>

#include <commctrl.h>

#include "ui/UIPtrArray.h"
#include "ui/UIRect.h"
#include "ui/UIString.h"
#include "ui/UIStringPtrMap.h"
#include "ui/ZipArchive.h"

#include <atomic>
#include <vector>

namespace SkinUI {

class CControlUI;

// Input event types handed to CControlUI::DispatchEvent. The values are
// fixed: controls compare ranges (keyboard events lie between
// UIEVENT__KEYBEGIN and UIEVENT__KEYEND, mouse events between
// UIEVENT__MOUSEBEGIN and UIEVENT__MOUSEEND).
enum EventTypeUI {
    UIEVENT__FIRST = 1,
    UIEVENT__KEYBEGIN = 2,
    UIEVENT_KEYDOWN = 3,
    UIEVENT_KEYUP = 4,
    UIEVENT_CHAR = 5,
    UIEVENT_SYSKEY = 6,
    UIEVENT__KEYEND = 7,
    UIEVENT__MOUSEBEGIN = 8,
    UIEVENT_MOUSEMOVE = 9,
    UIEVENT_MOUSELEAVE = 10,
    UIEVENT_MOUSEENTER = 11,
    UIEVENT_MOUSEHOVER = 12,
    UIEVENT_BUTTONDOWN = 13,
    UIEVENT_BUTTONUP = 14,
    UIEVENT_RBUTTONDOWN = 15,
    UIEVENT_DBLCLICK = 16,
    UIEVENT_CONTEXTMENU = 17,
    UIEVENT_SCROLLWHEEL = 18,
    UIEVENT__MOUSEEND = 19,
    UIEVENT_KILLFOCUS = 20,
    UIEVENT_SETFOCUS = 21,
    UIEVENT_WINDOWSIZE = 22,
    UIEVENT_SETCURSOR = 23,
    UIEVENT_TIMER = 24,
    UIEVENT__LAST = 25,
};

// Bits of the flags argument of CControlUI::FindControl.
enum FindControlFlag : UINT {
    UIFIND_ALL = 0x00000000,
    UIFIND_VISIBLE = 0x00000001,
    UIFIND_ENABLED = 0x00000002,
    UIFIND_HITTEST = 0x00000004,
    UIFIND_TOP_FIRST = 0x00000008,
    UIFIND_ME_FIRST = 0x80000000,
};

// Bits of CControlUI::GetControlFlags.
enum ControlFlagUI : UINT {
    UIFLAG_TABSTOP = 0x00000001,
    UIFLAG_SETCURSOR = 0x00000002,
};

// Bits of TInputEventUI::wKeyState for keyboard-like events (MapKeyState).
enum KeyStateUI : WORD {
    UIKEYSTATE_RBUTTON = 0x0001,
    UIKEYSTATE_LBUTTON = 0x0002,
    UIKEYSTATE_SHIFT = 0x0004,
    UIKEYSTATE_CONTROL = 0x0008,
    UIKEYSTATE_ALT = 0x0020,
};

// One input event for one control.
struct TInputEventUI {
    int Type;
    CControlUI* pSender;
    DWORD dwTimestamp;
    POINT ptMouse;
    wchar_t chKey;
    WORD wKeyState;
    WPARAM wParam;
    LPARAM lParam;
};

// One notification for the window's listeners.
struct TNoticeUI {
    CUIString sType;
    CUIString sVirtualWnd;
    CControlUI* pSender;
    DWORD dwTimestamp;
    POINT ptMouse;
    WPARAM wParam;
    LPARAM lParam;
};

// One control timer; window timer ids are shared by the controls of a window.
struct TTimerRecordUI {
    CControlUI* pSender;
    UINT nLocalID;
    HWND hWnd;
    UINT uWinTimer;
    bool bKilled;
};

// A font of the manager's font table, or its default font.
struct TFontRecordUI {
    HFONT hFont;
    CUIString sFontName;
    int iSize; // pixels; the LOGFONT height is its negative
    bool bBold;
    bool bUnderline;
    bool bItalic;
    TEXTMETRICW tm; // all zero until measured (tmHeight 0 = not measured)
};

// A decoded image of the manager's image cache: a 32-bit top-down DIB
// section with premultiplied pixels. Made by CRendererUI::LoadImage and
// freed by CRendererUI::FreeImage; the manager fills sResType and dwMask.
struct TImageRecordUI {
    HBITMAP hBitmap;
    int nX;            // width
    int nY;            // height
    bool alphaChannel; // some pixel is not fully opaque, or was masked out
    CUIString sResType;
    DWORD dwMask;
};

// Receives the notifications of a window.
class INotifyUI {
public:
    virtual void Notify(TNoticeUI& msg) = 0;

protected:
    ~INotifyUI() = default;
};

// Sees every message of a window before the manager does.
class IMessageFilterUI {
public:
    virtual LRESULT FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

// Offered every message of the message loop for its window; returns 0 when
// it consumed the message.
class ITranslateAccelerator {
public:
    virtual LRESULT TranslateAccelerator(MSG* pMsg) = 0;

protected:
    ~ITranslateAccelerator() = default;
};

// Answered by a control that may keep the Tab key for itself (the rich edit):
// its QueryInterfaceByName(L"WantTab") returns this interface. A control
// whose class name contains "RichEditUI" without it counts as wanting Tab.
class IWantTabUI {
public:
    virtual bool IsWantTab() = 0;

protected:
    ~IWantTabUI() = default;
};

// The per-window centre of the framework: resources (fonts, images, default
// attribute lists, colours, option groups), the control tree, input events,
// notifications, timers, focus and painting of one window, plus the
// process-wide state (module instance, resource folder, skin archive).
class CWindowManagerUI {
public:
    CWindowManagerUI();
    ~CWindowManagerUI();
    CWindowManagerUI(const CWindowManagerUI&) = delete;
    CWindowManagerUI& operator=(const CWindowManagerUI&) = delete;

    // ---- Process-wide state ------------------------------------------------
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();
    static HINSTANCE GetResourceInstance();
    static CUIString GetInstancePath();
    static void SetResourcePath(LPCWSTR path);
    static const CUIString& GetResourcePath();
    // The skin archive in memory; the caller keeps the bytes alive for the
    // life of the process. Only the first archive in memory is taken.
    static ZipHandle SetResourceZip(LPVOID bytes, unsigned int length);
    // "membuffer" once a skin archive in memory is set, else empty.
    static const CUIString& GetResourceZip();
    static bool IsCachedResourceZip();
    static ZipHandle GetResourceZipHandle();
    static void GetHSL(int* hue, int* saturation, int* lightness);

    // Reading one item of the skin archive in memory (name looked up
    // ignoring case) into bytes, refusing items larger than maxSize.
    enum ResourceZipReadUI {
        ZIPREAD_OK = 0,
        ZIPREAD_NO_ARCHIVE,  // no archive in memory is open
        ZIPREAD_NOT_FOUND,   // no item has the name
        ZIPREAD_EMPTY,       // the item has no bytes
        ZIPREAD_TOO_LARGE,   // the item is larger than maxSize
        ZIPREAD_UNZIP_FAILED // extraction failed
    };
    // Largest image file read from the skin archive or a file.
    enum { MAX_IMAGE_FILE_SIZE = 32 * 1024 * 1024 };
    static ResourceZipReadUI ReadResourceZipItem(LPCWSTR name, DWORD maxSize,
                                                 std::vector<BYTE>& bytes);

    // ---- Window and geometry -----------------------------------------------
    void Init(HWND hWnd);
    HWND GetPaintWindow() const;
    HDC GetPaintDC() const;
    HWND GetTooltipWindow() const;
    POINT GetMousePos() const;
    SIZE GetClientSize() const;

    SIZE GetInitSize() const;
    void SetInitSize(int cx, int cy);
    RECT GetSizeBox() const;
    void SetSizeBox(const RECT& rcSizeBox);
    RECT GetCaptionRect() const;
    void SetCaptionRect(const RECT& rcCaption);
    SIZE GetRoundCorner() const;
    void SetRoundCorner(int cx, int cy);
    SIZE GetMinInfo() const;
    void SetMinInfo(int cx, int cy);
    SIZE GetMaxInfo() const;
    void SetMaxInfo(int cx, int cy);
    int GetWindowOpacity() const;
    void SetWindowOpacity(int opacity);
    bool IsBackgroundTransparent() const;
    void SetBackgroundTransparent(bool transparent);
    bool IsShowUpdateRect() const;
    void SetShowUpdateRect(bool show);

    // ---- Resources ---------------------------------------------------------
    bool SetParentResource(CWindowManagerUI* parent);
    CWindowManagerUI* GetParentResource() const;

    // Getters answer the top-most parent resource manager's value.
    DWORD GetDefaultDisabledColor() const;
    void SetDefaultDisabledColor(DWORD color);
    DWORD GetDefaultFontColor() const;
    void SetDefaultFontColor(DWORD color);
    DWORD GetDefaultLinkFontColor() const;
    void SetDefaultLinkFontColor(DWORD color);
    DWORD GetDefaultLinkHoverFontColor() const;
    void SetDefaultLinkHoverFontColor(DWORD color);
    DWORD GetDefaultSelectedBkColor() const;
    void SetDefaultSelectedBkColor(DWORD color);

    // The face name keeps at most 31 characters.
    enum { MAX_FACE_NAME = LF_FACESIZE - 1 };
    void SetDefaultFont(LPCWSTR fontName, int size, bool bold, bool underline, bool italic);
    TFontRecordUI* GetDefaultFontInfo();
    int GetCustomFontCount() const;
    HFONT AddFont(LPCWSTR fontName, int size, bool bold, bool underline, bool italic);
    HFONT GetFont(int index);
    HFONT GetFont(LPCWSTR fontName, int size, bool bold, bool underline, bool italic);
    TFontRecordUI* GetFontInfo(int index);
    TFontRecordUI* GetFontInfo(HFONT hFont);
    void RemoveAllFonts();

    // A type means a resource of the module (the name then starts with the
    // decimal resource id); without one the name is an archive item or file.
    TImageRecordUI* GetImage(LPCWSTR name);
    TImageRecordUI* GetImageOrAdd(LPCWSTR name, LPCWSTR type = nullptr, DWORD mask = 0);
    TImageRecordUI* AddImage(LPCWSTR name, LPCWSTR type = nullptr, DWORD mask = 0);
    void RemoveAllImages();

    void AddDefaultAttributeList(LPCWSTR controlName, LPCWSTR attrList);
    LPCWSTR GetDefaultAttributeList(LPCWSTR controlName) const;
    void RemoveAllDefaultAttributeList();

    bool AddToOptionGroup(LPCWSTR groupName, CControlUI* option);
    CUIPtrArray* GetOptionGroup(LPCWSTR groupName);
    void RemoveOptionGroup(LPCWSTR groupName, CControlUI* option);
    void RemoveAllOptionGroups();

    // ---- Control tree ------------------------------------------------------
    bool AttachRootControl(CControlUI* control);
    CControlUI* GetRoot() const;
    bool InitControlTree(CControlUI* control, CControlUI* parent = nullptr);
    CControlUI* FindControl(LPCWSTR name) const;
    CControlUI* FindControlAt(POINT pt) const;
    void ForgetControl(CControlUI* control);
    // Deletes the control at the next WM_APP+1 (never inside its own event).
    void AddDelayedCleanup(CControlUI* control);

    // ---- Notifications, filters, post-paint, accelerators -------------------
    bool AddNotifyListener(INotifyUI* listener);
    bool RemoveNotifyListener(INotifyUI* listener);
    void SendNotify(TNoticeUI& msg, bool queued = false);
    void SendNotify(CControlUI* sender, LPCWSTR type, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool queued = false);
    void SetUsedVirtualWnd(bool used);

    bool AddMessageFilter(IMessageFilterUI* filter);
    bool RemoveMessageFilter(IMessageFilterUI* filter);
    bool AddPostPaint(CControlUI* control);
    bool RemovePostPaint(CControlUI* control);
    int GetPostPaintCount() const;
    bool AddTranslateAccelerator(ITranslateAccelerator* translator);
    bool RemoveTranslateAccelerator(ITranslateAccelerator* translator);
    bool TranslateAccelerator(LPMSG pMsg);

    // ---- Timers ------------------------------------------------------------
    bool SetTimer(CControlUI* control, UINT timerID, UINT elapse);
    bool KillTimer(CControlUI* control, UINT timerID);
    void KillTimer(CControlUI* control);
    void RemoveAllTimers();

    // ---- Capture and focus -------------------------------------------------
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const;
    CControlUI* GetFocus() const;
    void SetFocus(CControlUI* control);
    void SetFocusNeeded(CControlUI* control);
    bool SetNextTabControl(bool forward = true);

    // ---- Layout and painting -----------------------------------------------
    void SetUpdateNeeded();
    bool IsUpdateNeeded() const;
    // Empty rectangles ask for nothing; during a layout pass the requests
    // of the window's thread are joined and the window is asked once when
    // the pass ends. Any thread may call it.
    void Invalidate(const RECT& rcItem);

    // ---- Messages ----------------------------------------------------------
    bool HandleWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool PreTranslateKey(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    static bool PreTranslateMessage(const LPMSG pMsg);
    static void RunMessageLoop();

private:
    // Message handling pieces.
    void DrainNotices();
    void DeliverNotice(TNoticeUI& msg);
    bool OnPaint();
    void LayoutTree(const RECT& rcClient);
    void LayoutControls(const RECT& rcClient);
    void RequestRedraw(const RECT* rc);
    void PaintOffscreen(HDC hDcTarget, const RECT& rcPaint, const RECT& rcClient);
    bool OnMouseMove(LPARAM lParam);
    bool OnMouseHover(LPARAM lParam);
    void ShowToolTip(CControlUI* control);
    void HideToolTip();
    void OnButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnButtonUp(WPARAM wParam, LPARAM lParam);
    void OnMouseWheel(WPARAM wParam, LPARAM lParam);
    void OnContextMenu(WPARAM wParam, LPARAM lParam);
    bool OnSetCursor(WPARAM wParam, LPARAM lParam);
    void OnTimer(WPARAM wParam);
    void OnPrintClient(HDC hDC, LPARAM lParam);
    void FireEvent(CControlUI* control, int type, CControlUI* sender, WPARAM wParam = 0,
                   LPARAM lParam = 0, WORD keyState = 0, wchar_t key = 0);
    CControlUI* OwnControlAt(POINT pt) const;
    void DeleteCleanupControls();
    void DeleteOffscreen();
    void DeleteBackground();
    bool WindowTimerIdInUse(UINT id) const;
    void FreeTimers(CControlUI* control, bool all);
    CWindowManagerUI* TopResource();
    const CWindowManagerUI* TopResource() const;
    void MeasureFont(TFontRecordUI* font) const;

    HWND m_hWndPaint;
    int m_nOpacity;
    HDC m_hDcPaint;

    HDC m_hDcOffscreen;
    HDC m_hDcBackground;
    HBITMAP m_hbmpOffscreen;
    HBITMAP m_hbmpBackground;
    HWND m_hwndTooltip;
    TOOLINFOW m_ToolTip;

    bool m_bShowUpdateRect;

    CControlUI* m_pRoot;
    CControlUI* m_pFocus;
    CControlUI* m_pEventHover;
    CControlUI* m_pEventClick;
    CControlUI* m_pEventKey;

    POINT m_ptLastMousePos;

    SIZE m_szMinWindow;
    SIZE m_szMaxWindow;
    SIZE m_szInitWindowSize;

    RECT m_rcSizeBox;
    SIZE m_szRoundCorner;
    RECT m_rcCaption;

    UINT m_uTimerID;
    // The thread running a layout pass (0 when none runs); that pass's
    // redraw requests gather in m_rcLayoutInvalid.
    std::atomic<DWORD> m_dwLayoutThread;
    RECT m_rcLayoutInvalid;

    bool m_bFirstLayout;
    bool m_bUpdateNeeded;
    bool m_bFocusNeeded;
    bool m_bOffscreenPaint;
    bool m_bAlphaBackground;
    bool m_bMouseTracking;
    bool m_bMouseCapture;
    bool m_bUsedVirtualWnd;

    CUIPtrArray m_aNotifiers;
    CUIPtrArray m_aTimers;
    CUIPtrArray m_aMessageFilters;
    CUIPtrArray m_aPostPaintControls;
    CUIPtrArray m_aDelayedCleanup;
    CUIPtrArray m_aAsyncNotify;

    CUIStringPtrMap m_mNameHash;
    CUIStringPtrMap m_mOptionGroup;

    CWindowManagerUI* m_pParentResourcePM;

    DWORD m_dwDefaultDisabledColor;
    DWORD m_dwDefaultFontColor;
    DWORD m_dwDefaultLinkFontColor;
    DWORD m_dwDefaultLinkHoverFontColor;
    DWORD m_dwDefaultSelectedBkColor;

    TFontRecordUI m_DefaultFontInfo;
    CUIPtrArray m_aCustomFonts;
    CUIStringPtrMap m_mImageHash;
    CUIStringPtrMap m_DefaultAttrHash;

    CUIPtrArray m_aTranslateAccelerator;
};

} // namespace SkinUI
