#pragma once
#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/DialogBuilder.h"
#include "ui/WindowManagerUI.h"
#include "ui/WindowWnd.h"
#include "uninstaller/RemovalEngine.h"
#include "uninstaller/SurveyInfo.h"

#include <atomic>
#include <cstdint>
#include <string>

class UninstallSession;

// A container filled from "ComputerExamine.xml"; offered to skins that use the tag.
class ComputerExamineUI : public SkinUI::CContainerUI {
public:
    ComputerExamineUI();
};

// Makes the application's own skin tags.
class CDialogBuilderCallbackEx : public SkinUI::IDialogBuilderCallback {
public:
    SkinUI::CControlUI* CreateControl(LPCWSTR className) override;
};

// The uninstaller's only window: the borderless, skinned four-page wizard.
class CUninstallerFrameWnd : public SkinUI::CWindowWnd,
                             public SkinUI::INotifyUI,
                             public IRemovalObserver {
public:
    // The window marks itself with the instance name (InstanceNameOf) of the installation that
    // the command line names, which its process holds the lock of.
    CUninstallerFrameWnd(const wchar_t* commandLine, std::wstring instanceName);
    // Frees the session, unless a thread still works with it (a removal in its middle, an event
    // still being sent): then the process is ending, and the session stays with it.
    ~CUninstallerFrameWnd();

    LPCWSTR GetWindowClassName() const override;
    UINT GetClassStyle() const override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnWindowDestroyed(HWND hWnd) override;
    virtual UINT GetSkinResourceID() const;
    virtual int GetSkinResourceKind() const;

    void Notify(SkinUI::TNoticeUI& msg) override;

    int GetWizardStep() const { return wizardStep_; }
    UninstallSession* GetSession() const { return session_; }

    void CloseAndExit();

    // Window's thread only.
    void SetStep(int step);

    // The free text as the final event carries it: each line end (CR LF, or the lone CR that
    // the rich edit gives) becomes a blank, then every run of blanks a single blank.
    static std::wstring CleanOtherReasonText(const std::wstring& text);

    // The removal this window starts: its session and the questionnaire's answers.
    RemovalRequest GetRemovalRequest() const;

    // The removal's reports, on its worker thread: each is posted to the window's thread.
    void OnRemovalProgress(int percentage) override;
    void OnRemovalStep(RemovalStep step, unsigned fileTotal) override;
    void OnFileNotDeleted(const std::wstring& lowerName, DWORD error) override;
    void OnConfigError() override;
    void OnRemovalFinished() override;

    // Any thread: queue a progress or page change for the window's thread. The progress is
    // posted only when it differs from the last one posted.
    void PostProgress(int percentage);
    void PostStep(int step);
    void PostConfigError();

    // As last received on the window's thread (-1 before the first progress message).
    int GetProgressValue() const { return progressValue_; }
    const std::wstring& GetPercentText() const { return percentText_; }

    // The questionnaire's free text may hold at most this many UTF-16 code units.
    static constexpr size_t kMaxOtherReasonLength = 140;

private:
    void OnCreate();
    void InitFrame();
    void HideEmptyAdButtons();
    void BuildQuestionnaire();
    void CollectSurveyAnswers(uint32_t& mask, std::wstring& text);
    void CopySurveyFromSession(const SurveyInfo& survey);
    void StartRemoval();
    void ShowFilesLeft();
    void OnProgress(WPARAM percentage);
    void OnSize();
    void OnGetMinMaxInfo(LPARAM lParam);
    LRESULT OnNcHitTest(LPARAM lParam);
    LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT PassOn(UINT msg, WPARAM wParam, LPARAM lParam);
    SkinUI::CControlUI* Find(LPCWSTR name) const;
    bool IsFirstPage() const { return wizardStep_ == 0 || wizardStep_ == 1; }

    SkinUI::CWindowManagerUI pm_;
    SkinUI::CControlUI* progressBar_ = nullptr;
    SkinUI::CControlUI* percentCtl_ = nullptr;
    UninstallSession* session_ = nullptr;
    std::atomic<uint32_t> fileTotal_{0};
    std::atomic<bool> removalRunning_{false};
    // Files and folders the removal reported as left behind; the final page tells the player.
    std::atomic<unsigned> filesLeft_{0};
    const std::wstring instanceName_;
    // Made when the window starts, while the folder is there to tell it: the removal takes the
    // folder away.
    std::wstring folderShown_;
    int wizardStep_ = 0;
    SkinUI::CControlUI* btnClose_ = nullptr;
    SkinUI::CControlUI* btnMin_ = nullptr;
    SkinUI::CControlUI* logo_ = nullptr;
    SkinUI::CControlUI* closeStep1_ = nullptr;
    SkinUI::CControlUI* nextStep_ = nullptr;
    SkinUI::CControlUI* closeStep2_ = nullptr;
    SkinUI::CControlUI* beginUninstall_ = nullptr;
    SkinUI::CControlUI* finished_ = nullptr;
    SkinUI::CControlUI* games_[4] = {};
    SkinUI::CControlUI* pages_[4] = {};
    SurveyInfo survey_;
    uint32_t answerMask_ = 0;
    std::wstring otherReasonText_;
    CDialogBuilderCallbackEx builderCallback_;
    std::atomic<int> lastPostedProgress_{-1};
    int progressValue_ = -1;
    std::wstring percentText_;
};
