#pragma once
// The records of the stars within 4 degrees of either pole (|DE| > 86), which
// a scan by right ascension never reaches. The list belongs to the catalogue
// file: skycat.pol beside skycat.dat holds it as plain text, one 0-based
// record number per line, ascending.

#include <filesystem>
#include <optional>
#include <vector>

// The polar records of a catalogue of `count` records in catalogue_dir:
// skycat.pol when present; otherwise the built-in list when count is that of
// the catalogue it was made for, else none. Nothing (no value) when
// skycat.pol cannot be read or holds a line that is not a record number of
// this catalogue.
std::optional<std::vector<long>> PolarRecords(const std::filesystem::path& catalogue_dir, long count);
