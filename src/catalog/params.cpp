// The rule parameter name table and its lookups.
#include "catalog/params.h"

#include <array>
#include <charconv>

namespace cw::catalog {
namespace {

// Ordered by number. Gaps the engine never reads are named "unused.<n>" so that a
// catalog source can still give them a value by name.
constexpr std::array kParams = {
    ParamSpec{1, "foundation.setup", "what goes to the foundations right after the deal (0 nothing, 1 first card sets every base, 2 per foundation, 5-8 variants)"},
    ParamSpec{2, "sequence_rule", "what the cards above a lifted card must form (1 pile's own rule, 10 suit, 11 colour, 12 top card only, else anything)"},
    ParamSpec{3, "tableau.fan_style", "how tableau piles are fanned (vertical, horizontal, row, indexed or mixed styles)"},
    ParamSpec{4, "foundation.fan_style", "how foundations are fanned"},
    ParamSpec{5, "reserve.fan_style", "how reserves are fanned; 1 or 2 let a covered reserve card be revealed"},
    ParamSpec{6, "tableau.mixed_style", "with tableau style 11: piles 1-7 style 2, piles 8-12 style 10"},
    ParamSpec{7, "stock.face_at_deal", "0 turns the stock face up after the deal; otherwise it stays face down"},
    ParamSpec{8, "waste.locked", "non-zero: the waste's top card cannot be picked up"},
    ParamSpec{9, "unused.9", "loaded but never read"},
    ParamSpec{10, "stock.shown", "non-zero: the stock pile is laid out"},
    ParamSpec{11, "stock.turns_to_waste", "1: a stock click turns cards to a visible waste; otherwise clicks deal rows or redeal"},
    ParamSpec{12, "unused.12", "loaded but never read"},
    ParamSpec{13, "deal.extra_step", "1: one more deal step after the foundation setup"},
    ParamSpec{14, "tableau.group_limit", "how many tableau cards may be lifted together (-1 unlimited, negative codes computed limits)"},
    ParamSpec{15, "reserve.pickup_rule", "which reserve cards may be lifted (-11 any with those above, -14, -15 special, else the top card)"},
    ParamSpec{16, "stock.deals", "number of passes through the stock (-1 unlimited, 0 one, n in all)"},
    ParamSpec{17, "stock.redeal_mode", ">= 1 clicking the empty stock redeals; 6 every click redeals"},
    ParamSpec{18, "stock.draw_restriction", "when the stock may be clicked (0 always, 1 waste empty, 2 waste empty or third deal on)"},
    ParamSpec{19, "foundation.take_back", "cards may be taken back from a foundation (1 yes, 2 from 2 cards, 3 jokers only)"},
    ParamSpec{20, "autoplay.available", "non-zero: autoplay works and the game is listed in the autoplay options"},
    ParamSpec{21, "unused.21", "loaded but never read"},
    ParamSpec{22, "autoplay.foundation_target", "automatic moves go to 0 any foundation, 1 only a non-empty one"},
    ParamSpec{23, "undo_off", "1: undo, redo, bookmarks, save and hold are disabled"},
    ParamSpec{24, "stock.cards_per_click", "cards turned per stock click"},
    ParamSpec{25, "tableau.auto_fill", "source that refills an empty tableau pile at once (0 none)"},
    ParamSpec{26, "deal.post_deal_order", "with foundation 1 initial card 93-95: 0 row by row, else pile by pile"},
    ParamSpec{27, "tableau.grid_rows", "rows of the tableau grid (with 28)"},
    ParamSpec{28, "tableau.grid_columns", "columns of the tableau grid; a pile is free only when the piles below it are empty"},
    ParamSpec{29, "unused.29", "loaded but never read"},
    ParamSpec{30, "tableau.grid_row_length", "tableau piles per grid row for the neighbour building rules 70 and 71"},
    ParamSpec{31, "unused.31", "loaded but never read"},
    ParamSpec{32, "foundation.resort", "1: a foundation is sorted by card code after each move to it"},
    ParamSpec{33, "deal.kings_to_bottom", "1: after the deal every King goes to the bottom of its tableau pile"},
    ParamSpec{34, "foundation.capacity", "most cards a foundation accepts; completion target for completion -1"},
    ParamSpec{35, "tableau.capacity", "-1 none; otherwise a tableau pile holding this many accepts no more"},
    ParamSpec{36, "deal.pattern", "0 plain deal; other values select special deals"},
    ParamSpec{37, "stock.first_restriction", "1, 2, 3: tableau cards are refused while the stock or waste holds cards"},
    ParamSpec{38, "unused.38", "loaded but never read"},
    ParamSpec{39, "click_to_play", "1: a left click moves a card automatically instead of dragging"},
    ParamSpec{40, "screen_class", "1 small cards below 810 px (refused below 650 px otherwise), 2 small cards below 1100 px"},
    ParamSpec{41, "selection_game", "non-zero: cards are selected by clicks and removed in sets"},
    ParamSpec{42, "first_move_to_foundation", "1: the first move must take a tableau card to a foundation"},
    ParamSpec{43, "fill_after_first_move", "1: the first move fills every empty tableau pile from the stock"},
    ParamSpec{44, "tableau.auto_face_up", "non-zero: a face-down top tableau card is turned up automatically"},
    ParamSpec{45, "tableau.cards_per_row", "cards per row for tableau style 8; -1 as many as fit the screen"},
    ParamSpec{46, "jokers", "1: joker_count jokers are added to the pack"},
    ParamSpec{47, "tutor", "1: show-a-move and demo are available"},
    ParamSpec{48, "score.constant", "scoring system 01 adds 5 times this value"},
    ParamSpec{49, "reduced_pack", "0 full pack; 1 without ranks 2-6; 2 also without Kings"},
    ParamSpec{50, "suit_folding", "card pictures: 1 all suits as spades; 2 red as hearts, black as spades"},
    ParamSpec{51, "foundation.start_test", "1 no suit twice on foundations 1-4; 2 alternating colours around them"},
    ParamSpec{52, "hiscore.base", "base value of a new hi-score table (-1 undefined); target of families 40 and 81"},
    ParamSpec{53, "score.target", "non-zero: the game is won at its end when the score reaches this"},
    ParamSpec{54, "special_family", "special game family (0 or less: ordinary game)"},
    ParamSpec{55, "foundation.base", "base card of the foundation (rank 1-13 or a base code); set by the deal", 16},
    ParamSpec{71, "foundation.direction", "building direction of the foundation (0 down, 1 up, 2 both)", 16},
    ParamSpec{87, "foundation.suit_rule", "building rule of the foundation (0 suit, 1 colour, 2 any, 3 alternate, 4 none, 21 other suit)", 16},
    ParamSpec{103, "foundation.initial_card", "which card starts the foundation at the deal (0 none, 20 first card, 51-63 a rank...)", 16},
    ParamSpec{119, "foundation.completion", "card count at which the foundation is drawn complete (-1: foundation.capacity)", 16},
    ParamSpec{135, "tableau.empty_rule", "what an empty tableau pile accepts (-1 any, 0 none, 1-13 that rank, 91 King...)", 40},
    ParamSpec{175, "tableau.direction", "building direction of the tableau pile (0 down, 1 up, 2 both)", 40},
    ParamSpec{215, "tableau.suit_rule", "building rule of the tableau pile (0 suit, 1 colour, 2 any, 3 alternate, 4 none, 12 any card...)", 40},
    ParamSpec{255, "tableau.continuity", "0 building stops at the base rank; >0 it wraps; 2 also accepts the card next to the base; -1 never turns between King and Ace", 40},
    ParamSpec{295, "stock.deals_to_tableau", "how a stock click deals to the tableau (first pile: 1 a row, 2 a row when none empty...)", 40},
    ParamSpec{335, "reserve.accept", "what the reserve accepts (4 nothing, 12 any card, other codes special; else a free cell)", 12},
    ParamSpec{347, "stock.deals_to_reserve", "how a stock click deals to the reserves (first: 1 a row)", 12},
    ParamSpec{359, "waste2.start_card", "card put on the second waste at the deal (above 100: code plus 100)"},
    ParamSpec{360, "waste.accepts", "2: the waste accepts a card of its suit next in rank"},
    ParamSpec{361, "waste.never_target", "4: the waste is never a drop target"},
    ParamSpec{362, "layout.stock_arrangement", "stock layout arrangement number"},
    ParamSpec{363, "layout.stock_row", "stock layout row digit"},
    ParamSpec{364, "layout.foundation_arrangement", "foundation layout arrangement number"},
    ParamSpec{365, "layout.foundation_row", "foundation layout row digit"},
    ParamSpec{366, "layout.table_arrangement", "main layout selector 1-225"},
    ParamSpec{367, "layout.table_row", "main layout row digit"},
    ParamSpec{368, "unused.368", "loaded but never read"},
    ParamSpec{369, "layout.reserve_arrangement", "reserve layout arrangement number"},
    ParamSpec{370, "layout.reserve_row", "reserve layout row digit"},
    ParamSpec{371, "layout.waste2_arrangement", "second waste layout arrangement; non-zero also makes the stock deal to it"},
    ParamSpec{372, "layout.waste2_row", "second waste layout row digit"},
    ParamSpec{373, "layout.stock_piles", "stock-group piles laid out (0 none, 1 one pile, 2 stock and waste)"},
    ParamSpec{374, "foundation.count", "foundations in use (0-16)"},
    ParamSpec{375, "tableau.count", "tableau piles in use (0-40)"},
    ParamSpec{376, "reserve.count", "reserves in use (0-12)"},
    ParamSpec{377, "waste2.count", "second waste piles (0 or 1)"},
    ParamSpec{378, "cards", "cards in play (52, 104, 156 or 208)"},
    ParamSpec{379, "stock.deal", "cards dealt to the stock"},
    ParamSpec{380, "waste.deal", "cards dealt face up to the waste"},
    ParamSpec{381, "joker_count", "jokers in the pack (1-4)"},
    ParamSpec{382, "tableau.deal", "cards dealt to the tableau pile (above 1000 a special single card)", 40},
    ParamSpec{422, "tableau.face", "face pattern of the tableau pile at the deal", 40},
    ParamSpec{462, "waste2.deal", "cards dealt to the second waste, also its face pattern"},
    ParamSpec{463, "reserve.deal", "cards dealt to the reserve", 12},
    ParamSpec{475, "reserve.face", "face pattern of the reserve at the deal", 12},
    ParamSpec{487, "foundation.suit_rule_all", "-1 per foundation; otherwise the building rule of every foundation"},
    ParamSpec{488, "tableau.suit_rule_all", "-1 per pile; otherwise the building rule of every tableau pile"},
    ParamSpec{489, "winrate.undecided", "deals of the winning sample the solver left undecided"},
    ParamSpec{490, "wizard.cards_per_click", "wizard may change cards per click (0 never, 1 always, else with a plain stock)"},
    ParamSpec{491, "wizard.deals", "wizard may change the number of deals (as wizard.cards_per_click)"},
    ParamSpec{492, "wizard.empty_rule", "wizard may change the empty tableau rule (0 never, 1 always, else not in selection games)"},
    ParamSpec{493, "wizard.tableau_direction", "wizard may change the tableau direction (as wizard.empty_rule, piles 1-5 alike)"},
    ParamSpec{494, "wizard.tableau_suit_rule", "wizard may change the tableau suit rule (as wizard.empty_rule, piles 1-5 alike)"},
    ParamSpec{495, "wizard.foundation_direction", "wizard may change the foundation direction (0 never, 1 always, else unless no building)"},
    ParamSpec{496, "wizard.foundation_suit_rule", "wizard may change the foundation suit rule (0 never, 1 always, else conditions)"},
    ParamSpec{497, "chooser.game_time", "0 long, 1 medium, 2 quick"},
    ParamSpec{498, "chooser.difficulty", "0 easy, 1 medium, 2 hard"},
    ParamSpec{499, "chooser.skill", "0 difficult ... 4 chance only"},
    ParamSpec{500, "chooser.chance", "chance of winning: 0 very high ... 4 very low"},
    ParamSpec{501, "winrate.won", "deals won in the winning sample"},
    ParamSpec{502, "winrate.sample", "deals in the winning sample (0: no figures shown)"},
};

// The table is dense and ordered: each entry starts right after the previous one ends.
constexpr bool tableIsDense()
{
    int next = 1;
    for (const auto& p : kParams) {
        if (p.number != next || p.count < 1)
            return false;
        next += p.count;
    }
    return next == 503;
}
static_assert(tableIsDense(), "rule parameter table must cover 1..502 exactly once, in order");

std::optional<int> parseNumber(std::string_view s)
{
    if (s.empty() || s.size() > 6)
        return std::nullopt;
    int v = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc{} || ptr != s.data() + s.size())
        return std::nullopt;
    return v;
}

const ParamSpec* byName(std::string_view name)
{
    for (const auto& p : kParams)
        if (p.name == name)
            return &p;
    return nullptr;
}

} // namespace

std::span<const ParamSpec> allParams()
{
    return kParams;
}

const ParamSpec* paramSpec(int number)
{
    if (number < 1 || number > 502)
        return nullptr;
    // Binary search on the start numbers.
    std::size_t lo = 0, hi = kParams.size();
    while (hi - lo > 1) {
        std::size_t mid = (lo + hi) / 2;
        if (kParams[mid].number <= number)
            lo = mid;
        else
            hi = mid;
    }
    return &kParams[lo];
}

std::optional<ParamRef> findParam(std::string_view name)
{
    if (auto n = parseNumber(name)) {
        if (*n >= 1 && *n <= 502)
            return ParamRef{*n, 1};
        return std::nullopt;
    }
    if (const ParamSpec* p = byName(name))
        return ParamRef{p->number, p->count};
    // "range.k": element k (1-based) of a per-pile range.
    auto dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    auto k = parseNumber(name.substr(dot + 1));
    const ParamSpec* p = byName(name.substr(0, dot));
    if (!k || !p || p->count == 1 || *k < 1 || *k > p->count)
        return std::nullopt;
    return ParamRef{p->number + *k - 1, 1};
}

std::string paramName(int number)
{
    const ParamSpec* p = paramSpec(number);
    if (!p)
        return {};
    std::string s(p->name);
    if (p->count > 1)
        s += "." + std::to_string(number - p->number + 1);
    return s;
}

} // namespace cw::catalog
