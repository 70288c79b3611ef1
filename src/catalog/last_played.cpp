// The last played games list and the twenty-key history sections.
#include "catalog/last_played.h"

#include "storage/fixed_width.h"
#include "storage/ini_file.h"

#include <algorithm>
#include <cstdio>

namespace cw::catalog {

std::string HistoryKey(int index)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "Game0%02d", (index + 1) % 100);
    return buf;
}

std::vector<std::string> ReadHistory(const storage::IniFile& ini, std::string_view section)
{
    std::vector<std::string> values;
    for (int i = 0; i < kHistoryLength; ++i) values.push_back(ini.readString(section, HistoryKey(i), ""));
    return values;
}

void WriteHistory(storage::IniFile& ini, std::string_view section, const std::vector<std::string>& values)
{
    // Each write replaces the whole settings file, so keys that keep their value are left alone.
    std::vector<std::string> old = ReadHistory(ini, section);
    for (int i = 0; i < kHistoryLength; ++i) {
        std::string value = std::size_t(i) < values.size() ? values[std::size_t(i)] : "";
        if (value != old[std::size_t(i)] || !ini.hasKey(section, HistoryKey(i))) ini.writeString(section, HistoryKey(i), value);
    }
}

std::vector<std::string> WithLastPlayedAdded(std::vector<std::string> list, std::string_view entry)
{
    if (std::find(list.begin(), list.end(), entry) != list.end()) return list;
    list.insert(list.begin(), std::string(entry));
    if (list.size() > std::size_t(kHistoryLength)) list.resize(std::size_t(kHistoryLength));
    return list;
}

std::vector<std::string> WithLastPlayedRemoved(std::vector<std::string> list, std::string_view entry)
{
    auto it = std::find(list.begin(), list.end(), entry);
    if (it == list.end()) return list;
    list.erase(it);
    list.emplace_back();
    return list;
}

bool AddLastPlayedGame(storage::IniFile& ini, int id)
{
    std::vector<std::string> before = ReadHistory(ini, kLastPlayedSection);
    std::vector<std::string> after = WithLastPlayedAdded(before, storage::fixedNumber(id, 4));
    if (after == before) return false;
    WriteHistory(ini, kLastPlayedSection, after);
    return true;
}

bool RemoveLastPlayedGame(storage::IniFile& ini, int id)
{
    std::vector<std::string> before = ReadHistory(ini, kLastPlayedSection);
    std::vector<std::string> after = WithLastPlayedRemoved(before, storage::fixedNumber(id, 4));
    if (after == before) return false;
    WriteHistory(ini, kLastPlayedSection, after);
    return true;
}

std::vector<int> ReadLastPlayedGames(const storage::IniFile& ini)
{
    std::vector<int> ids;
    for (const std::string& v : ReadHistory(ini, kLastPlayedSection))
        if (auto id = storage::parseInteger(v); id && *id >= 0) ids.push_back(int(*id));
    return ids;
}

} // namespace cw::catalog
