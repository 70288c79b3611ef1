// Players: the name check, the stored list and the roster the "Players" dialog edits.
#include <gtest/gtest.h>

#include "storage/ini_file.h"
#include "storage/players.h"
#include "storage/temp_dir.h"

namespace cw::storage {
namespace {

TEST(PlayerNames, Check) {
    using P = PlayerNameProblem;
    struct Case {
        std::string name;
        P problem;
    };
    const Case cases[] = {
        {"Ann", P::None},
        {"  Ann  ", P::None},
        {"* Ann", P::ForbiddenCharacter},
        {"", P::Empty},
        {"   ", P::Empty},
        {"a/b", P::ForbiddenCharacter},
        {"a\\b", P::ForbiddenCharacter},
        {"a:b", P::ForbiddenCharacter},
        {"a?b", P::ForbiddenCharacter},
        {"a\"b", P::ForbiddenCharacter},
        {"a<b>", P::ForbiddenCharacter},
        {"a|b", P::ForbiddenCharacter},
        {"..", P::ForbiddenCharacter},
        {"a..b", P::ForbiddenCharacter},
        {"a.b", P::None},
        {std::string("a\0b", 3), P::ForbiddenCharacter},
        {"a\nb", P::ForbiddenCharacter},
        {"a\tb", P::ForbiddenCharacter},
        {"[0001]", P::ForbiddenCharacter},
        {"a=b", P::ForbiddenCharacter},
        {std::string(30, 'x'), P::None},
        {std::string(31, 'x'), P::TooLong},
        {"Renée", P::None},
        // Characters are counted, not bytes: sixteen "É" are 32 bytes.
        {[] {
             std::string s;
             for (int i = 0; i < 16; ++i)
                 s += "\u00c9";
             return s;
         }(),
         P::None},
        {[] {
             std::string s;
             for (int i = 0; i < 31; ++i)
                 s += "\u00e9";
             return s;
         }(),
         P::TooLong},
        // The statistics files' own sections are no players, in any case.
        {"Version", P::Reserved},
        {"version ", P::Reserved},
        {"CLEAR SCORES", P::Reserved},
        {"Versions", P::None},
    };
    for (const Case& c : cases) EXPECT_EQ(checkPlayerName(c.name), c.problem) << c.name;
    // The message names every character that is refused.
    const std::string message = playerNameMessage(P::ForbiddenCharacter);
    for (std::string_view refused : {"\\", "/", ":", "*", "?", "\"", "<", ">", "|", "[", "]", "=", "..", "control"})
        EXPECT_NE(message.find(refused), std::string::npos) << refused;
    EXPECT_NE(renamePlayerMessage("Version").find("\"Version\""), std::string::npos);
}

TEST(Players, StoredListSortedAndRewrittenWithoutGaps) {
    test::TempDir dir;
    IniFile ini(dir.file("Cfg.dat"));
    ini.writeString("Users", "User001", "bob");
    ini.writeString("Users", "User003", "Ann");
    ini.writeString("Users", "User020", "Cid");
    EXPECT_EQ(readPlayerSlots(ini), (std::vector<std::string>{"bob", "Ann", "Cid"}));
    EXPECT_EQ(listPlayers(ini), (std::vector<std::string>{"Ann", "bob", "Cid"}));

    PlayerRoster roster(readPlayerSlots(ini), "Ann");
    ASSERT_TRUE(roster.remove(std::size_t(roster.indexOf("bob"))));
    writePlayerSlots(ini, roster.names());
    EXPECT_EQ(ini.readString("Users", "User001", "?"), "Ann");
    EXPECT_EQ(ini.readString("Users", "User002", "?"), "Cid");
    EXPECT_EQ(ini.readString("Users", "User003", "?"), "");
    EXPECT_EQ(ini.readString("Users", "User020", "?"), "");

    // A 21st player is not saved.
    std::vector<std::string> many;
    for (int i = 0; i < 21; ++i) many.push_back("P" + std::to_string(i));
    writePlayerSlots(ini, many);
    EXPECT_EQ(readPlayerSlots(ini).size(), 20u);
}

TEST(Players, NamesAreCheckedOnceAtTheFirstStartOfThisVersion) {
    test::TempDir dir;
    IniFile ini(dir.file("Cfg.dat"));
    ini.writeString("Users", "User001", "Ann");
    EXPECT_FALSE(playerNamesNeedRenaming(ini));
    EXPECT_EQ(ini.readString("Parameters", "Players_Names_V01", ""), "Y");
    ini.writeString("Parameters", "Players_Names_V01", "N");
    ini.writeString("Users", "User002", "a:b");
    EXPECT_TRUE(playerNamesNeedRenaming(ini));
    EXPECT_FALSE(playerNamesNeedRenaming(ini));  // once only
}

TEST(Players, RosterChecksEveryChange) {
    using P = PlayerNameProblem;
    PlayerRoster r({"Player 1", "Player 2", "Player 3"}, "Player 2");
    EXPECT_EQ(r.rename(std::size_t(r.indexOf("Player 2")), "Player 2"), P::None);  // same name accepted
    EXPECT_FALSE(r.changed());
    EXPECT_EQ(r.add("player 1"), P::Duplicate);  // "player 1" and "Player 1" would share files
    EXPECT_EQ(r.add("Player 1  "), P::Duplicate);
    EXPECT_EQ(r.add("a/b"), P::ForbiddenCharacter);
    EXPECT_EQ(r.add(""), P::Empty);
    EXPECT_EQ(r.add("Ann"), P::None);
    EXPECT_EQ(r.names().front(), "Ann");
    EXPECT_EQ(r.rename(std::size_t(r.indexOf("Player 2")), "Zoe"), P::None);
    EXPECT_EQ(r.current(), "Zoe");
    EXPECT_EQ(r.names().back(), "Zoe");
    EXPECT_FALSE(r.remove(std::size_t(r.indexOf("Zoe"))));  // the current player stays
    EXPECT_TRUE(r.remove(std::size_t(r.indexOf("Ann"))));
    EXPECT_TRUE(r.changed());
    EXPECT_EQ(firstInvalidPlayerName({"ok", "bad:name", "x/y"}), 1);
    EXPECT_EQ(firstInvalidPlayerName(r.names()), -1);
}

}  // namespace
}  // namespace cw::storage
