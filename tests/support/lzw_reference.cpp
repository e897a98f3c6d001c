#include "lzw_reference.h"

#include <string>
#include <unordered_map>

#include "content/lzw.h"

void ReferenceBitWriter::Put(uint32_t code, int width)
{
    for (int bit = width - 1; bit >= 0; --bit, ++bitCount) {
        if (bitCount % 8 == 0)
            bytes.push_back(0);
        bytes.back() |= static_cast<unsigned char>(((code >> bit) & 1) << (7 - bitCount % 8));
    }
}

std::vector<unsigned char> ReferenceLzwEncode(const unsigned char* input, size_t length)
{
    ReferenceBitWriter writer;
    std::unordered_map<std::string, uint32_t> dictionary;
    uint32_t nextFree = LZW_FIRST_FREE;
    int width = LZW_INITIAL_WIDTH;
    auto put = [&](const std::string& text) {
        const uint32_t code = text.size() == 1 ? static_cast<unsigned char>(text[0]) : dictionary.at(text);
        while ((code >> width) != 0)
            writer.Put(LZW_GROW, width++);
        writer.Put(code, width);
    };
    std::string prev(1, static_cast<char>(input[0]));
    for (size_t i = 1; i < length; ++i) {
        const std::string candidate = prev + static_cast<char>(input[i]);
        if (dictionary.count(candidate)) {
            prev = candidate;
            continue;
        }
        dictionary.emplace(candidate, nextFree++);
        put(prev);
        prev.assign(1, static_cast<char>(input[i]));
        if (nextFree == LZW_DICTIONARY_SIZE) {
            writer.Put(LZW_RESET, width);
            dictionary.clear();
            dictionary.emplace(candidate, LZW_FIRST_FREE);
            nextFree = LZW_FIRST_FREE + 1;
            width = LZW_INITIAL_WIDTH;
        }
    }
    put(prev);
    writer.Put(LZW_END, width);
    return writer.bytes;
}
