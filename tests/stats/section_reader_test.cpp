// Reading all pairs of one section: long sections, LF line ends, the last section, missing sections.
#include <gtest/gtest.h>

#include "stats/section_reader.h"
#include "stats_fixture.h"

namespace cw::stats::test {
namespace {

TEST_F(StatsTest, SectionPairsAcrossBlocksAndLineEnds) {
    std::string longSection = "[Big]\r\n";
    for (int i = 0; i < 400; ++i) longSection += "K" + std::to_string(i) + "=" + std::string(60, 'v') + "\r\n";
    struct Case {
        std::string text, section;
        std::size_t pairs;
        std::string firstKey, lastValue;
    };
    const Case cases[] = {
        {"[A]\r\nx=1\r\ny=2  \r\n[B]\r\nz=3\r\n", "A", 2, "x", "2"},
        {"[A]\nx=1\n[B]\nz=3", "B", 1, "z", "3"},
        {std::string(9000, ' ') + "\r\n" + longSection + "[After]\r\nq=1\r\n", "Big", 400, "K0", std::string(60, 'v')},
        {"[A]\r\nnot a pair\r\n\r\nk = v\r\n", "A", 1, "k", " v"},  // values as the keyed files read them
        {"[A]", "A", 0, "", ""},
    };
    for (const Case& c : cases) {
        dir.write("f.dat", c.text);
        auto pairs = readSectionPairs(dir.file("f.dat"), c.section);
        ASSERT_TRUE(pairs) << c.section;
        ASSERT_EQ(pairs->size(), c.pairs) << c.section;
        if (c.pairs == 0) continue;
        EXPECT_EQ(pairs->front().first, c.firstKey);
        EXPECT_EQ(pairs->back().second, c.lastValue);
    }
    EXPECT_FALSE(readSectionPairs(dir.file("f.dat"), "Missing"));
    EXPECT_FALSE(readSectionPairs(dir.file("none.dat"), "A"));
}

}  // namespace
}  // namespace cw::stats::test
