#include "builder/SamplePhones.h"

#include "builder/SampleRandom.h"

#include <algorithm>
#include <map>
#include <string>

namespace sample {
namespace {

uint64_t power10(int n)
{
    uint64_t p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

bool startsWithFixedDigit(const std::string& prefix)
{
    return prefix[0] == '0' || prefix[0] == '1';
}

} // namespace

void SamplePhones::build(const std::vector<SeedLocality>& localities, uint64_t seed)
{
    m_spaces.clear();
    m_spaceOf.assign(localities.size(), 0);
    Random random(seed, 0x50484F4E45ull); // "PHONE"

    std::map<int32_t, std::vector<size_t>> byArea;
    for (size_t i = 0; i < localities.size(); ++i)
        byArea[localities[i].areaCode].push_back(i);

    std::map<std::string, int> spaceByKey;
    for (const auto& [area, members] : byArea) {
        for (const size_t i : members) {
            const SeedLocality& l = localities[i];
            // Local numbers do not start with 0 or 1 (trunk and service codes); a locality's own
            // prefixes keep them only when nothing else is left.
            std::vector<std::string> own;
            for (const std::string& p : l.prefixes) {
                if (!startsWithFixedDigit(p))
                    own.push_back(p);
            }
            if (own.empty())
                own = l.prefixes;
            std::vector<std::string> claimedByOthers;
            for (const size_t j : members) {
                if (localities[j].areaCode == l.areaCode && j != i) {
                    for (const std::string& p : localities[j].prefixes) {
                        if (std::find(l.prefixes.begin(), l.prefixes.end(), p) == l.prefixes.end())
                            claimedByOthers.push_back(p);
                    }
                }
            }
            if (own.empty()) {
                for (char d = '2'; d <= '7'; ++d) {
                    const std::string digit(1, d);
                    if (std::find(claimedByOthers.begin(), claimedByOthers.end(), digit) == claimedByOthers.end())
                        own.push_back(digit);
                }
                if (own.empty()) {
                    for (char d = '8'; d <= '9'; ++d)
                        own.emplace_back(1, d);
                }
            }
            std::sort(own.begin(), own.end());
            std::string key = std::to_string(area) + ":";
            for (const std::string& p : own)
                key += p + ",";
            const auto found = spaceByKey.find(key);
            if (found != spaceByKey.end()) {
                m_spaceOf[i] = found->second;
                continue;
            }

            Space space;
            space.localLength = l.localLength;
            for (const std::string& p : own) {
                Part part;
                part.value = std::stoi(p);
                part.length = static_cast<int>(p.size());
                part.size = power10(l.localLength - part.length);
                for (const std::string& c : claimedByOthers) {
                    if (c.size() > p.size() && c.compare(0, p.size(), p) == 0)
                        part.foreign.push_back({std::stoi(c), static_cast<int>(c.size())});
                }
                space.total += part.size;
                space.parts.push_back(std::move(part));
            }
            while ((uint64_t{1} << space.bits) < space.total)
                ++space.bits;
            space.multipliers[0] = random.next() | 1;
            space.multipliers[1] = random.next() | 1;
            space.offset = random.next();
            const int index = static_cast<int>(m_spaces.size());
            m_spaces.push_back(std::move(space));
            spaceByKey.emplace(key, index);
            m_spaceOf[i] = index;
        }
    }
}

uint64_t SamplePhones::scramble(const Space& space, uint64_t x)
{
    // Each step is invertible on bits-bit words: xor with a right shift, multiplication by an odd
    // number, addition; so the whole is a permutation of the domain.
    const int k = space.bits;
    const uint64_t mask = (k >= 64 ? ~uint64_t{0} : (uint64_t{1} << k) - 1);
    x = (x + space.offset) & mask;
    x ^= x >> ((k + 1) / 2);
    x = (x * space.multipliers[0]) & mask;
    x ^= x >> ((k + 2) / 3);
    x = (x * space.multipliers[1]) & mask;
    x ^= x >> ((k + 1) / 2);
    return x;
}

int32_t SamplePhones::next(int spaceIndex)
{
    Space& space = m_spaces[static_cast<size_t>(spaceIndex)];
    int32_t number = 0;
    // A few draws at most: foreign claims cover a small share of any part.
    for (int attempt = 0; attempt < 64; ++attempt) {
        uint64_t x = scramble(space, space.counter++ % space.total);
        // Cycle-walking: values of the power-of-two domain beyond the space map onward until one
        // lands inside; fewer than two steps on average, since the domain is under twice the space.
        while (x >= space.total)
            x = scramble(space, x);
        const Part* part = &space.parts.front();
        for (const Part& p : space.parts) {
            part = &p;
            if (x < p.size)
                break;
            x -= p.size;
        }
        number = static_cast<int32_t>(static_cast<uint64_t>(part->value) * part->size + x);
        bool taken = false;
        for (const Claim& c : part->foreign) {
            if (static_cast<uint64_t>(number) / power10(space.localLength - c.length) ==
                static_cast<uint64_t>(c.value)) {
                taken = true;
                break;
            }
        }
        if (!taken)
            break;
    }
    return number;
}

} // namespace sample
