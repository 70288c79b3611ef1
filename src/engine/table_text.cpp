// Pile strings and snapshot texts: the text forms files and undo records store.
#include "engine/table_text.h"

namespace cw::engine {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string encodePileString(const Pile& pile)
{
    std::string s;
    s.reserve(pile.size() * 3);
    for (int c : pile)
        s += codeText(c);
    return s;
}

bool decodePileString(std::string_view text, Pile& pile)
{
    if (text.size() % 3 != 0)
        return false;
    Pile result;
    for (std::size_t i = 0; i < text.size(); i += 3) {
        const int c = parseCode(text.substr(i, 3));
        if (c < 0)
            return false;
        result.push(c);
    }
    pile = std::move(result);
    return true;
}

std::string encodeSnapshotPile(const Table& table, PileRef p)
{
    const Pile& pile = table.pile(p);
    std::string s;
    s.reserve(pile.size() * 4);
    for (int c : pile) {
        if (c == 0) {
            s += "0000";
            continue;
        }
        s += codeText(c);
        s += table.isFaceUp(c) ? '1' : '0';
    }
    return s;
}

bool decodeSnapshotPile(std::string_view text, Table& table, PileRef p)
{
    if (text.size() % 4 != 0 || !p.valid())
        return false;
    for (std::size_t i = 0; i < text.size(); i += 4) {
        if (parseCode(text.substr(i, 3)) < 0 || (text[i + 3] != '0' && text[i + 3] != '1'))
            return false;
    }
    table.pile(p).clear();
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const int c = parseCode(text.substr(i, 3));
        if (c == 0)
            table.append(p, 0);
        else
            table.append(p, c, text[i + 3] == '1');
    }
    return true;
}

std::array<std::string, kTablePiles> encodeSnapshot(const Table& table)
{
    std::array<std::string, kTablePiles> lines;
    for (int i = 0; i < kTablePiles; ++i)
        lines[static_cast<std::size_t>(i)] = encodeSnapshotPile(table, pileAtTableOrder(i));
    return lines;
}

bool decodeSnapshot(const std::vector<std::string>& lines, Table& table, std::string* error)
{
    auto fail = [&](std::string msg) {
        if (error)
            *error = std::move(msg);
        return false;
    };
    if (lines.size() != static_cast<std::size_t>(kTablePiles))
        return fail("expected " + std::to_string(kTablePiles) + " pile lines, found " + std::to_string(lines.size()));
    Table result = table;
    for (int i = 0; i < kTablePiles; ++i) {
        std::string_view line = lines[static_cast<std::size_t>(i)];
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!decodeSnapshotPile(line, result, pileAtTableOrder(i))) {
            bool digits = true;
            for (char c : line)
                digits = digits && isDigit(c);
            return fail("line " + std::to_string(i + 1) + " (" + pileName(pileAtTableOrder(i)) + "): " +
                        (digits ? "not a valid snapshot of cards" : "unexpected characters"));
        }
    }
    table = std::move(result);
    return true;
}

} // namespace cw::engine
