// Poker squares: cards placed one by one on a 5 x 5 grid, every full row and column scored as a poker hand.
#include <algorithm>
#include <array>
#include <vector>

#include "engine/families/families.h"
#include "engine/families/placement_hint.h"
#include "engine/families/poker_hands.h"
#include "engine/score.h"

namespace cw::engine::families {
namespace {

using Grid = std::array<int, kPokerGridCells>;

// The grid's cells: the first code of tableau piles 1-25, 0 for an empty pile.
Grid gridOf(const Table& t)
{
    Grid g{};
    for (int i = 0; i < kPokerGridCells; ++i)
        g[static_cast<std::size_t>(i)] = t.tableau(i).bottom();
    return g;
}

// The hands a placement completes are announced one by one: the line's cards highlighted, the
// box with the hand and the running total, the "Pairing" sound, half a second, then the
// highlight goes. The box keeps the last hand with the new total.
void announce(Play& play, int cell)
{
    const Grid grid = gridOf(play.table());
    const int before = play.state.score; // the score is recomputed after the whole action
    const std::vector<PokerAnnouncement> hands = announcePlacement(grid, cell, before);
    const int total = scorePokerGrid(grid).total;
    for (const PokerAnnouncement& a : hands) {
        for (int c : a.cells)
            play.addEvent(
                Event{EventType::Highlight, grid[static_cast<std::size_t>(c)], PileRef::tableau(c), {}, true, {}});
        play.addEvent(Event{EventType::Announce, 0, {}, {}, true, pokerBoxText(&a, a.runningTotal)});
        play.sound("Pairing");
        play.addEvent(Event{EventType::Pause, 0, {}, {}, true, {}, 500});
        for (int c : a.cells)
            play.addEvent(
                Event{EventType::Unhighlight, grid[static_cast<std::size_t>(c)], PileRef::tableau(c), {}, true, {}});
    }
    play.addEvent(
        Event{EventType::Announce, 0, {}, {}, true, pokerBoxText(hands.empty() ? nullptr : &hands.back(), total)});
}

bool gridFull(const Play& play)
{
    for (int c = 0; c < play.tableaus(); ++c)
        if (play.table().tableau(c).empty())
            return false;
    return true;
}

// Twenty-five piles of one card each; the grid's score is the hands', cards the deal sends
// home add nothing, and the game is over when every place holds a card.
class PokerSquares final : public SpecialFamily {
public:
    bool addsDealPoints() const override { return false; }
    // The stock's order is hidden from the player; a search through it would be cheating.
    bool searchable() const override { return false; }

    std::optional<int> score(const ScoreInput& in) const override
    {
        return scorePokerGrid(gridOf(in.state.table)).total;
    }

    std::optional<bool> isWon(const Play& play) const override { return gridFull(play); }

    void afterMove(Play& play, const MoveDone& move) const override
    {
        if (move.target.kind == PileKind::Tableau && move.target.index < kPokerGridCells)
            announce(play, move.target.index);
    }

    // The hint places the waste's card where it is worth most over sampled futures; with no card
    // to place the stock is clicked.
    std::optional<FamilyTutorStep> tutorMove(const Play& play) const override
    {
        const Table& t = play.table();
        if (gridFull(play))
            return std::nullopt;
        if (t.waste().empty()) {
            if (t.stock().empty())
                return std::nullopt;
            return FamilyTutorStep{Move{MoveKind::Stock, PileRef::stock()}, {}};
        }
        const Grid grid = gridOf(t);
        std::vector<int> unseen(t.stock().begin(), t.stock().end());
        PlacementQuestion q{grid, t.waste().top(), unseen};
        q.seed = static_cast<std::uint64_t>(t.stock().size()) * 7919U + static_cast<std::uint64_t>(t.waste().top());
        int cell = bestPokerSquaresCell(q);
        // Only the piles in use take cards.
        if (cell < 0 || cell >= play.tableaus())
            return std::nullopt;
        const int index = static_cast<int>(t.waste().size()) - 1;
        return FamilyTutorStep{Move{MoveKind::Transfer, PileRef::waste(), index, PileRef::tableau(cell)},
                               "Place the card where it is worth most"};
    }
};

} // namespace

const Family& pokerSquares()
{
    static const PokerSquares f;
    return f;
}

} // namespace cw::engine::families
