// The grading's time per typed answer against a box with ten variants (every accepted text measured,
// since none is met exactly), beside the grading against the stored answer alone; and the accepted
// answers of a 96-question quiz with three variants per answer: their size, decoded and compressed,
// and the time the player takes to decode and read them at start-up.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "answers/grading.h"
#include "bench/french_text.h"
#include "content/accepted_answers.h"
#include "content/lzw.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Accepted texts one after the other, each ended by a zero byte, as the quiz keeps a box's variants.
std::string Packed(const std::vector<std::string>& texts)
{
    std::string packed;
    for (const std::string& text : texts)
        packed += text + '\0';
    return packed;
}

// A stored answer, ten variants and a typed near miss of one of them. Long texts are the largest an
// answer box holds; with accents forgiven, their ligatures fold to twice their length.
struct Answer {
    std::string stored;
    std::string variants;
    std::string typed;
};

Answer FrenchAnswer()
{
    return {"Charles de Gaulle",
            Packed({"De Gaulle", "G\xE9n\xE9ral de Gaulle", "le G\xE9n\xE9ral", "Charles De Gaulle", "C. de Gaulle",
                    "Le g\xE9n\xE9ral de Gaulle", "Pr\xE9sident de Gaulle", "Charles-de-Gaulle", "Gaulle",
                    "le grand Charles"}),
            "g\xE9n\xE9rale de Gaule"};
}

Answer LongAnswer()
{
    std::vector<std::string> variants;
    for (uint32_t seed = 1; seed <= 10; ++seed)
        variants.push_back(MakeFrenchText(QUIZ_TEXT_MAX_LENGTH, seed));
    std::string typed = variants[4];
    typed[100] = 'x';
    return {MakeFrenchText(QUIZ_TEXT_MAX_LENGTH, 99), Packed(variants), typed};
}

Answer LigatureAnswer()
{
    const std::string ligatures(QUIZ_TEXT_MAX_LENGTH, '\x9C');
    std::vector<std::string> variants(10, ligatures);
    for (size_t i = 0; i < variants.size(); ++i)
        variants[i][i * 20] = 'a';
    return {ligatures.substr(1) + "e", Packed(variants), "OE" + ligatures.substr(2)};
}

void BM_GradeWithTenVariants(benchmark::State& state, Answer (*makeAnswer)(), bool accentsForgiven)
{
    const Answer answer = makeAnswer();
    const BoxVariants variants = {answer.variants.data(), 10};
    for (auto _ : state)
        benchmark::DoNotOptimize(
            GradeAnswerWithVariants(answer.stored.c_str(), variants, accentsForgiven, answer.typed.c_str()));
}

void BM_GradeStoredAnswerOnly(benchmark::State& state, Answer (*makeAnswer)())
{
    const Answer answer = makeAnswer();
    for (auto _ : state)
        benchmark::DoNotOptimize(GradeAnswer(answer.stored.c_str(), answer.typed.c_str()));
}

// Three variants of two or three words for every box of a text quiz of 96 questions.
Bytes QuizVariantsPayload()
{
    std::istringstream words(MakeFrenchText(40000, 7));
    auto accepted = std::make_unique<AcceptedAnswers>();
    ClearAcceptedAnswers(accepted.get(), MAX_QUESTIONS);
    for (int box = 1; box <= MAX_QUESTIONS; ++box) {
        for (int variant = 0; variant < 3; ++variant) {
            std::string text, word;
            for (int n = 2 + (box + variant) % 2; n > 0 && words >> word; --n)
                text += (text.empty() ? "" : " ") + word.substr(0, word.find_first_of(".,?!"));
            if (AddAcceptedVariant(accepted.get(), box, text.c_str()) != ACCEPTED_OK)
                std::abort();
        }
    }
    Bytes payload;
    WriteAcceptedAnswers(*accepted, &payload);
    return payload;
}

void BM_LoadQuizVariants(benchmark::State& state)
{
    const Bytes payload = QuizVariantsPayload();
    unsigned char* stream = nullptr;
    int32_t streamLength = 0;
    if (LzwEncode(payload.data(), static_cast<int32_t>(payload.size()), &stream, &streamLength) != LZW_OK)
        std::abort();
    const Bytes compressed(stream, stream + streamLength - 1);
    std::free(stream);
    auto accepted = std::make_unique<AcceptedAnswers>();
    for (auto _ : state) {
        unsigned char* decoded = nullptr;
        int32_t decodedLength = 0;
        LzwDecode(compressed.data(), static_cast<int32_t>(compressed.size()), &decoded, &decodedLength);
        benchmark::DoNotOptimize(ParseAcceptedAnswers(decoded, payload.size(), accepted.get()));
        std::free(decoded);
    }
    state.counters["decoded_bytes"] = static_cast<double>(payload.size());
    state.counters["compressed_bytes"] = static_cast<double>(compressed.size());
}

BENCHMARK_CAPTURE(BM_GradeStoredAnswerOnly, french, FrenchAnswer);
BENCHMARK_CAPTURE(BM_GradeWithTenVariants, french_strict, FrenchAnswer, false);
BENCHMARK_CAPTURE(BM_GradeWithTenVariants, french_forgiven, FrenchAnswer, true);
BENCHMARK_CAPTURE(BM_GradeStoredAnswerOnly, longest, LongAnswer);
BENCHMARK_CAPTURE(BM_GradeWithTenVariants, longest_strict, LongAnswer, false);
BENCHMARK_CAPTURE(BM_GradeWithTenVariants, longest_forgiven, LongAnswer, true);
BENCHMARK_CAPTURE(BM_GradeWithTenVariants, ligatures_forgiven, LigatureAnswer, true);
BENCHMARK(BM_LoadQuizVariants);

} // namespace

BENCHMARK_MAIN();
