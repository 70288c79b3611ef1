// Text forms of cards: three-digit codes and the 20-character card records.
#include "engine/card.h"

#include <array>

namespace cw::engine {

namespace {
constexpr std::array<const char*, 4> kSuitWords{"CUORI", "QUADR", "FIORI", "PICCH"};
constexpr std::array<const char*, 13> kRankWords{"A",  "02", "03", "04", "05", "06", "07",
                                                 "08", "09", "10", "J",  "Q",  "K"};
} // namespace

std::string codeText(int code)
{
    if (code < 0)
        code = 0;
    if (code > 999)
        code = 999;
    std::string s(3, '0');
    s[0] = static_cast<char>('0' + code / 100);
    s[1] = static_cast<char>('0' + code / 10 % 10);
    s[2] = static_cast<char>('0' + code % 10);
    return s;
}

int parseCode(std::string_view text)
{
    if (text.size() != 3)
        return -1;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        v = v * 10 + (c - '0');
    }
    return v <= kLastCard ? v : -1;
}

std::string cardName(int code)
{
    if (!isCard(code))
        return {};
    if (isJoker(code))
        return "JOKER";
    return std::string(kSuitWords[suit(code)]) + "_" + kRankWords[rank(code) - 1];
}

std::string cardRecord(int code, bool faceUp)
{
    std::string r = cardName(code);
    r.resize(15, ' ');
    r += static_cast<char>('0' + suitDigit(code));
    r += codeText(code);
    r += faceUp ? '1' : '0';
    return r;
}

bool parseCardRecord(std::string_view record, int& code, bool& faceUp)
{
    if (record.size() != 20 || (record[19] != '0' && record[19] != '1'))
        return false;
    const int c = parseCode(record.substr(16, 3));
    if (c < 1)
        return false;
    if (record.substr(0, 16) != std::string_view(cardRecord(c, true)).substr(0, 16))
        return false;
    code = c;
    faceUp = record[19] == '1';
    return true;
}

} // namespace cw::engine
