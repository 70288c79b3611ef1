// The game-number history, typed numbers, and the previous and lost deals read from game log lines.
#include "catalog/game_numbers.h"

#include "catalog/definitions.h"
#include "catalog/last_played.h"
#include "storage/fixed_width.h"
#include "storage/ini_file.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <tuple>

namespace cw::catalog {

namespace {

// 1-based columns of a log line, counted in characters; "" past its end.
std::string column(std::string_view line, std::size_t first, std::size_t width)
{
    return storage::textColumn(line, first, width);
}

std::string trimmed(std::string_view s)
{
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    std::size_t e = s.find_last_not_of(' ');
    return std::string(s.substr(b, e - b + 1));
}

// The number field: the log writes it left-aligned in a 15-character field after a blank, so the
// blanks around it are removed rather than relying on where the digits start.
std::string numberField(std::string_view line) { return trimmed(column(line, 127, 16)); }
bool wonField(std::string_view line) { return column(line, 113, 4) == "Won "; }

} // namespace

std::vector<std::string> WithGameNumberAdded(std::vector<std::string> list, std::string_view number)
{
    std::size_t removed = 0;
    for (auto it = list.begin(); it != list.end();) {
        if (*it == number) {
            it = list.erase(it);
            ++removed;
        } else {
            ++it;
        }
    }
    list.resize(list.size() + removed);
    list.insert(list.begin(), std::string(number));
    if (list.size() > std::size_t(kHistoryLength)) list.resize(std::size_t(kHistoryLength));
    return list;
}

void AddGameNumberToHistory(storage::IniFile& ini, std::string_view number)
{
    WriteHistory(ini, kGameNumbersSection, WithGameNumberAdded(ReadHistory(ini, kGameNumbersSection), number));
}

std::vector<std::string> ReadGameNumberHistory(const storage::IniFile& ini)
{
    std::vector<std::string> out;
    for (std::string& v : ReadHistory(ini, kGameNumbersSection))
        if (!v.empty()) out.push_back(std::move(v));
    return out;
}

TypedNumber NormalizeGameNumber(std::string_view typed)
{
    std::string text = trimmed(typed);
    if (text.empty()) return {NumberCheck::Empty, {}};
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return {NumberCheck::NotDigits, {}};
    if (text.size() < std::size_t(kGameNumberDigits)) text.insert(0, std::size_t(kGameNumberDigits) - text.size(), '0');
    text = text.substr(text.size() - std::size_t(kGameNumberDigits));
    bool zero = std::all_of(text.begin(), text.end(), [](char c) { return c == '0'; });
    return {zero ? NumberCheck::Zero : NumberCheck::Ok, text};
}

std::vector<PreviousGame> PreviousGames(const std::vector<std::string>& logLines, std::size_t limit)
{
    std::vector<PreviousGame> out;
    for (auto it = logLines.rbegin(); it != logLines.rend() && out.size() < limit; ++it) {
        const std::string& line = *it;
        if (line.empty()) continue;
        out.push_back(PreviousGame{std::string(column(line, 1, 8)),
                                   std::string(TrimTrailingBlanks(column(line, 31, 50))),
                                   std::string(TrimTrailingBlanks(column(line, 82, 30))), wonField(line),
                                   numberField(line)});
    }
    return out;
}

std::set<std::string> GamesWonBy(const std::vector<std::string>& logLines, std::string_view player)
{
    std::set<std::string> won;
    for (const std::string& line : logLines)
        if (wonField(line) && TrimTrailingBlanks(column(line, 82, 30)) == player)
            won.insert(std::string(TrimTrailingBlanks(column(line, 31, 50))));
    return won;
}

std::vector<LostDeal> LostDeals(const std::vector<std::string>& logLines, std::string_view gameName)
{
    // number -> the first record in the order of number, player, date and time; and whether won.
    std::map<std::string, std::pair<LostDeal, bool>> byNumber;
    for (const std::string& line : logLines) {
        if (TrimTrailingBlanks(column(line, 31, 50)) != gameName) continue;
        LostDeal d{numberField(line), std::string(TrimTrailingBlanks(column(line, 82, 30))),
                   std::string(column(line, 1, 8)), std::string(column(line, 10, 8))};
        if (d.gameNumber.empty()) continue;
        bool won = wonField(line);
        auto [it, added] = byNumber.try_emplace(d.gameNumber, d, won);
        if (added) continue;
        it->second.second = it->second.second || won;
        const LostDeal& kept = it->second.first;
        if (std::tie(d.player, d.date, d.time) < std::tie(kept.player, kept.date, kept.time)) it->second.first = d;
    }
    std::vector<LostDeal> out;
    for (auto& [number, entry] : byNumber)
        if (!entry.second) out.push_back(entry.first);
    std::stable_sort(out.begin(), out.end(), [](const LostDeal& a, const LostDeal& b) {
        return std::tie(a.date, a.time) > std::tie(b.date, b.time);
    });
    return out;
}

bool IsValidLogDate(std::string_view date)
{
    if (date.size() != 8 || !std::all_of(date.begin(), date.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    int y = std::stoi(std::string(date.substr(0, 4)));
    int m = std::stoi(std::string(date.substr(4, 2)));
    int d = std::stoi(std::string(date.substr(6, 2)));
    if (y < 1 || m < 1 || m > 12 || d < 1) return false;
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= days[m - 1] + (m == 2 && leap ? 1 : 0);
}

} // namespace cw::catalog
