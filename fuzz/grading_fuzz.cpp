// Any two texts (the input split at its first zero byte) must grade to one of the ten verdicts, with
// accents strict or forgiven, and with a distance inside its bounds, whatever their length or bytes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "answers/grading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    const char* split = static_cast<const char*>(std::memchr(bytes, 0, size));
    const std::string expected(bytes, split ? split : bytes + size);
    const std::string typed = split ? std::string(split + 1, bytes + size) : std::string();
    // With accents forgiven, folded texts may grow to twice their length.
    for (const char* verdict : {GradeAnswer(expected.c_str(), typed.c_str()),
                                GradeAnswerWithVariants(expected.c_str(), {nullptr, 0}, true, typed.c_str())}) {
        if (std::find(std::begin(ALL_VERDICTS), std::end(ALL_VERDICTS), verdict) == std::end(ALL_VERDICTS))
            std::abort();
    }
    // Texts take part with their first 259 bytes at most (an inner zero ends them earlier).
    const long lengthE = static_cast<long>(std::min<size_t>(std::strlen(expected.c_str()), 259));
    const long lengthT = static_cast<long>(std::min<size_t>(std::strlen(typed.c_str()), 259));
    const int distance = EditDistance(expected.c_str(), typed.c_str());
    if (distance != EditDistance(typed.c_str(), expected.c_str()) || distance < std::labs(lengthE - lengthT) ||
        distance > std::max(lengthE, lengthT))
        std::abort();
    return 0;
}
