// Card codes and the pure functions on them: rank, suit, colour, deck, and the 20-character card record.
#pragma once

#include <string>
#include <string_view>

namespace cw::engine {

// A card is an integer code. 0 is the placeholder (an open position, no card);
// 1..52 the first deck, (suit - 1) * 13 + rank, suits in code order Hearts, Diamonds,
// Clubs, Spades; 53..208 decks two to four with the same layout; 209..212 the jokers.
inline constexpr int kPlaceholder = 0;
inline constexpr int kLastDeckCard = 208;
inline constexpr int kFirstJoker = 209;
inline constexpr int kLastCard = 212;
inline constexpr int kJokerRank = 100;

enum class Suit { Hearts = 0, Diamonds = 1, Clubs = 2, Spades = 3 };

// Folds a code of decks two to four onto the first deck; jokers stay jokers.
constexpr int foldToFirstDeck(int code)
{
    if (code > kLastDeckCard)
        return code;
    if (code > 156)
        return code - 156;
    if (code > 104)
        return code - 104;
    if (code > 52)
        return code - 52;
    return code;
}

// Ace 1 .. King 13; 0 for the placeholder, 100 for a joker, -1 for anything else.
constexpr int rank(int code)
{
    if (code == 0)
        return 0;
    if (code < 0 || code > kLastCard)
        return -1;
    if (code >= kFirstJoker)
        return kJokerRank;
    const int r = foldToFirstDeck(code);
    return (r - 1) % 13 + 1;
}

// Suit index 0 Hearts, 1 Diamonds, 2 Clubs, 3 Spades; -1 for jokers and out-of-range codes.
// The placeholder reads as 0 (Hearts) like any code up to 13, which callers rely on only
// through the empty-pile checks that come first.
constexpr int suit(int code)
{
    if (code < 0 || code >= kFirstJoker)
        return -1;
    const int r = foldToFirstDeck(code);
    return r <= 13 ? 0 : (r - 1) / 13;
}

// Hearts and Diamonds of every deck; jokers are neither red nor black.
constexpr bool isRed(int code)
{
    return (code >= 1 && code <= 26) || (code >= 53 && code <= 78) || (code >= 105 && code <= 130) ||
           (code >= 157 && code <= 182);
}
constexpr bool isBlack(int code) { return code >= 1 && code <= kLastDeckCard && !isRed(code); }
constexpr bool isJoker(int code) { return code >= kFirstJoker && code <= kLastCard; }
constexpr bool isPictureCard(int code)
{
    const int r = rank(code);
    return r >= 11 && r <= 13;
}
constexpr bool isCard(int code) { return code >= 1 && code <= kLastCard; }

// 1..4 for the deck a code belongs to; 0 for the placeholder, jokers and anything else.
constexpr int deckOf(int code) { return (code >= 1 && code <= kLastDeckCard) ? (code - 1) / 52 + 1 : 0; }

// The suit digit of the card record: "1".."4" in code order; jokers carry 4.
constexpr int suitDigit(int code) { return isJoker(code) ? 4 : suit(code) + 1; }

// Code of a first-deck card from suit index (0..3) and rank (1..13), plus deck offset (deck 1..4).
constexpr int cardCode(int suitIndex, int rankValue, int deck = 1)
{
    return (deck - 1) * 52 + suitIndex * 13 + rankValue;
}

// "000".."212": the three-digit text of a code (values outside 0..999 are clamped).
std::string codeText(int code);
// Parses exactly three decimal digits; returns -1 when the text is not a code 0..212.
int parseCode(std::string_view text);

// "CUORI_A", "QUADR_10", "PICCH_K", "JOKER"; empty for codes outside 1..212.
std::string cardName(int code);
// The 20-character card record: name padded to 15, suit digit, three-digit code, face flag.
std::string cardRecord(int code, bool faceUp);
// Reads a card record back; false when the text is not a well-formed record.
bool parseCardRecord(std::string_view record, int& code, bool& faceUp);

} // namespace cw::engine
