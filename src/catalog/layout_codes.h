// The pile arrangement numbers the game catalog uses: the one list the layout code must implement.
#pragma once

#include <algorithm>
#include <array>
#include <string_view>

namespace cw::catalog {

// Which group of piles an arrangement number places (the parameter that holds it).
enum class LayoutGroup { Stock, Foundation, Table, Reserve, SecondWaste };

struct LayoutArrangement {
    LayoutGroup group;
    int number;
    std::string_view placement;
};

// Every arrangement a built-in game names. The generator refuses any other number, so the
// layout code needs exactly these. Row digits (1-4, 0 counts as 1) pick the layout row.
// clang-format off
inline constexpr std::array kLayoutArrangements = {
    // Table arrangements (rule parameter 366): where the tableau piles stand.
    LayoutArrangement{LayoutGroup::Table, 1, "one row, evenly spread and centred"},
    LayoutArrangement{LayoutGroup::Table, 2, "one centred row with a fixed gap"},
    LayoutArrangement{LayoutGroup::Table, 3, "two rows: the first half (rounded up) on the row digit's row, the rest on a row halfway to the bottom"},
    LayoutArrangement{LayoutGroup::Table, 5, "horizontal fans stacked in columns (three from 13 piles, else two), rows at most H/2 + 10 apart"},
    LayoutArrangement{LayoutGroup::Table, 6, "horizontal fans in two columns left and right of a centre column of foundations (left column piles 1..n/2)"},
    LayoutArrangement{LayoutGroup::Table, 7, "a cross of five piles around the centre pile, foundations 1-4 in the corners (whatever their own arrangement)"},
    LayoutArrangement{LayoutGroup::Table, 51, "sixteen piles in a centred 4 x 4 block"},
    LayoutArrangement{LayoutGroup::Table, 52, "a centred grid: rows of tableau.grid_row_length piles (5 when 0), a card height and a row gap apart"},
    LayoutArrangement{LayoutGroup::Table, 53, "a pyramid: each pile a centred row as long as its deal, each row half a card lower"},
    LayoutArrangement{LayoutGroup::Table, 54, "a clock face: piles 1-12 on an oval like the hours, pile 13 in the centre"},
    LayoutArrangement{LayoutGroup::Table, 55, "piles from the left margin on the row digit's row (the snake row of fan style 8)"},
    LayoutArrangement{LayoutGroup::Table, 61, "a centred square grid (5 x 5, 4 x 4), stock, waste and second waste in a column left of it"},
    LayoutArrangement{LayoutGroup::Table, 62, "cribbage patience: piles 1-4, 5-10 and 11 on rows 1-3 right of the captions, stock and second waste ending row 1"},
    LayoutArrangement{LayoutGroup::Table, 63, "one row of cards side by side (fan style 9) per pile, centred and stacked; second waste left of row 1 when it fits"},
    // Stock arrangements (362): stock and waste.
    LayoutArrangement{LayoutGroup::Stock, 3, "stock left of the first tableau pile; waste below it on row 2"},
    LayoutArrangement{LayoutGroup::Stock, 5, "stock at the left margin, the waste one card width to its right"},
    LayoutArrangement{LayoutGroup::Stock, 13, "stock at the top left, the waste 15 pixels to its right"},
    LayoutArrangement{LayoutGroup::Stock, 23, "stock above the first tableau pile, the waste 18 pixels to its right"},
    // Foundation arrangements (364).
    LayoutArrangement{LayoutGroup::Foundation, 22, "directly above the tableau piles, foundation i over pile i"},
    LayoutArrangement{LayoutGroup::Foundation, 31, "right-aligned on the row"},
    LayoutArrangement{LayoutGroup::Foundation, 32, "above the last tableau piles, one over each"},
    LayoutArrangement{LayoutGroup::Foundation, 33, "right of the stock group, 17 pixels after it, gaps of 4"},
    LayoutArrangement{LayoutGroup::Foundation, 34, "centred, gap half the tableau gap (at least 4)"},
    LayoutArrangement{LayoutGroup::Foundation, 35, "a vertical column at the table centre (placed by table arrangement 6)"},
    LayoutArrangement{LayoutGroup::Foundation, 36, "right-aligned, the first eight on the row digit's row, the rest on the row below"},
    LayoutArrangement{LayoutGroup::Foundation, 37, "spread evenly over the whole row"},
    // Reserve arrangements (369).
    LayoutArrangement{LayoutGroup::Reserve, 41, "a column left of the first tableau pile, 3G away (1.5G with more than 7 piles)"},
    LayoutArrangement{LayoutGroup::Reserve, 42, "a row from the left margin, gaps of 4 (free cells)"},
    LayoutArrangement{LayoutGroup::Reserve, 43, "above the last tableau piles, one over each"},
    LayoutArrangement{LayoutGroup::Reserve, 44, "one pile left of the first tableau pile on the row digit's row, fanned by the reserve style"},
    LayoutArrangement{LayoutGroup::Reserve, 45, "one wide horizontal fan across the bottom row"},
    // Second waste arrangements (371): also make the stock deal to it.
    LayoutArrangement{LayoutGroup::SecondWaste, 4, "above the first tableau pile the stock group leaves free, on the row digit's row"},
    LayoutArrangement{LayoutGroup::SecondWaste, 51, "right of the waste, 15 pixels after it"},
    LayoutArrangement{LayoutGroup::SecondWaste, 52, "right of the last pile of the first tableau row"},
};
// clang-format on

// Every game must fit an 800 x 600 screen; a game without the large-screen mark must also fit
// a 640 x 480 one (with the card size its screen class forces there).
inline constexpr int kSmallWindowWidth = 800;
inline constexpr int kSmallWindowHeight = 600;
inline constexpr int kTinyWindowWidth = 640;
inline constexpr int kTinyWindowHeight = 480;

inline constexpr bool isKnownArrangement(LayoutGroup group, int number)
{
    return std::any_of(kLayoutArrangements.begin(), kLayoutArrangements.end(),
                       [&](const LayoutArrangement& a) { return a.group == group && a.number == number; });
}

} // namespace cw::catalog
