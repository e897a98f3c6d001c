#include "content/lzw.h"

#include <cassert>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int STRINGS_ADDED_PER_EPOCH = LZW_DICTIONARY_SIZE - LZW_FIRST_FREE - 1;

// The encoder finds "prev + next byte" in an open-addressing hash table. The slot comes from a hash
// of the string's bytes, updated by one multiplication per input byte, so the address of each probe
// depends on the input alone and the processor can fetch it before the previous lookup is resolved;
// a lookup keyed by the prefix's code would wait on a cache miss at every byte. A slot holds the
// string's (prefix code, last byte) key in its top 20 bits and its code in the low 12; 0 is empty,
// which no entry is since every stored code is at least LZW_FIRST_FREE. Each code remembers its slot,
// so a reset empties only the slots in use and the table is all zeros between calls. At most 3837
// strings live at once: 65536 slots keep probe chains short, which matters more than the table's
// size in cache (measured).
constexpr int TABLE_BITS = 16;
constexpr uint32_t TABLE_SIZE = 1u << TABLE_BITS;
constexpr uint32_t TABLE_MASK = TABLE_SIZE - 1;
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
    uint32_t stringSlots[TABLE_SIZE];
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

// Appends codes most-significant-bit first. The output is sized for the worst case before coding
// starts, so the writer never needs to check room.
class BitWriter {
public:
    BitWriter(unsigned char* output, size_t capacity) : output_(output), capacity_(capacity) {}

    bool Put(uint32_t code, int width)
    {
        if (width > LZW_MAX_WIDTH)
            return false;
        // Whole bytes leave four at a time: one branch per code, taken in a regular pattern.
        pending_ = (pending_ << width) | code;
        pendingBits_ += width;
        if (pendingBits_ >= 32) {
            pendingBits_ -= 32;
            assert(written_ + 4 <= capacity_);
            const uint32_t word = static_cast<uint32_t>(pending_ >> pendingBits_);
            output_[written_] = static_cast<unsigned char>(word >> 24);
            output_[written_ + 1] = static_cast<unsigned char>(word >> 16);
            output_[written_ + 2] = static_cast<unsigned char>(word >> 8);
            output_[written_ + 3] = static_cast<unsigned char>(word);
            written_ += 4;
        }
        return true;
    }

    // Pads the last byte with zero bits.
    size_t Finish()
    {
        while (pendingBits_ >= 8) {
            pendingBits_ -= 8;
            assert(written_ < capacity_);
            output_[written_++] = static_cast<unsigned char>(pending_ >> pendingBits_);
        }
        if (pendingBits_ > 0) {
            assert(written_ < capacity_);
            output_[written_++] = static_cast<unsigned char>(pending_ << (8 - pendingBits_));
            pendingBits_ = 0;
        }
        return written_;
    }

private:
    unsigned char* output_;
    [[maybe_unused]] size_t capacity_;
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
    const size_t resets = length > 0 ? static_cast<size_t>(length - 1) / STRINGS_ADDED_PER_EPOCH : 0;
    const size_t codes = static_cast<size_t>(length) + 3 * (resets + 1) + resets + 1;
    const size_t bytes = (codes * 12 + 7) / 8;
    return bytes > static_cast<size_t>(LZW_ENCODE_CAPACITY) ? bytes : LZW_ENCODE_CAPACITY;
}

// The hash of a string extended by one byte; the hash of a single byte is StringHash(0, byte).
uint32_t StringHash(uint32_t hash, unsigned char byte)
{
    return (hash + byte + 1) * 0x9E3779B1u;
}

// Inverted so that no key is 0 and a hit needs one comparison: the all-ones key would need prefix
// code 4095, which is never a prefix (the writer resets as soon as it adds 4095).
uint32_t StringKey(uint32_t prefixCode, unsigned char byte)
{
    assert(prefixCode < LZW_DICTIONARY_SIZE - 1);
    return ((prefixCode << 8) | byte) ^ 0xFFFFF;
}

uint32_t HomeSlot(uint32_t hash)
{
    return hash >> (32 - TABLE_BITS);
}

// Returns the slot holding key on the probe sequence that starts at slot, or the empty slot where
// it belongs.
uint32_t FindSlotFrom(uint32_t slot, uint32_t key)
{
    for (;;) {
        const uint32_t entry = g_lzw.stringSlots[slot];
        if (entry == 0 || (entry >> CODE_BITS) == key)
            return slot;
        slot = (slot + 1) & TABLE_MASK;
    }
}

void FillSlot(uint32_t slot, uint32_t key, uint32_t code)
{
    g_lzw.stringSlots[slot] = (key << CODE_BITS) | code;
    g_lzw.slotOfCode[code] = slot;
}

// Empties the slots of codes LZW_FIRST_FREE to lastCode - 1.
void ClearStrings(uint32_t lastCode)
{
    for (uint32_t code = LZW_FIRST_FREE; code < lastCode; ++code)
        g_lzw.stringSlots[g_lzw.slotOfCode[code]] = 0;
}

// Writes a code, announcing first every bit of width it lacks.
inline void PutCode(BitWriter& writer, uint32_t code, int& width)
{
    if ((code >> width) != 0) {
        do {
            writer.Put(LZW_GROW, width);
            ++width;
        } while ((code >> width) != 0);
    }
    writer.Put(code, width);
}

// The format's encoder finds a candidate by comparing it with every dictionary string of the same
// length, and its reset re-adds the string that filled the dictionary as code 259 although that
// string's prefix is gone. The table can only find strings through their prefix's code, so 259
// is hung under its prefix as soon as the prefix is a dictionary string again: at once when it is a
// single byte, otherwise when the same bytes are next added. The results match byte for byte.
struct OrphanString {
    int32_t prefixStart = 0;  // the prefix is input[prefixStart, prefixStart + prefixLength)
    int32_t prefixLength = 0; // 0 when no string waits for its prefix
    uint32_t prefixHash = 0;  // compared first, so the bytes are compared only on a likely match
    unsigned char lastByte = 0;
};

size_t EncodeStream(const unsigned char* input, int32_t length, unsigned char* output, size_t capacity)
{
    BitWriter writer(output, capacity);
    int width = LZW_INITIAL_WIDTH;
    uint32_t nextFree = LZW_FIRST_FREE;
    uint32_t prevCode = input[0];
    uint32_t prevHash = StringHash(0, input[0]);
    int32_t prevStart = 0;
    OrphanString orphan;

    int32_t position = 1;
    while (position < length) {
        // Extend prev while the dictionary has it followed by the next byte.
        unsigned char byte;
        uint32_t hash, key, slot;
        for (;;) {
            byte = input[position];
            hash = StringHash(prevHash, byte);
            key = StringKey(prevCode, byte);
            slot = HomeSlot(hash);
            uint32_t entry = g_lzw.stringSlots[slot];
            if ((entry >> CODE_BITS) != key) {
                if (entry == 0)
                    break;
                slot = FindSlotFrom(slot, key);
                entry = g_lzw.stringSlots[slot];
                if (entry == 0)
                    break;
            }
            prevCode = entry & CODE_MASK;
            prevHash = hash;
            if (++position == length)
                break;
        }
        if (position == length)
            break;

        const uint32_t newCode = nextFree++;
        FillSlot(slot, key, newCode);
        const int32_t newLength = position - prevStart + 1;
        if (hash == orphan.prefixHash && orphan.prefixLength == newLength &&
            std::memcmp(input + prevStart, input + orphan.prefixStart, static_cast<size_t>(newLength)) == 0) {
            const uint32_t orphanHash = StringHash(hash, orphan.lastByte);
            const uint32_t orphanKey = StringKey(newCode, orphan.lastByte);
            FillSlot(FindSlotFrom(HomeSlot(orphanHash), orphanKey), orphanKey, LZW_FIRST_FREE);
            orphan.prefixLength = 0;
        }

        PutCode(writer, prevCode, width);

        if (nextFree == LZW_DICTIONARY_SIZE) {
            writer.Put(LZW_RESET, width);
            ClearStrings(nextFree);
            width = LZW_INITIAL_WIDTH;
            nextFree = LZW_FIRST_FREE + 1;
            const int32_t prefixLength = position - prevStart;
            if (prefixLength == 1) {
                const uint32_t readdedKey = StringKey(input[prevStart], byte);
                FillSlot(FindSlotFrom(HomeSlot(hash), readdedKey), readdedKey, LZW_FIRST_FREE);
                orphan.prefixLength = 0;
            } else {
                // Until it is hung under its prefix, 259 names slot 0 as its own: emptying that slot
                // with the others is harmless, since every slot is emptied at the same time.
                g_lzw.slotOfCode[LZW_FIRST_FREE] = 0;
                orphan.prefixStart = prevStart;
                orphan.prefixLength = prefixLength;
                orphan.prefixHash = prevHash;
                orphan.lastByte = byte;
            }
        }
        prevCode = byte;
        prevHash = StringHash(0, byte);
        prevStart = position;
        ++position;
    }

    PutCode(writer, prevCode, width);
    writer.Put(LZW_END, width);
    ClearStrings(nextFree);
    return writer.Finish();
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
