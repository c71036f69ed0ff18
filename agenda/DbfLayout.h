// The byte layout of a dBase level 7 table (".dbf") and its dBase IV style memo file (".dbt"),
// with the codecs of the three field types the agenda stores. Integers little-endian unless said.
//
// Table header (68 bytes, then the field descriptors):
//   Off  Size  Field
//   0    1     version: bits 0-2 = 4 for level 7; 0x8C = level 7 with a memo file
//   1    3     date of last update, YY (since 1900) MM DD
//   4    4     row count (deleted rows included; readers trust the complete rows in the file)
//   8    2     header length = offset of row 1 (may include a field-properties block)
//   10   2     row length, the deletion flag byte included
//   28   1     production index flag (cleared when this module writes: it keeps no index)
//   29   1     language driver id (0 at level 7)
//   32   32    language driver name, NUL-filled ("DBWINWE0" = Windows-1252)
//   68   48*n  field descriptors, then 0x0D, then an optional field-properties block
// Field descriptor (48 bytes):
//   0    32    name, NUL-filled     32  1  type ('C', 'I', 'M', ...)
//   33   1     length               34  1  decimals
// Row i (from 1) at header length + (i - 1) * row length: a flag byte ('*' deleted, anything
// else live), then the fields in order; 0x1A after the last row.
//
// Memo file header (block 0):
//   0    4     next free block        20   2     block size (0 read as 512)
// Memo at block b, offset b * block size: FF FF 08 00, uint32 length including these 8 bytes,
// the text, padding to the block size. A block without that signature is dBase III style: its
// text ends at 0x1A.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dbf {

inline constexpr size_t kHeaderSize = 68;
inline constexpr size_t kVersion = 0;
inline constexpr size_t kDate = 1;
inline constexpr size_t kRowCount = 4;
inline constexpr size_t kHeaderLength = 8;
inline constexpr size_t kRowLength = 10;
inline constexpr size_t kProductionIndex = 28;
inline constexpr size_t kLanguageId = 29;
inline constexpr size_t kDriverName = 32;
inline constexpr size_t kDriverNameSize = 32;

inline constexpr size_t kDescriptorSize = 48;
inline constexpr size_t kDescName = 0;
inline constexpr size_t kDescNameSize = 32;
inline constexpr size_t kDescType = 32;
inline constexpr size_t kDescLength = 33;
inline constexpr size_t kDescDecimals = 34;

inline constexpr uint8_t kLevelMask = 0x07;
inline constexpr uint8_t kLevel7 = 0x04;
inline constexpr uint8_t kLevel7WithMemo = 0x8C;
inline constexpr uint8_t kDescriptorEnd = 0x0D;
inline constexpr uint8_t kEndOfFile = 0x1A;
inline constexpr uint8_t kDeleted = '*';
inline constexpr uint8_t kLive = ' ';
inline constexpr const char* kDriverWindows1252 = "DBWINWE0";

inline constexpr size_t kMemoNextFree = 0;
inline constexpr size_t kMemoBlockSize = 20;
inline constexpr uint32_t kDefaultBlockSize = 512;
inline constexpr size_t kMemoBlockHeader = 8;
inline constexpr uint8_t kMemoSignature[4] = {0xFF, 0xFF, 0x08, 0x00};
inline constexpr size_t kMemoPointerWidth = 10;
inline constexpr size_t kIntegerWidth = 4;

// Integer field: big-endian with the sign bit inverted, so the bytes sort like the numbers;
// four zero bytes are a blank (hence -2147483648 cannot be stored).
[[nodiscard]] std::optional<int32_t> decodeInteger(const uint8_t* p);
// A blank for nullopt; INT32_MIN is stored as blank too.
void encodeInteger(uint8_t* p, std::optional<int32_t> value);

// Character field: left-aligned, space-padded; read without the trailing spaces and NULs.
[[nodiscard]] std::string decodeCharacter(const uint8_t* p, size_t width);
// Cut to the width, padded with spaces.
void encodeCharacter(uint8_t* p, size_t width, std::string_view text);

// Memo pointer: the block number in ASCII digits, padded with spaces (dBase) or zeros (other
// writers) or NULs. Blank or 0 is "no memo" (0); anything but digits is nullopt.
[[nodiscard]] std::optional<uint32_t> decodeMemoPointer(const uint8_t* p, size_t width);
// Right-justified with spaces; 0 writes a blank.
void encodeMemoPointer(uint8_t* p, size_t width, uint32_t block);

} // namespace dbf
