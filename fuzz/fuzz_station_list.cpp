// The station list: its names, and a station added on top of it. A list
// that can be read keeps every name behind the new one; one that cannot is
// left as it was.
#include <cstring>

#include "files/station_list.h"
#include "fuzz_support.h"
#include "session/fixed_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto list = fuzz::WriteInput("station.dat", data, size);
    const auto names = ReadStationNames(list);
    fuzz::Require(names.has_value(), "an existing list could not be read");
    for (const std::string& n : *names) fuzz::Require(n.size() <= 18, "a station name longer than its field");

    StationData s;
    copy_text(s.name, "Fuzz station");
    copy_text(s.latdeg, "48");
    copy_text(s.latsec, "12.5");
    const std::string before(reinterpret_cast<const char*>(data), size);
    if (!AddStation(list, s)) {
        fuzz::Require(fuzz::ReadText(list) == before, "a failed addition changed the list");
        return 0;
    }
    const auto after = ReadStationNames(list);
    fuzz::Require(after.has_value() && !after->empty(), "the extended list cannot be read");
    fuzz::Require((*after)[0] == "Fuzz station      ", "the new station is not on top");  // blank-padded to 18
    // Names behind an end line are not copied; all the names read before
    // are, in their order.
    fuzz::Require(after->size() == names->size() + 1, "the extended list lost or gained names");
    for (std::size_t i = 0; i < names->size(); ++i) {
        fuzz::Require((*after)[i + 1] == (*names)[i], "a name changed when the list was extended");
    }
    return 0;
}
