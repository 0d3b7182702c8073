#pragma once
#include <cstdint>
#include <optional>
#include <vector>

// The clipboard's bitmap as a packed device-independent bitmap (header,
// colour table, bottom-up rows), or nothing when it holds none.
class ClipboardService {
public:
    virtual ~ClipboardService() = default;
    virtual std::optional<std::vector<std::uint8_t>> GetDib() = 0;
};
