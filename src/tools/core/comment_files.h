// Game comments on disk: one RTF file per game in the data folder, named safely after the game.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/core/rtf.h"

namespace cw::tools {

// Comment files larger than this are read only this far (a comment is a few lines of text).
inline constexpr std::size_t kMaxCommentFileBytes = std::size_t{32} << 20;

// The file name (no folder) of a game's comment: "Comments_" + the game name + ".rtf", trailing
// blanks of the name removed. Game names are typed by players, so the name is made safe: every
// byte that could leave the data folder or trouble a file system ('/', '\', control characters,
// ':', '*', '?', '"', '<', '>', '|', malformed UTF-8) and the two marks of this scheme ('%', '~')
// are written as "%" and two hex digits. Different names give different files. A name whose file
// name would pass the system's 255-byte limit is cut and ends with "~" and a 64-bit hash of the
// whole name (compared without regard to case, like game names).
std::string commentFileName(std::string_view gameName);

// The file name earlier versions wrote: the name as it stands. Returned only when it is a usable
// file name that differs from the safe one and cannot be another game's safe name (it holds no
// '/', '%' or '~', no NUL, and fits the limit); nullopt otherwise.
std::optional<std::string> legacyCommentFileName(std::string_view gameName);

struct CommentLoad {
    RichText text;
    bool found = false;   // the game has a comment file
    bool complete = true; // false: the file was too large or damaged and was read in part
    std::string error;    // a file that exists but cannot be read: the message naming it
};

// The comments of one data folder. File names there match without regard to case.
class CommentFiles {
public:
    explicit CommentFiles(std::string dataFolder); // dataFolder ends with "/"

    // The path a game's comment is written to (an existing spelling of the name is kept).
    std::string pathFor(std::string_view gameName) const;
    // The file holding a game's comment: the safe name first, then the old one; "" when none.
    std::string existingPath(std::string_view gameName) const;
    bool hasComment(std::string_view gameName) const { return !existingPath(gameName).empty(); }
    // For each name whether its game has a comment (one look at the folder for all of them).
    std::vector<bool> commented(const std::vector<std::string>& gameNames) const;

    CommentLoad load(std::string_view gameName) const;
    // Writes the comment whole (temporary file and rename) or, when it is empty, deletes the
    // game's file. A file under the old name goes either way: its text now lives under the safe
    // name. Throws storage::FileError with the message to show.
    void save(std::string_view gameName, const RichText& text) const;

private:
    std::string m_folder;
};

} // namespace cw::tools
