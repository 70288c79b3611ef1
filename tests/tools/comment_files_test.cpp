// Comment files: names made safe from any game name, save / load / delete, the commented marks, old file names.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "storage/temp_dir.h"
#include "tools/core/comment_files.h"

namespace cw::tools {
namespace {

namespace fs = std::filesystem;

RichText comment(const std::string& line)
{
    RichText t;
    t.append(line, TextStyle{true, false, false, 0, -1});
    t.newParagraph();
    t.append("second line");
    return t;
}

const std::vector<std::string>& hostileNames()
{
    static const std::vector<std::string> names = {
        "Klondike",
        "a/b",
        "a%2Fb",
        "a_b",
        "..",
        "../../outside",
        "a\\b",
        "tab\there\x01\n",
        "100% ~sure",
        "ask: why? <now> \"quoted\" |pipe| *star*",
        "bad \xFF utf-8",
        "Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC",
        std::string(300, 'x'),
        std::string(299, 'x') + "y",
        std::string(100, '/'),
    };
    return names;
}

TEST(CommentFiles, EveryNameGivesItsOwnFileInsideTheFolder)
{
    std::set<std::string> seen;
    for (const std::string& name : hostileNames()) {
        const std::string file = commentFileName(name);
        SCOPED_TRACE(file);
        EXPECT_EQ(file.rfind("Comments_", 0), 0u);
        EXPECT_EQ(file.substr(file.size() - 4), ".rtf");
        EXPECT_LE(file.size(), 255u);
        EXPECT_EQ(file.find('/'), std::string::npos);
        EXPECT_EQ(file.find('\\'), std::string::npos);
        for (char c : file)
            EXPECT_GE(static_cast<unsigned char>(c), 0x20);
        std::string lower = file;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; });
        EXPECT_TRUE(seen.insert(lower).second) << "two names share " << file;
    }
    EXPECT_EQ(commentFileName("Klondike"), "Comments_Klondike.rtf");
    EXPECT_EQ(commentFileName("Klondike  "), "Comments_Klondike.rtf");
    EXPECT_EQ(commentFileName("a/b"), "Comments_a%2Fb.rtf");
    EXPECT_EQ(commentFileName("a%2Fb"), "Comments_a%252Fb.rtf");
    EXPECT_EQ(commentFileName("Caf\xC3\xA9"), "Comments_Caf\xC3\xA9.rtf");
}

TEST(CommentFiles, SaveLoadAndDeleteStayInTheDataFolder)
{
    storage::test::TempDir root;
    const std::string data = root.folder() + "data/";
    fs::create_directories(data);
    CommentFiles files(data);
    for (const std::string& name : hostileNames()) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(files.hasComment(name));
        EXPECT_FALSE(files.load(name).found);
        const RichText text = comment("for " + std::to_string(name.size()));
        files.save(name, text);
        ASSERT_TRUE(files.hasComment(name));
        const CommentLoad loaded = files.load(name);
        EXPECT_TRUE(loaded.found && loaded.complete && loaded.error.empty());
        EXPECT_EQ(loaded.text, text);
    }
    // Every file is a direct child of the data folder; nothing was written beside it.
    int count = 0;
    for (const auto& e : fs::recursive_directory_iterator(root.folder())) {
        if (e.path().parent_path() == fs::path(root.folder()).parent_path())
            EXPECT_EQ(e.path().filename(), "data");
        else
            EXPECT_EQ(e.path().parent_path(), fs::path(data).parent_path());
        ++count;
    }
    EXPECT_EQ(count, static_cast<int>(hostileNames().size()) + 1);
    const std::vector<bool> marks = files.commented(hostileNames());
    EXPECT_EQ(std::count(marks.begin(), marks.end(), true), static_cast<long>(hostileNames().size()));

    // An empty comment deletes the file and the mark goes.
    files.save("a/b", RichText{});
    EXPECT_FALSE(files.hasComment("a/b"));
    EXPECT_TRUE(files.hasComment("a%2Fb"));
    EXPECT_FALSE(files.commented({"a/b", "a%2Fb"})[0]);
    EXPECT_NO_THROW(files.save("never commented", RichText{}));
}

TEST(CommentFiles, FileNamesMatchWithoutRegardToCase)
{
    storage::test::TempDir dir;
    dir.write("COMMENTS_klondike.RTF", "{\\rtf1 old text\\par}");
    CommentFiles files(dir.folder());
    EXPECT_EQ(files.load("Klondike").text.plainText(), "old text");
    EXPECT_EQ(files.commented({"Klondike", "FreeCell"}), (std::vector<bool>{true, false}));
    files.save("Klondike", comment("new"));
    EXPECT_TRUE(fs::exists(dir.file("COMMENTS_klondike.RTF"))); // the file's own spelling is kept
    EXPECT_FALSE(fs::exists(dir.file("Comments_Klondike.rtf")));
}

TEST(CommentFiles, OldPlainNamesAreFoundAndMovedToTheSafeName)
{
    storage::test::TempDir dir;
    const std::string name = "Klondike: easy?";
    ASSERT_EQ(legacyCommentFileName(name), std::optional<std::string>("Comments_Klondike: easy?.rtf"));
    EXPECT_EQ(legacyCommentFileName("Klondike"), std::nullopt); // the safe name is the plain one
    EXPECT_EQ(legacyCommentFileName("a/b"), std::nullopt);
    // A plain name holding '%' could be another game's safe name: it is never taken for an old file.
    EXPECT_EQ(legacyCommentFileName("a%3Ab"), std::nullopt);
    dir.write("Comments_Klondike: easy?.rtf", "{\\rtf1 {\\b written} earlier\\par}");
    CommentFiles files(dir.folder());
    EXPECT_TRUE(files.hasComment(name));
    EXPECT_TRUE(files.commented({name})[0]);
    EXPECT_EQ(files.load(name).text.plainText(), "written earlier");
    EXPECT_FALSE(files.hasComment("Klondike: easy"));

    files.save(name, comment("kept"));
    EXPECT_FALSE(fs::exists(dir.file("Comments_Klondike: easy?.rtf")));
    EXPECT_TRUE(fs::exists(dir.file("Comments_Klondike%3A easy%3F.rtf")));

    dir.write("Comments_Klondike: easy?.rtf", "{\\rtf1 stale\\par}");
    files.save(name, RichText{});
    EXPECT_FALSE(files.hasComment(name)) << "deleting a comment removes the old file as well";
}

TEST(CommentFiles, DamagedAndHugeFilesOpenInPart)
{
    storage::test::TempDir dir;
    dir.write("Comments_Golf.rtf", "{\\rtf1 readable {\\b part\\'");
    CommentFiles files(dir.folder());
    const CommentLoad damaged = files.load("Golf");
    EXPECT_TRUE(damaged.found);
    EXPECT_EQ(damaged.text.plainText(), "readable part");
    std::string big = "{\\rtf1 start ";
    big.resize(kMaxCommentFileBytes + 1000, 'a');
    dir.write("Comments_Big.rtf", big);
    const CommentLoad cut = files.load("Big");
    EXPECT_TRUE(cut.found);
    EXPECT_FALSE(cut.complete);
}

} // namespace
} // namespace cw::tools
