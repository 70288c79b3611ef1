// The winnability indicator of the status bar and the "Winnable deals only" search: background solving for the game window.
#include "engine/rules_context.h"
#include "engine/session.h"

#include "ui/tutor_commands.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <chrono>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <functional>
#include <utility>

#include "engine/deal.h"
#include "ui/main_window.h"
#include "ui/main_window_status.h"
#include "ui/solver_worker.h"

namespace cw::ui {

namespace {

constexpr const char* kShowWinnabilityKey = "Show_Winnability";
constexpr const char* kWinnableDealsOnlyKey = "Winnable_Deals_Only";
// New game tries this many fresh numbers before it deals an unchecked one.
constexpr int kDealCandidates = 8;
// The indicator runs unasked after every move, so its search stays small: a game in the
// background must not make the whole program heavy. It searches in two stages: a quick one
// right after a change, which settles most tables, and a longer one only once the table has
// stayed still for a moment, so a player making moves in a row pays for quick searches alone.
// A search that needs more than its memory answers Unknown; with the window itself at about
// 55 MiB, the longer search's 4 MiB keeps the whole program under 60 MiB.
constexpr int kCheckDelayMs = 150;
constexpr int kQuickMs = 300;
constexpr std::size_t kQuickTableBytes = std::size_t{2} << 20;
constexpr int kSettleMs = 1000;
constexpr std::size_t kIndicatorTableBytes = std::size_t{4} << 20;

// "Winnable deals only" searches while the player waits for the deal: it may use more.
constexpr std::size_t kDealSearchTableBytes = std::size_t{16} << 20;

// Tells the indicator when the window is shown, hidden or minimized.
class WindowWatch : public QObject {
public:
    WindowWatch(QObject* parent, std::function<void()> changed) : QObject(parent), m_changed(std::move(changed)) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        const QEvent::Type t = event->type();
        if (t == QEvent::Show || t == QEvent::Hide || t == QEvent::WindowStateChange)
            QTimer::singleShot(0, parent(), m_changed);
        return false;
    }

private:
    std::function<void()> m_changed;
};

} // namespace

QString winnabilityText(engine::Verdict verdict, bool movesMade)
{
    switch (verdict) {
    case engine::Verdict::Winnable: return QStringLiteral("Winnable");
    case engine::Verdict::NotWinnable:
        return movesMade ? QStringLiteral("No longer winnable") : QStringLiteral("Not winnable");
    case engine::Verdict::Unknown: break;
    }
    return QStringLiteral("Unknown");
}

void TutorCommands::install()
{
    m_indicator = new QLabel(m_window.statusBar());
    m_indicator->setObjectName(QStringLiteral("pnlWinnable"));
    m_indicator->setToolTip(QStringLiteral(
        "Whether this deal can still be won, as the solver finds it.\n"
        "The solver sees the face-down cards: \"Winnable\" means a way exists, not that it can be found without "
        "looking."));
    m_indicator->setContentsMargins(6, 0, 6, 0);
    m_indicator->setMinimumWidth(m_indicator->fontMetrics().horizontalAdvance(QStringLiteral("No longer winnable")) +
                                 16);
    m_window.statusBar()->addPermanentWidget(m_indicator);
    m_showWinnability = m_window.pref(kShowWinnabilityKey, "Y") != "N";
    m_winnableOnly = m_window.pref(kWinnableDealsOnlyKey, "N") == "Y";
    m_window.command(QStringLiteral("mnuShowWinnability"))->setChecked(m_showWinnability);
    m_window.command(QStringLiteral("mnuWinnableDealsOnly"))->setChecked(m_winnableOnly);
    m_indicator->setVisible(m_showWinnability);
    m_checkTimer->setObjectName(QStringLiteral("winnabilityTimer"));
    m_window.installEventFilter(new WindowWatch(this, [this] { watchChanged(); }));
    // Queued: the action's check mark changes before the pause itself.
    connect(m_window.command(QStringLiteral("mnuPause")), &QAction::toggled, this, &TutorCommands::watchChanged,
            Qt::QueuedConnection);
    m_installed = true;
}

// ---- Winnability ----

void TutorCommands::setShowWinnability(bool on)
{
    m_showWinnability = on;
    m_window.setPref(kShowWinnabilityKey, on ? "Y" : "N");
    m_window.command(QStringLiteral("mnuShowWinnability"))->setChecked(on);
    if (m_indicator)
        m_indicator->setVisible(on);
    m_checker->cancel();
    m_checkTimer->stop();
    m_recheck = true; // the same table is searched afresh when shown again
    setIndicator({});
    positionChanged();
}

QString TutorCommands::winnability() const { return m_indicator ? m_indicator->text() : QString(); }

void TutorCommands::setIndicator(const QString& text)
{
    if (m_indicator)
        m_indicator->setText(text);
}

void TutorCommands::positionChanged()
{
    const engine::Session& s = session();
    const engine::GameState& st = s.state();
    Position now;
    now.active = s.flags().dealActive && !s.flags().gameWon;
    now.gameId = st.gameId;
    now.number = st.gameNumber;
    now.dealNumber = st.dealNumber;
    now.undoDepth = s.undoDepth();
    now.table = st.table;
    if (now == m_checked && !m_recheck)
        return;
    m_recheck = false;
    // The tutor's record starts afresh with each game and after an undo.
    const bool newDeal = now.gameId != m_checked.gameId || now.number != m_checked.number;
    if (newDeal || now.undoDepth < m_checked.undoDepth)
        m_record.clear();
    if (newDeal && m_show != Show::Demo)
        m_demo = engine::GameDemo{};
    m_checked = now;
    m_checkStage = 0;
    m_answered = false;
    m_checker->cancel();
    m_checkTimer->stop();
    if (!m_showWinnability || !now.active) {
        setIndicator({});
        return;
    }
    if (m_show == Show::Line && m_lineAt < m_line.size() && st.table == m_expected.table &&
        st.dealNumber == m_expected.dealNumber) {
        // The rest of the line being shown proves it.
        setIndicator(winnabilityText(engine::Verdict::Winnable, true));
        m_answered = true;
        return;
    }
    setIndicator(QStringLiteral("Checking…"));
    if (watched())
        m_checkTimer->start(kCheckDelayMs);
}

bool TutorCommands::watched() const { return m_window.isVisible() && !m_window.isMinimized() && !session().paused(); }

void TutorCommands::watchChanged()
{
    if (!m_installed || m_answered || !m_showWinnability)
        return;
    m_checker->cancel();
    m_checkTimer->stop();
    // A search stopped half way starts again once the table can be seen.
    if (watched() && m_checked.active)
        m_checkTimer->start(kCheckDelayMs);
}

void TutorCommands::checkNow()
{
    const engine::Session& s = session();
    if (!m_showWinnability || !s.flags().dealActive || s.flags().gameWon || !watched())
        return;
    engine::GameState copy = s.state();
    copy.drag = {};
    copy.tutorMode = 0;
    m_checkedMovesMade = s.undoDepth() > 0;
    m_checkedState = copy;
    engine::SolverLimits limits;
    const bool quick = m_checkStage == 0;
    limits.budgetMs = quick ? std::min(kQuickMs, m_timing.winnabilityMs) : m_timing.winnabilityMs;
    limits.maxTableBytes = quick ? kQuickTableBytes : kIndicatorTableBytes;
    m_checker->solve(s.rules(), copy, limits);
}

void TutorCommands::winnabilityAnswered(const SolverAnswer& answer)
{
    // The search's memory goes back to the system: the allocator would keep it for the next one.
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    if (answer.result.cancelled)
        return;
    // The game demo plays this line when it is asked for on this table.
    if (answer.result.verdict == engine::Verdict::Winnable)
        rememberLine(m_checkedState, answer.result.line);
    if (answer.result.verdict == engine::Verdict::Unknown && m_checkStage == 0 && m_timing.winnabilityMs > kQuickMs) {
        // The quick search could not tell: the longer one follows if the table stays as it is.
        m_checkStage = 1;
        m_checkTimer->start(kSettleMs);
        return;
    }
    m_answered = true;
    setIndicator(winnabilityText(answer.result.verdict, m_checkedMovesMade));
}

// ---- Winnable deals only ----

void TutorCommands::setWinnableDealsOnly(bool on)
{
    m_winnableOnly = on;
    m_window.setPref(kWinnableDealsOnlyKey, on ? "Y" : "N");
    m_window.command(QStringLiteral("mnuWinnableDealsOnly"))->setChecked(on);
}

std::string TutorCommands::freshNumber()
{
    if (!m_chosenNumber.empty())
        return std::exchange(m_chosenNumber, {});
    return m_freshNumbers();
}

bool TutorCommands::newGame()
{
    if (!m_winnableOnly || m_bypassSearch)
        return false;
    if (m_searchingDeal)
        return true; // the search under way deals the game
    const int id = m_game.currentGameId();
    if (id < 0)
        return false;
    auto loaded = m_game.loadRules(id);
    if (!loaded)
        return false; // the ordinary new game says what is wrong
    m_candidates.clear();
    for (int i = 0; i < kDealCandidates; ++i)
        m_candidates.push_back(m_freshNumbers());
    m_searchingDeal = true;
    m_dealGameId = id;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_window.m_panels[3]->setContent(QStringLiteral("Looking for a winnable deal…"));
    const int total = m_timing.dealSearchMs;
    m_dealSolver->start([rules = *loaded, candidates = m_candidates, total, id](const std::atomic<bool>& cancel) {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point start = Clock::now();
        SolverAnswer last;
        for (std::size_t i = 0; i < candidates.size() && !cancel.load(); ++i) {
            const int spent =
                static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
            const int left = total - spent;
            if (left < 50)
                break;
            engine::DealResult dealt = engine::deal(rules, candidates[i]);
            if (dealt.badCardCount)
                continue;
            dealt.state.gameId = id;
            dealt.state.gameNumber = candidates[i];
            engine::SolverLimits limits;
            // A hard deal does not eat the whole wait: the next candidates get their turn.
            limits.budgetMs = std::min(left, std::max(200, total / 3));
            limits.cancel = &cancel;
            limits.maxTableBytes = kDealSearchTableBytes;
            engine::SolveResult r = engine::solve(dealt.rules, dealt.state, limits);
            if (r.verdict == engine::Verdict::Winnable)
                return SolverAnswer{std::move(r), static_cast<int>(i)};
            last.result = std::move(r);
        }
        return last;
    });
    return true;
}

void TutorCommands::dealAnswered(const SolverAnswer& answer)
{
    if (!m_searchingDeal)
        return;
    m_searchingDeal = false;
    QApplication::restoreOverrideCursor();
    m_window.m_panels[3]->setContent({});
    if (m_candidates.empty() || m_game.currentGameId() != m_dealGameId)
        return; // another game was chosen meanwhile
    const bool found = answer.index >= 0 && answer.index < static_cast<int>(m_candidates.size());
    const std::string number = found ? m_candidates[static_cast<std::size_t>(answer.index)] : m_candidates.front();
    m_chosenNumber = number;
    m_bypassSearch = true;
    m_window.cmdNewGame();
    m_bypassSearch = false;
    const bool dealt = m_chosenNumber.empty();
    m_chosenNumber.clear();
    if (!dealt)
        return; // the player kept the running game
    if (!found) {
        m_window.m_panels[3]->setContent(
            QStringLiteral("No deal was proven winnable in time: this one is an ordinary deal."));
        return;
    }
    // The search has just proven this deal: the indicator need not search it again.
    const engine::Session& s = session();
    if (m_showWinnability && s.state().gameNumber == number && s.undoDepth() == 0 && s.flags().dealActive) {
        m_checkTimer->stop();
        m_checker->cancel();
        setIndicator(winnabilityText(engine::Verdict::Winnable, false));
        m_answered = true;
    }
}

} // namespace cw::ui
