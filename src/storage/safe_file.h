// Whole-file reads, crash-safe whole-file writes, case-insensitive file names and line splitting.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace cw::storage {

// A file operation failed; what() is the message text to show the player (it names the file).
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Message texts shared by every writer of data files ("\n" is the line break inside a message).
std::string cannotOpenMessage(const std::string& path);      // "Cannot open file <path>"
inline constexpr const char* kErrorCreatingTemp = "Error creating temp file.";
inline constexpr const char* kWriteError = "Write error on file";
std::string deleteErrorMessage(const std::string& path);     // "Error in deleting the file: <path>"
std::string renameErrorMessage(const std::string& tmp, const std::string& path);  // "Error in renaming the file: ..."
std::string savingErrorMessage(const std::string& path);     // "Error saving the file: <path>"

// Returns the folder part of a path including its final "/" ("" when the path has no folder).
std::string folderOf(const std::string& path);

// Returns path with its final component matched case-insensitively against the existing entries of
// its folder (folders too, when they do not exist with the exact spelling); unchanged when no match.
std::string resolveNoCase(const std::string& path);

// True when a regular file exists at path (exact spelling; use resolveNoCase first for data files).
bool fileExists(const std::string& path);

// Reads a whole file; nullopt when it does not exist or cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

// Creates a temporary file "<folder><prefix>XXXXXX" with mkstemp; returns its fd and fills tmpPath; -1 on failure.
int makeTempFile(const std::string& folder, const std::string& prefix, std::string& tmpPath);

// Copies the permission bits of existingPath (or the umask default when absent) to the open fd.
void matchPermissions(int fd, const std::string& existingPath);

// Flushes the folder entry of path to disk (after a rename), so the new name survives a power cut.
void syncFolderOf(const std::string& path);

// Writes all bytes to fd; false on any error.
bool writeAll(int fd, std::string_view data);

// Atomically replaces (or creates) path with contents: temp file in the same folder, fsync, rename.
// Throws FileError with the message to show on failure; the old file is then left untouched.
void writeFileAtomic(const std::string& path, std::string_view contents, const std::string& prefix = "~cw");

// Splits text into lines; accepts CR LF and LF (a lone CR stays in the line); no empty last line
// for a final line end.
std::vector<std::string> splitLines(std::string_view text);

// ASCII case-insensitive equality and prefix test (file, section and key names).
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);

// Removes trailing (rtrim) or leading (ltrim) blanks (spaces and tabs) or both (trim).
std::string rtrim(std::string_view s);
std::string ltrim(std::string_view s);
std::string trim(std::string_view s);

}  // namespace cw::storage
