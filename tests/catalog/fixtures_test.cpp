// Keeps the definitions file fixtures equal to what the writer produces; CW_WRITE_FIXTURES=1 regenerates them.
#include "catalog/definitions.h"
#include "storage/fixed_width.h"
#include "catalog/custom_games.h"
#include "fixture_games.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

namespace cw::catalog {
namespace {

using testing::fixtureGames;
using testing::fixtureGroups;
using testing::fixturePath;

// Replaces line `index` (0-based, over the whole file) by `line`; an empty optional removes it.
std::string editLine(const std::string& text, std::size_t index, const std::optional<std::string>& line)
{
    std::vector<std::string> lines = SplitLines(text);
    if (line)
        lines.at(index) = *line;
    else
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index));
    std::string out;
    for (const auto& l : lines)
        out += l + "\r\n";
    return out;
}

std::string insertLine(const std::string& text, std::size_t index, const std::string& line)
{
    std::vector<std::string> lines = SplitLines(text);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(index), line);
    std::string out;
    for (const auto& l : lines)
        out += l + "\r\n";
    return out;
}

std::string customRecord(int id, const std::string& idText, const std::string& name, int base,
                         const std::string& ruleString)
{
    std::string first = idText.empty() ? cw::storage::fixedNumber(id, 4) : idText;
    std::string padded = name;
    padded.resize(50, ' ');
    std::string out = first + padded + cw::storage::fixedNumber(base, 4) + "\r\n" + ruleString + "\r\n";
    for (int i = 2; i < kCustomRecordLines; ++i)
        out += "\r\n";
    return out;
}

// Every fixture file and the text it must hold.
std::map<std::string, std::string> expectedFixtures()
{
    auto good = writeDefinitions(fixtureGames(), fixtureGroups());
    EXPECT_TRUE(good) << good.error();
    const std::string text = good ? *good : std::string();
    // File lines: 0 "[Sect1]", 1-4 the game rows, 5 "[Sect2]", 6.. parameter rows (row p at 5 + p).
    std::map<std::string, std::string> files;
    files["GAMES.DAT"] = text;
    // Spider's row cut after its id: still listed (it keeps column 1), but unusable.
    files["short_row.DAT"] = editLine(text, 2, SplitLines(text).at(2).substr(0, 6));
    // FreeCell (column 2) gets letters in its cell of parameter 17.
    {
        std::string row = SplitLines(text).at(5 + 17);
        row.replace(16 + 11 * 2, 10, EncodeDefinitionText("      abc "));
        files["bad_cell.DAT"] = editLine(text, 5 + 17, row);
    }
    // FreeCell's row claims id 1, which Spider already has.
    {
        std::string row = DecodeDefinitionText(SplitLines(text).at(4));
        row.replace(4, 3, "001");
        files["duplicate_id.DAT"] = editLine(text, 4, EncodeDefinitionText(row));
    }
    files["sect2_501_rows.DAT"] = editLine(text, 5 + 502, std::nullopt);
    files["blank_line_sect2.DAT"] = insertLine(text, 5 + 101, "");

    files["data/GAM_CUST.DAT"] = "[R-0301]\r\n" +
                                 customRecord(8000, "", "My Klondike", 0, "003-0120100200001") +
                                 customRecord(8001, "", "Wide Spider", 1, std::string(17, ' ')) +
                                 customRecord(0, "abcd", "Broken Record", 0, "00100") +
                                 customRecord(8002, "", "Two Cells", 3, "00100030000000000") +
                                 customRecord(8003, "", "my klondike", 3, "00100");
    return files;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(Fixtures, FilesMatchTheWriter)
{
    const bool write = std::getenv("CW_WRITE_FIXTURES") != nullptr;
    for (const auto& [name, text] : expectedFixtures()) {
        const std::string path = fixturePath(name);
        if (write) {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << text;
            ASSERT_TRUE(out.good()) << path;
        }
        EXPECT_EQ(readFile(path), text) << name << " differs from the writer's output";
    }
}

} // namespace
} // namespace cw::catalog
