// The game log Stat_log.dat: one 147-character line per recorded game, oldest first.
#include "stats/game_log.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "stats/file_change.h"
#include "stats/pending_work.h"
#include "stats/progression.h"
#include "stats/stat_files.h"
#include "storage/fixed_width.h"
#include "storage/safe_file.h"

namespace cw::stats {

namespace {

// A line break or other control character inside a field would split or shift the log line.
std::string field(std::string_view text, int width) {
    std::string s = storage::fixedText(text, width);
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return s;
}

// The columns of a log line count characters: a name with accents takes the room of its letters.
std::string column(std::string_view line, int col, int width) {
    return storage::textColumn(line, std::size_t(col), std::size_t(width));
}

}  // namespace

std::string formatLogRecord(const LogRecord& r) {
    std::string s;
    s.reserve(kLogRecordLength);
    s += field(r.date, 8) + " ";
    s += field(r.time, 8) + " ";
    s += storage::fixedNumber(r.seconds, 6) + " ";
    s += storage::fixedNumber(r.gameId, 4) + " ";
    s += field(r.gameName, 50) + " ";
    s += field(r.player, 30) + " ";
    s += r.won ? "Won  " : "Lost ";
    s += field(r.scoringCode, 2) + " ";
    s += field(r.score, 6) + " ";
    s += field(r.gameNumber, 15) + " ";
    s += field(r.version, 4);
    return s;
}

std::string logLinePlayer(std::string_view line) { return storage::rtrim(column(line, kLogPlayerColumn, 30)); }

int logLineGameId(std::string_view line) {
    std::string id = column(line, kLogGameIdColumn, 4);
    if (id.size() != 4) return -1;
    auto v = storage::parseInteger(id);
    return v ? int(*v) : -1;
}

std::optional<LogRecord> parseLogRecord(std::string_view line) {
    if (storage::textLength(line) < std::size_t(kLogResultColumn + 2)) return std::nullopt;
    LogRecord r;
    r.date = column(line, 1, 8);
    r.time = column(line, 10, 8);
    auto secs = storage::parseInteger(column(line, 19, 6));
    r.seconds = secs ? int(*secs) : 0;
    r.gameId = logLineGameId(line);
    r.gameName = storage::rtrim(column(line, 31, 50));
    r.player = logLinePlayer(line);
    r.won = column(line, kLogResultColumn, 3) == "Won";
    r.scoringCode = column(line, 118, 2);
    r.score = storage::trim(column(line, 121, 6));
    r.gameNumber = storage::trim(column(line, 128, 15));
    r.version = column(line, 144, 4);
    return r;
}

void appendGameLogRecord(const StatsContext& ctx, const LogRecord& r) {
    commitChange(ctx, appendChange(ctx, kLogFile, formatLogRecord(r) + "\r\n", true));
}

void forEachLogLine(const StatsContext& ctx, const std::function<void(std::string_view line)>& fn) {
    std::string path = resolvedPath(ctx, kLogFile);
    if (!storage::fileExists(path)) return;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) throw storage::FileError(storage::cannotOpenMessage(path));
    std::string buf, line;
    std::vector<char> chunk(1 << 16);
    std::size_t n;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), f)) > 0) {
        buf.append(chunk.data(), n);
        std::size_t start = 0, nl;
        while ((nl = buf.find('\n', start)) != std::string::npos) {
            std::size_t end = (nl > start && buf[nl - 1] == '\r') ? nl - 1 : nl;
            fn(std::string_view(buf).substr(start, end - start));
            start = nl + 1;
        }
        buf.erase(0, start);
    }
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) throw storage::FileError(storage::cannotOpenMessage(path));
    if (!buf.empty()) {
        if (buf.back() == '\r') buf.pop_back();
        fn(buf);
    }
}

std::vector<LogRecord> readGameLog(const StatsContext& ctx) {
    std::vector<LogRecord> out;
    forEachLogLine(ctx, [&](std::string_view line) {
        if (auto r = parseLogRecord(line)) out.push_back(std::move(*r));
    });
    return out;
}

std::int64_t countLogRecords(const StatsContext& ctx) {
    std::string path = resolvedPath(ctx, kLogFile);
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return 0;
    std::string first;
    int c;
    while ((c = std::fgetc(f)) != EOF && c != '\n' && first.size() < 4096) first += char(c);
    std::fclose(f);
    if (!first.empty() && first.back() == '\r') first.pop_back();
    return std::int64_t(st.st_size) / std::int64_t(first.size() + 2);
}

std::size_t filterGameLog(const StatsContext& ctx, const std::function<bool(std::string_view line)>& keep) {
    std::string path = resolvedPath(ctx, kLogFile);
    if (!storage::fileExists(path)) return 0;
    std::string out;
    std::size_t removed = 0;
    forEachLogLine(ctx, [&](std::string_view line) {
        if (keep(line)) {
            out.append(line);
            out += "\r\n";
        } else {
            ++removed;
        }
    });
    if (removed > 0) storage::writeFileAtomic(path, out, "_Stat_log");
    return removed;
}

void trimGameLog(const StatsContext& ctx, std::int64_t keep, const std::string& player) {
    StatsUpdate update(ctx); // another copy waits; a half-done game end is finished first
    std::string path = resolvedPath(ctx, kLogFile);
    if (!storage::fileExists(path)) return;
    std::int64_t total = 0;
    forEachLogLine(ctx, [&](std::string_view) { ++total; });
    std::int64_t index = 0;
    std::string out;
    // Line i of n (from 1) is kept when n < keep + i: the newest `keep` lines.
    forEachLogLine(ctx, [&](std::string_view line) {
        ++index;
        if (total < keep + index) {
            out.append(line);
            out += "\r\n";
        }
    });
    storage::writeFileAtomic(path, out, "_Stat_log");
    deleteProgressionFile(ctx, player);
}

void clearGameLog(const StatsContext& ctx, const std::string& player) {
    StatsUpdate update(ctx); // another copy waits; a half-done game end is finished first
    deleteFileIfExists(resolvedPath(ctx, kLogFile));
    deleteProgressionFile(ctx, player);
}

}  // namespace cw::stats
