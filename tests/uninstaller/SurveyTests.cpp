#include <winsock2.h>
#include <windows.h>

#include "tests/support/FileUtil.h"
#include "tests/uninstaller/EventsTestUtil.h"
#include "uninstaller/StatisticsEvents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using TestSupport::ScriptedReply;

namespace {

const char kActiveReply[] =
    u8R"({"active":true,"surveyId":314,"survey":[)"
    u8R"({"title":"为什么离开？","options":["太难","太贵","没时间","其他"]},)"
    u8R"({"title":"Second","options":["a","b"]}]})";

// ---- parsing ----

TEST(ParseSurvey, ActiveReplyFillsTheQuestionnaireInOrder) {
    SurveyInfo survey;
    ASSERT_TRUE(ParseSurvey(survey, kActiveReply));
    EXPECT_TRUE(survey.active);
    EXPECT_EQ(survey.surveyId, 314);
    ASSERT_EQ(survey.questions.size(), 2u);
    EXPECT_EQ(survey.questions[0].title, L"为什么离开？");
    EXPECT_EQ(survey.questions[0].options,
              (std::vector<std::wstring>{L"太难", L"太贵", L"没时间", L"其他"}));
    EXPECT_EQ(survey.questions[1].title, L"Second");
    EXPECT_EQ(survey.questions[1].options, (std::vector<std::wstring>{L"a", L"b"}));
}

TEST(ParseSurvey, EveryQuestionAndOptionIsKept) {
    std::string reply = R"({"active":true,"surveyId":1,"survey":[)";
    for (int q = 0; q < 6; ++q) {
        reply += std::string(q ? "," : "") + R"({"title":"q","options":["1","2","3","4","5","6"]})";
    }
    reply += "]}";
    SurveyInfo survey;
    ASSERT_TRUE(ParseSurvey(survey, reply));
    ASSERT_EQ(survey.questions.size(), 6u);
    EXPECT_EQ(survey.questions[5].options.size(), 6u);
}

TEST(ParseSurvey, InactiveOrAbsentActiveLeavesTheQuestionnaireInactive) {
    for (const char* reply : {R"({"active":false,"surveyId":9,"survey":[{"title":"t"}]})",
                              R"({"surveyId":9,"survey":[]})", "{}"}) {
        SurveyInfo survey;
        ASSERT_TRUE(ParseSurvey(survey, reply)) << reply;
        EXPECT_FALSE(survey.active) << reply;
        EXPECT_EQ(survey.surveyId, 0) << reply;
        EXPECT_TRUE(survey.questions.empty()) << reply;
    }
}

TEST(ParseSurvey, ActiveWithoutQuestionsHasAnEmptyList) {
    SurveyInfo survey;
    ASSERT_TRUE(ParseSurvey(survey, R"({"active":true,"surveyId":3})"));
    EXPECT_TRUE(survey.active);
    EXPECT_EQ(survey.surveyId, 3);
    EXPECT_TRUE(survey.questions.empty());
}

TEST(ParseSurvey, AReplyThatDoesNotParseChangesNothing) {
    SurveyInfo survey;
    ASSERT_TRUE(ParseSurvey(survey, kActiveReply));
    const std::string deep = std::string(5000, '[') + std::string(5000, ']');
    const std::string deepObject = std::string(3000, '{') + std::string(3000, '}');
    for (const std::string& reply :
         {std::string(""), std::string("not json"), std::string(R"({"active":true,)"),
          std::string("[1,2]"), std::string("42"), std::string("\"text\""), deep, deepObject}) {
        SurveyInfo copy = survey;
        EXPECT_FALSE(ParseSurvey(copy, reply)) << reply.substr(0, 40);
        EXPECT_TRUE(copy.active);
        EXPECT_EQ(copy.surveyId, 314);
        EXPECT_EQ(copy.questions.size(), 2u);
    }
}

TEST(ParseSurvey, MembersOfTheWrongTypeCountAsAbsent) {
    SurveyInfo survey;
    ASSERT_TRUE(ParseSurvey(survey, R"({"active":"true","surveyId":5})"));
    EXPECT_FALSE(survey.active);
    ASSERT_TRUE(ParseSurvey(survey, R"({"active":1})"));
    EXPECT_FALSE(survey.active);

    for (const char* id : {R"("12")", "12.5", "1e20", "-1e20", "true", "null", "[]", "{}",
                           "4294967295", "9223372036854775807"}) {
        SurveyInfo typed;
        ASSERT_TRUE(ParseSurvey(typed, std::string(R"({"active":true,"surveyId":)") + id + "}"))
            << id;
        EXPECT_TRUE(typed.active);
        EXPECT_EQ(typed.surveyId, 0) << id;
    }
    SurveyInfo negative;
    ASSERT_TRUE(ParseSurvey(negative, R"({"active":true,"surveyId":-7})"));
    EXPECT_EQ(negative.surveyId, -7);

    SurveyInfo mixed;
    ASSERT_TRUE(ParseSurvey(mixed, R"({"active":true,"surveyId":2,"survey":[)"
                                   R"(7,"text",null,[1],)"
                                   R"({"title":5,"options":"a"},)"
                                   R"({"title":"t","options":["x",1,null,{"a":1},"y"]},)"
                                   R"({})"
                                   R"(]})"));
    ASSERT_EQ(mixed.questions.size(), 3u);
    EXPECT_EQ(mixed.questions[0].title, L"");
    EXPECT_TRUE(mixed.questions[0].options.empty());
    EXPECT_EQ(mixed.questions[1].title, L"t");
    EXPECT_EQ(mixed.questions[1].options, (std::vector<std::wstring>{L"x", L"y"}));
    EXPECT_EQ(mixed.questions[2].title, L"");

    SurveyInfo objectList;
    ASSERT_TRUE(ParseSurvey(objectList, R"({"active":true,"survey":{"title":"t"}})"));
    EXPECT_TRUE(objectList.active);
    EXPECT_TRUE(objectList.questions.empty());
}

// ---- the reply reaching the main window ----

class SurveyTest : public SessionOverLoopback {
protected:
    void SetUp() override {
        SessionOverLoopback::SetUp();
        ASSERT_NE(window.Handle(), nullptr);
        session->SetFrameWindow(window.Handle());
    }

    SurveyWindow window;
};

TEST_F(SurveyTest, ActiveReplyPostsTheSessionToTheMainWindow) {
    HandleSurveyReply(*session, kActiveReply);
    WPARAM wParam = 0;
    ASSERT_TRUE(window.WaitForSurveyMessage(5000, &wParam));
    EXPECT_EQ(wParam, reinterpret_cast<WPARAM>(session.get()));
    const SurveyInfo survey = CopySurveyState(*session);
    EXPECT_TRUE(survey.active);
    EXPECT_EQ(survey.questions.size(), 2u);
}

TEST_F(SurveyTest, InactiveAndMalformedRepliesPostNothing) {
    HandleSurveyReply(*session, R"({"active":false})");
    HandleSurveyReply(*session, "{broken");
    HandleSurveyReply(*session, R"({"active":"yes"})");
    EXPECT_EQ(window.DrainSurveyMessages(), 0);
    EXPECT_FALSE(CopySurveyState(*session).active);
}

TEST_F(SurveyTest, FetchSendsTheGetRequestAndTheReplyReachesTheWindow) {
    server.SetReplyForPath("/survey/1001", ScriptedReply::Ok(kActiveReply));
    StartSurveyFetch(*session);
    WPARAM wParam = 0;
    ASSERT_TRUE(window.WaitForSurveyMessage(20000, &wParam));
    EXPECT_EQ(wParam, reinterpret_cast<WPARAM>(session.get()));

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "/survey/1001?token=token123");
    EXPECT_EQ(requests[0].body, "");

    const SurveyInfo survey = CopySurveyState(*session);
    EXPECT_TRUE(survey.active);
    EXPECT_EQ(survey.surveyId, 314);
    ASSERT_EQ(survey.questions.size(), 2u);
    EXPECT_EQ(survey.questions[0].options[3], L"其他");
}

TEST_F(SurveyTest, RepliesThatAreInactiveMalformedOrTooDeepChangeNothingOnTheDispatcher) {
    // The queue answers in order: when the last reply's message arrives the others were handled.
    server.PushReplyForPath("/survey/1001", ScriptedReply::Ok(R"({"active":false})"));
    server.PushReplyForPath("/survey/1001", ScriptedReply::Ok("{\"active\":tru"));
    server.PushReplyForPath("/survey/1001",
                            ScriptedReply::Ok(std::string(20000, '[') + std::string(20000, ']')));
    server.PushReplyForPath("/survey/1001", ScriptedReply::Ok(R"({"active":[true]})"));
    server.PushReplyForPath("/survey/1001",
                            ScriptedReply::Ok(R"({"active":true,"surveyId":"8","survey":5})"));
    for (int i = 0; i < 5; ++i) {
        StartSurveyFetch(*session);
    }
    ASSERT_TRUE(window.WaitForSurveyMessage(30000));
    EXPECT_EQ(server.RequestCount(), 5u);
    EXPECT_EQ(window.DrainSurveyMessages(), 0);
    const SurveyInfo survey = CopySurveyState(*session);
    EXPECT_TRUE(survey.active);
    EXPECT_EQ(survey.surveyId, 0);
    EXPECT_TRUE(survey.questions.empty());
}

TEST_F(SurveyTest, NoRequestWithoutGameOrToken) {
    session->GetGameConfig()->surveytoken.clear();
    StartSurveyFetch(*session);
    session->GetGameConfig()->surveytoken = "token123";
    const std::string gameId = session->GetGameConfig()->Gameid;
    session->GetGameConfig()->Gameid.clear();
    StartSurveyFetch(*session);
    session->GetGameConfig()->Gameid = gameId;

    server.SetReplyForPath("/survey/1001", ScriptedReply::Ok(kActiveReply));
    StartSurveyFetch(*session);
    ASSERT_TRUE(window.WaitForSurveyMessage(20000));
    ASSERT_EQ(server.RequestCount(), 1u);
    EXPECT_EQ(server.Requests()[0].target, "/survey/1001?token=token123");
}

TEST_F(SurveyTest, CallbackWithoutSessionOrReplyDoesNothing) {
    const auto linkOf = [](const std::shared_ptr<SessionLink>& link) {
        return new std::shared_ptr<SessionLink>(link);
    };
    OnSurveyReply(kActiveReply, "", "", nullptr);
    OnSurveyReply(nullptr, nullptr, nullptr, linkOf(session->Link()));
    // The link a session leaves behind when it is freed before its reply arrives.
    OnSurveyReply(kActiveReply, nullptr, nullptr, linkOf(std::make_shared<SessionLink>()));
    EXPECT_EQ(window.DrainSurveyMessages(), 0);
    OnSurveyReply(kActiveReply, nullptr, nullptr, linkOf(session->Link()));
    EXPECT_TRUE(window.WaitForSurveyMessage(5000));
}

} // namespace
