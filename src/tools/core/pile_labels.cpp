// The piles' information view's labels and the pile names file "cwdr.dat".
#include "tools/core/pile_labels.h"

#include <algorithm>
#include <cstdio>

#include "storage/safe_file.h"

namespace cw::tools {

using engine::PileKind;
using engine::PileRef;

namespace {

constexpr std::size_t kMaxNamesFile = std::size_t{4} << 20;
constexpr std::size_t kMaxNameLength = 40;

unsigned char keyByte(std::size_t i) { return static_cast<unsigned char>(0x5A + 7 * i); }

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

void replaceAll(std::string& text, std::string_view from, std::string_view to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

} // namespace

std::string scramblePileText(std::string_view plain)
{
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(plain.size() * 2);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const auto b = static_cast<unsigned char>(static_cast<unsigned char>(plain[i]) ^ keyByte(i));
        out += hex[b >> 4];
        out += hex[b & 15];
    }
    return out;
}

std::optional<std::string> unscramblePileText(std::string_view scrambled)
{
    if (scrambled.size() % 2 != 0)
        return std::nullopt;
    std::string out;
    out.reserve(scrambled.size() / 2);
    for (std::size_t i = 0; i < scrambled.size(); i += 2) {
        const int hi = hexValue(scrambled[i]);
        const int lo = hexValue(scrambled[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out += static_cast<char>(static_cast<unsigned char>(hi * 16 + lo) ^ keyByte(i / 2));
    }
    return out;
}

std::string writePileNamesFile(const std::vector<std::pair<std::string, std::string>>& entries)
{
    std::string text = "[Main]\r\n";
    for (const auto& [key, name] : entries)
        text += scramblePileText(key) + "=" + scramblePileText(name) + "\r\n";
    return text;
}

PileNames PileNames::parse(std::string_view fileText)
{
    PileNames names;
    bool inMain = false;
    for (const std::string& raw : storage::splitLines(fileText)) {
        const std::string line = storage::trim(raw);
        if (!line.empty() && line.front() == '[') {
            const auto close = line.find(']');
            inMain = close != std::string::npos && storage::equalsNoCase(line.substr(1, close - 1), "Main");
            continue;
        }
        const auto eq = line.find('=');
        if (!inMain || eq == std::string::npos)
            continue;
        const auto key = unscramblePileText(storage::trim(line.substr(0, eq)));
        const auto value = unscramblePileText(storage::trim(line.substr(eq + 1)));
        if (!key || !value)
            continue;
        std::string name = value->substr(0, value->find(','));
        // What the label shows is one short line of printable text.
        name.erase(std::remove_if(name.begin(), name.end(),
                                  [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }),
                   name.end());
        name = storage::trim(name);
        if (name.size() > kMaxNameLength)
            name.resize(kMaxNameLength);
        if (!name.empty())
            names.m_names.emplace(*key, std::move(name)); // the first entry of a key counts
    }
    return names;
}

PileNames PileNames::load(const std::string& path)
{
    const std::string real = storage::resolveNoCase(path);
    std::FILE* f = std::fopen(real.c_str(), "rb");
    if (!f)
        return {};
    std::string text;
    char buffer[65536];
    std::size_t n = 0;
    while (text.size() < kMaxNamesFile && (n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    std::fclose(f);
    return parse(text);
}

std::string pileNameKey(int gameId, PileRef pile)
{
    if (gameId < 0 || gameId > 9999 || !pile.valid())
        return {};
    char letter = 0;
    int number = pile.index + 1;
    switch (pile.kind) {
    case PileKind::Foundation: letter = 'F'; break;
    case PileKind::Tableau: letter = 'T'; break;
    case PileKind::Reserve: letter = 'R'; break;
    case PileKind::Stock: letter = 'S', number = 1; break;
    case PileKind::Waste: letter = 'W', number = 1; break;
    case PileKind::SecondWaste: letter = 'W', number = 2; break;
    default: return {};
    }
    std::string key = std::to_string(gameId);
    key.insert(0, 4 - key.size(), '0');
    key += letter;
    key += 'D';
    key += static_cast<char>('0' + number / 10);
    key += static_cast<char>('0' + number % 10);
    return key;
}

std::string PileNames::name(int gameId, PileRef pile) const
{
    const auto it = m_names.find(pileNameKey(gameId, pile));
    return it == m_names.end() ? std::string() : it->second;
}

std::string builtInKindWord(PileKind kind)
{
    switch (kind) {
    case PileKind::Foundation: return "Foundation";
    case PileKind::Tableau: return "Tableau";
    case PileKind::Reserve: return "Reserve";
    case PileKind::Stock: return "Stock";
    case PileKind::Waste:
    case PileKind::SecondWaste: return "Waste";
    default: return {};
    }
}

std::string kindLine(std::string word, int cardWidth)
{
    replaceAll(word, "Foundation", "Found.");
    if (cardWidth <= 70) {
        replaceAll(word, "Tableau", "Tabl.");
        replaceAll(word, "Reserve", "Res.");
    }
    return word;
}

std::string cardCountText(int count) { return count == 1 ? "1 card" : std::to_string(count) + " cards"; }

int labelCardCount(const catalog::Rules& rules, const engine::Table& table, PileRef pile)
{
    const engine::Pile& p = table.pile(pile);
    const int style = rules.tableauFanStyle();
    if (pile.kind == PileKind::Tableau && (style == 8 || style == 12))
        return p.cardCount();
    return static_cast<int>(p.size());
}

std::vector<PileLabel> pileLabels(const catalog::Rules& rules, const engine::Table& table, int gameId, int cardWidth,
                                  const PileNames& names, const std::function<bool(PileRef)>& onTable)
{
    std::vector<PileLabel> labels;
    auto add = [&](PileRef pile) {
        std::string word = names.name(gameId, pile);
        if (word.empty())
            word = builtInKindWord(pile.kind);
        labels.push_back(
            {pile, kindLine(std::move(word), cardWidth), cardCountText(labelCardCount(rules, table, pile))});
    };
    const int tableaus = std::clamp(rules.tableauCount(), 0, engine::kTableauPiles);
    const int reserves = std::clamp(rules.reserveCount(), 0, engine::kReservePiles);
    const int foundations = std::clamp(rules.foundationCount(), 0, engine::kFoundationPiles);
    for (int i = 0; i < tableaus; ++i)
        add(PileRef::tableau(i));
    for (int i = 0; i < reserves; ++i)
        add(PileRef::reserve(i));
    for (int i = 0; i < foundations; ++i)
        add(PileRef::foundation(i));
    for (PileRef pile : {PileRef::stock(), PileRef::waste(), PileRef::secondWaste()})
        if (onTable && onTable(pile))
            add(pile);
    return labels;
}

} // namespace cw::tools
