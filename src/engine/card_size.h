// Card sizes (X, S, B, M, L), their pixel dimensions, and the size forcing for small screens.
#pragma once

#include <optional>

namespace cw::engine {

enum class CardSize { X, S, B, M, L };

struct CardDims {
    int width = 0;
    int height = 0;
    friend bool operator==(const CardDims&, const CardDims&) = default;
};

CardDims cardDims(CardSize size);
char cardSizeLetter(CardSize size);
// 'X', 'S', 'B', 'M', 'L' in either case; anything else has no size.
std::optional<CardSize> cardSizeFromLetter(char letter);

// Which advice message a forced size comes with (the message keys are the caller's).
enum class SizeAdvice {
    None,
    Medium640, // medium cards on a display narrower than 650 pixels
    Medium800, // medium cards on a display narrower than 810 pixels
    FromLarge, // the "S" size was too big for the screen
    FromExtraLarge, // the "X" size was too big for the screen
};

struct ForcedSize {
    CardSize size = CardSize::B;
    bool forced = false; // size differs from the player's choice for this game
    SizeAdvice advice = SizeAdvice::None;
    friend bool operator==(const ForcedSize&, const ForcedSize&) = default;
};

// The size a game is played with on a screen `screenWidth` pixels wide. `screenClass` is the
// game's screen class (1: small cards below 810 pixels, 2: below 1100 pixels, 0: none).
// A selection already smaller than the forced size is kept.
ForcedSize forceCardSizeForScreen(CardSize selected, int screenWidth, int screenClass);

} // namespace cw::engine
