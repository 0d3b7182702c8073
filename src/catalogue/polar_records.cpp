#include "catalogue/polar_records.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>

#include "catalogue/sky_cat.h"

namespace {

const std::vector<long> kBuiltInPolarRecords = {
    250,   412,   1166,  1977,  2164,  2175,  2647,  3037,  3153,  4197,  4290,  6911,  7150,
    7527,  8422,  9643,  12402, 13352, 13585, 15814, 17444, 17618, 18576, 19224, 20089, 20333,
    20531, 21243, 21324, 21742, 22088, 22453, 22552, 22681, 23495, 23658, 24031, 25092, 25531,
    25563, 25618, 25820, 26577, 27133, 27823, 29344, 29479, 29825, 30061, 30233, 30816, 30938,
    31301, 31578, 32090, 33759, 33878, 34395, 34426, 34922, 34977, 35253, 35910, 36021, 36768,
    37538, 37919, 38261, 38517, 40624, 42654, 43946, 43951, 44403, 46394, 46773, 46774, 47524,
    47799, 49006, 49078, 49080, 49104, 49114, 49224, 49446, 50051};

bool IsBlank(const std::string& line) {
    return line.find_first_not_of(" \t\r") == std::string::npos;
}

}  // namespace

std::optional<std::vector<long>> PolarRecords(const std::filesystem::path& catalogue_dir, long count) {
    const auto path = catalogue_dir / "skycat.pol";
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        if (count == SkyCat::kBuiltInCatalogueCount) return kBuiltInPolarRecords;
        return std::vector<long>{};
    }
    std::ifstream in(path);
    if (!in) return std::nullopt;
    std::vector<long> records;
    std::string line;
    while (std::getline(in, line)) {
        if (IsBlank(line)) continue;
        char* end = nullptr;
        errno = 0;
        const long n = std::strtol(line.c_str(), &end, 10);
        if (end == line.c_str() || errno != 0 || n < 0 || n >= count) return std::nullopt;
        if (!IsBlank(end)) return std::nullopt;
        records.push_back(n);
    }
    if (in.bad()) return std::nullopt;
    return records;
}
