// Progression files "Stat_prg_" + player + ".dat": four bytes per recorded game of a player.
#include "stats/progression.h"

#include "stats/file_change.h"
#include "stats/game_log.h"
#include "stats/stat_files.h"
#include "storage/fixed_width.h"
#include "storage/players.h"
#include "storage/safe_file.h"

namespace cw::stats {

namespace {

std::string openError(const std::string& path) { return "Open error: " + path; }

// "yymm" of a log line's date (columns 3-6), or nullopt.
std::optional<std::pair<int, int>> yearMonth(std::string_view line) {
    if (line.size() < 6) return std::nullopt;
    auto yy = storage::parseInteger(line.substr(2, 2));
    auto mm = storage::parseInteger(line.substr(4, 2));
    if (!yy || !mm || *yy < 0 || *mm < 1 || *mm > 12) return std::nullopt;
    return std::pair{int(*yy), int(*mm)};
}

}  // namespace

std::optional<std::string> progressionPath(const StatsContext& ctx, const std::string& player) {
    if (!storage::isValidPlayerName(player) || player != storage::normalizePlayerName(player)) return std::nullopt;
    return storage::resolveNoCase(ctx.path("Stat_prg_" + player + ".dat"));
}

std::string encodeProgressionRecord(int gameId, int yy, int month, bool won) {
    std::string id = storage::fixedNumber(gameId, 4);
    auto two = [](std::string_view s) { return (s[0] - '0') * 10 + (s[1] - '0'); };
    std::string out(4, '\0');
    out[0] = char(33 + two(std::string_view(id).substr(0, 2)));
    out[1] = char(33 + two(std::string_view(id).substr(2, 2)));
    out[2] = char(33 + yy % 100);
    out[3] = char(month + (won ? 100 : 50));
    return out;
}

std::vector<ProgressionRecord> decodeProgression(std::string_view bytes) {
    std::vector<ProgressionRecord> out;
    out.reserve(bytes.size() / 4);
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        int b[4];
        for (int k = 0; k < 4; ++k) b[k] = static_cast<unsigned char>(bytes[i + std::size_t(k)]);
        if (b[0] < 33 || b[0] > 132 || b[1] < 33 || b[1] > 132 || b[2] < 33 || b[2] > 132) continue;
        ProgressionRecord r;
        r.gameId = (b[0] - 33) * 100 + (b[1] - 33);
        r.year = b[2] - 33;
        if (b[3] >= 101 && b[3] <= 112) {
            r.won = true;
            r.month = b[3] - 100;
        } else if (b[3] >= 51 && b[3] <= 62) {
            r.month = b[3] - 50;
        } else {
            continue;
        }
        out.push_back(r);
    }
    return out;
}

bool appendProgressionRecord(const StatsContext& ctx, const std::string& player, int gameId, bool won,
                             const DateTime& end) {
    auto path = progressionPath(ctx, player);
    if (!path) {
        ctx.inform(openError(ctx.path("Stat_prg_" + player + ".dat")));
        return false;
    }
    std::string bytes = encodeProgressionRecord(gameId, end.year % 100, end.month, won);
    try {
        commitChange(ctx, appendChange(ctx, path->substr(path->find_last_of('/') + 1), bytes, false));
    } catch (const storage::OpenError&) {
        ctx.inform(openError(*path));
        return false;
    } catch (const storage::FileError&) {
        ctx.inform(std::string(storage::kWriteError) + " " + *path);
        return false;
    }
    return true;
}

bool rebuildProgressionFile(const StatsContext& ctx, const std::string& player) {
    auto path = progressionPath(ctx, player);
    if (!path) return false;
    std::string bytes;
    try {
        forEachLogLine(ctx, [&](std::string_view line) {
            if (logLinePlayer(line) != player) return;
            int id = logLineGameId(line);
            auto ym = yearMonth(line);
            if (id < 0 || !ym) return;  // a damaged line adds nothing
            bool won = storage::textColumn(line, std::size_t(kLogResultColumn), 3) == "Won";
            bytes += encodeProgressionRecord(id, ym->first, ym->second, won);
        });
        storage::writeFileAtomic(*path, bytes, "~prg");
    } catch (const storage::FileError&) {
        ctx.inform(openError(*path));
        return false;
    }
    return true;
}

std::vector<ProgressionRecord> readProgression(const StatsContext& ctx, const std::string& player) {
    auto path = progressionPath(ctx, player);
    if (!path) return {};
    auto bytes = storage::readWholeFile(*path);
    return bytes ? decodeProgression(*bytes) : std::vector<ProgressionRecord>{};
}

void deleteProgressionFile(const StatsContext& ctx, const std::string& player) {
    if (auto path = progressionPath(ctx, player)) deleteFileIfExists(*path);
}

}  // namespace cw::stats
