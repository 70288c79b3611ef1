// Tests of the whole-file helpers, fixed-width fields and case-insensitive names.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "fault_files.h"
#include "storage/fixed_width.h"
#include "storage/safe_file.h"
#include "temp_dir.h"

namespace cw::storage {
namespace {

using test::TempDir;

TEST(FixedWidth, Numbers) {
    struct Row { std::int64_t value; int width; const char* expected; };
    const Row rows[] = {
        {5, 3, "005"},     {0, 4, "0000"},     {-1, 4, "-001"},   {1234, 4, "1234"},
        {12345, 4, "****"}, {-123, 4, "-123"}, {-1234, 4, "****"}, {-5, 1, "*"},
        {7, 0, ""},        {INT64_MIN, 20, "-9223372036854775808"},
    };
    for (const auto& r : rows) EXPECT_EQ(fixedNumber(r.value, r.width), r.expected) << r.value << "/" << r.width;
}

TEST(FixedWidth, Texts) {
    EXPECT_EQ(fixedText("Spider", 4), "Spid");
    EXPECT_EQ(fixedText("ab", 5), "ab   ");
    EXPECT_EQ(fixedText("", 2), "  ");
    // Widths count characters: a letter with an accent is one character of two bytes; a byte that is
    // no UTF-8 (a one-byte code page) is one character.
    EXPECT_EQ(fixedText("\u00c9t\u00e9", 4), "\u00c9t\u00e9 ");
    EXPECT_EQ(fixedText("\u00c9t\u00e9s", 2), "\u00c9t");
    EXPECT_EQ(fixedText("\xe9t\xe9", 4), "\xe9t\xe9 ");
    EXPECT_EQ(textLength("\u00c9t\u00e9\xff\xc3"), 5u);
    const std::string line = "R\u00e9ussite  Zo\u00eb  Won";
    EXPECT_EQ(textColumn(line, 11, 3), "Zo\u00eb");
    EXPECT_EQ(textColumn(line, 16, 9), "Won");
    EXPECT_EQ(textColumn(line, 30, 2), "");
    EXPECT_EQ(columnOffset(line, 11), 11u);  // "\u00e9" takes two bytes
}

TEST(FixedWidth, ParseInteger) {
    struct Row { const char* text; std::optional<std::int64_t> expected; };
    const Row rows[] = {
        {"12", 12}, {" -7 ", -7}, {"+3", 3}, {"", std::nullopt}, {"-", std::nullopt}, {"1x", std::nullopt},
        {"0x10", std::nullopt}, {"9223372036854775807", INT64_MAX}, {"9223372036854775808", std::nullopt},
        {"-9223372036854775808", INT64_MIN}, {"1 2", std::nullopt},
    };
    for (const auto& r : rows) EXPECT_EQ(parseInteger(r.text), r.expected) << r.text;
}

TEST(SafeFile, SplitLinesAcceptsCrLfAndLf) {
    using V = std::vector<std::string>;
    EXPECT_EQ(splitLines("a\r\nb\nc"), (V{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (V{"a", ""}));
    EXPECT_EQ(splitLines(""), V{});
    EXPECT_EQ(splitLines("x\ry\n"), V{"x\ry"});
    EXPECT_EQ(splitLines(std::string("n\0ul\n", 5)), V{std::string("n\0ul", 4)});
}

TEST(SafeFile, AtomicWriteReplacesAndKeepsPermissions) {
    TempDir dir;
    std::string path = dir.write("Stat.dat", "old");
    ::chmod(path.c_str(), 0640);
    writeFileAtomic(path, std::string("new\0data", 8));
    EXPECT_EQ(dir.read("Stat.dat"), std::string("new\0data", 8));
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(dir.entryCount(), 1u) << "no temporary file left behind";
}

TEST(SafeFile, AtomicWriteFailureLeavesOldDataAndNoTemp) {
    TempDir dir;
    // A non-empty folder in place of the file makes the final rename fail even for privileged users.
    std::filesystem::create_directory(dir.file("Cfg.dat"));
    dir.write("Cfg.dat/inside", "keep");
    std::string path = dir.file("Cfg.dat");
    try {
        writeFileAtomic(path, "lost");
        FAIL() << "expected an error";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Error saving the file: " + path);
    }
    EXPECT_EQ(dir.read("Cfg.dat/inside"), "keep");
    EXPECT_EQ(dir.entryCount(), 1u) << "the temporary file is removed";
    EXPECT_THROW(writeFileAtomic(dir.file("no/such/folder/x"), "y"), FileError);
}

TEST(SafeFile, ResolveNoCase) {
    TempDir dir;
    dir.write("Cfg.dat", "x");
    std::filesystem::create_directory(dir.file("Demos"));
    dir.write("Demos/G18.GAM", "g");
    EXPECT_EQ(resolveNoCase(dir.file("cfg.DAT")), dir.file("Cfg.dat"));
    EXPECT_EQ(resolveNoCase(dir.file("Cfg.dat")), dir.file("Cfg.dat"));
    EXPECT_EQ(resolveNoCase(dir.file("demos/g18.gam")), dir.file("Demos/G18.GAM"));
    EXPECT_EQ(resolveNoCase(dir.file("Missing.dat")), dir.file("Missing.dat")) << "new files keep the given spelling";
    EXPECT_EQ(resolveNoCase(dir.file("nothere/x.dat")), dir.file("nothere/x.dat"));
}

TEST(SafeFile, ReadWholeFile) {
    TempDir dir;
    dir.write("a", std::string("1\0002", 3));
    EXPECT_EQ(readWholeFile(dir.file("a")), std::string("1\0002", 3));
    EXPECT_EQ(readWholeFile(dir.file("b")), std::nullopt);
}

// A full disk never leaves half a record at the end of an appended file; an append made again after a
// crash (the journal) finds its bytes and does not write them twice.
TEST(SafeFile, AppendsAreWholeOrNothing)
{
    test::TempDir dir;
    const std::string log = dir.write("Stat_log.dat", "first\r\n");
    {
        test::FullDisk full("Stat_log.dat", 5); // the disk takes a few bytes, then is full
        test::Faults faults(full);
        EXPECT_THROW(appendWhole(log, "second record\r\n"), FileError);
    }
    EXPECT_EQ(dir.read("Stat_log.dat"), "first\r\n");
    appendWholeAt(log, 7, "second\r\n");
    appendWholeAt(log, 7, "second\r\n"); // made again: already there
    EXPECT_EQ(dir.read("Stat_log.dat"), "first\r\nsecond\r\n");
    dir.write("Stat_log.dat", "first\r\nsec"); // a torn tail of the planned bytes is replaced
    appendWholeAt(log, 7, "second\r\n");
    EXPECT_EQ(dir.read("Stat_log.dat"), "first\r\nsecond\r\n");
    appendWholeAt(log, 100, "third\r\n"); // a shorter file than planned gets the bytes at its end
    EXPECT_EQ(dir.read("Stat_log.dat"), "first\r\nsecond\r\nthird\r\n");
}

}  // namespace
}  // namespace cw::storage
