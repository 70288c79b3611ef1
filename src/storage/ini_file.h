// The settings file: a small INI reader/writer (case-insensitive names, whole-file atomic rewrite).
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cw::storage {

// An INI file of "[Section]" headers and "key=value" lines. Every call opens, reads (or rewrites) and
// closes the file, so a write is on disk when it returns. Section and key names match without regard
// to case; the first section of a name is the one read and written. A missing file, section or key or
// a damaged file gives the caller's default. Writes keep every unrelated line and the existing spelling
// of sections and keys, write CR LF line ends, and throw FileError when the file cannot be replaced.
class IniFile {
public:
    explicit IniFile(std::string path);

    // The path given at construction (the file itself is looked up case-insensitively at each access).
    const std::string& path() const { return m_path; }

    // Value of section/key with surrounding blanks removed, or def when absent.
    std::string readString(std::string_view section, std::string_view key, std::string_view def) const;
    // Decimal integer value, or def when absent or not an integer (out of range counts as not an integer).
    int readInteger(std::string_view section, std::string_view key, int def) const;
    // "Y"/"1"/"yes"/"true" are true, "N"/"0"/"no"/"false" false (any case); anything else gives def.
    bool readBool(std::string_view section, std::string_view key, bool def) const;
    // True when the key exists in the section.
    bool hasKey(std::string_view section, std::string_view key) const;
    // True when the section exists.
    bool hasSection(std::string_view section) const;

    // Sets section/key to value (line breaks in the value become blanks); creates file and section as needed.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    // Sets several keys of one section with one rewrite of the file (only when something changed).
    void writeStrings(std::string_view section, const std::vector<std::pair<std::string, std::string>>& values);
    // Writes the integer as decimal text.
    void writeInteger(std::string_view section, std::string_view key, long long value);
    // Writes "Y" or "N".
    void writeBool(std::string_view section, std::string_view key, bool value);
    // Removes every section of that name with all its lines.
    void eraseSection(std::string_view section);
    // Removes the key's lines from the section.
    void deleteKey(std::string_view section, std::string_view key);

    // Keys of the section in file order (their spelling in the file).
    std::vector<std::string> readSectionKeys(std::string_view section) const;
    // "key=value" texts of the section in file order.
    std::vector<std::string> readSectionValues(std::string_view section) const;
    // Names of all sections in file order.
    std::vector<std::string> readSections() const;

private:
    std::vector<std::string> loadLines() const;
    void saveLines(const std::vector<std::string>& lines);

    std::string m_path;
};

}  // namespace cw::storage
