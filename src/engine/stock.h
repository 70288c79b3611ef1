// The stock: clicks by dealing scheme, drawing to the waste, dealing rows, turning the waste over and redeals.
#pragma once

#include <string_view>
#include <vector>

#include "engine/rules_context.h"

namespace cw::engine {

// A click on the stock by the game's scheme. A turnover or redeal on an empty stock has two
// phases: without immediate the click only arms it (StockDown) and stockRelease runs it;
// immediate (the demo, the move generator) runs both at once. True when the table changed.
bool stockClick(Play& play, bool immediate);

// The release after a press that armed a turnover or redeal: shows StockUp and runs it.
bool stockRelease(Play& play);

// A press on the waste that lifts nothing: redeals when rule parameter 17 >= 1 and both stock
// and waste are empty.
bool wasteClick(Play& play);

// Stock actions by move name: "Mazzo_Vis", "Mazzo_Waste", "Mazzo_Redeal", "Add_Tableaus",
// "Add_Tableau_" + nn, "Add_Reserves", "Add_Reserve_" + n, "Add_Tableaus_Last", "Fill_Tableaus".
// True when the table changed.
bool executeStockMove(Play& play, std::string_view name);

// Whether a stock click would change the table now (the move generator offers it only then).
bool stockClickAvailable(const Play& play);

// The deterministic interleave of a gathered list: start at n / 2, take the card there, step 2
// after an odd count taken and 5 after an even one, wrapping to 0 past the end.
std::vector<int> interleaveGathered(std::vector<int> gathered);

// Deals left: the deal number is below rule parameter 16, or 16 is -1.
bool dealsLeft(const Play& play);

} // namespace cw::engine
