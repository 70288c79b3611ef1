// The piles' information view: each pile's label (kind and card count) and the optional pile names file "cwdr.dat".
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalog/rules.h"
#include "engine/table.h"

namespace cw::tools {

// The games' own names of their piles, read from "cwdr.dat" next to the application: a keyed
// section "Main" whose keys and values are scrambled. Nothing is shipped; without the file, or
// with a damaged one, every pile keeps its built-in kind word.
class PileNames {
public:
    // A missing, unreadable or damaged file gives no names (damaged lines are skipped one by one).
    static PileNames load(const std::string& path);
    static PileNames parse(std::string_view fileText);

    // The game's name for the pile ("" when the file has none): the unscrambled value up to its
    // first comma.
    std::string name(int gameId, engine::PileRef pile) const;
    bool empty() const { return m_names.empty(); }

private:
    std::unordered_map<std::string, std::string> m_names; // plain key -> name
};

// The plain key of a pile: game id in four digits, the pile letter ("F", "T", "R", "S" stock,
// "W" waste and second waste), "D" and the pile number in two digits (stock and waste "01",
// second waste "02"); "" for an invalid pile or id.
std::string pileNameKey(int gameId, engine::PileRef pile);

// The scrambling of the names file: each byte XORed with a key that walks along the text, then
// written as two upper-case hex digits (so keys and values never hold "=", "[" or line ends).
std::string scramblePileText(std::string_view plain);
std::optional<std::string> unscramblePileText(std::string_view scrambled);
// The names file for a list of (plain key, name) pairs: what a game designer writes.
std::string writePileNamesFile(const std::vector<std::pair<std::string, std::string>>& entries);

struct PileLabel {
    engine::PileRef pile;
    std::string kind;  // "Tableau", "Found.", "Tabl.", the game's own name...
    std::string count; // "1 card", "0 cards", "12 cards"
    friend bool operator==(const PileLabel&, const PileLabel&) = default;
};

// "Foundation", "Tableau", "Reserve", "Stock" or "Waste" (second waste too).
std::string builtInKindWord(engine::PileKind kind);
// The kind line: "Foundation" always becomes "Found."; with cards 70 pixels wide or less
// "Tableau" becomes "Tabl." and "Reserve" "Res.".
std::string kindLine(std::string word, int cardWidth);
// "1 card", otherwise the number and " cards".
std::string cardCountText(int count);
// The cards a pile's label counts: its positions, or, for tableau piles fanned in style 8 or 12,
// the real cards only.
int labelCardCount(const catalog::Rules& rules, const engine::Table& table, engine::PileRef pile);

// The labels of every pile in use, in drawing order: tableau piles, reserves, foundations, then
// the stock, the waste and the second waste when `onTable` says they are laid out.
std::vector<PileLabel> pileLabels(const catalog::Rules& rules, const engine::Table& table, int gameId, int cardWidth,
                                  const PileNames& names, const std::function<bool(engine::PileRef)>& onTable);

} // namespace cw::tools
