// Small tables for the special families' tests: cards by name ("7h", "Ts", "Kd"), piles by name.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalog/rules.h"
#include "engine/table.h"

namespace cw::test {

using namespace cw::engine;

// "Ah", "7c", "Td", "Ks": rank letter or digit and suit letter (h, d, c, s); "--" is the
// placeholder. A second-deck card takes a trailing '2' ("7h2").
inline int card(std::string_view s)
{
    if (s == "--")
        return 0;
    const std::string ranks = "A23456789TJQK";
    const std::string suits = "hdcs";
    const int r = static_cast<int>(ranks.find(s[0])) + 1;
    const int su = static_cast<int>(suits.find(s[1]));
    const int deck = s.size() > 2 ? s[2] - '0' : 1;
    return cardCode(su, r, deck);
}

inline std::vector<int> cards(std::initializer_list<const char*> names)
{
    std::vector<int> out;
    for (const char* n : names)
        out.push_back(card(n));
    return out;
}

// One pile of a hand-built table: its name, its cards bottom first, all face up unless listed
// in faceDown.
struct PileSpec {
    std::string name;
    std::vector<std::string> codes;
    std::vector<std::string> faceDown{};
};

inline Table tableFrom(const std::vector<PileSpec>& piles)
{
    Table t;
    for (const PileSpec& p : piles) {
        const PileRef ref = pileFromName(p.name);
        for (const std::string& c : p.codes)
            t.append(ref, card(c), true);
        for (const std::string& c : p.faceDown)
            t.setFace(card(c), false);
    }
    return t;
}

// Rules of a special family with the few parameters the family rules read.
inline catalog::Rules familyRules(int family, int tableaus, std::initializer_list<std::pair<int, int>> more = {})
{
    catalog::Rules r;
    r.set(54, family);
    r.set(375, tableaus);
    r.set(378, 52);
    for (const auto& [n, v] : more)
        r.set(n, v);
    return r;
}

} // namespace cw::test
