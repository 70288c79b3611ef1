// The tamper-evident value files: the overall score STAT_GLO.DAT and the single-game values Stat_uni.dat.
#include "stats/overall_score.h"

#include <algorithm>
#include <set>

#include "stats/file_change.h"
#include "stats/stat_files.h"
#include "stats/tamper_code.h"
#include "storage/fixed_width.h"
#include "storage/keyed_file.h"
#include "storage/safe_file.h"

namespace cw::stats {

namespace {

using storage::KeyValues;

// These files are small (a few values per player and game); they are read whole and parsed here. A
// section is found as the keyed-file engine finds it: the first occurrence of "[name]".
struct KeyedText {
    std::string text;

    std::optional<KeyValues> section(std::string_view name) const {
        std::string hdr = "[" + std::string(name) + "]";
        auto at = text.find(hdr);
        if (at == std::string::npos) return std::nullopt;
        std::size_t pos = at + hdr.size();
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
        std::size_t end = text.size();
        if (pos < text.size() && text[pos] == '[') end = pos;
        else if (auto n = text.find("\n[", pos); n != std::string::npos) end = n > pos && text[n - 1] == '\r' ? n - 1 : n;
        return parsePairs(std::string_view(text).substr(pos, end - pos));
    }

    static KeyValues parsePairs(std::string_view content) {
        KeyValues out;
        for (const std::string& line : storage::splitLines(content)) {
            auto eq = line.find('=');
            if (eq == std::string::npos) continue;
            out.emplace_back(storage::rtrim(std::string_view(line).substr(0, eq)),
                             storage::rtrim(std::string_view(line).substr(eq + 1)));
        }
        return out;
    }

    // Names of every section in file order (each name once).
    std::vector<std::string> sections() const {
        std::vector<std::string> out;
        std::set<std::string> seen;
        for (const std::string& line : storage::splitLines(text)) {
            if (line.empty() || line[0] != '[') continue;
            std::string name = storage::rtrim(line);
            name = name.size() >= 2 ? name.substr(1, name.size() - 2) : std::string();
            if (seen.insert(name).second) out.push_back(name);
        }
        return out;
    }
};

KeyedText load(const std::string& path) {
    auto text = storage::readWholeFile(path);
    return {text ? std::move(*text) : std::string()};
}

// The unscrambled value of a key, or the missing-key value.
std::string plainValue(const KeyValues& pairs, std::string_view key) {
    for (const auto& [k, v] : pairs)
        if (k == key) return unscramble(v);
    return kMissingValuePlain;
}

void setValue(KeyValues& pairs, const std::string& key, const std::string& plain) {
    std::string stored = scramble(plain);
    for (auto& [k, v] : pairs)
        if (k == key) {
            v = stored;
            return;
        }
    pairs.emplace_back(key, stored);
}

std::string key(const char* prefix, int gameId) { return prefix + storage::fixedNumber(gameId, 4); }

// "GS-0001" -> 1 for catalog games; -1 for other keys.
int keyGame(std::string_view k, std::string_view prefix) {
    if (k.size() != 7 || k.substr(0, 3) != prefix) return -1;
    auto v = storage::parseInteger(k.substr(3));
    return v && takesPartInOverall(int(*v)) && k[3] != '-' && k[3] != '+' ? int(*v) : -1;
}

std::string ensureOverallFile(const StatsContext& ctx) {
    std::string path = resolvedPath(ctx, kOverallFile);
    if (!storage::fileExists(path)) storage::writeFileAtomic(path, "[Version]\r\nVOvS=0300\r\n");
    return path;
}

FileChange removal(const char* file, const char* message)
{
    FileChange c;
    c.kind = FileChange::Kind::Remove;
    c.file = file;
    c.message = message;
    return c;
}

FileChange sectionWrite(const char* file, const std::string& section, KeyValues pairs)
{
    FileChange c;
    c.kind = FileChange::Kind::WriteSection;
    c.file = file;
    c.section = section;
    c.pairs = std::move(pairs);
    return c;
}

DigitDraw drawFor(const StatsContext& ctx) {
    return [&ctx](int max) { return ctx.digit(max); };
}

// A player's checked totals and the sums of the game values.
struct PlayerTotals {
    std::int64_t score = 0, time = 0;           // stored totals
    std::int64_t sumScore = 0, sumTime = 0;     // recomputed from the games
};

std::optional<PlayerTotals> checkPlayer(const KeyValues& pairs) {
    std::string t01 = plainValue(pairs, "T01"), t02 = plainValue(pairs, "T02"), t03 = plainValue(pairs, "T03");
    if (!totalsCheckOk(t01, t02, t03)) return std::nullopt;
    PlayerTotals t;
    t.score = *readTotalScore(t01);
    t.time = *readTotalTime(t02);
    for (const auto& [k, v] : pairs) {
        if (int g = keyGame(k, "GS-"); g >= 0) {
            auto s = readScoreLayout(unscramble(v), "");
            if (!s) return std::nullopt;
            t.sumScore += *s;
        } else if (int g2 = keyGame(k, "GT-"); g2 >= 0) {
            auto s = readTimeLayout(unscramble(v), "");
            if (!s) return std::nullopt;
            t.sumTime += *s;
        }
    }
    return t;
}

std::string totalsCode(std::int64_t score, std::int64_t time, const DigitDraw& draw) {
    std::string t01 = buildTotalScore(score, draw), t02 = buildTotalTime(time, draw);
    return scramble(t01) + scramble(t02) + scramble(buildTotalCheck(kVersionStamp, t01, t02));
}

}  // namespace

void resetOverallScore(const StatsContext& ctx) {
    deleteFileIfExists(resolvedPath(ctx, kOverallFile));
    ctx.inform(kOverallResetMessage);
}

void resetSingleGameValues(const StatsContext& ctx) {
    deleteFileIfExists(resolvedPath(ctx, kSingleGameFile));
    ctx.inform(kSingleGameResetMessage);
}

bool updateOverallScore(const StatsContext& ctx, int gameId, const std::string& player, std::int64_t score,
                        std::int64_t seconds, bool remove) {
    if (!takesPartInOverall(gameId) || player.empty()) return false;
    if (!remove && (score < 0 || ctx.statisticsDisabled)) return false;
    std::string path = ensureOverallFile(ctx);
    KeyValues pairs = load(path).section(player).value_or(KeyValues{});
    const std::string gsKey = key("GS-", gameId), gtKey = key("GT-", gameId);
    std::string t01 = plainValue(pairs, "T01"), t02 = plainValue(pairs, "T02"), t03 = plainValue(pairs, "T03");
    auto bestScore = readScoreLayout(plainValue(pairs, gsKey), "");
    auto bestTime = readTimeLayout(plainValue(pairs, gtKey), "");
    if (!totalsCheckOk(t01, t02, t03) || !bestScore || !bestTime) {
        commitChange(ctx, removal(kOverallFile, kOverallResetMessage));
        return false;
    }
    std::int64_t s = remove ? 0 : std::min(score, kMaxGameValue);
    std::int64_t t = remove ? 0 : std::clamp<std::int64_t>(seconds, 0, kMaxGameValue);
    bool better = s > 0 && (s > *bestScore || (s == *bestScore && t < *bestTime));
    if (!better && !remove) return false;
    std::int64_t totalScore = std::clamp<std::int64_t>(*readTotalScore(t01) + s - *bestScore, 0, kMaxTotalValue);
    std::int64_t totalTime = std::clamp<std::int64_t>(*readTotalTime(t02) + t - *bestTime, 0, kMaxTotalValue);
    DigitDraw draw = drawFor(ctx);
    std::string n01 = buildTotalScore(totalScore, draw), n02 = buildTotalTime(totalTime, draw);
    setValue(pairs, "T01", n01);
    setValue(pairs, "T02", n02);
    setValue(pairs, "T03", buildTotalCheck(kVersionStamp, n01, n02));
    setValue(pairs, gsKey, buildScoreLayout(s, "", draw));
    setValue(pairs, gtKey, buildTimeLayout(t, "", draw));
    // The whole section in one write: the totals and the game's values never disagree on disk.
    commitChange(ctx, sectionWrite(kOverallFile, player, std::move(pairs)));
    return true;
}

OverallRanking readOverallRanking(const StatsContext& ctx) {
    OverallRanking r;
    std::string path = ensureOverallFile(ctx);
    KeyedText file = load(path);
    bool versioned = file.text.find("VOvS=0300") != std::string::npos;
    for (const std::string& name : file.sections()) {
        if (storage::equalsNoCase(name, "Version") || storage::equalsNoCase(name, "Clear scores")) continue;
        auto t = checkPlayer(file.section(name).value_or(KeyValues{}));
        if (!t) {
            resetOverallScore(ctx);
            r.entries.clear();
            r.differences.clear();
            r.reset = true;
            return r;
        }
        if ((t->sumScore != t->score || t->sumTime != t->time) && !versioned)
            r.differences.push_back({name, t->score, t->sumScore});
        OverallEntry e{name, t->sumScore, t->sumTime, totalsCode(t->sumScore, t->sumTime, drawFor(ctx))};
        if (e.totalScore == 0) continue;
        auto at = std::find_if(r.entries.begin(), r.entries.end(), [&](const OverallEntry& o) {
            return o.totalScore < e.totalScore || (o.totalScore == e.totalScore && o.totalTime > e.totalTime);
        });
        r.entries.insert(at, std::move(e));
    }
    if (!versioned && !r.differences.empty()) storage::writeKeyedValue(path, "Version", "VOvS", "0300");
    return r;
}

OverallDetails readOverallDetails(const StatsContext& ctx, const std::string& player, const GameCatalog& games) {
    OverallDetails d;
    std::string path = ensureOverallFile(ctx);
    KeyValues pairs = load(path).section(player).value_or(KeyValues{});
    if (!checkPlayer(pairs)) {
        resetOverallScore(ctx);
        pairs.clear();
        d.reset = true;
    }
    for (const CatalogGame& g : games.catalogGames()) {
        if (!takesPartInOverall(g.id)) continue;
        OverallDetail row;
        row.gameId = g.id;
        row.name = storage::fixedText(g.name, 50);
        row.score = readScoreLayout(plainValue(pairs, key("GS-", g.id)), "").value_or(0);
        row.seconds = readTimeLayout(plainValue(pairs, key("GT-", g.id)), "").value_or(0);
        row.maxScore = g.p52 == -1 ? 4 * std::int64_t(g.p378) : g.p52;
        row.maxReached = row.score > 0 && row.score >= row.maxScore;
        d.totalScore += row.score;
        d.totalTime += row.seconds;
        d.rows.push_back(std::move(row));
    }
    std::stable_sort(d.rows.begin(), d.rows.end(),
                     [](const OverallDetail& a, const OverallDetail& b) { return a.name < b.name; });
    return d;
}

bool updateSingleGameValues(const StatsContext& ctx, int gameId, const std::string& player, bool clear, bool won) {
    if (!takesPartInOverall(gameId) || player.empty()) return false;
    if (!clear && ctx.statisticsDisabled) return false;
    std::string path = resolvedPath(ctx, kSingleGameFile);
    storage::createEmptyFile(path);
    KeyValues pairs = load(path).section(player).value_or(KeyValues{});
    const std::string gw = key("GW-", gameId), gl = key("GL-", gameId);
    auto w = readScoreLayout(plainValue(pairs, gw), gw);
    auto l = readTimeLayout(plainValue(pairs, gl), gl);
    if (!w || !l) {
        commitChange(ctx, removal(kSingleGameFile, kSingleGameResetMessage));
        return false;
    }
    std::int64_t nw = clear ? 0 : *w + (won ? 1 : 0);
    std::int64_t nl = clear ? 0 : *l + (won ? 0 : 1);
    DigitDraw draw = drawFor(ctx);
    setValue(pairs, gw, buildScoreLayout(nw, gw, draw));
    setValue(pairs, gl, buildTimeLayout(nl, gl, draw));
    commitChange(ctx, sectionWrite(kSingleGameFile, player, std::move(pairs)));
    return true;
}

void clearSingleGameValues(const StatsContext& ctx, const std::string& player, int gameId) {
    if (!player.empty() && gameId >= 0) {
        updateSingleGameValues(ctx, gameId, player, true, false);
        return;
    }
    std::string path = resolvedPath(ctx, kSingleGameFile);
    auto text = storage::readWholeFile(path);
    if (!text) return;
    DigitDraw draw = drawFor(ctx);
    std::string out, section;
    bool changed = false;
    for (const std::string& line : storage::splitLines(*text)) {
        if (!line.empty() && line[0] == '[') {
            section = storage::rtrim(line);
            section = section.size() >= 2 ? section.substr(1, section.size() - 2) : std::string();
            out += line + "\r\n";
            continue;
        }
        auto eq = line.find('=');
        std::string k = eq == std::string::npos ? std::string() : storage::rtrim(std::string_view(line).substr(0, eq));
        int gw = keyGame(k, "GW-"), gl = keyGame(k, "GL-");
        bool selected = (player.empty() || section == player) && (gw >= 0 || gl >= 0) &&
                        (gameId < 0 || gw == gameId || gl == gameId);
        if (!selected) {
            out += line + "\r\n";
            continue;
        }
        std::string plain = unscramble(storage::rtrim(std::string_view(line).substr(eq + 1)));
        if (!(gw >= 0 ? readScoreLayout(plain, k) : readTimeLayout(plain, k))) {
            resetSingleGameValues(ctx);
            return;
        }
        std::string zero = gw >= 0 ? buildScoreLayout(0, k, draw) : buildTimeLayout(0, k, draw);
        out += k + "=" + scramble(zero) + "\r\n";
        changed = true;
    }
    if (changed) storage::writeFileAtomic(path, out, "rpl");
}

bool dropZeroSection(const StatsContext& ctx, const char* file, const std::string& player) {
    std::string path = resolvedPath(ctx, file);
    auto text = storage::readWholeFile(path);
    if (!text) return false;
    KeyedText keyed{*text};
    auto pairs = keyed.section(player);
    if (!pairs) return false;
    for (const auto& [k, v] : *pairs) {
        std::string plain = unscramble(v);
        std::optional<std::int64_t> value;
        if (k == "T01") value = readTotalScore(plain);
        else if (k == "T02") value = readTotalTime(plain);
        else if (k == "T03") value = plain.size() >= 12 ? storage::parseInteger(plain.substr(4, 8)) : std::nullopt;
        else if (keyGame(k, "GS-") >= 0) value = readScoreLayout(plain, "");
        else if (keyGame(k, "GT-") >= 0) value = readTimeLayout(plain, "");
        else if (keyGame(k, "GW-") >= 0) value = readScoreLayout(plain, k);
        else if (keyGame(k, "GL-") >= 0) value = readTimeLayout(plain, k);
        if (!value || *value != 0) return false;
    }
    // Drop the header line and the section's lines up to the next header.
    std::string out;
    bool inside = false, done = false;
    const std::string hdr = "[" + player + "]";
    for (const std::string& line : storage::splitLines(*text)) {
        if (!line.empty() && line[0] == '[') inside = !done && storage::rtrim(line) == hdr;
        if (inside) {
            done = true;
            continue;
        }
        out += line + "\r\n";
    }
    if (!done) return false;
    storage::writeFileAtomic(path, out, "rpl");
    return true;
}

SingleGameValues readSingleGameValues(const StatsContext& ctx, int gameId, const std::string& player) {
    SingleGameValues v;
    std::string path = resolvedPath(ctx, kSingleGameFile);
    KeyValues pairs = load(path).section(player).value_or(KeyValues{});
    const std::string gw = key("GW-", gameId), gl = key("GL-", gameId);
    v.wonPlain = plainValue(pairs, gw).substr(0, 16);
    v.lostPlain = plainValue(pairs, gl).substr(0, 16);
    auto w = readScoreLayout(v.wonPlain, gw);
    auto l = readTimeLayout(v.lostPlain, gl);
    if (!w || !l) {
        resetSingleGameValues(ctx);
        return SingleGameValues{0, 0, std::string(16, '0'), std::string(16, '0'), true};
    }
    v.won = *w;
    v.lost = *l;
    return v;
}

std::vector<std::pair<int, std::int64_t>> singleGameWonCounts(const StatsContext& ctx, const std::string& player) {
    std::vector<std::pair<int, std::int64_t>> out;
    KeyValues pairs = load(resolvedPath(ctx, kSingleGameFile)).section(player).value_or(KeyValues{});
    for (const auto& [k, v] : pairs) {
        int g = keyGame(k, "GW-");
        if (g < 0) continue;
        auto w = readScoreLayout(unscramble(v), k);
        if (!w) {
            resetSingleGameValues(ctx);
            return {};
        }
        out.emplace_back(g, *w);
    }
    return out;
}

std::string singleGamePublishingCode(const StatsContext& ctx, int gameId, const std::string& player) {
    SingleGameValues v = readSingleGameValues(ctx, gameId, player);
    if (v.reset || !takesPartInOverall(gameId)) return {};
    const std::string id = storage::fixedNumber(gameId, 4);
    const std::string stamp = kVersionStamp;
    auto r = [&](int max) { return std::string(1, char('0' + ctx.digit(max))); };
    std::string code = "0" + id.substr(3, 1) + stamp.substr(0, 1) + r(1) + stamp.substr(1, 2) + r(8) +
                       stamp.substr(3, 1) + r(8);
    code += "3" + r(4) + id.substr(0, 1) + r(8) + id.substr(1, 2) + r(2) + id.substr(3, 1) + r(8);
    code += v.wonPlain.substr(0, 10) + v.lostPlain.substr(0, 10);
    code += storage::fixedNumber(checkNumber(code), 8);
    return scramble(code);
}

}  // namespace cw::stats
