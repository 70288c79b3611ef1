// Tests of the keyed-file engine: section search, reads, in-place updates and whole-section rewrites.
#include <gtest/gtest.h>

#include <filesystem>

#include "storage/keyed_file.h"
#include "temp_dir.h"

namespace cw::storage {
namespace {

using test::TempDir;

const std::string kStat =
    "[Anna|Klondike]\r\n"
    "Won=0003\r\n"
    "Lost =0010\r\n"
    "Name=  Anna  \r\n"
    "\r\n"
    "[Bob|Spider]\r\n"
    "Won=0001\r\n"
    "[Anna|Klondike]\r\n"
    "Later=1\r\n";

TEST(KeyedFile, FindSectionAcrossBlockBoundaries) {
    const std::string hdr = "[Target]";
    // Header starts around the first boundary (8192) and around the second block's end, which lies at
    // 8192 + 8192 - len(header) because each block steps back by the header's length.
    for (std::size_t at : {std::size_t(0), std::size_t(8184), std::size_t(8185), std::size_t(8188), std::size_t(8191),
                           std::size_t(8192), std::size_t(16375), std::size_t(16376), std::size_t(16380),
                           std::size_t(40000)}) {
        TempDir dir;
        std::string bytes(at, 'x');
        bytes += hdr + "\r\nk=v\r\n";
        std::string path = dir.write("Stat.dat", bytes);
        EXPECT_EQ(findSection(path, hdr), std::int64_t(at)) << at;
        EXPECT_EQ(readKeyedValue(path, "Target", "k", "").value, "v") << at;
    }
    TempDir dir;
    std::string path = dir.write("Stat.dat", std::string(8192, 'x'));  // exactly one full block
    EXPECT_EQ(findSection(path, hdr), std::nullopt);
    EXPECT_EQ(findSection(dir.file("missing.dat"), hdr), std::nullopt);
    path = dir.write("Long.dat", "x[" + std::string(20000, 's') + "]");  // a header longer than a block
    EXPECT_EQ(findSection(path, "[" + std::string(20000, 's') + "]"), 1);
}

TEST(KeyedFile, ReadKeyedValue) {
    TempDir dir;
    std::string path = dir.write("STAT.DAT", kStat);
    std::string asked = dir.file("Stat.dat");  // the name is matched without case
    struct Row { const char* section; const char* key; bool found; const char* value; };
    const Row rows[] = {
        {"Anna|Klondike", "Won", true, "0003"},
        {"Anna|Klondike", "Lost", true, "0010"},    // "key =" form
        {"Anna|Klondike", "Name", true, "  Anna"},  // trailing blanks removed only
        {"Anna|Klondike", "Later", false, "def"},   // only the first section of a name is searched
        {"Anna|Klondike", "won", false, "def"},     // keys match with case
        {"Anna|Klondike", "Wo", false, "def"},
        {"Bob|Spider", "Won", true, "0001"},
        {"Bob|Spider", "Later", false, "def"},      // not past the next header
        {"Carl|Spider", "Won", false, "def"},
    };
    for (const auto& r : rows) {
        KeyedValue v = readKeyedValue(asked, r.section, r.key, "def");
        EXPECT_EQ(v.found, r.found) << r.section << "/" << r.key;
        EXPECT_EQ(v.value, r.value) << r.section << "/" << r.key;
    }
}

TEST(KeyedFile, ReadKeyedValuesListSectionsAndKeys) {
    TempDir dir;
    std::string path = dir.write("Stat.dat", kStat);
    KeyedValues v = readKeyedValues(path, "Anna|Klondike", {"Name", "Won", "Later"}, {"a", "b", "c"});
    EXPECT_FALSE(v.allFound) << "the scan stops at the next header";
    EXPECT_EQ(v.values, (std::vector<std::string>{"  Anna  ", "0003", "c"}));
    EXPECT_EQ(v.found, (std::vector<bool>{true, true, false}));
    v = readKeyedValues(path, "Bob|Spider", {"Won"}, {"0"});
    EXPECT_TRUE(v.allFound);
    EXPECT_EQ(v.values[0], "0001");

    EXPECT_EQ(listSections(path), (std::vector<std::string>{"Anna|Klondike", "Bob|Spider", "Anna|Klondike"}));
    EXPECT_EQ(listSectionKeys(path, "Anna|Klondike"), (std::vector<std::string>{"Won", "Lost", "Name"}));
    EXPECT_TRUE(listSectionKeys(path, "Nobody").empty());
    EXPECT_TRUE(listSections(dir.file("missing")).empty());
}

TEST(KeyedFile, LfOnlyFilesAreRead) {
    TempDir dir;
    std::string path = dir.write("Stat.dat", "[A]\nk=1\n[B]\nk=2\n");
    EXPECT_EQ(readKeyedValue(path, "A", "k", "").value, "1");
    EXPECT_EQ(readKeyedValue(path, "B", "k", "").value, "2");
    EXPECT_EQ(readKeyedValues(path, "B", {"k"}, {""}).values[0], "2");
}

TEST(KeyedFile, WriteKeyedValueInPlace) {
    TempDir dir;
    std::string path = dir.write("Stat.dat", kStat);
    writeKeyedValue(path, "Anna|Klondike", "Lost", "0011");
    std::string expected = kStat;
    expected.replace(expected.find("0010"), 4, "0011");
    EXPECT_EQ(dir.read("Stat.dat"), expected);
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST(KeyedFile, WriteKeyedValueNewKeyRewritesSection) {
    TempDir dir;
    std::string path = dir.write("Stat.dat", kStat);
    writeKeyedValue(path, "Anna|Klondike", "Score", "000120");
    EXPECT_EQ(dir.read("Stat.dat"),
              "[Anna|Klondike]\r\n"
              "Won=0003\r\n"
              "Lost =0010\r\n"
              "Name=Anna  \r\n"  // leading blanks of old values stripped
              "Score=000120\r\n"
              "\r\n"
              "[Bob|Spider]\r\n"
              "Won=0001\r\n"
              "[Anna|Klondike]\r\n"
              "Later=1\r\n");
    EXPECT_EQ(dir.entryCount(), 1u) << "the temporary copy took the file's place";
}

TEST(KeyedFile, WriteKeyedValueOtherCases) {
    TempDir dir;
    std::string path = dir.write("Stat.dat", kStat);
    // A value of another length never overwrites the neighbouring bytes.
    writeKeyedValue(path, "Bob|Spider", "Won", "12345");
    EXPECT_EQ(readKeyedValue(path, "Bob|Spider", "Won", "").value, "12345");
    EXPECT_EQ(readKeyedValue(path, "Anna|Klondike", "Later", "").value, "");
    EXPECT_EQ(listSections(path).size(), 3u);
    // A missing section is appended; a missing file is created.
    writeKeyedValue(path, "Carl|Golf", "Won", "0000");
    EXPECT_EQ(dir.read("Stat.dat").substr(dir.read("Stat.dat").size() - 25), "\r\n[Carl|Golf]\r\nWon=0000\r\n");
    writeKeyedValue(dir.file("New.dat"), "S", "k", "v\r\n[Injected]");
    EXPECT_EQ(dir.read("New.dat"), "\r\n[S]\r\nk=v  [Injected]\r\n");
}

TEST(KeyedFile, OverwriteSection) {
    TempDir dir;
    std::string path = dir.write("Stat.dat", kStat);
    // Same room (the blank line before the next header may stay): written in place.
    overwriteSection(path, "Anna|Klondike", {{"Won", "0004"}, {"Lost ", "0011"}, {"Name", "  Anna  "}});
    std::string expected = kStat;
    expected.replace(expected.find("0003"), 4, "0004");
    expected.replace(expected.find("0010"), 4, "0011");
    EXPECT_EQ(dir.read("Stat.dat"), expected);
    // More room needed: the section is rewritten instead of spilling into the next one.
    overwriteSection(path, "Bob|Spider", {{"Won", "0002"}, {"Lost", "0007"}});
    EXPECT_EQ(readKeyedValues(path, "Bob|Spider", {"Won", "Lost"}, {"", ""}).values,
              (std::vector<std::string>{"0002", "0007"}));
    EXPECT_EQ(readKeyedValue(path, "Anna|Klondike", "Won", "").value, "0004");
    EXPECT_EQ(listSections(path).size(), 3u);
    // Less content than before: rewritten so that no stale key survives.
    overwriteSection(path, "Bob|Spider", {{"Won", "0003"}});
    EXPECT_FALSE(readKeyedValue(path, "Bob|Spider", "Lost", "").found);
    overwriteSection(path, "New", {{"a", "1"}});
    EXPECT_EQ(readKeyedValue(path, "New", "a", "").value, "1");
}

TEST(KeyedFile, RewriteAndAppendSection) {
    TempDir dir;
    std::string path = dir.write("Stat.dat", kStat);
    EXPECT_FALSE(rewriteSection(path, "Nobody", {{"a", "1"}}));
    EXPECT_EQ(dir.entryCount(), 1u) << "no temporary file left";
    EXPECT_TRUE(rewriteSection(path, "Bob|Spider", {{"Won", "0009"}, {"Lost", "0000"}}));
    EXPECT_EQ(dir.read("Stat.dat"),
              kStat.substr(0, kStat.find("Won=0001")) + "Won=0009\r\nLost=0000\r\n\r\n[Anna|Klondike]\r\nLater=1\r\n");
    EXPECT_TRUE(rewriteSection(path, "Anna|Klondike", {}));
    EXPECT_EQ(dir.read("Stat.dat").substr(0, 21), "[Anna|Klondike]\r\n\r\n[B");
    appendSection(path, "Tail", {{"x", "1"}, {"y", "2"}});
    EXPECT_EQ(readKeyedValues(path, "Tail", {"y", "x"}, {"", ""}).values, (std::vector<std::string>{"2", "1"}));
}

TEST(KeyedFile, HandleIsReusedAndReopenedAfterRewrite) {
    TempDir dir;
    std::string path = dir.write("Stat.dat", kStat);
    FileHandle h(path);
    EXPECT_EQ(readKeyedValue(path, "Bob|Spider", "Won", "", &h).value, "0001");
    writeKeyedValue(path, "Bob|Spider", "Lost", "0002", &h);  // new key: rewrite through a copy
    EXPECT_TRUE(h.isOpen());
    EXPECT_EQ(readKeyedValue(path, "Bob|Spider", "Lost", "", &h).value, "0002") << "the handle sees the new file";
    writeKeyedValue(path, "Bob|Spider", "Won", "0005", &h);  // in place through the handle
    EXPECT_EQ(readKeyedValue(path, "Bob|Spider", "Won", "").value, "0005");
    appendSection(path, "Z", {{"k", "v"}}, &h);
    EXPECT_EQ(readKeyedValue(path, "Z", "k", "", &h).value, "v");

    FileHandle fresh;  // a handle for a file that does not exist yet
    writeKeyedValue(dir.file("Series.dat"), "S", "k", "1", &fresh);
    EXPECT_TRUE(fresh.isOpen());
    EXPECT_EQ(readKeyedValue(dir.file("Series.dat"), "S", "k", "", &fresh).value, "1");
}

TEST(KeyedFile, ReplaceAtColumn) {
    TempDir dir;
    std::string lines;
    for (int i = 0; i < 25; ++i) lines += (i % 2 ? "xxAnnaxx\r\n" : "xxBobxxx\n");
    lines += "AnnaAnna";  // no final line end, text not at the column
    std::string path = dir.write("Stat_log.dat", lines);
    std::vector<long> progress;
    EXPECT_TRUE(replaceAtColumn(path, 3, "Anna", "Zoe ", [&](long n) { progress.push_back(n); }));
    std::string expected;
    for (int i = 0; i < 25; ++i) expected += (i % 2 ? "xxZoe xx\r\n" : "xxBobxxx\n");
    expected += "AnnaAnna";
    EXPECT_EQ(dir.read("Stat_log.dat"), expected) << "each line keeps its own line end";
    EXPECT_EQ(progress, (std::vector<long>{10, 20}));
    EXPECT_EQ(dir.entryCount(), 1u);
    EXPECT_FALSE(replaceAtColumn(dir.file("missing"), 1, "a", "b"));
}

TEST(KeyedFile, CreateEmptyFileAndErrors) {
    TempDir dir;
    EXPECT_TRUE(createEmptyFile(dir.file("Stat.dat")));
    EXPECT_FALSE(createEmptyFile(dir.file("STAT.dat")));
    EXPECT_EQ(dir.read("Stat.dat"), "");

    std::filesystem::create_directory(dir.file("Dir.dat"));
    try {
        readKeyedValue(dir.file("Dir.dat"), "A", "k", "");
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.file("Dir.dat"));
    }
    EXPECT_THROW(writeKeyedValue(dir.file("no/folder/x.dat"), "A", "k", "v"), FileError);
    try {
        FileHandle h(dir.file("missing.dat"));
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.file("missing.dat"));
    }
}

TEST(KeyedFile, DamagedFiles) {
    const std::string damaged[] = {
        "[A]",                                   // header, nothing else, no line end
        "[A]k=v",                                // header without a line end
        "[A]\r",                                 // cut inside the line end
        "[A]\r\n[B]\r\nk=v\r\n",                 // empty section right before the next header
        std::string("[A]\r\nk=\0\0\xff\r\n", 12),
        std::string(30000, '['),
        std::string(20000, '\n') + "[A]\r\nk",   // key without "="
        "\xff\xfe\x00[A\x00]",
    };
    for (const auto& bytes : damaged) {
        TempDir dir;
        std::string path = dir.write("Stat.dat", bytes);
        (void)readKeyedValue(path, "A", "k", "d");
        (void)readKeyedValues(path, "A", {"k", "z"}, {"", ""});
        (void)listSections(path);
        (void)listSectionKeys(path, "A");
        writeKeyedValue(path, "A", "k", "new");
        EXPECT_EQ(readKeyedValue(path, "A", "k", "").value, "new") << bytes.substr(0, 20);
        overwriteSection(path, "A", {{"k", "two"}, {"m", "1"}});
        EXPECT_EQ(readKeyedValue(path, "A", "m", "").value, "1") << bytes.substr(0, 20);
        EXPECT_EQ(readKeyedValue(path, "A", "k", "").value, "two") << bytes.substr(0, 20);
    }
    TempDir dir;
    std::string path = dir.write("Stat.dat", "[A]\r\n[B]\r\nk=v\r\n");
    EXPECT_FALSE(readKeyedValue(path, "A", "k", "").found) << "an empty section does not borrow the next one's keys";
}

}  // namespace
}  // namespace cw::storage
