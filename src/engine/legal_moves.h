// Every move a player could make on a position, in a fixed-capacity list, with the text notation of the CLI.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/rules_context.h"

namespace cw::engine {

enum class MoveKind : std::uint8_t {
    Transfer, // lift the card at `index` of `from` (with the cards above it) and drop it on `to`
    Stock,    // click the stock (a turnover or redeal runs at once)
    TurnUp,   // turn the face-down top card of tableau pile `from`
    Draw,     // the one Draw: the buried card at `index` of tableau pile `from` goes to its top
    // The special families' moves, made and applied by the game's family:
    Select, // a whole valid set at once: the cards of `cards`, in click order
    Gap,    // the card at `index` of `from` goes into the gap at `position` of tableau pile `to`
    Press,  // a press on the card at `index` of `from` (games played by pressing cards)
};

struct Move {
    static constexpr int kMaxCards = 8;

    MoveKind kind = MoveKind::Transfer;
    PileRef from{};
    int index = -1;
    PileRef to{};
    std::int16_t position = -1;                  // Gap: the position in `to`
    std::array<std::uint8_t, kMaxCards> cards{}; // Select: card codes, 0 after the last

    // Select: the number of cards of the set.
    int cardCount() const
    {
        int n = 0;
        while (n < kMaxCards && cards[static_cast<std::size_t>(n)] != 0)
            ++n;
        return n;
    }

    friend bool operator==(const Move&, const Move&) = default;
};

// A list that never allocates: generating the moves of a position costs no heap traffic.
// Moves past the capacity are dropped (no real position comes near it).
class MoveList {
public:
    static constexpr int kCapacity = 1024;

    void clear() { size_ = 0; }
    void push(const Move& m)
    {
        if (size_ < kCapacity)
            moves_[static_cast<std::size_t>(size_++)] = m;
    }
    int size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const Move& operator[](int i) const { return moves_[static_cast<std::size_t>(i)]; }
    const Move* begin() const { return moves_.data(); }
    const Move* end() const { return moves_.data() + size_; }

private:
    std::array<Move, kCapacity> moves_{};
    int size_ = 0;
};

// Fills list with every legal move: turn-ups, lifts of each liftable group to each legal target
// (in click-to-play games only the target the click would choose), the Draw of each buried card
// while it is allowed, and the stock click when it would change the table; then the moves of
// the game's special family. Uses the same legality code as the press and the release.
void generateMoves(const Play& play, MoveList& list);

// Applies a move the generator produced, as the player's action: the move itself, then the
// automatic fill and, with autoplay on, the completion step (a family's move: as its family
// applies it). True when the table changed.
bool applyMove(Play& play, const Move& move);

// Checks a move against the rules first; on refusal returns false with the reason. A family's
// move is played only when the generator offers it now.
bool playMove(Play& play, const Move& move, std::string* reason);

// "Fila3 5 Dest1" (card index from 0 at the bottom card), "stock", "turn Fila3", "draw Fila3 1";
// a family's moves: "select 007 020" (the set's card codes, three digits each, so the text
// names the cards wherever they lie), "Fila2 4 Fila9 3" (a gap move: from pile, card index,
// to pile, position) and "press Fila3 4".
std::string moveText(const Move& move);
// Parses the notation; nullopt (with a reason) for anything else.
std::optional<Move> parseMove(std::string_view text, std::string* error = nullptr);

} // namespace cw::engine
