// Named values of the coded rule parameters: the words of the catalog source and the engine's names.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace cw::catalog {

// Each set names the values of one parameter (or one per-pile range) that have a meaning of their
// own. The sets are unscoped enumerations inside a struct so that `EmptyRule::King` reads as a
// name, compares with the plain int accessors of Rules and serves as a `case` label; codes
// without a name here are special rules documented where the engine implements them.

// stock.deals (16): passes through the stock.
struct Deals {
    enum : int { Unlimited = -1, Once = 0 };
};

// tableau.group_limit (14): how many tableau cards may be lifted together. A value of 0 or more
// is a plain count; other negative values let as many cards move as there are empty piles.
struct GroupLimit {
    enum : int {
        Unlimited = -1,
        CellsAndPiles = -5,       // empty reserves and piles, one more onto a non-empty pile
        CellsAndPilesStrict = -6, // empty reserves and piles, one more only without empty piles
        KingOrSingle = -12,       // a single card, or a group headed by a King
        WholePileOrSingle = -13,  // a single card, or the whole pile
        OpenRow = -15,            // the row availability test decides
        EitherEnd = -16,          // only placeholders below the card, or only above it
        SingleUntilDraw = -17,    // single cards; pressing a deeper card asks for the Draw
        ThreeRowOpen = -18,       // the three-row availability test decides
        Always = -19,             // any group, as Unlimited
    };
};

// reserve.pickup_rule (15): which reserve cards may be lifted; any other value lifts the top card.
struct ReservePickup {
    enum : int {
        TopCard = 0,
        LiftsGroups = -11, // any face-up card, with the cards above it
        FamilyTest = -14,  // the special family decides
        OpenRow = -15,     // the row availability test decides
    };
};

// sequence_rule (2): what the cards above a lifted tableau card must form; any other value
// lifts any group.
struct SequenceRule {
    enum : int {
        PileRule = 1,    // the pile's own building rule and direction
        Suit = 10,       // in suit, by the pile's direction
        Colour = 11,     // same colour, by the pile's direction
        TopCardOnly = 12 // only the top card; any card from the third deal on (the Draw)
    };
};

// foundation.direction (71..86) and tableau.direction (175..214).
struct Direction {
    enum : int { Down = 0, Up = 1, Both = 2 };
};

// foundation.suit_rule (87..102), tableau.suit_rule (215..254) and the "all" forms (487, 488):
// the building rule codes that have names; the others are special rules of the engine.
struct BuildRule {
    enum : int {
        PerPile = -1, // 487/488 only: every pile keeps its own rule
        Suit = 0,
        Colour = 1,
        AnySuit = 2,
        Alternate = 3,
        None = 4,
        EmptyOnly = 6,                // nothing is built; only the empty-pile rule lets a card in
        AnyCard = 12,                 // any card on any card
        OtherSuit = 21,               // by the general rule, never the target's suit
        AlternateNotFromReserve = 27, // alternating colours, never from a reserve or a foundation
        HeldByStock = 129,            // any suit; tableau moves wait while the stock holds cards
        Reversible = 149,             // in suit, in the column's direction, which the player may reverse
    };
};

// tableau.empty_rule (135..174): what an empty tableau pile accepts; 1..13 name a rank.
struct EmptyRule {
    enum : int {
        Any = -1,
        None = 0,
        Ace = 1,
        King = 13,
        Single = 86,         // any single card
        FromStock = 87,      // a card from the stock or a waste
        NotFromTableau = 88, // any card that does not come from the tableau
        AceOrKing = 89,
        BaseRank = 91, // the rank below the foundations' base (the deal writes it)
    };
};

// foundation.base (55..70): a rank 1..13 or a base code.
struct FoundationBase {
    enum : int {
        Any = -1,
        Ace = 1,
        King = 13,
        RunsByRule = 82,   // complete runs built by the tableau's rule, colours balanced
        Runs = 83,         // complete runs in suit, Ace to King
        Chosen = 92,       // the first card played chooses the rank of every foundation
        RunsDown = 95,     // complete runs in suit, King to Ace
        RunsInSuit = 97,   // complete runs in suit, Ace to King, colours balanced
        RunsInColour = 98, // complete runs of one colour, Ace to King
        RunsEitherWay = 99 // thirteen cards each one rank above or below the last, any suit
    };
};

// True for the foundation bases that take complete thirteen-card runs from the tableau.
constexpr bool isRunBase(int base)
{
    switch (base) {
    case FoundationBase::RunsByRule:
    case FoundationBase::Runs:
    case FoundationBase::RunsDown:
    case FoundationBase::RunsInSuit:
    case FoundationBase::RunsInColour:
    case FoundationBase::RunsEitherWay: return true;
    default: return false;
    }
}

// tableau.continuity (255..294): whether building turns between King and Ace.
struct Continuity {
    enum : int {
        NoTurn = -1,     // never turns
        StopsAtBase = 0, // stops at the base rank
        Turns = 1,       // turns from King to Ace and back
        TurnsToBase = 2, // turns, and also takes the card next to the base
    };
};

// reserve.accept (335..346): what a reserve accepts; codes without a name are special rules.
struct ReserveAccept {
    enum : int {
        FreeCell = 0, // one card while empty
        Nothing = 4,
        Anything = 12,
        FromWaste = 85, // a single card from the waste
        UpInSuit = 145, // building up in suit
        Waive = 162,    // a tableau card while empty, once the stock and the waste are out
    };
};

// The chooser's classes (497..500).
struct GameTime {
    enum : int { Long = 0, Medium = 1, Quick = 2 };
};
struct Difficulty {
    enum : int { Easy = 0, Medium = 1, Hard = 2 };
};
struct Skill {
    enum : int { Difficult = 0, MostlySkill = 1, Moderate = 2, MostlyChance = 3, ChanceOnly = 4 };
};
struct Chance {
    enum : int { VeryHigh = 0, High = 1, Medium = 2, Low = 3, VeryLow = 4 };
};

// One value word of the catalog source: valid for parameters first .. first + count - 1.
struct NamedRuleValue {
    int first;
    int count;
    std::string_view name;
    int value;
};

// Every value word, grouped by parameter.
std::span<const NamedRuleValue> namedRuleValues();

// The value the word names for parameter `number`, or nothing when it names none there.
std::optional<int> namedRuleValue(int number, std::string_view word);

} // namespace cw::catalog
