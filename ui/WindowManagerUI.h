#pragma once
#include <windows.h>

#include <commctrl.h>

#include "ui/UIPtrArray.h"
#include "ui/UIRect.h"
#include "ui/UIString.h"
#include "ui/UIStringPtrMap.h"
#include "ui/RenderResourcesUI.h"
#include "ui/UIEventTypes.h"
#include "ui/SkinSourceUI.h"
#include "ui/ZipArchive.h"

#include <atomic>
#include <vector>

namespace SkinUI {

class CControlUI;

// One control timer; window timer ids are shared by the controls of a window.
struct TTimerRecordUI {
    CControlUI* pSender;
    UINT nLocalID;
    HWND hWnd;
    UINT uWinTimer;
    bool bKilled;
};

// The per-window centre of the framework: resources (fonts, images, default
// attribute lists, colours, option groups), the control tree, input events,
// notifications, timers, focus and painting of one window, plus the
// process-wide state (module instance, resource folder, skin archive).
class CWindowManagerUI : public IRenderResourcesUI {
public:
    CWindowManagerUI();
    ~CWindowManagerUI();
    CWindowManagerUI(const CWindowManagerUI&) = delete;
    CWindowManagerUI& operator=(const CWindowManagerUI&) = delete;

    // ---- Process-wide state ------------------------------------------------
    static void SetInstance(HINSTANCE instance);
    // Attaches the common controls once per process. Called where a native common control is
    // made (tool tip, edit box, date picker), not at start: attaching them costs the first page
    // time and nothing on it needs them.
    static void PrepareCommonControls();
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

    // Reading one item of the skin archive in memory (CSkinSourceUI).
    typedef CSkinSourceUI::ResourceZipReadUI ResourceZipReadUI;
    static constexpr ResourceZipReadUI ZIPREAD_OK = CSkinSourceUI::ZIPREAD_OK;
    static constexpr ResourceZipReadUI ZIPREAD_NO_ARCHIVE = CSkinSourceUI::ZIPREAD_NO_ARCHIVE;
    static constexpr ResourceZipReadUI ZIPREAD_NOT_FOUND = CSkinSourceUI::ZIPREAD_NOT_FOUND;
    static constexpr ResourceZipReadUI ZIPREAD_EMPTY = CSkinSourceUI::ZIPREAD_EMPTY;
    static constexpr ResourceZipReadUI ZIPREAD_TOO_LARGE = CSkinSourceUI::ZIPREAD_TOO_LARGE;
    static constexpr ResourceZipReadUI ZIPREAD_UNZIP_FAILED = CSkinSourceUI::ZIPREAD_UNZIP_FAILED;
    enum { MAX_IMAGE_FILE_SIZE = CSkinSourceUI::MAX_IMAGE_FILE_SIZE };
    static ResourceZipReadUI ReadResourceZipItem(LPCWSTR name, DWORD maxSize,
                                                 std::vector<BYTE>& bytes);

    // ---- Window and geometry -----------------------------------------------
    void Init(HWND hWnd);
    HWND GetPaintWindow() const;
    HDC GetPaintDC() const;
    HWND GetTooltipWindow() const;
    POINT GetMousePos() const override;
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
    DWORD GetDefaultLinkFontColor() const override;
    void SetDefaultLinkFontColor(DWORD color);
    DWORD GetDefaultLinkHoverFontColor() const override;
    void SetDefaultLinkHoverFontColor(DWORD color);
    DWORD GetDefaultSelectedBkColor() const override;
    void SetDefaultSelectedBkColor(DWORD color);

    // The face name keeps at most 31 characters.
    enum { MAX_FACE_NAME = LF_FACESIZE - 1 };
    // Fonts a manager holds at most: beyond them AddFont adds nothing (null),
    // so that neither a skin repeating its fonts nor a mark-up text full of
    // invented faces fills the platform's table of objects (10,000 for a
    // process) or slows every later look-up.
    enum { MAX_CUSTOM_FONTS = 256 };
    void SetDefaultFont(LPCWSTR fontName, int size, bool bold, bool underline, bool italic);
    TFontRecordUI* GetDefaultFontInfo() override;
    HFONT AddFont(LPCWSTR fontName, int size, bool bold, bool underline, bool italic) override;
    HFONT GetFont(int index) override;
    HFONT GetFont(LPCWSTR fontName, int size, bool bold, bool underline, bool italic) override;
    TFontRecordUI* GetFontInfo(int index);
    TFontRecordUI* GetFontInfo(HFONT hFont) override;
    void RemoveAllFonts();

    // A type means a resource of the module (the name then starts with the
    // decimal resource id); without one the name is an archive item or file.
    TImageRecordUI* GetImage(LPCWSTR name);
    TImageRecordUI* GetImageOrAdd(LPCWSTR name, LPCWSTR type = nullptr, DWORD mask = 0) override;
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
