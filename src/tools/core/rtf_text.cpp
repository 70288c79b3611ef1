// The rich text model of comments: runs, paragraphs, the one normal form, and UTF-8 helpers.
#include "tools/core/rtf.h"

namespace cw::tools {

std::string Paragraph::text() const
{
    std::string s;
    for (const TextRun& r : runs)
        s += r.text;
    return s;
}

std::string RichText::plainText() const
{
    std::string s;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            s += '\n';
        s += paragraphs[i].text();
    }
    return s;
}

void RichText::append(std::string_view text, const TextStyle& style)
{
    if (paragraphs.empty())
        paragraphs.emplace_back();
    std::vector<TextRun>& runs = paragraphs.back().runs;
    if (runs.empty() || runs.back().style != style)
        runs.push_back({std::string(text), style});
    else
        runs.back().text += text;
}

void normalize(RichText& text)
{
    for (Paragraph& p : text.paragraphs) {
        std::vector<TextRun> kept;
        kept.reserve(p.runs.size());
        for (TextRun& r : p.runs) {
            if (r.text.empty())
                continue;
            if (r.style.halfPoints == kDefaultHalfPoints || r.style.halfPoints < 0)
                r.style.halfPoints = 0;
            if (r.style.colour < -1 || r.style.colour > 0xFFFFFF)
                r.style.colour = -1;
            if (!kept.empty() && kept.back().style == r.style)
                kept.back().text += r.text;
            else
                kept.push_back(std::move(r));
        }
        p.runs = std::move(kept);
    }
    if (text.paragraphs.size() == 1 && text.paragraphs.front().runs.empty())
        text.paragraphs.clear();
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char32_t nextCodePoint(std::string_view s, std::size_t& i, bool* malformed)
{
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
        ++i;
        return b;
    }
    int extra = 0;
    char32_t c = 0;
    char32_t min = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        extra = 1, c = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        extra = 2, c = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        extra = 3, c = b & 0x07, min = 0x10000;
    } else {
        ++i;
        if (malformed)
            *malformed = true;
        return 0xFFFD;
    }
    std::size_t j = i + 1;
    for (; j <= i + extra; ++j) {
        if (j >= s.size() || (static_cast<unsigned char>(s[j]) & 0xC0) != 0x80)
            break;
        c = (c << 6) | (static_cast<unsigned char>(s[j]) & 0x3F);
    }
    if (j != i + extra + 1 || c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        // One replacement for the malformed sequence, and reading goes on after it.
        i = j > i + 1 ? j : i + 1;
        if (malformed)
            *malformed = true;
        return 0xFFFD;
    }
    i = j;
    return c;
}

std::u32string decodeUtf8(std::string_view s)
{
    std::u32string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();)
        out += nextCodePoint(s, i);
    return out;
}

} // namespace cw::tools
