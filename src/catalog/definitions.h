// Reader (and writer) of the game definitions file GAMES.DAT: sections, the parameter matrix, game groups.
#pragma once

#include "catalog/result.h"
#include "catalog/rules.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw::catalog {

class GameList;
struct CustomGame;

inline constexpr std::string_view kDefinitionsFileName = "GAMES.DAT";
inline constexpr std::string_view kSectGames = "[Sect1]";
inline constexpr std::string_view kSectMatrix = "[Sect2]";
inline constexpr std::string_view kSectPopular = "[SectS]";
inline constexpr std::string_view kSectOriginal = "[SectO]";
inline constexpr std::string_view kSectChildren = "[SectK]";

// ---- Text level ----

// Undoes the per-character shift of stored definition text: codes 80 and above go 48
// down, the others 48 up. For printable ASCII the shift is its own inverse, so the same
// function produces the stored form.
std::string DecodeDefinitionText(std::string_view text);
inline std::string EncodeDefinitionText(std::string_view text) { return DecodeDefinitionText(text); }

// Splits a file's text into lines; accepts CR LF and LF. A final line end adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

// The lines of section `header`: a line is a header line of the section when it begins
// with `header` (case-sensitive); the section runs up to the next line beginning with
// "[". Lines are verbatim (blank lines included); repeated sections are concatenated.
std::vector<std::string> ExtractSection(const std::vector<std::string>& lines, std::string_view header);
// The same lines read straight from a file's text, as views into it: the definitions file is
// large, and a caller that wants one section need not copy every line.
std::vector<std::string_view> SectionLines(std::string_view text, std::string_view header);

// A signed decimal integer with optional leading blanks and nothing after it.
std::optional<long long> ParseDefinitionInteger(std::string_view text);

// Removes trailing blanks.
std::string_view TrimTrailingBlanks(std::string_view text);

// Reads a whole file (with a size limit, the definitions file is small). Errors name the file.
Result<std::string> ReadWholeFile(const std::filesystem::path& path);

// The definitions file of an installation folder.
inline std::filesystem::path DefinitionsFilePath(const std::filesystem::path& installFolder)
{
    return installFolder / std::string(kDefinitionsFileName);
}
// The text of the "Error" box shown when the definitions file is missing at start-up
// (the application ends after it).
std::string MissingDefinitionsFileMessage(const std::filesystem::path& definitionsPath);

// ---- Parameter matrix ----

// The rule parameters of the game at matrix column `column`. Every row must hold the
// parameter of its own row number (1..502, dense and in order) and an integer cell in
// the 16-bit range; the first bad row stops the load with a message naming the file,
// section, row and column.
Result<Rules> LoadRulesAtColumn(std::string_view defsText, int column,
                                std::string_view fileName = kDefinitionsFileName);

// Applies the 17-character custom rule string of a custom game to its base game's rules,
// field by field; unreadable fields (and direction or suit fields holding -1) change nothing.
void ApplyCustomRuleString(Rules& rules, std::string_view ruleString);

// The rules of game `gameId`: a listed built-in game, or a custom game (8000 and up)
// found in `customGames`, loaded as its base game plus its custom rule string. The
// per-pile copy is saved. A game without a matrix column is an error; on any error the
// caller keeps a cleared vector.
Result<Rules> LoadGameRules(std::string_view defsText, const GameList& list, int gameId,
                            const std::vector<CustomGame>& customGames,
                            std::string_view fileName = kDefinitionsFileName);
// Reads the definitions file and the custom games file (in `dataFolder`) afresh.
Result<Rules> LoadGameRulesFromFile(const std::filesystem::path& defsPath, const GameList& list, int gameId,
                                    const std::filesystem::path& dataFolder);

// Puts the per-pile copy back (a new deal of the game already loaded).
inline void RestorePerPileParameters(Rules& rules) { rules.restorePerPileParameters(); }

// Up to nine parameters of a listed built-in game, read from their rows (row p holds
// parameter p). A request below 0 is an unused slot and gives -99.
using ParameterRequest = std::array<int, 9>;
Result<ParameterRequest> ReadGameParameters(std::string_view defsText, const GameList& list, int gameId,
                                            const ParameterRequest& params,
                                            std::string_view fileName = kDefinitionsFileName);
Result<ParameterRequest> ReadGameParametersFromFile(const std::filesystem::path& defsPath, const GameList& list,
                                                    int gameId, const ParameterRequest& params);

// For every game of the list in order: parameters p and q as two zero-padded numbers of
// width 10 (minus sign first; ten "*" when a value does not fit), 20 characters in all.
Result<std::vector<std::string>> ReadParameterPairForAllGames(std::string_view defsText, const GameList& list,
                                                              int p, int q,
                                                              std::string_view fileName = kDefinitionsFileName);
Result<std::vector<std::string>> ReadParameterPairForAllGamesFromFile(const std::filesystem::path& defsPath,
                                                                      const GameList& list, int p, int q);

// The game ids of a group section ("[SectS]", "[SectO]", "[SectK]") in file order.
Result<std::vector<int>> ReadGameGroup(std::string_view defsText, std::string_view header,
                                       std::string_view fileName = kDefinitionsFileName);
Result<std::vector<int>> ReadGameGroupFromFile(const std::filesystem::path& defsPath, std::string_view header);


// ---- Writer ----

// One game of a definitions file to write.
struct DefinitionGame {
    int type = 0;
    int id = 0;
    bool hidden = false;      // written with the hidden mark; gets no matrix column
    bool largeScreen = false;
    bool newGame = false;
    std::string name;         // printable ASCII, at most 50 characters
    Rules rules;
};

struct DefinitionGroups {
    std::vector<int> popular;   // [SectS]
    std::vector<int> original;  // [SectO]
    std::vector<int> children;  // [SectK]
};

// The stored text of a definitions file (CR LF line ends): [Sect1] rows, the [Sect2]
// matrix with a column per listed game (characters 5-16 hold the parameter's name) and
// the three groups. Fails on a value that cannot be stored (id or type outside 0..999,
// a name that is too long or not printable ASCII).
Result<std::string> writeDefinitions(const std::vector<DefinitionGame>& games, const DefinitionGroups& groups);

} // namespace cw::catalog
