// Rich text of game comments and its RTF form: paragraphs of runs styled bold, italic, underline, size and colour.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cw::tools {

// The size of text that names none ("MS Sans Serif" 8 points), in half points as RTF counts them.
inline constexpr int kDefaultHalfPoints = 16;

struct TextStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 0;       // font size in half points; 0: the default size
    std::int32_t colour = -1; // 0xRRGGBB; -1: the automatic text colour

    bool isDefault() const { return *this == TextStyle{}; }
    friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

// A piece of text (UTF-8) in one style.
struct TextRun {
    std::string text;
    TextStyle style;
    friend bool operator==(const TextRun&, const TextRun&) = default;
};

struct Paragraph {
    std::vector<TextRun> runs;
    std::string text() const;
    friend bool operator==(const Paragraph&, const Paragraph&) = default;
};

// A comment: no paragraphs at all is the empty comment (the editor holds no line).
struct RichText {
    std::vector<Paragraph> paragraphs;

    bool empty() const { return paragraphs.empty(); }
    // The paragraphs' text joined by "\n".
    std::string plainText() const;
    // Appends text in a style to the last paragraph (a first paragraph is made when there is none).
    void append(std::string_view text, const TextStyle& style = {});
    // Starts a new paragraph.
    void newParagraph() { paragraphs.emplace_back(); }
    friend bool operator==(const RichText&, const RichText&) = default;
};

// The one form of a text: runs of the same style joined, empty runs dropped, the default size
// written as 0, a document of one empty paragraph as no paragraph.
void normalize(RichText& text);

// What the reader keeps at most; reading stops there (the result says it is incomplete). The
// bounds keep the memory of a hostile file small whatever its size.
struct RtfLimits {
    std::size_t maxTextBytes = std::size_t{4} << 20;
    std::size_t maxRuns = std::size_t{1} << 17;
    std::size_t maxParagraphs = std::size_t{1} << 17;
    int maxDepth = 256; // groups deeper than this keep the style of the last kept level
};

struct RtfReadResult {
    RichText text;        // normalized
    bool complete = true; // false: a limit stopped the reading, or the file is not RTF at all
};

// Reads the subset of RTF the comments use: paragraphs (\par, \line), bold, italic, underline,
// font size, the colour table and \cf, characters as \'hh (code page 1252), \u and raw bytes.
// Fonts, pictures, objects, fields' instructions and every other destination are skipped, as
// are unknown control words. Never fails: whatever can be read is returned.
RtfReadResult readRtf(std::string_view bytes, const RtfLimits& limits = {});

// The RTF file of a text: ASCII only, CR LF after each paragraph, readable by word processors;
// readRtf gives the same text back.
std::string writeRtf(const RichText& text);

// UTF-8 helpers shared by the reader and the writer.
void appendUtf8(std::string& out, char32_t codePoint);
// The code points of UTF-8 text; malformed bytes become U+FFFD.
std::u32string decodeUtf8(std::string_view text);
// The code point at text[at], moving `at` past it; U+FFFD (and *malformed set) for malformed bytes.
char32_t nextCodePoint(std::string_view text, std::size_t& at, bool* malformed = nullptr);

} // namespace cw::tools
