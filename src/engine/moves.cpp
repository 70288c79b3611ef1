// Move execution: card moves by name and the automatic steps that follow a move.
#include "engine/moves.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/family.h"
#include "engine/stock.h"

namespace cw::engine {

using catalog::FoundationBase;

namespace {

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Up to two digits after a prefix, 1-based; 0 when missing.
int ordinalAfter(std::string_view name, std::size_t prefixLength)
{
    int n = 0, digits = 0;
    for (std::size_t i = prefixLength; i < name.size() && digits < 2; ++i, ++digits) {
        const char ch = name[i];
        if (ch < '0' || ch > '9')
            break;
        n = n * 10 + (ch - '0');
    }
    return digits == 0 ? 0 : n;
}

// The sound a card move plays, by its target.
const char* moveSound(PileRef target, bool automatic)
{
    if (target.kind == PileKind::Foundation)
        return automatic ? "Autoplay" : "Foundation";
    return "Tableau";
}

} // namespace

PileRef cardMoveTarget(std::string_view name)
{
    PileRef p{};
    if (startsWith(name, "Dest_Autoplay"))
        p = PileRef::foundation(ordinalAfter(name, 13) - 1);
    else if (startsWith(name, "Dest"))
        p = PileRef::foundation(ordinalAfter(name, 4) - 1);
    else if (startsWith(name, "Fila"))
        p = PileRef::tableau(ordinalAfter(name, 4) - 1);
    else if (startsWith(name, "Appogg"))
        p = PileRef::reserve(ordinalAfter(name, 6) - 1);
    else if (name == "Stock02")
        p = PileRef::waste();
    else if (name == "Waste")
        p = PileRef::secondWaste();
    return p.valid() ? p : PileRef{};
}

bool isWon(const Play& play)
{
    if (play.family().special())
        if (const std::optional<bool> won = play.family().isWon(play))
            return *won;
    const Table& t = play.table();
    if (holdsCard(t.stock()) || holdsCard(t.waste()))
        return false;
    for (int i = 0; i < play.tableaus(); ++i)
        if (holdsCard(t.tableau(i)))
            return false;
    for (int i = 0; i < play.reserves(); ++i)
        if (holdsCard(t.reserve(i)))
            return false;
    return true;
}

bool testWon(Play& play)
{
    const bool won = isWon(play);
    if (won && !play.state.won)
        play.addEvent(Event{EventType::GameWon, 0, {}, {}, true, {}});
    play.state.won = won;
    return won;
}

bool turnUp(Play& play, int c)
{
    if (c < 0 || c >= kTableauPiles)
        return false;
    Table& t = play.table();
    const int top = t.tableau(c).top();
    if (top == 0 || !t.isFaceDown(top))
        return false;
    t.setFace(top, true);
    play.turned(top, PileRef::tableau(c), true);
    play.sound("Face_up");
    return true;
}

int automaticTurnUp(Play& play)
{
    if (!play.options.automaticFaceUp || play.rules.tableauAutoFaceUp() == 0)
        return 0;
    int turned = 0;
    for (int c = 0; c < play.tableaus(); ++c)
        turned += turnUp(play, c) ? 1 : 0;
    return turned;
}

int completeRun(Play& play, int c)
{
    Table& t = play.table();
    Pile& pile = t.tableau(c);
    if (pile.size() < 13)
        return 0;
    int target = -1;
    int base = 0;
    for (int f = 0; f < play.foundations(); ++f) {
        const int b = play.rules.foundationBase(f);
        if (catalog::isRunBase(b) && t.foundation(f).empty()) {
            target = f;
            base = b;
            break;
        }
    }
    if (target < 0)
        return 0;
    const std::size_t top = pile.size() - 1;
    auto at = [&](int k) { return pile[top - static_cast<std::size_t>(k)]; }; // k-th from the top
    for (int k = 0; k < 13; ++k) {
        const int card = at(k);
        if (card == 0 || t.isFaceDown(card))
            return 0;
        const int r = rank(card);
        if (base == FoundationBase::RunsEitherWay) {
            if (k > 0) {
                const int prev = rank(at(k - 1));
                const int d = (r - prev + 13) % 13;
                if (d != 1 && d != 12)
                    return 0;
            }
        } else if (r != (base == FoundationBase::RunsDown ? 13 - k : k + 1)) {
            return 0;
        }
        if (k == 0)
            continue;
        const int prev = at(k - 1);
        const int code = play.tableauCode(c);
        bool suitOk = true;
        switch (base) {
        case FoundationBase::RunsInSuit:
        case FoundationBase::Runs:
        case FoundationBase::RunsDown: suitOk = suit(card) == suit(prev); break;
        case FoundationBase::RunsInColour: suitOk = isRed(card) == isRed(prev); break;
        case FoundationBase::RunsByRule:
            if (code == catalog::BuildRule::Suit)
                suitOk = suit(card) == suit(prev);
            else if (code == catalog::BuildRule::Alternate)
                suitOk = isRed(card) != isRed(prev);
            break;
        default: break;
        }
        if (!suitOk)
            return 0;
    }
    if (base != FoundationBase::RunsDown) {
        // The colour balance of the run foundations, judged on the run's top card.
        int count = 0, reds = 0, blacks = 0;
        for (int f = 0; f < play.foundations(); ++f) {
            if (play.rules.foundationBase(f) != FoundationBase::RunsByRule)
                continue;
            ++count;
            const int first = t.foundation(f).bottom();
            reds += isRed(first) ? 1 : 0;
            blacks += isBlack(first) ? 1 : 0;
        }
        const int card = at(0);
        reds += isRed(card) ? 1 : 0;
        blacks += isBlack(card) ? 1 : 0;
        if (count > 0 && (reds * 2 > count || blacks * 2 > count))
            return 0;
    }
    const PileRef to = PileRef::foundation(target);
    for (int k = 0; k < 13; ++k) {
        const int card = pile.pop();
        t.append(to, card, true);
        play.moved(card, PileRef::tableau(c), to, true);
    }
    play.sound("Redeal");
    return 13;
}

void countMove(Play& play)
{
    if (play.state.movesMade < 2)
        ++play.state.movesMade;
    if (play.state.movesMade == 1 && play.rules.fillAfterFirstMove() == 1)
        executeStockMove(play, "Fill_Tableaus");
}

namespace {

// The cards [first, last) of source go to position `at` of target (counted before they left,
// when both are the same pile): a single card into a gap there, otherwise in front of it.
void placeAt(Play& play, PileRef source, std::size_t first, std::size_t last, PileRef target, std::size_t at)
{
    Table& t = play.table();
    Pile& from = t.pile(source);
    const std::vector<int> cards(from.begin() + static_cast<std::ptrdiff_t>(first),
                                 from.begin() + static_cast<std::ptrdiff_t>(last));
    for (std::size_t i = last; i-- > first;)
        from.erase(i);
    if (source == target && at > first)
        at -= std::min(at - first, last - first);
    Pile& to = t.pile(target);
    at = std::min(at, to.size());
    if (cards.size() == 1 && at < to.size() && to[at] == 0)
        to.set(at, cards.front());
    else
        for (std::size_t k = 0; k < cards.size(); ++k)
            to.insert(at + k, cards[k]);
    for (int card : cards)
        if (card != 0) {
            t.setFace(card, true);
            play.moved(card, source, target, true);
        }
}

} // namespace

bool moveCards(Play& play, PileRef source, int index, PileRef target, bool group, bool automatic, int position)
{
    Table& t = play.table();
    if (!source.valid() || !target.valid())
        return false;
    Pile& from = t.pile(source);
    if (index < 0 || static_cast<std::size_t>(index) >= from.size() || from[static_cast<std::size_t>(index)] == 0)
        return false;
    const std::size_t first = static_cast<std::size_t>(index);
    const std::size_t last = group ? from.size() : first + 1;
    const int movedCard = from[first];
    Pile& to = t.pile(target);
    const bool placeholderLeft =
        target.kind == PileKind::Foundation && source.kind == PileKind::Tableau && play.rules.tableauFanStyle() == 12;
    if (position >= 0 && target.kind == PileKind::Tableau) {
        placeAt(play, source, first, last, target, static_cast<std::size_t>(position));
    } else {
        for (std::size_t i = first; i < last; ++i) {
            const int card = from[i];
            to.push(card);
            if (card != 0) {
                t.setFace(card, true);
                play.moved(card, source, target, true);
            }
        }
        if (placeholderLeft)
            from.set(first, 0);
        else if (group)
            while (from.size() > first)
                from.pop();
        else
            from.erase(first);
    }

    play.sound(moveSound(target, automatic));
    if (target.kind == PileKind::Foundation && play.rules.foundationResort() == 1 && to.cardCount() > 1) {
        std::vector<int> codes(to.begin(), to.end());
        std::sort(codes.begin(), codes.end());
        to.clear();
        for (int c : codes)
            to.push(c);
        play.sound("Reorder");
    }

    // Complete runs leave the tableau piles the move touched.
    if (source.kind == PileKind::Tableau)
        completeRun(play, source.index);
    if (target.kind == PileKind::Tableau)
        completeRun(play, target.index);
    if (play.family().special())
        play.family().afterMove(play,
                                MoveDone{source, index, target, movedCard, static_cast<int>(last - first), automatic});

    play.state.backMoveGuard = false;
    if (source.kind == PileKind::Tableau && !play.options.autoplay)
        automaticTurnUp(play);
    countMove(play);
    testWon(play);
    return true;
}

bool executeMove(Play& play, int card, std::string_view name, bool group)
{
    const PileRef target = cardMoveTarget(name);
    if (!target.valid())
        return executeStockMove(play, name);
    Table& t = play.table();
    const PileRef source = t.locateCard(card, EditMode::Report, play.tableaus());
    if (!source.valid() || source == target)
        return false;
    // Until the first move is made, some games allow only a tableau card to a foundation.
    if (play.rules.firstMoveToFoundation() == 1 && play.state.movesMade == 0 &&
        (target.kind != PileKind::Foundation || source.kind != PileKind::Tableau))
        return false;
    const int index = t.pile(source).find(card);
    const bool automatic = name.substr(0, 13) == "Dest_Autoplay";
    return moveCards(play, source, index, target, group && source.kind == PileKind::Tableau, automatic);
}

} // namespace cw::engine
