// One change of a statistics file, stated so that making it twice gives the same file as making it once.
#pragma once

#include <cstdint>
#include <string>

#include "stats/stat_context.h"
#include "storage/keyed_file.h"

namespace cw::stats {

// The changes a game end makes, each the last step of one record: computed from what the files hold,
// written down in the journal, then made. Made again after a crash, a change gives the same file.
struct FileChange {
    enum class Kind {
        AppendAt,     // bytes appended at offset (the file's size when planned)
        SetValue,     // section/key = value (WriteKeyedValue)
        WriteSection, // the section's pairs written whole (OverwriteSection)
        Remove,       // the file deleted (a damaged tamper-evident file), message shown
    };
    Kind kind = Kind::AppendAt;
    std::string file; // the name in the data folder
    std::int64_t offset = 0;
    std::string bytes;
    std::string section, key, value;
    storage::KeyValues pairs;
    std::string message;

    bool operator==(const FileChange&) const = default;
};

// Tells ctx.changes (the journal), then makes the change. Throws FileError.
void commitChange(const StatsContext& ctx, const FileChange& change);
// Makes the change (nothing written down first).
void applyChange(const StatsContext& ctx, const FileChange& change);

// An append of bytes to the end of the file as it is now (a missing final line end added first
// when lineText is true, so that a record never joins a hand-edited last line).
FileChange appendChange(const StatsContext& ctx, const std::string& file, std::string bytes, bool lineText);

} // namespace cw::stats
