// The reward-code parser on arbitrary bytes: the first byte picks how many lines are asked for, the
// rest is the decoded codes. Codes parsed from any input are written back and must read the same.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "content/content_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int questionCount = data[0] % (MAX_QUESTIONS + 2);
    auto codes = std::make_unique<QuizCodes>(), again = std::make_unique<QuizCodes>();
    const int found = ParseQuizCodes(data + 1, size - 1, questionCount, codes.get());
    // A parsed code never holds a CR, so the writer takes every set of parsed codes.
    std::vector<unsigned char> written;
    if (found < 0 || found > questionCount || WriteQuizCodes(*codes, questionCount, &written) != CONTENT_OK)
        std::abort();
    ParseQuizCodes(written.data(), written.size(), questionCount, again.get());
    // Codes are zero-terminated texts: a zero byte inside a line ends the code there.
    for (int i = 0; i < MAX_QUESTIONS; ++i) {
        if (std::memchr(codes->codes[i], '\0', QUIZ_TEXT_SIZE) == nullptr ||
            std::strcmp(codes->codes[i], again->codes[i]) != 0)
            std::abort();
    }
    return 0;
}
