// Keyed files: the INI-like statistics files, read by section without loading them and updated in place.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/safe_file.h"

namespace cw::storage {

// A keyed file is a text file of "[name]" header lines, each followed by "key=value" lines (CR LF line
// ends written; LF accepted when reading). Keys and section names match exactly (with case). All
// operations take the full path; the file name itself is looked up without regard to case. Errors throw
// FileError with the text to show: "Cannot open file <path>", "Error creating temp file.", "Write error on
// file", "Error in renaming the file: <tmp>\nto: <path>". A missing file reads as an empty one.

// Key/value pairs of a section, in file order.
using KeyValues = std::vector<std::pair<std::string, std::string>>;

// An open keyed file that callers scanning many sections pass to the operations, which then neither open
// nor close it. Opened for reading and writing (read-only when the file allows no writing).
class FileHandle {
public:
    FileHandle() = default;
    // Opens the file; throws FileError "Cannot open file <path>" when it exists but cannot be opened or
    // when it does not exist.
    explicit FileHandle(const std::string& path);
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool isOpen() const { return m_file != nullptr; }
    bool writable() const { return m_writable; }
    std::FILE* get() const { return m_file; }
    // The path actually opened (case-resolved).
    const std::string& path() const { return m_path; }
    // Opens path (closing any file held); same errors as the constructor.
    void open(const std::string& path);
    // Opens the same path again (after the file was replaced by a new one).
    void reopen() { open(m_path); }
    void close();

private:
    std::FILE* m_file = nullptr;
    bool m_writable = false;
    std::string m_path;
};

// FindSection: 0-based byte offset of the first occurrence of header ("[" + name + "]") anywhere in the
// file, searched in 8192-byte blocks that overlap by the header's length; nullopt when absent.
std::optional<std::int64_t> findSection(const std::string& file, std::string_view header,
                                        FileHandle* handle = nullptr);

// Result of ReadKeyedValue.
struct KeyedValue {
    bool found = false;
    std::string value;  // the default when not found
};

// ReadKeyedValue: value of key in the first section called section (text after the first "=", trailing
// blanks removed); the key line is "key=..." or "key =...".
KeyedValue readKeyedValue(const std::string& file, std::string_view section, std::string_view key,
                          std::string_view def, FileHandle* handle = nullptr);

// Result of ReadKeyedValues.
struct KeyedValues {
    bool allFound = false;
    std::vector<std::string> values;  // one per key; the default where not found
    std::vector<bool> found;
};

// ReadKeyedValues: the values of several keys of one section in one pass (values not trimmed).
KeyedValues readKeyedValues(const std::string& file, std::string_view section,
                            const std::vector<std::string>& keys, const std::vector<std::string>& defaults);

// ListSections: the names of all sections (every line beginning with "[", without first and last character).
std::vector<std::string> listSections(const std::string& file);

// ListSectionKeys: the keys of the first section called section, in file order.
std::vector<std::string> listSectionKeys(const std::string& file, std::string_view section);

// WriteKeyedValue: sets one value; in place when the key exists with a value of the same length, else the
// section is rewritten (new key at its end); a missing section is appended.
void writeKeyedValue(const std::string& file, std::string_view section, std::string_view key,
                     std::string_view value, FileHandle* handle = nullptr);

// OverwriteSection: writes the pairs over the section's content in place when they take the same room
// (trailing blank lines may be left), else rewrites the section; a missing section is appended.
void overwriteSection(const std::string& file, std::string_view section, const KeyValues& pairs,
                      FileHandle* handle = nullptr);

// RewriteSection: replaces the content of an existing section through a temporary copy ("rpl" prefix,
// same folder) renamed over the file; false when the section does not exist. A handle is reopened.
bool rewriteSection(const std::string& file, std::string_view section, const KeyValues& pairs,
                    FileHandle* handle = nullptr);

// AppendSection: adds CR LF + "[section]" + CR LF + the pairs at the end of the file (created if missing).
void appendSection(const std::string& file, std::string_view section, const KeyValues& pairs,
                   FileHandle* handle = nullptr);

// Progress of ReplaceAtColumn: called with the number of lines copied so far, every 10 lines.
using LineProgress = std::function<void(long lines)>;

// ReplaceAtColumn: in every line holding oldText at the 1-based column, replaces it by newText, through a
// temporary copy renamed over the file; false when the file does not exist, true when done.
bool replaceAtColumn(const std::string& file, int column, std::string_view oldText, std::string_view newText,
                     const LineProgress& progress = {});

// CreateEmptyFile: creates an empty file when none exists; returns whether it created one.
bool createEmptyFile(const std::string& file);

}  // namespace cw::storage
