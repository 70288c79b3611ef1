// Reader of the common FreeCell position notation and its placement on a table.
#include "engine/freecell_board.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "engine/card.h"

namespace cw::engine {
namespace {

constexpr std::size_t kMaxBoardText = 1 << 16;

int suitIndexOf(char c)
{
    switch (std::toupper(static_cast<unsigned char>(c))) {
    case 'H': return 0;
    case 'D': return 1;
    case 'C': return 2;
    case 'S': return 3;
    default: return -1;
    }
}

int rankOf(std::string_view r)
{
    if (r == "10")
        return 10;
    if (r.size() != 1)
        return -1;
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(r[0])));
    if (c >= '2' && c <= '9')
        return c - '0';
    switch (c) {
    case 'A': return 1;
    case 'T': return 10;
    case 'J': return 11;
    case 'Q': return 12;
    case 'K': return 13;
    case '0': return 0; // foundations only: nothing yet
    default: return -1;
    }
}

// "KH" -> code, or -1.
int parseCard(std::string_view word)
{
    if (word.size() < 2 || word.size() > 3)
        return -1;
    const int s = suitIndexOf(word.back());
    const int r = rankOf(word.substr(0, word.size() - 1));
    if (s < 0 || r < 1)
        return -1;
    return cardCode(s, r);
}

bool startsWithNoCase(std::string_view s, std::string_view prefix)
{
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

std::vector<std::string> words(std::string_view line)
{
    std::vector<std::string> out;
    std::istringstream in{std::string(line)};
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

} // namespace

std::string freecellCardText(int code)
{
    if (code < 1 || code > 52)
        return "??";
    static constexpr char kRanks[] = "A23456789TJQK";
    static constexpr char kSuits[] = "HDCS";
    return std::string{kRanks[rank(code) - 1], kSuits[suit(code)]};
}

int freecellCardCode(std::string_view word) { return parseCard(word); }

bool parseFreecellBoard(std::string_view text, FreecellBoard& board, std::string* error)
{
    auto fail = [&](int line, const std::string& why) {
        if (error)
            *error = line > 0 ? "line " + std::to_string(line) + ": " + why : why;
        return false;
    };
    board = FreecellBoard{};
    if (text.size() > kMaxBoardText)
        return fail(0, "the board text is too long");
    std::array<int, 53> seenAt{};
    auto note = [&](int code, int line) -> bool {
        if (seenAt[static_cast<std::size_t>(code)] != 0)
            return false;
        seenAt[static_cast<std::size_t>(code)] = line;
        return true;
    };
    bool haveFoundations = false, haveCells = false;
    int lineNumber = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const auto hash = line.find('#');
        if (hash != std::string_view::npos)
            line = line.substr(0, hash);
        const auto w = words(line);
        if (w.empty()) {
            if (end == text.size())
                break;
            continue;
        }
        const std::string& head = w[0];
        if (startsWithNoCase(head, "Foundations:") || startsWithNoCase(head, "Founds:")) {
            if (haveFoundations)
                return fail(lineNumber, "a second Foundations line");
            haveFoundations = true;
            for (std::size_t i = 1; i < w.size(); ++i) {
                const std::string& e = w[i];
                const auto dash = e.find('-');
                const int s = e.empty() ? -1 : suitIndexOf(e[0]);
                const int r = dash == 1 ? rankOf(std::string_view(e).substr(2)) : -1;
                if (s < 0 || r < 0)
                    return fail(lineNumber, "not a foundation entry like H-5: " + e);
                if (board.foundationRank[static_cast<std::size_t>(s)] != 0)
                    return fail(lineNumber, "the foundation of a suit given twice: " + e);
                board.foundationRank[static_cast<std::size_t>(s)] = r;
                for (int k = 1; k <= r; ++k)
                    if (!note(cardCode(s, k), lineNumber))
                        return fail(lineNumber, "card " + freecellCardText(cardCode(s, k)) + " appears twice");
            }
        } else if (startsWithNoCase(head, "Freecells:") || startsWithNoCase(head, "FC:")) {
            if (haveCells)
                return fail(lineNumber, "a second Freecells line");
            haveCells = true;
            for (std::size_t i = 1; i < w.size(); ++i) {
                if (w[i] == "-")
                    continue;
                const int code = parseCard(w[i]);
                if (code < 0)
                    return fail(lineNumber, "not a card: " + w[i]);
                if (!note(code, lineNumber))
                    return fail(lineNumber, "card " + w[i] + " appears twice");
                board.freecells.push_back(code);
            }
        } else {
            std::vector<int> column;
            for (std::size_t i = 0; i < w.size(); ++i) {
                if (i == 0 && w[i] == ":")
                    continue;
                std::string word = w[i];
                if (i == 0 && word.front() == ':')
                    word.erase(0, 1);
                const int code = parseCard(word);
                if (code < 0)
                    return fail(lineNumber, "not a card: " + w[i]);
                if (!note(code, lineNumber))
                    return fail(lineNumber, "card " + word + " appears twice");
                column.push_back(code);
            }
            if (board.columns.size() >= 40)
                return fail(lineNumber, "too many columns");
            board.columns.push_back(std::move(column));
        }
        if (end == text.size())
            break;
    }
    for (int code = 1; code <= 52; ++code)
        if (seenAt[static_cast<std::size_t>(code)] == 0)
            return fail(0, "card " + freecellCardText(code) + " is missing");
    return true;
}

bool placeFreecellBoard(const FreecellBoard& board, const catalog::Rules& rules, GameState& state, std::string* error)
{
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    const int columns = std::clamp(rules.tableauCount(), 0, kTableauPiles);
    const int cells = std::clamp(rules.reserveCount(), 0, kReservePiles);
    const int foundations = std::clamp(rules.foundationCount(), 0, kFoundationPiles);
    if (static_cast<int>(board.columns.size()) > columns)
        return fail("the board has " + std::to_string(board.columns.size()) + " columns; the game has " +
                    std::to_string(columns));
    if (static_cast<int>(board.freecells.size()) > cells)
        return fail("the board fills " + std::to_string(board.freecells.size()) + " free cells; the game has " +
                    std::to_string(cells));
    int started = 0;
    for (int r : board.foundationRank)
        started += r > 0 ? 1 : 0;
    if (started > foundations)
        return fail("the game has too few foundations for the board");
    Table& t = state.table;
    t.clearPiles();
    t.setAllFaceUp();
    for (std::size_t c = 0; c < board.columns.size(); ++c)
        for (int code : board.columns[c])
            t.append(PileRef::tableau(static_cast<int>(c)), code);
    for (std::size_t r = 0; r < board.freecells.size(); ++r)
        t.append(PileRef::reserve(static_cast<int>(r)), board.freecells[r]);
    int f = 0;
    for (int s = 0; s < 4; ++s) {
        const int reached = board.foundationRank[static_cast<std::size_t>(s)];
        if (reached == 0)
            continue;
        for (int k = 1; k <= reached; ++k)
            t.append(PileRef::foundation(f), cardCode(s, k));
        ++f;
    }
    state.won = false;
    state.dealFinished = true;
    state.movesMade = 2; // a position from elsewhere: no first-move rules apply
    return true;
}

} // namespace cw::engine
