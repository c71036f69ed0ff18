// DataSetBuilder: turns a SourceModel into a complete data folder that the viewer opens unchanged.
// Orders the three guides into contiguous record ranges (alphabetical, commercial, professional;
// the commercial and professional guides by rubro name, every guide by name and address), marks
// inherited names and addresses for consecutive lines of one subscriber, builds each code table
// from the real symbol counts and writes every index from the same word splitting the search uses.
// Everything is written into a temporary folder next to the destination and renamed at the end, so
// a failed build never leaves a half-written folder that looks like a data set. One thread.
#pragma once

#include "builder/SourceModel.h"

#include <cstdint>
#include <functional>
#include <string>

struct BuildProgress {
    std::string stage;  // "registros", "índices", ...
    uint64_t done = 0;  // items of the stage done so far
    uint64_t total = 0; // items of the stage
};

struct BuildSummary {
    int32_t records[3] = {0, 0, 0}; // per guide: alphabetical, commercial, professional
    int32_t ads = 0;
    int32_t pictures = 0;
    std::vector<std::pair<std::string, uint64_t>> files; // name and size, in writing order
    double seconds = 0;
};

class DataSetBuilder {
public:
    static constexpr int32_t kMaxRecords = 11'999'999;

    using ProgressFn = std::function<void(const BuildProgress&)>;
    void setProgress(ProgressFn fn) { m_progress = std::move(fn); }

    // Builds outDir (replacing an existing folder only once the new one is complete). False with a
    // reason when the model cannot be stored; nothing is left at outDir then.
    bool build(const SourceModel& model, const std::string& outDir, BuildSummary* summary = nullptr,
               std::string* error = nullptr);

private:
    ProgressFn m_progress;
};
