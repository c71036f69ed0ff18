// Builds a generated sample data set into a temporary folder with the real generator and builder,
// the fixture of every test that needs a whole directory.
#pragma once

#include "builder/DataSetBuilder.h"
#include "builder/PlainPictureMaker.h"
#include "builder/SampleGenerator.h"
#include "tests/support/TempDir.h"

#include <memory>
#include <string>

class SampleDataSet {
public:
    // False (error says why) when the sample cannot be generated or built.
    bool make(int32_t listings, uint64_t seed, std::string* error = nullptr)
    {
        m_dir = std::make_unique<TempDir>("sample");
        SampleOptions options;
        options.listings = listings;
        options.seed = seed;
        options.maxPictures = 8;
        SourceModel model;
        const PlainPictureMaker pictures;
        if (!SampleGenerator::generate(options, &pictures, model, error))
            return false;
        return DataSetBuilder().build(model, *m_dir / "data", &m_summary, error);
    }
    [[nodiscard]] std::string folder() const { return *m_dir / "data"; }
    [[nodiscard]] std::string file(const std::string& name) const { return folder() + "/" + name; }
    [[nodiscard]] const BuildSummary& summary() const { return m_summary; }

private:
    std::unique_ptr<TempDir> m_dir;
    BuildSummary m_summary;
};
