// The comments' RTF: every style run survives writing and reading, foreign files read, hostile files stay harmless.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tools/core/rtf.h"

namespace cw::tools {
namespace {

TextStyle style(bool b, bool i, bool u, int halfPoints = 0, std::int32_t colour = -1)
{
    return TextStyle{b, i, u, halfPoints, colour};
}

RichText everyStyle()
{
    RichText t;
    t.append("plain ");
    t.append("bold ", style(true, false, false));
    t.append("italic ", style(false, true, false));
    t.append("underline ", style(false, false, true));
    t.append("all three", style(true, true, true));
    t.newParagraph();
    t.append("12 points ", style(false, false, false, 24));
    t.append("red ", style(false, false, false, 0, 0xFF0000));
    t.append("black on purpose ", style(false, false, false, 0, 0x000000));
    t.append("big bold blue", style(true, false, true, 40, 0x0000C0));
    t.newParagraph(); // an empty line in the middle
    t.newParagraph();
    t.append("Caf\xC3\xA9 \xE2\x82\xAC 5 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80 {braces} back\\slash\tTab",
             style(false, true, false));
    t.newParagraph();
    t.append("7 digits after a group", style(true, false, false, 9));
    t.append("0 plain digits");
    t.newParagraph(); // an empty last line
    return t;
}

TEST(Rtf, EveryStyleRunSurvivesWritingAndReading)
{
    const RichText text = everyStyle();
    const std::string file = writeRtf(text);
    for (char c : file)
        ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "the file is plain ASCII";
    EXPECT_EQ(file.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(file.find("\\par\r\n"), std::string::npos);
    const RtfReadResult back = readRtf(file);
    EXPECT_TRUE(back.complete);
    EXPECT_EQ(back.text, text);
    EXPECT_EQ(back.text.paragraphs.size(), 6u);
}

TEST(Rtf, EmptyAndBlankComments)
{
    EXPECT_TRUE(readRtf(writeRtf(RichText{})).text.empty());
    RichText blankLines;
    blankLines.newParagraph();
    blankLines.newParagraph();
    EXPECT_EQ(readRtf(writeRtf(blankLines)).text, blankLines);
    // One empty line is no line at all: the comment is empty.
    RichText one;
    one.newParagraph();
    normalize(one);
    EXPECT_TRUE(one.empty());
}

TEST(Rtf, ReadsWhatWordProcessorsWrite)
{
    const std::string file =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}{\\f1 Arial;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green176\\blue80;}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Hello \\b world\\b0 , \\i caf\\'e9\\i0  "
        "\\ul costs\\ulnone  \\u8364?5\\par\r\n"
        "{\\*\\shppict{\\pict{\\*\\picprop}\\pngblip 89504e470d0a1a0a}}{\\nonshppict{\\pict\\wmetafile8 0100}}"
        "\\cf1\\fs28 red big\\cf2  green\\cf0\\fs22  auto\\par\r\n"
        "{\\field{\\*\\fldinst{HYPERLINK \"http://example.org\"}}{\\fldrslt{\\ul\\cf1 link}}}\\par\r\n"
        "}\r\n\0";
    const RichText t = readRtf(file).text;
    ASSERT_EQ(t.paragraphs.size(), 3u);
    EXPECT_EQ(t.paragraphs[0].text(), "Hello world, caf\xC3\xA9 costs \xE2\x82\xAC"
                                      "5");
    const auto& r0 = t.paragraphs[0].runs;
    ASSERT_EQ(r0.size(), 7u);
    EXPECT_EQ(r0[0], (TextRun{"Hello ", style(false, false, false, 22)}));
    EXPECT_EQ(r0[1], (TextRun{"world", style(true, false, false, 22)}));
    EXPECT_EQ(r0[3], (TextRun{"caf\xC3\xA9", style(false, true, false, 22)}));
    EXPECT_EQ(r0[5], (TextRun{"costs", style(false, false, true, 22)}));
    const auto& r1 = t.paragraphs[1].runs;
    ASSERT_EQ(r1.size(), 3u);
    EXPECT_EQ(r1[0], (TextRun{"red big", style(false, false, false, 28, 0xFF0000)}));
    EXPECT_EQ(r1[1], (TextRun{" green", style(false, false, false, 28, 0x00B050)}));
    EXPECT_EQ(r1[2], (TextRun{" auto", style(false, false, false, 22)}));
    EXPECT_EQ(t.paragraphs[2].text(), "link");
}

TEST(Rtf, PlainTextFileOpensAsLines)
{
    const RichText t = readRtf("first line\r\nsecond \xE9t\xE9\n").text;
    ASSERT_EQ(t.paragraphs.size(), 2u);
    EXPECT_EQ(t.paragraphs[1].text(), "second \xC3\xA9t\xC3\xA9"); // not UTF-8: read as code page 1252
}

struct Hostile {
    const char* what;
    std::string bytes;
    std::string text; // the text that must come out
    bool complete = true;
};

TEST(Rtf, HostileFilesGiveWhatCanBeReadAndNothingElse)
{
    const std::string hugeWord = "{\\rtf1 before \\" + std::string(50u << 20, 'x') + " after}";
    const std::string deep = "{\\rtf1 " + std::string(1'000'000, '{') + "deep" + std::string(1'000'000, '}') + "}";
    std::string junk = "{\\rtf1 ok ";
    std::mt19937 random(7);
    for (int i = 0; i < 200'000; ++i)
        junk += static_cast<char>(random() & 0xFF);
    std::string manyLines = "{\\rtf1 ";
    for (int i = 0; i < 300'000; ++i)
        manyLines += "\\par ";
    const Hostile cases[] = {
        {"unclosed groups", "{\\rtf1 {\\b bold {\\i both", "bold both"},
        {"stray closing braces", "{\\rtf1 {a}}}} not part of it", "a"},
        {"a 50 MB control word", hugeWord, "before after"},
        {"a million nested groups", deep, "deep"},
        {"a binary block longer than the file", "{\\rtf1 a\\bin999999999 \\par\\par}", "a"},
        {"a broken hex escape", "{\\rtf1 a\\'zz b\\'", "azz b"},
        {"an unpaired surrogate", "{\\rtf1 \\u-10179?x}", "\xEF\xBF\xBDx"},
        {"a picture only", "{\\rtf1{\\pict\\pngblip 89504e47}}", ""},
        {"huge numbers", "{\\rtf1\\fs99999999999999\\cf-5\\uc99999999999 x\\u99999999999?y}", "x"},
        {"too many paragraphs", manyLines, "", false},
    };
    for (const Hostile& c : cases) {
        const RtfReadResult r = readRtf(c.bytes);
        EXPECT_EQ(r.text.plainText().find_first_not_of('\n') == std::string::npos ? std::string() : r.text.plainText(),
                  c.text)
            << c.what;
        EXPECT_EQ(r.complete, c.complete) << c.what;
    }
    // Junk never crashes, and what it gives can be written and read back the same.
    const RtfReadResult j = readRtf(junk);
    EXPECT_EQ(j.text.paragraphs.empty() ? "" : j.text.paragraphs[0].text().substr(0, 3), "ok ");
    EXPECT_EQ(readRtf(writeRtf(j.text)).text, j.text);
}

TEST(Rtf, LimitsBoundWhatIsKept)
{
    std::string styled = "{\\rtf1 ";
    for (int i = 0; i < 1000; ++i)
        styled += i % 2 ? "\\b a" : "\\b0 a";
    RtfLimits limits;
    limits.maxRuns = 100;
    const RtfReadResult r = readRtf(styled, limits);
    EXPECT_FALSE(r.complete);
    EXPECT_EQ(r.text.paragraphs.at(0).runs.size(), 100u);
    limits = {};
    limits.maxTextBytes = 10;
    EXPECT_LE(readRtf("{\\rtf1 " + std::string(1000, 'a') + "}", limits).text.plainText().size(), 11u);
}

} // namespace
} // namespace cw::tools
