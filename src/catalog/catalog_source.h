// The readable game catalog source (data/games/*.games): parser, inheritance, checks and the rules-text file.
#pragma once

#include "catalog/definitions.h"
#include "catalog/result.h"
#include "catalog/rules.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw::catalog {

// ---- Parsed source ----

enum class SourceBlockKind { Game, Template, Defaults };

// One "parameter = values" line, already resolved to parameter numbers.
struct SourceAssignment {
    int number = 0;   // first parameter number set
    std::vector<int> values; // values for number, number + 1, ... (a whole range when the key names one)
    int line = 0;
    std::string key;  // as written, for messages
};

// A block of a source file: a game, a template (inherited from, never listed) or the
// catalog-wide defaults every chain starts from.
struct SourceBlock {
    SourceBlockKind kind = SourceBlockKind::Game;
    std::string name;
    std::vector<std::string> bases; // applied in order after the defaults; empty: the defaults only
    std::string file;
    int line = 0;
    std::optional<int> id;
    std::optional<int> type;
    std::optional<std::vector<std::string>> marks;  // hidden, large_screen, new
    std::vector<std::string> groups;                // popular, original, children
    std::optional<int> leftover;                    // cards the deal is meant to leave out
    std::vector<SourceAssignment> values;
    std::optional<std::string> rulesText;           // paragraphs separated by "\n\n"
    std::string rulesMore;                          // paragraphs appended to the inherited text
};

// Parses one source file. Errors name the file, the line and, inside a block, the game.
Result<std::vector<SourceBlock>> parseCatalogSource(std::string_view text, std::string_view fileName);

// ---- Resolved catalog ----

struct CatalogGame {
    int id = 0;
    int type = 0;
    std::string name;
    bool hidden = false;
    bool largeScreen = false;
    bool newGame = false;
    bool popular = false;
    bool original = false;
    bool children = false;
    int leftover = 0;
    Rules rules;
    std::string rulesText;
    std::string file;
    int line = 0;
};

// Applies inheritance (the defaults, then each base in order with its own bases first, then
// the game's own lines) and checks names, ids and bases. Games keep the order of the blocks given.
Result<std::vector<CatalogGame>> resolveCatalog(const std::vector<SourceBlock>& blocks);

// The checks that need no engine: pile counts, 16-bit values, per-pile values past the pile
// counts, card counts, layout codes, special codes and families, ids and names. Each message
// names the game and the parameter.
std::vector<std::string> checkCatalog(const std::vector<CatalogGame>& games);

// How many cards the pack holds after the deck filters (jokers included), and how many the
// deal parameters ask for; used by the deal check.
int packSize(const Rules& rules);
int requestedDealCards(const Rules& rules);

// The definitions-file view: games sorted by id, groups in id order.
std::vector<DefinitionGame> definitionGames(const std::vector<CatalogGame>& games);
DefinitionGroups definitionGroups(const std::vector<CatalogGame>& games);

// ---- Rules texts (GAMES_RULES.DAT) ----

inline constexpr std::string_view kRulesTextsFileName = "GAMES_RULES.DAT";

struct RulesText {
    int id = 0;
    std::string name;
    std::vector<std::string> paragraphs;
};

// "[Game NNN]" sections with "Name=" and one "Text=" line per paragraph, CR LF.
std::string writeRulesTexts(const std::vector<CatalogGame>& games);
Result<std::vector<RulesText>> readRulesTexts(std::string_view text, std::string_view fileName = kRulesTextsFileName);

// Named values of the source format: game types and the chooser's feature classes.
std::optional<int> gameTypeByName(std::string_view name);

} // namespace cw::catalog
