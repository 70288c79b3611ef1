// Reading comment files: a forgiving RTF reader for paragraphs, bold, italic, underline, size and colour.
#include <algorithm>
#include <array>
#include <climits>
#include <unordered_map>

#include "tools/core/rtf.h"

namespace cw::tools {

namespace {

// Code page 1252's characters 0x80 to 0x9F (the rest of the page is Latin-1).
constexpr std::array<char32_t, 32> kCp1252High = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                                  0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

char32_t fromCp1252(unsigned char b) { return b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b; }

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Text that is not kept: C0 controls but the tab, DEL and the C1 controls.
bool dropped(char32_t c) { return (c < 0x20 && c != '\t') || (c >= 0x7F && c < 0xA0); }

enum class Word {
    Unknown,
    SkipDestination,
    Colours,
    Paragraph,
    Tab,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    FontSize,
    Colour,
    Plain,
    Unicode,
    UnicodeSkip,
    Binary,
    Red,
    Green,
    Blue,
    Char, // a named character
};

struct WordInfo {
    Word word;
    char32_t character = 0;
};

const std::unordered_map<std::string_view, WordInfo>& words()
{
    static const std::unordered_map<std::string_view, WordInfo> table = [] {
        std::unordered_map<std::string_view, WordInfo> t;
        // Destinations whose content is not text of the comment.
        for (std::string_view w : {"fonttbl",
                                   "stylesheet",
                                   "info",
                                   "pict",
                                   "object",
                                   "header",
                                   "headerl",
                                   "headerr",
                                   "headerf",
                                   "footer",
                                   "footerl",
                                   "footerr",
                                   "footerf",
                                   "footnote",
                                   "annotation",
                                   "atnid",
                                   "atnauthor",
                                   "fldinst",
                                   "themedata",
                                   "colorschememapping",
                                   "latentstyles",
                                   "datastore",
                                   "xmlnstbl",
                                   "listtable",
                                   "listoverridetable",
                                   "rsidtbl",
                                   "generator",
                                   "pgdsctbl",
                                   "filetbl",
                                   "revtbl",
                                   "shp",
                                   "shpinst",
                                   "shppict",
                                   "nonshppict",
                                   "pntext",
                                   "pntxta",
                                   "pntxtb",
                                   "listtext",
                                   "bkmkstart",
                                   "bkmkend",
                                   "txe",
                                   "xe",
                                   "tc",
                                   "template",
                                   "private",
                                   "userprops",
                                   "docvar",
                                   "mmathPr",
                                   "ftnsep",
                                   "ftnsepc",
                                   "aftnsep",
                                   "aftnsepc",
                                   "ftncn",
                                   "aftncn",
                                   "objdata",
                                   "blipuid",
                                   "wgrffmtfilter",
                                   "passwordhash",
                                   "operator",
                                   "author",
                                   "title"})
            t.emplace(w, WordInfo{Word::SkipDestination});
        t.emplace("colortbl", WordInfo{Word::Colours});
        for (std::string_view w : {"par", "line", "sect", "page", "row"})
            t.emplace(w, WordInfo{Word::Paragraph});
        t.emplace("tab", WordInfo{Word::Tab});
        t.emplace("cell", WordInfo{Word::Tab});
        t.emplace("b", WordInfo{Word::Bold});
        t.emplace("i", WordInfo{Word::Italic});
        for (std::string_view w :
             {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth", "ulthd", "ulthdash",
              "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"})
            t.emplace(w, WordInfo{Word::Underline});
        t.emplace("ulnone", WordInfo{Word::UnderlineNone});
        t.emplace("fs", WordInfo{Word::FontSize});
        t.emplace("cf", WordInfo{Word::Colour});
        t.emplace("plain", WordInfo{Word::Plain});
        t.emplace("u", WordInfo{Word::Unicode});
        t.emplace("uc", WordInfo{Word::UnicodeSkip});
        t.emplace("bin", WordInfo{Word::Binary});
        t.emplace("red", WordInfo{Word::Red});
        t.emplace("green", WordInfo{Word::Green});
        t.emplace("blue", WordInfo{Word::Blue});
        t.emplace("emdash", WordInfo{Word::Char, 0x2014});
        t.emplace("endash", WordInfo{Word::Char, 0x2013});
        t.emplace("lquote", WordInfo{Word::Char, 0x2018});
        t.emplace("rquote", WordInfo{Word::Char, 0x2019});
        t.emplace("ldblquote", WordInfo{Word::Char, 0x201C});
        t.emplace("rdblquote", WordInfo{Word::Char, 0x201D});
        t.emplace("bullet", WordInfo{Word::Char, 0x2022});
        t.emplace("emspace", WordInfo{Word::Char, 0x2003});
        t.emplace("enspace", WordInfo{Word::Char, 0x2002});
        t.emplace("qmspace", WordInfo{Word::Char, 0x2005});
        return t;
    }();
    return table;
}

enum class Destination : std::uint8_t { Text, Skip, Colours };

struct GroupState {
    TextStyle style;
    Destination destination = Destination::Text;
    int unicodeSkip = 1; // characters of fallback after each \u
};

class Reader {
public:
    Reader(std::string_view in, const RtfLimits& limits) : in_(in), limits_(limits) {}

    RtfReadResult readRtf()
    {
        doc_.paragraphs.emplace_back();
        while (pos_ < in_.size() && !stopped_ && !finished_) {
            const char c = in_[pos_++];
            switch (c) {
            case '{': openGroup(); break;
            case '}': closeGroup(); break;
            case '\\': control(); break;
            case '\r':
            case '\n': break;
            default:
                if (state_.destination == Destination::Colours && c == ';')
                    endColour();
                else
                    put(fromCp1252(static_cast<unsigned char>(c)));
            }
        }
        return finish();
    }

    // A file that is not RTF at all: its lines as paragraphs (UTF-8 when it is, else code page 1252).
    RtfReadResult readPlain()
    {
        doc_.paragraphs.emplace_back();
        bool malformed = false;
        for (std::size_t i = 0; i < in_.size() && !malformed;)
            nextCodePoint(in_, i, &malformed);
        auto line = [&](char32_t c) {
            if (c == '\n')
                newParagraph();
            else if (c != '\r')
                put(c);
        };
        for (std::size_t i = 0; i < in_.size() && !stopped_;) {
            if (malformed)
                line(fromCp1252(static_cast<unsigned char>(in_[i++])));
            else
                line(nextCodePoint(in_, i));
        }
        return finish();
    }

private:
    RtfReadResult finish()
    {
        if (highSurrogate_) {
            highSurrogate_ = 0;
            emit(0xFFFD); // the unpaired surrogate
        }
        // A paragraph mark ends its paragraph; only text after it opens the next one, so a final
        // mark leaves no empty paragraph behind.
        normalize(doc_);
        return {std::move(doc_), !stopped_};
    }

    void openGroup()
    {
        skipCount_ = 0;
        if (static_cast<int>(stack_.size()) >= limits_.maxDepth) {
            ++deeper_;
            return;
        }
        stack_.push_back(state_);
        opened_ = true;
    }

    void closeGroup()
    {
        skipCount_ = 0;
        if (deeper_ > 0) {
            --deeper_;
            return;
        }
        if (stack_.empty())
            return; // a stray brace
        state_ = stack_.back();
        stack_.pop_back();
        // The brace that closes the document: whatever follows is not part of it.
        if (stack_.empty() && opened_)
            finished_ = true;
    }

    void control()
    {
        if (pos_ >= in_.size())
            return;
        const char c = in_[pos_];
        if (isLetter(c)) {
            controlWord();
            return;
        }
        ++pos_;
        if (c == '\'') {
            const int hi = pos_ < in_.size() ? hexValue(in_[pos_]) : -1;
            const int lo = pos_ + 1 < in_.size() ? hexValue(in_[pos_ + 1]) : -1;
            if (hi < 0 || lo < 0)
                return;
            pos_ += 2;
            put(fromCp1252(static_cast<unsigned char>(hi * 16 + lo)));
            return;
        }
        if (skipCount_ > 0) {
            --skipCount_;
            return;
        }
        switch (c) {
        case '\\':
        case '{':
        case '}': put(static_cast<unsigned char>(c)); break;
        case '~': put(0xA0); break;
        case '_': put(0x2011); break;
        case '*': state_.destination = Destination::Skip; break; // an optional destination we do not know
        case '\r':
        case '\n': newParagraph(); break;
        default: break; // \- (optional hyphen), \| and other symbols
        }
    }

    void controlWord()
    {
        // Names are at most 32 letters and parameters 10 digits: a longer one is read to its end
        // (in one pass, nothing kept) and stands for an unknown word.
        const std::size_t start = pos_;
        while (pos_ < in_.size() && isLetter(in_[pos_]))
            ++pos_;
        const std::size_t length = pos_ - start;
        bool negative = false;
        if (pos_ + 1 < in_.size() && in_[pos_] == '-' && isDigit(in_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        bool hasParam = false;
        long long value = 0;
        int digits = 0;
        while (pos_ < in_.size() && isDigit(in_[pos_])) {
            if (digits++ < 10)
                value = value * 10 + (in_[pos_] - '0');
            hasParam = true;
            ++pos_;
        }
        if (pos_ < in_.size() && in_[pos_] == ' ')
            ++pos_;
        if (negative)
            value = -value;
        const int param = static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
        if (length > 32)
            return;
        const auto it = words().find(in_.substr(start, length));
        const WordInfo info = it == words().end() ? WordInfo{Word::Unknown} : it->second;
        if (info.word == Word::Binary) {
            // Binary data of that many bytes follows, whatever it holds.
            const std::size_t n = hasParam && param > 0 ? static_cast<std::size_t>(param) : 0;
            pos_ += std::min(n, in_.size() - pos_);
            return;
        }
        if (skipCount_ > 0 && info.word != Word::Unicode) {
            --skipCount_;
            return;
        }
        apply(info, hasParam, param);
    }

    void apply(const WordInfo& info, bool hasParam, int param)
    {
        TextStyle& style = state_.style;
        const bool on = !hasParam || param != 0;
        switch (info.word) {
        case Word::Unknown:
        case Word::Binary: break;
        case Word::SkipDestination: state_.destination = Destination::Skip; break;
        case Word::Colours:
            if (state_.destination == Destination::Text)
                state_.destination = Destination::Colours;
            break;
        case Word::Paragraph:
            if (state_.destination == Destination::Text)
                newParagraph();
            break;
        case Word::Tab: put('\t'); break;
        case Word::Bold: style.bold = on; break;
        case Word::Italic: style.italic = on; break;
        case Word::Underline: style.underline = on; break;
        case Word::UnderlineNone: style.underline = false; break;
        case Word::FontSize:
            style.halfPoints = hasParam && param > 0 && param <= 3276 && param != kDefaultHalfPoints ? param : 0;
            break;
        case Word::Colour:
            style.colour = hasParam && param > 0 && static_cast<std::size_t>(param) < colours_.size()
                               ? colours_[static_cast<std::size_t>(param)]
                               : -1;
            break;
        case Word::Plain: style = TextStyle{}; break;
        case Word::Unicode: unicode(hasParam ? param : 0); break;
        case Word::UnicodeSkip: state_.unicodeSkip = std::clamp(hasParam ? param : 1, 0, 16); break;
        case Word::Red: colourPart(0, param); break;
        case Word::Green: colourPart(1, param); break;
        case Word::Blue: colourPart(2, param); break;
        case Word::Char: put(info.character); break;
        }
    }

    void unicode(int value)
    {
        if (value < 0)
            value += 65536;
        skipCount_ = 0;
        if (value < 0 || value > 0xFFFF) {
            skipCount_ = state_.unicodeSkip;
            return;
        }
        const auto c = static_cast<char32_t>(value);
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (highSurrogate_) {
                highSurrogate_ = 0;
                emit(0xFFFD); // the earlier one stays unpaired
            }
            highSurrogate_ = c;
        } else if (c >= 0xDC00 && c <= 0xDFFF && highSurrogate_) {
            const char32_t high = highSurrogate_;
            highSurrogate_ = 0;
            emit(0x10000 + ((high - 0xD800) << 10) + (c - 0xDC00));
        } else {
            emit(c); // a lone low surrogate becomes U+FFFD in appendUtf8
        }
        skipCount_ = state_.unicodeSkip;
    }

    void colourPart(int part, int value)
    {
        if (state_.destination != Destination::Colours)
            return;
        colourParts_[static_cast<std::size_t>(part)] = std::clamp(value, 0, 255);
        colourSet_ = true;
    }

    void endColour()
    {
        if (colours_.size() < 4096) {
            const std::int32_t c = colourSet_ ? (colourParts_[0] << 16) | (colourParts_[1] << 8) | colourParts_[2] : -1;
            colours_.push_back(c);
        }
        colourParts_ = {0, 0, 0};
        colourSet_ = false;
    }

    // A character of the text (fallback characters after \u are skipped here).
    void put(char32_t c)
    {
        if (skipCount_ > 0) {
            --skipCount_;
            return;
        }
        emit(c);
    }

    void emit(char32_t c)
    {
        if (state_.destination != Destination::Text || stopped_)
            return;
        if (highSurrogate_) {
            // A high surrogate not followed by its low half.
            highSurrogate_ = 0;
            emit(0xFFFD);
            if (stopped_)
                return;
        }
        if (dropped(c))
            return;
        if (breakPending_ && !openParagraph())
            return;
        std::vector<TextRun>& runs = doc_.paragraphs.back().runs;
        if (runs.empty() || runs.back().style != state_.style) {
            if (runCount_ >= limits_.maxRuns) {
                stopped_ = true;
                return;
            }
            ++runCount_;
            runs.push_back({{}, state_.style});
        }
        const std::size_t length = c < 0x80 ? 1 : (c < 0x800 ? 2 : (c < 0x10000 ? 3 : 4));
        if (textBytes_ + length > limits_.maxTextBytes) {
            stopped_ = true;
            return;
        }
        appendUtf8(runs.back().text, c);
        textBytes_ += length;
    }

    void newParagraph()
    {
        if (stopped_)
            return;
        if (highSurrogate_) {
            highSurrogate_ = 0;
            emit(0xFFFD);
        }
        if (state_.destination != Destination::Text)
            return;
        if (breakPending_)
            openParagraph();
        breakPending_ = true;
    }

    // Opens the paragraph a paragraph mark announced; false when the limit stops the reading.
    bool openParagraph()
    {
        breakPending_ = false;
        if (doc_.paragraphs.size() >= limits_.maxParagraphs) {
            stopped_ = true;
            return false;
        }
        doc_.paragraphs.emplace_back();
        return true;
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    RtfLimits limits_;
    GroupState state_;
    std::vector<GroupState> stack_;
    int deeper_ = 0;            // groups opened beyond the depth limit
    bool opened_ = false;       // the document's group was opened
    bool finished_ = false;     // the document's group was closed
    bool stopped_ = false;      // a limit was reached
    bool breakPending_ = false; // a paragraph mark ended the last paragraph
    int skipCount_ = 0;         // fallback characters still to skip after a \u
    char32_t highSurrogate_ = 0;
    std::vector<std::int32_t> colours_;
    std::array<int, 3> colourParts_{};
    bool colourSet_ = false;
    RichText doc_;
    std::size_t runCount_ = 0;
    std::size_t textBytes_ = 0;
};

bool looksLikeRtf(std::string_view bytes)
{
    std::size_t i = 0;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        i = 3;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return bytes.substr(i, 5) == "{\\rtf";
}

} // namespace

RtfReadResult readRtf(std::string_view bytes, const RtfLimits& limits)
{
    Reader reader(bytes, limits);
    return looksLikeRtf(bytes) ? reader.readRtf() : reader.readPlain();
}

} // namespace cw::tools
