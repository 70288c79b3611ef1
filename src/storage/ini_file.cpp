// The settings file: a small INI reader/writer (case-insensitive names, whole-file atomic rewrite).
#include "storage/ini_file.h"

#include <map>
#include <optional>

#include <sys/stat.h>

#include "storage/fixed_width.h"
#include "storage/folder_lock.h"
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

// Writes of this process by file, so that two objects on one file see each other's writes even when
// the file system's clock does not tell them apart.
std::uint64_t& generationOf(const std::string& path)
{
    static std::map<std::string, std::uint64_t> generations;
    return generations[path];
}

std::string cutNotice(const std::string& path, std::size_t count)
{
    return "The settings file " + path + " had " + std::to_string(count) + " line" + (count == 1 ? "" : "s") +
           " longer than " + std::to_string(IniFile::kMaxLineLength) + " characters; " +
           (count == 1 ? "it was" : "they were") + " cut to that length.";
}

}  // namespace

IniFile::IniFile(std::string path) : m_path(std::move(path)) {}

std::size_t IniFile::cutLongLines(std::vector<std::string>& lines)
{
    std::size_t cut = 0;
    for (std::string& l : lines)
        if (l.size() > kMaxLineLength) {
            l.resize(kMaxLineLength);
            l.shrink_to_fit();
            ++cut;
        }
    return cut;
}

IniFile::Stamp IniFile::stampNow() const
{
    Stamp s;
    std::string path = resolveNoCase(m_path);
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) {
        s.exists = true;
        s.device = std::uint64_t(st.st_dev);
        s.inode = std::uint64_t(st.st_ino);
        s.size = std::int64_t(st.st_size);
        s.modifiedNs = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        s.changedNs = std::int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    }
    s.generation = generationOf(path);
    return s;
}

const std::vector<std::string>& IniFile::lines() const
{
    if (m_updating > 0)
        return m_lines; // the lock is held: nobody else writes
    Stamp now = stampNow();
    if (m_loaded && now == m_stamp)
        return m_lines;
    m_lines.clear();
    std::string path = resolveNoCase(m_path);
    if (auto data = readWholeFile(path)) {
        m_lines = splitLines(*data);
        data.reset();
        if (std::size_t cut = cutLongLines(m_lines); cut > 0 && m_report)
            m_report(cutNotice(path, cut));
    }
    m_stamp = now;
    m_loaded = true;
    ++m_loads;
    return m_lines;
}

void IniFile::fail(const std::string& error)
{
    if (!m_report)
        throw FileError(error);
    if (!m_failing)
        m_report(error);
    m_failing = true;
}

std::string IniFile::save(std::vector<std::string> newLines)
{
    std::string out;
    for (const auto& l : newLines) {
        out += l;
        out += "\r\n";
    }
    std::string path = resolveNoCase(m_path);
    try {
        writeFileAtomic(path, out);
    } catch (const FileError& e) {
        if (m_report)
            m_lines = std::move(newLines); // reported, not thrown: the choice stays for this run
        return e.what();
    }
    ++generationOf(path);
    m_failing = false;
    m_lines = std::move(newLines);
    m_stamp = stampNow();
    return {};
}

void IniFile::change(const std::function<bool(std::vector<std::string>&)>& edit)
{
    if (m_updating > 0) {
        if (edit(m_lines))
            m_changed = true;
        return;
    }
    // One change is an update of its own: the lock, what another copy wrote, one write.
    update([&] { change(edit); });
}

void IniFile::update(const std::function<void()>& writes)
{
    if (m_updating > 0) {
        writes();
        return;
    }
    std::string error;
    {
        std::optional<FolderLock> lock;
        try {
            lock.emplace(folderOf(m_path));
        } catch (const FileError& e) {
            if (!m_report)
                throw;
            error = e.what(); // the writes below still change this run's copy
        }
        (void)lines();
        std::vector<std::string> before = m_lines;
        ++m_updating;
        m_changed = false;
        try {
            writes();
        } catch (...) {
            --m_updating;
            m_lines = std::move(before);
            throw;
        }
        --m_updating;
        if (!m_changed)
            return;
        std::vector<std::string> after = std::move(m_lines);
        m_lines = std::move(before);
        if (lock)
            error = save(std::move(after));
        else
            m_lines = std::move(after);
    }
    // Told once the lock is released: a box on screen must not hold up another copy.
    if (!error.empty())
        fail(error);
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view def) const {
    const auto& ls = lines();
    size_t i = findKey(ls, findSection(ls, section), key);
    if (i == std::string::npos) return std::string(def);
    return keyLine(ls[i])->value;
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
    const auto& ls = lines();
    return findKey(ls, findSection(ls, section), key) != std::string::npos;
}

bool IniFile::hasSection(std::string_view section) const {
    return findSection(lines(), section).begin != std::string::npos;
}

namespace {

// Sets section/key in the lines; false when the line already held the value.
bool setValue(std::vector<std::string>& ls, std::string_view section, std::string_view key, std::string_view value)
{
    std::string k = trim(oneLine(key));
    std::string v = oneLine(value);
    Range r = findSection(ls, section);
    if (r.begin == std::string::npos) {
        ls.push_back("[" + trim(oneLine(section)) + "]");
        ls.push_back(k + "=" + v);
    } else if (size_t i = findKey(ls, r, k); i != std::string::npos) {
        std::string newLine = keyLine(ls[i])->key + "=" + v;
        if (ls[i] == newLine)
            return false;
        ls[i] = newLine;
    } else {
        // After the last non-blank line of the section, so that blank separator lines stay in place.
        size_t at = r.end;
        while (at > r.begin && trim(ls[at - 1]).empty())
            --at;
        ls.insert(ls.begin() + long(at), k + "=" + v);
    }
    return true;
}

} // namespace

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    change([&](std::vector<std::string>& ls) { return setValue(ls, section, key, value); });
}

// Several keys of one section in one rewrite of the file.
void IniFile::writeStrings(std::string_view section, const std::vector<std::pair<std::string, std::string>>& values)
{
    change([&](std::vector<std::string>& ls) {
        bool changed = false;
        for (const auto& [key, value] : values)
            changed = setValue(ls, section, key, value) || changed;
        return changed;
    });
}

void IniFile::writeInteger(std::string_view section, std::string_view key, long long value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
    writeString(section, key, value ? "Y" : "N");
}

void IniFile::eraseSection(std::string_view section) {
    change([&](std::vector<std::string>& ls) {
        bool changed = false;
        for (Range r = findSection(ls, section); r.begin != std::string::npos; r = findSection(ls, section, r.header)) {
            ls.erase(ls.begin() + long(r.header), ls.begin() + long(r.end));
            changed = true;
        }
        return changed;
    });
}

void IniFile::deleteKey(std::string_view section, std::string_view key) {
    change([&](std::vector<std::string>& ls) {
        Range r = findSection(ls, section);
        bool changed = false;
        for (size_t i; (i = findKey(ls, r, key)) != std::string::npos;) {
            ls.erase(ls.begin() + long(i));
            --r.end;
            changed = true;
        }
        return changed;
    });
}

std::vector<std::string> IniFile::readSectionKeys(std::string_view section) const {
    const auto& ls = lines();
    Range r = findSection(ls, section);
    std::vector<std::string> keys;
    if (r.begin == std::string::npos) return keys;
    for (size_t i = r.begin; i < r.end; ++i)
        if (auto kl = keyLine(ls[i]))
            keys.push_back(kl->key);
    return keys;
}

std::vector<std::string> IniFile::readSectionValues(std::string_view section) const {
    const auto& ls = lines();
    Range r = findSection(ls, section);
    std::vector<std::string> out;
    if (r.begin == std::string::npos) return out;
    for (size_t i = r.begin; i < r.end; ++i)
        if (auto kl = keyLine(ls[i]))
            out.push_back(kl->key + "=" + kl->value);
    return out;
}

std::vector<std::string> IniFile::readSections() const {
    std::vector<std::string> out;
    for (const auto& l : lines())
        if (auto h = headerName(l)) out.push_back(*h);
    return out;
}

}  // namespace cw::storage
