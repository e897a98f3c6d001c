#include "content/lzw.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int STRINGS_ADDED_PER_EPOCH = LZW_DICTIONARY_SIZE - LZW_FIRST_FREE - 1;

// The encoder's dictionary. The format's writer finds a string by comparing its bytes with the
// strings of the same length, so this one keys strings by their bytes too: then the string that a
// reset re-adds as code 259, whose prefix is gone, needs no special case as long as it is short.
//  - Strings of 2 to 7 bytes sit in an open-addressing hash table, keyed by their bytes and their
//    length packed in one 64-bit word. The keys of every length at one input position come from
//    one 8-byte load and no lookup waits on another, so the longest match is found without a branch
//    per byte. That branch, mispredicted at the end of almost every match, is what bounds an
//    encoder that extends its match one byte at a time.
//  - Longer strings are rare: keyed by (code of the string minus its last byte, last byte), looked
//    up one byte at a time; a long 259 is compared by its bytes when missed.
// A key or entry of 0 is an empty slot.
constexpr uint32_t SHORT_MAX = 7;
constexpr int SHORT_BITS = 15;
constexpr uint32_t SHORT_SIZE = 1u << SHORT_BITS;
constexpr uint32_t SHORT_MASK = SHORT_SIZE - 1;
// Past the table's slots: one spare slot that the codes of long strings name as theirs, so that
// emptying the dictionary needs no branch, then one code per single byte, so that a match of one
// byte reads its code like any other.
constexpr uint32_t SPARE_SLOT = SHORT_SIZE;
constexpr uint32_t SINGLE_BYTE_SLOTS = SHORT_SIZE + 1;
constexpr int LONG_BITS = 13;
constexpr uint32_t LONG_SIZE = 1u << LONG_BITS;
constexpr uint32_t LONG_MASK = LONG_SIZE - 1;
constexpr int CODE_BITS = 12;
constexpr uint32_t CODE_MASK = (1u << CODE_BITS) - 1;

struct EncoderTables {
    uint64_t shortKey[SHORT_SIZE + 1];
    uint16_t shortCode[SINGLE_BYTE_SLOTS + 256];
    uint32_t shortSlotOf[LZW_DICTIONARY_SIZE];
    uint32_t longEntry[LONG_SIZE];           // (prefix code << 8 | last byte) << CODE_BITS | code
    uint32_t longSlots[LZW_DICTIONARY_SIZE]; // the entries of longEntry in use
    uint32_t longCount;
};

// A decoded dictionary string. Every string of the decoder is a run of bytes already written to the
// output (or one of the 256 single bytes), so an entry only points at it: no copies, no per-entry
// allocation, and entries stay valid across a reset, which the pending string relies on.
struct DecoderEntry {
    const unsigned char* bytes;
    int32_t length;
};

// The one codec state of the program: calls are not reentrant.
struct CodecState {
    EncoderTables encoder;
    DecoderEntry entries[LZW_DICTIONARY_SIZE];
    unsigned char singleBytes[256];
    LzwMessageHandler messageHandler = nullptr;
    LzwAllocator allocator = nullptr;
};

CodecState g_lzw;

unsigned char* AllocateOutput(size_t size)
{
    void* buffer = g_lzw.allocator ? g_lzw.allocator(size) : std::malloc(size);
    if (!buffer && g_lzw.messageHandler)
        g_lzw.messageHandler("Impossible d'allouer la memoire", "information");
    return static_cast<unsigned char*>(buffer);
}

// Takes input bytes only when a code needs them, so the position is the count of bytes consumed.
class BitReader {
public:
    BitReader(const unsigned char* input, int32_t length) : input_(input), length_(length) {}

    bool Get(int width, uint32_t* code)
    {
        while (pendingBits_ < width) {
            if (position_ >= length_)
                return false;
            pending_ = (pending_ << 8) | input_[position_++];
            pendingBits_ += 8;
        }
        pendingBits_ -= width;
        *code = static_cast<uint32_t>((pending_ >> pendingBits_) & ((uint64_t(1) << width) - 1));
        return true;
    }

private:
    const unsigned char* input_;
    int32_t length_;
    int32_t position_ = 0;
    uint64_t pending_ = 0;
    int pendingBits_ = 0;
};

// The largest stream an input of this length can give: at most one data code per input byte, at
// most three growths and one reset per dictionary epoch, the end code, all at 12 bits or less.
size_t EncodeCapacity(int32_t length)
{
    const size_t resets = length > 0 ? static_cast<size_t>(length - 1) / STRINGS_ADDED_PER_EPOCH : 0;
    const size_t codes = static_cast<size_t>(length) + 3 * (resets + 1) + resets + 1;
    const size_t bytes = (codes * 12 + 7) / 8;
    return bytes > static_cast<size_t>(LZW_ENCODE_CAPACITY) ? bytes : LZW_ENCODE_CAPACITY;
}

// Codes leave most-significant-bit first through a 64-bit accumulator: every code stores the whole
// bytes it completes (and the partial one, zero-padded) with one 8-byte store and moves on by the
// complete bytes, with no branch. The output needs ENCODE_SLACK bytes past the stream for the stores.
constexpr size_t ENCODE_SLACK = 8;

// The packer writes whole 64-bit words most-significant byte first on a little-endian machine.
inline uint64_t ByteSwap64(uint64_t value)
{
#if defined(_MSC_VER)
    return _byteswap_uint64(value);
#else
    return __builtin_bswap64(value);
#endif
}

struct BitPacker {
    unsigned char* out;
    uint64_t bits = 0;    // the pending bits are the low `pending` ones
    uint32_t pending = 0; // fewer than 8 between calls

    void Put(uint32_t code, uint32_t width)
    {
        bits = (bits << width) | code;
        pending += width;
        const uint64_t bigEndian = ByteSwap64(bits << (64 - pending));
        std::memcpy(out, &bigEndian, sizeof(bigEndian));
        out += pending >> 3;
        pending &= 7;
    }

    unsigned char* End() const { return out + (pending > 0 ? 1 : 0); }
};

// The encoder's keys take the first input byte as the low byte of a word.
#if defined(__BYTE_ORDER__)
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the encoder's keys assume a little-endian machine");
#endif

inline uint64_t Load64(const unsigned char* bytes)
{
    uint64_t word;
    std::memcpy(&word, bytes, sizeof(word));
    return word;
}

// The key of the string made of the first length bytes (2 to 7) of word, read little-endian: the
// bytes moved to the top, the length in the low bits that they leave free. Never 0.
inline uint64_t ShortKey(uint64_t word, uint32_t length)
{
    return (word << (64 - 8 * length)) | length;
}

inline uint32_t ShortSlot(uint64_t key)
{
    return static_cast<uint32_t>((key * 0x9E3779B97F4A7C15ull) >> (64 - SHORT_BITS));
}

inline uint32_t LongSlot(uint32_t key)
{
    return (key * 0x9E3779B1u) >> (32 - LONG_BITS);
}

class EncoderDictionary {
public:
    explicit EncoderDictionary(EncoderTables& tables) : t_(tables)
    {
        for (uint32_t byte = 0; byte < 256; ++byte)
            t_.shortCode[SINGLE_BYTE_SLOTS + byte] = static_cast<uint16_t>(byte);
    }

    // A match of length bytes whose code is code. MatchShort settles it when it has added the
    // string one byte longer; Extend tells when it runs to the end of the input.
    struct Match {
        uint32_t length;
        uint32_t code;
        bool settled;
    };

    // The longest match at bytes, which has at least 8 readable bytes, as far as SHORT_MAX bytes.
    // When the string one byte longer is not in the dictionary, adds it as newCode and settles the
    // match. Otherwise the match is left for Extend: it may go on past SHORT_MAX bytes, or a string
    // that the lookups missed sits past its home slot.
    Match MatchShort(const unsigned char* bytes, uint32_t newCode)
    {
        const uint64_t word = Load64(bytes);
        uint32_t slots[SHORT_MAX + 1];
        slots[1] = SINGLE_BYTE_SLOTS + (word & 0xFF);
        uint32_t alive = 1;
        uint32_t length = 1;
        for (uint32_t n = 2; n <= SHORT_MAX; ++n) {
            const uint64_t key = ShortKey(word, n);
            const uint32_t slot = ShortSlot(key);
            slots[n] = slot;
            alive &= static_cast<uint32_t>(t_.shortKey[slot] == key);
            length += alive;
        }
        const uint32_t code = t_.shortCode[slots[length]];
        if (length == SHORT_MAX)
            return {length, code, false};
        const uint64_t missingKey = ShortKey(word, length + 1);
        const uint32_t missingSlot = ProbeShort(missingKey);
        if (t_.shortKey[missingSlot] == missingKey)
            return {length, code, false};
        AddShort(missingSlot, missingKey, newCode);
        return {length, code, true};
    }

    // The first step of a match one byte at a time, at bytes (2 readable bytes or more): when the
    // two-byte string is not in the dictionary and its home slot is free, adds it as newCode and
    // settles a match of one byte; otherwise leaves the match for Extend.
    Match MatchPair(const unsigned char* bytes, uint32_t newCode)
    {
        const uint64_t key = ShortKey(bytes[0] | static_cast<uint64_t>(bytes[1]) << 8, 2);
        const uint32_t slot = ShortSlot(key);
        if (t_.shortKey[slot] != 0)
            return {1, bytes[0], false};
        AddShort(slot, key, newCode);
        return {1, bytes[0], true};
    }

    // Goes on with a match of matched bytes at start (code code) one byte at a time, while the
    // dictionary has the longer string; adds the first missing one as newCode. settled is false
    // when the match runs to the end of the input, which then has no string to add.
    Match Extend(const unsigned char* start, size_t available, uint32_t matched, uint32_t code, uint32_t newCode)
    {
        for (; matched < available; ++matched) {
            const uint32_t length = matched + 1;
            uint32_t slot = 0;
            uint32_t found;
            if (length <= SHORT_MAX) {
                uint64_t key;
                found = FindShort(start, length, available, &slot, &key);
                if (found == 0) {
                    AddShort(slot, key, newCode);
                    return {matched, code, true};
                }
            } else {
                found = FindLong(start, length, code, &slot);
                if (found == 0) {
                    AddLong(slot, start[length - 1], code, newCode);
                    return {matched, code, true};
                }
            }
            code = found;
        }
        return {matched, code, false};
    }

    // Empties the entries of codes LZW_FIRST_FREE to lastCode - 1.
    void Clear(uint32_t lastCode)
    {
        for (uint32_t code = LZW_FIRST_FREE; code < lastCode; ++code)
            t_.shortKey[t_.shortSlotOf[code]] = 0;
        for (uint32_t i = 0; i < t_.longCount; ++i)
            t_.longEntry[t_.longSlots[i]] = 0;
        t_.longCount = 0;
        orphanLength_ = 0;
    }

    // After a reset: the string bytes[0, length) becomes LZW_FIRST_FREE in the emptied dictionary.
    void AddFirst(const unsigned char* bytes, uint32_t length, size_t available)
    {
        if (length <= SHORT_MAX) {
            uint32_t slot = 0;
            uint64_t key;
            FindShort(bytes, length, available, &slot, &key);
            AddShort(slot, key, LZW_FIRST_FREE);
        } else {
            orphanBytes_ = bytes;
            orphanLength_ = length;
            t_.shortSlotOf[LZW_FIRST_FREE] = SPARE_SLOT;
        }
    }

private:
    // The code of bytes[0, length) (2 to SHORT_MAX bytes, available of them readable), or 0; *slot
    // receives its slot or the empty one where it belongs, *key its key.
    uint32_t FindShort(const unsigned char* bytes, uint32_t length, size_t available, uint32_t* slot,
                       uint64_t* key) const
    {
        uint64_t word = 0;
        if (available >= sizeof(word))
            word = Load64(bytes);
        else
            std::memcpy(&word, bytes, length);
        *key = ShortKey(word, length);
        *slot = ProbeShort(*key);
        return t_.shortKey[*slot] == *key ? t_.shortCode[*slot] : 0;
    }

    // The slot that holds key, or the empty one where it belongs.
    uint32_t ProbeShort(uint64_t key) const
    {
        uint32_t slot = ShortSlot(key);
        while (t_.shortKey[slot] != 0 && t_.shortKey[slot] != key)
            slot = (slot + 1) & SHORT_MASK;
        return slot;
    }

    // The code of bytes[0, length) (more than SHORT_MAX bytes), the first length - 1 of which are
    // the string prefixCode, or 0; *slot receives the empty slot where it belongs.
    uint32_t FindLong(const unsigned char* bytes, uint32_t length, uint32_t prefixCode, uint32_t* slot) const
    {
        const uint32_t key = prefixCode << 8 | bytes[length - 1];
        uint32_t at = LongSlot(key);
        for (; t_.longEntry[at] != 0; at = (at + 1) & LONG_MASK) {
            if ((t_.longEntry[at] >> CODE_BITS) == key)
                return t_.longEntry[at] & CODE_MASK;
        }
        *slot = at;
        const bool orphan = orphanLength_ == length && std::memcmp(bytes, orphanBytes_, length) == 0;
        return orphan ? LZW_FIRST_FREE : 0;
    }

    void AddShort(uint32_t slot, uint64_t key, uint32_t code)
    {
        t_.shortKey[slot] = key;
        t_.shortCode[slot] = static_cast<uint16_t>(code);
        t_.shortSlotOf[code] = slot;
    }

    void AddLong(uint32_t slot, uint32_t lastByte, uint32_t prefixCode, uint32_t code)
    {
        t_.longEntry[slot] = (prefixCode << 8 | lastByte) << CODE_BITS | code;
        t_.longSlots[t_.longCount++] = slot;
        t_.shortSlotOf[code] = SPARE_SLOT;
    }

    EncoderTables& t_;
    // After a reset, the string re-added as LZW_FIRST_FREE when it is longer than SHORT_MAX.
    const unsigned char* orphanBytes_ = nullptr;
    uint32_t orphanLength_ = 0;
};

// Whether matches are found all lengths at once or a byte at a time, from the bytes per code of the
// last window of codes.
struct MatchMode {
    static constexpr uint32_t WINDOW = 64;
    static constexpr uint32_t ALL_AT_ONCE_BYTES = 2 * WINDOW; // two bytes per code or more

    bool allAtOnce = true;
    uint32_t codesLeft = WINDOW;
    uint32_t bytes = 0;

    void Count(uint32_t matched)
    {
        bytes += matched;
        if (--codesLeft == 0) {
            allAtOnce = bytes >= ALL_AT_ONCE_BYTES;
            codesLeft = WINDOW;
            bytes = 0;
        }
    }
};

// Codes input into output, which has room for EncodeCapacity(length) + ENCODE_SLACK bytes; returns
// the stream's length.
size_t EncodeStream(const unsigned char* input, int32_t length, unsigned char* output)
{
    EncoderDictionary dictionary(g_lzw.encoder);
    BitPacker packer{output};
    uint32_t width = LZW_INITIAL_WIDTH;
    uint32_t widthLimit = 1u << LZW_INITIAL_WIDTH;
    const auto put = [&](uint32_t code) {
        while (code >= widthLimit) {
            packer.Put(LZW_GROW, width);
            ++width;
            widthLimit <<= 1;
        }
        packer.Put(code, width);
    };
    uint32_t nextFree = LZW_FIRST_FREE;

    // MatchShort looks every length up at once, and the next code cannot start before its answer;
    // a byte at a time, the processor runs ahead on a guess of where the match ends. On text, with
    // matches of three or four bytes, that wait costs less than the wrong guesses; on data that
    // barely compresses, with matches of a byte or two, the guesses are right and the wait is not
    // worth it. So the encoder counts the bytes per code over a window of codes and picks.
    MatchMode mode;

    const unsigned char* const end = input + length;
    const unsigned char* start = input; // where the next code's string starts
    for (;;) {
        const size_t available = static_cast<size_t>(end - start);
        EncoderDictionary::Match match{1, *start, false};
        if (mode.allAtOnce && available >= sizeof(uint64_t))
            match = dictionary.MatchShort(start, nextFree);
        else if (available >= 2)
            match = dictionary.MatchPair(start, nextFree);
        if (!match.settled) {
            match = dictionary.Extend(start, available, match.length, match.code, nextFree);
            if (!match.settled) {
                put(match.code);
                break;
            }
        }
        put(match.code);
        mode.Count(match.length);
        if (++nextFree == LZW_DICTIONARY_SIZE) {
            packer.Put(LZW_RESET, width);
            dictionary.Clear(nextFree);
            width = LZW_INITIAL_WIDTH;
            widthLimit = 1u << LZW_INITIAL_WIDTH;
            dictionary.AddFirst(start, match.length + 1, available);
            nextFree = LZW_FIRST_FREE + 1;
        }
        start += match.length;
    }
    packer.Put(LZW_END, width);
    dictionary.Clear(nextFree);
    return static_cast<size_t>(packer.End() - output);
}

// Short strings are copied as one 16-byte block, which costs less than a call to memcpy with a
// variable length; the bytes past the string land in output not yet written, hence the slack.
constexpr int32_t COPY_BLOCK = 16;
constexpr size_t DECODE_BUFFER_SIZE = static_cast<size_t>(LZW_DECODE_CAPACITY) + COPY_BLOCK;

void CopyString(unsigned char* destination, const DecoderEntry& string)
{
    const unsigned char* source = string.bytes;
    const int32_t length = string.length;
    if (length == 1) {
        destination[0] = source[0];
    } else if (length <= COPY_BLOCK && source + COPY_BLOCK <= destination) {
        std::memcpy(destination, source, COPY_BLOCK);
    } else if (source + length <= destination) {
        std::memcpy(destination, source, static_cast<size_t>(length));
    } else {
        // Only a string made by the code-equals-next-free case overlaps: its last byte is the first
        // one copied here, so a forward copy byte by byte produces it before reading it.
        for (int32_t i = 0; i < length; ++i)
            destination[i] = source[i];
    }
}

struct DecodeOutcome {
    int32_t result;
    int32_t written;
};

// Decodes into output, which has room for LZW_DECODE_CAPACITY bytes plus the copy slack.
DecodeOutcome DecodeStream(BitReader& reader, unsigned char* output)
{
    DecoderEntry* entries = g_lzw.entries;
    for (int byte = 0; byte < 256; ++byte) {
        g_lzw.singleBytes[byte] = static_cast<unsigned char>(byte);
        entries[byte] = {&g_lzw.singleBytes[byte], 1};
    }

    int32_t written = 0;
    uint32_t code = 0;
    if (!reader.Get(LZW_INITIAL_WIDTH, &code))
        return {LZW_INPUT_EXHAUSTED, written};
    DecoderEntry prev = entries[code & 0xFF];
    int width = LZW_INITIAL_WIDTH;
    uint32_t nextFree = LZW_FIRST_FREE;

    for (;;) {
        if (width > LZW_MAX_WIDTH)
            return {LZW_BAD_CODE, written};
        if (!reader.Get(width, &code))
            return {LZW_INPUT_EXHAUSTED, written};
        if (code == LZW_RESET) {
            // prev stays: the writer re-added "prev + next byte" as the first string after its reset.
            nextFree = LZW_FIRST_FREE;
            width = LZW_INITIAL_WIDTH;
            continue;
        }
        if (code == LZW_GROW) {
            ++width;
            continue;
        }
        if (code != LZW_END && (code > nextFree || nextFree >= LZW_DICTIONARY_SIZE))
            return {LZW_BAD_CODE, written};
        if (prev.length > LZW_DECODE_CAPACITY - written)
            return {LZW_BAD_CODE, written};

        unsigned char* destination = output + written;
        if (code != LZW_END) {
            // The new string is prev followed by the first byte of the code's string, and that byte
            // is exactly the one written next, right after prev: the entry points at the output.
            // A code equal to nextFree names this very string (the writer used it as soon as it
            // made it), whose first byte is prev's own.
            entries[nextFree] = {destination, prev.length + 1};
            ++nextFree;
        }
        CopyString(destination, prev);
        written += prev.length;
        if (code == LZW_END)
            return {LZW_OK, written};
        prev = entries[code];
    }
}

} // namespace

int32_t LzwDecode(const unsigned char* input, int32_t length, unsigned char** output, int32_t* outputLength)
{
    if (!output || !outputLength)
        return LZW_WRITE_FAILED;
    if (!input || length < 0)
        length = 0;
    unsigned char* buffer = AllocateOutput(DECODE_BUFFER_SIZE);
    if (!buffer)
        return LZW_NO_MEMORY;

    BitReader reader(input, length);
    const DecodeOutcome outcome = DecodeStream(reader, buffer);
    buffer[outcome.written] = 0;
    buffer[outcome.written + 1] = 0;
    *output = buffer;
    *outputLength = outcome.written + 2;
    return outcome.result;
}

int32_t LzwEncode(const unsigned char* input, int32_t length, unsigned char** output, int32_t* outputLength)
{
    if (!output || !outputLength)
        return LZW_WRITE_FAILED;
    if (!input || length < 0)
        length = 0;
    if (length > LZW_MAX_INPUT)
        return LZW_INPUT_TOO_LARGE;

    unsigned char* buffer = AllocateOutput(EncodeCapacity(length) + ENCODE_SLACK);
    if (!buffer)
        return LZW_NO_MEMORY;

    size_t written = 0;
    int32_t result = LZW_INPUT_EXHAUSTED;
    if (length > 0) {
        written = EncodeStream(input, length, buffer);
        result = LZW_OK;
    }
    buffer[written] = 0;
    *output = buffer;
    *outputLength = static_cast<int32_t>(written) + 1;
    return result;
}

void LzwSetMessageHandler(LzwMessageHandler handler)
{
    g_lzw.messageHandler = handler;
}

void LzwSetAllocator(LzwAllocator allocator)
{
    g_lzw.allocator = allocator;
}
