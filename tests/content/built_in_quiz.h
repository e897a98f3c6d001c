// The small quiz that the loader tests carry as their own "PATCH" resources 104 and 105: the asset
// generator encodes it at build time, and the tests check the loaded record against it.
#pragma once

#include <cstring>
#include <memory>

#include "content/content_format.h"

inline std::unique_ptr<QuizContent> BuiltInQuiz()
{
    auto content = std::make_unique<QuizContent>();
    ClearQuizContent(content.get());
    content->mediaKind = MEDIA_PICTURE;
    content->questionCount = 3;
    content->answersPerQuestion = 2;
    content->revealMode = REVEAL_TEXT_AND_PICTURE;
    content->red = 0x35;
    content->green = 0xCB;
    content->blue = 0xA3;
    std::strcpy(content->title, "Quiz d'\xE9t\xE9");
    std::strcpy(content->creator, "Am\xE9lie");
    std::strcpy(content->explanation, "Trouvez le pr\xE9nom et la ville");
    std::strcpy(content->answerLabel1, "Pr\xE9nom");
    std::strcpy(content->answerLabel2, "Ville");
    const char* questions[3][4] = {{"L\xC9"
                                    "A",
                                    "NANTES", "Qui est-ce ?",
                                    "L\xE9"
                                    "a, de Nantes"},
                                   {"PAUL", "", "Et lui ?", ""},
                                   {"ZO\xC9", "BREST", "Derni\xE8re", "Zo\xE9"}};
    for (int i = 0; i < 3; ++i) {
        std::strcpy(content->questions[i].answer1, questions[i][0]);
        std::strcpy(content->questions[i].answer2, questions[i][1]);
        std::strcpy(content->questions[i].questionText, questions[i][2]);
        std::strcpy(content->questions[i].revealText, questions[i][3]);
    }
    return content;
}

// Codes for the first and third score; the second stays empty.
inline std::unique_ptr<QuizCodes> BuiltInCodes()
{
    auto codes = std::make_unique<QuizCodes>();
    std::memset(codes.get(), 0, sizeof(*codes));
    std::strcpy(codes->codes[0], "CODE-UN");
    std::strcpy(codes->codes[2], "CODE-TROIS");
    return codes;
}
