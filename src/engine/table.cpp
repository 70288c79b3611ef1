// Pile naming, pile numbers and the card-state and pile operations of the table.
#include "engine/table.h"

#include <algorithm>

namespace cw::engine {

namespace {

int listSize(PileKind kind)
{
    switch (kind) {
    case PileKind::Stock:
    case PileKind::Waste:
    case PileKind::SecondWaste:
        return 1;
    case PileKind::Tableau:
        return kTableauPiles;
    case PileKind::Foundation:
        return kFoundationPiles;
    case PileKind::Reserve:
        return kReservePiles;
    case PileKind::Unknown:
        break;
    }
    return 0;
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Up to two decimal digits right after the prefix; 0 when there are none.
int ordinalAfter(std::string_view name, std::size_t prefixLength)
{
    int v = 0;
    int digits = 0;
    for (std::size_t i = prefixLength; i < name.size() && digits < 2; ++i, ++digits) {
        const char c = name[i];
        if (c < '0' || c > '9')
            break;
        v = v * 10 + (c - '0');
    }
    return v;
}

} // namespace

bool PileRef::valid() const { return index >= 0 && index < listSize(kind); }

int pileNumber(PileRef p)
{
    if (!p.valid())
        return 0;
    switch (p.kind) {
    case PileKind::Tableau:
        return p.index + 1;
    case PileKind::Foundation:
        return -(p.index + 1);
    case PileKind::Reserve:
        return -20 - (p.index + 1);
    case PileKind::Stock:
        return -99;
    case PileKind::Waste:
        return -98;
    case PileKind::SecondWaste:
        return -97;
    case PileKind::Unknown:
        break;
    }
    return 0;
}

PileRef pileFromNumber(int n)
{
    if (n >= 1 && n <= kTableauPiles)
        return PileRef::tableau(n - 1);
    if (n <= -1 && n >= -kFoundationPiles)
        return PileRef::foundation(-n - 1);
    if (n <= -21 && n >= -20 - kReservePiles)
        return PileRef::reserve(-n - 21);
    if (n == -99)
        return PileRef::stock();
    if (n == -98)
        return PileRef::waste();
    if (n == -97)
        return PileRef::secondWaste();
    return {};
}

std::string pileName(PileRef p)
{
    if (!p.valid())
        return {};
    switch (p.kind) {
    case PileKind::Stock:
        return "Mazzo";
    case PileKind::Waste:
        return "Mazzo_Vis";
    case PileKind::SecondWaste:
        return "Mazzo_Waste";
    case PileKind::Tableau:
        return "Fila" + std::to_string(p.index + 1);
    case PileKind::Foundation:
        return "Dest" + std::to_string(p.index + 1);
    case PileKind::Reserve:
        return "Appogg" + std::to_string(p.index + 1);
    case PileKind::Unknown:
        break;
    }
    return {};
}

PileKind pileKindOfName(std::string_view name)
{
    if (startsWith(name, "Fila"))
        return PileKind::Tableau;
    if (startsWith(name, "Dest"))
        return PileKind::Foundation;
    if (startsWith(name, "Appogg"))
        return PileKind::Reserve;
    if (startsWith(name, "Mazzo_Vis"))
        return PileKind::Waste;
    // "Mazzo_Waste" starts with "Mazzo": it is the second waste only by its own full name.
    if (name == "Mazzo_Waste")
        return PileKind::SecondWaste;
    if (startsWith(name, "Mazzo"))
        return PileKind::Stock;
    if (startsWith(name, "Waste"))
        return PileKind::SecondWaste;
    return PileKind::Unknown;
}

PileRef pileFromName(std::string_view name)
{
    const PileKind kind = pileKindOfName(name);
    PileRef p{kind, 0};
    switch (kind) {
    case PileKind::Tableau:
    case PileKind::Foundation:
        p.index = ordinalAfter(name, 4) - 1;
        break;
    case PileKind::Reserve:
        p.index = ordinalAfter(name, 6) - 1;
        break;
    default:
        break;
    }
    return p.valid() ? p : PileRef{};
}

int tableOrderIndex(PileRef p)
{
    if (!p.valid())
        return -1;
    switch (p.kind) {
    case PileKind::Stock:
        return 0;
    case PileKind::Waste:
        return 1;
    case PileKind::SecondWaste:
        return 2;
    case PileKind::Foundation:
        return kStockGroupPiles + p.index;
    case PileKind::Tableau:
        return kStockGroupPiles + kFoundationPiles + p.index;
    case PileKind::Reserve:
        return kStockGroupPiles + kFoundationPiles + kTableauPiles + p.index;
    case PileKind::Unknown:
        break;
    }
    return -1;
}

PileRef pileAtTableOrder(int i)
{
    if (i < 0 || i >= kTablePiles)
        return {};
    if (i == 0)
        return PileRef::stock();
    if (i == 1)
        return PileRef::waste();
    if (i == 2)
        return PileRef::secondWaste();
    i -= kStockGroupPiles;
    if (i < kFoundationPiles)
        return PileRef::foundation(i);
    i -= kFoundationPiles;
    if (i < kTableauPiles)
        return PileRef::tableau(i);
    return PileRef::reserve(i - kTableauPiles);
}

int Pile::cardCount() const
{
    return static_cast<int>(std::count_if(codes_.begin(), codes_.end(), [](Code c) { return c != 0; }));
}

int Pile::pop()
{
    if (codes_.empty())
        return 0;
    const int c = codes_.back();
    codes_.pop_back();
    return c;
}

int Pile::find(int code) const
{
    for (std::size_t i = 0; i < codes_.size(); ++i)
        if (codes_[i] == code)
            return static_cast<int>(i);
    return -1;
}

Pile& PileLists::at(PileRef p)
{
    return const_cast<Pile&>(static_cast<const PileLists&>(*this).at(p));
}

const Pile& PileLists::at(PileRef p) const
{
    // Callers pass piles the engine itself produced; an index out of range is clamped rather
    // than read past the list.
    auto idx = [](int i, int n) { return static_cast<std::size_t>(std::clamp(i, 0, n - 1)); };
    switch (p.kind) {
    case PileKind::Waste:
        return stockGroup[1];
    case PileKind::SecondWaste:
        return stockGroup[2];
    case PileKind::Tableau:
        return tableau[idx(p.index, kTableauPiles)];
    case PileKind::Foundation:
        return foundations[idx(p.index, kFoundationPiles)];
    case PileKind::Reserve:
        return reserves[idx(p.index, kReservePiles)];
    case PileKind::Stock:
    case PileKind::Unknown:
        break;
    }
    return stockGroup[0];
}

bool Table::isFaceDown(int code) const
{
    if (code < 1 || code > kLastCard)
        return true;
    return faceDown_.test(static_cast<std::size_t>(code));
}

void Table::setFace(int code, bool faceUp)
{
    if (code >= 1 && code <= kLastCard)
        faceDown_.set(static_cast<std::size_t>(code), !faceUp);
}

void Table::append(PileRef p, int code, bool faceUp)
{
    pile(p).push(code);
    if (code != 0)
        setFace(code, faceUp);
}

void Table::setFaceByPattern(PileRef p, int pattern, bool faceUp)
{
    const Pile& pl = pile(p);
    const std::size_t n = pl.size();
    if (pattern >= 1) {
        const std::size_t from = n > static_cast<std::size_t>(pattern) ? n - static_cast<std::size_t>(pattern) : 0;
        for (std::size_t i = from; i < n; ++i)
            setFace(pl[i], faceUp);
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        switch (pattern) {
        case -1:
            setFace(pl[i], i % 2 == 0);
            break;
        case -2:
            setFace(pl[i], i % 2 == 1);
            break;
        case -3:
            setFace(pl[i], i == 0);
            break;
        default:
            return;
        }
    }
}

bool Table::findAndEdit(PileRef p, int code, EditMode mode)
{
    Pile& pl = pile(p);
    const int i = pl.find(code);
    if (i < 0)
        return false;
    const auto at = static_cast<std::size_t>(i);
    switch (mode) {
    case EditMode::Remove:
        pl.erase(at);
        break;
    case EditMode::RemoveWithPlaceholder:
        pl.erase(at);
        if (at > 0 && pl[at - 1] == 0)
            pl.erase(at - 1);
        break;
    case EditMode::Blank:
        pl.set(at, 0);
        break;
    case EditMode::Report:
        break;
    }
    return true;
}

PileRef Table::locateCard(int code, EditMode mode, int tableauInUse)
{
    if (code < 1)
        return {};
    if (findAndEdit(PileRef::waste(), code, mode))
        return PileRef::waste();
    const int tableauCount = std::clamp(tableauInUse, 0, kTableauPiles);
    for (int i = 0; i < tableauCount; ++i)
        if (findAndEdit(PileRef::tableau(i), code, mode))
            return PileRef::tableau(i);
    for (int i = 0; i < kFoundationPiles; ++i)
        if (findAndEdit(PileRef::foundation(i), code, mode))
            return PileRef::foundation(i);
    if (findAndEdit(PileRef::stock(), code, mode))
        return PileRef::stock();
    if (findAndEdit(PileRef::secondWaste(), code, mode))
        return PileRef::secondWaste();
    for (int i = 0; i < kReservePiles; ++i)
        if (findAndEdit(PileRef::reserve(i), code, mode))
            return PileRef::reserve(i);
    return {};
}

void Table::clearPiles()
{
    for (auto& p : piles_.stockGroup)
        p.clear();
    for (auto& p : piles_.foundations)
        p.clear();
    for (auto& p : piles_.tableau)
        p.clear();
    for (auto& p : piles_.reserves)
        p.clear();
}

int Table::cardCount() const
{
    int n = 0;
    for (int i = 0; i < kTablePiles; ++i)
        n += pile(pileAtTableOrder(i)).cardCount();
    return n;
}

} // namespace cw::engine
