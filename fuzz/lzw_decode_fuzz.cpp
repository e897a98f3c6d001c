// The decoder on arbitrary bytes stays inside its buffers and capacity; the encoder writes exactly the
// plain reference encoder's stream, which decodes back to the input.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "content/lzw.h"
#include "lzw_reference.h"

namespace {

// The codec's buffer, which must end with the promised zeros, as a vector.
std::vector<unsigned char> TakeBuffer(unsigned char* buffer, int32_t length, int32_t zeros)
{
    if (!buffer || length < zeros || buffer[length - 1] != 0 || buffer[length - zeros] != 0)
        std::abort();
    std::vector<unsigned char> bytes(buffer, buffer + length - zeros);
    std::free(buffer);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1000000)
        return 0;
    const int32_t length = static_cast<int32_t>(size);
    unsigned char* buffer = nullptr;
    int32_t bufferLength = 0;
    const int32_t result = LzwDecode(data, length, &buffer, &bufferLength);
    if ((result != LZW_OK && result != LZW_INPUT_EXHAUSTED && result != LZW_BAD_CODE) ||
        TakeBuffer(buffer, bufferLength, 2).size() > static_cast<size_t>(LZW_DECODE_CAPACITY))
        std::abort();
    if (size == 0 || size > static_cast<size_t>(LZW_MAX_INPUT))
        return 0;
    if (LzwEncode(data, length, &buffer, &bufferLength) != LZW_OK)
        std::abort();
    const std::vector<unsigned char> stream = TakeBuffer(buffer, bufferLength, 1);
    if (stream != ReferenceLzwEncode(data, size) ||
        LzwDecode(stream.data(), static_cast<int32_t>(stream.size()), &buffer, &bufferLength) != LZW_OK ||
        TakeBuffer(buffer, bufferLength, 2) != std::vector<unsigned char>(data, data + size))
        std::abort();
    return 0;
}
