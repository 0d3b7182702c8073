#include "measure/replay_random.h"

#include <chrono>
#include <random>

std::uint64_t ReplayRandom::StartupSeed() {
    std::random_device device;
    const auto ticks = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return (static_cast<std::uint64_t>(device()) << 32 ^ device()) ^ ticks;
}

// SplitMix64: every seed, 0 included, gives a full-period sequence whose
// bits are all equally good, so the top bit is a fair coin.
std::uint64_t ReplayRandom::Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

bool ReplayRandom::Minus() { return (Next() >> 63) != 0; }

ReplayOffsets ReplayRandom::Offsets(int randomness) {
    const int x = Minus() ? -randomness : randomness;
    const int y = Minus() ? -randomness : randomness;
    return {x, y};
}
