// The settings file: a small INI reader/writer (case-insensitive names, whole-file atomic rewrite).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cw::storage {

// An INI file of "[Section]" headers and "key=value" lines. The file is read once and kept in memory;
// it is read again only when it has changed on disk (another copy of the program wrote it). Each write
// is on disk when it returns: under the data folder's lock (FolderLock) the file is read again when
// another copy changed it, the change is made and the whole file written (atomic replace). Section
// and key names match without regard to case; the first section of a name is the one read and
// written. A missing file, section or key or a damaged file gives the caller's default. Writes keep
// every unrelated line and the existing spelling of sections and keys and write CR LF line ends.
// A line longer than kMaxLineLength is cut to that length when the file is read (one notice per read).
class IniFile {
public:
    // Longer lines are no settings the program writes; a file grown by a fault would slow every start.
    static constexpr std::size_t kMaxLineLength = 32768;

    explicit IniFile(std::string path);

    // Where notices go: the write errors (then a failed write does not throw: the change stays in effect
    // for this run and the error is reported once, until a write succeeds again) and the notice about
    // cut lines. Without a reporter a failed write throws FileError and changes nothing.
    using Reporter = std::function<void(const std::string& text)>;
    void setReporter(Reporter report) { m_report = std::move(report); }

    // Runs writes (calls of the write operations below) as one change of the file: one lock, one read
    // of what another copy wrote, one write at the end.
    void update(const std::function<void()>& writes);

    // How often the file has been read from disk (start-up reads it once).
    std::size_t loads() const { return m_loads; }

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

    // The text of a settings file with its overlong lines cut; the number of lines cut.
    static std::size_t cutLongLines(std::vector<std::string>& lines);

private:
    // What identifies one version of the file on disk.
    struct Stamp {
        bool exists = false;
        std::uint64_t device = 0, inode = 0;
        std::int64_t size = 0, modifiedNs = 0, changedNs = 0;
        std::uint64_t generation = 0; // writes by this process (two objects on one file)
        bool operator==(const Stamp&) const = default;
    };
    Stamp stampNow() const;
    // The lines as on disk, read again when the file changed (not inside update()).
    const std::vector<std::string>& lines() const;
    // Changes the lines (edit returns whether it changed anything) and writes the file.
    void change(const std::function<bool(std::vector<std::string>&)>& edit);
    // Writes the lines; the error text on failure ("" on success).
    std::string save(std::vector<std::string> lines);
    // Throws FileError without a reporter; else reports the error (once while writes keep failing).
    void fail(const std::string& error);

    std::string m_path;
    Reporter m_report;
    mutable std::vector<std::string> m_lines;
    mutable Stamp m_stamp;
    mutable bool m_loaded = false;
    mutable std::size_t m_loads = 0;
    int m_updating = 0;     // depth of update()
    bool m_changed = false; // update() has changes to write
    bool m_failing = false; // the last write failed and was reported
};

}  // namespace cw::storage
