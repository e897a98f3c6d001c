#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "content/lzw.h"
#include "lzw_reference.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes ToBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

struct CodecOutput {
    int32_t result = 1;
    Bytes bytes;
    int32_t reportedLength = -1;
    bool trailingZerosPresent = false;
};

// Calls the codec and takes ownership of its buffer, checking the zeros it promises after the data.
CodecOutput Run(bool encode, const Bytes& input)
{
    unsigned char* buffer = nullptr;
    int32_t length = -1;
    CodecOutput out;
    out.result = encode ? LzwEncode(input.data(), static_cast<int32_t>(input.size()), &buffer, &length)
                        : LzwDecode(input.data(), static_cast<int32_t>(input.size()), &buffer, &length);
    out.reportedLength = length;
    if (buffer) {
        const int32_t extra = encode ? 1 : 2;
        out.bytes.assign(buffer, buffer + (length - extra));
        out.trailingZerosPresent = buffer[length - 1] == 0 && buffer[length - extra] == 0;
        std::free(buffer);
    }
    return out;
}

CodecOutput Encode(const Bytes& input)
{
    return Run(true, input);
}

CodecOutput Decode(const Bytes& input)
{
    return Run(false, input);
}

class TestBitReader {
public:
    explicit TestBitReader(const Bytes& bytes) : bytes_(bytes) {}
    bool Get(int width, uint32_t* code)
    {
        if (bitPosition_ + width > bytes_.size() * 8)
            return false;
        uint32_t value = 0;
        for (int i = 0; i < width; ++i, ++bitPosition_)
            value = (value << 1) | ((bytes_[bitPosition_ / 8] >> (7 - bitPosition_ % 8)) & 1);
        *code = value;
        return true;
    }

private:
    const Bytes& bytes_;
    size_t bitPosition_ = 0;
};

Bytes ReferenceEncode(const Bytes& input)
{
    return ReferenceLzwEncode(input.data(), input.size());
}

// The format's decoder as written down, with a copy of every string.
CodecOutput ReferenceDecode(const Bytes& stream)
{
    TestBitReader reader(stream);
    std::vector<std::string> dictionary(LZW_DICTIONARY_SIZE);
    for (int byte = 0; byte < 256; ++byte)
        dictionary[byte].assign(1, static_cast<char>(byte));
    std::string output;
    auto done = [&](int32_t result) {
        CodecOutput out;
        out.result = result;
        out.bytes = ToBytes(output);
        return out;
    };
    uint32_t code = 0;
    if (!reader.Get(LZW_INITIAL_WIDTH, &code))
        return done(LZW_INPUT_EXHAUSTED);
    std::string prev(1, static_cast<char>(code & 0xFF));
    int width = LZW_INITIAL_WIDTH;
    uint32_t nextFree = LZW_FIRST_FREE;
    for (;;) {
        if (width > LZW_MAX_WIDTH)
            return done(LZW_BAD_CODE);
        if (!reader.Get(width, &code))
            return done(LZW_INPUT_EXHAUSTED);
        if (code == LZW_END) {
            if (output.size() + prev.size() > static_cast<size_t>(LZW_DECODE_CAPACITY))
                return done(LZW_BAD_CODE);
            output += prev;
            return done(LZW_OK);
        }
        if (code == LZW_RESET) {
            nextFree = LZW_FIRST_FREE;
            width = LZW_INITIAL_WIDTH;
            continue;
        }
        if (code == LZW_GROW) {
            ++width;
            continue;
        }
        if (code > nextFree || nextFree >= LZW_DICTIONARY_SIZE)
            return done(LZW_BAD_CODE);
        const std::string text = code == nextFree ? prev + prev[0] : dictionary[code];
        if (output.size() + prev.size() > static_cast<size_t>(LZW_DECODE_CAPACITY))
            return done(LZW_BAD_CODE);
        dictionary[nextFree++] = prev + text[0];
        output += prev;
        prev = text;
    }
}

struct ParsedStream {
    std::vector<uint32_t> codes; // every code, control codes included
    std::vector<int> widths;     // the width each was read at
};

ParsedStream ParseStream(const Bytes& stream)
{
    TestBitReader reader(stream);
    ParsedStream parsed;
    int width = LZW_INITIAL_WIDTH;
    uint32_t code = 0;
    while (reader.Get(width, &code)) {
        parsed.codes.push_back(code);
        parsed.widths.push_back(width);
        if (code == LZW_END)
            break;
        if (code == LZW_GROW)
            ++width;
        if (code == LZW_RESET)
            width = LZW_INITIAL_WIDTH;
    }
    return parsed;
}

// Mixed alternates stretches of random bytes and of words, so that one stream has both the short
// matches of noise and the longer ones of text, and the encoder changes its way of matching.
enum class Shape { RandomBytes, TwoLetters, FourLetters, Runs, Words, Mixed };

Bytes MakeInput(Shape shape, size_t size, uint32_t seed)
{
    std::mt19937 random(seed);
    Bytes bytes;
    bytes.reserve(size);
    static const char* const words[] = {"le ", "la ", "question ", "reponse ", "quiz ", "bravo ", "faux ", "de "};
    while (bytes.size() < size) {
        switch (shape) {
        case Shape::RandomBytes:
            bytes.push_back(static_cast<unsigned char>(random()));
            break;
        case Shape::TwoLetters:
            bytes.push_back(static_cast<unsigned char>('a' + random() % 2));
            break;
        case Shape::FourLetters:
            bytes.push_back(static_cast<unsigned char>('a' + random() % 4));
            break;
        case Shape::Runs:
            bytes.insert(bytes.end(), 1 + random() % 300, static_cast<unsigned char>(random() % 3));
            break;
        case Shape::Words:
            for (const char* c = words[random() % 8]; *c; ++c)
                bytes.push_back(static_cast<unsigned char>(*c));
            break;
        case Shape::Mixed:
            if (bytes.size() / 1500 % 2 == 0) {
                bytes.push_back(static_cast<unsigned char>(random()));
            } else {
                for (const char* c = words[random() % 8]; *c; ++c)
                    bytes.push_back(static_cast<unsigned char>(*c));
            }
            break;
        }
    }
    bytes.resize(size);
    return bytes;
}

std::string Hex(const Bytes& bytes)
{
    std::string text;
    char digits[4];
    for (unsigned char byte : bytes) {
        std::snprintf(digits, sizeof(digits), "%02X ", byte);
        text += digits;
    }
    return text;
}

TEST(LzwGolden, WorkedExamplesEncodeAndDecodeExactly)
{
    struct Case {
        const char* text;
        Bytes stream;
    } cases[] = {
        {"abc", {0x30, 0x98, 0x8C, 0x70, 0x00}},
        {"aaa", {0x30, 0xC0, 0xE0, 0x00}},
        {"abab", {0x30, 0x98, 0xA0, 0x70, 0x00}},
        {"a", {0x30, 0xC0, 0x00}}, // one byte: its code and the end code, padded to 3 bytes
    };
    for (const Case& c : cases) {
        const CodecOutput encoded = Encode(ToBytes(c.text));
        EXPECT_EQ(encoded.result, LZW_OK) << c.text;
        EXPECT_EQ(Hex(encoded.bytes), Hex(c.stream)) << c.text;
        EXPECT_EQ(encoded.reportedLength, static_cast<int32_t>(c.stream.size()) + 1) << c.text;
        EXPECT_TRUE(encoded.trailingZerosPresent) << c.text;

        const CodecOutput decoded = Decode(c.stream);
        EXPECT_EQ(decoded.result, LZW_OK) << c.text;
        EXPECT_EQ(std::string(decoded.bytes.begin(), decoded.bytes.end()), c.text);
        EXPECT_EQ(decoded.reportedLength, static_cast<int32_t>(std::strlen(c.text)) + 2) << c.text;
        EXPECT_TRUE(decoded.trailingZerosPresent) << c.text;
    }
}

TEST(LzwRoundTrip, MatchesTheReferenceEncoderAndRestoresTheInput)
{
    const Shape shapes[] = {Shape::RandomBytes, Shape::TwoLetters, Shape::FourLetters,
                            Shape::Runs,        Shape::Words,      Shape::Mixed};
    const size_t sizes[] = {2, 3, 17, 600, 5000, 20011, 65535};
    uint32_t seed = 1;
    for (Shape shape : shapes) {
        for (size_t size : sizes) {
            for (int repeat = 0; repeat < (size < 1000 ? 20 : 2); ++repeat, ++seed) {
                const Bytes input = MakeInput(shape, size, seed);
                const CodecOutput encoded = Encode(input);
                ASSERT_EQ(encoded.result, LZW_OK);
                ASSERT_EQ(encoded.bytes, ReferenceEncode(input)) << "shape " << int(shape) << " size " << size;
                const CodecOutput decoded = Decode(encoded.bytes);
                ASSERT_EQ(decoded.result, LZW_OK);
                ASSERT_EQ(decoded.bytes, input) << "shape " << int(shape) << " size " << size;
            }
        }
    }
}

// After a reset the string that filled the dictionary comes back as code 259 although its prefix is
// not in the new dictionary; it must be found again once that prefix is added anew. Repeating a
// block that fills the dictionary several times over makes that happen at every reset.
TEST(LzwRoundTrip, StringReaddedAtResetIsFoundAgainLikeTheReference)
{
    for (uint32_t seed = 100; seed < 140; ++seed) {
        const Bytes block = MakeInput(seed % 2 ? Shape::FourLetters : Shape::Words, 3000 + seed * 37, seed);
        Bytes input;
        while (input.size() + block.size() <= static_cast<size_t>(LZW_MAX_INPUT))
            input.insert(input.end(), block.begin(), block.end());
        const CodecOutput encoded = Encode(input);
        ASSERT_EQ(encoded.result, LZW_OK);
        ASSERT_EQ(encoded.bytes, ReferenceEncode(input)) << "seed " << seed;
        ASSERT_EQ(Decode(encoded.bytes).bytes, input) << "seed " << seed;
    }
}

TEST(LzwStream, WidthGrowsOneBitBeforeTheFirstCodeNeedingItAndResetsAtFullDictionary)
{
    const Bytes input = MakeInput(Shape::RandomBytes, 30000, 7);
    const ParsedStream parsed = ParseStream(Encode(input).bytes);
    ASSERT_FALSE(parsed.codes.empty());
    ASSERT_EQ(parsed.codes.back(), static_cast<uint32_t>(LZW_END));

    int resets = 0;
    int growsThisEpoch = 0;
    uint32_t largestThisEpoch = 0;
    for (size_t i = 0; i < parsed.codes.size(); ++i) {
        const uint32_t code = parsed.codes[i];
        const int width = parsed.widths[i];
        if (code == LZW_GROW) {
            ++growsThisEpoch;
            // A growth is announced right before the code that needs it, one per missing bit.
            ASSERT_LT(i + 1, parsed.codes.size());
            const uint32_t next = parsed.codes[i + 1];
            ASSERT_TRUE(next == LZW_GROW || (next >> width) != 0) << "at " << i;
        } else if (code == LZW_RESET) {
            ++resets;
            EXPECT_EQ(growsThisEpoch, 3);
            EXPECT_EQ(width, 12);
            growsThisEpoch = 0;
            largestThisEpoch = 0;
        } else if (code != LZW_END) {
            ASSERT_LE(code, 4094u);
            // Codes of 512, 1024 and 2048 or more appear only after one, two and three growths.
            if (code > largestThisEpoch) {
                largestThisEpoch = code;
                EXPECT_EQ(width - LZW_INITIAL_WIDTH, growsThisEpoch);
                EXPECT_EQ(code >> (width - 1), width == LZW_INITIAL_WIDTH ? code >> 8 : 1u) << "at " << i;
            }
        }
    }
    EXPECT_GE(resets, 5);
}

TEST(LzwStream, LastCodeNeedingAWiderWidthIsAnnouncedBeforeTheEnd)
{
    // Lengthen a random input until the last data code is the first one of 512 or more.
    const Bytes source = MakeInput(Shape::RandomBytes, 2000, 11);
    bool found = false;
    for (size_t length = 200; length < source.size() && !found; ++length) {
        const Bytes input(source.begin(), source.begin() + length);
        const CodecOutput encoded = Encode(input);
        const ParsedStream parsed = ParseStream(encoded.bytes);
        const size_t n = parsed.codes.size();
        if (n < 3 || parsed.codes[n - 2] < 512)
            continue;
        found = true;
        EXPECT_EQ(encoded.result, LZW_OK);
        EXPECT_EQ(parsed.codes[n - 3], static_cast<uint32_t>(LZW_GROW));
        EXPECT_EQ(parsed.widths[n - 2], 10);
        EXPECT_EQ(parsed.codes[n - 1], static_cast<uint32_t>(LZW_END));
        EXPECT_EQ(Decode(encoded.bytes).bytes, input);
    }
    EXPECT_TRUE(found);
}

TEST(LzwDecodeFaults, MalformedStreamsAreRefusedWithTheOutputSoFar)
{
    auto stream = [](std::initializer_list<std::pair<uint32_t, int>> codes) {
        ReferenceBitWriter writer;
        for (const auto& code : codes)
            writer.Put(code.first, code.second);
        return writer.Finish();
    };
    // The dictionary filled to code 4095 by 'a' repeated, then one more data code.
    ReferenceBitWriter full;
    full.Put('a', 9);
    int width = 9;
    for (uint32_t nextFree = LZW_FIRST_FREE; nextFree <= 4096; ++nextFree) {
        if (nextFree == 512 || nextFree == 1024 || nextFree == 2048)
            full.Put(LZW_GROW, width++);
        full.Put('a', width);
    }
    // Every code names the string just made, each one byte longer: far past the output capacity.
    ReferenceBitWriter huge;
    huge.Put('a', 9);
    width = 9;
    for (uint32_t code = LZW_FIRST_FREE; code < 1000; ++code) {
        if (code == 512)
            huge.Put(LZW_GROW, width++);
        huge.Put(code, width);
    }
    ReferenceBitWriter tooWide;
    tooWide.Put('a', 9);
    for (width = 9; width <= 32; ++width)
        tooWide.Put(LZW_GROW, width);
    tooWide.Put('b', 32);

    struct Case {
        const char* name;
        Bytes stream;
        int32_t result;
        size_t outputSize;
    } cases[] = {
        {"code above next free", stream({{'a', 9}, {0x1FF, 9}}), LZW_BAD_CODE, 0},
        {"code above next free later", stream({{'a', 9}, {'b', 9}, {261, 9}}), LZW_BAD_CODE, 1},
        {"empty", {}, LZW_INPUT_EXHAUSTED, 0},
        {"shorter than one code", {0x30}, LZW_INPUT_EXHAUSTED, 0},
        {"cut before the end code", stream({{'a', 9}, {'b', 9}, {'c', 9}}), LZW_INPUT_EXHAUSTED, 2},
        {"adding past code 4095", full.Finish(), LZW_BAD_CODE, 4096 - LZW_FIRST_FREE},
        {"width past 32 bits", tooWide.Finish(), LZW_BAD_CODE, 0},
        {"more than the output capacity", huge.Finish(), LZW_BAD_CODE, 0},
    };
    for (const Case& c : cases) {
        const CodecOutput decoded = Decode(c.stream);
        EXPECT_EQ(decoded.result, c.result) << c.name;
        EXPECT_TRUE(decoded.trailingZerosPresent) << c.name;
        if (c.outputSize > 0) {
            EXPECT_EQ(decoded.bytes.size(), c.outputSize) << c.name;
        }
        EXPECT_LE(decoded.bytes.size(), static_cast<size_t>(LZW_DECODE_CAPACITY)) << c.name;
        EXPECT_EQ(decoded.bytes, ReferenceDecode(c.stream).bytes) << c.name;
    }
}

TEST(LzwDecodeFaults, TruncatedStreamsHandOutWhatWasDecoded)
{
    const Bytes input = MakeInput(Shape::Words, 9000, 3);
    const Bytes stream = Encode(input).bytes;
    for (size_t cut = 0; cut < stream.size(); cut += 97) {
        const Bytes truncated(stream.begin(), stream.begin() + cut);
        const CodecOutput decoded = Decode(truncated);
        EXPECT_EQ(decoded.result, LZW_INPUT_EXHAUSTED) << "cut " << cut;
        ASSERT_LE(decoded.bytes.size(), input.size());
        EXPECT_TRUE(std::equal(decoded.bytes.begin(), decoded.bytes.end(), input.begin())) << "cut " << cut;
        EXPECT_EQ(LzwInputConsumed(), static_cast<int32_t>(cut));
    }
}

// Random code sequences, valid or not, with resets, growths and codes naming the string being made:
// the decoder must agree with the plain one in result and output.
TEST(LzwDecodeFaults, RandomCodeSequencesDecodeLikeTheReference)
{
    std::mt19937 random(42);
    for (int round = 0; round < 300; ++round) {
        ReferenceBitWriter writer;
        int width = 9;
        uint32_t nextFree = LZW_FIRST_FREE;
        writer.Put(random() % 512, 9);
        const int count = 1 + random() % (round % 10 == 0 ? 6000 : 400);
        for (int i = 0; i < count; ++i) {
            const uint32_t roll = random() % 1000;
            uint32_t code;
            if (roll < 8) {
                code = LZW_RESET;
                nextFree = LZW_FIRST_FREE;
            } else if (roll < 12 || (nextFree >> width) != 0) {
                code = LZW_GROW;
            } else if (roll < 14) {
                code = nextFree + random() % 3;
            } else if (roll < 300) {
                code = nextFree;
            } else {
                code = random() % (nextFree + 1);
                if (code >= LZW_END && code <= LZW_RESET)
                    code = 'x';
            }
            if (width > 20)
                break;
            writer.Put(code & ((1u << width) - 1), width);
            if (code == LZW_GROW)
                ++width;
            else if (code == LZW_RESET)
                width = 9;
            else if (code <= nextFree)
                ++nextFree;
        }
        if (round % 3 != 0)
            writer.Put(LZW_END, width);
        const Bytes stream = writer.Finish();
        const CodecOutput expected = ReferenceDecode(stream);
        const CodecOutput decoded = Decode(stream);
        ASSERT_EQ(decoded.result, expected.result) << "round " << round;
        ASSERT_EQ(decoded.bytes, expected.bytes) << "round " << round;
    }
}

TEST(LzwLimits, EmptyAndOversizedInputs)
{
    EXPECT_EQ(Encode({}).result, LZW_INPUT_EXHAUSTED);
    EXPECT_TRUE(Encode({}).bytes.empty());

    const Bytes oversized(LZW_MAX_INPUT + 1, 'a');
    unsigned char sentinel = 0;
    unsigned char* buffer = &sentinel;
    int32_t length = -1;
    EXPECT_EQ(LzwEncode(oversized.data(), LZW_MAX_INPUT + 1, &buffer, &length), LZW_INPUT_TOO_LARGE);
    EXPECT_EQ(buffer, &sentinel);
    EXPECT_EQ(length, -1);
    EXPECT_EQ(LzwEncode(oversized.data(), 3, nullptr, nullptr), LZW_WRITE_FAILED);
}

TEST(LzwLimits, IncompressibleInputOfTheLargestSizeEncodes)
{
    // Random bytes grow by about half: past the smallest output buffer and past the input limit, which
    // therefore binds the encoder only.
    const Bytes input = MakeInput(Shape::RandomBytes, LZW_MAX_INPUT, 99);
    const CodecOutput encoded = Encode(input);
    ASSERT_EQ(encoded.result, LZW_OK);
    EXPECT_GT(encoded.bytes.size(), static_cast<size_t>(LZW_ENCODE_CAPACITY));
    EXPECT_EQ(encoded.bytes, ReferenceEncode(input));
    EXPECT_EQ(Decode(encoded.bytes).bytes, input);
}

TEST(LzwStatistics, GettersDescribeTheLastCalls)
{
    const Bytes input = MakeInput(Shape::Words, 5000, 5);
    const CodecOutput encoded = Encode(input);
    EXPECT_EQ(LzwInputSize(), 5000);
    EXPECT_EQ(LzwInputConsumed(), 5000);
    EXPECT_EQ(LzwEncodeInputSize(), 5000);
    EXPECT_EQ(LzwEncodedSize(), static_cast<int32_t>(encoded.bytes.size()));

    Bytes stream = encoded.bytes;
    stream.insert(stream.end(), 10, 0xFF); // bits after the end code are not read
    Decode(stream);
    EXPECT_EQ(LzwInputSize(), static_cast<int32_t>(stream.size()));
    EXPECT_EQ(LzwInputConsumed(), static_cast<int32_t>(encoded.bytes.size()));
    EXPECT_EQ(LzwEncodeInputSize(), 5000);
    EXPECT_EQ(LzwEncodedSize(), static_cast<int32_t>(encoded.bytes.size()));

    Encode({}); // a failed encode leaves the last encoded size alone
    EXPECT_EQ(LzwEncodeInputSize(), 0);
    EXPECT_EQ(LzwEncodedSize(), static_cast<int32_t>(encoded.bytes.size()));
}

std::vector<std::pair<std::string, std::string>> g_messages;

void RecordMessage(const char* text, const char* caption)
{
    g_messages.emplace_back(text, caption);
}

void* FailAllocation(size_t)
{
    return nullptr;
}

TEST(LzwMemory, FailedOutputAllocationIsReportedThroughTheHandler)
{
    const Bytes input = ToBytes("abc");
    g_messages.clear();
    LzwSetMessageHandler(RecordMessage);
    LzwSetAllocator(FailAllocation);
    for (bool encode : {true, false}) {
        unsigned char sentinel = 0;
        unsigned char* buffer = &sentinel;
        int32_t length = -1;
        const int32_t result =
            encode ? LzwEncode(input.data(), 3, &buffer, &length) : LzwDecode(input.data(), 3, &buffer, &length);
        EXPECT_EQ(result, LZW_NO_MEMORY);
        EXPECT_EQ(buffer, &sentinel);
        EXPECT_EQ(length, -1);
    }
    LzwSetMessageHandler(nullptr);
    EXPECT_EQ(Encode(input).result, LZW_NO_MEMORY); // no handler: no message, no crash
    LzwSetAllocator(nullptr);

    const std::pair<std::string, std::string> expected{"Impossible d'allouer la memoire", "information"};
    EXPECT_EQ(g_messages, (std::vector<std::pair<std::string, std::string>>{expected, expected}));
    EXPECT_EQ(Encode(input).result, LZW_OK);
}

} // namespace
