#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

class UninstallSession;

// The uninstaller's main window. Until the skinned wizard replaces it, this
// is a plain window that owns the session and closes in the orderly way.
class CUninstallerFrameWnd {
public:
    explicit CUninstallerFrameWnd(const wchar_t* commandLine);
    CUninstallerFrameWnd(const CUninstallerFrameWnd&) = delete;
    CUninstallerFrameWnd& operator=(const CUninstallerFrameWnd&) = delete;

    HWND Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y, int cx,
                int cy);
    void CenterWindow();
    HWND GetHWND() const { return hwnd_; }
    int GetWizardStep() const { return wizardStep_; }
    UninstallSession* GetSession() const { return session_; }

    void CloseAndExit();

    // Window's thread only.
    void SetStep(int step);

    // The questionnaire's answers: written on the window's thread before the removal worker
    // starts, read by the worker afterwards.
    void SetSurveyAnswers(uint32_t answerMask, const std::wstring& otherReasonText);
    uint32_t GetAnswerMask() const { return answerMask_; }
    const std::wstring& GetOtherReasonText() const { return otherReasonText_; }

    // The free text as the final event carries it: each line end (CR LF, or the lone CR that
    // the rich edit gives) becomes a blank, then every run of blanks a single blank.
    static std::wstring CleanOtherReasonText(const std::wstring& text);

    // Written by the removal worker before the deletion starts.
    void SetFileTotal(uint32_t total) { fileTotal_ = total; }
    uint32_t GetFileTotal() const { return fileTotal_; }

    // Any thread: queue a progress or page change for the window's thread. The progress is
    // posted only when it differs from the last one posted.
    void PostProgress(int percentage);
    void PostStep(int step);
    void PostConfigError();

    // As last received on the window's thread (-1 before the first progress message).
    int GetProgressValue() const { return progressValue_; }
    const std::wstring& GetPercentText() const { return percentText_; }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnProgress(WPARAM percentage);
    void OnPaint();
    void CreatePageButtons();
    void OnButton(int id);
    void OnCloseButton();

    HWND hwnd_ = nullptr;
    UninstallSession* session_ = nullptr;
    std::atomic<uint32_t> fileTotal_{0};
    int wizardStep_ = 0;
    uint32_t answerMask_ = 0;
    std::wstring otherReasonText_;
    std::atomic<int> lastPostedProgress_{-1};
    int progressValue_ = -1;
    std::wstring percentText_;
};
