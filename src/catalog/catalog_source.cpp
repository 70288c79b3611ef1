// Parser of the readable game catalog source, inheritance of its blocks and the rules-text file.
#include "catalog/catalog_source.h"

#include "catalog/layout_codes.h"
#include "catalog/params.h"
#include "catalog/rule_values.h"
#include "storage/fixed_width.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>
#include <set>

namespace cw::catalog {
namespace {

constexpr std::size_t kMaxSourceLines = 200000;

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> splitWords(std::string_view s)
{
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == ','))
            ++i;
        std::size_t j = i;
        while (j < s.size() && s[j] != ' ' && s[j] != '\t' && s[j] != ',')
            ++j;
        if (j > i)
            out.push_back(s.substr(i, j - i));
        i = j;
    }
    return out;
}

std::optional<long long> parseInteger(std::string_view s)
{
    if (s.empty() || s.size() > 12)
        return std::nullopt;
    long long v = 0;
    const char* b = s.data();
    if (*b == '+')
        ++b;
    auto [ptr, ec] = std::from_chars(b, s.data() + s.size(), v);
    if (ec != std::errc{} || ptr != s.data() + s.size() || b == s.data() + s.size())
        return std::nullopt;
    return v;
}

constexpr std::pair<std::string_view, int> kTypes[] = {
    {"canfield", 2}, {"forty_thieves", 3}, {"freecell", 4}, {"klondike", 5}, {"pairing", 6},
    {"simple", 7}, {"spider", 8}, {"one_deck", 9}, {"two_deck", 10}, {"fan", 11},
    {"bakers_dozen", 12}, {"row", 13}, {"puzzle", 14}, {"adding", 15}, {"memory", 16},
    {"beleaguered_castle", 17}, {"queen_of_italy", 18}, {"yukon", 19}, {"mathematical", 20},
    {"sir_tommy", 21}, {"non_builders", 22}, {"stripped_deck", 23}, {"four_seasons", 24},
    {"faerie_queen", 25}, {"flower_garden", 26}, {"sly_fox", 27},
};

// Ids of the predefined series "Adding games" and "Memory games": only games of a special
// family may take them.
constexpr int kReservedIds[] = {159, 8, 5, 127, 201, 204, 202, 195, 205};

struct Parser {
    std::string_view fileName;
    std::vector<SourceBlock> blocks;
    std::string error;

    std::string where(int line) const
    {
        std::string s = std::string(fileName) + ":" + std::to_string(line) + ": ";
        if (!blocks.empty() && blocks.back().kind != SourceBlockKind::Defaults)
            s += "game \"" + blocks.back().name + "\": ";
        return s;
    }
    bool fail(int line, const std::string& msg)
    {
        error = where(line) + msg;
        return false;
    }

    // `"Name"` or `"Name" : "Base", "Other base"`.
    bool parseHeader(std::string_view rest, int line, SourceBlock& b)
    {
        auto quoted = [&](std::string_view& s, std::string& out) -> bool {
            s = trim(s);
            if (s.empty() || s.front() != '"')
                return false;
            const auto end = s.find('"', 1);
            if (end == std::string_view::npos)
                return false;
            out = std::string(s.substr(1, end - 1));
            s.remove_prefix(end + 1);
            return !out.empty();
        };
        if (!quoted(rest, b.name))
            return fail(line, "expected a quoted name after the block keyword");
        rest = trim(rest);
        if (rest.empty())
            return true;
        if (rest.front() != ':')
            return fail(line, "expected ':' and quoted base names after the name");
        rest.remove_prefix(1);
        for (;;) {
            std::string base;
            if (!quoted(rest, base))
                return fail(line, "expected a quoted base name");
            b.bases.push_back(base);
            rest = trim(rest);
            if (rest.empty())
                return true;
            if (rest.front() != ',')
                return fail(line, "expected ',' between base names");
            rest.remove_prefix(1);
        }
    }

    bool parseValues(int number, int count, bool wholeRange, std::string_view text, int line,
                     const std::string& key, std::vector<int>& out)
    {
        const auto words = splitWords(text);
        if (words.empty())
            return fail(line, "parameter \"" + key + "\": no value");
        auto one = [&](std::string_view w, int& v) -> bool {
            if (auto n = parseInteger(w)) {
                if (*n < -32768 || *n > 32767)
                    return fail(line, "parameter \"" + key + "\": value " + std::string(w) + " does not fit 16 bits");
                v = static_cast<int>(*n);
                return true;
            }
            if (auto nv = namedRuleValue(number, w)) {
                v = *nv;
                return true;
            }
            return fail(line, "parameter \"" + key + "\": \"" + std::string(w) + "\" is not a number or a known value name");
        };
        if (words.size() == 2 && words[0] == "all") {
            if (!wholeRange)
                return fail(line, "parameter \"" + key + "\": \"all\" needs a per-pile parameter");
            int v = 0;
            if (!one(words[1], v))
                return false;
            out.assign(static_cast<std::size_t>(count), v);
            return true;
        }
        for (std::string_view w : words) {
            int times = 1;
            if (auto star = w.find('*'); star != std::string_view::npos) {
                auto n = parseInteger(w.substr(0, star));
                if (!n || *n < 1 || *n > 40)
                    return fail(line, "parameter \"" + key + "\": bad repeat count in \"" + std::string(w) + "\"");
                times = static_cast<int>(*n);
                w = w.substr(star + 1);
            }
            int v = 0;
            if (!one(w, v))
                return false;
            for (int i = 0; i < times; ++i)
                out.push_back(v);
        }
        if (static_cast<int>(out.size()) > count)
            return fail(line, "parameter \"" + key + "\": " + std::to_string(out.size()) + " values for " +
                                  std::to_string(count) + (count == 1 ? " parameter" : " piles"));
        if (wholeRange)
            out.resize(static_cast<std::size_t>(count), 0);
        return true;
    }

    bool parseKeyValue(SourceBlock& b, std::string_view key, std::string_view value, int line)
    {
        const std::string k(key);
        if (k == "id" || k == "type" || k == "leftover") {
            std::optional<long long> n = parseInteger(value);
            if (k == "type" && !n)
                if (auto t = gameTypeByName(value))
                    n = *t;
            if (!n || *n < 0 || *n > 9999)
                return fail(line, "parameter \"" + k + "\": bad value \"" + std::string(value) + "\"");
            (k == "id" ? b.id : k == "type" ? b.type : b.leftover) = static_cast<int>(*n);
            return true;
        }
        if (k == "marks") {
            std::vector<std::string> marks;
            for (auto w : splitWords(value)) {
                if (w != "hidden" && w != "large_screen" && w != "new")
                    return fail(line, "parameter \"marks\": unknown mark \"" + std::string(w) + "\"");
                marks.emplace_back(w);
            }
            b.marks = marks;
            return true;
        }
        if (k == "groups") {
            for (auto w : splitWords(value)) {
                if (w != "popular" && w != "original" && w != "children")
                    return fail(line, "parameter \"groups\": unknown group \"" + std::string(w) + "\"");
                b.groups.emplace_back(w);
            }
            return true;
        }
        const auto ref = findParam(key);
        if (!ref)
            return fail(line, "unknown parameter \"" + k + "\"");
        SourceAssignment a;
        a.number = ref->number;
        a.line = line;
        a.key = k;
        const bool wholeRange = ref->count > 1;
        if (!parseValues(ref->number, ref->count, wholeRange, value, line, k, a.values))
            return false;
        b.values.push_back(std::move(a));
        return true;
    }

    bool run(std::string_view text)
    {
        std::size_t pos = 0;
        int line = 0;
        enum class TextMode { None, Rules, More } mode = TextMode::None;
        std::string paragraph;
        auto flushParagraph = [&]() {
            if (paragraph.empty() || blocks.empty())
                return;
            SourceBlock& b = blocks.back();
            std::string& target = mode == TextMode::Rules ? *b.rulesText : b.rulesMore;
            if (!target.empty())
                target += "\n\n";
            target += paragraph;
            paragraph.clear();
        };
        while (pos <= text.size()) {
            if (++line > static_cast<int>(kMaxSourceLines))
                return fail(line, "file too long");
            auto nl = text.find('\n', pos);
            std::string_view raw = text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
            pos = nl == std::string_view::npos ? text.size() + 1 : nl + 1;
            std::string_view s = trim(raw);

            if (mode != TextMode::None) {
                if (!s.empty() && s.front() == '>') {
                    std::string_view t = trim(s.substr(1));
                    if (t.empty()) {
                        flushParagraph();
                    } else {
                        for (char ch : t)
                            if (static_cast<unsigned char>(ch) < 32 || static_cast<unsigned char>(ch) > 126)
                                return fail(line, "rules text: only printable ASCII is allowed");
                        if (!paragraph.empty())
                            paragraph += ' ';
                        paragraph += t;
                    }
                    continue;
                }
                flushParagraph();
                mode = TextMode::None;
            }
            // Comments run from '#' outside quotes to the end of the line.
            bool inQuote = false;
            for (std::size_t i = 0; i < s.size(); ++i) {
                if (s[i] == '"')
                    inQuote = !inQuote;
                else if (s[i] == '#' && !inQuote) {
                    s = trim(s.substr(0, i));
                    break;
                }
            }
            if (s.empty())
                continue;

            auto startsWord = [&](std::string_view w) {
                return s.size() >= w.size() && s.substr(0, w.size()) == w &&
                       (s.size() == w.size() || s[w.size()] == ' ' || s[w.size()] == '\t');
            };
            if (startsWord("game") || startsWord("template")) {
                SourceBlock b;
                b.kind = startsWord("game") ? SourceBlockKind::Game : SourceBlockKind::Template;
                b.file = std::string(fileName);
                b.line = line;
                if (!parseHeader(s.substr(b.kind == SourceBlockKind::Game ? 4 : 8), line, b))
                    return false;
                blocks.push_back(std::move(b));
                continue;
            }
            if (s == "defaults") {
                SourceBlock b;
                b.kind = SourceBlockKind::Defaults;
                b.name = "defaults";
                b.file = std::string(fileName);
                b.line = line;
                blocks.push_back(std::move(b));
                continue;
            }
            if (blocks.empty())
                return fail(line, "a line outside any game block");
            if (s == "rules:" || s == "rules.more:") {
                SourceBlock& b = blocks.back();
                if (s == "rules:") {
                    if (b.rulesText)
                        return fail(line, "a second rules text");
                    b.rulesText = std::string();
                    mode = TextMode::Rules;
                } else {
                    if (!b.rulesMore.empty())
                        return fail(line, "a second rules.more text");
                    mode = TextMode::More;
                }
                continue;
            }
            const auto eq = s.find('=');
            if (eq == std::string_view::npos)
                return fail(line, "expected \"name = value\", found \"" + std::string(s) + "\"");
            const std::string_view key = trim(s.substr(0, eq));
            const std::string_view value = trim(s.substr(eq + 1));
            if (key.empty())
                return fail(line, "a value without a parameter name");
            if (!parseKeyValue(blocks.back(), key, value, line))
                return false;
        }
        if (mode != TextMode::None)
            flushParagraph();
        return true;
    }
};


std::string gameLabel(const CatalogGame& g) { return "game \"" + g.name + "\" (id " + std::to_string(g.id) + ")"; }

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace

std::optional<int> gameTypeByName(std::string_view name)
{
    for (const auto& [n, v] : kTypes)
        if (n == name)
            return v;
    return std::nullopt;
}

Result<std::vector<SourceBlock>> parseCatalogSource(std::string_view text, std::string_view fileName)
{
    Parser p{fileName, {}, {}};
    if (!p.run(text))
        return Result<std::vector<SourceBlock>>::failure(p.error);
    return std::move(p.blocks);
}

Result<std::vector<CatalogGame>> resolveCatalog(const std::vector<SourceBlock>& blocks)
{
    using R = Result<std::vector<CatalogGame>>;
    const SourceBlock* defaults = nullptr;
    std::map<std::string, const SourceBlock*> byName; // lower-cased: names differ by more than case
    for (const SourceBlock& b : blocks) {
        if (b.kind == SourceBlockKind::Defaults) {
            if (defaults)
                return R::failure(b.file + ":" + std::to_string(b.line) + ": a second defaults block (first in " +
                                  defaults->file + ")");
            defaults = &b;
            continue;
        }
        const std::string key = lower(b.name);
        if (auto it = byName.find(key); it != byName.end())
            return R::failure(b.file + ":" + std::to_string(b.line) + ": game \"" + b.name +
                              "\": name already used at " + it->second->file + ":" + std::to_string(it->second->line));
        byName[key] = &b;
    }

    std::vector<CatalogGame> games;
    for (const SourceBlock& b : blocks) {
        if (b.kind != SourceBlockKind::Game)
            continue;
        const std::string at = b.file + ":" + std::to_string(b.line) + ": game \"" + b.name + "\": ";
        CatalogGame g;
        g.name = b.name;
        g.file = b.file;
        g.line = b.line;
        std::optional<int> type;
        std::optional<std::vector<std::string>> marks;
        std::string text;
        // A measured chance of winning belongs to the rules it was measured with: a game never
        // takes it over from a base block.
        auto measured = [](int number) { return number == 489 || number == 501 || number == 502; };
        auto applyOwn = [&](const SourceBlock& s) {
            for (const SourceAssignment& a : s.values)
                for (std::size_t i = 0; i < a.values.size(); ++i) {
                    const int number = a.number + static_cast<int>(i);
                    if (&s == &b || !measured(number))
                        g.rules.set(number, a.values[i]);
                }
            if (s.type)
                type = s.type;
            if (s.marks)
                marks = s.marks;
            if (s.leftover)
                g.leftover = *s.leftover;
            if (s.rulesText)
                text = *s.rulesText;
            if (!s.rulesMore.empty())
                text += (text.empty() ? "" : "\n\n") + s.rulesMore;
        };
        // Bases first (each with its own bases first), then the block itself.
        std::vector<const SourceBlock*> stack;
        std::string problem;
        int applied = 0; // bases shared along many paths must not blow up the work
        std::function<void(const SourceBlock&)> apply = [&](const SourceBlock& s) {
            if (!problem.empty())
                return;
            if (++applied > 1000) {
                problem = "too many base blocks (more than 1000 applications)";
                return;
            }
            if (std::find(stack.begin(), stack.end(), &s) != stack.end()) {
                problem = "inheritance loop through \"" + s.name + "\"";
                return;
            }
            if (stack.size() > 64) {
                problem = "inheritance too deep";
                return;
            }
            stack.push_back(&s);
            for (const std::string& baseName : s.bases) {
                auto it = byName.find(lower(baseName));
                if (it == byName.end()) {
                    problem = "base \"" + baseName + "\" is not defined";
                    return;
                }
                apply(*it->second);
            }
            stack.pop_back();
            applyOwn(s);
        };
        if (defaults)
            applyOwn(*defaults);
        apply(b);
        if (!problem.empty())
            return R::failure(at + problem);
        if (!b.id)
            return R::failure(at + "parameter \"id\" is missing");
        if (!type)
            return R::failure(at + "parameter \"type\" is missing");
        g.id = *b.id;
        g.type = *type;
        if (marks) {
            for (const auto& m : *marks) {
                g.hidden = g.hidden || m == "hidden";
                g.largeScreen = g.largeScreen || m == "large_screen";
                g.newGame = g.newGame || m == "new";
            }
        }
        for (const auto& grp : b.groups) {
            g.popular = g.popular || grp == "popular";
            g.original = g.original || grp == "original";
            g.children = g.children || grp == "children";
        }
        g.rulesText = text;
        games.push_back(std::move(g));
    }
    return games;
}

int packSize(const Rules& r)
{
    int n = r.cardsInPlay();
    const int decks = n / 52;
    if (r.reducedPack() == 1)
        n -= decks * 20;
    else if (r.reducedPack() == 2)
        n -= decks * 24;
    if (r.jokers() == 1)
        n += std::clamp(r.jokerCount(), 0, 4);
    switch (r.dealPattern()) {
    case 16: n -= decks * 8; break;
    case 21: n -= decks * 12; break;
    default: break;
    }
    return n;
}

int requestedDealCards(const Rules& r)
{
    int n = std::max(0, r.stockDeal()) + std::max(0, r.wasteDeal()) + std::max(0, r.waste2Deal());
    for (int k = 0; k < kMaxTableaus; ++k) {
        const int d = r.tableauDeal(k);
        n += d > 1000 ? 1 : std::max(0, d);
    }
    for (int k = 0; k < kMaxReserves; ++k)
        n += std::max(0, r.reserveDeal(k));
    for (int k = 0; k < std::clamp(r.foundationCount(), 0, kMaxFoundations); ++k) {
        const int v = r.foundationInitialCard(k);
        if (v != 0 && v != 92 && (v < 93 || v > 98))
            ++n;
        else if (v >= 93 && v <= 95)
            ++n;
    }
    switch (r.foundationSetup()) {
    case 1: case 4: case 6: case 8: n += 1; break;
    case 5: n += std::min(16, (r.cardsInPlay() / 52) * 4); break; // the first card and its rank mates
    case 9: n += std::min(15, (r.cardsInPlay() / 52) * 4 - 1); break; // the rank mates; the beak stays dealt
    case 2: n += std::clamp(r.foundationCount(), 0, kMaxFoundations); break;
    default: break;
    }
    if (r.dealExtraStep() == 1)
        ++n;
    if (r.waste2StartCard() != 0)
        ++n;
    return n;
}

std::vector<std::string> checkCatalog(const std::vector<CatalogGame>& games)
{
    std::vector<std::string> errors;
    std::map<int, const CatalogGame*> ids;
    std::map<std::string, const CatalogGame*> names;
    for (const CatalogGame& g : games) {
        const std::string who = g.file + ":" + std::to_string(g.line) + ": " + gameLabel(g) + ": ";
        auto bad = [&](int param, const std::string& msg) {
            errors.push_back(who + "parameter \"" + paramName(param) + "\" (" + std::to_string(param) + "): " + msg);
        };
        const Rules& r = g.rules;
        if (g.id < 0 || g.id > 999)
            errors.push_back(who + "parameter \"id\": outside 0..999");
        if (g.rules.specialFamily() <= 0 &&
            std::find(std::begin(kReservedIds), std::end(kReservedIds), g.id) != std::end(kReservedIds))
            errors.push_back(who + "parameter \"id\": " + std::to_string(g.id) + " is kept for a special family");
        if (auto [it, fresh] = ids.emplace(g.id, &g); !fresh)
            errors.push_back(who + "parameter \"id\": " + std::to_string(g.id) + " is also the id of game \"" +
                             it->second->name + "\"");
        if (auto [it, fresh] = names.emplace(lower(g.name), &g); !fresh)
            errors.push_back(who + "name already used");
        if (g.type < 2 || g.type > 27)
            errors.push_back(who + "parameter \"type\": " + std::to_string(g.type) + " is not a game type (2..27)");
        if (g.name.size() > 50)
            errors.push_back(who + "name longer than 50 characters");
        if (g.rulesText.empty())
            errors.push_back(who + "parameter \"rules\": no rules text");

        const int f = r.foundationCount(), t = r.tableauCount(), res = r.reserveCount();
        if (f < 0 || f > kMaxFoundations)
            bad(374, "outside 0..16");
        if (t < 0 || t > kMaxTableaus)
            bad(375, "outside 0..40");
        if (res < 0 || res > kMaxReserves)
            bad(376, "outside 0..12");
        if (r.waste2Count() < 0 || r.waste2Count() > 1)
            bad(377, "outside 0..1");
        if (r.stockPiles() < 0 || r.stockPiles() > 2)
            bad(373, "outside 0..2");
        const int cards = r.cardsInPlay();
        if (cards != 52 && cards != 104 && cards != 156 && cards != 208)
            bad(378, std::to_string(cards) + " is not 52, 104, 156 or 208");
        // Whether the engine knows a game's special family is checked by the engine's tests; the
        // family's games may use the deal patterns, fills and redeals
        // written for them.
        const bool special = r.specialFamily() > 0;
        // Cards dealt to piles the game does not have would vanish from the table.
        for (int k = std::max(t, 0); k < kMaxTableaus; ++k)
            if (r.tableauDeal(k) != 0)
                bad(382 + k, "cards dealt to a tableau pile beyond tableau.count");
        for (int k = std::max(res, 0); k < kMaxReserves; ++k)
            if (r.reserveDeal(k) != 0)
                bad(463 + k, "cards dealt to a reserve beyond reserve.count");
        if (r.waste2Count() == 0 && r.waste2Deal() != 0)
            bad(462, "cards dealt to a second waste the game does not have");
        for (int k = 0; k < std::min(t, kMaxTableaus); ++k) {
            const int d = r.tableauDeal(k);
            if (d < 0 || (d > 1000 && !((d >= 1001 && d <= 1013) || (d >= 1501 && d <= 1504))))
                bad(382 + k, "not a card count or a named card");
        }
        const int requested = requestedDealCards(r), pack = packSize(r);
        if (requested > pack)
            bad(379, "the deal asks for " + std::to_string(requested) + " cards but only " + std::to_string(pack) +
                         " are in play");
        else if (pack - requested != g.leftover && r.dealPattern() == 0)
            bad(379, "the deal leaves " + std::to_string(pack - requested) + " cards unplaced (leftover " +
                         std::to_string(g.leftover) + " declared)");

        // Layout codes: every group the game shows names a known arrangement.
        auto layout = [&](int param, LayoutGroup group, bool present) {
            const int v = r[param];
            // A group the game does not have is never placed, whatever its code.
            if (present && !isKnownArrangement(group, v))
                bad(param, "arrangement " + std::to_string(v) + " is not one the layout code implements");
        };
        layout(362, LayoutGroup::Stock, r.stockPiles() > 0);
        layout(364, LayoutGroup::Foundation, f > 0);
        layout(366, LayoutGroup::Table, true);
        layout(369, LayoutGroup::Reserve, res > 0);
        layout(371, LayoutGroup::SecondWaste, r.waste2Count() > 0);
        for (int p : {363, 365, 367, 370, 372})
            if (r[p] < 0 || r[p] > 4)
                bad(p, "row digit outside 0..4");

        // Special codes: only the general codes and the ones the engine documents.
        // 6: nothing is built, only the empty-pile rule lets a card in; 10: a Queen alone on an
        // empty foundation; 14-16: two, three or four ranks up (foundations of the counting
        // games); 19: any card, but not from the tableau or a reserve (waste piles fed from the
        // stock); 20: one rank up, any suit, King to Ace; 27: alternating colours, never a card
        // from a reserve or a foundation; 35: one rank up or down, any suit, King and Ace
        // adjacent; 37: down regardless of suit, a lone King taking any card; 43: in suit,
        // exactly two ranks up.
        static const std::set<int> kSuitRules = {0,  1,  2,  3,  4,  6,  10, 12, 13, 14,
                                                 15, 16, 19, 20, 21, 27, 35, 37, 43};
        static const std::set<int> kEmptyRules = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13,
                                                  81, 82, 83, 84, 85, 86, 87, 88, 89, 90, 91};
        // Foundation bases: a rank, any card, the colour-balance codes, the complete-run codes, 92
        // (the first card played chooses the rank of every foundation), or 0 for a base the
        // deal's foundation set-up writes.
        static const std::set<int> kFoundationBases = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13,
                                                       81, 82, 83, 84, 85, 90, 92, 95, 97, 98, 99};
        static const std::set<int> kReserveCodes = {0, 4, 8, 9, 12, 13, 85, 88, 89, 90, 107, 145, 162};
        static const std::set<int> kGroupLimits = {-1, -2, -5, -6, -12, -13, -15, -17};
        for (int k = 0; k < std::min(t, kMaxTableaus); ++k) {
            if (!kSuitRules.count(r.tableauSuitRule(k)))
                bad(215 + k, "building rule " + std::to_string(r.tableauSuitRule(k)) + " is not implemented");
            if (!kEmptyRules.count(r.tableauEmptyRule(k)))
                bad(135 + k, "empty-pile rule " + std::to_string(r.tableauEmptyRule(k)) + " is not implemented");
            if (r.tableauDirection(k) < 0 || r.tableauDirection(k) > 2)
                bad(175 + k, "direction outside 0..2");
        }
        for (int k = 0; k < std::min(f, kMaxFoundations); ++k) {
            if (!kSuitRules.count(r.foundationSuitRule(k)))
                bad(87 + k, "building rule " + std::to_string(r.foundationSuitRule(k)) + " is not implemented");
            if (!kFoundationBases.count(r.foundationBase(k)))
                bad(55 + k, "base " + std::to_string(r.foundationBase(k)) + " is not implemented");
            if (r.foundationDirection(k) < 0 || r.foundationDirection(k) > 2)
                bad(71 + k, "direction outside 0..2");
        }
        for (int k = 0; k < std::min(res, kMaxReserves); ++k)
            if (!kReserveCodes.count(r.reserveAccept(k)))
                bad(335 + k, "acceptance code " + std::to_string(r.reserveAccept(k)) + " is not implemented");
        if (r.groupLimit() < 0 && !kGroupLimits.count(r.groupLimit()))
            bad(14, "group limit " + std::to_string(r.groupLimit()) + " is not implemented");
        if (r.foundationSuitRuleAll() != -1 && !kSuitRules.count(r.foundationSuitRuleAll()))
            bad(487, "building rule is not implemented");
        if (r.tableauSuitRuleAll() != -1 && !kSuitRules.count(r.tableauSuitRuleAll()))
            bad(488, "building rule is not implemented");
        static const std::set<int> kDealPatterns = {0, 1, 2, 3, 8, 16};
        static const std::set<int> kFamilyDealPatterns = {9, 11, 15, 18, 19, 22};
        if (!kDealPatterns.count(r.dealPattern()) && !(special && kFamilyDealPatterns.count(r.dealPattern())))
            bad(36, "deal pattern " + std::to_string(r.dealPattern()) + " is not used by ordinary games");
        static const std::set<int> kRedealModes = {0, 4, 6, 7, 10, 11, 12, 20};
        if (!kRedealModes.count(r.redealMode()) && !(special && r.redealMode() == 14))
            bad(17, "redeal mode " + std::to_string(r.redealMode()) + " is not implemented");
        static const std::set<int> kFills = {0, 1, 2, 3, 5, 9};
        if (!kFills.count(r.tableauAutoFill()) && !(special && r.tableauAutoFill() == 13))
            bad(25, "automatic fill " + std::to_string(r.tableauAutoFill()) + " is not used by ordinary games");
        for (int p : {497, 498})
            if (r[p] < 0 || r[p] > 2)
                bad(p, "outside 0..2");
        for (int p : {499, 500})
            if (r[p] < 0 || r[p] > 4)
                bad(p, "outside 0..4");
    }
    return errors;
}

std::vector<DefinitionGame> definitionGames(const std::vector<CatalogGame>& games)
{
    std::vector<DefinitionGame> out;
    for (const CatalogGame& g : games) {
        DefinitionGame d;
        d.type = g.type;
        d.id = g.id;
        d.hidden = g.hidden;
        d.largeScreen = g.largeScreen;
        d.newGame = g.newGame;
        d.name = g.name;
        d.rules = g.rules;
        out.push_back(std::move(d));
    }
    // Sorted by id, so that with no gaps the game with id n is row n.
    std::stable_sort(out.begin(), out.end(), [](const DefinitionGame& a, const DefinitionGame& b) { return a.id < b.id; });
    return out;
}

DefinitionGroups definitionGroups(const std::vector<CatalogGame>& games)
{
    DefinitionGroups g;
    for (const CatalogGame& c : games) {
        if (c.popular)
            g.popular.push_back(c.id);
        if (c.original)
            g.original.push_back(c.id);
        if (c.children)
            g.children.push_back(c.id);
    }
    for (auto* v : {&g.popular, &g.original, &g.children})
        std::sort(v->begin(), v->end());
    return g;
}

std::string writeRulesTexts(const std::vector<CatalogGame>& games)
{
    std::vector<const CatalogGame*> sorted;
    for (const CatalogGame& g : games)
        sorted.push_back(&g);
    std::stable_sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return a->id < b->id; });
    std::string out;
    for (const CatalogGame* g : sorted) {
        out += "[Game " + storage::fixedNumber(g->id, 3) + "]\r\n";
        out += "Name=" + g->name + "\r\n";
        std::string_view rest = g->rulesText;
        while (!rest.empty()) {
            const auto cut = rest.find("\n\n");
            out += "Text=" + std::string(rest.substr(0, cut)) + "\r\n";
            rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 2);
        }
    }
    return out;
}

Result<std::vector<RulesText>> readRulesTexts(std::string_view text, std::string_view fileName)
{
    using R = Result<std::vector<RulesText>>;
    std::vector<RulesText> out;
    int line = 0;
    for (const std::string& l : SplitLines(text)) {
        ++line;
        const std::string where = std::string(fileName) + ":" + std::to_string(line) + ": ";
        if (l.empty())
            continue;
        if (l.rfind("[Game ", 0) == 0) {
            const auto close = l.find(']');
            auto id = close == std::string::npos ? std::nullopt : parseInteger(std::string_view(l).substr(6, close - 6));
            if (!id || *id < 0 || *id > 9999)
                return R::failure(where + "bad section header");
            out.push_back(RulesText{static_cast<int>(*id), {}, {}});
            continue;
        }
        if (out.empty())
            return R::failure(where + "a line before the first section");
        if (l.rfind("Name=", 0) == 0)
            out.back().name = l.substr(5);
        else if (l.rfind("Text=", 0) == 0)
            out.back().paragraphs.push_back(l.substr(5));
        else
            return R::failure(where + "expected Name= or Text=");
    }
    return out;
}

} // namespace cw::catalog
