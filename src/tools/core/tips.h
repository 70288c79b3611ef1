// The tip of the day: the fixed list of hints and the way the dialog steps through them.
#pragma once

#include <span>
#include <string_view>

namespace cw::tools {

// The hints, numbered from 0.
std::span<const std::string_view> tipTexts();
int tipCount();

// The hint shown on opening: the one after the hint shown at the last closing ("Tips_Num"),
// hint 0 after the last one or for a stored number that is out of range.
int openingTip(int storedTipNumber);
// "&Next Tip" and "&Previous Tip": around the list in both directions.
int nextTip(int tip);
int previousTip(int tip);

} // namespace cw::tools
