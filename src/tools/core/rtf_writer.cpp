// Writing comment files: the rich text as plain ASCII RTF that word processors open.
#include <algorithm>
#include <array>

#include "tools/core/rtf.h"

namespace cw::tools {

namespace {

// Code page 1252's byte for a character of 0x80 to 0x9F's part of the page; 0 when none.
unsigned char cp1252Byte(char32_t c)
{
    static constexpr std::array<char32_t, 32> high = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    if (c >= 0xA0 && c <= 0xFF)
        return static_cast<unsigned char>(c);
    for (std::size_t i = 0; i < high.size(); ++i)
        if (high[i] != 0 && high[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    return 0;
}

void writeUnicode(std::string& out, char32_t c)
{
    // \u takes a signed 16-bit number; the "?" is the fallback a reader without Unicode shows.
    const int signedValue = c > 0x7FFF ? static_cast<int>(c) - 65536 : static_cast<int>(c);
    out += "\\u" + std::to_string(signedValue) + "?";
}

void writeText(std::string& out, std::string_view text)
{
    static const char* const hex = "0123456789abcdef";
    for (char32_t c : decodeUtf8(text)) {
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\t') {
            out += "\\tab ";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            // Control characters are not text (the reader drops them too).
        } else if (const unsigned char b = cp1252Byte(c)) {
            out += "\\'";
            out += hex[b >> 4];
            out += hex[b & 15];
        } else if (c > 0xFFFF) {
            const char32_t v = c - 0x10000;
            writeUnicode(out, 0xD800 + (v >> 10));
            writeUnicode(out, 0xDC00 + (v & 0x3FF));
        } else {
            writeUnicode(out, c);
        }
    }
}

} // namespace

std::string writeRtf(const RichText& source)
{
    RichText text = source;
    normalize(text);
    std::vector<std::int32_t> colours;
    for (const Paragraph& p : text.paragraphs)
        for (const TextRun& r : p.runs)
            if (r.style.colour >= 0 && std::find(colours.begin(), colours.end(), r.style.colour) == colours.end())
                colours.push_back(r.style.colour);

    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset0 MS Sans Serif;}}\r\n";
    if (!colours.empty()) {
        // Entry 0 is the automatic colour.
        out += "{\\colortbl ;";
        for (std::int32_t c : colours)
            out += "\\red" + std::to_string((c >> 16) & 255) + "\\green" + std::to_string((c >> 8) & 255) + "\\blue" +
                   std::to_string(c & 255) + ";";
        out += "}\r\n";
    }
    out += "\\viewkind4\\pard\\plain\\f0\\fs" + std::to_string(kDefaultHalfPoints) + "\r\n";
    for (const Paragraph& p : text.paragraphs) {
        for (const TextRun& r : p.runs) {
            const TextStyle& s = r.style;
            if (s.isDefault()) {
                writeText(out, r.text);
                continue;
            }
            out += '{';
            if (s.bold)
                out += "\\b";
            if (s.italic)
                out += "\\i";
            if (s.underline)
                out += "\\ul";
            if (s.halfPoints > 0)
                out += "\\fs" + std::to_string(s.halfPoints);
            if (s.colour >= 0) {
                const auto at = std::find(colours.begin(), colours.end(), s.colour) - colours.begin();
                out += "\\cf" + std::to_string(at + 1);
            }
            out += ' ';
            writeText(out, r.text);
            out += '}';
        }
        out += "\\par\r\n";
    }
    out += "}\r\n";
    return out;
}

} // namespace cw::tools
