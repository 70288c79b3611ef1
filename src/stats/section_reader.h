// Reads all key/value pairs of one section of a keyed file, found by the block search.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "storage/keyed_file.h"

namespace cw::stats {

// The pairs of the first section called `section` (values with trailing blanks removed; lines without
// "=" skipped); nullopt when the file or the section does not exist. Only the section itself is read.
std::optional<storage::KeyValues> readSectionPairs(const std::string& file, std::string_view section);

// Sets key to value in pairs (appended when absent).
void setPair(storage::KeyValues& pairs, const std::string& key, const std::string& value);

}  // namespace cw::stats
