// The table model: the 71 piles (stock group, foundations, tableau, reserves) and one face bit per card.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/card.h"

namespace cw::engine {

inline constexpr int kStockGroupPiles = 3;
inline constexpr int kFoundationPiles = 16;
inline constexpr int kTableauPiles = 40;
inline constexpr int kReservePiles = 12;
inline constexpr int kTablePiles = kStockGroupPiles + kFoundationPiles + kTableauPiles + kReservePiles; // 71

// The numeric values are the pile kinds other code and files compare against.
enum class PileKind : int {
    Unknown = 0,
    Stock = 1,
    Waste = 2,
    SecondWaste = 3,
    Tableau = 4,
    Foundation = 5,
    Reserve = 6,
};

// One pile of the table: its kind and its 0-based index within its list
// (always 0 for the three piles of the stock group).
struct PileRef {
    PileKind kind = PileKind::Unknown;
    int index = 0;

    static constexpr PileRef stock() { return {PileKind::Stock, 0}; }
    static constexpr PileRef waste() { return {PileKind::Waste, 0}; }
    static constexpr PileRef secondWaste() { return {PileKind::SecondWaste, 0}; }
    static constexpr PileRef tableau(int i) { return {PileKind::Tableau, i}; }
    static constexpr PileRef foundation(int i) { return {PileKind::Foundation, i}; }
    static constexpr PileRef reserve(int i) { return {PileKind::Reserve, i}; }

    // True for a kind other than Unknown with an index inside its list.
    bool valid() const;
    friend bool operator==(const PileRef&, const PileRef&) = default;
};

// Signed pile numbers: tableau n, foundation -n, reserve -20-n (n 1-based), stock -99,
// waste -98, second waste -97, 0 none.
int pileNumber(PileRef pile);
PileRef pileFromNumber(int number);

// "Fila3", "Dest1", "Appogg2", "Mazzo", "Mazzo_Vis", "Mazzo_Waste"; empty for an invalid pile.
std::string pileName(PileRef pile);
// Kind of a name by its prefix; "Mazzo_Vis" is tested before "Mazzo", and "Waste" denotes the
// second waste.
PileKind pileKindOfName(std::string_view name);
// Name to pile: at most two digits are read after "Fila", "Dest" and "Appogg"; an ordinal that
// is missing or outside its list gives an invalid pile (kind Unknown).
PileRef pileFromName(std::string_view name);

// Position 0..70 of a pile in the table's fixed order (stock, waste, second waste, foundations
// 1-16, tableau 1-40, reserves 1-12), the order of snapshot texts and saved games; -1 if invalid.
int tableOrderIndex(PileRef pile);
PileRef pileAtTableOrder(int position);

// Card codes of one pile, bottom first; the top card is the last. A position may hold the
// placeholder 0, which keeps a slot open but is not a card.
class Pile {
public:
    using Code = std::uint8_t;

    std::size_t size() const { return codes_.size(); } // positions, placeholders included
    bool empty() const { return codes_.empty(); }
    int operator[](std::size_t i) const { return codes_[i]; }
    int top() const { return codes_.empty() ? 0 : codes_.back(); }
    int bottom() const { return codes_.empty() ? 0 : codes_.front(); }
    int cardCount() const; // positions that hold a card

    void push(int code) { codes_.push_back(static_cast<Code>(code)); }
    int pop();
    void insert(std::size_t i, int code) { codes_.insert(codes_.begin() + static_cast<std::ptrdiff_t>(i), static_cast<Code>(code)); }
    void erase(std::size_t i) { codes_.erase(codes_.begin() + static_cast<std::ptrdiff_t>(i)); }
    void set(std::size_t i, int code) { codes_[i] = static_cast<Code>(code); }
    void clear() { codes_.clear(); }
    int find(int code) const; // index of the first position holding code, -1 when absent

    const std::vector<Code>& codes() const { return codes_; }
    std::vector<Code>::const_iterator begin() const { return codes_.begin(); }
    std::vector<Code>::const_iterator end() const { return codes_.end(); }

    friend bool operator==(const Pile&, const Pile&) = default;

private:
    std::vector<Code> codes_;
};

// The four pile lists; a copy of them is the pile backup.
struct PileLists {
    std::array<Pile, kStockGroupPiles> stockGroup; // 0 Mazzo, 1 Mazzo_Vis, 2 Mazzo_Waste
    std::array<Pile, kFoundationPiles> foundations;
    std::array<Pile, kTableauPiles> tableau;
    std::array<Pile, kReservePiles> reserves;

    Pile& at(PileRef pile);
    const Pile& at(PileRef pile) const;
    friend bool operator==(const PileLists&, const PileLists&) = default;
};

// What find-and-edit does with the code once found.
enum class EditMode : int {
    Report = 0,              // only reports whether the code is there
    Remove = 1,              // removes the code
    Blank = 2,               // replaces the code by the placeholder
    RemoveWithPlaceholder = 3, // removes it and a placeholder directly below it
};

// The whole table as a copyable value. Face state belongs to the card, not to the pile:
// moving a card keeps its flag until some operation sets it. Every card starts face up.
class Table {
public:
    Pile& pile(PileRef p) { return piles_.at(p); }
    const Pile& pile(PileRef p) const { return piles_.at(p); }
    Pile& stock() { return piles_.stockGroup[0]; }
    const Pile& stock() const { return piles_.stockGroup[0]; }
    Pile& waste() { return piles_.stockGroup[1]; }
    const Pile& waste() const { return piles_.stockGroup[1]; }
    Pile& secondWaste() { return piles_.stockGroup[2]; }
    const Pile& secondWaste() const { return piles_.stockGroup[2]; }
    Pile& foundation(int i) { return piles_.foundations[static_cast<std::size_t>(i)]; }
    const Pile& foundation(int i) const { return piles_.foundations[static_cast<std::size_t>(i)]; }
    Pile& tableau(int i) { return piles_.tableau[static_cast<std::size_t>(i)]; }
    const Pile& tableau(int i) const { return piles_.tableau[static_cast<std::size_t>(i)]; }
    Pile& reserve(int i) { return piles_.reserves[static_cast<std::size_t>(i)]; }
    const Pile& reserve(int i) const { return piles_.reserves[static_cast<std::size_t>(i)]; }
    PileLists& piles() { return piles_; }
    const PileLists& piles() const { return piles_; }

    // Face state per card code; the placeholder and invalid codes read as face down.
    bool isFaceDown(int code) const;
    bool isFaceUp(int code) const { return !isFaceDown(code); }
    void setFace(int code, bool faceUp);
    void setAllFaceUp() { faceDown_.reset(); }
    // Bit c set: card code c lies face down. Whole-table copies for the undo snapshots.
    const std::bitset<kLastCard + 1>& faceDownBits() const { return faceDown_; }
    void setFaceDownBits(const std::bitset<kLastCard + 1>& bits) { faceDown_ = bits; }

    // Appends a code on top; the overload with a flag also sets the card's face (not for 0).
    void append(PileRef p, int code) { pile(p).push(code); }
    void append(PileRef p, int code, bool faceUp);

    // Pattern n >= 1: the top n cards get the flag. -1: alternate from the bottom, bottom up;
    // -2: alternate, bottom down; -3: bottom up, all others down. Other values do nothing.
    void setFaceByPattern(PileRef p, int pattern, bool faceUp);

    // Finds the first position holding code and edits it by mode; false when absent.
    bool findAndEdit(PileRef p, int code, EditMode mode);

    // Searches in this fixed order, applying find-and-edit to the first pile holding the code:
    // waste, tableau 1..tableauInUse, foundations 1-16, stock, second waste, reserves 1-12.
    // Returns that pile, or an invalid pile (kind Unknown) when the card lies on no pile.
    PileRef locateCard(int code, EditMode mode, int tableauInUse = kTableauPiles);

    void clearPiles();
    PileLists savePiles() const { return piles_; }
    void restorePiles(const PileLists& backup) { piles_ = backup; }

    int cardCount() const; // cards on all piles, placeholders not counted

    friend bool operator==(const Table&, const Table&) = default;

private:
    PileLists piles_;
    std::bitset<kLastCard + 1> faceDown_;
};

} // namespace cw::engine
