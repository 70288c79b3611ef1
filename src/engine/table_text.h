// The one encoder/decoder pair for the text forms of the table: pile strings and snapshot texts.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/table.h"

namespace cw::engine {

// Pile string: the concatenated three-digit codes, bottom first ("014027040001").
std::string encodePileString(const Pile& pile);
// Parses a pile string; false (pile untouched) when the length is not a multiple of three or a
// group is not a code 0..212.
bool decodePileString(std::string_view text, Pile& pile);

// Snapshot text of a pile: one four-character group per position, the three-digit code and the
// card's face flag ("1" up, "0" down); a placeholder is written "0000".
std::string encodeSnapshotPile(const Table& table, PileRef pile);
// Replaces the pile by the groups of the text, setting each card's face flag; false (table
// untouched) when the length is not a multiple of four, a code is not 0..212 or a flag is not
// "0" or "1".
bool decodeSnapshotPile(std::string_view text, Table& table, PileRef pile);

// The 71 snapshot texts of the whole table in table order: stock, waste, second waste,
// foundations 1-16, tableau 1-40, reserves 1-12 (the order of saved games).
std::array<std::string, kTablePiles> encodeSnapshot(const Table& table);
// Rebuilds every pile from 71 snapshot texts. On failure the table is left unchanged and error
// (when given) names the line (1-based) and what is wrong with it.
bool decodeSnapshot(const std::vector<std::string>& lines, Table& table, std::string* error = nullptr);

} // namespace cw::engine
