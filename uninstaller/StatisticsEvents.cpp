#include <windows.h>

#include "statistics/TextHelpers.h"
#include "statistics/DataStatistics.h"
#include "statistics/HttpRequestQueue.h"
#include "statistics/HttpTransport.h"
#include "uninstaller/StatisticsEvents.h"
#include "uninstaller/TextConvert.h"
#include "uninstaller/UninstallSession.h"

#include <json/json.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

namespace {

constexpr int kWizardHardwareMask = 7;
constexpr int kMachineIdBufferBytes = 2600;
constexpr unsigned kAnswerDigits = 20;

// Written on the request queue's dispatcher thread, read on the main thread and the removal
// worker. Never destroyed: the dispatcher runs until the process ends.
std::mutex& SurveyStateLock() {
    static std::mutex* const lock = new std::mutex;
    return *lock;
}

// Copies at most N-1 bytes; the rest of the zero-filled field stays zero.
template <size_t N> void CopyText(char (&field)[N], const char* text) {
    if (text == nullptr) {
        return;
    }
    const size_t length = ::strnlen(text, N - 1);
    std::memcpy(field, text, length);
}

// As CopyText, but a cut never splits a UTF-8 sequence.
template <size_t N> void CopyUtf8Text(char (&field)[N], const char* text) {
    if (text == nullptr) {
        return;
    }
    size_t length = ::strnlen(text, N - 1);
    if (text[length] != '\0') {
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
            --length;
        }
    }
    std::memcpy(field, text, length);
}

bool IsWizardEvent(const char* event) {
    return event != nullptr && (std::strcmp(event, EVENT_UNINSTALL_CONFIRMED) == 0 ||
                                std::strcmp(event, EVENT_USER_STAYED) == 0 ||
                                std::strcmp(event, EVENT_REMOVAL_FINISHED) == 0);
}

std::wstring Member(const wchar_t* name, const std::wstring& value) {
    return std::wstring(L",\"") + name + L"\":\"" + JsonEscape(value) + L"\"";
}

// A moveable global memory block, locked while the object lives.
class LockedGlobalBlock {
public:
    explicit LockedGlobalBlock(DWORD size)
        : handle_(::GlobalAlloc(GMEM_MOVEABLE, size)),
          data_(handle_ != nullptr ? ::GlobalLock(handle_) : nullptr) {}
    ~LockedGlobalBlock() {
        if (data_ != nullptr) {
            ::GlobalUnlock(handle_);
        }
        if (handle_ != nullptr) {
            ::GlobalFree(handle_);
        }
    }
    LockedGlobalBlock(const LockedGlobalBlock&) = delete;
    LockedGlobalBlock& operator=(const LockedGlobalBlock&) = delete;
    void* Data() const { return data_; }

private:
    HGLOBAL handle_;
    void* data_;
};

bool IsInt32(const Json::Value& value) {
    return (value.type() == Json::intValue || value.type() == Json::uintValue) && value.isInt();
}

std::wstring WideOf(const Json::Value& value) {
    return Utf8ToWide(value.asString().c_str());
}

SurveyQuestion QuestionFrom(const Json::Value& element) {
    SurveyQuestion question;
    const Json::Value& title = element["title"];
    if (title.isString()) {
        question.title = WideOf(title);
    }
    const Json::Value& options = element["options"];
    if (options.isArray()) {
        for (const Json::Value& option : options) {
            if (option.isString()) {
                question.options.push_back(WideOf(option));
            }
        }
    }
    return question;
}

bool ParseJsonObject(const std::string& text, Json::Value& root) {
    Json::CharReaderBuilder builder;
    builder["collectComments"] = false;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    try {
        if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors)) {
            return false;
        }
    } catch (const std::exception&) {
        // The reader throws for nesting deeper than it allows.
        return false;
    }
    return root.isObject();
}

} // namespace

std::wstring JsonEscape(const std::wstring& text) {
    std::wstring escaped;
    escaped.reserve(text.size());
    for (const wchar_t c : text) {
        switch (c) {
        case L'"':
            escaped += L"\\\"";
            break;
        case L'\\':
            escaped += L"\\\\";
            break;
        case L'\b':
            escaped += L"\\b";
            break;
        case L'\f':
            escaped += L"\\f";
            break;
        case L'\n':
            escaped += L"\\n";
            break;
        case L'\r':
            escaped += L"\\r";
            break;
        case L'\t':
            escaped += L"\\t";
            break;
        default:
            if (c < 0x20) {
                wchar_t code[8] = {};
                std::swprintf(code, 8, L"\\u%04x", static_cast<unsigned>(c));
                escaped += code;
            } else {
                escaped += c;
            }
        }
    }
    return escaped;
}

std::string AnswerString(uint32_t answerMask) {
    std::string answers(kAnswerDigits, '0');
    for (unsigned bit = 0; bit < kAnswerDigits; ++bit) {
        if ((answerMask & (1u << bit)) != 0) {
            answers[kAnswerDigits - 1 - bit] = '1';
        }
    }
    return answers;
}

std::string GetProductVersionString(const wchar_t* path) {
    const std::wstring file = path != nullptr ? std::wstring(path) : ModulePath(nullptr);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) {
        return std::string();
    }
    const LockedGlobalBlock block(size);
    if (block.Data() == nullptr || !::GetFileVersionInfoW(file.c_str(), 0, size, block.Data())) {
        return std::string();
    }
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!::VerQueryValueW(block.Data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) ||
        info == nullptr || infoSize < sizeof(VS_FIXEDFILEINFO)) {
        return std::string();
    }
    char text[64] = {};
    std::snprintf(text, sizeof(text), "%d.%d.%d.%d", HIWORD(info->dwProductVersionMS),
                  LOWORD(info->dwProductVersionMS), HIWORD(info->dwProductVersionLS),
                  LOWORD(info->dwProductVersionLS));
    return text;
}

std::wstring BuildEventExtraJson(const UninstallSession& session, const char* survey, int surveyId,
                                 const char* errorMsg) {
    char machId[kMachineIdBufferBytes] = {};
    GetDefaultMachineId(machId, kMachineIdBufferBytes);
    const GameConfig* config = session.GetGameConfig();
    const std::string gameId = config != nullptr ? config->Gameid : std::string();
    const std::string gameVersion = config != nullptr ? config->Gversion : std::string();

    std::wstring fragment = L",\"DVersion\":\"1.8\"";
    fragment += Member(L"Machid", Utf8ToWide(machId));
    fragment += Member(L"AppVersion", Utf8ToWide(GetProductVersionString(nullptr).c_str()));
    fragment += Member(L"GameID", Utf8ToWide(gameId.c_str()));
    fragment += Member(L"GVersion", Utf8ToWide(gameVersion.c_str()));
    if (errorMsg != nullptr && errorMsg[0] != '\0') {
        fragment += Member(L"ErrorMsg", Utf8ToWide(errorMsg));
    }
    if (survey != nullptr && survey[0] != '\0') {
        fragment += Member(L"survey", Utf8ToWide(survey));
        fragment += Member(L"surveyid", std::to_wstring(surveyId));
    }
    return fragment;
}

void SendEventNow(UninstallSession& session, const char* event, const char* survey, int surveyId,
                  const char* errorMsg) {
    IDataStatisticsUser* statistics = nullptr;
    CreateDataStatisticsObject(DATA_STATISTICS_USER_IID, &statistics);
    if (statistics == nullptr) {
        return;
    }
    struct Release {
        IDataStatisticsUser*& object;
        ~Release() { ReleaseDataStatisticsObject(&object); }
    } release{statistics};

    statistics->SetServerListPath(session.GetServerListPath().c_str());
    int mask = IsWizardEvent(event) ? kWizardHardwareMask : 0;
    const std::wstring fragment = BuildEventExtraJson(session, survey, surveyId, errorMsg);
    // The wide form: file names, system texts and free text reach the server as UTF-8 whatever
    // the system's code page.
    statistics->SubmitEventInst(Utf8ToWide(event).c_str(), fragment.c_str(), &mask);
}

unsigned __stdcall EventThreadProc(void* argument) {
    EventJob* const job = static_cast<EventJob*>(argument);
    if (job == nullptr) {
        return 0;
    }
    try {
        if (job->session != nullptr) {
            SendEventNow(*job->session, job->event, job->survey, job->surveyId, job->errorMsg);
        }
    } catch (...) {
        // An event that cannot be sent is dropped; the uninstall goes on.
    }
    std::free(job);
    return 0;
}

void SendEvent(UninstallSession& session, const char* event, const char* survey, int surveyId,
               const char* errorMsg) {
    EventJob* const job = static_cast<EventJob*>(std::calloc(1, sizeof(EventJob)));
    if (job == nullptr) {
        return;
    }
    CopyText(job->event, event);
    if (errorMsg != nullptr && errorMsg[0] != '\0') {
        CopyUtf8Text(job->errorMsg, errorMsg);
    }
    if (survey != nullptr && survey[0] != '\0') {
        CopyText(job->survey, survey);
    }
    job->surveyId = surveyId;
    job->session = &session;
    if (!session.EventThreads().Start(&EventThreadProc, job)) {
        std::free(job);
    }
}

void SubmitSurvey(UninstallSession& session, uint32_t answerMask, const std::wstring& freeText) {
    const std::string answers = AnswerString(answerMask);
    // UTF-8 rather than the system's code page, so that the text survives on any system.
    const std::string text = WideToUtf8(freeText);
    int surveyId = 0;
    {
        const std::lock_guard<std::mutex> guard(SurveyStateLock());
        surveyId = session.Survey().surveyId;
    }
    SendEvent(session, EVENT_REMOVAL_FINISHED, answers.c_str(), surveyId, text.c_str());
    if (session.plugin != nullptr) {
        session.plugin->OnUninstallComplete();
    }
}

void StartSurveyFetch(UninstallSession& session) {
    const GameConfig* config = session.GetGameConfig();
    if (config == nullptr || config->Gameid.empty() || config->surveytoken.empty()) {
        return;
    }
    static const HttpResultCallback kCallbacks[] = {&OnSurveyReply, nullptr};
    const std::string data = "token=" + config->surveytoken;
    const std::string url = config->surveyurl + config->Gameid;
    // The reply reaches the session through its link, handed over to the callback.
    std::unique_ptr<std::shared_ptr<SessionLink>> link(
        new std::shared_ptr<SessionLink>(session.Link()));
    EnqueueHttpRequest(data.c_str(), url.c_str(), kCallbacks, 0, "", 0, "", link.release());
}

bool ParseSurvey(SurveyInfo& survey, const std::string& reply) {
    Json::Value parsedRoot;
    // Parsed values cost many times their text: a reply beyond what the transport keeps is no
    // survey, whoever hands it over.
    if (reply.size() > kMaxHttpReplyBytes || !ParseJsonObject(reply, parsedRoot)) {
        return false;
    }
    // Read-only access: looking a member up must not add it.
    const Json::Value& root = parsedRoot;
    SurveyInfo parsed = survey;
    const Json::Value& active = root["active"];
    parsed.active = active.isBool() && active.asBool();
    if (parsed.active) {
        const Json::Value& surveyId = root["surveyId"];
        parsed.surveyId = IsInt32(surveyId) ? surveyId.asInt() : 0;
        parsed.questions.clear();
        const Json::Value& questions = root["survey"];
        if (questions.isArray()) {
            for (const Json::Value& element : questions) {
                if (element.isObject()) {
                    parsed.questions.push_back(QuestionFrom(element));
                }
            }
        }
    }
    survey = std::move(parsed);
    return true;
}

SurveyInfo CopySurveyState(UninstallSession& session) {
    const std::lock_guard<std::mutex> guard(SurveyStateLock());
    return session.Survey();
}

void HandleSurveyReply(UninstallSession& session, const std::string& reply) {
    try {
        SurveyInfo updated = CopySurveyState(session);
        if (!ParseSurvey(updated, reply)) {
            return;
        }
        const bool active = updated.active;
        {
            const std::lock_guard<std::mutex> guard(SurveyStateLock());
            session.Survey() = std::move(updated);
        }
        const HWND frame = session.GetFrameWindow();
        if (active && frame != nullptr) {
            ::PostMessageW(frame, WM_UNINST_SURVEY_READY, reinterpret_cast<WPARAM>(&session), 0);
        }
    } catch (...) {
        // Out of memory while copying the questionnaire: the wizard goes on without it.
    }
}

void OnSurveyReply(const char* reply, const char* /*data*/, const char* /*tag*/, void* context) {
    const std::unique_ptr<std::shared_ptr<SessionLink>> link(
        static_cast<std::shared_ptr<SessionLink>*>(context));
    if (link == nullptr || *link == nullptr || reply == nullptr) {
        return;
    }
    // Held while the reply is handled, so that the session cannot go meanwhile.
    const std::lock_guard<std::mutex> guard((*link)->lock);
    if ((*link)->session == nullptr) {
        return;
    }
    try {
        HandleSurveyReply(*(*link)->session, reply);
    } catch (...) {
        // Copying the reply failed; nothing may end the dispatcher thread.
    }
}
