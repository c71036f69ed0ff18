// Arbitrary bytes as a list index file: key tables, trailer and lists may all be nonsense. Every
// seek and every list read must stay inside the file, end, and leave the reader free.
#include "engine/Bytes.h"
#include "engine/Indice.h"
#include "engine/cpkLists.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

SourceOpener memoryOpener(const std::vector<uint8_t>& bytes)
{
    return [&bytes](const std::string&) -> std::unique_ptr<ByteSource> {
        return std::make_unique<MemoryByteSource>(bytes);
    };
}

void readToTheEnd(Indice& ix, int32_t space, int64_t maxNumbers)
{
    int64_t n = 0;
    int32_t previous = 0;
    for (int32_t r = ix.ListFirst(space); r != 0; r = ix.ListNext(space)) {
        if (r <= previous || ++n > maxNumbers)
            __builtin_trap(); // lists ascend, and no list of a small file is this long
        previous = r;
    }
    if (ix.lists().positioned())
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1 << 16)
        return 0;
    const std::vector<uint8_t> bytes(data, data + size);
    // A run byte yields at most 127 numbers: no answer may hold more than that per byte of file.
    const int64_t maxNumbers = 127 * static_cast<int64_t>(size) + 1;
    Indice ix("ix.idx", 64, memoryOpener(bytes));
    for (int32_t space = -1; space <= Indice::kMaxKeySpaces; ++space) {
        const int32_t keys = ix.keyCount(space);
        for (int32_t key : {-1, 0, 1, 2, 3, keys - 1, keys, keys + 1, size > 0 ? int32_t{data[0]} : 5}) {
            ix.SeekList(key, space);
            readToTheEnd(ix, space, maxNumbers);
        }
        // A list left after its first number must not leak into the next seek.
        if (ix.SeekList(1, space))
            (void)ix.ListFirst(space);
    }

    // The list reader alone, positioned at offsets taken from the input.
    cpkLists lists;
    lists.OpenLists("ix.idx", memoryOpener(bytes));
    for (size_t i = 0; i + 1 < size && i < 64; i += 2) {
        lists.Abandon();
        if (lists.Position(static_cast<int32_t>(bytes::le16(data + i))) != 0)
            continue;
        int64_t n = 0;
        while (lists.NextInList() > 0)
            if (++n > maxNumbers)
                __builtin_trap();
    }
    return 0;
}
