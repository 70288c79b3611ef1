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
    Transfer,  // lift the card at `index` of `from` (with the cards above it) and drop it on `to`
    Stock,     // click the stock (a turnover or redeal runs at once)
    TurnUp,    // turn the face-down top card of tableau pile `from`
    Draw,      // the one Draw: the buried card at `index` of tableau pile `from` goes to its top
};

struct Move {
    MoveKind kind = MoveKind::Transfer;
    PileRef from{};
    int index = -1;
    PileRef to{};

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
// while it is allowed, and the stock click when it would change the table. Uses the same legality code as the press and the release.
void generateMoves(const Play& play, MoveList& list);

// Applies a move the generator produced, as the player's action: the move itself, then the
// automatic fill and, with autoplay on, the completion step. True when the table changed.
bool applyMove(Play& play, const Move& move);

// Checks a move against the rules first; on refusal returns false with the reason.
bool playMove(Play& play, const Move& move, std::string* reason);

// "Fila3 5 Dest1" (card index from 0 at the bottom card), "stock", "turn Fila3", "draw Fila3 1".
std::string moveText(const Move& move);
// Parses the notation; nullopt (with a reason) for anything else.
std::optional<Move> parseMove(std::string_view text, std::string* error = nullptr);

} // namespace cw::engine
