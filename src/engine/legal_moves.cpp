// The legal-move generator, move application for the demo, solver and CLI, and the move notation.
#include "engine/legal_moves.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "engine/autoplay.h"
#include "engine/drop.h"
#include "engine/family.h"
#include "engine/moves.h"
#include "engine/pickup.h"
#include "engine/rules_building.h"
#include "engine/rules_groups.h"
#include "engine/stock.h"

namespace cw::engine {

using catalog::ReserveAccept;

namespace {

// What the generator knows of each target before asking the full drop rules: a pile whose top
// is face down, or whose top the general rule cannot continue, is skipped at once.
struct TargetCache {
    // Per target: 0 empty (ask the rules), 1 closed, 2 a general code to pre-check, 3 a special
    // code (ask the rules).
    struct Top {
        std::uint8_t state = 0;
        std::int8_t code = 0;
        std::int8_t rank = 0;
        std::int8_t suit = 0;
        bool red = false;
        std::int8_t emptyRank = 0; // an empty pile of a general code takes only this rank (0: ask)
    };
    std::array<Top, kTableauPiles> tableau{};
    std::array<Top, kFoundationPiles> foundation{};
    std::array<bool, kReservePiles> reserveClosed{}; // refuses any card now
    std::array<bool, kReservePiles> reserveGroups{}; // may take a group

    static bool generalCode(int code) { return code == 0 || code == 1 || code == 2 || code == 3 || code == 13; }

    static Top describe(int top, int code, bool closed, int emptyRule, int baseRank)
    {
        Top t;
        if (top == 0) {
            if (generalCode(code) && emptyRule >= 1 && emptyRule <= 13 && baseRank != -1)
                t.emptyRank = static_cast<std::int8_t>(emptyRule);
            return t;
        }
        if (closed) {
            t.state = 1;
            return t;
        }
        const bool general = generalCode(code);
        t.state = general ? 2 : 3;
        t.code = static_cast<std::int8_t>(general ? code : 0);
        t.rank = static_cast<std::int8_t>(rank(top));
        t.suit = static_cast<std::int8_t>(suit(top));
        t.red = isRed(top);
        return t;
    }

    explicit TargetCache(const Play& play)
    {
        const Table& t = play.table();
        for (int c = 0; c < play.tableaus(); ++c) {
            const int top = t.tableau(c).top();
            tableau[static_cast<std::size_t>(c)] =
                describe(top, play.tableauCode(c), top != 0 && t.isFaceDown(top) && !play.family().buildsOnFaceDown(),
                         play.rules.tableauEmptyRule(c), play.rules.foundationBase(0));
        }
        for (int f = 0; f < play.foundations(); ++f)
            foundation[static_cast<std::size_t>(f)] =
                describe(t.foundation(f).top(), play.foundationCode(f), false, play.rules.foundationBase(f),
                         play.rules.foundationBase(f));
        for (int r = 0; r < play.reserves(); ++r) {
            const int code = play.rules.reserveAccept(r);
            // Codes that take a card only on an empty reserve (the free cell among them).
            const bool emptyOnly = !(code == 8 || code == ReserveAccept::Anything || code == ReserveAccept::FromWaste ||
                                     code == 13 || code == 107 || code == ReserveAccept::UpInSuit || code == 154);
            reserveClosed[static_cast<std::size_t>(r)] =
                code == ReserveAccept::Nothing || (emptyOnly && holdsCard(t.reserve(r)));
            reserveGroups[static_cast<std::size_t>(r)] =
                code == ReserveAccept::Anything || code == ReserveAccept::Waive;
        }
    }
};

// The moving card, described once per lifted group.
struct MovingCard {
    int rank;
    int suit;
    bool red;
    explicit MovingCard(int card) : rank(cw::engine::rank(card)), suit(cw::engine::suit(card)), red(isRed(card)) {}
};

// False when the target certainly refuses the card; true when the rules must decide.
inline bool mayTake(const TargetCache::Top& t, const MovingCard& m)
{
    if (t.state == 0)
        return t.emptyRank == 0 || t.emptyRank == m.rank;
    if (t.state != 2)
        return t.state != 1;
    const int d = m.rank - t.rank;
    if (d != 1 && d != -1 && d != 12 && d != -12)
        return false;
    switch (t.code) {
    case 0: return m.suit == t.suit;
    case 1: return m.red == t.red;
    case 3: return m.red != t.red;
    default: return true;
    }
}

// Tableau targets wait for an empty stock under code 129.
bool tableauHeld(const Play& play) { return play.tableauHeldByStock(); }

void addTargets(const Play& play, const TargetCache& cache, const Carried& g, bool clickToPlay, bool holdTableau,
                MoveList& list)
{
    if (clickToPlay) {
        PileRef targets[kMaxAutoTargets];
        const int n = automaticTargets(play, g, Destinations{}, false, targets);
        for (int i = 0; i < n; ++i) {
            if (holdTableau && targets[i].kind == PileKind::Tableau)
                continue;
            if (mayDrop(play, g, targets[i])) {
                list.push(Move{MoveKind::Transfer, g.source, g.index, targets[i]});
                return;
            }
        }
        return;
    }
    const MovingCard moving(g.card);
    for (int f = 0; f < play.foundations() && g.single(); ++f)
        if (mayTake(cache.foundation[static_cast<std::size_t>(f)], moving) && mayDrop(play, g, PileRef::foundation(f)))
            list.push(Move{MoveKind::Transfer, g.source, g.index, PileRef::foundation(f)});
    if (!holdTableau)
        for (int c = 0; c < play.tableaus(); ++c)
            if (mayTake(cache.tableau[static_cast<std::size_t>(c)], moving) && mayDrop(play, g, PileRef::tableau(c)))
                list.push(Move{MoveKind::Transfer, g.source, g.index, PileRef::tableau(c)});
    for (int r = 0; r < play.reserves(); ++r)
        if (!cache.reserveClosed[static_cast<std::size_t>(r)] &&
            (g.single() || cache.reserveGroups[static_cast<std::size_t>(r)]) && mayDrop(play, g, PileRef::reserve(r)))
            list.push(Move{MoveKind::Transfer, g.source, g.index, PileRef::reserve(r)});
    if (g.single() && play.rules.wasteAccepts() == 2 && mayDrop(play, g, PileRef::waste()))
        list.push(Move{MoveKind::Transfer, g.source, g.index, PileRef::waste()});
}

void addLifts(const Play& play, const TargetCache& cache, PileRef pile, bool clickToPlay, bool holdTableau,
              MoveList& list)
{
    const Pile& p = play.table().pile(pile);
    const int size = static_cast<int>(p.size());
    // Only tableau piles and open reserves lift from below the top.
    const int first =
        pile.kind == PileKind::Tableau || (pile.kind == PileKind::Reserve && play.rules.reserveLiftsGroups())
            ? 0
            : size - 1;
    const bool tableau = pile.kind == PileKind::Tableau;
    const int style = play.rules.tableauFanStyle();
    const bool chained =
        tableau && style != 8 && style != 9 && style != 12 &&
        !(hasGrid(play) && pile.index < play.rules.tableauGridRows() * play.rules.tableauGridColumns());
    for (int i = size - 1; i >= first && i >= 0; --i) {
        if (tableau && p[static_cast<std::size_t>(i)] != 0 && play.table().isFaceDown(p[static_cast<std::size_t>(i)]))
            break; // nothing below a face-down card lifts
        // Sequences are chains: once a pair breaks, no deeper group is a sequence either.
        if (chained && i + 1 < size &&
            !sequencePair(play, pile.index, p[static_cast<std::size_t>(i)], p[static_cast<std::size_t>(i + 1)]))
            break;
        if (pressAction(play, pile, i) != PressAction::Lift)
            continue;
        addTargets(play, cache, carriedAt(play, pile, i), clickToPlay, holdTableau, list);
    }
}

// The Draw is open in the last deal, once per game, outside the tutor (as the press allows it).
bool drawOpen(const Play& play)
{
    return play.rules.groupLimit() == catalog::GroupLimit::SingleUntilDraw && play.state.dealNumber == 3 &&
           !play.state.drawUsed && play.state.tutorMode == 0;
}

void addDraws(const Play& play, int c, MoveList& list)
{
    const Pile& p = play.table().tableau(c);
    for (int i = 0; i + 1 < static_cast<int>(p.size()); ++i)
        if (pressAction(play, PileRef::tableau(c), i) == PressAction::Draw)
            list.push(Move{MoveKind::Draw, PileRef::tableau(c), i, {}});
}

} // namespace

void generateMoves(const Play& play, MoveList& list)
{
    list.clear();
    if (play.state.won)
        return;
    const Table& t = play.table();
    const bool clickToPlay = play.rules.clickToPlay() == 1;
    const bool holdTableau = tableauHeld(play);
    const TargetCache cache(play);
    const bool draws = drawOpen(play);
    for (int c = 0; c < play.tableaus(); ++c) {
        const Pile& p = t.tableau(c);
        if (p.empty())
            continue;
        if (p.top() != 0 && t.isFaceDown(p.top())) {
            if (pressAction(play, PileRef::tableau(c), static_cast<int>(p.size()) - 1) == PressAction::TurnUp)
                list.push(Move{MoveKind::TurnUp, PileRef::tableau(c), static_cast<int>(p.size()) - 1, {}});
            continue;
        }
        addLifts(play, cache, PileRef::tableau(c), clickToPlay, holdTableau, list);
        if (draws)
            addDraws(play, c, list);
    }
    if (!t.waste().empty())
        addLifts(play, cache, PileRef::waste(), clickToPlay, holdTableau, list);
    for (int r = 0; r < play.reserves(); ++r)
        if (!t.reserve(r).empty())
            addLifts(play, cache, PileRef::reserve(r), clickToPlay, holdTableau, list);
    if (play.rules.foundationTakeBack() >= 1 && play.rules.foundationTakeBack() <= 3)
        for (int f = 0; f < play.foundations(); ++f)
            if (!t.foundation(f).empty())
                addLifts(play, cache, PileRef::foundation(f), clickToPlay, holdTableau, list);
    if (stockClickAvailable(play))
        list.push(Move{MoveKind::Stock, PileRef::stock(), -1, {}});
    // The family's own moves: whole sets of the selection games, gap moves, presses.
    if (play.family().special())
        play.family().addMoves(play, list);
}

bool applyMove(Play& play, const Move& move)
{
    bool changed = false;
    switch (move.kind) {
    case MoveKind::TurnUp: return turnUp(play, move.from.index);
    case MoveKind::Stock: changed = stockClick(play, true); break;
    case MoveKind::Draw: changed = tryDraw(play, move.from.index, move.index); break;
    case MoveKind::Transfer: {
        const Carried g = carriedAt(play, move.from, move.index);
        changed = g.count > 0 && moveCards(play, move.from, move.index, move.to, g.count > 1);
        if (changed && play.state.tutorMode != 3)
            play.state.moveMade = true;
        break;
    }
    case MoveKind::Select:
    case MoveKind::Gap:
    case MoveKind::Press: return play.family().applyMove(play, move);
    }
    return afterRelease(play) || changed;
}

bool playMove(Play& play, const Move& move, std::string* reason)
{
    auto refuse = [&](const char* why) {
        if (reason)
            *reason = why;
        return false;
    };
    const Table& t = play.table();
    switch (move.kind) {
    case MoveKind::TurnUp: {
        if (move.from.kind != PileKind::Tableau || !move.from.valid() || move.from.index >= play.tableaus())
            return refuse("not a tableau pile in use");
        const Pile& p = t.tableau(move.from.index);
        if (p.empty() || pressAction(play, move.from, static_cast<int>(p.size()) - 1) != PressAction::TurnUp)
            return refuse("no face-down top card to turn");
        return applyMove(play, move);
    }
    case MoveKind::Draw: {
        if (move.from.kind != PileKind::Tableau || !move.from.valid() || move.from.index >= play.tableaus())
            return refuse("not a tableau pile in use");
        const Pile& p = t.tableau(move.from.index);
        if (move.index < 0 || move.index + 1 >= static_cast<int>(p.size()) ||
            pressAction(play, move.from, move.index) != PressAction::Draw)
            return refuse("no buried card to draw there");
        if (play.state.dealNumber != 3)
            return refuse("the Draw is allowed after the last redeal");
        if (play.state.drawUsed)
            return refuse("only one Draw is permitted");
        if (!applyMove(play, move))
            return refuse("the Draw is not allowed now");
        return true;
    }
    case MoveKind::Stock:
        if (!stockClickAvailable(play))
            return refuse("the stock cannot be used now");
        if (!applyMove(play, move))
            return refuse("the stock click changed nothing");
        return true;
    case MoveKind::Transfer: {
        if (!move.from.valid() || !move.to.valid())
            return refuse("no such pile");
        const Pile& p = t.pile(move.from);
        if (move.index < 0 || static_cast<std::size_t>(move.index) >= p.size() ||
            p[static_cast<std::size_t>(move.index)] == 0)
            return refuse("no card at that position");
        if (pressAction(play, move.from, move.index) != PressAction::Lift)
            return refuse("that card cannot be lifted");
        const Carried g = carriedAt(play, move.from, move.index);
        if ((tableauHeld(play) && move.to.kind == PileKind::Tableau) || !mayDrop(play, g, move.to))
            return refuse("the cards may not go there");
        return applyMove(play, move);
    }
    case MoveKind::Select:
    case MoveKind::Gap:
    case MoveKind::Press: {
        MoveList offered;
        generateMoves(play, offered);
        if (std::find(offered.begin(), offered.end(), move) == offered.end())
            return refuse("the game does not offer that move now");
        if (!applyMove(play, move))
            return refuse("the move changed nothing");
        return true;
    }
    }
    return refuse("unknown move");
}

std::string moveText(const Move& move)
{
    switch (move.kind) {
    case MoveKind::Stock: return "stock";
    case MoveKind::TurnUp: return "turn " + pileName(move.from);
    case MoveKind::Draw: return "draw " + pileName(move.from) + " " + std::to_string(move.index);
    case MoveKind::Select: {
        std::string text = "select";
        for (int i = 0; i < move.cardCount(); ++i)
            text += " " + codeText(move.cards[static_cast<std::size_t>(i)]);
        return text;
    }
    case MoveKind::Gap:
        return pileName(move.from) + " " + std::to_string(move.index) + " " + pileName(move.to) + " " +
               std::to_string(move.position);
    case MoveKind::Press: return "press " + pileName(move.from) + " " + std::to_string(move.index);
    case MoveKind::Transfer: break;
    }
    return pileName(move.from) + " " + std::to_string(move.index) + " " + pileName(move.to);
}

std::optional<Move> parseMove(std::string_view text, std::string* error)
{
    auto fail = [&](const std::string& why) -> std::optional<Move> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    std::istringstream in{std::string(text)};
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    auto isIndex = [](const std::string& w) {
        return !w.empty() && w.size() <= 3 && w.find_first_not_of("0123456789") == std::string::npos;
    };
    if (!words.empty() && words[0] == "select") {
        if (words.size() < 2 || words.size() > 1 + static_cast<std::size_t>(Move::kMaxCards))
            return fail("expected 'select' and 1 to 8 card codes");
        Move m{MoveKind::Select, {}, -1, {}};
        for (std::size_t i = 1; i < words.size(); ++i) {
            const int code = parseCode(words[i]);
            if (code < 1)
                return fail("not a card code: " + words[i]);
            m.cards[i - 1] = static_cast<std::uint8_t>(code);
        }
        return m;
    }
    if (words.size() == 4) {
        const PileRef from = pileFromName(words[0]);
        const PileRef to = pileFromName(words[2]);
        if (!from.valid() || pileName(from) != words[0])
            return fail("unknown pile: " + words[0]);
        if (to.kind != PileKind::Tableau || pileName(to) != words[2])
            return fail("not a tableau pile: " + words[2]);
        if (!isIndex(words[1]))
            return fail("card index is not a number: " + words[1]);
        if (!isIndex(words[3]))
            return fail("position is not a number: " + words[3]);
        Move m{MoveKind::Gap, from, std::stoi(words[1]), to};
        m.position = static_cast<std::int16_t>(std::stoi(words[3]));
        return m;
    }
    if (words.size() > 4)
        return fail("too many words");
    words.resize(3);
    const std::string &a = words[0], &b = words[1], &c = words[2];
    if (a == "press" && !b.empty() && !c.empty()) {
        const PileRef p = pileFromName(b);
        if (!p.valid() || pileName(p) != b)
            return fail("unknown pile: " + b);
        if (!isIndex(c))
            return fail("card index is not a number: " + c);
        return Move{MoveKind::Press, p, std::stoi(c), {}};
    }
    if (a == "stock" && b.empty())
        return Move{MoveKind::Stock, PileRef::stock(), -1, {}};
    if (a == "turn" && !b.empty() && c.empty()) {
        const PileRef p = pileFromName(b);
        if (p.kind != PileKind::Tableau || pileName(p) != b)
            return fail("not a tableau pile: " + b);
        return Move{MoveKind::TurnUp, p, -1, {}};
    }
    if (a == "draw" && !b.empty() && !c.empty()) {
        const PileRef p = pileFromName(b);
        if (p.kind != PileKind::Tableau || pileName(p) != b)
            return fail("not a tableau pile: " + b);
        if (c.size() > 3 || c.find_first_not_of("0123456789") != std::string::npos)
            return fail("card index is not a number: " + c);
        return Move{MoveKind::Draw, p, std::stoi(c), {}};
    }
    if (a.empty() || b.empty() || c.empty())
        return fail("expected 'from-pile card-index to-pile', 'stock', 'turn PILE' or 'draw PILE card-index'");
    const PileRef from = pileFromName(a);
    const PileRef to = pileFromName(c);
    if (!from.valid() || pileName(from) != a)
        return fail("unknown pile: " + a);
    if (!to.valid() || pileName(to) != c)
        return fail("unknown pile: " + c);
    if (b.size() > 3 || b.find_first_not_of("0123456789") != std::string::npos)
        return fail("card index is not a number: " + b);
    return Move{MoveKind::Transfer, from, std::stoi(b), to};
}

} // namespace cw::engine
