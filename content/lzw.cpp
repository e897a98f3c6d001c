#include "content/lzw.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int STRINGS_ADDED_PER_EPOCH = LZW_DICTIONARY_SIZE - LZW_FIRST_FREE - 1;

// The encoder looks "prev + next byte" up in one table of two parts. Two-byte strings (prev a single
// byte) sit at the slot their two bytes give: no hash, no probe, and the few pairs a text uses share
// cache lines. Longer strings go to an open-addressing hash part whose slot comes from a hash of the
// string's bytes, updated by a rotation and an exclusive or per input byte: the address of each
// probe depends on the input alone, so the processor fetches it before the previous lookup is
// resolved, whereas a lookup keyed by the prefix's code would wait on the previous load at every
// byte. A slot holds the string's (prefix code, last byte) key in its top 20 bits and its code in the
// low 12; 0 is empty, which no entry is since every stored code is at least LZW_FIRST_FREE. A key in
// the hash part has a prefix code of at least LZW_FIRST_FREE, so an empty slot never matches it.
// Each code remembers its slot, so a reset empties only the slots in use and the table is all zeros
// between calls. At most 3837 strings live at once: 65536 hash slots keep probe chains short.
constexpr uint32_t PAIR_SLOTS = 1u << 16;
constexpr int HASH_BITS = 16;
constexpr uint32_t HASH_MASK = (1u << HASH_BITS) - 1;
constexpr uint32_t TABLE_SIZE = PAIR_SLOTS + (1u << HASH_BITS);
constexpr int CODE_BITS = 12;
constexpr uint32_t CODE_MASK = (1u << CODE_BITS) - 1;

// A decoded dictionary string. Every string of the decoder is a run of bytes already written to the
// output (or one of the 256 single bytes), so an entry only points at it: no copies, no per-entry
// allocation, and entries stay valid across a reset, which the pending string relies on.
struct DecoderEntry {
    const unsigned char* bytes;
    int32_t length;
};

// The one codec state of the program: calls are not reentrant.
struct CodecState {
    uint32_t strings[TABLE_SIZE];
    uint32_t slotOfCode[LZW_DICTIONARY_SIZE];
    DecoderEntry entries[LZW_DICTIONARY_SIZE];
    unsigned char singleBytes[256];
    int32_t inputSize = 0;
    int32_t inputConsumed = 0;
    int32_t encodeInputSize = 0;
    int32_t encodedSize = 0;
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

    int32_t Position() const { return position_; }

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

// The string hash mixes one random 64-bit word per byte value: rotating the running hash and
// folding in the next byte's word costs two one-cycle operations, which bounds how fast the probes
// of a long match can be addressed.
constexpr uint64_t SplitMix(uint64_t seed)
{
    uint64_t z = seed + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

struct ByteWords {
    uint64_t word[256];
};

constexpr ByteWords MakeByteWords()
{
    ByteWords words{};
    for (int byte = 0; byte < 256; ++byte)
        words.word[byte] = SplitMix(static_cast<uint64_t>(byte));
    return words;
}

constexpr ByteWords BYTE_WORDS = MakeByteWords();

inline uint64_t ExtendHash(uint64_t hash, uint32_t byte)
{
    return ((hash << 7) | (hash >> 57)) ^ BYTE_WORDS.word[byte];
}

inline uint64_t PairHash(uint32_t first, uint32_t second)
{
    return ExtendHash(BYTE_WORDS.word[first], second);
}

inline uint32_t HashSlot(uint64_t hash)
{
    return PAIR_SLOTS | static_cast<uint32_t>(hash >> (64 - HASH_BITS));
}

// Returns the slot of the hash part holding key on the probe sequence that starts at slot, or the
// empty slot where it belongs.
uint32_t FindSlotFrom(uint32_t slot, uint32_t key)
{
    for (;;) {
        const uint32_t entry = g_lzw.strings[slot];
        if (entry == 0 || (entry >> CODE_BITS) == key)
            return slot;
        slot = PAIR_SLOTS | ((slot + 1) & HASH_MASK);
    }
}

// Empties the slots of codes LZW_FIRST_FREE to lastCode - 1.
void ClearStrings(uint32_t lastCode)
{
    for (uint32_t code = LZW_FIRST_FREE; code < lastCode; ++code)
        g_lzw.strings[g_lzw.slotOfCode[code]] = 0;
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

// The format's encoder finds a candidate by comparing it with every dictionary string of the same
// length, and its reset re-adds the string that filled the dictionary as code 259 although that
// string's prefix is gone. The table can only find strings through their prefix's code, so 259
// is hung under its prefix as soon as the prefix is a dictionary string again: at once when it is a
// single byte, otherwise when the same bytes are next added. The results match byte for byte.
struct OrphanString {
    const unsigned char* prefix = nullptr;
    int32_t prefixLength = 0; // 0 when no string waits for its prefix
    uint64_t prefixHash = 0;  // compared first, so the bytes are compared only on a likely match
    uint32_t lastByte = 0;

    // Called when the string bytes[0, length) with the given hash was added as code: hangs the
    // orphan under it if that string is its prefix.
    void Adopt(const unsigned char* bytes, int32_t length, uint64_t hash, uint32_t code)
    {
        if (length != prefixLength || std::memcmp(bytes, prefix, static_cast<size_t>(length)) != 0)
            return;
        const uint32_t key = (code << 8) | lastByte;
        const uint32_t slot = FindSlotFrom(HashSlot(ExtendHash(hash, lastByte)), key);
        g_lzw.strings[slot] = (key << CODE_BITS) | LZW_FIRST_FREE;
        g_lzw.slotOfCode[LZW_FIRST_FREE] = slot;
        prefixLength = 0;
    }
};

uint64_t HashOf(const unsigned char* bytes, int32_t length)
{
    uint64_t hash = BYTE_WORDS.word[bytes[0]];
    for (int32_t i = 1; i < length; ++i)
        hash = ExtendHash(hash, bytes[i]);
    return hash;
}

// Codes input into output, which has room for EncodeCapacity(length) + ENCODE_SLACK bytes; returns
// the stream's length. The loops keep their state in locals and do only what every byte needs; the
// hash of prev is computed again at a reset rather than carried through the match loop.
size_t EncodeStream(const unsigned char* input, int32_t length, unsigned char* output)
{
    uint32_t* const strings = g_lzw.strings;
    const uint32_t* const longStrings = strings + PAIR_SLOTS;
    uint32_t* const slotOfCode = g_lzw.slotOfCode;
    BitPacker packer{output};
    uint32_t width = LZW_INITIAL_WIDTH;
    uint32_t widthLimit = 1u << LZW_INITIAL_WIDTH;
    uint32_t nextFree = LZW_FIRST_FREE;
    OrphanString orphan;

    const unsigned char* const end = input + length;
    const unsigned char* start = input; // prev is the bytes [start, p)
    const unsigned char* p = input + 1;
    uint32_t prevCode = input[0];
    while (p != end) {
        // prev is the single byte at start: its pair with the next byte is found directly.
        uint32_t byte = *p;
        uint32_t key = (prevCode << 8) | byte;
        uint32_t slot = key;
        uint32_t entry = strings[slot];
        uint64_t hash;
        if (entry == 0) {
            hash = orphan.prefixLength == 2 ? PairHash(prevCode, byte) : 0;
        } else {
            // Extend prev while the dictionary has it followed by the next byte.
            hash = PairHash(prevCode, byte);
            for (;;) {
                prevCode = entry & CODE_MASK;
                if (++p == end)
                    break;
                byte = *p;
                hash = ExtendHash(hash, byte);
                key = (prevCode << 8) | byte;
                const uint32_t index = static_cast<uint32_t>(hash >> (64 - HASH_BITS));
                entry = longStrings[index];
                if ((entry >> CODE_BITS) == key)
                    continue;
                slot = PAIR_SLOTS | index;
                if (entry == 0)
                    break;
                slot = FindSlotFrom(slot, key);
                entry = strings[slot];
                if (entry == 0)
                    break;
            }
            if (p == end)
                break;
        }

        const uint32_t newCode = nextFree++;
        strings[slot] = (key << CODE_BITS) | newCode;
        slotOfCode[newCode] = slot;
        if (hash == orphan.prefixHash && orphan.prefixLength != 0)
            orphan.Adopt(start, static_cast<int32_t>(p - start) + 1, hash, newCode);

        if (prevCode >= widthLimit) {
            do {
                packer.Put(LZW_GROW, width);
                ++width;
                widthLimit <<= 1;
            } while (prevCode >= widthLimit);
        }
        packer.Put(prevCode, width);

        if (nextFree == LZW_DICTIONARY_SIZE) {
            packer.Put(LZW_RESET, width);
            ClearStrings(nextFree);
            width = LZW_INITIAL_WIDTH;
            widthLimit = 1u << LZW_INITIAL_WIDTH;
            nextFree = LZW_FIRST_FREE + 1;
            const int32_t prefixLength = static_cast<int32_t>(p - start);
            if (prefixLength == 1) {
                const uint32_t pair = (static_cast<uint32_t>(*start) << 8) | byte;
                strings[pair] = (pair << CODE_BITS) | LZW_FIRST_FREE;
                slotOfCode[LZW_FIRST_FREE] = pair;
                orphan.prefixLength = 0;
            } else {
                // Until it is hung under its prefix, 259 names slot 0 as its own: emptying that slot
                // with the others is harmless, since every slot is emptied at the same time.
                slotOfCode[LZW_FIRST_FREE] = 0;
                orphan.prefix = start;
                orphan.prefixLength = prefixLength;
                orphan.prefixHash = HashOf(start, prefixLength);
                orphan.lastByte = byte;
            }
        }
        prevCode = byte;
        start = p;
        ++p;
    }

    while (prevCode >= widthLimit) {
        packer.Put(LZW_GROW, width);
        ++width;
        widthLimit <<= 1;
    }
    packer.Put(prevCode, width);
    packer.Put(LZW_END, width);
    ClearStrings(nextFree);
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
    g_lzw.inputSize = length;
    g_lzw.inputConsumed = 0;

    unsigned char* buffer = AllocateOutput(DECODE_BUFFER_SIZE);
    if (!buffer)
        return LZW_NO_MEMORY;

    BitReader reader(input, length);
    const DecodeOutcome outcome = DecodeStream(reader, buffer);
    g_lzw.inputConsumed = reader.Position();
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
    g_lzw.inputSize = length;
    g_lzw.encodeInputSize = length;
    g_lzw.inputConsumed = 0;
    if (length > LZW_MAX_INPUT)
        return LZW_INPUT_TOO_LARGE;

    unsigned char* buffer = AllocateOutput(EncodeCapacity(length) + ENCODE_SLACK);
    if (!buffer)
        return LZW_NO_MEMORY;

    size_t written = 0;
    int32_t result = LZW_INPUT_EXHAUSTED;
    if (length > 0) {
        written = EncodeStream(input, length, buffer);
        g_lzw.inputConsumed = length;
        g_lzw.encodedSize = static_cast<int32_t>(written);
        result = LZW_OK;
    }
    buffer[written] = 0;
    *output = buffer;
    *outputLength = static_cast<int32_t>(written) + 1;
    return result;
}

int32_t LzwInputSize()
{
    return g_lzw.inputSize;
}

int32_t LzwInputConsumed()
{
    return g_lzw.inputConsumed;
}

int32_t LzwEncodeInputSize()
{
    return g_lzw.encodeInputSize;
}

int32_t LzwEncodedSize()
{
    return g_lzw.encodedSize;
}

void LzwSetMessageHandler(LzwMessageHandler handler)
{
    g_lzw.messageHandler = handler;
}

void LzwSetAllocator(LzwAllocator allocator)
{
    g_lzw.allocator = allocator;
}
