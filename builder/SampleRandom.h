// SampleRandom: the sample generator's own pseudo-random numbers and integer distributions. The
// standard library's distributions and shuffles differ between implementations, so everything here
// is integer arithmetic written out: xoshiro256** seeded through splitmix64, Lemire's exact bounded
// draw and cumulative-weight picks. One generator per independent stream of decisions, owned by
// whoever draws from it; not shared between threads.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sample {

inline uint64_t splitmix64(uint64_t& state)
{
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

class Random {
public:
    // Streams with different numbers give unrelated sequences for the same seed.
    explicit Random(uint64_t seed, uint64_t stream = 0)
    {
        uint64_t state = seed ^ (stream * 0xD1B54A32D192ED03ull);
        for (uint64_t& word : m_s)
            word = splitmix64(state);
    }

    uint64_t next()
    {
        const uint64_t result = rotl(m_s[1] * 5, 7) * 9;
        const uint64_t t = m_s[1] << 17;
        m_s[2] ^= m_s[0];
        m_s[3] ^= m_s[1];
        m_s[1] ^= m_s[2];
        m_s[0] ^= m_s[3];
        m_s[2] ^= t;
        m_s[3] = rotl(m_s[3], 45);
        return result;
    }

    // Uniform in [0, n); 0 when n is 0.
    uint32_t below(uint32_t n)
    {
        if (n == 0)
            return 0;
        uint64_t m = (next() >> 32) * n;
        uint32_t low = static_cast<uint32_t>(m);
        if (low < n) {
            const uint32_t threshold = (0u - n) % n;
            while (low < threshold) {
                m = (next() >> 32) * n;
                low = static_cast<uint32_t>(m);
            }
        }
        return static_cast<uint32_t>(m >> 32);
    }

    // Uniform in [lo, hi]; lo when hi < lo.
    int32_t between(int32_t lo, int32_t hi)
    {
        if (hi <= lo)
            return lo;
        return lo + static_cast<int32_t>(below(static_cast<uint32_t>(hi - lo) + 1));
    }

    // True with probability perTenThousand / 10000.
    bool chance(uint32_t perTenThousand) { return below(10000) < perTenThousand; }

    template <typename T>
    const T& pick(const std::vector<T>& items)
    {
        return items[below(static_cast<uint32_t>(items.size()))];
    }

private:
    static uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    uint64_t m_s[4];
};

// Picks an index with probability proportional to its weight. Weights of 0 are never picked; an
// empty or all-zero table always gives 0.
class WeightedPick {
public:
    WeightedPick() = default;
    explicit WeightedPick(const std::vector<uint32_t>& weights)
    {
        for (const uint32_t w : weights)
            add(w);
    }

    void add(uint32_t weight)
    {
        m_total += weight;
        m_cumulative.push_back(m_total);
    }
    [[nodiscard]] size_t size() const { return m_cumulative.size(); }
    [[nodiscard]] uint32_t total() const { return m_total; }

    size_t pick(Random& random) const
    {
        if (m_total == 0)
            return 0;
        const uint32_t r = random.below(m_total);
        return static_cast<size_t>(std::upper_bound(m_cumulative.begin(), m_cumulative.end(), r) -
                                   m_cumulative.begin());
    }

private:
    std::vector<uint32_t> m_cumulative;
    uint32_t m_total = 0;
};

} // namespace sample
