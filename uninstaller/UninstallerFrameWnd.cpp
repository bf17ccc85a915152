#include <windows.h>

#include "uninstaller/FrameMessages.h"
#include "uninstaller/Shutdown.h"
#include "uninstaller/UninstallSession.h"
#include "uninstaller/UninstallerFrameWnd.h"

namespace {
const wchar_t kClassName[] = L"UninstallerFrameWnd";
}

void CUninstallerFrameWnd::SetStep(int step) {
    wizardStep_ = step;
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
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
        RegisterUninstExitMessage();
        session_->SetFrameWindow(hwnd_);
        return 0;
    case WM_CLOSE:
        CloseAndExit();
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
