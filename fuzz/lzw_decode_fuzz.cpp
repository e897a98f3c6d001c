// The decoder on arbitrary bytes, then the same bytes through the encoder and back: decoding must
// stay inside its buffers and its capacity whatever it is given, every input the encoder takes must
// come back unchanged, and the encoder must write exactly the stream of the plain reference encoder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "content/lzw.h"
#include "lzw_reference.h"

namespace {

// Every result that hands out a buffer must also end it with the promised zeros.
void CheckDecoded(const unsigned char* decoded, int32_t decodedLength)
{
    if (decodedLength < 2 || decodedLength - 2 > LZW_DECODE_CAPACITY)
        std::abort();
    if (decoded[decodedLength - 1] != 0 || decoded[decodedLength - 2] != 0)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1000000)
        return 0;
    const int32_t length = static_cast<int32_t>(size);

    unsigned char* decoded = nullptr;
    int32_t decodedLength = 0;
    const int32_t result = LzwDecode(data, length, &decoded, &decodedLength);
    if (result != LZW_OK && result != LZW_INPUT_EXHAUSTED && result != LZW_BAD_CODE)
        std::abort();
    CheckDecoded(decoded, decodedLength);
    if (LzwInputConsumed() > length)
        std::abort();
    std::free(decoded);

    if (size == 0 || size > static_cast<size_t>(LZW_MAX_INPUT))
        return 0;
    unsigned char* encoded = nullptr;
    int32_t encodedLength = 0;
    if (LzwEncode(data, length, &encoded, &encodedLength) != LZW_OK)
        std::abort();
    if (LzwEncodedSize() != encodedLength - 1)
        std::abort();
    const std::vector<unsigned char> expected = ReferenceLzwEncode(data, size);
    if (expected.size() != static_cast<size_t>(encodedLength - 1) ||
        std::memcmp(expected.data(), encoded, expected.size()) != 0)
        std::abort();
    unsigned char* restored = nullptr;
    int32_t restoredLength = 0;
    if (LzwDecode(encoded, encodedLength - 1, &restored, &restoredLength) != LZW_OK)
        std::abort();
    CheckDecoded(restored, restoredLength);
    if (restoredLength - 2 != length || std::memcmp(restored, data, size) != 0)
        std::abort();
    std::free(encoded);
    std::free(restored);
    return 0;
}
