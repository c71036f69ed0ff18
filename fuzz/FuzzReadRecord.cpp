// Arbitrary bytes as a record store: an offset table, a record file and a code table, read back in
// several orders so the inheritance walk and the previous-record cache see nonsense offsets.
#include "engine/QdData.h"
#include "tests/support/MemoryFiles.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    // Byte 0: number of offset entries; byte 1: table length in 64-byte steps; then the offset
    // table, the table bytes and the record file.
    size_t pos = 2;
    const size_t pkBytes = std::min<size_t>(size - pos, static_cast<size_t>(data[0]) * 4);
    std::vector<uint8_t> pk(data + pos, data + pos + pkBytes);
    pos += pkBytes;
    const size_t tableBytes = std::min<size_t>(size - pos, static_cast<size_t>(data[1]) * 64);
    std::vector<uint8_t> table(data + pos, data + pos + tableBytes);
    pos += tableBytes;
    std::vector<uint8_t> records(data + pos, data + size);

    MemoryFiles fs;
    fs.put("QD.dat", records);
    fs.put("PK.idx", pk);
    fs.put("QD.hfm", table);
    QdData store("QD.dat", "PK.idx", 64, fs.opener());
    store.LoadCodeTable("QD.hfm");
    registro r;
    const int32_t count = store.RecordCount();
    for (int32_t n = count + 1; n >= 0; --n)
        store.ReadRecord(r, n, true);
    for (int32_t n = 0; n <= count + 1; ++n) {
        store.ReadRecord(r, n, true);
        (void)store.RecordLength(n);
    }
    return 0;
}
