// Creating the statistics files that are missing: the first step of every writer and reader.
#pragma once

#include <string>
#include <vector>

#include "stats/stat_context.h"

namespace cw::stats {

// EnsureStatisticsFiles: creates a missing Stat.dat, Stat_scr.dat and Series_scr.dat ("[Version]",
// "Version=0300") and STAT_GLO.DAT ("[Version]", "VOvS=0300"); when the player's progression file is
// missing, creates it from the log. Returns the messages of the files that could not be created
// (the caller decides whether to show them; the other files are still created).
std::vector<std::string> ensureStatisticsFiles(const StatsContext& ctx, const std::string& player);

// Resolves a data file's name without regard to case.
std::string resolvedPath(const StatsContext& ctx, const char* name);

// Deletes a file when it exists; throws FileError "Error in deleting the file: " + path on failure.
void deleteFileIfExists(const std::string& path);

}  // namespace cw::stats
