// The game chooser's model: folders, view contents, game descriptions and preview lines.
#include "catalog/chooser.h"

#include "catalog/definitions.h"
#include "catalog/game_list.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace cw::catalog {

namespace {

struct TypeFolder {
    int number;
    int type;
};
// The order of the type folders is the order players know, not the type numbers.
constexpr TypeFolder kTypeFolders[] = {
    {-202080, 15}, {-202005, 12}, {-202100, 17}, {-202010, 2},  {-202180, 25}, {-202015, 11}, {-202190, 26},
    {-202020, 3},  {-202170, 24}, {-202025, 4},  {-202030, 5},  {-202130, 20}, {-202090, 16}, {-202150, 22},
    {-202035, 6},  {-202070, 14}, {-202110, 18}, {-202040, 13}, {-202045, 7},  {-202140, 21}, {-202200, 27},
    {-202050, 8},  {-202120, 19}, {-202055, 9},  {-202060, 10}, {-202160, 23},
};

struct FeatureFolder {
    int number;
    const char* caption;
    int feature;  // index into ChooserCatalog::features
    int value;
};
constexpr FeatureFolder kFeatureFolders[] = {
    {-203010, "Quick", 0, 2},         {-203020, "Medium", 0, 1},       {-203030, "Long", 0, 0},
    {-204010, "Easy", 1, 0},          {-204020, "Medium", 1, 1},       {-204030, "Hard", 1, 2},
    {-205050, "Chance only", 2, 4},   {-205040, "Mostly chance", 2, 3}, {-205030, "Moderate", 2, 2},
    {-205020, "Mostly skill", 2, 1},  {-205010, "Difficult", 2, 0},
    {-206010, "Very low", 3, 4},      {-206020, "Low", 3, 3},          {-206030, "Medium", 3, 2},
    {-206040, "High", 3, 1},          {-206050, "Very high", 3, 0},
};

constexpr int kFolderOriginal = -209010;
constexpr int kFolderChildren = -209020;

std::string lowered(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}


const char* const kTimeWords[] = {"Long", "Medium", "Quick"};
const char* const kTimePictures[] = {"PROG_TIME_LONG", "PROG_TIME_MEDIUM", "PROG_TIME_QUICK"};
const char* const kDiffWords[] = {"Easy", "Medium", "Hard"};
const char* const kDiffPictures[] = {"PROG_DIFF_EASY", "PROG_DIFF_MEDIUM", "PROG_DIFF_HARD"};
const char* const kChanceWords[] = {"Very high", "High", "Medium", "Low", "Very low"};
const char* const kChancePictures[] = {"PROG_CHAN_VERYHIGH", "PROG_CHAN_HIGH", "PROG_CHAN_MEDIUM", "PROG_CHAN_LOW",
                                       "PROG_CHAN_VERYLOW"};
const char* const kSkillWords[] = {"Difficult", "Mostly skill", "Moderate", "Mostly chance", "Chance only"};
const char* const kSkillPictures[] = {"PROG_SKILL_DIFFICULT", "PROG_SKILL_MOSTLYSKILL", "PROG_SKILL_MODERATE",
                                      "PROG_SKILL_MOSTLYCHANCE", "PROG_SKILL_CHANCEONLY"};

template <std::size_t N>
FeatureText feature(int value, const char* const (&words)[N], const char* const (&pictures)[N])
{
    if (value < 0 || value >= int(N)) return {"", "PROG_DISABLED"};
    return {words[value], pictures[value]};
}

} // namespace

Result<ChooserCatalog> LoadChooserCatalog(std::string_view defsText, const GameList& list,
                                          std::vector<CustomGame> customGames, std::string_view fileName)
{
    ChooserCatalog cat;
    cat.list = &list;
    cat.customGames = std::move(customGames);
    auto a = ReadParameterPairForAllGames(defsText, list, 497, 498, fileName);
    if (!a) return Result<ChooserCatalog>::failure(a.error());
    auto b = ReadParameterPairForAllGames(defsText, list, 499, 500, fileName);
    if (!b) return Result<ChooserCatalog>::failure(b.error());
    auto num = [](std::string_view s) { return int(ParseDefinitionInteger(s).value_or(-1)); };
    for (std::size_t i = 0; i < a->size(); ++i) {
        const std::string& p = (*a)[i];
        const std::string& q = (*b)[i];
        cat.features.push_back({num(p.substr(0, 10)), num(p.substr(10, 10)), num(q.substr(0, 10)),
                                num(q.substr(10, 10))});
    }
    for (auto [header, into] : {std::pair{kSectPopular, &cat.selected}, std::pair{kSectOriginal, &cat.original},
                                std::pair{kSectChildren, &cat.children}}) {
        auto g = ReadGameGroup(defsText, header, fileName);
        if (g) *into = std::move(*g);  // a missing group is an empty folder, not an error
    }
    return cat;
}

std::vector<ChooserFolder> GroupsViewFolders(std::string_view versionText)
{
    std::vector<ChooserFolder> top;
    top.push_back({kFolderCustomGames, "Customized games", {}});
    ChooserFolder types{kFolderGameType, "Game Type", {}};
    for (const TypeFolder& t : kTypeFolders) types.subfolders.push_back({t.number, std::string(GameTypeCaption(t.type)), {}});
    top.push_back(std::move(types));
    ChooserFolder features{kFolderFeatures, "Games by Features", {}};
    const struct {
        int number;
        const char* caption;
        int first, count;
    } groups[] = {{-2030, "by Game Time", 0, 3},
                  {-2040, "by Difficulty Level", 3, 3},
                  {-2050, "by Skill or Chance", 6, 5},
                  {-2060, "by Chance of Winning", 11, 5}};
    for (const auto& g : groups) {
        ChooserFolder f{g.number, g.caption, {}};
        for (int i = g.first; i < g.first + g.count; ++i)
            f.subfolders.push_back({kFeatureFolders[i].number, kFeatureFolders[i].caption, {}});
        features.subfolders.push_back(std::move(f));
    }
    top.push_back(std::move(features));
    top.push_back({kFolderOtherGroups,
                   "Other Groups",
                   {{kFolderOriginal, "Original games", {}}, {kFolderChildren, "Games for Children", {}}}});
    top.push_back({kFolderNewGames, "New games (vers." + std::string(versionText) + ")", {}});
    return top;
}

std::string ChooserGameName(const ChooserCatalog& cat, int id)
{
    return GameName(*cat.list, cat.customGames, id);
}

std::vector<int> SortedByName(const ChooserCatalog& cat, std::vector<int> ids)
{
    std::vector<std::pair<std::string, int>> keyed;
    keyed.reserve(ids.size());
    for (int id : ids) {
        std::string name = ChooserGameName(cat, id);
        if (!name.empty()) keyed.emplace_back(lowered(name), id);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](auto& a, auto& b) { return a.first < b.first; });
    std::vector<int> out;
    out.reserve(keyed.size());
    for (auto& k : keyed) out.push_back(k.second);
    return out;
}

std::vector<int> FolderGames(const ChooserCatalog& cat, int folderNumber)
{
    std::vector<int> ids;
    const auto& entries = cat.list->entries();
    if (folderNumber == kFolderCustomGames) {
        for (const CustomGame& c : cat.customGames) ids.push_back(c.id);
    } else if (folderNumber == kFolderNewGames) {
        for (const GameEntry& e : entries)
            if (e.usable && e.newGame) ids.push_back(e.id);
    } else if (folderNumber == kFolderOriginal) {
        ids = cat.original;
    } else if (folderNumber == kFolderChildren) {
        ids = cat.children;
    } else {
        for (const TypeFolder& t : kTypeFolders)
            if (t.number == folderNumber)
                for (const GameEntry& e : entries)
                    if (e.usable && e.type == t.type) ids.push_back(e.id);
        for (const FeatureFolder& f : kFeatureFolders)
            if (f.number == folderNumber)
                for (std::size_t i = 0; i < entries.size() && i < cat.features.size(); ++i)
                    if (entries[i].usable && cat.features[i][std::size_t(f.feature)] == f.value)
                        ids.push_back(entries[i].id);
    }
    return SortedByName(cat, std::move(ids));
}

int HomeFolderOf(const ChooserCatalog& cat, int id)
{
    if (id >= kFirstCustomId) return kFolderCustomGames;
    int type = GameType(*cat.list, id);
    for (const TypeFolder& t : kTypeFolders)
        if (t.type == type) return t.number;
    return kDefaultTreeNum;
}

std::vector<int> AllGamesSorted(const ChooserCatalog& cat)
{
    std::vector<int> ids;
    for (const GameEntry& e : cat.list->entries())
        if (e.usable) ids.push_back(e.id);
    for (const CustomGame& c : cat.customGames) ids.push_back(c.id);
    return SortedByName(cat, std::move(ids));
}

std::vector<int> SelectedGamesSorted(const ChooserCatalog& cat) { return SortedByName(cat, cat.selected); }

std::vector<int> LastPlayedSorted(const ChooserCatalog& cat, const std::vector<int>& lastPlayed)
{
    return SortedByName(cat, lastPlayed);
}

bool NameMatches(std::string_view name, std::string_view typed)
{
    if (typed.empty()) return true;
    return lowered(name).find(lowered(typed)) != std::string::npos;
}

std::string WinningSampleText(int x, int y)
{
    if (y == 0) return {};
    double pct = double(x) / double(y) * 100.0;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", pct);
    std::string p = buf;
    if (p.size() > 2 && p.compare(p.size() - 2, 2, ".0") == 0) p.resize(p.size() - 2);
    return " (" + std::to_string(x) + " in " + std::to_string(y) + "  -  " + p + "%)";
}

std::string RedealsText(int deals)
{
    if (deals == -1) return "Unlimited";
    if (deals == 0) return "0";
    return std::to_string(deals - 1);
}

Result<GameDescription> DescribeGame(std::string_view defsText, const ChooserCatalog& cat, int id,
                                     std::string_view fileName)
{
    GameDescription d;
    d.name = ChooserGameName(cat, id);
    const bool custom = id >= kFirstCustomId;
    int ruleId = id;
    const CustomGame* record = custom ? FindCustomGame(cat.customGames, id) : nullptr;
    if (custom)
        ruleId = record ? record->baseId : -1;
    d.previewId = ruleId;
    auto p = ReadGameParameters(defsText, *cat.list, ruleId, {497, 498, 500, 499, 501, 502, 378, 16, 489}, fileName);
    if (!p) return Result<GameDescription>::failure(p.error());
    const auto& v = *p;
    if (custom) {
        FeatureText c{"Customized game", "PROG_DISABLED"};
        d.gameTime = d.difficulty = d.chance = d.skill = c;
        // The solver's figure for the custom rules, when the wizard measured one.
        if (record)
            d.chance.text += WinningSampleText(record->chanceWon, record->chanceSample);
    } else {
        d.gameTime = feature(v[0], kTimeWords, kTimePictures);
        d.difficulty = feature(v[1], kDiffWords, kDiffPictures);
        d.chance = feature(v[2], kChanceWords, kChancePictures);
        d.chance.text += WinningSampleText(v[4], v[5]);
        // The figure is a lower bound: say so when the solver left more than one deal in twenty open.
        if (v[5] > 0 && v[8] > 0 && v[8] * 20 > v[5])
            d.chance.text += " (" + std::to_string(v[8]) + " undecided)";
        d.skill = feature(v[3], kSkillWords, kSkillPictures);
    }
    d.decks = std::to_string(v[6] / 52);
    int deals = v[7];
    if (record && record->ruleString.size() >= 6) {
        if (auto n = ParseDefinitionInteger(record->ruleString.substr(3, 3))) deals = int(*n);
    }
    d.redeals = RedealsText(deals);
    return d;
}

namespace {

// How much a difference in one rule value moves two games apart. A code counts whole when it
// differs; a count counts by how far apart the two numbers are.
enum class Measure { Code, Count };
struct SketchValue {
    int param;
    double weight;
    Measure measure;
};
constexpr SketchValue kSketch[] = {
    {378, 2.0, Measure::Code},  // cards (packs)
    {374, 1.0, Measure::Count}, // foundations
    {375, 2.0, Measure::Count}, // tableau piles
    {376, 1.5, Measure::Count}, // reserves
    {379, 1.5, Measure::Count}, // cards left in the stock
    {382, 1.0, Measure::Count}, // cards dealt to the first pile
    {422, 1.0, Measure::Code},  // how the first pile is dealt face up
    {215, 3.0, Measure::Code},  // building on the tableau
    {175, 1.0, Measure::Code},  // its direction
    {135, 2.0, Measure::Code},  // what fills an empty pile
    {14, 2.0, Measure::Code},   // how many cards move together
    {2, 1.0, Measure::Code},    // what a moved group must form
    {255, 0.5, Measure::Code},  // building turns from King to Ace
    {55, 1.0, Measure::Code},   // foundation base
    {71, 1.0, Measure::Code},   // foundation direction
    {87, 1.0, Measure::Code},   // foundation building
    {335, 1.0, Measure::Code},  // what a reserve accepts (free cells)
    {24, 1.0, Measure::Code},   // cards turned per stock click
    {16, 1.0, Measure::Code},   // passes through the stock
    {295, 1.0, Measure::Code},  // the stock deals rows onto the tableau
    {497, 0.3, Measure::Count}, // game time
    {498, 0.3, Measure::Count}, // difficulty
    {499, 0.3, Measure::Count}, // skill
    {500, 0.3, Measure::Count}, // chance
};
constexpr std::size_t kSketchSize = sizeof kSketch / sizeof kSketch[0];
// Another type weighs more than every rule value together, so a game's own type comes first.
constexpr double kOtherTypeDistance = 100.0;

double sketchDistance(const std::vector<int>& a, const std::vector<int>& b)
{
    double d = 0;
    for (std::size_t i = 0; i < kSketchSize && i < a.size() && i < b.size(); ++i) {
        if (a[i] == b[i])
            continue;
        if (kSketch[i].measure == Measure::Code) {
            d += kSketch[i].weight;
        } else {
            const double far = std::abs(a[i] - b[i]);
            const double scale = std::max({std::abs(a[i]), std::abs(b[i]), 1});
            d += kSketch[i].weight * std::min(1.0, far / scale);
        }
    }
    return d;
}

} // namespace

Result<RuleSketches> LoadRuleSketches(std::string_view defsText, const GameList& list, std::string_view fileName)
{
    RuleSketches out;
    std::vector<std::vector<int>> all(list.entries().size());
    for (std::size_t i = 0; i < kSketchSize; i += 2) {
        const int p = kSketch[i].param;
        const int q = i + 1 < kSketchSize ? kSketch[i + 1].param : 0;
        auto pair = ReadParameterPairForAllGames(defsText, list, p, q, fileName);
        if (!pair)
            return Result<RuleSketches>::failure(pair.error());
        for (std::size_t g = 0; g < pair->size() && g < all.size(); ++g) {
            const std::string& cell = (*pair)[g];
            all[g].push_back(int(ParseDefinitionInteger(cell.substr(0, 10)).value_or(0)));
            if (i + 1 < kSketchSize)
                all[g].push_back(int(ParseDefinitionInteger(cell.substr(10, 10)).value_or(0)));
        }
    }
    const auto& entries = list.entries();
    for (std::size_t g = 0; g < entries.size(); ++g) {
        if (!entries[g].usable)
            continue;
        out.ids.push_back(entries[g].id);
        out.types.push_back(entries[g].type);
        out.values.push_back(std::move(all[g]));
    }
    return out;
}

std::vector<int> GamesLikeThis(const ChooserCatalog& cat, const RuleSketches& sketches, int id, std::size_t count)
{
    std::vector<int> out;
    int ruleId = id;
    if (id >= kFirstCustomId) {
        const CustomGame* record = FindCustomGame(cat.customGames, id);
        if (!record)
            return out;
        ruleId = record->baseId;
    }
    const auto at = std::find(sketches.ids.begin(), sketches.ids.end(), ruleId);
    if (at == sketches.ids.end() || count == 0)
        return out;
    const std::size_t self = std::size_t(at - sketches.ids.begin());
    if (ruleId != id)
        out.push_back(ruleId);
    struct Near {
        double distance;
        std::string name;
        int id;
    };
    std::vector<Near> near;
    for (std::size_t g = 0; g < sketches.ids.size(); ++g) {
        if (g == self)
            continue;
        double d = sketchDistance(sketches.values[self], sketches.values[g]);
        if (sketches.types[g] != sketches.types[self])
            d += kOtherTypeDistance;
        near.push_back({d, lowered(ChooserGameName(cat, sketches.ids[g])), sketches.ids[g]});
    }
    std::sort(near.begin(), near.end(), [](const Near& a, const Near& b) {
        return a.distance != b.distance ? a.distance < b.distance : a.name < b.name;
    });
    for (const Near& n : near) {
        if (out.size() >= count)
            break;
        out.push_back(n.id);
    }
    return out;
}

std::string EncodePreviewLine(std::string_view plain)
{
    std::string out(plain);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = char((static_cast<unsigned char>(out[i]) + static_cast<unsigned char>(kPreviewKey[i % 10])) & 0xFF);
    return out;
}

std::string DecodePreviewLine(std::string_view stored)
{
    std::string out(stored);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = char((static_cast<unsigned char>(out[i]) - static_cast<unsigned char>(kPreviewKey[i % 10])) & 0xFF);
    return out;
}

std::vector<PreviewPicture> ParsePreviewLine(std::string_view plain)
{
    std::vector<PreviewPicture> out;
    if (plain.size() <= 4) return out;
    auto digits = [](std::string_view s, int& v) {
        v = 0;
        for (char c : s) {
            if (c < '0' || c > '9') return false;
            v = v * 10 + (c - '0');
        }
        return true;
    };
    for (std::size_t at = 4; at + 9 <= plain.size(); at += 9) {
        PreviewPicture p;
        if (!digits(plain.substr(at, 3), p.picture) || !digits(plain.substr(at + 3, 3), p.x) ||
            !digits(plain.substr(at + 6, 3), p.y))
            break;
        out.push_back(p);
    }
    return out;
}

std::string FormatPreviewLine(int id, const std::vector<PreviewPicture>& pictures)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d", id);
    std::string line = buf;
    for (const PreviewPicture& p : pictures) {
        std::snprintf(buf, sizeof buf, "%03d%03d%03d", std::clamp(p.picture, 0, 999), std::clamp(p.x, 0, 999),
                      std::clamp(p.y, 0, 999));
        line += buf;
    }
    return line;
}

} // namespace cw::catalog
