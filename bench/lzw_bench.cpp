// Encode and decode throughput of the content codec on 64 KB of French text and of random bytes
// (the largest input the format takes: 65535 bytes).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench/french_text.h"
#include "content/lzw.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes FrenchInput()
{
    const std::string text = MakeFrenchText(LZW_MAX_INPUT);
    return Bytes(text.begin(), text.end());
}

Bytes RandomInput()
{
    std::mt19937 random(12345);
    Bytes bytes(LZW_MAX_INPUT);
    for (unsigned char& byte : bytes)
        byte = static_cast<unsigned char>(random());
    return bytes;
}

Bytes EncodeOnce(const Bytes& input)
{
    unsigned char* stream = nullptr;
    int32_t length = 0;
    if (LzwEncode(input.data(), static_cast<int32_t>(input.size()), &stream, &length) != LZW_OK)
        std::abort();
    Bytes bytes(stream, stream + length - 1);
    std::free(stream);
    return bytes;
}

void BM_Encode(benchmark::State& state, Bytes (*makeInput)())
{
    const Bytes input = makeInput();
    for (auto _ : state) {
        unsigned char* stream = nullptr;
        int32_t length = 0;
        benchmark::DoNotOptimize(LzwEncode(input.data(), static_cast<int32_t>(input.size()), &stream, &length));
        std::free(stream);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
    state.counters["ratio"] = static_cast<double>(EncodeOnce(input).size()) / static_cast<double>(input.size());
}

// Throughput counts decoded bytes, so both directions are measured per byte of plain text.
void BM_Decode(benchmark::State& state, Bytes (*makeInput)())
{
    const Bytes input = makeInput();
    const Bytes stream = EncodeOnce(input);
    for (auto _ : state) {
        unsigned char* output = nullptr;
        int32_t length = 0;
        benchmark::DoNotOptimize(LzwDecode(stream.data(), static_cast<int32_t>(stream.size()), &output, &length));
        std::free(output);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
}

BENCHMARK_CAPTURE(BM_Encode, french_text, FrenchInput);
BENCHMARK_CAPTURE(BM_Encode, random_bytes, RandomInput);
BENCHMARK_CAPTURE(BM_Decode, french_text, FrenchInput);
BENCHMARK_CAPTURE(BM_Decode, random_bytes, RandomInput);

} // namespace

BENCHMARK_MAIN();
