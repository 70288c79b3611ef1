// Reading the game log for the "Log statistics" list: the newest lines of a long log, or all of them.
#include "stats/log_view.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <iterator>

#include "stats/hi_scores.h"
#include "stats/stat_files.h"
#include "storage/fixed_width.h"
#include "storage/safe_file.h"

namespace cw::stats {

namespace {

// Calls fn for every line of the file from byte offset `from` on (a line cut by the offset is skipped).
void forEachLineFrom(const std::string& path, std::int64_t from, const std::function<void(std::string_view)>& fn,
                     const std::function<void(double)>& progress)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        throw storage::FileError(storage::cannotOpenMessage(path));
    std::fseek(f, 0, SEEK_END);
    const double size = double(std::max<long>(1, std::ftell(f)));
    bool skipFirst = false;
    if (from > 0 && std::fseek(f, long(from - 1), SEEK_SET) == 0) {
        // Start after the next line end: the byte before the offset tells whether a line starts there.
        skipFirst = true;
    } else {
        std::fseek(f, 0, SEEK_SET);
    }
    std::string buf;
    std::vector<char> chunk(1 << 16);
    std::size_t n;
    long chunks = 0;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), f)) > 0) {
        buf.append(chunk.data(), n);
        std::size_t start = 0, nl;
        while ((nl = buf.find('\n', start)) != std::string::npos) {
            if (skipFirst) {
                skipFirst = false;
            } else {
                std::size_t end = (nl > start && buf[nl - 1] == '\r') ? nl - 1 : nl;
                fn(std::string_view(buf).substr(start, end - start));
            }
            start = nl + 1;
        }
        buf.erase(0, start);
        if (progress && ++chunks % 16 == 0)
            progress(double(std::ftell(f)) / size);
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        throw storage::FileError(storage::cannotOpenMessage(path));
    if (!buf.empty() && !skipFirst) {
        if (buf.back() == '\r')
            buf.pop_back();
        fn(buf);
    }
}

std::int64_t firstLineLength(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return 0;
    std::int64_t n = 0;
    int c;
    while ((c = std::fgetc(f)) != EOF && c != '\n' && n < 4096)
        ++n;
    std::fclose(f);
    return n; // with its CR, as CountLogRecords counts it with the 2 of CR LF
}

} // namespace

LogListing browseLog(const StatsContext& ctx, const LogQuery& query, const std::function<void(double)>& progress)
{
    LogListing out;
    const std::string path = resolvedPath(ctx, kLogFile);
    out.estimatedCount = countLogRecords(ctx);
    out.browseShown = out.estimatedCount > kLogBrowseThreshold;
    if (!storage::fileExists(path))
        return out;
    const bool fast = query.fast || !out.browseShown;
    std::int64_t from = 0;
    if (fast && out.estimatedCount > kLogFastLines) {
        // The records have one length: the newest lines start this far into the file. The line the
        // offset falls into is skipped, so a log of mixed lengths loses at most that one.
        std::int64_t length = firstLineLength(path);
        if (length > 0)
            from = (out.estimatedCount - kLogFastLines) * (length + 1);
    }
    const std::string game = storage::rtrim(query.game);
    std::deque<LogRow> taken;
    forEachLineFrom(
        path, from,
        [&](std::string_view line) {
            ++out.linesRead;
            if (!query.allGames && storage::rtrim(line.size() > 30 ? line.substr(30, 50) : std::string_view()) != game)
                return;
            if (!query.allPlayers && logLinePlayer(line) != query.player)
                return;
            auto r = parseLogRecord(line);
            if (!r)
                return;
            const bool timeValid = line.size() >= 24 && storage::parseInteger(line.substr(18, 6)).has_value();
            taken.push_back({std::move(*r), timeValid});
            if (fast && taken.size() > kLogFastRows)
                taken.pop_front();
        },
        progress);
    out.rows.assign(std::make_move_iterator(taken.rbegin()), std::make_move_iterator(taken.rend()));
    return out;
}

std::string logPlayingTime(const LogRow& r, char separator)
{
    return r.timeValid ? playingTimeText(r.record.seconds, separator) : std::string();
}

std::string logStartText(const LogRecord& r) { return r.time.substr(0, std::min<std::size_t>(5, r.time.size())); }

} // namespace cw::stats
