// The game list: built from the [Sect1] rows of the definitions file; lookups by id and name.
#include "catalog/game_list.h"

#include "catalog/definitions.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <unordered_set>

namespace cw::catalog {
namespace {

// Type (1-3), a blank, id (5-7), hidden (8), large screen (9) and new game (10) marks.
constexpr std::size_t kMinRowLength = 10;

std::string lowered(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

constexpr std::array kGameTypes = {
    GameTypeInfo{2, "Canfield type", "TREE5_CANFIELD_TYPE"},
    GameTypeInfo{3, "Forty Thieves type", "TREE5_FORTYTHIEVES_TYPE"},
    GameTypeInfo{4, "FreeCell type", "TREE5_FREECELL_TYPE"},
    GameTypeInfo{5, "Klondike type", "TREE5_KLONDIKE_TYPE"},
    GameTypeInfo{6, "Pairing games type", "TREE5_PAIRING_TYPE"},
    GameTypeInfo{7, "Simple games type", "TREE5_SIMPLEGAMES_TYPE"},
    GameTypeInfo{8, "Spider type", "TREE5_SPIDER_TYPE"},
    GameTypeInfo{9, "One-Deck games type", "TREE5_1DECK_TYPE"},
    GameTypeInfo{10, "Two-Deck games type", "TREE5_2DECK_TYPE"},
    GameTypeInfo{11, "Fan games type", "TREE5_FAN_TYPE"},
    GameTypeInfo{12, "Baker's Dozen type", "TREE5_BAKERSDOZEN_TYPE"},
    GameTypeInfo{13, "Row games type", "TREE5_ROW_TYPE"},
    GameTypeInfo{14, "Puzzle games type", "TREE5_PUZZLE_TYPE"},
    GameTypeInfo{15, "Adding games type", "TREE5_ADDITION_TYPE"},
    GameTypeInfo{16, "Memory games type", "TREE5_MEMORY_TYPE"},
    GameTypeInfo{17, "Beleaguered Castle type", "TREE5_BELEAGUEREDCASTLE_TYPE"},
    GameTypeInfo{18, "Queen of Italy type", "TREE5_QUEENOFITALY_TYPE"},
    GameTypeInfo{19, "Yukon type", "TREE5_YUKON_TYPE"},
    GameTypeInfo{20, "Mathematical games", "TREE5_MATHEMATICAL_TYPE"},
    GameTypeInfo{21, "Sir Tommy type", "TREE5_SIRTOMMY_TYPE"},
    GameTypeInfo{22, "Non-Builders games", "TREE5_NONBUILDERS_TYPE"},
    GameTypeInfo{23, "Stripped Deck games type", "TREE5_STRIPPEDDECK_TYPE"},
    GameTypeInfo{24, "Four Seasons type", "TREE5_FOURSEASONS_TYPE"},
    GameTypeInfo{25, "Faerie Queen type", "TREE5_FAERIEQUEEN_TYPE"},
    GameTypeInfo{26, "Flower Garden type", "TREE5_FLOWERGARDEN_TYPE"},
    GameTypeInfo{27, "Sly Fox type", "TREE5_SLYFOX_TYPE"},
    GameTypeInfo{kCustomGameType, "Customized games", "TREE5_CUSTOMIZED_GAMES"},
};

const GameTypeInfo* typeInfo(int type)
{
    for (const auto& t : kGameTypes)
        if (t.type == type)
            return &t;
    return nullptr;
}

} // namespace

int GameList::columnOf(int id) const
{
    if (id < 0 || id >= kFirstCustomId)
        return -1;
    // A well-ordered file lists game n at row n.
    if (id < size() && entries_[id].usable && entries_[id].id == id)
        return id;
    for (int i = 0; i < size(); ++i)
        if (entries_[i].usable && entries_[i].id == id)
            return i;
    return -1;
}

const GameEntry* GameList::find(int id) const
{
    const int c = columnOf(id);
    return c < 0 ? nullptr : &entries_[c];
}

GameListBuild BuildGameList(std::string_view defsText, std::string_view fileName)
{
    GameListBuild out;
    const std::vector<std::string_view> rows = SectionLines(defsText, kSectGames);
    std::unordered_set<int> seen;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        GameEntry e;
        e.row = DecodeDefinitionText(rows[i]);
        e.sourceRow = static_cast<int>(i) + 1;
        if (e.row.size() >= 8 && e.row[7] == '9')
            continue;  // hidden: not listed and no matrix column
        const std::string at = std::string(fileName) + ", " + std::string(kSectGames) + ", row " +
                               std::to_string(e.sourceRow) + ": ";
        // Every other row keeps its place, readable or not: its index is its matrix column.
        if (e.row.size() < kMinRowLength) {
            out.warnings.push_back(at + "row too short, skipped");
            out.list.append(std::move(e));
            continue;
        }
        auto type = ParseDefinitionInteger(TrimTrailingBlanks(std::string_view(e.row).substr(0, 3)));
        auto id = ParseDefinitionInteger(std::string_view(e.row).substr(4, 3));
        if (!type || !id || *id < 0) {
            out.warnings.push_back(at + (type ? "game id" : "game type") + " is not a number, skipped");
            out.list.append(std::move(e));
            continue;
        }
        e.type = static_cast<int>(*type);
        e.id = static_cast<int>(*id);
        e.largeScreen = e.row[8] == '1';
        e.newGame = e.row[9] == '1';
        e.name = std::string(TrimTrailingBlanks(std::string_view(e.row).substr(10, 50)));
        if (!seen.insert(e.id).second) {
            out.warnings.push_back(at + "game id " + std::to_string(e.id) + " is listed twice, the first row is kept");
            e.usable = false;
        } else {
            e.usable = true;
        }
        out.list.append(std::move(e));
    }
    return out;
}

Result<GameListBuild> BuildGameListFromFile(const std::filesystem::path& defsPath)
{
    auto text = ReadWholeFile(defsPath);
    if (!text)
        return Result<GameListBuild>::failure(text.error());
    return BuildGameList(*text, defsPath.string());
}

int GameColumn(const GameList& list, int id)
{
    return list.columnOf(id);
}

int GameType(const GameList& list, int id)
{
    if (id >= kFirstCustomId)
        return kCustomGameType;
    const GameEntry* e = list.find(id);
    return e ? e->type : -1;
}

std::string GameName(const GameList& list, const std::vector<CustomGame>& customGames, int id)
{
    if (id >= kFirstCustomId)
        return CustomGameName(customGames, id);
    const GameEntry* e = list.find(id);
    return e ? e->name : std::string();
}

int GameIdByName(const GameList& list, const std::vector<CustomGame>& customGames, std::string_view name)
{
    const std::string wanted = lowered(TrimTrailingBlanks(name));
    for (const GameEntry& e : list.entries())
        if (e.usable && lowered(e.name) == wanted)
            return e.id;
    return CustomGameIdByName(customGames, name);
}

std::vector<std::string> AllGameNames(const GameList& list, const std::vector<CustomGame>& customGames)
{
    std::vector<std::string> names;
    for (const GameEntry& e : list.entries())
        if (e.usable)
            names.push_back(e.name);
    for (const CustomGame& g : customGames)
        names.push_back(g.name);
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return lowered(a) < lowered(b); });
    return names;
}

bool IsLargeScreenGame(const GameList& list, int id)
{
    const GameEntry* e = list.find(id);
    return e && e->largeScreen;
}

bool IsNewGame(const GameList& list, int id)
{
    const GameEntry* e = list.find(id);
    return e && e->newGame;
}

std::span<const GameTypeInfo> AllGameTypes()
{
    return kGameTypes;
}

std::string_view GameTypeCaption(int type)
{
    const GameTypeInfo* t = typeInfo(type);
    return t ? t->caption : std::string_view();
}

std::string_view GameTypeIcon(int type)
{
    const GameTypeInfo* t = typeInfo(type);
    return t ? t->icon : std::string_view();
}

ScreenCheck CanPlayOnThisScreen(const GameList& list, const std::vector<CustomGame>& customGames,
                                int screenWidth, int id)
{
    if (screenWidth >= kMinScreenWidthForLargeGames)
        return {};
    const int base = id >= kFirstCustomId ? CustomGameRecord(customGames, id).baseId : id;
    const GameEntry* e = list.find(base);
    if (!e || !e->largeScreen)
        return {};
    return {false, "Your video card's display is 640x480 pixels.\nYou can't play: " +
                       GameName(list, customGames, id) +
                       "\nPlease set your screen resolution to 800x600 pixels or higher."};
}

int StartupGameId(const GameList& list, const std::vector<CustomGame>& customGames, int storedId)
{
    if (storedId >= 0 && GameName(list, customGames, storedId).empty())
        return kNoGame;
    return storedId;
}

std::string ExpandProductTemplates(std::string_view text)
{
    std::string out(text);
    for (std::string_view tmpl : {std::string_view("[Program]"), std::string_view("[Program_sw]")}) {
        auto pos = out.find(tmpl);
        if (pos != std::string::npos)
            out.replace(pos, tmpl.size(), kProductTitle);
    }
    return out;
}

} // namespace cw::catalog
