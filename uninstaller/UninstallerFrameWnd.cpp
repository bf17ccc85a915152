#include <windows.h>
#include <shellapi.h>

#include "ui/controls/LabelUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"
#include "uninstaller/FinalPageNote.h"
#include "uninstaller/FrameMessages.h"
#include "uninstaller/InstallDirGuard.h"
#include "uninstaller/RemovalEngine.h"
#include "uninstaller/Shutdown.h"
#include "uninstaller/SingleInstance.h"
#include "uninstaller/StatisticsEvents.h"
#include "uninstaller/TextConvert.h"
#include "uninstaller/UninstallSession.h"
#include "uninstaller/UninstallerFrameWnd.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

using SkinUI::CControlUI;
using SkinUI::CWindowManagerUI;

namespace {

const wchar_t kSkinFile[] = L"UninstallFrame.xml";
const wchar_t kTooLongWarning[] = L"其它原因中输入的字数请勿超过140";
// The final page's line below its title: thanks after a clean removal, else what was left.
const wchar_t kFinishNote[] = L"FinishNote";
constexpr int kQuestionSlots = 4;
constexpr int kOptionSlots = 4;

// The folder as the player knows it: an 8.3 spelling, as old shortcuts hold it, in long names.
std::wstring FolderAsKnown(const std::wstring& installDir) {
    const std::wstring longForm = LongForm(NormalizeInstallDir(installDir));
    return longForm.empty() ? installDir : longForm;
}

// The skin archive stays in memory for the life of the process: the manager reads from it
// whenever a page or image is first needed.
bool LoadSkinArchive(UINT resourceId) {
    const HINSTANCE instance = CWindowManagerUI::GetResourceInstance();
    const HRSRC res = ::FindResourceW(instance, MAKEINTRESOURCEW(resourceId), L"ZIPRES");
    if (!res)
        return false;
    const DWORD size = ::SizeofResource(instance, res);
    const HGLOBAL global = ::LoadResource(instance, res);
    if (!global || size == 0)
        return false;
    const void* bytes = ::LockResource(global);
    if (!bytes)
        return false;
    BYTE* copy = new BYTE[size];
    std::memcpy(copy, bytes, size);
    ::FreeResource(global);
    CWindowManagerUI::SetResourceZip(copy, size);
    return true;
}

} // namespace

ComputerExamineUI::ComputerExamineUI() {
    SkinUI::CDialogBuilder builder;
    CControlUI* examine = builder.Create(L"ComputerExamine.xml");
    if (examine)
        Add(examine);
    else
        RemoveAll();
}

CControlUI* CDialogBuilderCallbackEx::CreateControl(LPCWSTR className) {
    if (className && std::wcscmp(className, L"ComputerExamine") == 0)
        return new ComputerExamineUI();
    return nullptr;
}

CUninstallerFrameWnd::CUninstallerFrameWnd(const wchar_t* commandLine, std::wstring instanceName)
    : session_(new UninstallSession(commandLine)), instanceName_(std::move(instanceName)) {
    LoadEmbeddedFont(*session_);
}

CUninstallerFrameWnd::~CUninstallerFrameWnd() {
    if (!removalRunning_ && session_->EventThreads().AllFinished())
        delete session_;
}

LPCWSTR CUninstallerFrameWnd::GetWindowClassName() const {
    return L"UIMainFrame";
}

UINT CUninstallerFrameWnd::GetClassStyle() const {
    return CS_DBLCLKS;
}

void CUninstallerFrameWnd::OnWindowDestroyed(HWND) {
    delete this;
}

UINT CUninstallerFrameWnd::GetSkinResourceID() const {
    return 101;
}

int CUninstallerFrameWnd::GetSkinResourceKind() const {
    return 4;
}

CControlUI* CUninstallerFrameWnd::Find(LPCWSTR name) const {
    return pm_.FindControl(name);
}

void CUninstallerFrameWnd::OnCreate() {
    const bool skin = LoadSkinArchive(GetSkinResourceID());
    if (skin) {
        LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
        style &= ~WS_CAPTION;
        ::SetWindowLongW(m_hWnd, GWL_STYLE, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
        pm_.Init(m_hWnd);
        SkinUI::CDialogBuilder builder;
        CControlUI* root = builder.Create(kSkinFile, nullptr, &builderCallback_, &pm_);
        if (root)
            pm_.AttachRootControl(root);
        pm_.AddNotifyListener(this);
    }
    // Without a skin there is nothing to click, but the session still learns its window and
    // the exit message is still registered, so a removal started by other means reports back.
    InitFrame();
}

void CUninstallerFrameWnd::InitFrame() {
    session_->SetFrameWindow(m_hWnd);
    folderShown_ = FolderAsKnown(session_->GetInstallDir());
    MarkInstanceWindow(m_hWnd, instanceName_);
    StartSurveyFetch(*session_);
    btnClose_ = Find(L"UninstallBtnClose");
    btnMin_ = Find(L"UninstallBtnMin");
    logo_ = Find(L"UninstallLogo");
    if (logo_ && session_->GetGameConfig())
        logo_->SetToolTip((session_->GetGameConfig()->chsName + L"官网").c_str());
    // The progress page's label ("正在卸载：") announces what is removed: the game.
    CControlUI* progressText = Find(L"ProgressText");
    if (progressText && session_->GetGameConfig())
        progressText->SetText(
            (std::wstring(progressText->GetText().GetData()) + session_->GetGameConfig()->chsName)
                .c_str());
    closeStep1_ = Find(L"CloseUnistall01");
    nextStep_ = Find(L"UninstallNextStep");
    closeStep2_ = Find(L"CloseUnistall02");
    beginUninstall_ = Find(L"BeginUnistall");
    finished_ = Find(L"UnistallFinished");
    progressBar_ = Find(L"UninstallProgressBar");
    percentCtl_ = Find(L"UninstallPercentText");
    wchar_t name[32];
    for (int i = 0; i < 4; ++i) {
        std::swprintf(name, 32, L"Uninstall_Step_%02d", i + 1);
        pages_[i] = Find(name);
    }
    for (int i = 0; i < 4; ++i) {
        std::swprintf(name, 32, L"Game%02d", i + 1);
        games_[i] = Find(name);
    }
    HideEmptyAdButtons();
    RegisterUninstExitMessage();
}

void CUninstallerFrameWnd::HideEmptyAdButtons() {
    wchar_t name[32];
    int shown = 0;
    for (int n = 1; n <= 4; ++n) {
        std::swprintf(name, 32, L"Game%02d", n);
        CControlUI* game = Find(name);
        if (!game || !game->GetUserData().IsEmpty()) {
            shown += game ? 1 : 0;
            continue;
        }
        game->SetVisible(false);
        std::swprintf(name, 32, L"Game%02dControl", n);
        if (CControlUI* spacer = Find(name))
            spacer->SetVisible(false);
    }
    // No title above an empty row.
    if (shown == 0 && Find(L"ADTitle"))
        Find(L"ADTitle")->SetVisible(false);
}

void CUninstallerFrameWnd::SetStep(int step) {
    for (int i = 0; i < 4; ++i) {
        if (pages_[i])
            pages_[i]->SetVisible(i + 1 == step);
    }
    wizardStep_ = step;
    if (step == kFinalWizardStep)
        ShowFilesLeft();
}

void CUninstallerFrameWnd::ShowFilesLeft() {
    const unsigned left = filesLeft_;
    auto* note = dynamic_cast<SkinUI::CLabelUI*>(Find(kFinishNote));
    if (left == 0 || !note)
        return;
    const RECT padding = note->GetTextPadding();
    const int width = note->GetFixedWidth() - padding.left - padding.right;
    const SkinUI::CMemoryDC dc(nullptr);
    const SkinUI::CSelectObject font(dc.Get(), pm_.GetFont(note->GetFont()));
    const auto measure = [&](const std::wstring& text) {
        SIZE size = {};
        ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    note->SetText(FilesLeftNote(left, folderShown_, width, measure).c_str());
}

void CUninstallerFrameWnd::BuildQuestionnaire() {
    wchar_t name[32];
    const int count = static_cast<int>(survey_.questions.size());
    for (int n = 1; n <= kQuestionSlots; ++n) {
        std::swprintf(name, 32, L"surveyType%d", n);
        CControlUI* label = Find(name);
        std::swprintf(name, 32, L"Questionnaire%d", n);
        CControlUI* row = Find(name);
        if (n > count) {
            if (row)
                row->SetVisible(false);
            continue;
        }
        const SurveyQuestion& question = survey_.questions[n - 1];
        if (label)
            label->SetText(question.title.c_str());
        for (int m = 1; m <= kOptionSlots; ++m) {
            std::swprintf(name, 32, L"%d-%d", n, m);
            CControlUI* option = Find(name);
            if (!option)
                continue;
            if (m <= static_cast<int>(question.options.size()))
                option->SetText(question.options[m - 1].c_str());
            else
                option->SetVisible(false);
        }
    }
}

void CUninstallerFrameWnd::CollectSurveyAnswers(uint32_t& mask, std::wstring& text) {
    wchar_t name[32];
    mask = 0;
    const int count = static_cast<int>(survey_.questions.size());
    for (int n = 1; n <= kQuestionSlots; ++n) {
        if (n > count) {
            mask *= 16;
            continue;
        }
        for (int m = 1; m <= kOptionSlots; ++m) {
            std::swprintf(name, 32, L"%d-%d", n, m);
            auto* option = dynamic_cast<SkinUI::COptionUI*>(Find(name));
            mask = mask * 2 + ((option && option->IsSelected()) ? 1 : 0);
        }
    }
    mask &= 0xFFFF;
    CControlUI* other = Find(L"OtherReason");
    text = other ? std::wstring(other->GetText().GetData()) : std::wstring();
    answerMask_ = mask;
    otherReasonText_ = text;
}

void CUninstallerFrameWnd::CopySurveyFromSession(const SurveyInfo& survey) {
    survey_.active = survey.active;
    survey_.surveyId = survey.surveyId;
    survey_.questions = survey.questions;
}

RemovalRequest CUninstallerFrameWnd::GetRemovalRequest() const {
    RemovalRequest request;
    request.session = session_;
    request.answerMask = answerMask_;
    request.otherReasonText = otherReasonText_;
    return request;
}

void CUninstallerFrameWnd::StartRemoval() {
    removalRunning_ = true;
    // Without its worker the progress page would never move: report the configuration error.
    if (!StartUninstallWorker(GetRemovalRequest(), *this)) {
        removalRunning_ = false;
        PostConfigError();
    }
}

void CUninstallerFrameWnd::OnRemovalProgress(int percentage) {
    PostProgress(percentage);
}

void CUninstallerFrameWnd::OnRemovalStep(RemovalStep, unsigned fileTotal) {
    fileTotal_ = fileTotal;
}

void CUninstallerFrameWnd::OnFileNotDeleted(const std::wstring&, DWORD) {
    ++filesLeft_;
}

void CUninstallerFrameWnd::OnConfigError() {
    PostConfigError();
    removalRunning_ = false;
}

void CUninstallerFrameWnd::OnRemovalFinished() {
    PostStep(kFinalWizardStep);
    removalRunning_ = false;
}

void CUninstallerFrameWnd::Notify(SkinUI::TNoticeUI& msg) {
    if (!(msg.sType == L"click"))
        return;
    CControlUI* sender = msg.pSender;
    if (!sender)
        return;
    if (sender == btnClose_) {
        if (IsFirstPage())
            SendEvent(*session_, EVENT_USER_STAYED, nullptr, 0, nullptr);
        CloseAndExit();
    } else if (sender == btnMin_) {
        ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (sender == logo_) {
        if (const GameConfig* config = session_->GetGameConfig())
            ::ShellExecuteW(m_hWnd, L"open", config->website.c_str(), L"", nullptr, 0);
    } else if (sender == closeStep1_ || sender == closeStep2_) {
        SendEvent(*session_, EVENT_USER_STAYED, nullptr, 0, nullptr);
        CloseAndExit();
    } else if (sender == nextStep_) {
        if (survey_.questions.empty()) {
            SendEvent(*session_, EVENT_UNINSTALL_CONFIRMED, nullptr, 0, nullptr);
            SetStep(3);
            StartRemoval();
        } else {
            BuildQuestionnaire();
            SetStep(2);
        }
    } else if (sender == beginUninstall_) {
        uint32_t mask = 0;
        std::wstring text;
        CollectSurveyAnswers(mask, text);
        if (text.size() <= kMaxOtherReasonLength) {
            SetStep(3);
            StartRemoval();
            SendEvent(*session_, EVENT_UNINSTALL_CONFIRMED, nullptr, 0, nullptr);
        } else {
            ::MessageBoxW(m_hWnd, kTooLongWarning, L"warning", MB_OK);
        }
    } else if (sender == finished_) {
        CloseAndExit();
    } else {
        for (CControlUI* game : games_) {
            if (game && sender == game)
                ::ShellExecuteW(m_hWnd, L"open", game->GetUserData().GetData(), L"", nullptr, 0);
        }
    }
}

std::wstring CUninstallerFrameWnd::CleanOtherReasonText(const std::wstring& text) {
    return ::CleanOtherReasonText(text);
}

void CUninstallerFrameWnd::PostProgress(int percentage) {
    if (lastPostedProgress_.exchange(percentage) != percentage && m_hWnd)
        ::PostMessageW(m_hWnd, WM_UNINST_PROGRESS, static_cast<WPARAM>(percentage), 0);
}

void CUninstallerFrameWnd::PostStep(int step) {
    // A null window would make PostMessageW queue the message on the calling thread.
    if (m_hWnd)
        ::PostMessageW(m_hWnd, WM_UNINST_SET_STEP, static_cast<WPARAM>(step), 0);
}

void CUninstallerFrameWnd::PostConfigError() {
    if (m_hWnd)
        ::PostMessageW(m_hWnd, WM_UNINST_CONFIG_ERROR, 0, 0);
}

void CUninstallerFrameWnd::OnProgress(WPARAM percentage) {
    progressValue_ = percentage > 100 ? 100 : static_cast<int>(percentage);
    percentText_ = std::to_wstring(progressValue_) + L"%";
    if (auto* bar = dynamic_cast<SkinUI::CProgressUI*>(progressBar_))
        bar->SetValue(progressValue_);
    if (percentCtl_)
        percentCtl_->SetText(percentText_.c_str());
}

void CUninstallerFrameWnd::CloseAndExit() {
    OrderlyClose(m_hWnd, *session_, wizardStep_);
}

void CUninstallerFrameWnd::OnSize() {
    const SIZE corner = pm_.GetRoundCorner();
    if (::IsIconic(m_hWnd) || (corner.cx == 0 && corner.cy == 0))
        return;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    ::OffsetRect(&rc, -rc.left, -rc.top);
    const HRGN region =
        ::CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, corner.cx, corner.cy);
    ::SetWindowRgn(m_hWnd, region, TRUE);
    ::DeleteObject(region);
}

void CUninstallerFrameWnd::OnGetMinMaxInfo(LPARAM lParam) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &info);
    auto* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
    mmi->ptMaxPosition.x = info.rcWork.left - info.rcMonitor.left;
    mmi->ptMaxPosition.y = info.rcWork.top - info.rcMonitor.top;
    mmi->ptMaxSize.x = info.rcWork.right - info.rcMonitor.left;
    mmi->ptMaxSize.y = info.rcWork.bottom - info.rcMonitor.top;
}

LRESULT CUninstallerFrameWnd::OnNcHitTest(LPARAM lParam) {
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ScreenToClient(m_hWnd, &pt);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const RECT caption = pm_.GetCaptionRect();
    if (pt.x >= client.left + caption.left && pt.x < client.right - caption.right &&
        pt.y >= caption.top && pt.y < caption.bottom) {
        // Buttons (options and check boxes among them) and texts take their clicks; the rest of
        // the caption drags the window.
        CControlUI* control = pm_.FindControlAt(pt);
        if (control && !control->QueryInterfaceByName(L"Button") &&
            !control->QueryInterfaceByName(L"Text"))
            return HTCAPTION;
    }
    return HTCLIENT;
}

LRESULT CUninstallerFrameWnd::OnNcActivate(WPARAM wParam, LPARAM, bool& handled) {
    if (::IsIconic(m_hWnd)) {
        handled = false;
        return 0;
    }
    handled = true;
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT CUninstallerFrameWnd::OnSysCommand(WPARAM wParam, LPARAM lParam) {
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        ::PostQuitMessage(0);
        return 0;
    }
    // The skin has no maximise or restore button to keep in step with the window.
    return CWindowWnd::HandleMessage(WM_SYSCOMMAND, wParam, lParam);
}

LRESULT CUninstallerFrameWnd::PassOn(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (pm_.HandleWindowMessage(msg, wParam, lParam, result))
        return result;
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

LRESULT CUninstallerFrameWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_DESTROY:
        // The platform does not free a window's properties with it: the mark goes first.
        UnmarkInstanceWindow(m_hWnd, instanceName_);
        ::PostQuitMessage(0);
        break;
    case WM_SIZE:
        OnSize();
        break;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(lParam);
        break;
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
        return 0;
    case WM_NCHITTEST:
        return OnNcHitTest(lParam);
    case WM_NCACTIVATE: {
        bool handled = false;
        const LRESULT result = OnNcActivate(wParam, lParam, handled);
        if (handled)
            return result;
        break;
    }
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam, lParam);
    case WM_UNINST_SURVEY_READY:
        // The survey lives in the session this window holds; wParam is not trusted.
        CopySurveyFromSession(CopySurveyState(*session_));
        return 0;
    case WM_UNINST_PROGRESS:
        OnProgress(wParam);
        return 0;
    case WM_UNINST_SET_STEP:
        SetStep(static_cast<int>(wParam));
        return 0;
    case WM_UNINST_CONFIG_ERROR:
        ::MessageBoxW(m_hWnd, L"配置文件读取错误", L"Error", MB_OK);
        CloseAndExit();
        return 0;
    default:
        break;
    }
    return PassOn(msg, wParam, lParam);
}
