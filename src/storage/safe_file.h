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
// The file could not be opened at all (what() is cannotOpenMessage); nothing in it changed.
class OpenError : public FileError {
public:
    using FileError::FileError;
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

// Writes all bytes to fd; false on any error. target names the file the bytes are for (the file a
// temporary copy will replace), for the fault layer below.
bool writeAll(int fd, std::string_view data, const std::string& target = {});

// Renames and deletes a file through the fault layer; the result of rename(2) and unlink(2) (0 on success).
int renameFile(const std::string& from, const std::string& to);
int removeFile(const std::string& path);

// Atomically replaces (or creates) path with contents: temp file in the same folder, fsync, rename.
// Throws FileError with the message to show on failure; the old file is then left untouched.
// durable = false leaves out the fsync: the replace still cannot tear the file when the program is
// killed, and small files rewritten at every game end do not wait for the disk.
void writeFileAtomic(const std::string& path, std::string_view contents, const std::string& prefix = "~cw",
                     bool durable = true);

// Appends bytes to the end of path (created when missing) as one piece. When the disk takes only part
// of them the part is cut off again, so the file never ends in half a record. Throws OpenError
// (cannotOpenMessage) when the file cannot be opened, FileError(kWriteError + " " + path) when the bytes
// do not fit.
void appendWhole(const std::string& path, std::string_view bytes);
// The size of path in bytes (0 when it does not exist).
std::int64_t fileSizeOf(const std::string& path);
// appendWhole at a known offset: the file's size when the append was planned (an append written down
// before it is made, and made again after a crash). Bytes that already stand there are not written
// twice, a torn tail past offset is replaced; a file that has become shorter gets the bytes at its end.
void appendWholeAt(const std::string& path, std::int64_t offset, std::string_view bytes);

// ---- Fault layer (tests) ----
// Stands for the program being killed at a chosen file operation: thrown by a test's FileFaults and
// caught nowhere in the program (it is neither a FileError nor a std::exception), so the files are
// left exactly as a crash at that point leaves them.
struct SimulatedCrash {};

// Every write, rename and delete of the program's data files asks the installed FileFaults first.
// Only tests install one.
class FileFaults {
public:
    virtual ~FileFaults() = default;
    // Before size bytes meant for target are written: returns how many of them reach the file (fewer:
    // the disk is full after those), or throws SimulatedCrash.
    virtual std::size_t beforeWrite(const std::string& target, std::size_t size)
    {
        (void)target;
        return size;
    }
    // Before a rename or a delete; may throw SimulatedCrash.
    virtual void beforeRename(const std::string& from, const std::string& to) { (void)from, (void)to; }
    virtual void beforeRemove(const std::string& path) { (void)path; }
};
// Installs faults (nullptr: none) and returns the previous ones.
FileFaults* installFileFaults(FileFaults* faults);

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
