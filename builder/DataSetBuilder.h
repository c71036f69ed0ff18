// DataSetBuilder: turns a SourceModel into a complete data folder that the viewer opens unchanged.
// Orders the three guides into contiguous record ranges (alphabetical, commercial, professional;
// the commercial and professional guides by rubro name, every guide by name and address), marks
// inherited names and addresses for consecutive lines of one subscriber, builds each code table
// from the real symbol counts and writes every index from the same word splitting the search uses.
// Everything is written into a staging folder next to the destination and swapped in at the end
// (OutputFolder), so a failed build leaves everything as it was. One thread, and a second one of
// its own for the word index.
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

    // The folder the model was read from: never replaced, nor a folder holding it.
    void setSourceFolder(std::string folder) { m_sourceFolder = std::move(folder); }

    // Builds outDir, replacing what is there only when it is a data set (OutputFolder) and only once
    // the new one is complete. False with a reason (the source file and line when the model was
    // read from one); everything is left as it was then.
    bool build(const SourceModel& model, const std::string& outDir, BuildSummary* summary = nullptr,
               std::string* error = nullptr);

private:
    class Run;
    ProgressFn m_progress;
    std::string m_sourceFolder;
};
