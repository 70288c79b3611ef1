// Move history: compact table snapshots, event logs, undo and redo with their side effects, joining.
#include "engine/history.h"

#include "engine/family.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "engine/card.h"

namespace cw::engine {

namespace {

constexpr int kFoundation1Order = kStockGroupPiles; // table-order position of foundation 1

// Visits the 71 piles of a table in table order.
template <class Fn>
void forEachPileInOrder(const PileLists& piles, Fn&& fn)
{
    int order = 0;
    for (const Pile& p : piles.stockGroup)
        fn(order++, p);
    for (const Pile& p : piles.foundations)
        fn(order++, p);
    for (const Pile& p : piles.tableau)
        fn(order++, p);
    for (const Pile& p : piles.reserves)
        fn(order++, p);
}

// The order in which a snapshot is put back: the stock group from the second waste down, then
// foundations, tableau and reserves each from the last pile down.
constexpr std::array<int, kTablePiles> kRestoreOrder = [] {
    std::array<int, kTablePiles> order{};
    int n = 0;
    const int firsts[4] = {0, kStockGroupPiles, kStockGroupPiles + kFoundationPiles,
                           kStockGroupPiles + kFoundationPiles + kTableauPiles};
    const int counts[4] = {kStockGroupPiles, kFoundationPiles, kTableauPiles, kReservePiles};
    for (int g = 0; g < 4; ++g)
        for (int k = counts[g] - 1; k >= 0; --k)
            order[static_cast<std::size_t>(n++)] = firsts[g] + k;
    return order;
}();

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Applies the side effect of a log entry: direction -1 for undo, +1 for redo.
void applyEvent(GameState& state, int code, int direction, bool dealNumberDone)
{
    switch (code) {
    case kEventMoveCounter: state.stockClicks += direction; break;
    case kEventRedeal:
        if (!dealNumberDone)
            state.dealNumber += direction;
        break;
    case kEventOneTime: state.drawUsed = direction > 0; break;
    default: break;
    }
    // The state's per-code tallies mirror the undo log, which just lost (or gained) the entry.
    if (code > 0 && code < kEventCodes) {
        auto& n = state.eventCounts[static_cast<std::size_t>(code)];
        if (direction < 0 && n > 0)
            --n;
        else if (direction > 0 && n < 255)
            ++n;
    }
}

} // namespace

UndoOption undoOptionFromText(std::string_view text)
{
    if (text == "1")
        return UndoOption::OneInARow;
    if (text == "2")
        return UndoOption::Disabled;
    return UndoOption::Unlimited;
}

const char* undoOptionText(UndoOption option)
{
    switch (option) {
    case UndoOption::OneInARow: return "1";
    case UndoOption::Disabled: return "2";
    default: return "0";
    }
}

bool storesFoundation1Empty(const GameRules& rules)
{
    return rules.selectionGame() != 0 || rules.family().selectionInFoundation1();
}

// ---- SnapshotList ----

void SnapshotList::push(const Table& table, bool blankFoundation1)
{
    // Sizes first, so that the codes are copied with one growth of the buffer.
    const PileLists& piles = table.piles();
    const std::size_t base = lengths_.size();
    lengths_.resize(base + kTablePiles);
    std::size_t total = 0;
    forEachPileInOrder(piles, [&](int order, const Pile& pile) {
        const std::size_t n = (blankFoundation1 && order == kFoundation1Order) ? 0 : pile.size();
        lengths_[base + static_cast<std::size_t>(order)] = static_cast<std::uint16_t>(n);
        total += n;
    });
    const std::size_t start = codes_.size();
    codes_.resize(start + total);
    std::uint8_t* out = codes_.data() + start;
    forEachPileInOrder(piles, [&](int order, const Pile& pile) {
        const std::size_t n = lengths_[base + static_cast<std::size_t>(order)];
        if (n != 0)
            std::memcpy(out, pile.codes().data(), n);
        out += n;
    });
    starts_.push_back(static_cast<std::uint32_t>(start));
    faces_.push_back(table.faceDownBits());
}

bool SnapshotList::pushTexts(const std::vector<std::string_view>& texts)
{
    if (texts.size() != static_cast<std::size_t>(kTablePiles))
        return false;
    std::vector<std::uint8_t> codes;
    std::array<std::uint16_t, kTablePiles> lengths{};
    FaceBits faces;
    std::array<bool, kLastCard + 1> seen{};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        std::string_view t = texts[i];
        if (t.size() % 4 != 0 || t.size() / 4 > 0xFFFF)
            return false;
        for (std::size_t k = 0; k < t.size(); k += 4) {
            const int c = parseCode(t.substr(k, 3));
            const char flag = t[k + 3];
            if (c < 0 || (flag != '0' && flag != '1'))
                return false;
            if (c != 0) {
                if (seen[static_cast<std::size_t>(c)])
                    return false;
                seen[static_cast<std::size_t>(c)] = true;
                if (flag == '0')
                    faces.set(static_cast<std::size_t>(c));
            }
            codes.push_back(static_cast<std::uint8_t>(c));
        }
        lengths[i] = static_cast<std::uint16_t>(t.size() / 4);
    }
    starts_.push_back(static_cast<std::uint32_t>(codes_.size()));
    codes_.insert(codes_.end(), codes.begin(), codes.end());
    lengths_.insert(lengths_.end(), lengths.begin(), lengths.end());
    faces_.push_back(faces);
    return true;
}

void SnapshotList::popBack()
{
    if (starts_.empty())
        return;
    codes_.resize(starts_.back());
    lengths_.resize(lengths_.size() - kTablePiles);
    starts_.pop_back();
    faces_.pop_back();
}

void SnapshotList::clear()
{
    // Released, not just emptied: a new deal starts small again.
    codes_ = {};
    lengths_ = {};
    starts_ = {};
    faces_ = {};
}

void SnapshotList::reserve(std::size_t snapshots, std::size_t positionsPerSnapshot)
{
    codes_.reserve(snapshots * positionsPerSnapshot);
    lengths_.reserve(snapshots * kTablePiles);
    starts_.reserve(snapshots);
    faces_.reserve(snapshots);
}

std::size_t SnapshotList::pileOffset(std::size_t i, int tableOrder) const
{
    std::size_t offset = starts_[i];
    const std::size_t base = i * kTablePiles;
    for (int k = 0; k < tableOrder; ++k)
        offset += lengths_[base + static_cast<std::size_t>(k)];
    return offset;
}

void SnapshotList::restore(std::size_t i, Table& table, bool keepFoundation1) const
{
    if (i >= size())
        return;
    std::array<std::size_t, kTablePiles> offsets{};
    std::size_t offset = starts_[i];
    const std::size_t base = i * kTablePiles;
    for (int k = 0; k < kTablePiles; ++k) {
        offsets[static_cast<std::size_t>(k)] = offset;
        offset += lengths_[base + static_cast<std::size_t>(k)];
    }
    // The face bits go back whole; a foundation 1 left alone keeps its cards' faces.
    FaceBits faces = faces_[i];
    if (keepFoundation1)
        for (int c : table.foundation(0))
            if (c > 0 && c <= kLastCard)
                faces.set(static_cast<std::size_t>(c), table.isFaceDown(c));
    table.setFaceDownBits(faces);
    for (int order : kRestoreOrder) {
        if (keepFoundation1 && order == kFoundation1Order)
            continue;
        Pile& pile = table.pile(pileAtTableOrder(order));
        pile.clear();
        const std::uint8_t* from = codes_.data() + offsets[static_cast<std::size_t>(order)];
        const std::size_t n = lengths_[base + static_cast<std::size_t>(order)];
        for (std::size_t k = 0; k < n; ++k)
            pile.push(from[k]);
    }
}

std::string SnapshotList::pileText(std::size_t i, int tableOrder) const
{
    std::string s;
    if (i >= size() || tableOrder < 0 || tableOrder >= kTablePiles)
        return s;
    const std::size_t from = pileOffset(i, tableOrder);
    const std::size_t n = lengths_[i * kTablePiles + static_cast<std::size_t>(tableOrder)];
    s.reserve(n * 4);
    for (std::size_t k = 0; k < n; ++k) {
        const int c = codes_[from + k];
        if (c == 0) {
            s += "0000";
            continue;
        }
        s += codeText(c);
        s += (c <= kLastCard && faces_[i].test(static_cast<std::size_t>(c))) ? '0' : '1';
    }
    return s;
}

std::size_t SnapshotList::pileSize(std::size_t i, int tableOrder) const
{
    if (i >= size() || tableOrder < 0 || tableOrder >= kTablePiles)
        return 0;
    return lengths_[i * kTablePiles + static_cast<std::size_t>(tableOrder)];
}

std::size_t SnapshotList::memoryBytes() const
{
    return sizeof(*this) + codes_.capacity() * sizeof(std::uint8_t) + lengths_.capacity() * sizeof(std::uint16_t) +
           starts_.capacity() * sizeof(std::uint32_t) + faces_.capacity() * sizeof(FaceBits);
}

bool operator==(const SnapshotList& a, const SnapshotList& b)
{
    return a.codes_ == b.codes_ && a.lengths_ == b.lengths_ && a.starts_ == b.starts_ && a.faces_ == b.faces_;
}

// ---- Event log ----

std::string eventLogText(const EventLog& log)
{
    std::string s;
    s.reserve(log.size() * 4);
    for (std::uint16_t e : log) {
        if (e != kNoEvent) {
            const int v = std::min<int>(e, kLastEventCode);
            s += static_cast<char>('0' + v / 100);
            s += static_cast<char>('0' + v / 10 % 10);
            s += static_cast<char>('0' + v % 10);
        }
        s += ',';
    }
    return s;
}

bool parseEventLog(std::string_view text, EventLog& log)
{
    EventLog result;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t comma = text.find(',', pos);
        if (comma == std::string_view::npos)
            comma = text.size();
        const std::string_view entry = text.substr(pos, comma - pos);
        if (entry.empty()) {
            result.push_back(kNoEvent);
        } else {
            if (entry.size() != 3 || !isDigit(entry[0]) || !isDigit(entry[1]) || !isDigit(entry[2]))
                return false;
            const int v = (entry[0] - '0') * 100 + (entry[1] - '0') * 10 + (entry[2] - '0');
            if (v == 0)
                return false;
            result.push_back(static_cast<std::uint16_t>(v));
        }
        pos = comma + 1;
    }
    log = std::move(result);
    return true;
}

int HistoryList::countEvents(int code) const
{
    return static_cast<int>(std::count(log.begin(), log.end(), static_cast<std::uint16_t>(code)));
}

bool HistoryList::lastEntryHas(int code) const { return !log.empty() && log.back() == code; }

// ---- History ----

void History::push(HistoryKind kind, const Table& table, const HistoryPolicy& policy)
{
    HistoryList& h = kind == HistoryKind::Undo ? undo : redo;
    h.snapshots.push(table, policy.blankFoundation1);
    h.log.push_back(kNoEvent);
    (kind == HistoryKind::Undo ? undoMark : redoMark) = false;
}

void History::clearAll()
{
    undo.clear();
    redo.clear();
    undoMark = false;
    redoMark = false;
}

void History::recordEvent(int code)
{
    if (!undo.log.empty() && code > 0 && code <= kLastEventCode)
        undo.log.back() = static_cast<std::uint16_t>(code);
}

void History::join(int n)
{
    for (int k = 0; k < n && undo.snapshots.size() >= 2; ++k) {
        undo.snapshots.popBack();
        if (undo.log.size() >= 2) {
            const std::uint16_t latest = undo.log.back();
            undo.log.pop_back();
            if (latest != kNoEvent)
                undo.log.back() = latest;
        }
    }
}

bool History::canUndo(const HistoryPolicy& policy) const
{
    if (undo.snapshots.empty() || policy.option == UndoOption::Disabled)
        return false;
    return !(policy.option == UndoOption::OneInARow && undoMark);
}

bool History::canRedo(const HistoryPolicy& policy) const
{
    if (redo.snapshots.empty() || policy.option == UndoOption::Disabled)
        return false;
    return !(policy.option == UndoOption::OneInARow && redoMark);
}

bool History::undoMove(GameState& state, const HistoryPolicy& policy)
{
    if (!canUndo(policy))
        return false;
    undoMark = true;
    push(HistoryKind::Redo, state.table, policy);

    // A restore that empties a full stock takes back a turnover or redeal even when the log
    // does not say so (files of older versions); the log's "003" must then not count twice.
    const bool stockHadCards = !state.table.stock().empty();
    undo.snapshots.restore(undo.snapshots.size() - 1, state.table, policy.blankFoundation1);
    undo.snapshots.popBack();
    bool dealNumberDone = false;
    if (stockHadCards && state.table.stock().empty()) {
        --state.dealNumber;
        dealNumberDone = true;
    }

    if (!undo.log.empty() && !redo.log.empty()) {
        const std::uint16_t entry = undo.log.back();
        applyEvent(state, entry, -1, dealNumberDone);
        redo.log.back() = entry; // takes the place of the empty entry the push appended
        undo.log.pop_back();
    }
    return true;
}

bool History::redoMove(GameState& state, const HistoryPolicy& policy)
{
    if (!canRedo(policy))
        return false;
    redoMark = true;
    push(HistoryKind::Undo, state.table, policy);

    const bool stockWasEmpty = state.table.stock().empty();
    redo.snapshots.restore(redo.snapshots.size() - 1, state.table, policy.blankFoundation1);
    redo.snapshots.popBack();
    bool dealNumberDone = false;
    if (stockWasEmpty && !state.table.stock().empty()) {
        ++state.dealNumber;
        dealNumberDone = true;
    }

    if (!undo.log.empty() && !redo.log.empty()) {
        const std::uint16_t entry = redo.log.back();
        applyEvent(state, entry, +1, dealNumberDone);
        undo.log.back() = entry;
        redo.log.pop_back();
    }
    return true;
}

bool History::restoreFirst(Table& table, const HistoryPolicy& policy) const
{
    if (undo.snapshots.empty())
        return false;
    undo.snapshots.restore(0, table, policy.blankFoundation1);
    return true;
}

void MoveRecorder::begin(const GameState& state)
{
    dealNumber_ = state.dealNumber;
    stockClicks_ = state.stockClicks;
    drawUsed_ = state.drawUsed;
    counts_ = state.eventCounts;
    undoMark_ = history_.undoMark;
    history_.pushUndo(state.table, policy_);
}

void MoveRecorder::end(const GameState& state, bool changed)
{
    if (!changed) {
        history_.undo.snapshots.popBack();
        if (!history_.undo.log.empty())
            history_.undo.log.pop_back();
        history_.undoMark = undoMark_;
        return;
    }
    auto rose = [&](int code) {
        return state.eventCounts[static_cast<std::size_t>(code)] > counts_[static_cast<std::size_t>(code)];
    };
    int event = kNoEvent;
    if (rose(kEventRedeal) || state.dealNumber > dealNumber_)
        event = kEventRedeal;
    else if (rose(kEventMoveCounter) || state.stockClicks > stockClicks_)
        event = kEventMoveCounter;
    else if (rose(kEventOneTime) || (state.drawUsed && !drawUsed_))
        event = kEventOneTime;
    else if (rose(kEventDrop))
        event = kEventDrop;
    history_.recordEvent(event);
    history_.clearRedo();
}

bool reorderFoundation(Table& table, int index)
{
    if (index < 0 || index >= kFoundationPiles)
        return false;
    Pile& pile = table.foundation(index);
    std::vector<std::uint8_t> codes = pile.codes();
    std::stable_sort(codes.begin(), codes.end());
    for (std::size_t i = 0; i < codes.size(); ++i)
        pile.set(i, codes[i]);
    return pile.size() > 1;
}

} // namespace cw::engine
