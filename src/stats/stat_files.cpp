// Creating the statistics files that are missing: the first step of every writer and reader.
#include "stats/stat_files.h"

#include <cerrno>
#include <cstdio>

#include "stats/progression.h"
#include "storage/safe_file.h"

namespace cw::stats {

std::string resolvedPath(const StatsContext& ctx, const char* name) { return storage::resolveNoCase(ctx.path(name)); }

void deleteFileIfExists(const std::string& path) {
    if (storage::removeFile(path) != 0 && errno != ENOENT)
        throw storage::FileError(storage::deleteErrorMessage(path));
}

std::vector<std::string> ensureStatisticsFiles(const StatsContext& ctx, const std::string& player) {
    std::vector<std::string> errors;
    const std::string versionFile = "[Version]\r\nVersion=0300\r\n";
    const std::pair<const char*, std::string> files[] = {
        {kStatFile, versionFile},
        {kHiScoreFile, versionFile},
        {kSeriesScoreFile, versionFile},
        {kOverallFile, "[Version]\r\nVOvS=0300\r\n"},
    };
    for (const auto& [name, text] : files) {
        std::string path = resolvedPath(ctx, name);
        if (storage::fileExists(path)) continue;
        try {
            storage::writeFileAtomic(path, text);
        } catch (const storage::FileError& e) {
            errors.push_back(e.what());
        }
    }
    if (auto prg = progressionPath(ctx, player); prg && !storage::fileExists(*prg)) {
        rebuildProgressionFile(ctx, player);  // shows its own message when the file cannot be written
    }
    return errors;
}

}  // namespace cw::stats
