// Keyed files: the INI-like statistics files, read by section without loading them and updated in place.
#include "storage/keyed_file.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "storage/fixed_width.h"

namespace cw::storage {

namespace {

// Files grow with every game played: sections are found by scanning blocks of this size.
constexpr std::size_t kBlockSize = 8192;
constexpr const char* kTempPrefix = "rpl";

// ---- handles --------------------------------------------------------------------------------------------

// Uses the caller's handle, or opens one for the duration of an operation.
class Access {
public:
    // Returns nullptr from file() when the file does not exist and no handle was given.
    Access(const std::string& path, FileHandle* handle) : m_given(handle) {
        if (handle && handle->isOpen()) {
            m_handle = handle;
        } else if (fileExists(path)) {
            FileHandle& h = handle ? *handle : m_own;
            h.open(path);
            m_handle = &h;
        } else if (::access(path.c_str(), F_OK) == 0) {
            throw FileError(cannotOpenMessage(path));  // exists, but is no regular file
        }
    }
    std::FILE* file() const { return m_handle ? m_handle->get() : nullptr; }
    // The caller's handle (open or not), or the one opened here.
    FileHandle* handle() const { return m_given ? m_given : m_handle; }
    // The handle must allow writing in place.
    void requireWritable(const std::string& path) const {
        if (!m_handle || !m_handle->writable()) throw FileError(cannotOpenMessage(path));
    }

private:
    FileHandle* m_given;
    FileHandle m_own;
    FileHandle* m_handle = nullptr;
};

// Reads up to n bytes at pos; returns the count read.
std::size_t readAt(std::FILE* f, std::int64_t pos, char* buf, std::size_t n) {
    if (::fseeko(f, off_t(pos), SEEK_SET) != 0) return 0;
    return std::fread(buf, 1, n, f);
}

void writeAt(std::FILE* f, std::int64_t pos, std::string_view bytes, const std::string& path)
{
    // Written past stdio (reads seek first, which drops what stdio has buffered).
    int fd = ::fileno(f);
    if (std::fflush(f) != 0 || ::lseek(fd, off_t(pos), SEEK_SET) != off_t(pos) || !writeAll(fd, bytes, path))
        throw FileError(kWriteError);
    // No fsync: a same-length write in place cannot tear the file, and the kernel keeps it across a
    // crash of the game; flushing to disk on every game end costs more than the whole update.
}

// Appends at the end of the open file; a part that did not fit is cut off again.
void appendTo(std::FILE* f, std::string_view bytes, const std::string& path)
{
    int fd = ::fileno(f);
    struct stat st;
    if (std::fflush(f) != 0 || ::fstat(fd, &st) != 0)
        throw FileError(kWriteError);
    if (::lseek(fd, st.st_size, SEEK_SET) != st.st_size || !writeAll(fd, bytes, path)) {
        (void)::ftruncate(fd, st.st_size);
        throw FileError(kWriteError);
    }
}

std::int64_t fileSize(std::FILE* f) {
    struct stat st;
    if (::fstat(::fileno(f), &st) != 0) return 0;
    return std::int64_t(st.st_size);
}

// ---- text helpers ---------------------------------------------------------------------------------------

// Line breaks inside names and values would create extra lines in the file.
std::string oneLine(std::string_view text) {
    std::string s(text);
    std::replace(s.begin(), s.end(), '\r', ' ');
    std::replace(s.begin(), s.end(), '\n', ' ');
    return s;
}

std::string header(std::string_view section) { return "[" + oneLine(section) + "]"; }

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// A key line is "key=..." or "key =...".
bool isKeyLine(std::string_view line, std::string_view key) {
    if (!startsWith(line, key)) return false;
    std::string_view rest = line.substr(key.size());
    return startsWith(rest, "=") || startsWith(rest, " =");
}

std::string pairsText(const KeyValues& pairs) {
    std::string out;
    for (const auto& [k, v] : pairs) out += oneLine(k) + "=" + oneLine(v) + "\r\n";
    return out;
}

// One line of a text with its offset inside the text (line end excluded).
struct LineAt {
    std::size_t offset;
    std::string_view text;
};

std::vector<LineAt> linesWithOffsets(std::string_view text) {
    std::vector<LineAt> out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        std::size_t stop = (end > start && text[end - 1] == '\r') ? end - 1 : end;
        out.push_back({start, text.substr(start, stop - start)});
        if (nl == std::string_view::npos) break;
        start = nl + 1;
    }
    return out;
}

// Reads a file line by line from its current position, with each line's own line end.
class LineReader {
public:
    explicit LineReader(std::FILE* f) : m_file(f) {}
    bool next(std::string& line, std::string* ending = nullptr) {
        line.clear();
        if (ending) ending->clear();
        for (;;) {
            if (m_pos == m_buf.size()) {
                m_buf.resize(65536);
                std::size_t n = m_file ? std::fread(m_buf.data(), 1, m_buf.size(), m_file) : 0;
                m_buf.resize(n);
                m_pos = 0;
                if (n == 0) return !line.empty();
            }
            auto nl = m_buf.find('\n', m_pos);
            std::size_t end = nl == std::string::npos ? m_buf.size() : nl;
            line.append(m_buf, m_pos, end - m_pos);
            m_pos = end;
            if (nl != std::string::npos) {
                ++m_pos;
                std::string e = "\n";
                if (!line.empty() && line.back() == '\r') {
                    line.pop_back();
                    e = "\r\n";
                }
                if (ending) *ending = e;
                return true;
            }
        }
    }

private:
    std::FILE* m_file;
    std::string m_buf;
    std::size_t m_pos = 0;
};

// ---- sections -------------------------------------------------------------------------------------------

std::optional<std::int64_t> findIn(std::FILE* f, std::string_view hdr) {
    if (!f || hdr.empty()) return std::nullopt;
    // Blocks overlap by the header's length so that a header split by a block boundary is still found;
    // a block at least twice the header's length keeps every step forward.
    std::size_t block = std::max(kBlockSize, hdr.size() * 2);
    std::string buf(block, '\0');
    std::int64_t pos = 0;
    for (;;) {
        std::size_t n = readAt(f, pos, buf.data(), block);
        auto hit = std::string_view(buf.data(), n).find(hdr);
        if (hit != std::string_view::npos) return pos + std::int64_t(hit);
        if (n < block) return std::nullopt;
        pos += std::int64_t(n - hdr.size());
    }
}

// Where a section's content lies: from start (after the header's line end) to end, which is the line end
// before the next header line, or the end of the file. next is where that header line begins.
struct Section {
    std::int64_t headerAt = 0;
    std::int64_t start = 0;
    bool headerLineEnded = true;  // false when the header is the very end of the file
    std::string content;          // bytes from start to end
    std::int64_t next = -1;       // offset of the next header line, -1 when none
    std::int64_t fileEnd = 0;
};

std::optional<Section> locate(std::FILE* f, std::string_view section) {
    std::string hdr = header(section);
    auto at = findIn(f, hdr);
    if (!at) return std::nullopt;
    Section s;
    s.headerAt = *at;
    s.fileEnd = fileSize(f);
    s.start = *at + std::int64_t(hdr.size());
    char after[2];
    std::size_t n = readAt(f, s.start, after, 2);
    if (n >= 1 && after[0] == '\r') {
        ++s.start;
        if (n == 2 && after[1] == '\n') ++s.start;
    } else if (n >= 1 && after[0] == '\n') {
        ++s.start;
    } else {
        s.headerLineEnded = n > 0;
    }
    // Read until a line beginning with "[" appears; only the section itself is read.
    std::string buf(kBlockSize, '\0');
    std::int64_t pos = s.start;
    std::string& text = s.content;
    for (;;) {
        std::size_t searchFrom = text.empty() ? 0 : text.size() - 1;
        std::size_t n = readAt(f, pos, buf.data(), kBlockSize);
        text.append(buf.data(), n);
        pos += std::int64_t(n);
        std::size_t cut = std::string::npos;
        if (searchFrom == 0 && !text.empty() && text[0] == '[') {
            cut = 0;  // an empty section directly followed by the next header
            s.next = s.start;
        } else if (auto hit = text.find("\n[", searchFrom); hit != std::string::npos) {
            s.next = s.start + std::int64_t(hit) + 1;
            cut = (hit > 0 && text[hit - 1] == '\r') ? hit - 1 : hit;
        }
        if (cut != std::string::npos) {
            text.resize(cut);
            return s;
        }
        if (n < kBlockSize) return s;
    }
}

// Copies bytes [from, to) of f (to == -1: to the end) into fd, the temporary copy of target.
bool copyRange(std::FILE* f, std::int64_t from, std::int64_t to, int fd, const std::string& target)
{
    std::string buf(65536, '\0');
    std::int64_t pos = from;
    while (to < 0 || pos < to) {
        std::size_t want = buf.size();
        if (to >= 0) want = std::size_t(std::min<std::int64_t>(std::int64_t(want), to - pos));
        std::size_t n = readAt(f, pos, buf.data(), want);
        if (n == 0) return to < 0;  // a shorter file than expected is an error when the end was known
        if (!writeAll(fd, std::string_view(buf.data(), n), target))
            return false;
        pos += std::int64_t(n);
    }
    return true;
}

// A temporary copy in the folder of the file that replaces the file when committed.
class Replacement {
public:
    explicit Replacement(const std::string& path) : m_path(path) {
        m_fd = makeTempFile(folderOf(path), kTempPrefix, m_tmp);
        if (m_fd < 0) throw FileError(kErrorCreatingTemp);
        matchPermissions(m_fd, path);
    }
    ~Replacement() {
        if (m_fd >= 0) {
            ::close(m_fd);
            ::unlink(m_tmp.c_str());  // never completed: nothing of it is worth keeping
        }
    }
    int fd() const { return m_fd; }
    void write(std::string_view bytes) {
        if (!writeAll(m_fd, bytes, m_path))
            throw FileError(kWriteError);
    }
    // Makes the copy durable and renames it over the file; the old file stays complete until then.
    void commit() {
        bool ok = ::fsync(m_fd) == 0;
        ok = ::close(m_fd) == 0 && ok;
        m_fd = -1;
        if (!ok) {
            ::unlink(m_tmp.c_str());
            throw FileError(kWriteError);
        }
        if (renameFile(m_tmp, m_path) != 0)
            throw FileError(renameErrorMessage(m_tmp, m_path));
        syncFolderOf(m_path);
    }

private:
    std::string m_path;
    std::string m_tmp;
    int m_fd = -1;
};

// Replaces the section's content by body (complete lines) followed by one blank line.
void rewriteLocated(const std::string& path, std::FILE* f, const Section& s, std::string_view body) {
    Replacement tmp(path);
    if (!copyRange(f, 0, s.start, tmp.fd(), path))
        throw FileError(kWriteError);
    if (!s.headerLineEnded) tmp.write("\r\n");
    tmp.write(std::string(body) + "\r\n");
    if (s.next >= 0 && !copyRange(f, s.next, -1, tmp.fd(), path))
        throw FileError(kWriteError);
    tmp.commit();
}

// The section's non-blank lines, each "key=value" line with the leading blanks of its value removed and
// `key`'s value replaced by value (appended when absent). Lines without "=" are kept as they are.
std::string sectionWithValue(std::string_view content, std::string_view key, std::string_view value) {
    std::string out;
    bool done = false;
    for (const LineAt& l : linesWithOffsets(content)) {
        if (trim(l.text).empty()) continue;
        auto eq = l.text.find('=');
        if (eq == std::string_view::npos) {
            out += std::string(l.text) + "\r\n";
        } else if (!done && isKeyLine(l.text, key)) {
            out += std::string(l.text.substr(0, eq)) + "=" + std::string(value) + "\r\n";
            done = true;
        } else {
            out += std::string(l.text.substr(0, eq)) + "=" + ltrim(l.text.substr(eq + 1)) + "\r\n";
        }
    }
    if (!done) out += std::string(key) + "=" + std::string(value) + "\r\n";
    return out;
}

void reopenIfGiven(FileHandle* handle) {
    if (handle) handle->reopen();
}

}  // namespace

// ---- FileHandle -----------------------------------------------------------------------------------------

FileHandle::FileHandle(const std::string& path) { open(path); }

FileHandle::~FileHandle() { close(); }

FileHandle::FileHandle(FileHandle&& other) noexcept
    : m_file(std::exchange(other.m_file, nullptr)), m_writable(other.m_writable), m_path(std::move(other.m_path)) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        close();
        m_file = std::exchange(other.m_file, nullptr);
        m_writable = other.m_writable;
        m_path = std::move(other.m_path);
    }
    return *this;
}

void FileHandle::open(const std::string& path) {
    close();
    m_path = resolveNoCase(path);
    m_file = std::fopen(m_path.c_str(), "r+b");
    m_writable = m_file != nullptr;
    if (!m_file && errno == EACCES) m_file = std::fopen(m_path.c_str(), "rb");
    if (!m_file) throw FileError(cannotOpenMessage(m_path));
}

void FileHandle::close() {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
    m_writable = false;
}

// ---- operations -----------------------------------------------------------------------------------------

std::optional<std::int64_t> findSection(const std::string& file, std::string_view hdr, FileHandle* handle) {
    Access a(resolveNoCase(file), handle);
    return findIn(a.file(), hdr);
}

KeyedValue readKeyedValue(const std::string& file, std::string_view section, std::string_view key,
                          std::string_view def, FileHandle* handle) {
    KeyedValue result{false, std::string(def)};
    Access a(resolveNoCase(file), handle);
    if (!a.file()) return result;
    auto s = locate(a.file(), section);
    if (!s) return result;
    for (const LineAt& l : linesWithOffsets(s->content)) {
        if (!isKeyLine(l.text, key)) continue;
        result.found = true;
        result.value = rtrim(l.text.substr(l.text.find('=') + 1));
        break;
    }
    return result;
}

KeyedValues readKeyedValues(const std::string& file, std::string_view section,
                            const std::vector<std::string>& keys, const std::vector<std::string>& defaults) {
    KeyedValues r;
    r.values.resize(keys.size());
    for (std::size_t i = 0; i < keys.size() && i < defaults.size(); ++i) r.values[i] = defaults[i];
    r.found.assign(keys.size(), false);
    Access a(resolveNoCase(file), nullptr);
    if (!a.file()) return r;
    std::string hdr = header(section);
    LineReader reader(a.file());
    std::string line;
    bool inside = false;
    std::size_t foundCount = 0;
    while (reader.next(line)) {
        if (!inside) {
            inside = startsWith(line, hdr);
            continue;
        }
        if (startsWith(line, "[")) break;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (!isKeyLine(line, keys[i])) continue;
            r.values[i] = line.substr(line.find('=') + 1);
            if (!r.found[i]) ++foundCount;
            r.found[i] = true;
            break;
        }
        if (foundCount == keys.size()) break;
    }
    r.allFound = foundCount == keys.size();
    return r;
}

std::vector<std::string> listSections(const std::string& file) {
    std::vector<std::string> out;
    Access a(resolveNoCase(file), nullptr);
    if (!a.file()) return out;
    LineReader reader(a.file());
    std::string line;
    while (reader.next(line))
        if (startsWith(line, "[")) out.push_back(line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string());
    return out;
}

std::vector<std::string> listSectionKeys(const std::string& file, std::string_view section) {
    std::vector<std::string> out;
    Access a(resolveNoCase(file), nullptr);
    if (!a.file()) return out;
    std::string hdr = header(section);
    LineReader reader(a.file());
    std::string line;
    bool inside = false;
    while (reader.next(line)) {
        if (!inside) {
            inside = startsWith(line, hdr);
            continue;
        }
        if (startsWith(line, "[")) break;
        if (line.empty()) continue;
        out.push_back(rtrim(std::string_view(line).substr(0, line.find('='))));
    }
    return out;
}

void writeKeyedValue(const std::string& file, std::string_view section, std::string_view key,
                     std::string_view value, FileHandle* handle) {
    std::string path = resolveNoCase(file);
    std::string k = oneLine(key), v = oneLine(value);
    Access a(path, handle);
    std::optional<Section> s = a.file() ? locate(a.file(), section) : std::nullopt;
    if (!s) {
        appendSection(path, section, {{k, v}}, a.handle());
        return;
    }
    for (const LineAt& l : linesWithOffsets(s->content)) {
        if (!isKeyLine(l.text, k)) continue;
        std::size_t eq = l.text.find('=');
        if (l.text.size() - eq - 1 == v.size()) {
            // Fixed-width values: a few bytes written in place, the file keeps its length.
            a.requireWritable(path);
            writeAt(a.file(), s->start + std::int64_t(l.offset + eq + 1), v, path);
            return;
        }
        break;  // a value of another length would overwrite its neighbours: rewrite the section instead
    }
    rewriteLocated(path, a.file(), *s, sectionWithValue(s->content, k, v));
    reopenIfGiven(handle);
}

void overwriteSection(const std::string& file, std::string_view section, const KeyValues& pairs,
                      FileHandle* handle) {
    std::string path = resolveNoCase(file);
    Access a(path, handle);
    std::optional<Section> s = a.file() ? locate(a.file(), section) : std::nullopt;
    if (!s) {
        appendSection(path, section, pairs, a.handle());
        return;
    }
    // The room of the old content runs to the next header line (its line end included) or the file's end.
    std::int64_t roomEnd = s->next >= 0 ? s->next : s->fileEnd;
    std::string room(std::size_t(std::max<std::int64_t>(0, roomEnd - s->start)), '\0');
    room.resize(readAt(a.file(), s->start, room.data(), room.size()));
    std::string text = pairsText(pairs);
    bool fits = s->headerLineEnded && text.size() <= room.size() &&
                room.find_first_not_of("\r\n", text.size()) == std::string::npos;
    if (fits) {
        a.requireWritable(path);
        writeAt(a.file(), s->start, text, path); // only blank lines of the old content can remain after it
        return;
    }
    rewriteLocated(path, a.file(), *s, pairsText(pairs));
    reopenIfGiven(handle);
}

bool rewriteSection(const std::string& file, std::string_view section, const KeyValues& pairs,
                    FileHandle* handle) {
    std::string path = resolveNoCase(file);
    Access a(path, handle);
    if (!a.file()) return false;
    auto s = locate(a.file(), section);
    if (!s) return false;
    rewriteLocated(path, a.file(), *s, pairsText(pairs));
    reopenIfGiven(handle);
    return true;
}

void appendSection(const std::string& file, std::string_view section, const KeyValues& pairs,
                   FileHandle* handle) {
    std::string path = resolveNoCase(file);
    std::string text = "\r\n" + header(section) + "\r\n" + pairsText(pairs);
    if (handle && handle->isOpen()) {
        if (!handle->writable()) throw FileError(cannotOpenMessage(path));
        appendTo(handle->get(), text, path);
        return;
    }
    try {
        appendWhole(path, text);
    } catch (const OpenError&) {
        throw FileError(cannotOpenMessage(path));
    } catch (const FileError&) {
        throw FileError(kWriteError);
    }
    if (handle) handle->open(path);
}

bool replaceAtColumn(const std::string& file, int column, std::string_view oldText, std::string_view newText,
                     const LineProgress& progress) {
    std::string path = resolveNoCase(file);
    if (!fileExists(path)) return false;
    FileHandle in(path);
    Replacement tmp(path);
    LineReader reader(in.get());
    std::string line, ending, out;
    long count = 0;
    while (reader.next(line, &ending)) {
        // The column counts characters, as the fixed-width fields do.
        std::size_t at = column >= 1 ? columnOffset(line, std::size_t(column)) : std::string::npos;
        if (!oldText.empty() && at != std::string::npos && line.size() >= at + oldText.size() &&
            line.compare(at, oldText.size(), oldText) == 0)
            line.replace(at, oldText.size(), newText);
        out += line;
        out += ending;
        if (out.size() >= 65536) {
            tmp.write(out);
            out.clear();
        }
        if (++count % 10 == 0 && progress) progress(count);
    }
    if (std::ferror(in.get())) throw FileError(cannotOpenMessage(path));
    tmp.write(out);
    tmp.commit();
    return true;
}

bool createEmptyFile(const std::string& file) {
    std::string path = resolveNoCase(file);
    if (::access(path.c_str(), F_OK) == 0) return false;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0) {
        if (errno == EEXIST) return false;
        throw FileError(cannotOpenMessage(path));
    }
    ::close(fd);
    return true;
}

}  // namespace cw::storage
