// Card sizes and the small-screen forcing rules.
#include "engine/card_size.h"

namespace cw::engine {

CardDims cardDims(CardSize size)
{
    switch (size) {
    case CardSize::X: return {102, 138};
    case CardSize::S: return {85, 115};
    case CardSize::B: return {71, 96};
    case CardSize::M: return {59, 80};
    case CardSize::L: return {25, 32};
    }
    return {71, 96};
}

char cardSizeLetter(CardSize size)
{
    switch (size) {
    case CardSize::X: return 'X';
    case CardSize::S: return 'S';
    case CardSize::B: return 'B';
    case CardSize::M: return 'M';
    case CardSize::L: return 'L';
    }
    return 'B';
}

std::optional<CardSize> cardSizeFromLetter(char letter)
{
    switch (letter) {
    case 'X': case 'x': return CardSize::X;
    case 'S': case 's': return CardSize::S;
    case 'B': case 'b': return CardSize::B;
    case 'M': case 'm': return CardSize::M;
    case 'L': case 'l': return CardSize::L;
    default: return std::nullopt;
    }
}

ForcedSize forceCardSizeForScreen(CardSize selected, int screenWidth, int screenClass)
{
    const bool small = selected == CardSize::M || selected == CardSize::L;
    const bool big = selected == CardSize::S || selected == CardSize::X;
    // The rules are tried in this order; the first that applies decides.
    if ((screenClass == 1 && screenWidth < 650) || (screenClass == 2 && screenWidth < 810)) {
        if (small)
            return {selected, false, SizeAdvice::None};
        return {CardSize::M, true, screenWidth < 650 ? SizeAdvice::Medium640 : SizeAdvice::Medium800};
    }
    if (screenClass == 2 && screenWidth < 1100 && big)
        return {CardSize::B, true, selected == CardSize::X ? SizeAdvice::FromExtraLarge : SizeAdvice::FromLarge};
    if (screenWidth < 810 && selected == CardSize::X)
        return {screenClass == 1 ? CardSize::B : CardSize::S, true, SizeAdvice::FromExtraLarge};
    return {selected, false, SizeAdvice::None};
}

} // namespace cw::engine
