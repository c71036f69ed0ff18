// PictureFileWriter: writes the ad picture file "Img.bld", our own container read by
// engine/PictureFile and decoded by the platform's picture library.
//
//   Offset     Size  Field (integers 32-bit little-endian)
//   0          8     magic "ORTIMG" 0x00 0x01 (0x01 = format version 1)
//   8          4     N, the highest picture number
//   12         4     reserved, 0
//   16 + 8(k-1) 8    picture k (1..N): offset of its bytes from the start of the file, then their
//                    length; both 0 when there is no picture k
//   16 + 8N    ...   the pictures, each a complete PNG or JPEG file
#pragma once

#include "engine/PictureFile.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace picturefile {

// The magic and the number limit are the reader's (engine/PictureFile.h).
constexpr int32_t kMaxPictures = PictureFile::kMaxPictures;

// True for bytes that start like a PNG or a JPEG file.
[[nodiscard]] bool isPngOrJpeg(const std::vector<uint8_t>& bytes);

// The file for pictures keyed by number (1..kMaxPictures). False (error says which) for a number
// outside that range, bytes that are neither PNG nor JPEG, or a file beyond 2 GiB.
[[nodiscard]] bool build(const std::map<int32_t, std::vector<uint8_t>>& pictures, std::vector<uint8_t>& out,
                         std::string* error = nullptr);

} // namespace picturefile
