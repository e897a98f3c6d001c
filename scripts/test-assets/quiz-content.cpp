// Writes the quiz that the loader tests carry as their own "PATCH" resources, encoded with the
// project's writer and codec: quiz-content.bin (resource 104) and quiz-codes.bin (resource 105).
// The tests check the loaded record against the same values.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "content/content_format.h"
#include "content/lzw.h"
#include "tests/content/built_in_quiz.h"

namespace {

bool WriteEncoded(const std::string& path, const std::vector<unsigned char>& bytes)
{
    unsigned char* stream = nullptr;
    int32_t streamLength = 0;
    if (LzwEncode(bytes.data(), static_cast<int32_t>(bytes.size()), &stream, &streamLength) != LZW_OK)
        return false;
    // The count includes the zero byte the encoder appends after the stream.
    const size_t size = static_cast<size_t>(streamLength - 1);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && std::fwrite(stream, 1, size, file) == size;
    if (file)
        std::fclose(file);
    std::free(stream);
    return written;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];

    const auto content = BuiltInQuiz();
    const auto codes = BuiltInCodes();

    std::vector<unsigned char> contentBytes;
    std::vector<unsigned char> codeBytes;
    if (WriteQuizContent(*content, &contentBytes) != CONTENT_OK ||
        WriteQuizCodes(*codes, content->questionCount, &codeBytes) != CONTENT_OK ||
        !WriteEncoded(folder + "/quiz-content.bin", contentBytes) ||
        !WriteEncoded(folder + "/quiz-codes.bin", codeBytes)) {
        std::fprintf(stderr, "quiz-content: could not write the encoded quiz into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
