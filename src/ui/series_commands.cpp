// The series commands of the game window: the menu, the series window, the manager and the hooks of the
// end of a game, over the series player of the statistics library.
#include "ui/series_commands.h"
#include "ui/main_window.h"

#include <QAction>
#include <QFormLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMoveEvent>
#include <QTimer>

#include "storage/ini_file.h"
#include "storage/players.h"
#include "storage/preferences.h"
#include "storage/safe_file.h"
#include "storage/settings_store.h"
#include "ui/clear_stats_dialog.h"
#include "ui/dialog_base.h"
#include "ui/game_info_dialog.h"
#include "ui/message_boxes.h"
#include "ui/series_dialogs.h"
#include "ui/stats_commands.h"

namespace cw::ui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

QMenu* menuTitled(QMenuBar* bar, const QString& title)
{
    for (QAction* a : bar->actions())
        if (a->menu() && a->text() == title)
            return a->menu();
    return nullptr;
}

QString nameOf(const stats::GameCatalog& games, const stats::SeriesProgress& p, int index)
{
    if (index < 0 || index >= p.numGames())
        return QStringLiteral("-");
    auto g = games.game(p.games[std::size_t(index)]);
    return g ? qs(g->name) : QString::number(p.games[std::size_t(index)]);
}

} // namespace

// ---- Series window ----

SeriesWindow::SeriesWindow(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("frmSeries"));
    applyDialogFont(this);
    auto* form = new QFormLayout(this);
    auto add = [&](const QString& caption, const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        form->addRow(caption, l);
    };
    add(tr("Game:"), "lblCount");
    add(tr("Previous:"), "lblPrevious");
    add(tr("Result:"), "lblResult");
    add(tr("Current:"), "lblCurrent");
    add(tr("Next:"), "lblNext");
    add(tr("Total score:"), "lblScore");
    QFont bold = value("lblScore")->font();
    bold.setBold(true);
    value("lblScore")->setFont(bold);
    value("lblCurrent")->setFont(bold);
    setMinimumWidth(240);
}

QLabel* SeriesWindow::value(const char* name) { return findChild<QLabel*>(QLatin1String(name)); }

QString SeriesWindow::valueText(const QString& name) const
{
    auto* l = findChild<QLabel*>(name);
    return l ? l->text() : QString();
}

void SeriesWindow::show(const stats::SeriesProgress& p, const std::string& name, const stats::GameCatalog& games,
                        char separator)
{
    setWindowTitle(tr("Series: %1").arg(qs(name)));
    const int current = std::min(p.played, p.numGames()) - 1; // 0-based
    value("lblCount")->setText(QStringLiteral("%1/%2").arg(std::min(p.played, p.numGames())).arg(p.numGames()));
    const int previous = p.played - 2;
    value("lblPrevious")->setText(nameOf(games, p, previous));
    QString result;
    if (previous >= 0 && std::size_t(previous) < p.results.size() && p.results[std::size_t(previous)]) {
        const auto& r = *p.results[std::size_t(previous)];
        result = (r.won ? tr("Won") : tr("Lost")) + QStringLiteral(", ") + qs(r.score) + QStringLiteral(", ") +
                 qs(stats::playingTimeText(r.seconds, separator));
    }
    value("lblResult")->setText(result);
    value("lblCurrent")->setText(p.finished() ? QString() : nameOf(games, p, current));
    value("lblNext")->setText(nameOf(games, p, p.played));
    adjustSize();
}

void SeriesWindow::showScore(std::int64_t seriesScore, int currentScore)
{
    value("lblScore")->setText(QString::number(seriesScore + currentScore) + QLatin1Char(' '));
}

// ---- Commands ----

SeriesCommands::SeriesCommands(TfrmMain& window, engine::TMainGame& game)
    : QObject(&window), m_window(window), m_game(game)
{
    setObjectName(QStringLiteral("SeriesCommands"));
    m_seriesWindow = new SeriesWindow(&window);
    m_seriesWindow->hide();
    addMenus();
    updateCommands();
}

SeriesCommands::~SeriesCommands() = default;

SeriesCommands* installSeriesCommands(TfrmMain& window, engine::TMainGame& game)
{
    if (auto* existing = window.findChild<SeriesCommands*>())
        return existing;
    return new SeriesCommands(window, game);
}

void SeriesCommands::addMenus()
{
    QMenuBar* bar = m_window.menuBar();
    auto* menu = new QMenu(tr("&Series"), &m_window);
    menu->setObjectName(QStringLiteral("mnuSeries"));
    auto make = [&](const char* name, const QString& caption, void (SeriesCommands::*fn)()) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, [this, fn] { (this->*fn)(); });
        return a;
    };
    make("mnuSeriesManager", tr("Series &Manager..."), &SeriesCommands::showManager);
    m_next = make("mnuSeriesNext", tr("&Next game"), &SeriesCommands::nextGame);
    m_display = make("mnuSeriesDisplay", tr("Series &Display"), &SeriesCommands::toggleDisplay);
    m_display->setCheckable(true);
    m_situation = make("mnuSeriesSituation", tr("S&ituation..."), &SeriesCommands::showSituation);
    make("mnuSeriesHiScores", tr("Se&ries Hi-Scores..."), &SeriesCommands::showSeriesHiScores);
    menu->addSeparator();
    m_quit = make("mnuSeriesQuit", tr("&Quit Series"), &SeriesCommands::quitSeries);
    // Before "&Statistics" (or "&Help").
    QMenu* before = menuTitled(bar, QStringLiteral("&Statistics"));
    if (!before)
        before = menuTitled(bar, QStringLiteral("&Help"));
    bar->insertMenu(before ? before->menuAction() : nullptr, menu);
}

const stats::GameCatalog& SeriesCommands::catalog()
{
    auto* stats = m_window.findChild<StatsCommands*>();
    return stats->catalog();
}

stats::StatsContext SeriesCommands::context()
{
    stats::StatsContext ctx;
    if (auto* stats = m_window.findChild<StatsCommands*>()) {
        ctx = stats->context();
    } else {
        ctx.dataFolder = m_game.dataFolder;
        ctx.settings = &m_game.settings;
    }
    // A damaged series file is told to the player.
    ctx.notices = this;
    return ctx;
}

stats::SeriesPlayer& SeriesCommands::player()
{
    if (!m_player)
        m_player =
            std::make_unique<stats::SeriesPlayer>([this] { return context(); }, catalog(), m_window.session(), *this);
    return *m_player;
}

std::string SeriesCommands::preference(const char* key, const char* def) const
{
    return m_game.settingsFile ? m_game.settingsFile->readString(storage::kPreferenceSection, key, def) : def;
}

void SeriesCommands::setPreference(const char* section, const char* key, const std::string& value)
{
    if (!m_game.settingsFile)
        return;
    try {
        m_game.settingsFile->writeString(section, key, value);
    } catch (const storage::FileError&) {
        // A preference only: the next start offers the defaults.
    }
}

void SeriesCommands::updateCommands()
{
    const bool on = m_player && m_player->inProgress();
    m_next->setEnabled(on && m_player->canGoToNextGame());
    m_display->setEnabled(on);
    m_display->setChecked(on && m_seriesWindow->isVisible());
    m_situation->setEnabled(on);
    m_quit->setEnabled(on);
}

// ---- Menu commands ----

void SeriesCommands::showManager()
{
    std::vector<std::string> players =
        m_game.settingsFile ? storage::listPlayers(*m_game.settingsFile) : std::vector<std::string>{};
    const int last = std::atoi(preference("Series_Num", "8").c_str());
    const auto ctx = context();
    SeriesManagerDialog dialog(ctx, catalog(), players, m_game.player(), preference("Series_Random", "Y") == "Y", last,
                               &m_window);
    dialog.play = [this](int number, bool random, const std::string& who) {
        if (!player().start(number, random, who))
            return false;
        setPreference(storage::kPreferenceSection, "Series_Num", std::to_string(number));
        setPreference(storage::kPreferenceSection, "Series_Name", player().name());
        setPreference(storage::kPreferenceSection, "Series_TreeNum", std::to_string(number));
        return true;
    };
    dialog.showHiScores = [this, &dialog](int number) {
        SeriesHiScoresDialog scores(context(), catalog(), number, {}, 0, &dialog);
        scores.exec();
    };
    dialog.exec();
    setPreference(storage::kPreferenceSection, "Series_Random", dialog.randomOrder() ? "Y" : "N");
}

void SeriesCommands::nextGame()
{
    if (!player().canGoToNextGame() && m_window.session().flags().dealActive)
        return;
    player().nextGame();
}

void SeriesCommands::toggleDisplay()
{
    if (!player().inProgress())
        return;
    m_displayOff = m_seriesWindow->isVisible();
    m_seriesWindow->setVisible(!m_displayOff);
    updateCommands();
}

void SeriesCommands::showSituation()
{
    const auto& p = player().progress();
    if (!p)
        return;
    const bool offerNext = !m_window.session().flags().dealActive && !p->finished();
    SeriesSituationDialog dialog(*p, player().name(), catalog(), context().timeSeparator, offerNext, &m_window);
    if (dialog.exec() == QDialog::Accepted && offerNext)
        player().nextGame();
}

void SeriesCommands::showSeriesHiScores()
{
    const auto ctx = context();
    if (refuseWhenStatisticsDisabled(&m_window, ctx))
        return;
    const int number =
        player().inProgress() ? player().progress()->number : std::atoi(preference("Series_Num", "1").c_str());
    SeriesHiScoresDialog dialog(ctx, catalog(), number, {}, 0, &m_window);
    dialog.exec();
}

void SeriesCommands::quitSeries() { player().end(true); }

// ---- Hooks ----

engine::SeriesAnswer SeriesCommands::askInProgress(const std::string& name)
{
    return askSeriesInProgress(&m_window, name);
}

void SeriesCommands::gameEnded(const engine::GameEndReport& report)
{
    if (m_player)
        m_player->gameEnded(report);
}

void SeriesCommands::gameWon(const engine::GameEndReport&)
{
    if (m_player)
        m_player->gameWon();
}

void SeriesCommands::scoreShown(int score)
{
    if (m_player && m_player->inProgress() && m_seriesWindow->isVisible())
        m_seriesWindow->showScore(m_player->scoreSoFar(), score);
}

bool SeriesCommands::resumeAtStartup(bool heldGame)
{
    if (m_game.dataFolder.empty())
        return false;
    return player().resume(heldGame);
}

// ---- SeriesView ----

bool SeriesCommands::confirm(const std::string& text) { return confirmBox(&m_window, boxText(text)); }

void SeriesCommands::message(const std::string& text) { informationBox(&m_window, boxText(text)); }

void SeriesCommands::seriesChanged()
{
    const auto& p = m_player ? m_player->progress() : std::nullopt;
    if (p) {
        const bool wasShown = m_seriesWindow->isVisible();
        m_seriesWindow->show(*p, m_player->name(), catalog(), context().timeSeparator);
        m_seriesWindow->showScore(m_player->scoreSoFar(), m_window.session().score());
        if (!wasShown && !m_displayOff) {
            auto setting = [this](const char* key) {
                return m_game.settingsFile ? std::atoi(m_game.settingsFile->readString("Settings", key, "-1").c_str())
                                           : -1;
            };
            const int left = setting("Series_Form_Left"), top = setting("Series_Form_Top");
            const QRect main = m_window.frameGeometry();
            m_seriesWindow->move(left >= 0 && top >= 0 ? QPoint(left, top) : main.topRight() - QPoint(260, -80));
            m_seriesWindow->QWidget::show();
        }
    } else if (m_seriesWindow->isVisible()) {
        m_displayOff = false;
        const QPoint at = m_seriesWindow->pos();
        setPreference("Settings", "Series_Form_Left", std::to_string(at.x()));
        setPreference("Settings", "Series_Form_Top", std::to_string(at.y()));
        m_seriesWindow->hide();
    }
    updateCommands();
}

void SeriesCommands::newSeriesHiScore(int number, int rank, const std::string& caption)
{
    if (m_game.settings.get(storage::col::ConfirmEnterHiScores) == "N")
        return;
    SeriesHiScoresDialog dialog(context(), catalog(), number, caption, rank, &m_window);
    dialog.exec();
}

void SeriesCommands::later(std::function<void()> fn) { QTimer::singleShot(0, this, std::move(fn)); }

} // namespace cw::ui
