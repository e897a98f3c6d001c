// A file driver for comparing the content codec with other LZW programs on the same bytes.
//   lzw_files_bench text COPIES OUT   writes COPIES copies of the 64 KB French text
//   lzw_files_bench encode IN OUT     codes IN in chunks of 64000 bytes, each on its own (the format
//                                     takes at most 65535 bytes), each stream preceded by its length
//                                     in four little-endian bytes
//   lzw_files_bench decode IN OUT     restores what encode wrote
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/french_text.h"
#include "content/lzw.h"

namespace {

constexpr size_t CHUNK_SIZE = 64000;
constexpr size_t TEXT_SIZE = 65536;

// Both directions stream through fixed buffers, as compress does, so the figures are the codec's
// and not the cost of holding whole files in memory.
bool EncodeFile(FILE* in, FILE* out)
{
    static unsigned char chunk[CHUNK_SIZE];
    size_t length;
    while ((length = std::fread(chunk, 1, sizeof(chunk), in)) > 0) {
        unsigned char* stream = nullptr;
        int32_t streamLength = 0;
        if (LzwEncode(chunk, static_cast<int32_t>(length), &stream, &streamLength) != LZW_OK)
            return false;
        const uint32_t size = static_cast<uint32_t>(streamLength - 1);
        const unsigned char header[4] = {static_cast<unsigned char>(size), static_cast<unsigned char>(size >> 8),
                                         static_cast<unsigned char>(size >> 16),
                                         static_cast<unsigned char>(size >> 24)};
        const bool written = std::fwrite(header, 1, 4, out) == 4 && std::fwrite(stream, 1, size, out) == size;
        std::free(stream);
        if (!written)
            return false;
    }
    return !std::ferror(in);
}

bool DecodeFile(FILE* in, FILE* out)
{
    static unsigned char stream[1 << 17];
    unsigned char header[4];
    size_t got;
    while ((got = std::fread(header, 1, 4, in)) == 4) {
        const uint32_t size = header[0] | header[1] << 8 | header[2] << 16 | static_cast<uint32_t>(header[3]) << 24;
        if (size > sizeof(stream) || std::fread(stream, 1, size, in) != size)
            return false;
        unsigned char* decoded = nullptr;
        int32_t decodedLength = 0;
        const int32_t result = LzwDecode(stream, static_cast<int32_t>(size), &decoded, &decodedLength);
        const size_t length = static_cast<size_t>(decodedLength - 2);
        const bool written = result == LZW_OK && std::fwrite(decoded, 1, length, out) == length;
        std::free(decoded);
        if (!written)
            return false;
    }
    return got == 0 && !std::ferror(in);
}

bool WriteText(int copies, FILE* out)
{
    const std::string text = MakeFrenchText(TEXT_SIZE);
    for (; copies > 0; --copies) {
        if (std::fwrite(text.data(), 1, text.size(), out) != text.size())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s text COPIES OUT | encode IN OUT | decode IN OUT\n", argv[0]);
        return 2;
    }
    const std::string command = argv[1];
    FILE* in = command == "text" ? nullptr : std::fopen(argv[2], "rb");
    if (command != "text" && !in) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 1;
    }
    FILE* out = std::fopen(argv[3], "wb");
    bool ok = out != nullptr;
    if (ok) {
        ok = command == "text"     ? WriteText(std::atoi(argv[2]), out)
             : command == "encode" ? EncodeFile(in, out)
             : command == "decode" ? DecodeFile(in, out)
                                   : false;
        ok = std::fclose(out) == 0 && ok;
    }
    if (in)
        std::fclose(in);
    if (!ok)
        std::fprintf(stderr, "%s failed\n", command.c_str());
    return ok ? 0 : 1;
}
