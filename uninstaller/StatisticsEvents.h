#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "uninstaller/SurveyInfo.h"

class UninstallSession;

// The uninstaller's statistics events.
#define EVENT_UNINSTALL_CONFIRMED "12040000"
#define EVENT_USER_STAYED "12050000"
#define EVENT_REMOVAL_FINISHED "12060000"
#define EVENT_FILE_NOT_DELETED "12990201"

// Posted to the main window when a questionnaire has arrived; wParam is the session.
constexpr UINT WM_UNINST_SURVEY_READY = WM_USER + 1;

// What one event thread is handed; allocated zero-filled with malloc, freed by the thread. Texts
// are UTF-8, empty meaning absent.
struct EventJob {
    char event[260];
    char errorMsg[2600];
    char survey[260];
    int32_t surveyId;
    UninstallSession* session;
};

// Starts the event on a thread of its own (kept in the session's event-thread list) and returns
// at once. errorMsg is UTF-8; a text longer than the job holds is cut at a character boundary.
void SendEvent(UninstallSession& session, const char* event, const char* survey, int surveyId,
               const char* errorMsg);

// Thread entry of SendEvent: sends the job's event and frees the job.
unsigned __stdcall EventThreadProc(void* job);

// One report through a fresh statistics component, on the caller's thread.
void SendEventNow(UninstallSession& session, const char* event, const char* survey, int surveyId,
                  const char* errorMsg);

// The members the uninstaller adds to every report, as object members each preceded by a comma;
// every value JSON-escaped. errorMsg and survey are UTF-8; empty ones are left out.
std::wstring BuildEventExtraJson(const UninstallSession& session, const char* survey, int surveyId,
                                 const char* errorMsg);

// The final event with the questionnaire's answers and free text, then the plug-in's final call.
void SubmitSurvey(UninstallSession& session, uint32_t answerMask, const std::wstring& freeText);

// Twenty '0' or '1', the low 20 bits of the mask, most significant first.
std::string AnswerString(uint32_t answerMask);

// "a.b.c.d" of the file's product version (the running executable's for null); empty when the
// file has no version information.
std::string GetProductVersionString(const wchar_t* path);

// Queues the questionnaire request when the configuration names a game and a survey token.
void StartSurveyFetch(UninstallSession& session);

// The request queue's callback for the questionnaire reply (dispatcher thread). context is a
// heap copy of the session's link (std::shared_ptr<SessionLink>*), which the callback frees.
void OnSurveyReply(const char* reply, const char* data, const char* tag, void* context);

// Reads a survey reply into survey. False, with survey unchanged, when the reply is not a JSON
// object or is longer than the transport keeps of a reply (kMaxHttpReplyBytes). Members of another
// type than expected count as absent.
bool ParseSurvey(SurveyInfo& survey, const std::string& reply);

// ParseSurvey into the session's survey state, then, for an active questionnaire, posts
// WM_UNINST_SURVEY_READY to the session's main window. Nothing it meets escapes as an exception.
void HandleSurveyReply(UninstallSession& session, const std::string& reply);

// A consistent copy of the session's survey state (it is written on the request queue's thread).
SurveyInfo CopySurveyState(UninstallSession& session);

// JSON string escaping for values written between quotes: quote, backslash and control
// characters; everything else stays as it is.
std::wstring JsonEscape(const std::wstring& text);
