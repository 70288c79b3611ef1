// The redeal procedure that a redeal ("Mazzo_Redeal") runs by rule parameter 17, after the deal number rose.
#pragma once

#include "engine/rules_context.h"

namespace cw::engine {

// Gathers and redeals the table by rule parameter 17 (values 4, 5, 7, 8, 11, 12, 13, 19, 20 by
// their own rules; 9, 14, 15, 16 are left to their games; every other value gathers the tableau
// (and for some the reserves), interleaves and deals again).
void redealProcedure(Play& play);

} // namespace cw::engine
