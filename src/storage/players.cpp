// Players: the names kept in the settings file, the name check, and the list the "Players" dialog edits.
#include "storage/players.h"

#include <algorithm>
#include <cctype>

#include "storage/fixed_width.h"
#include "storage/preferences.h"
#include "storage/safe_file.h"

namespace cw::storage {

namespace {

constexpr std::string_view kForbidden = "\\/:*?\"<>|";

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string slotKey(int n) { return "User" + fixedNumber(n, 3); }

}  // namespace

std::string playerNameMessage(PlayerNameProblem problem) {
    switch (problem) {
        case PlayerNameProblem::None: return {};
        case PlayerNameProblem::Empty: return "Please enter at least 1 character.";
        case PlayerNameProblem::ForbiddenCharacter:
            return "A Player name cannot contain any of the following characters: \\ / : * ? \" < > | [ ] =\r"
                   "nor control characters (such as a tab) or two dots in a row (..).";
        case PlayerNameProblem::TooLong: return "A Player name cannot be longer than 30 characters.";
        case PlayerNameProblem::Duplicate: return "This player name already exists.";
        case PlayerNameProblem::Reserved:
            return "A Player name cannot be \"Version\" or \"Clear scores\": the statistics files use these names.";
    }
    return {};
}

std::string normalizePlayerName(std::string_view name) { return trim(name); }

PlayerNameProblem checkPlayerName(std::string_view raw) {
    std::string name = normalizePlayerName(raw);
    if (name.empty()) return PlayerNameProblem::Empty;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F || kForbidden.find(char(c)) != std::string_view::npos || c == '[' || c == ']' ||
            c == '=')
            return PlayerNameProblem::ForbiddenCharacter;
    }
    if (name.find("..") != std::string::npos) return PlayerNameProblem::ForbiddenCharacter;
    if (textLength(name) > std::size_t(kMaxPlayerNameLength))
        return PlayerNameProblem::TooLong;
    if (equalsNoCase(name, "Version") || equalsNoCase(name, "Clear scores"))
        return PlayerNameProblem::Reserved;
    return PlayerNameProblem::None;
}

std::vector<std::string> readPlayerSlots(const IniFile& settings) {
    std::vector<std::string> out;
    for (int n = 1; n <= kMaxPlayers; ++n) {
        std::string v = settings.readString(kUsersSection, slotKey(n), "");
        if (!v.empty()) out.push_back(v);
    }
    return out;
}

void sortPlayerNames(std::vector<std::string>& names) {
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return lower(a) < lower(b); });
}

std::vector<std::string> listPlayers(const IniFile& settings) {
    auto names = readPlayerSlots(settings);
    sortPlayerNames(names);
    return names;
}

void writePlayerSlots(IniFile& settings, const std::vector<std::string>& names) {
    settings.update([&] {
        for (int n = 1; n <= kMaxPlayers; ++n)
            settings.writeString(kUsersSection, slotKey(n), std::size_t(n) <= names.size() ? names[n - 1] : "");
    });
}

void renamePlayerInSettings(IniFile& settings, const std::string& oldName, const std::string& newName)
{
    settings.update([&] {
        for (int n = 1; n <= kMaxPlayers; ++n)
            if (settings.readString(kUsersSection, slotKey(n), "") == oldName)
                settings.writeString(kUsersSection, slotKey(n), newName);
        if (settings.readString(kPreferenceSection, "UserDefault", "") == oldName)
            settings.writeString(kPreferenceSection, "UserDefault", newName);
    });
}

int firstInvalidPlayerName(const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (!isValidPlayerName(names[i])) return int(i);
    return -1;
}

std::string renamePlayerMessage(const std::string& name) {
    PlayerNameProblem problem = checkPlayerName(name);
    if (problem == PlayerNameProblem::None || problem == PlayerNameProblem::Empty)
        problem = PlayerNameProblem::ForbiddenCharacter;
    return playerNameMessage(problem) + "\rPlease rename the Player name:  " + name;
}

bool playerNamesNeedRenaming(IniFile& settings) {
    if (settings.readString("Parameters", "Players_Names_V01", "N") != "N") return false;
    settings.writeString("Parameters", "Players_Names_V01", "Y");
    return firstInvalidPlayerName(readPlayerSlots(settings)) >= 0;
}

PlayerRoster::PlayerRoster(std::vector<std::string> names, std::string current)
    : m_names(std::move(names)), m_current(std::move(current)) {
    sortPlayerNames(m_names);
}

bool PlayerRoster::isDuplicate(std::string_view name, std::size_t except) const {
    std::string key = lower(rtrim(name));
    for (std::size_t i = 0; i < m_names.size(); ++i)
        if (i != except && lower(rtrim(m_names[i])) == key) return true;
    return false;
}

PlayerNameProblem PlayerRoster::add(std::string_view raw) {
    if (auto p = checkPlayerName(raw); p != PlayerNameProblem::None) return p;
    std::string name = normalizePlayerName(raw);
    if (isDuplicate(name, std::string::npos)) return PlayerNameProblem::Duplicate;
    m_names.push_back(name);
    sortPlayerNames(m_names);
    m_changed = true;
    return PlayerNameProblem::None;
}

PlayerNameProblem PlayerRoster::rename(std::size_t index, std::string_view raw) {
    if (index >= m_names.size()) return PlayerNameProblem::Empty;
    if (auto p = checkPlayerName(raw); p != PlayerNameProblem::None) return p;
    std::string name = normalizePlayerName(raw);
    if (isDuplicate(name, index)) return PlayerNameProblem::Duplicate;
    if (m_names[index] == name) return PlayerNameProblem::None;
    if (m_names[index] == m_current) m_current = name;
    m_names[index] = name;
    sortPlayerNames(m_names);
    m_changed = true;
    return PlayerNameProblem::None;
}

bool PlayerRoster::remove(std::size_t index) {
    if (index >= m_names.size() || m_names[index] == m_current) return false;
    m_names.erase(m_names.begin() + std::ptrdiff_t(index));
    m_changed = true;
    return true;
}

int PlayerRoster::indexOf(std::string_view name) const {
    for (std::size_t i = 0; i < m_names.size(); ++i)
        if (m_names[i] == name) return int(i);
    return -1;
}

}  // namespace cw::storage
