// PictureFile: reads the ad picture file "Img.bld" (layout in builder/PictureFileWriter.h): the
// offset table is read at open, a picture's bytes on request. Decoding the PNG or JPEG bytes is the
// platform picture library's job. One thread at a time.
#pragma once

#include "engine/ByteSource.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class PictureFile {
public:
    static constexpr char kMagic[8] = {'O', 'R', 'T', 'I', 'M', 'G', 0, 1}; // 0x01: format version 1
    static constexpr int32_t kMaxPictures = 1'000'000;

    // False when the file cannot be opened or is not a picture file of version 1.
    bool open(const std::string& path, const SourceOpener& opener = openFileSource);
    void close();
    [[nodiscard]] bool isOpen() const { return m_source != nullptr; }
    [[nodiscard]] int32_t highest() const { return m_highest; }
    // The bytes of picture n; false for an unknown number or an entry outside the file.
    bool read(int32_t n, std::vector<uint8_t>& out);

private:
    std::unique_ptr<ByteSource> m_source;
    int64_t m_size = 0;
    int32_t m_highest = 0;
};
