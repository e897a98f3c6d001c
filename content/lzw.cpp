#include "content/lzw.h"

#include <cassert>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int LZW_STRING_GROWTH_PER_EPOCH = LZW_DICTIONARY_SIZE - LZW_FIRST_FREE - 1;

// The encoder finds "prefix string + next byte" in an open-addressing hash table keyed by
// (prefix code, byte). A slot holds the key in its top 20 bits and the code in its low 12; an empty
// slot is 0, which no entry can be since every stored code is at least LZW_FIRST_FREE. At most 3837
// strings live at once, so 8192 slots keep the table under half full and within the first-level cache.
constexpr int HASH_BITS = 13;
constexpr uint32_t HASH_SIZE = 1u << HASH_BITS;
constexpr uint32_t HASH_MASK = HASH_SIZE - 1;
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
    uint32_t hashSlots[HASH_SIZE];
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

// Appends codes most-significant-bit first. The output is sized for the worst case before coding
// starts, so the writer never needs to check room.
class BitWriter {
public:
    BitWriter(unsigned char* output, size_t capacity) : output_(output), capacity_(capacity) {}

    bool Put(uint32_t code, int width)
    {
        if (width > LZW_MAX_WIDTH)
            return false;
        pending_ = (pending_ << width) | code;
        pendingBits_ += width;
        while (pendingBits_ >= 8) {
            pendingBits_ -= 8;
            assert(written_ < capacity_);
            output_[written_++] = static_cast<unsigned char>(pending_ >> pendingBits_);
        }
        return true;
    }

    // Pads the last byte with zero bits.
    size_t Finish()
    {
        if (pendingBits_ > 0) {
            assert(written_ < capacity_);
            output_[written_++] = static_cast<unsigned char>(pending_ << (8 - pendingBits_));
            pendingBits_ = 0;
        }
        return written_;
    }

private:
    unsigned char* output_;
    size_t capacity_;
    size_t written_ = 0;
    uint64_t pending_ = 0;
    int pendingBits_ = 0;
};

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
    const size_t resets = length > 0 ? static_cast<size_t>(length - 1) / LZW_STRING_GROWTH_PER_EPOCH : 0;
    const size_t codes = static_cast<size_t>(length) + 3 * (resets + 1) + resets + 1;
    const size_t bytes = (codes * 12 + 7) / 8;
    return bytes > static_cast<size_t>(LZW_ENCODE_CAPACITY) ? bytes : LZW_ENCODE_CAPACITY;
}

uint32_t HashSlot(uint32_t key)
{
    return (key * 2654435761u) >> (32 - HASH_BITS);
}

void InsertString(uint32_t key, uint32_t slot, uint32_t code)
{
    g_lzw.hashSlots[slot] = (key << CODE_BITS) | code;
}

// Returns the slot holding key, or the empty slot where it belongs.
uint32_t FindSlot(uint32_t key)
{
    uint32_t slot = HashSlot(key);
    for (;;) {
        const uint32_t entry = g_lzw.hashSlots[slot];
        if (entry == 0 || (entry >> CODE_BITS) == key)
            return slot;
        slot = (slot + 1) & HASH_MASK;
    }
}

void InsertNewString(uint32_t prefixCode, unsigned char byte, uint32_t code)
{
    const uint32_t key = (prefixCode << 8) | byte;
    InsertString(key, FindSlot(key), code);
}

// Writes a code, announcing first every bit of width it lacks.
void PutCode(BitWriter& writer, uint32_t code, int& width)
{
    while ((code >> width) != 0) {
        writer.Put(LZW_GROW, width);
        ++width;
    }
    writer.Put(code, width);
}

// The format's encoder finds a candidate by comparing it with every dictionary string of the same
// length, and its reset re-adds the string that filled the dictionary as code 259 although that
// string's prefix is gone. The hash table can only find strings through their prefix's code, so 259
// is hung under its prefix as soon as the prefix is a dictionary string again: at once when it is a
// single byte, otherwise when the same bytes are next added. The results match byte for byte.
struct OrphanString {
    int32_t prefixStart = 0;  // the prefix is input[prefixStart, prefixStart + prefixLength)
    int32_t prefixLength = 0; // 0 when no string waits for its prefix
    unsigned char lastByte = 0;
};

size_t EncodeStream(const unsigned char* input, int32_t length, unsigned char* output, size_t capacity)
{
    std::memset(g_lzw.hashSlots, 0, sizeof(g_lzw.hashSlots));
    BitWriter writer(output, capacity);
    int width = LZW_INITIAL_WIDTH;
    uint32_t nextFree = LZW_FIRST_FREE;
    uint32_t prevCode = input[0];
    int32_t prevStart = 0;
    OrphanString orphan;

    for (int32_t position = 1; position < length; ++position) {
        const unsigned char byte = input[position];
        const uint32_t key = (prevCode << 8) | byte;
        const uint32_t slot = FindSlot(key);
        const uint32_t entry = g_lzw.hashSlots[slot];
        if (entry != 0) {
            prevCode = entry & CODE_MASK;
            continue;
        }

        const uint32_t newCode = nextFree++;
        InsertString(key, slot, newCode);
        const int32_t newLength = position - prevStart + 1;
        if (orphan.prefixLength == newLength &&
            std::memcmp(input + prevStart, input + orphan.prefixStart, static_cast<size_t>(newLength)) == 0) {
            InsertNewString(newCode, orphan.lastByte, LZW_FIRST_FREE);
            orphan.prefixLength = 0;
        }

        PutCode(writer, prevCode, width);

        if (nextFree == LZW_DICTIONARY_SIZE) {
            writer.Put(LZW_RESET, width);
            std::memset(g_lzw.hashSlots, 0, sizeof(g_lzw.hashSlots));
            width = LZW_INITIAL_WIDTH;
            nextFree = LZW_FIRST_FREE + 1;
            const int32_t prefixLength = position - prevStart;
            if (prefixLength == 1) {
                InsertNewString(input[prevStart], byte, LZW_FIRST_FREE);
                orphan.prefixLength = 0;
            } else {
                orphan.prefixStart = prevStart;
                orphan.prefixLength = prefixLength;
                orphan.lastByte = byte;
            }
        }
        prevCode = byte;
        prevStart = position;
    }

    PutCode(writer, prevCode, width);
    writer.Put(LZW_END, width);
    return writer.Finish();
}

// Decodes into output (LZW_DECODE_CAPACITY bytes plus room for the terminating zeros); *written
// receives the count of bytes decoded.
int32_t DecodeStream(BitReader& reader, unsigned char* output, int32_t* written)
{
    DecoderEntry* entries = g_lzw.entries;
    for (int byte = 0; byte < 256; ++byte) {
        g_lzw.singleBytes[byte] = static_cast<unsigned char>(byte);
        entries[byte] = {&g_lzw.singleBytes[byte], 1};
    }

    int32_t outputPosition = 0;
    *written = 0;
    uint32_t code = 0;
    if (!reader.Get(LZW_INITIAL_WIDTH, &code))
        return LZW_INPUT_EXHAUSTED;
    DecoderEntry prev = entries[code & 0xFF];
    int width = LZW_INITIAL_WIDTH;
    uint32_t nextFree = LZW_FIRST_FREE;

    for (;;) {
        if (width > LZW_MAX_WIDTH)
            return LZW_BAD_CODE;
        if (!reader.Get(width, &code))
            return LZW_INPUT_EXHAUSTED;
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
        if (code != LZW_END) {
            if (code > nextFree || nextFree >= LZW_DICTIONARY_SIZE)
                return LZW_BAD_CODE;
        }
        if (prev.length > LZW_DECODE_CAPACITY - outputPosition)
            return LZW_BAD_CODE;

        unsigned char* destination = output + outputPosition;
        if (code != LZW_END) {
            // The new string is prev followed by the first byte of the code's string, and that byte
            // is exactly the one written next, right after prev: the entry points at the output.
            // A code equal to nextFree names this very string (the writer used it as soon as it
            // made it), whose first byte is prev's own.
            entries[nextFree] = {destination, prev.length + 1};
            ++nextFree;
        }
        if (prev.length == 1) {
            destination[0] = prev.bytes[0];
        } else if (prev.bytes + prev.length <= destination) {
            std::memcpy(destination, prev.bytes, static_cast<size_t>(prev.length));
        } else {
            // Only prev made by the case above overlaps: its last byte is the first one copied
            // here, so a forward copy byte by byte produces it before reading it.
            for (int32_t i = 0; i < prev.length; ++i)
                destination[i] = prev.bytes[i];
        }
        outputPosition += prev.length;
        *written = outputPosition;
        if (code == LZW_END)
            return LZW_OK;
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

    unsigned char* buffer = AllocateOutput(static_cast<size_t>(LZW_DECODE_CAPACITY) + 2);
    if (!buffer)
        return LZW_NO_MEMORY;

    BitReader reader(input, length);
    int32_t written = 0;
    const int32_t result = DecodeStream(reader, buffer, &written);
    g_lzw.inputConsumed = reader.Position();
    buffer[written] = 0;
    buffer[written + 1] = 0;
    *output = buffer;
    *outputLength = written + 2;
    return result;
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

    const size_t capacity = EncodeCapacity(length);
    unsigned char* buffer = AllocateOutput(capacity + 1);
    if (!buffer)
        return LZW_NO_MEMORY;

    size_t written = 0;
    int32_t result = LZW_INPUT_EXHAUSTED;
    if (length > 0) {
        written = EncodeStream(input, length, buffer, capacity);
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
