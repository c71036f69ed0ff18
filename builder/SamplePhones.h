// SamplePhones: the telephone number plan of the sample localities. Localities that share an area
// code split its local numbers by their leading digits, longest prefix winning, as the national
// geographic numbering does; each locality draws from its own part. Numbers come out of a fixed
// pseudo-random permutation of the part, so no two draws repeat a number until the part is used
// up and consecutive draws look unrelated. Local numbers have 10 minus the area code's digits (6, 7 or 8 digits). One
// owner, one thread.
#pragma once

#include "builder/SampleSeeds.h"

#include <cstdint>
#include <vector>

namespace sample {

class SamplePhones {
public:
    // Builds the parts of every area code of the localities; seed picks each part's permutation.
    void build(const std::vector<SeedLocality>& localities, uint64_t seed);

    // The number space of the locality at that index of the list given to build.
    [[nodiscard]] int spaceOf(size_t locality) const { return m_spaceOf[locality]; }
    [[nodiscard]] int localLength(int space) const { return m_spaces[static_cast<size_t>(space)].localLength; }
    // The next local number of a space: never starting with a prefix that another locality of the
    // same area code claims, and new until the space's numbers are exhausted.
    int32_t next(int space);

private:
    struct Claim {
        int32_t value = 0;
        int length = 0;
    };
    struct Part {
        int32_t value = 0;          // the leading digits
        int length = 0;             // how many
        uint64_t size = 0;          // numbers in the part
        std::vector<Claim> foreign; // longer prefixes inside this one that belong to other localities
    };
    struct Space {
        int localLength = 0;
        std::vector<Part> parts;
        uint64_t total = 0;
        // A bijection of [0, 2^bits) with 2^bits >= total; cycle-walking keeps it in [0, total).
        int bits = 1;
        uint64_t multipliers[2] = {1, 1};
        uint64_t offset = 0;
        uint64_t counter = 0;
    };

    static uint64_t scramble(const Space& space, uint64_t x);

    std::vector<Space> m_spaces;
    std::vector<int> m_spaceOf;
};

} // namespace sample
