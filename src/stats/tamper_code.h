// The tamper-evident value forms of the overall score and single-game files: check numbers, random
// digits, digit layouts and the scrambling with a fixed key.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace cw::stats {

// C(s): the sum over i = 1..length of (c + trunc(i * c / 2) + ((i + c) mod 3) + i), c the i-th byte.
std::int64_t checkNumber(std::string_view s);

// Adds (scramble) or subtracts (unscramble) the codes of "46287", repeated, byte by byte modulo 256.
std::string scramble(std::string_view plain);
std::string unscramble(std::string_view stored);

// Draws a digit 0..maxDigit.
using DigitDraw = std::function<int(int maxDigit)>;

// The largest values the layouts can hold: six digits per game, twelve for the totals. Values are
// clamped into 0..max before they are stored, so that a stored value always reads back.
inline constexpr std::int64_t kMaxGameValue = 999999;
inline constexpr std::int64_t kMaxTotalValue = 999999999999;

// Unscrambled layouts (r = random digit 0-8, d = digit of the zero-padded value).
// "T01": r r (d r)x12 r r — 28 characters.
std::string buildTotalScore(std::int64_t value, const DigitDraw& draw);
// "T02": r (d r)x12 r r r — 28 characters.
std::string buildTotalTime(std::int64_t value, const DigitDraw& draw);
// "T03": stamp + C(stamp + T01 + T02) in 8 digits — 12 characters.
std::string buildTotalCheck(std::string_view stamp, std::string_view t01, std::string_view t02);
// "GS-": r d d r d d r d d r + C of those 10 in 6 digits. The check covers prefix + the 10 characters
// (empty prefix for the overall score; the key for the single-game values, binding value and key).
std::string buildScoreLayout(std::int64_t value, std::string_view checkPrefix, const DigitDraw& draw);
// "GT-": r r d d r d d r d d + check, as above.
std::string buildTimeLayout(std::int64_t value, std::string_view checkPrefix, const DigitDraw& draw);

// Readers of unscrambled forms; nullopt when a field does not parse or the check fails.
std::optional<std::int64_t> readTotalScore(std::string_view t01);
std::optional<std::int64_t> readTotalTime(std::string_view t02);
// Verifies "T03" against T01 and T02 (skipped when the check number and both totals are 0).
bool totalsCheckOk(std::string_view t01, std::string_view t02, std::string_view t03);
std::optional<std::int64_t> readScoreLayout(std::string_view value, std::string_view checkPrefix);
std::optional<std::int64_t> readTimeLayout(std::string_view value, std::string_view checkPrefix);

// What a missing key reads as (unscrambled): 30 zeros, which decodes to 0 and passes every check.
inline const std::string kMissingValuePlain(30, '0');

}  // namespace cw::stats
