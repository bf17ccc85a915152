#pragma once
#include <string>
#include <vector>

struct SurveyQuestion {
    std::wstring title;
    std::vector<std::wstring> options;
};

// The questionnaire fetched from the survey service.
struct SurveyInfo {
    bool active = false;
    int surveyId = 0;
    std::vector<SurveyQuestion> questions;
};
