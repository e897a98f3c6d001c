#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "content/lzw.h"
#include "lzw_reference.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Calls the codec and takes its buffer into *out, checking the zero bytes it promises after the data.
int32_t Codec(bool encode, const Bytes& input, Bytes* out)
{
    unsigned char* buffer = nullptr;
    int32_t length = -1;
    const int32_t result = (encode ? LzwEncode : LzwDecode)(input.data(), int32_t(input.size()), &buffer, &length);
    const int32_t zeros = encode ? 1 : 2;
    out->assign(buffer, buffer ? buffer + length - zeros : buffer);
    EXPECT_TRUE(!buffer || (buffer[length - 1] == 0 && buffer[length - zeros] == 0));
    std::free(buffer);
    return result;
}

// Noise, few letters, runs, words, noise and words in turns (the encoder changes its way of matching),
// a block repeated to the end (after each reset a string comes back as 259 with its prefix gone).
Bytes MakeInput(int shape, size_t size, std::mt19937& random)
{
    static const std::string words[] = {"le ", "la ", "question ", "reponse ", "quiz ", "bravo ", "faux ", "de "};
    const Bytes block = shape == 6 ? MakeInput(random() % 2 ? 2 : 4, 3000 + random() % 1500, random) : Bytes();
    Bytes bytes;
    while (bytes.size() < size) {
        const uint32_t r = random();
        if (shape == 6)
            bytes.insert(bytes.end(), block.begin(), block.end());
        else if (shape == 0 || (shape == 5 && bytes.size() / 1500 % 2 == 0))
            bytes.push_back(static_cast<unsigned char>(r));
        else if (shape == 1 || shape == 2)
            bytes.push_back(static_cast<unsigned char>('a' + r % (shape * 2)));
        else if (shape == 3)
            bytes.insert(bytes.end(), 1 + r % 300, static_cast<unsigned char>(r % 3));
        else
            bytes.insert(bytes.end(), words[r % 8].begin(), words[r % 8].end());
    }
    bytes.resize(size);
    return bytes;
}

// Worked examples, then inputs of every shape, noise of the largest size included (its stream is over
// 65535 bytes), coded as the reference does and decoded back; a cut stream gives what came before.
TEST(Lzw, EncodesLikeTheReferenceAndDecodesBack)
{
    const std::pair<std::string, Bytes> examples[] = {{"abc", {0x30, 0x98, 0x8C, 0x70, 0x00}},
                                                      {"aaa", {0x30, 0xC0, 0xE0, 0x00}},
                                                      {"abab", {0x30, 0x98, 0xA0, 0x70, 0x00}},
                                                      {"a", {0x30, 0xC0, 0x00}}};
    Bytes out;
    for (const auto& [text, stream] : examples) {
        EXPECT_TRUE(Codec(true, Bytes(text.begin(), text.end()), &out) == LZW_OK && out == stream) << text;
        EXPECT_TRUE(Codec(false, stream, &out) == LZW_OK && std::string(out.begin(), out.end()) == text) << text;
    }
    std::mt19937 random(1);
    for (int shape = 0; shape < 7; ++shape) {
        for (size_t size : {2, 3, 17, 600, 5000, 20011, 65535}) {
            for (int repeat = 0; repeat < (size < 1000 ? 20 : shape == 6 ? 12 : 2); ++repeat) {
                const Bytes input = MakeInput(shape, size, random);
                Bytes stream;
                ASSERT_EQ(Codec(true, input, &stream), LZW_OK);
                ASSERT_EQ(stream, ReferenceLzwEncode(input.data(), size)) << shape << " " << size;
                ASSERT_EQ(Codec(false, stream, &out), LZW_OK);
                ASSERT_EQ(out, input) << shape << " " << size;
                const size_t cut = random() % stream.size();
                EXPECT_EQ(Codec(false, Bytes(stream.begin(), stream.begin() + cut), &out), LZW_INPUT_EXHAUSTED);
                EXPECT_TRUE(out.size() <= size && std::equal(out.begin(), out.end(), input.begin())) << cut;
            }
        }
    }
}

// A malformed stream is refused with what was decoded before the fault: a code above the next free
// one, past code 4095 without a reset, wider than 32 bits, or more output than the capacity.
TEST(Lzw, MalformedStreamsAreRefusedWithTheOutputSoFar)
{
    // 'a', then codes that are 'a' again or each the string just made, one byte longer every time.
    auto grown = [](uint32_t last, bool newest) {
        ReferenceBitWriter writer;
        writer.Put('a', 9);
        for (uint32_t code = LZW_FIRST_FREE, width = 9; code <= last; ++code) {
            if (code == 512 || code == 1024 || code == 2048)
                writer.Put(LZW_GROW, width++);
            writer.Put(newest ? code : 'a', width);
        }
        return writer.bytes;
    };
    ReferenceBitWriter cut, above, tooWide;
    for (uint32_t code : {'a', 'a', 'a'})
        cut.Put(code, 9), above.Put(code, 9);
    above.Put(262, 9);
    tooWide.Put('a', 9);
    for (int width = 9; width <= 32; ++width)
        tooWide.Put(LZW_GROW, width);
    tooWide.Put('a', 32);
    const std::tuple<Bytes, int32_t, size_t> cases[] = {{{}, LZW_INPUT_EXHAUSTED, 0},
                                                        {{0x30}, LZW_INPUT_EXHAUSTED, 0},
                                                        {cut.bytes, LZW_INPUT_EXHAUSTED, 2},
                                                        {above.bytes, LZW_BAD_CODE, 2},
                                                        {grown(4096, false), LZW_BAD_CODE, 4096 - LZW_FIRST_FREE},
                                                        {tooWide.bytes, LZW_BAD_CODE, 0},
                                                        {grown(999, true), LZW_BAD_CODE, 119805}};
    Bytes out;
    for (const auto& [stream, result, size] : cases) {
        EXPECT_EQ(Codec(false, stream, &out), result) << size;
        EXPECT_EQ(out, Bytes(size, 'a'));
    }
}

std::vector<std::string> g_messages;

TEST(Lzw, RefusedCallsAndFailedAllocationsLeaveTheOutputAlone)
{
    const Bytes big(LZW_MAX_INPUT + 1, 'a');
    unsigned char sentinel = 0, *buffer = &sentinel;
    int32_t length = -1;
    EXPECT_EQ(LzwEncode(big.data(), LZW_MAX_INPUT + 1, &buffer, &length), LZW_INPUT_TOO_LARGE);
    EXPECT_TRUE(LzwEncode(big.data(), 3, nullptr, &length) == LZW_WRITE_FAILED &&
                LzwDecode(big.data(), 3, &buffer, nullptr) == LZW_WRITE_FAILED);
    LzwSetMessageHandler(
        [](const char* text, const char* caption) { g_messages.push_back(text + std::string("|") + caption); });
    LzwSetAllocator([](size_t) -> void* { return nullptr; });
    EXPECT_TRUE(LzwEncode(big.data(), 3, &buffer, &length) == LZW_NO_MEMORY &&
                LzwDecode(big.data(), 3, &buffer, &length) == LZW_NO_MEMORY);
    EXPECT_TRUE(buffer == &sentinel && length == -1);
    LzwSetMessageHandler(nullptr);
    Bytes out;
    EXPECT_EQ(Codec(true, {'a'}, &out), LZW_NO_MEMORY); // no handler: no message, no crash
    LzwSetAllocator(nullptr);
    EXPECT_EQ(g_messages, std::vector<std::string>(2, "Impossible d'allouer la memoire|information"));
    EXPECT_TRUE(Codec(true, {}, &out) == LZW_INPUT_EXHAUSTED && out.empty());
}

} // namespace
