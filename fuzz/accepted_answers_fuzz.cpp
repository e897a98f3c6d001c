// The accepted answers' reader on arbitrary bytes: it must stay inside them; what it accepts, the
// writer gives back byte for byte (the format leaves nothing to ignore or cut); and every variant it
// read, typed as it is, is right, with accents strict or forgiven.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "answers/grading.h"
#include "content/accepted_answers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto accepted = std::make_unique<AcceptedAnswers>();
    if (ParseAcceptedAnswers(data, size, accepted.get()) != ACCEPTED_OK)
        return 0;
    std::vector<unsigned char> written;
    if (WriteAcceptedAnswers(*accepted, &written) != ACCEPTED_OK ||
        !std::equal(written.begin(), written.end(), data, data + size))
        std::abort();
    for (int box = 1; box <= accepted->boxCount; ++box) {
        const BoxVariants variants = VariantsOfBox(accepted.get(), box);
        const char* variant = variants.first;
        for (int i = 0; i < variants.count; ++i, variant = NextVariant(variant)) {
            // Spaces around a typed text are dropped, not around an accepted one.
            const bool typable = variant[0] != ' ' && variant[std::strlen(variant) - 1] != ' ';
            for (bool forgiven : {false, true}) {
                const char* verdict = GradeAnswerWithVariants("", variants, forgiven, variant);
                if (typable && verdict != VERDICT_RIGHT)
                    std::abort();
            }
        }
    }
    return 0;
}
