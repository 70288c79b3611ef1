// Whole-file reads, crash-safe whole-file writes, case-insensitive file names and line splitting.
#include "storage/safe_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cw::storage {

namespace fs = std::filesystem;

std::string cannotOpenMessage(const std::string& path) { return "Cannot open file " + path; }
std::string deleteErrorMessage(const std::string& path) { return "Error in deleting the file: " + path; }
std::string renameErrorMessage(const std::string& tmp, const std::string& path) {
    return "Error in renaming the file: " + tmp + "\n" + "to:" + " " + path;
}
std::string savingErrorMessage(const std::string& path) { return "Error saving the file: " + path; }

std::string folderOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

static char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

static bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string rtrim(std::string_view s) {
    size_t n = s.size();
    while (n > 0 && isBlank(s[n - 1])) --n;
    return std::string(s.substr(0, n));
}

std::string ltrim(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && isBlank(s[i])) ++i;
    return std::string(s.substr(i));
}

std::string trim(std::string_view s) { return ltrim(rtrim(s)); }

static bool existsExactly(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::string resolveNoCase(const std::string& path) {
    if (path.empty() || existsExactly(path)) return path;
    // Split off the last component (ignoring a trailing "/").
    std::string p = path;
    bool trailingSlash = false;
    while (p.size() > 1 && p.back() == '/') { p.pop_back(); trailingSlash = true; }
    auto slash = p.find_last_of('/');
    std::string parent = slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return path;
    std::string realParent = parent;
    if (!parent.empty() && parent != "/") realParent = resolveNoCase(parent);
    std::string dir = realParent.empty() ? std::string(".") : realParent;
    std::error_code ec;
    fs::directory_iterator it(dir, ec), end;
    std::string found;
    for (; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (entry == name) { found = entry; break; }
        if (found.empty() && equalsNoCase(entry, name)) found = entry;
    }
    std::string result = realParent + (found.empty() ? name : found);
    if (trailingSlash) result += '/';
    return result;
}

bool fileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::string> readWholeFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    std::string data;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return std::nullopt;
    return data;
}

int makeTempFile(const std::string& folder, const std::string& prefix, std::string& tmpPath) {
    std::string templ = (folder.empty() ? std::string("./") : folder) + prefix + "XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    int fd = ::mkstemp(buf.data());
    if (fd < 0) return -1;
    tmpPath.assign(buf.data());
    return fd;
}

void matchPermissions(int fd, const std::string& existingPath) {
    struct stat st;
    mode_t mode;
    if (::stat(existingPath.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    (void)::fchmod(fd, mode);
}

void syncFolderOf(const std::string& path) {
    std::string folder = folderOf(path);
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

namespace {
FileFaults* g_faults = nullptr;
}

FileFaults* installFileFaults(FileFaults* faults) { return std::exchange(g_faults, faults); }

bool writeAll(int fd, std::string_view data, const std::string& target)
{
    bool full = false;
    if (g_faults) {
        std::size_t allowed = g_faults->beforeWrite(target, data.size());
        if (allowed < data.size()) {
            data = data.substr(0, allowed);
            full = true;
        }
    }
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        data.remove_prefix(size_t(n));
    }
    if (full)
        errno = ENOSPC;
    return !full;
}

int renameFile(const std::string& from, const std::string& to)
{
    if (g_faults)
        g_faults->beforeRename(from, to);
    return ::rename(from.c_str(), to.c_str());
}

int removeFile(const std::string& path)
{
    if (g_faults)
        g_faults->beforeRemove(path);
    return ::unlink(path.c_str());
}

void writeFileAtomic(const std::string& path, std::string_view contents, const std::string& prefix, bool durable)
{
    std::string tmp;
    int fd = makeTempFile(folderOf(path), prefix, tmp);
    if (fd < 0) throw FileError(savingErrorMessage(path));
    matchPermissions(fd, path);
    bool ok = writeAll(fd, contents, path) && (!durable || ::fsync(fd) == 0);
    ok = (::close(fd) == 0) && ok;
    if (!ok) {
        ::unlink(tmp.c_str());
        throw FileError(savingErrorMessage(path));
    }
    if (renameFile(tmp, path) != 0) {
        ::unlink(tmp.c_str());
        throw FileError(savingErrorMessage(path));
    }
    if (durable)
        syncFolderOf(path);
}

std::int64_t fileSizeOf(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? std::int64_t(st.st_size) : 0;
}

void appendWhole(const std::string& path, std::string_view bytes) { appendWholeAt(path, -1, bytes); }

void appendWholeAt(const std::string& path, std::int64_t offset, std::string_view bytes)
{
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        throw OpenError(cannotOpenMessage(path));
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        throw OpenError(cannotOpenMessage(path));
    }
    const std::int64_t size = std::int64_t(st.st_size);
    if (offset < 0 || offset > size)
        offset = size;
    if (size >= offset + std::int64_t(bytes.size()) && !bytes.empty()) {
        std::string there(bytes.size(), '\0');
        if (::pread(fd, there.data(), there.size(), off_t(offset)) == ssize_t(there.size()) && there == bytes) {
            ::close(fd);
            return; // made before the program stopped
        }
    }
    bool ok = (size == offset || ::ftruncate(fd, off_t(offset)) == 0) &&
              ::lseek(fd, off_t(offset), SEEK_SET) == offset && writeAll(fd, bytes, path);
    // Half a record would join the next one into one unreadable line: what did not fit goes again.
    if (!ok)
        (void)::ftruncate(fd, off_t(offset));
    ok = ::close(fd) == 0 && ok;
    if (!ok)
        throw FileError(std::string(kWriteError) + " " + path);
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        size_t end = nl;
        if (end > start && text[end - 1] == '\r') --end;
        lines.emplace_back(text.substr(start, end - start));
        start = nl + 1;
    }
    return lines;
}

}  // namespace cw::storage
