// Updates of the statistics files under the data folder's lock, and finishing what a stopped copy left.
#include "stats/pending_work.h"

#include <filesystem>
#include <system_error>

#include "stats/clearing.h"
#include "stats/game_end.h"
#include "stats/journal.h"
#include "storage/safe_file.h"

namespace cw::stats {

namespace {

// The prefixes of the temporary copies written in the data folder; mkstemp adds six characters.
constexpr const char* kTempPrefixes[] = {"~cw", "rpl", "~prg", "_Stat_log"};

bool isTempName(const std::string& name)
{
    for (const char* prefix : kTempPrefixes) {
        std::string p = prefix;
        if (name.size() != p.size() + 6 || name.compare(0, p.size(), p) != 0)
            continue;
        bool random = true;
        for (std::size_t i = p.size(); i < name.size(); ++i) {
            char c = name[i];
            random = random && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'));
        }
        if (random)
            return true;
    }
    return false;
}

class Collect : public Notices {
public:
    void information(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

} // namespace

StatsUpdate::StatsUpdate(const StatsContext& ctx) : m_lock(ctx.dataFolder)
{
    if (m_lock.outermost())
        finishPendingWork(ctx);
}

void finishPendingWork(const StatsContext& ctx)
{
    auto journal = readJournal(ctx);
    if (!journal)
        return;
    try {
        if (journal->gameEnd)
            finishGameEnd(ctx, *journal->gameEnd);
        if (journal->rename)
            finishRename(ctx, *journal->rename);
    } catch (const storage::FileError& e) {
        ctx.inform(e.what());
    }
}

std::vector<std::string> recoverDataFolder(const StatsContext& given, std::chrono::seconds staleAfter)
{
    Collect notices;
    StatsContext ctx = given;
    ctx.notices = &notices;
    try {
        StatsUpdate update(ctx); // finishes the journal
        namespace fs = std::filesystem;
        std::error_code ec;
        const auto now = fs::file_time_type::clock::now();
        for (fs::directory_iterator it(ctx.dataFolder, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code e2;
            const std::string name = it->path().filename().string();
            if (!isTempName(name) || !it->is_regular_file(e2))
                continue;
            const auto written = it->last_write_time(e2);
            if (e2 || now - written < staleAfter)
                continue;
            storage::removeFile(it->path().string());
        }
    } catch (const storage::FileError& e) {
        notices.texts.push_back(e.what());
    }
    return notices.texts;
}

} // namespace cw::stats
