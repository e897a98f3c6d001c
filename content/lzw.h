// The quiz content codec: a variant of LZW with 9- to 12-bit codes packed most-significant-bit first,
// whose writer announces every growth of the code width and every reset of the dictionary with a
// control code. The stream format is described for quiz tool writers in docs/lzw-format.md.
//
// The codec keeps one global state (dictionary, lookup table), so calls are neither
// reentrant nor thread-safe: run one call at a time.
#pragma once

#include <cstddef>
#include <cstdint>

// Control codes of the stream and the first code given to a dictionary string.
constexpr int LZW_END = 256;        // end of data
constexpr int LZW_GROW = 257;       // the code width grows by one bit from the next code on
constexpr int LZW_RESET = 258;      // the dictionary returns to the 256 single bytes, width 9
constexpr int LZW_FIRST_FREE = 259; // first code given to a new string

constexpr int LZW_DICTIONARY_SIZE = 4096; // codes 0 to 4095; the writer resets when 4096 is reached
constexpr int LZW_INITIAL_WIDTH = 9;
constexpr int LZW_MAX_WIDTH = 32; // the decoder refuses to read wider codes
constexpr int32_t LZW_MAX_INPUT = 65535;
constexpr int32_t LZW_DECODE_CAPACITY = 120000; // largest decoded output
constexpr int32_t LZW_ENCODE_CAPACITY = 80000;  // smallest encoder output buffer

// Result codes: 0 for success, negative for failure.
constexpr int32_t LZW_OK = 0;
constexpr int32_t LZW_NO_MEMORY = -4;
constexpr int32_t LZW_INPUT_EXHAUSTED = -5;
constexpr int32_t LZW_WRITE_FAILED = -6;
constexpr int32_t LZW_BAD_CODE = -7;
// LzwEncode only: the input is 65536 bytes or longer; the format counts input positions in 16 bits.
constexpr int32_t LZW_INPUT_TOO_LARGE = -8;

// Decodes a stream into a new buffer.
//
// input/length: the stream. A null input or a length of 0 or less is an empty stream.
// output/outputLength: must not be null (else LZW_WRITE_FAILED and nothing else happens).
//
// Results:
//   LZW_OK              the end code was read; bits after it are ignored.
//   LZW_INPUT_EXHAUSTED the stream ended before the end code (also for an empty stream); the output
//                       holds everything decoded up to the last complete string.
//   LZW_BAD_CODE        a code above the next free code, a width grown past 32 bits, a string added
//                       when the dictionary already holds code 4095 (no reset in time), or more than
//                       LZW_DECODE_CAPACITY bytes of output. Decoding stops at the fault; the output
//                       holds what was decoded before it.
//   LZW_NO_MEMORY       the output buffer could not be allocated: the message handler (see below) is
//                       told "Impossible d'allouer la memoire", out-parameters untouched.
// A stream may be longer than the encoder's 65535-byte input limit (incompressible input grows by
// about half when coded); the output capacity bounds the work whatever the length.
//
// Ownership: for every result but LZW_NO_MEMORY and LZW_WRITE_FAILED, *output receives a buffer allocated with malloc
// that the caller releases with free. It holds the decoded bytes followed by two zero bytes, and
// *outputLength receives the count of decoded bytes plus 2 (so the zeros are included).
//
// No input, however malformed, makes the decoder read outside input[0, length) or write outside
// the buffers it allocated.
int32_t LzwDecode(const unsigned char* input, int32_t length, unsigned char** output, int32_t* outputLength);

// Encodes bytes into a new stream.
//
// input/length: the bytes to encode; at most LZW_MAX_INPUT. A null input or a length of 0 or less
// is an empty input. output/outputLength: must not be null (else LZW_WRITE_FAILED).
//
// Results:
//   LZW_OK              the whole input was coded and terminated with the end code.
//   LZW_INPUT_EXHAUSTED the input is empty; *output receives an empty buffer.
//   LZW_INPUT_TOO_LARGE length is 65536 or more; out-parameters untouched.
//   LZW_NO_MEMORY       the output buffer could not be allocated: the message handler is told
//                       "Impossible d'allouer la memoire", out-parameters untouched.
// Any input within the limit encodes: the output buffer is sized for the worst case (incompressible
// input grows by about half), never less than LZW_ENCODE_CAPACITY bytes.
//
// Ownership: for LZW_OK and LZW_INPUT_EXHAUSTED, *output receives a buffer allocated with malloc
// that the caller releases with free. It holds the stream followed by one zero byte, and
// *outputLength receives the stream's length plus 1.
//
// No input makes the encoder read outside input[0, length) or write outside its buffers.
int32_t LzwEncode(const unsigned char* input, int32_t length, unsigned char** output, int32_t* outputLength);

// The codec cannot show a message box itself; the program installs a handler that does. Null (the
// default) means no message.
using LzwMessageHandler = void (*)(const char* text, const char* caption);
void LzwSetMessageHandler(LzwMessageHandler handler);

// Allocates the output buffers; whatever it returns is released by the caller with free, so a
// replacement must hand out malloc memory (or null, to simulate exhaustion). Null restores malloc.
using LzwAllocator = void* (*)(size_t size);
void LzwSetAllocator(LzwAllocator allocator);
