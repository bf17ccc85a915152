#include <windows.h>

#include "uninstaller/FrameMessages.h"
#include "uninstaller/RemovalEngine.h"
#include "uninstaller/Shutdown.h"
#include "uninstaller/StatisticsEvents.h"
#include "uninstaller/UninstallSession.h"
#include "uninstaller/UninstallerFrameWnd.h"

namespace {

const wchar_t kClassName[] = L"UninstallerFrameWnd";

// The plain stand-in pages' buttons, by the names the skin will give them.
enum ButtonId { kCloseUnistall01 = 101, kUninstallNextStep = 102, kUnistallFinished = 103 };

struct ButtonSpec {
    ButtonId id;
    const wchar_t* text;
    int step; // the page the button belongs to (0 = first page)
    int x;
};

const ButtonSpec kButtons[] = {
    {kCloseUnistall01, L"我再想想", 0, 240},
    {kUninstallNextStep, L"继续卸载", 0, 440},
    {kUnistallFinished, L"完成", 4, 340},
};

bool IsFirstPage(int step) { return step == 0 || step == 1; }

} // namespace

void CUninstallerFrameWnd::SetStep(int step) {
    wizardStep_ = step;
    if (!hwnd_)
        return;
    for (const ButtonSpec& b : kButtons) {
        const bool onPage = b.step == step || (b.step == 0 && IsFirstPage(step));
        ShowWindow(GetDlgItem(hwnd_, b.id), onPage ? SW_SHOW : SW_HIDE);
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void CUninstallerFrameWnd::CreatePageButtons() {
    for (const ButtonSpec& b : kButtons) {
        CreateWindowExW(0, L"BUTTON", b.text, WS_CHILD | BS_PUSHBUTTON, b.x, 400, 120, 32, hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)),
                        GetModuleHandleW(nullptr), nullptr);
    }
    SetStep(wizardStep_);
}

// The wizard's buttons. The questionnaire page is not offered by the plain
// pages: the removal starts from the first page.
void CUninstallerFrameWnd::OnButton(int id) {
    switch (id) {
    case kCloseUnistall01:
        SendEvent(*session_, EVENT_USER_STAYED, nullptr, 0, nullptr);
        CloseAndExit();
        break;
    case kUninstallNextStep:
        SendEvent(*session_, EVENT_UNINSTALL_CONFIRMED, nullptr, 0, nullptr);
        SetStep(3);
        StartUninstallWorker(*this);
        break;
    case kUnistallFinished:
        CloseAndExit();
        break;
    default:
        break;
    }
}

// The title-bar close: a stay on the first page, a plain close elsewhere.
void CUninstallerFrameWnd::OnCloseButton() {
    if (IsFirstPage(wizardStep_))
        SendEvent(*session_, EVENT_USER_STAYED, nullptr, 0, nullptr);
    CloseAndExit();
}

void CUninstallerFrameWnd::SetSurveyAnswers(uint32_t answerMask,
                                            const std::wstring& otherReasonText) {
    answerMask_ = answerMask;
    otherReasonText_ = otherReasonText;
}

std::wstring CUninstallerFrameWnd::CleanOtherReasonText(const std::wstring& text) {
    std::wstring cleaned;
    cleaned.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r') {
            // Only a line feed belongs to the line end; anything else after a lone CR is text.
            if (i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
            c = L' ';
        }
        if (c == L' ' && !cleaned.empty() && cleaned.back() == L' ')
            continue;
        cleaned += c;
    }
    return cleaned;
}

void CUninstallerFrameWnd::PostProgress(int percentage) {
    if (lastPostedProgress_.exchange(percentage) != percentage && hwnd_)
        PostMessageW(hwnd_, WM_UNINST_PROGRESS, static_cast<WPARAM>(percentage), 0);
}

void CUninstallerFrameWnd::PostStep(int step) {
    // A null window would make PostMessageW queue the message on the calling thread.
    if (hwnd_)
        PostMessageW(hwnd_, WM_UNINST_SET_STEP, static_cast<WPARAM>(step), 0);
}

void CUninstallerFrameWnd::PostConfigError() {
    if (hwnd_)
        PostMessageW(hwnd_, WM_UNINST_CONFIG_ERROR, 0, 0);
}

void CUninstallerFrameWnd::OnProgress(WPARAM percentage) {
    progressValue_ = percentage > 100 ? 100 : static_cast<int>(percentage);
    percentText_ = std::to_wstring(progressValue_) + L"%";
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void CUninstallerFrameWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    if (!percentText_.empty()) {
        RECT rc;
        GetClientRect(hwnd_, &rc);
        DrawTextW(dc, percentText_.c_str(), -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    EndPaint(hwnd_, &ps);
}

CUninstallerFrameWnd::CUninstallerFrameWnd(const wchar_t* commandLine)
    : session_(new UninstallSession(commandLine)) {
    LoadEmbeddedFont(*session_);
}

HWND CUninstallerFrameWnd::Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle,
                                  int x, int y, int cx, int cy) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    if (!GetClassInfoW(instance, kClassName, &wc)) {
        wc.lpfnWndProc = WndProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kClassName;
        if (!RegisterClassW(&wc))
            return nullptr;
    }
    return CreateWindowExW(exStyle, kClassName, title, style, x, y, cx, cy, parent, nullptr,
                           instance, this);
}

void CUninstallerFrameWnd::CenterWindow() {
    RECT rc, work;
    GetWindowRect(hwnd_, &rc);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - w) / 2,
                 work.top + (work.bottom - work.top - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CUninstallerFrameWnd::CloseAndExit() {
    OrderlyClose(hwnd_, *session_, wizardStep_);
}

LRESULT CALLBACK CUninstallerFrameWnd::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CUninstallerFrameWnd* self;
    if (msg == WM_NCCREATE) {
        self = static_cast<CUninstallerFrameWnd*>(
            reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CUninstallerFrameWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    return self->HandleMessage(msg, wParam, lParam);
}

LRESULT CUninstallerFrameWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        session_->SetFrameWindow(hwnd_);
        StartSurveyFetch(*session_);
        RegisterUninstExitMessage();
        CreatePageButtons();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            OnButton(LOWORD(wParam));
        return 0;
    case WM_CLOSE:
        OnCloseButton();
        return 0;
    case WM_UNINST_PROGRESS:
        OnProgress(wParam);
        return 0;
    case WM_UNINST_SET_STEP:
        SetStep(static_cast<int>(wParam));
        return 0;
    case WM_UNINST_CONFIG_ERROR:
        MessageBoxW(hwnd_, L"配置文件读取错误", L"Error", MB_OK);
        CloseAndExit();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
}
