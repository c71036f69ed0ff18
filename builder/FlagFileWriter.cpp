#include "builder/FlagFileWriter.h"

#include "builder/OutputFile.h"
#include "engine/Bytes.h"

#include <algorithm>

uint8_t FlagFileWriter::flagByte(const RecordFlags& flags)
{
    return static_cast<uint8_t>((flags.web ? kWebBit : 0) | (flags.mail ? kMailBit : 0) | (flags.ad ? kAdBit : 0));
}

void FlagFileWriter::appendLimitsEntry(std::vector<uint8_t>& out, uint8_t letter, int32_t first, int32_t last)
{
    out.push_back(letter);
    out.insert(out.end(), 3, 0);
    bytes::putLe32(out, static_cast<uint32_t>(first));
    bytes::putLe32(out, static_cast<uint32_t>(last));
}

FlagFileWriter::FlagFileWriter(int32_t recordCount)
    : m_flags(static_cast<size_t>(std::clamp(recordCount, 0, kMaxRecord)), 0)
{}

bool FlagFileWriter::setFlags(int32_t n, const RecordFlags& flags)
{
    if (n < 1 || n > recordCount())
        return false;
    m_flags[static_cast<size_t>(n) - 1] = flagByte(flags);
    return true;
}

int32_t FlagFileWriter::addRecord(const RecordFlags& flags)
{
    if (recordCount() >= kMaxRecord)
        return 0;
    m_flags.push_back(flagByte(flags));
    return recordCount();
}

bool FlagFileWriter::setGuideRange(int guide, int32_t first, int32_t last)
{
    if (guide < 0 || guide > 2 || first < 1 || first > last || last > kMaxRecord)
        return false;
    m_ranges[guide] = {true, first, last};
    return true;
}

std::vector<uint8_t> FlagFileWriter::limitsBytes() const
{
    std::vector<uint8_t> out;
    out.reserve(36);
    for (int k = 0; k < 3; ++k) {
        const Range& r = m_ranges[k];
        appendLimitsEntry(out, r.set ? static_cast<uint8_t>(kGuideLetters[k]) : 0, r.first, r.last);
    }
    return out;
}

bool FlagFileWriter::save(const std::string& flagPath, const std::string& limitsPath) const
{
    const bool flagsWritten = writeFile(flagPath, m_flags);
    return writeFile(limitsPath, limitsBytes()) && flagsWritten;
}
