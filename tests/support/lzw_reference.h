// The content codec's stream written the slow, plain way, for checking the real codec against it
// in the unit tests and in the fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Packs codes most-significant-bit first, one bit at a time.
class ReferenceBitWriter {
public:
    void Put(uint32_t code, int width);
    // The bytes so far, the last one completed with zero bits.
    std::vector<unsigned char> Finish();

private:
    void PutBit(uint32_t bit);

    std::vector<unsigned char> bytes_;
    size_t bitCount_ = 0;
};

// The format's encoder as written down, with a whole-string dictionary: a candidate is found when a
// string of the same bytes was added since the last reset, whatever its prefix. length must be at
// least 1.
std::vector<unsigned char> ReferenceLzwEncode(const unsigned char* input, size_t length);
