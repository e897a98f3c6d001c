// The content codec's stream written the slow, plain way, for checking the real codec against it in
// the unit tests and in the fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Packs codes most-significant-bit first, one bit at a time; the last byte is completed with zeros.
struct ReferenceBitWriter {
    void Put(uint32_t code, int width);
    std::vector<unsigned char> bytes;
    size_t bitCount = 0;
};

// The format's encoder as written down, with a whole-string dictionary: a string is found when the same
// bytes were added since the last reset, whatever their prefix. length must be at least 1.
std::vector<unsigned char> ReferenceLzwEncode(const unsigned char* input, size_t length);
