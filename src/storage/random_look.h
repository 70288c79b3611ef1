// The random look lists of Rnd_cfg.dat: which card sets, decks and backgrounds a new game may pick from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cw::storage {

inline constexpr const char* kRandomListsFile = "Rnd_cfg.dat";
inline constexpr const char* kRandomListsMark = "Rnd_read.dat"; // present while Rnd_cfg.dat is up to date

// Item codes besides the built-in numbers.
inline constexpr int kPlayerItemCode = -102;
inline constexpr int kAddOnItemCode = -103;

// One line of a list: display name, "=", "y" (in the random choice) or "n", the size letter of a card set
// (a blank for decks, backgrounds and card sets drawn at any size), then the item code (card sets: three
// digits).
struct RandomItem {
    std::string name;
    bool included = false;
    char sizeLetter = ' ';
    int code = 0;

    friend bool operator==(const RandomItem&, const RandomItem&) = default;
};

struct RandomLists {
    std::vector<RandomItem> cards;       // section "Cards"
    std::vector<RandomItem> decks;       // section "Decks"
    std::vector<RandomItem> backgrounds; // section "Backgrounds"

    friend bool operator==(const RandomLists&, const RandomLists&) = default;
};

// The lists of dataFolder's Rnd_cfg.dat; a missing file gives empty lists, unreadable lines are skipped.
RandomLists readRandomLists(const std::string& dataFolder);
// Writes Rnd_cfg.dat whole (CR LF lines), then Rnd_read.dat. Throws FileError when a file cannot be written.
void saveRandomLists(const std::string& dataFolder, const RandomLists& lists);
// Whether Rnd_read.dat says the lists are up to date; forgetRandomListsMark deletes it (the next game
// rebuilds the lists).
bool randomListsMarked(const std::string& dataFolder);
void forgetRandomListsMark(const std::string& dataFolder);

// The uniform pick among the included items (card sets: only those of sizeLetter, when it is not 0, and
// those drawn at any size, whose letter is a blank), made with randomValue; nullptr when none is included.
const RandomItem* pickRandomItem(const std::vector<RandomItem>& items, char sizeLetter, std::uint32_t randomValue);

// Marks from `previous` carried over to the freshly listed `items` by name (new items stay excluded).
void keepRandomMarks(std::vector<RandomItem>& items, const std::vector<RandomItem>& previous);

} // namespace cw::storage
