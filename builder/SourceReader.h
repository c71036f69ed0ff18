// SourceReader: reads a publisher's source folder (UTF-8 tab-separated text files, documented in
// docs/source-format.md) into a SourceModel. Every reference is checked while reading, so an error
// names the file, the line and the reason. One thread.
#pragma once

#include "builder/SourceModel.h"

#include <functional>
#include <string>

class SourceReader {
public:
    // Turns picture bytes that are neither PNG nor JPEG (a GIF, say) into PNG bytes; false when it
    // cannot. Without one, such pictures are refused.
    using PictureConverter = std::function<bool(const std::vector<uint8_t>& in, std::vector<uint8_t>& png)>;
    void setPictureConverter(PictureConverter c) { m_convert = std::move(c); }

    // False with "file:line: reason" in error.
    bool read(const std::string& folder, SourceModel& out, std::string* error);

private:
    PictureConverter m_convert;
};
