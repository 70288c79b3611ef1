// The tutor and solver commands: the demo loop on a timer, the solver's line played step by step, and the hint's pointer.
#include "engine/rules_context.h"
#include "engine/session.h"

#include "ui/tutor_commands.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <memory>
#include <utility>

#include "engine/card.h"
#include "engine/geometry.h"
#include "engine/random.h"
#include "ui/demo_window.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/solver_worker.h"

namespace cw::ui {

using engine::Move;
using engine::MoveKind;
using engine::PileKind;
using engine::PileRef;

namespace {

// The search of "Solve and show" keeps its transposition table well below the machine's memory.
constexpr std::size_t kLineTableBytes = std::size_t{512} << 20;

QString cardName(int code)
{
    if (engine::isJoker(code))
        return QStringLiteral("a joker");
    static const char* const ranks[] = {"",  "Ace", "2", "3",  "4",    "5",     "6",
                                        "7", "8",   "9", "10", "Jack", "Queen", "King"};
    static const char* const suits[] = {"Hearts", "Diamonds", "Clubs", "Spades"};
    const int r = engine::rank(code);
    const int s = engine::suit(code);
    if (r < 1 || r > 13 || s < 0 || s > 3)
        return QStringLiteral("a card");
    return QStringLiteral("the %1 of %2").arg(QLatin1String(ranks[r]), QLatin1String(suits[s]));
}

QString pileWords(PileRef p)
{
    switch (p.kind) {
    case PileKind::Stock: return QStringLiteral("the stock");
    case PileKind::Waste: return QStringLiteral("the waste");
    case PileKind::SecondWaste: return QStringLiteral("the second waste");
    case PileKind::Tableau: return QStringLiteral("tableau %1").arg(p.index + 1);
    case PileKind::Foundation: return QStringLiteral("foundation %1").arg(p.index + 1);
    case PileKind::Reserve: return QStringLiteral("reserve %1").arg(p.index + 1);
    case PileKind::Unknown: break;
    }
    return QStringLiteral("the table");
}

int cardAt(const engine::Table& table, PileRef pile, int index)
{
    if (!pile.valid() || index < 0)
        return 0;
    const engine::Pile& p = table.pile(pile);
    return index < static_cast<int>(p.size()) ? p[static_cast<std::size_t>(index)] : 0;
}

} // namespace

QString describeMove(const engine::Table& table, const Move& move)
{
    switch (move.kind) {
    case MoveKind::Stock:
        return QString::fromLatin1(table.stock().cardCount() > 0 ? engine::kClickToTurnUp : engine::kClickToRedeal);
    case MoveKind::TurnUp: return QStringLiteral("Turn up the top card of %1").arg(pileWords(move.from));
    case MoveKind::Draw:
        return QStringLiteral("Draw %1 to the top of %2")
            .arg(cardName(cardAt(table, move.from, move.index)), pileWords(move.from));
    case MoveKind::Select: {
        QStringList cards;
        for (int i = 0; i < move.cardCount(); ++i)
            cards << cardName(move.cards[static_cast<std::size_t>(i)]);
        return QStringLiteral("Select %1").arg(cards.join(QStringLiteral(", ")));
    }
    case MoveKind::Gap:
        return QStringLiteral("Move %1 from %2 into the gap of %3")
            .arg(cardName(cardAt(table, move.from, move.index)), pileWords(move.from), pileWords(move.to));
    case MoveKind::Press:
        return QStringLiteral("Press %1 on %2")
            .arg(cardName(cardAt(table, move.from, move.index)), pileWords(move.from));
    case MoveKind::Transfer: break;
    }
    const int count = move.from.valid() ? static_cast<int>(table.pile(move.from).size()) - move.index : 0;
    const QString card = cardName(cardAt(table, move.from, move.index));
    if (count > 1)
        return QStringLiteral("Move %1 and the %2 on it from %3 to %4")
            .arg(card, count == 2 ? QStringLiteral("card") : QStringLiteral("%1 cards").arg(count - 1),
                 pileWords(move.from), pileWords(move.to));
    return QStringLiteral("Move %1 from %2 to %3").arg(card, pileWords(move.from), pileWords(move.to));
}

// ---- Set-up ----

TutorCommands::TutorCommands(TfrmMain& window, engine::TMainGame& game, engine::TutorRecord& record,
                             std::function<std::string()> freshNumbers)
    : QObject(&window), m_window(window), m_game(game), m_record(record), m_freshNumbers(std::move(freshNumbers))
{
    setObjectName(QStringLiteral("TutorCommands"));
    if (!m_freshNumbers) {
        auto rng = std::make_shared<engine::Random>(engine::Random::fromTimeOfDay());
        m_freshNumbers = [rng] { return rng->newGameNumber(); };
    }
    m_stepTimer = new QTimer(this);
    m_stepTimer->setSingleShot(true);
    connect(m_stepTimer, &QTimer::timeout, this, &TutorCommands::step);
    // A short pause before the indicator searches: quick moves in a row cost one search.
    m_checkTimer = new QTimer(this);
    m_checkTimer->setSingleShot(true);
    m_checkTimer->setInterval(150);
    connect(m_checkTimer, &QTimer::timeout, this, &TutorCommands::checkNow);
    m_lineSolver = new BackgroundSolver(this);
    m_lineSolver->setObjectName(QStringLiteral("lineSolver"));
    connect(m_lineSolver, &BackgroundSolver::answered, this, &TutorCommands::lineAnswered);
    m_checker = new BackgroundSolver(this);
    m_checker->setObjectName(QStringLiteral("winnabilityChecker"));
    connect(m_checker, &BackgroundSolver::answered, this, &TutorCommands::winnabilityAnswered);
    m_dealSolver = new BackgroundSolver(this);
    m_dealSolver->setObjectName(QStringLiteral("dealSolver"));
    connect(m_dealSolver, &BackgroundSolver::answered, this, &TutorCommands::dealAnswered);
}

TutorCommands::~TutorCommands() { shutdown(); }

engine::Session& TutorCommands::session() const { return *m_window.m_session; }

void TutorCommands::updateCommands()
{
    if (!m_installed)
        return;
    const engine::TableFlags& flags = session().flags();
    const bool tutorAllowed = m_game.rulesGameId < 0 || m_game.rules.tutor() == 1;
    m_window.command(QStringLiteral("mnuDemo"))
        ->setEnabled(!demoWindowShown() && m_game.currentGameId() >= 0 && tutorAllowed);
    m_window.command(QStringLiteral("mnuSolveAndShow"))->setEnabled(flags.dealActive && !flags.gameWon);
    positionChanged();
}

void TutorCommands::shutdown()
{
    m_stepTimer->stop();
    m_checkTimer->stop();
    m_lineSolver->shutdown();
    m_checker->shutdown();
    m_dealSolver->shutdown();
    if (m_searchingDeal) {
        m_searchingDeal = false;
        QApplication::restoreOverrideCursor();
    }
}

// ---- The demo window ----

TfrmDemo& TutorCommands::demo()
{
    if (!m_demoWindow) {
        m_demoWindow = new TfrmDemo(m_game.settingsFile, &m_window);
        connect(m_demoWindow, &TfrmDemo::playClicked, this, &TutorCommands::playClicked);
        connect(m_demoWindow, &TfrmDemo::pauseToggled, this, &TutorCommands::pauseToggled);
        connect(m_demoWindow, &TfrmDemo::stopClicked, this, &TutorCommands::stopDemo);
        connect(m_demoWindow, &TfrmDemo::closed, this, [this] {
            stopDemo();
            m_show = Show::None;
            m_window.updateCommands();
        });
    }
    return *m_demoWindow;
}

bool TutorCommands::demoWindowShown() const { return m_demoWindow && m_demoWindow->isVisible(); }

bool TutorCommands::solving() const { return m_lineSolver->busy(); }

bool TutorCommands::stepPending() const { return m_stepTimer->isActive(); }

bool TutorCommands::playing() const
{
    return m_show != Show::None && !m_paused && (m_stepTimer->isActive() || m_inStep || m_lineSolver->busy());
}

void TutorCommands::openDemoWindow(Show show)
{
    TfrmDemo& w = demo();
    m_show = show;
    m_paused = false;
    w.setPauseDown(false);
    w.setGreyed(false);
    w.setPlayDown(true);
    w.showAtStoredPosition();
    m_window.updateCommands();
}

void TutorCommands::schedule(Phase phase, int ms)
{
    m_phase = phase;
    m_stepTimer->start(std::max(0, ms));
}

void TutorCommands::rememberTable()
{
    const engine::GameState& s = session().state();
    m_leftTable = s.table;
    m_leftDeal = s.dealNumber;
    m_leftNumber = s.gameNumber;
}

bool TutorCommands::tableMovedElsewhere() const
{
    const engine::GameState& s = session().state();
    return !(s.table == m_leftTable) || s.dealNumber != m_leftDeal || s.gameNumber != m_leftNumber;
}

void TutorCommands::refreshWindow()
{
    m_window.afterCommand();
    rememberTable();
}

bool TutorCommands::stillPlaying() const
{
    return m_show != Show::None && !m_paused && m_demoWindow && m_demoWindow->playDown();
}

void TutorCommands::step()
{
    if (!stillPlaying())
        return;
    // Never from inside another step's animation (its event loop runs the timers too).
    if (m_inStep || m_window.m_table->animating()) {
        m_stepTimer->start(50);
        return;
    }
    m_inStep = true;
    switch (m_show) {
    case Show::Demo: m_phase == Phase::Look ? lookDemo() : makeDemo(); break;
    case Show::Line: m_phase == Phase::Look ? lookLine() : makeLine(); break;
    case Show::None: break;
    }
    m_inStep = false;
}

void TutorCommands::startDemo()
{
    engine::Session& s = session();
    const int id = m_game.currentGameId();
    if (id < 0)
        return;
    stopDemo();
    if (!s.flags().dealActive) {
        // A demo without a game in progress starts a new game of the current game id.
        if (m_game.rulesGameId < 0)
            s.startGame(id, m_game.player());
        else
            s.newGame();
        m_window.afterCommand();
        if (!s.flags().dealActive)
            return;
    }
    if (m_game.rules.tutor() != 1)
        return;
    s.stopTutor(); // a shown legal move ends
    // The tutor looks one move ahead and can wreck a deal that is plainly winnable; the solver's
    // line wins it, so it plays whenever one is known or found in a short search.
    openDemoWindow(Show::Line);
    m_lineIsDemo = true;
    m_lineMoves = 0;
    demo().setMoveCount(0);
    demo().setDescription({});
    if (knownLineFits()) {
        s.setLinePlaying(true);
        m_expected = m_knownFrom;
        rememberTable();
        m_window.m_table->refresh();
        playLine(m_knownLine, m_timing.startMs);
        return;
    }
    solveLine();
}

void TutorCommands::tutorDemo()
{
    engine::Session& s = session();
    m_show = Show::Demo;
    m_lineIsDemo = false;
    m_line.clear();
    m_lineAt = 0;
    s.startDemo(m_demo);
    demo().setMoveCount(m_demo.moveCount());
    demo().setDescription({});
    m_window.m_table->refresh();
    rememberTable();
    schedule(Phase::Look, m_timing.startMs);
}

void TutorCommands::playLine(std::vector<Move> line, int delayMs)
{
    m_line = std::move(line);
    m_lineAt = 0;
    if (m_line.empty()) {
        finish();
        return;
    }
    if (!m_paused)
        schedule(Phase::Look, delayMs);
}

void TutorCommands::lookDemo()
{
    engine::Session& s = session();
    if (s.paused()) {
        schedule(Phase::Look, 300);
        return;
    }
    if (tableMovedElsewhere() || !m_demo.running(s.state())) {
        stopDemo();
        return;
    }
    // The step is looked for on a copy first, so that the window says what comes before it happens.
    engine::GameState copy = s.state();
    engine::TutorRecord record = m_record;
    engine::PlayOptions options;
    options.autoplay = s.autoplay();
    engine::Play play{s.rules(), copy, options, nullptr};
    const engine::TutorStep found = engine::tutorStep(play, record, engine::kTutorDemo);
    demo().setDescription(QString::fromStdString(found.description));
    if (!found.found()) {
        makeDemo(); // ends the demo with its last words
        return;
    }
    schedule(Phase::Make, m_timing.lookMs);
}

void TutorCommands::makeDemo()
{
    engine::Session& s = session();
    if (s.paused()) {
        schedule(Phase::Make, 300);
        return;
    }
    if (tableMovedElsewhere()) {
        stopDemo();
        return;
    }
    engine::GameDemo::Tick tick;
    bool ran = false;
    s.playStep([&](engine::Play& play) {
        ran = true;
        tick = m_demo.tick(play, m_record);
        // The tick ends the demo on the winning move itself; that move is still the demo's, and
        // must not make the game count as the player's (the session reads the mode after the step).
        if (tick.moved)
            play.state.tutorMode = engine::kTutorDemo;
    });
    refreshWindow();
    demo().setMoveCount(m_demo.moveCount());
    if (!tick.description.empty())
        demo().setDescription(QString::fromStdString(tick.description));
    if (!ran || tick.finished || !s.flags().dealActive) {
        finish();
        return;
    }
    // Pause or Stop may have been pressed while the move's cards were flying.
    if (stillPlaying())
        schedule(Phase::Look, m_timing.stepMs);
}

void TutorCommands::finish()
{
    m_stepTimer->stop();
    session().stopDemo(m_demo, true);
    m_paused = false;
    if (m_demoWindow) {
        m_demoWindow->setPlayDown(false);
        m_demoWindow->setPauseDown(false);
        m_demoWindow->setGreyed(false);
        m_demoWindow->setMoveCount(m_show == Show::Line ? m_lineMoves : m_demo.moveCount());
    }
    m_window.m_table->refresh();
    m_window.updateCommands();
}

void TutorCommands::stopDemo()
{
    if (m_show == Show::None)
        return;
    m_stepTimer->stop();
    const bool wasSolving = m_lineSolver->busy();
    m_lineSolver->cancel();
    // Only the demo's own tutor mode ends here: a shown legal move keeps its mode.
    session().stopDemo(m_demo, false);
    m_paused = false;
    if (m_demoWindow) {
        m_demoWindow->setPlayDown(false);
        m_demoWindow->setPauseDown(false);
        m_demoWindow->setGreyed(false);
        if (wasSolving)
            m_demoWindow->setDescription(QStringLiteral("Stopped"));
    }
    m_window.m_table->refresh();
}

void TutorCommands::closeDemo()
{
    stopDemo();
    if (demoWindowShown())
        m_demoWindow->reject();
}

void TutorCommands::pauseToggled(bool down)
{
    if (m_show == Show::None || !demo().playDown()) {
        // Nothing plays: the button only greys the labels.
        m_paused = down;
        demo().setGreyed(down);
        return;
    }
    m_paused = down;
    demo().setGreyed(down);
    if (m_show == Show::Demo)
        session().pauseDemo(m_demo, down);
    else
        session().setLinePlaying(!down);
    if (down) {
        m_stepTimer->stop();
        m_window.m_table->refresh();
        return;
    }
    if (m_show == Show::Line && m_lineSolver->busy())
        return; // the answer starts the line
    rememberTable();
    schedule(Phase::Look, m_timing.startMs);
}

void TutorCommands::playClicked()
{
    if (m_show == Show::Line) {
        engine::Session& s = session();
        if (!s.flags().dealActive || s.flags().gameWon) {
            finish();
            return;
        }
        m_paused = false;
        demo().setPauseDown(false);
        demo().setGreyed(false);
        const bool onLine = m_lineAt < m_line.size() && s.state().table == m_expected.table &&
                            s.state().dealNumber == m_expected.dealNumber;
        if (!onLine) {
            solveLine(); // the table moved on since: a new line from here
            return;
        }
        s.setLinePlaying(true);
        rememberTable();
        schedule(Phase::Look, m_timing.startMs);
        return;
    }
    startDemo();
}

// ---- Solve and show ----

void TutorCommands::solveAndShow()
{
    engine::Session& s = session();
    if (!s.flags().dealActive || s.flags().gameWon)
        return;
    stopDemo();
    s.stopTutor();
    openDemoWindow(Show::Line);
    m_lineIsDemo = false;
    m_lineMoves = 0;
    demo().setMoveCount(0);
    solveLine();
}

void TutorCommands::solveLine()
{
    engine::Session& s = session();
    m_line.clear();
    m_lineAt = 0;
    m_expected = s.state();
    m_expected.drag = {};
    m_expected.tutorMode = 0;
    // The line plays as the demo does: a press on the table stops it.
    s.setLinePlaying(true);
    demo().setPlayDown(true);
    demo().setDescription(QStringLiteral("Solving…"));
    rememberTable();
    engine::SolverLimits limits;
    limits.budgetMs = m_lineIsDemo ? m_timing.demoSolveMs : m_timing.solveMs;
    limits.maxTableBytes = kLineTableBytes;
    m_lineSolver->solve(s.rules(), m_expected, limits);
}

void TutorCommands::lineAnswered(const SolverAnswer& answer)
{
    if (m_show != Show::Line)
        return;
    const engine::SolveResult& r = answer.result;
    if (r.verdict == engine::Verdict::Winnable) {
        rememberLine(m_expected, r.line);
        if (tableMovedElsewhere()) {
            solveLine();
            return;
        }
        if (m_showWinnability && m_indicator)
            setIndicator(winnabilityText(engine::Verdict::Winnable, true));
        playLine(r.line, 0);
        return;
    }
    if (m_lineIsDemo) {
        // No line to show: the tutor's own steps play the demo.
        if (tableMovedElsewhere())
            stopDemo();
        else
            tutorDemo();
        return;
    }
    // Nothing to show: the window goes, a box says why.
    const QString text = r.verdict == engine::Verdict::NotWinnable
                             ? QStringLiteral("This deal cannot be won from here.")
                             : QStringLiteral("The solver could not decide within its time limit.");
    closeDemo();
    informationBox(&m_window, text);
}

void TutorCommands::rememberLine(const engine::GameState& from, const std::vector<Move>& line)
{
    m_knownFrom = from;
    m_knownLine = line;
}

bool TutorCommands::knownLineFits() const
{
    if (m_knownLine.empty())
        return false;
    const engine::GameState& now = session().state();
    const engine::GameState& from = m_knownFrom;
    // Everything the solver's moves read; the interaction state (drag, tutor mode) does not count.
    return now.table == from.table && now.gameId == from.gameId && now.gameNumber == from.gameNumber &&
           now.dealNumber == from.dealNumber && now.gameCounters == from.gameCounters &&
           now.drawUsed == from.drawUsed && now.redealArmed == from.redealArmed &&
           now.stockClicks == from.stockClicks && now.ascendingColumns == from.ascendingColumns;
}

void TutorCommands::lookLine()
{
    engine::Session& s = session();
    if (!s.flags().dealActive || m_lineAt >= m_line.size()) {
        finish();
        return;
    }
    if (s.paused()) {
        schedule(Phase::Look, 300);
        return;
    }
    // A changed table, or a tutor mode ended elsewhere (autoplay toggled, the window asked to close).
    if (tableMovedElsewhere() || s.state().tutorMode != engine::kTutorDemo) {
        stopDemo();
        return;
    }
    demo().setDescription(describeMove(s.state().table, m_line[m_lineAt]));
    schedule(Phase::Make, m_timing.lookMs);
}

void TutorCommands::makeLine()
{
    engine::Session& s = session();
    if (s.paused()) {
        schedule(Phase::Make, 300);
        return;
    }
    if (tableMovedElsewhere() || s.state().tutorMode != engine::kTutorDemo) {
        stopDemo();
        return;
    }
    if (!(s.state().table == m_expected.table) || s.state().dealNumber != m_expected.dealNumber) {
        solveLine();
        return;
    }
    const Move move = m_line[m_lineAt];
    const engine::PlayOptions options = engine::solverPlayOptions();
    s.playStep([&](engine::Play& play) {
        // The move is made as the solver made it: with its options (the line holds its own
        // foundation moves and counts on automatic turn-ups) and outside tutor mode (no tutor's
        // completion step), but it goes on record as a tutor's move for the statistics.
        engine::Play asSolved{play.rules, play.state, options, play.events};
        play.state.tutorMode = 0;
        engine::applyMove(asSolved, move);
        play.state.tutorMode = engine::kTutorDemo;
    });
    engine::Play shadow{s.rules(), m_expected, options, nullptr};
    engine::applyMove(shadow, move);
    ++m_lineAt;
    // The rest of the line still wins from here (a demo started after a stop takes it up).
    rememberLine(m_expected, std::vector<Move>(m_line.begin() + static_cast<std::ptrdiff_t>(m_lineAt), m_line.end()));
    ++m_lineMoves;
    refreshWindow();
    demo().setMoveCount(m_lineMoves);
    if (!s.flags().dealActive || m_lineAt >= m_line.size()) {
        demo().setDescription(QString::fromLatin1(engine::kEndOfDemo));
        finish();
        return;
    }
    if (stillPlaying())
        schedule(Phase::Look, m_timing.stepMs);
}

// ---- The window's commands ----

void TfrmMain::cmdDemo() { m_tutor->startDemo(); }

void TfrmMain::cmdSolveAndShow() { m_tutor->solveAndShow(); }

void TfrmMain::cmdShowWinnability()
{
    m_tutor->setShowWinnability(command(QStringLiteral("mnuShowWinnability"))->isChecked());
}

void TfrmMain::cmdWinnableDealsOnly()
{
    m_tutor->setWinnableDealsOnly(command(QStringLiteral("mnuWinnableDealsOnly"))->isChecked());
}

std::optional<std::pair<QPoint, QPoint>> TfrmMain::hintArrow(const engine::TutorStep& step) const
{
    const engine::Table& table = m_session->state().table;
    const engine::TableGeometry& g = m_table->tableGeometry();
    const QSize card(g.layout.cardWidth, g.layout.cardHeight);
    auto cardRectAt = [&](PileRef pile, int index) -> std::optional<QRect> {
        const engine::Point p = engine::cardPosition(g, table, pile, index);
        if (!pile.valid() || !p.present())
            return std::nullopt;
        return QRect(QPoint(p.x, p.y), card);
    };
    // A pointer at a single pile comes in from below and to the right of it.
    auto pointAt = [&](const std::optional<QRect>& r) -> std::optional<std::pair<QPoint, QPoint>> {
        if (!r)
            return std::nullopt;
        const QPoint to = r->center();
        return std::make_pair(to + QPoint(card.width(), card.height() * 3 / 4), to);
    };
    switch (step.action) {
    case engine::TutorAction::CardMove: {
        const int size = step.source.valid() ? static_cast<int>(table.pile(step.source).size()) : 0;
        const int bottom = std::max(0, step.sourceIndex);
        const auto first = cardRectAt(step.source, bottom);
        const auto last = cardRectAt(step.source, std::max(bottom, size - 1));
        const auto target =
            cardRectAt(step.target, step.target.valid() ? static_cast<int>(table.pile(step.target).size()) : 0);
        if (!first || !last || !target)
            return std::nullopt;
        // From the middle of the group's visible part to the place the cards would take.
        return std::make_pair((*first | *last).center(), target->center());
    }
    case engine::TutorAction::StockClick: {
        const PileRef stock = step.source.valid() ? step.source : PileRef::stock();
        return pointAt(cardRectAt(stock, std::max(0, static_cast<int>(table.pile(stock).size()) - 1)));
    }
    case engine::TutorAction::TurnUp:
    case engine::TutorAction::FamilyMove:
        if (!step.source.valid())
            return std::nullopt;
        return pointAt(cardRectAt(step.source, std::max(0, step.sourceIndex)));
    case engine::TutorAction::Fill:
    case engine::TutorAction::None: break;
    }
    return std::nullopt;
}

} // namespace cw::ui
