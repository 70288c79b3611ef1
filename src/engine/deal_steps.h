// Internal to the deal: the working context and the steps the deal sequence runs in order.
#pragma once

#include <vector>

#include "engine/deal.h"

namespace cw::engine {
class Family;
}

namespace cw::engine::dealsteps {

struct Context {
    catalog::Rules& rules;
    GameState& state;
    std::vector<int> cards;    // the deal array, front card first
    std::vector<int> setAside; // cards patterns 8 and 21 took out of play (aces, picture cards)
    const FoundationAcceptsFn& acceptsFn;
    Random& random;
    const Family& family; // the game's special family, for its own deal steps

    Table& table() { return state.table; }
    int foundations() const; // foundations in use, 0..16
    int tableaus() const;    // tableau piles in use, 0..40
    int reserves() const;    // reserves in use, 0..12

    // Takes the front card of the array; 0 when the array is empty.
    int takeFront();
    // Removes the first occurrence of code from the array; false when absent.
    bool takeCode(int code);
    // Index of the first card satisfying pred, -1 when none.
    template <class Pred>
    int findFirst(Pred pred) const
    {
        for (std::size_t i = 0; i < cards.size(); ++i)
            if (pred(cards[i]))
                return static_cast<int>(i);
        return -1;
    }
    // Takes the card at index i out of the array.
    int takeAt(int i);
    // Appends face up and sets the foundation's base rank to the card's rank.
    void startFoundation(int k, int code);
    bool accepts(int foundation, int code) const { return acceptsFn(rules, state, foundation, code); }
};

void applyDeckFilter(Context& c);             // parameter 36 values 11, 14, 9, 12, 16
void applyInitialFoundationCards(Context& c); // parameter 103 + k, then the steps that follow them
void mainDeal(Context& c);
void applyFoundationSetup(Context& c); // parameter 1 after the main deal
void applyPostDealSteps(Context& c);   // empty rules 91, extra card, family steps, sweeps, kings, patterns

// Moves the card at position i of a pile face up onto foundation f.
void moveToFoundation(Context& c, PileRef from, std::size_t i, int f);

} // namespace cw::engine::dealsteps
