#pragma once
// The random displacement of a replay's magnifier: each axis is moved by
// +R or -R pixels, R the replay randomness setting, the sign of each axis
// drawn independently with probability one half. The generator is a small
// object seeded once at start-up and kept by whoever opens the replay
// dialogs, so a replay never shows the star at the window's centre and the
// observer cannot simply click where the last measurement was.
#include <cstdint>

struct ReplayOffsets {
    int x = 0;  // pixels, to the right
    int y = 0;  // pixels, upward
    bool operator==(const ReplayOffsets&) const = default;
};

class ReplayRandom {
public:
    explicit ReplayRandom(std::uint64_t seed) : state_(seed) {}

    // A seed that differs from one start of the program to the next.
    static std::uint64_t StartupSeed();

    // The offsets of one replay dialog for randomness R (0 gives none).
    ReplayOffsets Offsets(int randomness);

    // One fair coin: true for the minus sign.
    bool Minus();

private:
    std::uint64_t Next();
    std::uint64_t state_;
};
