// The catalogue files: skycat.dat records, the Flamsteed index velkarn.ndx
// and the polar list skycat.pol, split from one input: the first byte
// counts the records, the second the index entries, the rest is the polar
// list. Both searches end with a status; a found star's position
// is a number.
#include <cmath>

#include "catalogue/sky_cat.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t a = std::min<std::size_t>(2 + data[0] * std::size_t{SkyCat::kRecordLength}, size);
    const std::size_t b = std::min<std::size_t>(a + data[1] * std::size_t{SkyCat::kIndexEntryLength}, size);
    fuzz::WriteInput("skycat.dat", data + 2, a - 2);
    fuzz::WriteInput("velkarn.ndx", data + a, b - a);
    fuzz::WriteInput("skycat.pol", data + b, size - b);
    const CatalogueFiles files{fuzz::ScratchDir(), fuzz::ScratchDir()};

    const char* names[] = {"58 Ori", "1 And", " 200Cyg", "9 Cas"};
    SkyCat by_name(files, names[size % 4], 0.5f);
    fuzz::Require(by_name.status <= 0 && by_name.count == static_cast<int>(by_name.candidates.size()),
                  "a name search without a status or with a wrong count");
    for (const float de : {-89.0f, 0.0f, 45.0f, 88.0f}) {
        SkyCat by_position(files, static_cast<float>(size % 24), de, 5.0f, 8.0f);
        fuzz::Require(by_position.status <= 0 && by_position.count == static_cast<int>(by_position.candidates.size()),
                      "a position search without a status or with a wrong count");
        for (const CatStar& s : by_position.candidates) {
            fuzz::Require(!std::isnan(s.ra) && !std::isnan(s.de), "a candidate without a position");
        }
    }
    return 0;
}
