// The journal of the data folder: the game end or player rename under way, written before its first change.
#include "stats/journal.h"

#include <cerrno>
#include <cstdio>

#include "stats/stat_files.h"
#include "storage/fixed_width.h"
#include "storage/safe_file.h"

namespace cw::stats {

namespace {

// Values go on one line each: "%", "=", control characters and DEL are written as "%" + two hex digits.
std::string escape(std::string_view text)
{
    std::string out;
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || c == '%' || c == '=') {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        } else {
            out += ch;
        }
    }
    return out;
}

std::optional<std::string> unescape(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        int v = 0;
        for (int k = 1; k <= 2; ++k) {
            char h = text[i + std::size_t(k)];
            int d = h >= '0' && h <= '9' ? h - '0' : h >= 'A' && h <= 'F' ? h - 'A' + 10 : -1;
            if (d < 0)
                return std::nullopt;
            v = v * 16 + d;
        }
        out += char(v);
        i += 2;
    }
    return out;
}

const char* kindName(FileChange::Kind k)
{
    switch (k) {
    case FileChange::Kind::AppendAt: return "AppendAt";
    case FileChange::Kind::SetValue: return "SetValue";
    case FileChange::Kind::WriteSection: return "WriteSection";
    case FileChange::Kind::Remove: return "Remove";
    }
    return "";
}

void line(std::string& out, std::string_view name, std::string_view value)
{
    out += std::string(name) + "=" + escape(value) + "\r\n";
}

std::optional<std::int64_t> number(const std::string& text) { return storage::parseInteger(text); }

} // namespace

std::string encodeJournal(const PendingGameEnd& p)
{
    const FinishedGame& g = p.game;
    std::string out = "[Game end]\r\n";
    line(out, "Game", std::to_string(g.gameId));
    line(out, "Name", g.gameName);
    line(out, "Number", g.gameNumber);
    line(out, "Player", g.player);
    line(out, "Won", g.won ? "Y" : "N");
    line(out, "Score", std::to_string(g.score));
    line(out, "Scoring", g.scoringCode);
    line(out, "Seconds", std::to_string(g.playingSeconds));
    line(out, "End", g.end.dateText() + g.end.timeText(':'));
    line(out, "Random", g.randomNumberDeal ? "Y" : "N");
    std::string defaults;
    for (std::int64_t d : p.defaultScores)
        defaults += (defaults.empty() ? "" : " ") + std::to_string(d);
    line(out, "Defaults", defaults);
    line(out, "Done", std::to_string(p.done));
    if (p.change) {
        const FileChange& c = *p.change;
        out += "[Change]\r\n";
        line(out, "Kind", kindName(c.kind));
        line(out, "File", c.file);
        line(out, "Offset", std::to_string(c.offset));
        line(out, "Bytes", c.bytes);
        line(out, "Section", c.section);
        line(out, "Key", c.key);
        line(out, "Value", c.value);
        for (const auto& [k, v] : c.pairs)
            out += "Pair=" + escape(k) + "=" + escape(v) + "\r\n";
        line(out, "Message", c.message);
    }
    return out;
}

std::string encodeJournal(const PendingRename& p)
{
    std::string out = "[Rename player]\r\n";
    line(out, "Old", p.oldName);
    line(out, "New", p.newName);
    return out;
}

std::optional<Journal> decodeJournal(std::string_view text)
{
    Journal j;
    std::string part;
    FileChange change;
    bool anyChange = false;
    auto bad = [] { return std::optional<Journal>(); };
    for (const std::string& l : storage::splitLines(text)) {
        if (l.empty())
            continue;
        if (l[0] == '[') {
            part = l;
            if (part == "[Game end]")
                j.gameEnd.emplace();
            else if (part == "[Rename player]")
                j.rename.emplace();
            else if (part == "[Change]" && j.gameEnd)
                anyChange = true;
            else
                return bad();
            continue;
        }
        auto eq = l.find('=');
        if (eq == std::string::npos)
            return bad();
        const std::string name = l.substr(0, eq);
        if (part == "[Change]" && name == "Pair") {
            std::string rest = l.substr(eq + 1);
            auto eq2 = rest.find('=');
            if (eq2 == std::string::npos)
                return bad();
            auto k = unescape(rest.substr(0, eq2)), v = unescape(rest.substr(eq2 + 1));
            if (!k || !v)
                return bad();
            change.pairs.emplace_back(*k, *v);
            continue;
        }
        auto value = unescape(std::string_view(l).substr(eq + 1));
        if (!value)
            return bad();
        if (part == "[Rename player]") {
            if (name == "Old")
                j.rename->oldName = *value;
            else if (name == "New")
                j.rename->newName = *value;
        } else if (part == "[Game end]") {
            FinishedGame& g = j.gameEnd->game;
            if (name == "Game" || name == "Score" || name == "Seconds" || name == "Done") {
                auto n = number(*value);
                if (!n || *n < -999999999999 || *n > 999999999999)
                    return bad();
                if (name == "Game")
                    g.gameId = int(*n);
                else if (name == "Score")
                    g.score = *n;
                else if (name == "Seconds")
                    g.playingSeconds = int(*n);
                else
                    j.gameEnd->done = int(*n);
            } else if (name == "Name") {
                g.gameName = *value;
            } else if (name == "Number") {
                g.gameNumber = *value;
            } else if (name == "Player") {
                g.player = *value;
            } else if (name == "Won") {
                g.won = *value == "Y";
            } else if (name == "Random") {
                g.randomNumberDeal = *value == "Y";
            } else if (name == "Scoring") {
                g.scoringCode = *value;
            } else if (name == "End") {
                // "yyyymmddhh:nn:ss"
                if (value->size() != 16)
                    return bad();
                auto f = [&](std::size_t at, std::size_t n) { return number(value->substr(at, n)); };
                auto y = f(0, 4), mo = f(4, 2), d = f(6, 2), h = f(8, 2), mi = f(11, 2), s = f(14, 2);
                if (!y || !mo || !d || !h || !mi || !s)
                    return bad();
                g.end = DateTime{int(*y), int(*mo), int(*d), int(*h), int(*mi), int(*s)};
            } else if (name == "Defaults") {
                std::size_t at = 0;
                while (at < value->size()) {
                    std::size_t sp = value->find(' ', at);
                    if (sp == std::string::npos)
                        sp = value->size();
                    auto n = number(value->substr(at, sp - at));
                    if (!n || j.gameEnd->defaultScores.size() >= 64)
                        return bad();
                    j.gameEnd->defaultScores.push_back(*n);
                    at = sp + 1;
                }
            }
        } else if (part == "[Change]") {
            if (name == "Kind") {
                if (*value == "AppendAt")
                    change.kind = FileChange::Kind::AppendAt;
                else if (*value == "SetValue")
                    change.kind = FileChange::Kind::SetValue;
                else if (*value == "WriteSection")
                    change.kind = FileChange::Kind::WriteSection;
                else if (*value == "Remove")
                    change.kind = FileChange::Kind::Remove;
                else
                    return bad();
            } else if (name == "File") {
                change.file = *value;
            } else if (name == "Offset") {
                auto n = number(*value);
                if (!n || *n < 0)
                    return bad();
                change.offset = *n;
            } else if (name == "Bytes") {
                change.bytes = *value;
            } else if (name == "Section") {
                change.section = *value;
            } else if (name == "Key") {
                change.key = *value;
            } else if (name == "Value") {
                change.value = *value;
            } else if (name == "Message") {
                change.message = *value;
            }
        } else {
            return bad();
        }
    }
    if (j.gameEnd.has_value() == j.rename.has_value())
        return bad(); // exactly one piece of work
    if (j.rename && (j.rename->oldName.empty() || j.rename->newName.empty()))
        return bad();
    if (anyChange) {
        // A change names one of the statistics files a game end writes, never another file or a path
        // leading out of the data folder.
        const std::string& f = change.file;
        const bool statistics = f == kLogFile || f == kStatFile || f == kHiScoreFile || f == kOverallFile ||
                                f == kSingleGameFile || (f.rfind("Stat_prg_", 0) == 0 && f.size() > 13);
        if (!statistics || f.find('/') != std::string::npos || f.find("..") != std::string::npos)
            return bad();
        j.gameEnd->change = std::move(change);
    }
    return j;
}

void writeJournal(const StatsContext& ctx, const std::string& text)
{
    storage::writeFileAtomic(ctx.path(kJournalFile), text, "~cw", false);
}

std::optional<Journal> readJournal(const StatsContext& ctx)
{
    const std::string path = resolvedPath(ctx, kJournalFile);
    auto text = storage::readWholeFile(path);
    if (!text)
        return std::nullopt;
    auto j = decodeJournal(*text);
    if (!j)
        storage::removeFile(path); // cannot be finished; kept, it would stop nothing but cost every start
    return j;
}

void removeJournal(const StatsContext& ctx)
{
    const std::string path = resolvedPath(ctx, kJournalFile);
    if (storage::removeFile(path) != 0 && errno != ENOENT)
        throw storage::FileError(storage::deleteErrorMessage(path));
}

} // namespace cw::stats
