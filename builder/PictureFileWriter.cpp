#include "builder/PictureFileWriter.h"

#include "engine/Bytes.h"

#include <cstring>

namespace picturefile {

bool isPngOrJpeg(const std::vector<uint8_t>& b)
{
    static const uint8_t png[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (b.size() >= 8 && std::memcmp(b.data(), png, 8) == 0)
        return true;
    return b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF;
}

bool build(const std::map<int32_t, std::vector<uint8_t>>& pictures, std::vector<uint8_t>& out, std::string* error)
{
    out.clear();
    int32_t highest = 0;
    uint64_t total = 0;
    for (const auto& [number, bytes] : pictures) {
        if (number < 1 || number > kMaxPictures) {
            if (error)
                *error = "picture number " + std::to_string(number) + " outside 1.." + std::to_string(kMaxPictures);
            return false;
        }
        if (!isPngOrJpeg(bytes)) {
            if (error)
                *error = "picture " + std::to_string(number) + " is neither PNG nor JPEG";
            return false;
        }
        highest = std::max(highest, number);
        total += bytes.size();
    }
    const uint64_t header = 16 + 8 * static_cast<uint64_t>(highest);
    if (header + total > INT32_MAX) {
        if (error)
            *error = "picture file beyond 2 GiB";
        return false;
    }
    out.reserve(header + total);
    out.insert(out.end(), PictureFile::kMagic, PictureFile::kMagic + 8);
    bytes::putLe32(out, static_cast<uint32_t>(highest));
    bytes::putLe32(out, 0);
    out.resize(header, 0);
    for (const auto& [number, data] : pictures) {
        const auto offset = static_cast<uint32_t>(out.size());
        bytes::setLe32(&out[16 + 8 * static_cast<size_t>(number - 1)], offset);
        bytes::setLe32(&out[20 + 8 * static_cast<size_t>(number - 1)], static_cast<uint32_t>(data.size()));
        out.insert(out.end(), data.begin(), data.end());
    }
    return true;
}

} // namespace picturefile
