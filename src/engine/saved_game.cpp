// The saved game file format: the exact line layout, the reader with its version adjustments and checks.
#include "engine/saved_game.h"

#include <algorithm>
#include <optional>

#include "engine/table_text.h"
#include "storage/fixed_width.h"
#include "storage/safe_file.h"

namespace cw::engine {

namespace {

using storage::fixedNumber;
using storage::fixedText;

constexpr int kTableFirstLine = 12; // 0-based index of the stock's line
constexpr int kTableLines = kTablePiles;
constexpr int kEmptyLinesAfterPlayer = 10;
constexpr std::size_t kPlayerWidth = 50;
constexpr std::size_t kGameNumberWidth = 15;
constexpr std::string_view kStandardScoringCode = "01";

// Per snapshot, the entries of each undo list, and where each list starts in table order.
constexpr int kListSizes[4] = {kStockGroupPiles, kFoundationPiles, kTableauPiles, kReservePiles};
constexpr int kListFirst[4] = {0, kStockGroupPiles, kStockGroupPiles + kFoundationPiles,
                               kStockGroupPiles + kFoundationPiles + kTableauPiles};
constexpr const char* kListHeaders[4] = {kUndoStockHeader, kUndoFoundationsHeader, kUndoPilesHeader,
                                         kUndoReservesHeader};

long long clampTo(long long v, long long lo, long long hi) { return std::clamp(v, lo, hi); }

// The widest value a zero-padded field of width w holds: 9..9, or -9..9 with the sign.
long long fieldMax(int w)
{
    long long m = 1;
    for (int i = 0; i < w; ++i)
        m *= 10;
    return m - 1;
}
long long fieldMin(int w) { return -fieldMax(w - 1); }

std::string number(long long v, int width) { return fixedNumber(clampTo(v, fieldMin(width), fieldMax(width)), width); }

// A text field of a line: a line break or other control character inside it would split or
// shift the file's lines, so each becomes a blank.
std::string text(std::string_view value, int width)
{
    std::string s = fixedText(value, width);
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = ' ';
    return s;
}

bool allDigits(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// 1-based character range of a line; empty when the line is shorter.
std::string_view chars(std::string_view line, std::size_t first, std::size_t last)
{
    if (line.size() < first)
        return {};
    return line.substr(first - 1, std::min(last, line.size()) - first + 1);
}

struct Fail {
    std::string detail;
};

std::optional<long long> numberField(std::string_view line, std::size_t first, std::size_t last)
{
    if (line.size() < last)
        return std::nullopt;
    return storage::parseInteger(chars(line, first, last));
}

std::vector<std::string> insertEmptyAfterEvery(const std::vector<std::string>& list, std::size_t every,
                                               std::size_t count)
{
    std::vector<std::string> out;
    out.reserve(list.size() + list.size() / every * count);
    for (std::size_t i = 0; i < list.size(); ++i) {
        out.push_back(list[i]);
        if ((i + 1) % every == 0)
            out.insert(out.end(), count, std::string());
    }
    return out;
}

} // namespace

// ---- Writing ----

std::string encodeSavedGame(const SavedGame& g)
{
    const SavedAppearance& a = g.appearance;
    std::string header = "[S-";
    header += kSavedGameVersion;
    header += ']';
    header += number(g.gameId, 4);
    header += text(a.backgroundName, 30);
    header += number(a.backgroundColour, 15);
    header += text(a.backgroundDef, 1) + "   ";
    header += text(a.cardSize, 1);
    header += text(a.cardSet, 3) + "      ";
    header += number(a.cardBack, 4);
    header += number(g.elapsedSeconds, 6);
    const auto code = storage::parseInteger(g.scoringCode);
    header += code ? number(*code, 2) : std::string(kStandardScoringCode);
    header += number(g.score, 6);
    header += number(g.dealNumber, 6);
    header += number(g.gameCounter1, 4);
    header += number(g.gameCounter2, 4);

    std::string player = text(g.player, kPlayerWidth) + text(g.gameNumber, kGameNumberWidth) + " ";
    for (int b : g.foundationBases)
        player += number(b, 2);

    const std::size_t n = g.undo.snapshots.size();
    std::string out;
    out.reserve(4096 + n * 600);
    auto line = [&out](std::string_view text) {
        out += text;
        out += "\r\n";
    };
    line(header);
    line(player);
    for (int i = 0; i < kEmptyLinesAfterPlayer; ++i)
        line("");
    for (const std::string& pile : encodeSnapshot(g.table))
        line(pile);
    for (int list = 0; list < 4; ++list) {
        line(kListHeaders[list]);
        for (std::size_t s = 0; s < n; ++s)
            for (int k = 0; k < kListSizes[list]; ++k)
                line(g.undo.snapshots.pileText(s, kListFirst[list] + k));
    }
    line(kUndoLogHeader);
    line(eventLogText(g.undo.log));
    return out;
}

void writeSavedGame(const std::string& path, const SavedGame& game)
{
    storage::writeFileAtomic(path, encodeSavedGame(game));
}

// ---- Version adjustments ----

bool adjustSavedGameLines(std::vector<std::string>& lines, std::string_view version)
{
    auto insertAt = [&lines](std::size_t pos, std::size_t count) {
        if (pos > lines.size())
            return false;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(pos), count, std::string());
        return true;
    };
    if (version < "0301") {
        if (lines.size() < 2)
            return false;
        lines[1] += "00000000";
        for (std::size_t pos : {23, 24, 25, 26, 47, 48, 49, 50, 51})
            if (!insertAt(pos, 1))
                return false;
    }
    if (version < "0303" && !(insertAt(52, 1) && insertAt(53, 1)))
        return false;
    if (version < "0520" && !insertAt(67, 2))
        return false;
    if (version < "0530" && !insertAt(59, 12))
        return false;
    if (version < "0920" && !(insertAt(81, 1) && insertAt(82, 1)))
        return false;
    return true;
}

void adjustUndoLists(UndoTexts& u, std::string_view version)
{
    if (version < "0301") {
        u.foundations = insertEmptyAfterEvery(u.foundations, 8, 4);
        u.tableau = insertEmptyAfterEvery(u.tableau, 20, 5);
    }
    if (version < "0303")
        u.tableau = insertEmptyAfterEvery(u.tableau, 26, 2);
    if (version < "0520")
        u.reserves = insertEmptyAfterEvery(u.reserves, 8, 2);
    if (version < "0530")
        u.tableau = insertEmptyAfterEvery(u.tableau, 28, 12);
    if (version < "0920")
        u.reserves = insertEmptyAfterEvery(u.reserves, 10, 2);
}

// ---- Reading ----

namespace {

// Parses the lines of a file (already split); throws Fail with the first fault found.
SavedGame parseLines(std::vector<std::string> lines)
{
    SavedGame g;
    if (lines.empty())
        throw Fail{"empty file"};

    // Line 1: tag and version decide how the rest is laid out.
    const std::string_view head = lines[0];
    if (head.size() < 8 || head.substr(0, 3) != "[S-" || head[7] != ']' || !allDigits(head.substr(3, 4)))
        throw Fail{"line 1: not a saved game header"};
    g.version = std::string(head.substr(3, 4));
    if (!adjustSavedGameLines(lines, g.version))
        throw Fail{"too few lines for a file of version " + g.version};
    if (lines.size() < static_cast<std::size_t>(kTableFirstLine + kTableLines))
        throw Fail{"too few lines for the table"};

    const std::string_view h = lines[0];
    auto field = [&h](std::size_t first, std::size_t last, const char* what) {
        const auto v = numberField(h, first, last);
        if (!v)
            throw Fail{std::string("line 1: ") + what + " is not a number"};
        return *v;
    };
    g.gameId = static_cast<int>(field(9, 12, "the game id"));
    if (g.gameId < 0)
        throw Fail{"line 1: negative game id"};
    g.appearance.backgroundName = storage::rtrim(chars(h, 13, 42));
    g.appearance.backgroundColour = storage::parseInteger(chars(h, 43, 57)).value_or(0);
    g.appearance.backgroundDef = std::string(chars(h, 58, 58));
    g.appearance.cardSize = std::string(chars(h, 62, 62));
    g.appearance.cardSet = storage::rtrim(chars(h, 63, 65));
    g.appearance.cardBack = static_cast<int>(storage::parseInteger(chars(h, 72, 75)).value_or(0));
    g.elapsedSeconds = static_cast<int>(std::max<long long>(0, field(76, 81, "the elapsed time")));
    const std::string_view code = chars(h, 82, 83);
    if (code.size() != 2 || !allDigits(code))
        throw Fail{"line 1: the scoring system code is not a number"};
    g.scoringCode = std::string(code);
    g.score = static_cast<int>(field(84, 89, "the score"));
    g.dealNumber = static_cast<int>(field(90, 95, "the deal number"));
    // The two game counters close the header; a header cut short after the deal number reads them as 0.
    if (h.size() >= 103) {
        g.gameCounter1 = static_cast<int>(field(96, 99, "game counter 1"));
        g.gameCounter2 = static_cast<int>(field(100, 103, "game counter 2"));
    } else if (h.size() > 95) {
        throw Fail{"line 1: the game counters are cut short"};
    }

    // Line 2: player, game number, foundation bases. Its columns count characters: a player's name
    // with accents takes the room of its letters.
    const std::string_view p = lines[1];
    const std::string_view tail = p.substr(storage::columnOffset(p, 51));
    g.player = storage::rtrim(storage::textColumn(p, 1, 30));
    g.gameNumber = storage::rtrim(chars(tail, 1, 13));
    if (!allDigits(g.gameNumber))
        throw Fail{"line 2: the game number is not a number"};
    if (tail.size() < 48)
        throw Fail{"line 2: the foundation bases are missing"};
    for (int k = 0; k < kFoundationPiles; ++k) {
        const std::size_t first = 17 + 2 * static_cast<std::size_t>(k);
        const auto v = storage::parseInteger(chars(tail, first, first + 1));
        if (!v)
            throw Fail{"line 2: the base of foundation " + std::to_string(k + 1) + " is not a number"};
        g.foundationBases[static_cast<std::size_t>(k)] = static_cast<int>(*v);
    }

    // Lines 13-83: the table. A card may lie on one pile only.
    const std::vector<std::string> tableLines(lines.begin() + kTableFirstLine,
                                              lines.begin() + kTableFirstLine + kTableLines);
    std::string error;
    if (!decodeSnapshot(tableLines, g.table, &error))
        throw Fail{"table " + error};
    {
        // Selection games keep the codes of the selected cards in foundation 1 while the cards
        // stay on their piles, so foundation 1 is checked on its own.
        std::array<bool, kLastCard + 1> seen{}, selected{};
        for (int i = 0; i < kTablePiles; ++i) {
            auto& marks = pileAtTableOrder(i) == PileRef::foundation(0) ? selected : seen;
            for (int c : g.table.pile(pileAtTableOrder(i))) {
                if (c == 0)
                    continue;
                if (marks[static_cast<std::size_t>(c)])
                    throw Fail{"table: card " + codeText(c) + " lies on two piles"};
                marks[static_cast<std::size_t>(c)] = true;
            }
        }
    }

    // The undo sections: a header selects the list every following line goes to. Headers can
    // only follow the table; looking for them there alone keeps a player named like a header
    // (line 2) from being read as one.
    UndoTexts undo;
    std::vector<std::string>* target = nullptr;
    bool inLog = false;
    for (std::size_t i = kTableFirstLine + kTableLines; i < lines.size(); ++i) {
        std::string_view v = lines[i];
        if (!v.empty() && v.back() == '\r')
            v.remove_suffix(1);
        bool header = true;
        if (v.starts_with(kUndoStockHeader))
            target = &undo.stock;
        else if (v.starts_with(kUndoFoundationsHeader))
            target = &undo.foundations;
        else if (v.starts_with(kUndoPilesHeader))
            target = &undo.tableau;
        else if (v.starts_with(kUndoReservesHeader))
            target = &undo.reserves;
        else if (v.starts_with(kUndoLogHeader))
            target = nullptr;
        else
            header = false;
        if (header) {
            inLog = v.starts_with(kUndoLogHeader);
            continue;
        }
        if (inLog)
            undo.log = std::string(v);
        else if (target)
            target->emplace_back(v);
    }
    adjustUndoLists(undo, g.version);

    const std::size_t snapshots = undo.stock.size() / kStockGroupPiles;
    if (undo.stock.size() % kStockGroupPiles != 0 || undo.foundations.size() != snapshots * kFoundationPiles ||
        undo.tableau.size() != snapshots * kTableauPiles || undo.reserves.size() != snapshots * kReservePiles)
        throw Fail{"the undo lists do not hold the same number of positions"};
    std::vector<std::string_view> texts(kTablePiles);
    const std::vector<std::string>* lists[4] = {&undo.stock, &undo.foundations, &undo.tableau, &undo.reserves};
    for (std::size_t s = 0; s < snapshots; ++s) {
        for (int list = 0; list < 4; ++list)
            for (int k = 0; k < kListSizes[list]; ++k)
                texts[static_cast<std::size_t>(kListFirst[list] + k)] =
                    (*lists[list])[s * static_cast<std::size_t>(kListSizes[list]) + static_cast<std::size_t>(k)];
        if (!g.undo.snapshots.pushTexts(texts))
            throw Fail{"undo position " + std::to_string(s + 1) + " is damaged"};
    }
    if (!parseEventLog(undo.log, g.undo.log))
        throw Fail{"the undo log is damaged"};
    return g;
}

} // namespace

SavedGameRead parseSavedGame(std::string_view text, const std::string& path)
{
    SavedGameRead r;
    std::vector<std::string> lines = storage::splitLines(text);
    if (lines.size() < static_cast<std::size_t>(kSavedGameMinLines)) {
        r.error = SavedGameError::TooShort;
        r.message = "Error in reading the file: " + path;
        r.detail = "fewer than " + std::to_string(kSavedGameMinLines) + " lines";
        return r;
    }
    try {
        r.game = parseLines(std::move(lines));
    } catch (const Fail& f) {
        r.error = SavedGameError::Damaged;
        r.message = "Error in reading the file: " + path;
        r.detail = f.detail;
        r.game = SavedGame{};
    }
    return r;
}

SavedGameRead readSavedGame(const std::string& path)
{
    const std::string resolved = storage::resolveNoCase(path);
    if (!storage::fileExists(resolved)) {
        SavedGameRead r;
        r.error = SavedGameError::NotFound;
        r.message = "File not found: " + path;
        return r;
    }
    const auto text = storage::readWholeFile(resolved);
    if (!text) {
        SavedGameRead r;
        r.error = SavedGameError::Damaged;
        r.message = "Error in reading the file: " + path;
        r.detail = "cannot be read";
        return r;
    }
    return parseSavedGame(*text, path);
}

} // namespace cw::engine
