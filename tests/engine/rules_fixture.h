// Builds play states and rule sets for the rules tests from short texts: "Fila1: *Kh Qs; Dest1: Ah".
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>

#include "catalog/rules.h"
#include "engine/card.h"
#include "engine/game_state.h"
#include "engine/rules_context.h"
#include "rules_play_sets.h"

namespace cw::test {

using engine::GameState;
using engine::PileRef;

// One card: a three-digit code ("013", "000" the placeholder) or rank + suit letter ("Ah",
// "10s", "Kd"), with an optional deck digit after a colon ("Kd:2"). A leading "*" lays it face
// down. Returns -1 for a malformed token.
inline int parseCardToken(std::string_view tok, bool& faceUp)
{
    faceUp = true;
    if (!tok.empty() && tok[0] == '*') {
        faceUp = false;
        tok.remove_prefix(1);
    }
    if (tok.size() == 3 && tok.find_first_not_of("0123456789") == std::string_view::npos)
        return engine::parseCode(tok);
    int deck = 1;
    if (const auto colon = tok.find(':'); colon != std::string_view::npos) {
        deck = tok[colon + 1] - '0';
        tok = tok.substr(0, colon);
    }
    if (tok.size() < 2)
        return -1;
    const char suitLetter = tok.back();
    const std::string_view r = tok.substr(0, tok.size() - 1);
    int rankValue = 0;
    if (r == "A") rankValue = 1;
    else if (r == "J") rankValue = 11;
    else if (r == "Q") rankValue = 12;
    else if (r == "K") rankValue = 13;
    else rankValue = std::stoi(std::string(r));
    const std::string_view suits = "hdcs";
    const auto s = suits.find(suitLetter);
    if (s == std::string_view::npos || rankValue < 1 || rankValue > 13)
        return -1;
    return engine::cardCode(static_cast<int>(s), rankValue, deck);
}

// Piles separated by ';' or new lines, each "Name: card card ..." bottom card first.
inline GameState stateFromText(std::string_view text)
{
    GameState st;
    std::string all(text);
    for (char& ch : all)
        if (ch == ';')
            ch = '\n';
    std::istringstream lines(all);
    std::string line;
    while (std::getline(lines, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::string name = line.substr(0, colon);
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        const PileRef pile = engine::pileFromName(name);
        EXPECT_TRUE(pile.valid()) << "pile name " << name;
        if (!pile.valid())
            continue;
        std::istringstream toks(line.substr(colon + 1));
        std::string tok;
        while (toks >> tok) {
            bool up = true;
            const int code = parseCardToken(tok, up);
            EXPECT_GE(code, 0) << "card " << tok;
            if (code >= 0)
                st.table.append(pile, code, up);
        }
    }
    return st;
}

inline std::string pileText(const GameState& st, PileRef p)
{
    std::string s;
    for (int c : st.table.pile(p)) {
        if (!s.empty())
            s += ' ';
        if (c != 0 && st.table.isFaceDown(c))
            s += '*';
        s += engine::codeText(c);
    }
    return s;
}

// The rules the play tests start from: counts, plain in-suit-down tableau piles and up-in-suit
// foundations, no group limit, free cells accepting one card.
inline engine::GameRules basicRules(int tableaus = 4, int foundations = 4, int reserves = 0)
{
    engine::GameRules r;
    r.set(378, 52);
    upInSuitFoundations(r, foundations);
    r.set(375, tableaus);
    r.set(376, reserves);
    setRange(r, 135, tableaus, -1);
    setRange(r, 175, tableaus, 0);
    setRange(r, 215, tableaus, 0);
    r.set(2, 1);
    r.set(14, -1);
    r.set(35, -1);
    r.set(44, 1);
    r.set(16, -1);
    return r;
}

} // namespace cw::test
