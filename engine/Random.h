#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The game's random number generator (xoshiro256**): small, fast and repeatable for a seed.
class TRandom {
public:
    explicit TRandom(std::uint64_t seed = 0) { Seed(seed); }

    void Seed(std::uint64_t seed) {
        // SplitMix64 spreads one seed over the four words of state.
        for (auto& word : s_) {
            seed += 0x9E3779B97F4A7C15ULL;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
            word = z ^ (z >> 31);
        }
    }

    // The four words of state, so that a saved game goes on with the very same draws.
    using State = std::array<std::uint64_t, 4>;
    State GetState() const { return {s_[0], s_[1], s_[2], s_[3]}; }
    // False, and nothing changed, for the all-zero state, from which the generator never leaves.
    bool SetState(const State& state) {
        if (state == State{}) return false;
        for (std::size_t i = 0; i < state.size(); ++i) s_[i] = state[i];
        return true;
    }

    bool operator==(const TRandom&) const = default;

    std::uint64_t Next() {
        const std::uint64_t result = Rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = Rotl(s_[3], 45);
        return result;
    }

    // A uniform real in [0, 1).
    double Real() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

    // A uniform integer in [low, high].
    int Int(int low, int high) {
        const std::uint64_t span = static_cast<std::uint64_t>(high - low) + 1;
        return low + static_cast<int>((static_cast<UInt128>(Next()) * span) >> 64);
    }

private:
    __extension__ typedef unsigned __int128 UInt128;
    static std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t s_[4] = {};
};
