// Arbitrary bytes as a code table followed by coded input: decoding must stay inside both buffers.
#include "engine/huffman.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    // The first byte picks how much of the input is the table (in 64-byte steps), the rest is coded text.
    const size_t tableBytes = std::min<size_t>(size - 1, static_cast<size_t>(data[0]) * 64);
    huffman h;
    h.loadBytes(data + 1, tableBytes);
    const uint8_t* coded = data + 1 + tableBytes;
    const auto codedLength = static_cast<int32_t>(size - 1 - tableBytes);
    for (int32_t capacity : {1, 7, 512}) {
        char text[512];
        const int32_t n = h.Decode(text, capacity, coded, codedLength);
        if (n < 0 || n >= capacity || text[n] != 0)
            __builtin_trap();
    }
    uint8_t out[200];
    const int32_t bits = h.Encode(
        out, 200,
        std::string_view(reinterpret_cast<const char*>(coded), std::min<size_t>(static_cast<size_t>(codedLength), 64)),
        0);
    if (bits < 0 || bits > 200 * 8)
        __builtin_trap();
    return 0;
}
