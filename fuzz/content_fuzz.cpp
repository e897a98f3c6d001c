// The content parser on arbitrary bytes: it must stay inside them, and whatever it accepts must
// be written back by the writer into bytes that parse to the same quiz.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "content/content_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto content = std::make_unique<QuizContent>();
    if (ParseQuizContent(data, size, content.get()) != CONTENT_OK)
        return 0;
    std::vector<unsigned char> written;
    if (WriteQuizContent(*content, &written) != CONTENT_OK)
        std::abort();
    auto again = std::make_unique<QuizContent>();
    if (ParseQuizContent(written.data(), written.size(), again.get()) != CONTENT_OK || *again != *content)
        std::abort();
    // The writer keeps only what the format carries, so a second pass changes nothing.
    std::vector<unsigned char> rewritten;
    if (WriteQuizContent(*again, &rewritten) != CONTENT_OK || rewritten != written)
        std::abort();
    return 0;
}
