// The tamper-evident value forms of the overall score and single-game files.
#include "stats/tamper_code.h"

#include <algorithm>
#include <array>
#include <vector>

#include "storage/fixed_width.h"

namespace cw::stats {

namespace {

constexpr std::string_view kKey = "46287";

std::string randomDigit(const DigitDraw& draw) { return std::string(1, char('0' + draw(8))); }

// Places the digits of value (zero-padded to positions.size()) at the 0-based positions of a layout of
// random digits of the given length.
std::string layout(std::int64_t value, std::int64_t max, std::size_t length, const std::vector<std::size_t>& positions,
                   const DigitDraw& draw) {
    std::string out;
    for (std::size_t i = 0; i < length; ++i) out += randomDigit(draw);
    std::string digits = storage::fixedNumber(std::clamp<std::int64_t>(value, 0, max), int(positions.size()));
    for (std::size_t k = 0; k < positions.size(); ++k) out[positions[k]] = digits[k];
    return out;
}

std::optional<std::int64_t> digitsAt(std::string_view text, const std::vector<std::size_t>& positions) {
    std::int64_t v = 0;
    for (std::size_t p : positions) {
        if (p >= text.size() || text[p] < '0' || text[p] > '9') return std::nullopt;
        v = v * 10 + (text[p] - '0');
    }
    return v;
}

std::optional<std::int64_t> number(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::int64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

const std::vector<std::size_t>& totalScorePositions() {
    static const std::vector<std::size_t> p = [] {
        std::vector<std::size_t> v;
        for (std::size_t i = 0; i < 12; ++i) v.push_back(2 + 2 * i);  // 3, 5, ..., 25 counted from 1
        return v;
    }();
    return p;
}

const std::vector<std::size_t>& totalTimePositions() {
    static const std::vector<std::size_t> p = [] {
        std::vector<std::size_t> v;
        for (std::size_t i = 0; i < 12; ++i) v.push_back(1 + 2 * i);  // 2, 4, ..., 24 counted from 1
        return v;
    }();
    return p;
}

const std::vector<std::size_t> kScorePositions = {1, 2, 4, 5, 7, 8};  // 2-3, 5-6, 8-9
const std::vector<std::size_t> kTimePositions = {2, 3, 5, 6, 8, 9};   // 3-4, 6-7, 9-10

std::string withCheck(std::string ten, std::string_view prefix) {
    std::string covered = std::string(prefix) + ten;
    return ten + storage::fixedNumber(checkNumber(covered), 6);
}

std::optional<std::int64_t> readGameLayout(std::string_view value, std::string_view prefix,
                                           const std::vector<std::size_t>& positions) {
    if (value.size() < 16) return std::nullopt;
    auto v = digitsAt(value, positions);
    auto stored = number(value.substr(10, 6));
    if (!v || !stored) return std::nullopt;
    if (*v != 0 || *stored != 0) {
        if (checkNumber(std::string(prefix) + std::string(value.substr(0, 10))) != *stored) return std::nullopt;
    }
    return v;
}

}  // namespace

std::int64_t checkNumber(std::string_view s) {
    std::int64_t sum = 0;
    for (std::size_t k = 0; k < s.size(); ++k) {
        std::int64_t i = std::int64_t(k) + 1;
        std::int64_t c = static_cast<unsigned char>(s[k]);
        sum += c + (i * c) / 2 + (i + c) % 3 + i;
    }
    return sum;
}

std::string scramble(std::string_view plain) {
    std::string out(plain);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = char((static_cast<unsigned char>(out[i]) + static_cast<unsigned char>(kKey[i % 5])) & 0xFF);
    return out;
}

std::string unscramble(std::string_view stored) {
    std::string out(stored);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = char((static_cast<unsigned char>(out[i]) - static_cast<unsigned char>(kKey[i % 5]) + 256) & 0xFF);
    return out;
}

std::string buildTotalScore(std::int64_t value, const DigitDraw& draw) {
    return layout(value, kMaxTotalValue, 28, totalScorePositions(), draw);
}

std::string buildTotalTime(std::int64_t value, const DigitDraw& draw) {
    return layout(value, kMaxTotalValue, 28, totalTimePositions(), draw);
}

std::string buildTotalCheck(std::string_view stamp, std::string_view t01, std::string_view t02) {
    std::string s = std::string(stamp) + std::string(t01) + std::string(t02);
    return std::string(stamp) + storage::fixedNumber(checkNumber(s), 8);
}

std::string buildScoreLayout(std::int64_t value, std::string_view checkPrefix, const DigitDraw& draw) {
    return withCheck(layout(value, kMaxGameValue, 10, kScorePositions, draw), checkPrefix);
}

std::string buildTimeLayout(std::int64_t value, std::string_view checkPrefix, const DigitDraw& draw) {
    return withCheck(layout(value, kMaxGameValue, 10, kTimePositions, draw), checkPrefix);
}

std::optional<std::int64_t> readTotalScore(std::string_view t01) {
    if (t01.size() < 28) return std::nullopt;
    return digitsAt(t01, totalScorePositions());
}

std::optional<std::int64_t> readTotalTime(std::string_view t02) {
    if (t02.size() < 28) return std::nullopt;
    return digitsAt(t02, totalTimePositions());
}

bool totalsCheckOk(std::string_view t01, std::string_view t02, std::string_view t03) {
    auto score = readTotalScore(t01);
    auto time = readTotalTime(t02);
    if (!score || !time || t03.size() < 12) return false;
    auto stored = number(t03.substr(4, 8));
    if (!stored) return false;
    if (*stored == 0 && *score == 0 && *time == 0) return true;
    // The stamp comes from the stored value, so files written by another version still verify.
    std::string s = std::string(t03.substr(0, 4)) + std::string(t01.substr(0, 28)) + std::string(t02.substr(0, 28));
    return checkNumber(s) == *stored;
}

std::optional<std::int64_t> readScoreLayout(std::string_view value, std::string_view checkPrefix) {
    return readGameLayout(value, checkPrefix, kScorePositions);
}

std::optional<std::int64_t> readTimeLayout(std::string_view value, std::string_view checkPrefix) {
    return readGameLayout(value, checkPrefix, kTimePositions);
}

}  // namespace cw::stats
