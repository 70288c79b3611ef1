// The settings file: a small INI reader/writer (case-insensitive names, whole-file atomic rewrite).
#include "storage/ini_file.h"

#include <optional>

#include "storage/fixed_width.h"
#include "storage/safe_file.h"

namespace cw::storage {

namespace {

// Section name of a header line "[name]" (blanks around it allowed), or nullopt for other lines.
std::optional<std::string> headerName(std::string_view line) {
    std::string t = ltrim(line);
    if (t.empty() || t[0] != '[') return std::nullopt;
    auto close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return trim(std::string_view(t).substr(1, close - 1));
}

struct KeyLine {
    std::string key;
    std::string value;
};

// Key and value of a "key=value" line; nullopt for headers, comments, blank and other lines.
std::optional<KeyLine> keyLine(std::string_view line) {
    std::string t = ltrim(line);
    if (t.empty() || t[0] == ';' || t[0] == '[') return std::nullopt;
    auto eq = t.find('=');
    if (eq == std::string::npos) return std::nullopt;
    KeyLine kl{rtrim(std::string_view(t).substr(0, eq)), trim(std::string_view(t).substr(eq + 1))};
    if (kl.key.empty()) return std::nullopt;
    return kl;
}

// Line index range [begin, end) of the body of the first section called name; begin == npos when absent.
struct Range {
    size_t header = std::string::npos;
    size_t begin = std::string::npos;
    size_t end = std::string::npos;
};

Range findSection(const std::vector<std::string>& lines, std::string_view given, size_t from = 0) {
    const std::string name = trim(given);
    Range r;
    for (size_t i = from; i < lines.size(); ++i) {
        auto h = headerName(lines[i]);
        if (!h) continue;
        if (r.begin != std::string::npos) {
            r.end = i;
            return r;
        }
        if (equalsNoCase(*h, name)) {
            r.header = i;
            r.begin = i + 1;
        }
    }
    if (r.begin != std::string::npos) r.end = lines.size();
    return r;
}

// Index of the first line of the range holding key, or npos.
size_t findKey(const std::vector<std::string>& lines, const Range& r, std::string_view given) {
    if (r.begin == std::string::npos) return std::string::npos;
    const std::string key = trim(given);
    for (size_t i = r.begin; i < r.end; ++i) {
        auto kl = keyLine(lines[i]);
        if (kl && equalsNoCase(kl->key, key)) return i;
    }
    return std::string::npos;
}

// Line breaks inside a name or value would create extra lines in the file.
std::string oneLine(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

}  // namespace

IniFile::IniFile(std::string path) : m_path(std::move(path)) {}

std::vector<std::string> IniFile::loadLines() const {
    auto data = readWholeFile(resolveNoCase(m_path));
    if (!data) return {};
    return splitLines(*data);
}

void IniFile::saveLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    writeFileAtomic(resolveNoCase(m_path), out);
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view def) const {
    auto lines = loadLines();
    size_t i = findKey(lines, findSection(lines, section), key);
    if (i == std::string::npos) return std::string(def);
    return keyLine(lines[i])->value;
}

int IniFile::readInteger(std::string_view section, std::string_view key, int def) const {
    auto v = parseInteger(readString(section, key, ""));
    if (!v || *v < INT32_MIN || *v > INT32_MAX) return def;
    return int(*v);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool def) const {
    std::string v = readString(section, key, "");
    for (const char* yes : {"Y", "1", "yes", "true"})
        if (equalsNoCase(v, yes)) return true;
    for (const char* no : {"N", "0", "no", "false"})
        if (equalsNoCase(v, no)) return false;
    return def;
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
    auto lines = loadLines();
    return findKey(lines, findSection(lines, section), key) != std::string::npos;
}

bool IniFile::hasSection(std::string_view section) const {
    auto lines = loadLines();
    return findSection(lines, section).begin != std::string::npos;
}

namespace {

// Sets section/key in the lines; false when the line already held the value.
bool setValue(std::vector<std::string>& lines, std::string_view section, std::string_view key, std::string_view value) {
    std::string k = trim(oneLine(key));
    std::string v = oneLine(value);
    Range r = findSection(lines, section);
    if (r.begin == std::string::npos) {
        lines.push_back("[" + trim(oneLine(section)) + "]");
        lines.push_back(k + "=" + v);
    } else if (size_t i = findKey(lines, r, k); i != std::string::npos) {
        std::string newLine = keyLine(lines[i])->key + "=" + v;
        if (lines[i] == newLine) return false;
        lines[i] = newLine;
    } else {
        // After the last non-blank line of the section, so that blank separator lines stay in place.
        size_t at = r.end;
        while (at > r.begin && trim(lines[at - 1]).empty()) --at;
        lines.insert(lines.begin() + long(at), k + "=" + v);
    }
    return true;
}

}  // namespace

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    auto lines = loadLines();
    if (setValue(lines, section, key, value)) saveLines(lines);
}

void IniFile::writeStrings(std::string_view section, const std::vector<std::pair<std::string, std::string>>& values) {
    auto lines = loadLines();
    bool changed = false;
    for (const auto& [key, value] : values) changed = setValue(lines, section, key, value) || changed;
    if (changed) saveLines(lines);
}

void IniFile::writeInteger(std::string_view section, std::string_view key, long long value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
    writeString(section, key, value ? "Y" : "N");
}

void IniFile::eraseSection(std::string_view section) {
    auto lines = loadLines();
    bool changed = false;
    for (Range r = findSection(lines, section); r.begin != std::string::npos; r = findSection(lines, section, r.header)) {
        lines.erase(lines.begin() + long(r.header), lines.begin() + long(r.end));
        changed = true;
    }
    if (changed) saveLines(lines);
}

void IniFile::deleteKey(std::string_view section, std::string_view key) {
    auto lines = loadLines();
    Range r = findSection(lines, section);
    bool changed = false;
    for (size_t i; (i = findKey(lines, r, key)) != std::string::npos;) {
        lines.erase(lines.begin() + long(i));
        --r.end;
        changed = true;
    }
    if (changed) saveLines(lines);
}

std::vector<std::string> IniFile::readSectionKeys(std::string_view section) const {
    auto lines = loadLines();
    Range r = findSection(lines, section);
    std::vector<std::string> keys;
    if (r.begin == std::string::npos) return keys;
    for (size_t i = r.begin; i < r.end; ++i)
        if (auto kl = keyLine(lines[i])) keys.push_back(kl->key);
    return keys;
}

std::vector<std::string> IniFile::readSectionValues(std::string_view section) const {
    auto lines = loadLines();
    Range r = findSection(lines, section);
    std::vector<std::string> out;
    if (r.begin == std::string::npos) return out;
    for (size_t i = r.begin; i < r.end; ++i)
        if (auto kl = keyLine(lines[i])) out.push_back(kl->key + "=" + kl->value);
    return out;
}

std::vector<std::string> IniFile::readSections() const {
    std::vector<std::string> out;
    for (const auto& l : loadLines())
        if (auto h = headerName(l)) out.push_back(*h);
    return out;
}

}  // namespace cw::storage
