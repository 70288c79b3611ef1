// The "Statistics" dialog: player and game boxes, the pages Game, Total and List, and their buttons.
#include "ui/statistics_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>

#include "stats/game_stats.h"
#include "stats/stat_files.h"
#include "storage/safe_file.h"
#include "ui/dialog_base.h"
#include "ui/log_dialog.h"
#include "ui/message_boxes.h"
#include "ui/pie_chart.h"
#include "ui/progression_zoom.h"
#include "ui/statistics_summaries.h"
#include "ui/stats_charts.h"
#include "ui/stats_table.h"

namespace cw::ui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

QLabel* named(QWidget* parent, const QString& name, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setAlignment(align);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

void setBold(QLabel* l, bool bold)
{
    QFont f = l->font();
    f.setBold(bold);
    l->setFont(f);
}

// The "Won / Lost " group of the Game and Total pages; prefix names its labels ("lbl" or "lblTotal").
QGroupBox* wonLostGroup(QWidget* parent, const QString& title, const QString& prefix, C_TPieChart*& pie)
{
    auto* box = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(box);
    const QString captions[] = {QObject::tr("Won:"), QObject::tr("Lost:"), QObject::tr("Total:")};
    const QString names[] = {QStringLiteral("Won"), QStringLiteral("Lost"), QStringLiteral("Total")};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(captions[i], box), i, 0);
        grid->addWidget(named(box, prefix + names[i], Qt::AlignRight | Qt::AlignVCenter), i, 1);
    }
    grid->addWidget(new QLabel(QObject::tr("Perc.:"), box), 3, 0);
    auto* percents = new QHBoxLayout;
    percents->addWidget(named(box, prefix + QStringLiteral("WonPercent")));
    percents->addWidget(named(box, prefix + QStringLiteral("LostPercent")));
    grid->addLayout(percents, 3, 1);
    pie = new C_TPieChart(box);
    grid->addWidget(pie, 0, 2, 4, 1);
    grid->setColumnStretch(2, 1);
    return box;
}

// The "Chance of Winning " group: two caption lines (the Game page only), "Average:", "Yours:" and bars.
QGroupBox* chanceGroup(QWidget* parent, const QString& title, const QString& prefix, bool withText, BarChartView*& bars)
{
    auto* box = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(box);
    int row = 0;
    if (withText) {
        grid->addWidget(named(box, prefix + QStringLiteral("ChanceCaption")), row, 0);
        grid->addWidget(named(box, prefix + QStringLiteral("ChanceText")), row++, 1);
    }
    grid->addWidget(new QLabel(QObject::tr("Average:"), box), row, 0);
    grid->addWidget(named(box, prefix + QStringLiteral("Average"), Qt::AlignRight | Qt::AlignVCenter), row++, 1);
    grid->addWidget(new QLabel(QObject::tr("Yours:"), box), row, 0);
    grid->addWidget(named(box, prefix + QStringLiteral("Yours"), Qt::AlignRight | Qt::AlignVCenter), row++, 1);
    bars = new BarChartView(false, box);
    bars->setMaximumHeight(140);
    grid->addWidget(bars, 0, 2, row + 1, 1);
    grid->setColumnStretch(2, 1);
    return box;
}

std::vector<ChartBar> chanceBars(double yours, double average)
{
    return {{QObject::tr("Yours"), std::trunc(yours), chart_colours::kYours},
            {QObject::tr("Average"), std::trunc(average), chart_colours::kAverage}};
}

} // namespace

StatisticsDialog::StatisticsDialog(const stats::StatsContext& ctx, StatisticsSetup setup, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_setup(std::move(setup))
{
    applyDialogFont(this);
    setWindowTitle(tr("Statistics"));
    BusyCursor busy;
    for (const std::string& message : stats::ensureStatisticsFiles(ctx, m_setup.player))
        informationBox(parent, boxText(message));

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* playerLabel = new QLabel(tr("&Player:"), this);
    m_players = new QComboBox(this);
    m_players->setObjectName(QStringLiteral("cboPlayers"));
    playerLabel->setBuddy(m_players);
    for (const auto& p : m_setup.players)
        m_players->addItem(qs(p));
    if (m_players->findText(qs(m_setup.player), Qt::MatchExactly) < 0 && !m_setup.player.empty())
        m_players->addItem(qs(m_setup.player));
    m_players->setCurrentIndex(std::max(0, m_players->findText(qs(m_setup.player), Qt::MatchExactly)));
    auto* gameLabel = new QLabel(tr("&Game:"), this);
    m_games = new QComboBox(this);
    m_games->setObjectName(QStringLiteral("cboGames"));
    m_games->setMaxVisibleItems(20);
    gameLabel->setBuddy(m_games);
    for (const auto& g : m_setup.gamesByName)
        m_games->addItem(qs(g.name), g.id);
    m_games->setCurrentIndex(std::max(0, m_games->findData(m_setup.gameId)));
    m_showProgression = new QCheckBox(tr("Show Progression"), this);
    m_showProgression->setObjectName(QStringLiteral("chkShowProgression"));
    const std::string shown =
        m_setup.settingsFile ? m_setup.settingsFile->readString("Preference", "Show_Stat_Progression", "Y") : "Y";
    m_showProgression->setChecked(shown == "Y");
    top->addWidget(playerLabel);
    top->addWidget(m_players, 1);
    top->addWidget(gameLabel);
    top->addWidget(m_games, 2);
    top->addWidget(m_showProgression);
    layout->addLayout(top);

    m_pages = new QTabWidget(this);
    m_pages->addTab(buildGamePage(), tr("Game"));
    m_pages->addTab(buildTotalPage(), tr("Total"));
    m_pages->addTab(buildListPage(), tr("List"));
    layout->addWidget(m_pages, 1);

    auto* buttons = new QHBoxLayout;
    auto* hiScores = new QPushButton(tr("  &Hi-Scores..."), this);
    auto* players = new QPushButton(tr("Pla&yers..."), this);
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setDefault(true);
    buttons->addWidget(hiScores);
    buttons->addWidget(players);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(hiScores, &QPushButton::clicked, this, [this] {
        if (m_setup.showHiScores)
            m_setup.showHiScores(selectedGameId());
    });
    connect(players, &QPushButton::clicked, this, &StatisticsDialog::openPlayers);

    // The pop-up menu of the dialog: "Clear values...", then the Game page is read again.
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu menu(this);
        menu.addAction(tr("Clear values..."), this, [this] {
            if (m_setup.clearValues)
                m_setup.clearValues();
            playerChanged();
        });
        menu.exec(mapToGlobal(pos));
    });

    connect(m_players, &QComboBox::currentIndexChanged, this, &StatisticsDialog::playerChanged);
    connect(m_games, &QComboBox::currentIndexChanged, this, &StatisticsDialog::refreshGame);
    connect(m_pages, &QTabWidget::currentChanged, this, &StatisticsDialog::pageShown);
    connect(m_showProgression, &QCheckBox::toggled, this, &StatisticsDialog::progressionToggled);
    const bool shownCharts = m_showProgression->isChecked();
    m_gameProgressionGroup->setVisible(shownCharts);
    m_totalProgressionGroup->setVisible(shownCharts);
    m_gameZoom->setEnabled(shownCharts);
    m_totalZoom->setEnabled(shownCharts);
    refreshGame();
    resize(760, 720);
}

StatisticsDialog::~StatisticsDialog()
{
    if (!m_setup.settingsFile)
        return;
    try {
        m_setup.settingsFile->writeString("Preference", "Show_Stat_Progression",
                                          m_showProgression->isChecked() ? "Y" : "N");
    } catch (const storage::FileError&) {
        // The preference only: the next opening shows the charts as before.
    }
}

QLabel* StatisticsDialog::label(const QString& name) const { return findChild<QLabel*>(name); }

QString StatisticsDialog::valueText(const QString& name) const
{
    const QLabel* l = label(name);
    return l ? l->text() : QStringLiteral("<no label %1>").arg(name);
}

int StatisticsDialog::selectedGameId() const { return m_games->currentData().toInt(); }

std::string StatisticsDialog::selectedPlayer() const { return m_players->currentText().toStdString(); }

const std::map<int, stats::GameRecord>& StatisticsDialog::records()
{
    if (!m_records)
        m_records = stats::playerRecords(m_ctx, selectedPlayer());
    return *m_records;
}

const std::vector<stats::ProgressionRecord>& StatisticsDialog::progression()
{
    if (!m_progression)
        m_progression = stats::progressionOf(m_ctx, selectedPlayer());
    return *m_progression;
}

// ---- Game page ----

QWidget* StatisticsDialog::buildGamePage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(wonLostGroup(page, tr("Won / Lost "), QStringLiteral("lbl"), m_gamePie));
    layout->addWidget(chanceGroup(page, tr("Chance of Winning "), QStringLiteral("lbl"), true, m_gameBars));
    m_gameProgressionGroup = new QGroupBox(tr("Progression % Won "), page);
    auto* pl = new QVBoxLayout(m_gameProgressionGroup);
    m_gameChart = new ProgressionChartView(m_gameProgressionGroup);
    m_gameChart->setObjectName(QStringLiteral("chtGameProgression"));
    pl->addWidget(m_gameChart);
    layout->addWidget(m_gameProgressionGroup, 1);
    auto* buttons = new QHBoxLayout;
    m_gameZoom = new QPushButton(tr("Zoom..."), page);
    auto* sequences = new QPushButton(tr("Se&quences..."), page);
    auto* session = new QPushButton(tr("&Session..."), page);
    auto* played = new QPushButton(tr("List played..."), page);
    for (QPushButton* b : {m_gameZoom, sequences, session, played})
        buttons->addWidget(b);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(m_gameZoom, &QPushButton::clicked, this, [this] { openZoom(stats::ProgressionScope::OneGame); });
    connect(sequences, &QPushButton::clicked, this, &StatisticsDialog::openSequences);
    connect(session, &QPushButton::clicked, this, &StatisticsDialog::openSession);
    connect(played, &QPushButton::clicked, this, [this] { openLog(false); });
    return page;
}

void StatisticsDialog::refreshGame()
{
    BusyCursor busy;
    const int id = selectedGameId();
    std::optional<stats::CatalogGame> game;
    for (const auto& g : m_setup.gamesByName)
        if (g.id == id)
            game = g;
    stats::GameRecord record;
    try {
        record = stats::readGameStatistics(m_ctx, id, selectedPlayer()).record;
    } catch (const storage::FileError& e) {
        informationBox(this, boxText(e.what()));
    }
    const stats::GamePageFigures f = stats::gamePageFigures(record, game);
    label(QStringLiteral("lblWon"))->setText(QString::number(f.won));
    label(QStringLiteral("lblLost"))->setText(QString::number(f.lost));
    label(QStringLiteral("lblTotal"))->setText(QString::number(f.total));
    label(QStringLiteral("lblWonPercent"))->setText(qs(f.wonLabel));
    label(QStringLiteral("lblLostPercent"))->setText(qs(f.lostLabel));
    m_gamePie->setPercent(f.yours);
    m_gamePie->setHasValues(f.hasValues);
    label(QStringLiteral("lblChanceCaption"))->setText(qs(f.chanceCaption));
    label(QStringLiteral("lblChanceText"))->setText(qs(f.chanceText));
    label(QStringLiteral("lblAverage"))->setText(qs(f.averageText));
    QLabel* yours = label(QStringLiteral("lblYours"));
    yours->setText(qs(f.yoursText));
    setBold(yours, f.yoursBold);
    m_gameBars->setBars(chanceBars(f.yours, f.chance), 100);
    if (m_showProgression->isChecked())
        m_gameChart->setPoints(stats::buildProgressionPoints(progression(), stats::ProgressionScope::OneGame, id,
                                                             std::nullopt, std::nullopt, stats::kProgressionBudget));
}

// ---- Total page ----

QWidget* StatisticsDialog::buildTotalPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(
        wonLostGroup(page, tr("Total played Games - Won / Lost "), QStringLiteral("lblTotal"), m_totalPie));
    layout->addWidget(chanceGroup(page, tr("Total played Games - Chance of Winning "), QStringLiteral("lblTotal"),
                                  false, m_totalBars));
    m_totalProgressionGroup = new QGroupBox(tr("Total played Games - Progression % Won "), page);
    auto* pl = new QVBoxLayout(m_totalProgressionGroup);
    m_totalChart = new ProgressionChartView(m_totalProgressionGroup);
    m_totalChart->setObjectName(QStringLiteral("chtTotalProgression"));
    pl->addWidget(m_totalChart);
    layout->addWidget(m_totalProgressionGroup, 1);
    auto* buttons = new QHBoxLayout;
    auto* log = new QPushButton(tr("&Log..."), page);
    m_totalZoom = new QPushButton(tr("Zoom..."), page);
    buttons->addWidget(log);
    buttons->addWidget(m_totalZoom);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(log, &QPushButton::clicked, this, [this] { openLog(true); });
    connect(m_totalZoom, &QPushButton::clicked, this, [this] { openZoom(stats::ProgressionScope::AllGames); });
    return page;
}

void StatisticsDialog::refreshTotal()
{
    BusyCursor busy;
    const stats::TotalPageFigures f = stats::totalPageFigures(records(), m_setup.builtIn);
    label(QStringLiteral("lblTotalWon"))->setText(QString::number(f.won));
    label(QStringLiteral("lblTotalLost"))->setText(QString::number(f.lost));
    label(QStringLiteral("lblTotalTotal"))->setText(QString::number(f.total));
    label(QStringLiteral("lblTotalWonPercent"))->setText(qs(f.wonLabel));
    label(QStringLiteral("lblTotalLostPercent"))->setText(qs(f.lostLabel));
    m_totalPie->setPercent(f.yoursTotal);
    m_totalPie->setHasValues(f.hasValues);
    label(QStringLiteral("lblTotalAverage"))->setText(qs(f.averageText));
    QLabel* yours = label(QStringLiteral("lblTotalYours"));
    yours->setText(qs(f.yoursText));
    setBold(yours, f.yoursBold);
    m_totalBars->setBars(chanceBars(f.yours, f.average), 100);
    if (m_showProgression->isChecked())
        m_totalChart->setPoints(stats::buildProgressionPoints(progression(), stats::ProgressionScope::AllGames, -1,
                                                              std::nullopt, std::nullopt, stats::kProgressionBudget));
    m_totalFresh = true;
}

// ---- List page ----

QWidget* StatisticsDialog::buildListPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("Show: "), page));
    m_filter = new QComboBox(page);
    m_filter->setObjectName(QStringLiteral("cboShow"));
    m_filter->addItems(
        {tr("All games"), tr("Won"), tr("Not Won"), tr("Over Average"), tr("Under Average"), tr("Not Played")});
    top->addWidget(m_filter);
    top->addStretch(1);
    top->addWidget(new QLabel(tr("Tot. solitaires:"), page));
    top->addWidget(named(page, QStringLiteral("lblSolitaires")));
    layout->addLayout(top);
    m_list = new StatsTable({tr("Game"), tr("Won"), tr("Lost"), tr("%Won"), tr("%Av")}, {false, true, true, true, true},
                            page);
    m_list->setObjectName(QStringLiteral("grdList"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(m_list, 1);
    auto* buttons = new QHBoxLayout;
    m_play = new QPushButton(tr("&Play this game"), page);
    auto* won = new QPushButton(tr("% Won..."), page);
    auto* average = new QPushButton(tr("% Average..."), page);
    buttons->addWidget(m_play);
    buttons->addStretch(1);
    buttons->addWidget(won);
    buttons->addWidget(average);
    layout->addLayout(buttons);
    connect(m_filter, &QComboBox::currentIndexChanged, this, &StatisticsDialog::refreshList);
    connect(m_play, &QPushButton::clicked, this, &StatisticsDialog::playListed);
    connect(m_list, &QAbstractItemView::doubleClicked, this, &StatisticsDialog::playListed);
    connect(won, &QPushButton::clicked, this, [this] { openPercentWon(false); });
    connect(average, &QPushButton::clicked, this, [this] { openPercentWon(true); });
    return page;
}

void StatisticsDialog::refreshList()
{
    BusyCursor busy;
    m_listRows = stats::listRows(records(), m_setup.gamesByName, stats::ListFilter(m_filter->currentIndex()));
    std::vector<StatsRow> rows;
    rows.reserve(m_listRows.size());
    auto count = [](std::int64_t v) { return StatsCell(v ? QString::number(v) : QString(), QVariant(qlonglong(v))); };
    auto percent = [](double v) { return StatsCell(v ? qs(stats::decimalText(v)) : QString(), QVariant(v)); };
    for (const stats::ListRow& r : m_listRows)
        rows.push_back({StatsCell(qs(r.name)), count(r.won), count(r.lost), percent(r.yours), percent(r.chance)});
    m_list->setRows(std::move(rows));
    if (m_list->columnWidth(0) < 200)
        m_list->setColumnWidth(0, 260);
    label(QStringLiteral("lblSolitaires"))->setText(QString::number(m_listRows.size()));
    m_play->setEnabled(!m_listRows.empty());
    m_listFresh = true;
}

void StatisticsDialog::playListed()
{
    const int source = m_list->sourceRow(m_list->currentRowIndex() < 0 ? 0 : m_list->currentRowIndex());
    if (source < 0 || source >= int(m_listRows.size()))
        return;
    PlayRequest r;
    r.gameId = m_listRows[std::size_t(source)].gameId;
    r.gameName = m_listRows[std::size_t(source)].name;
    if (m_setup.agreeToPlay && !m_setup.agreeToPlay(r))
        return;
    finish(r);
}

void StatisticsDialog::finish(const PlayRequest& r)
{
    m_started = r;
    accept();
}

// ---- Changes ----

void StatisticsDialog::playerChanged()
{
    m_records.reset();
    m_progression.reset();
    m_totalFresh = m_listFresh = false;
    refreshGame();
    pageShown(m_pages->currentIndex());
}

void StatisticsDialog::pageShown(int index)
{
    if (index == 1 && !m_totalFresh)
        refreshTotal();
    if (index == 2 && !m_listFresh)
        refreshList();
}

void StatisticsDialog::progressionToggled(bool on)
{
    m_gameProgressionGroup->setVisible(on);
    m_totalProgressionGroup->setVisible(on);
    m_gameZoom->setEnabled(on);
    m_totalZoom->setEnabled(on);
    if (on) {
        // The charts were not drawn while hidden.
        refreshGame();
        if (m_totalFresh)
            refreshTotal();
    }
    if (isVisible()) {
        const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            const QRect room = screen->availableGeometry();
            QRect r = frameGeometry();
            r.moveCenter(room.center());
            if (room.height() < 500)
                r.translate(0, -5);
            move(r.topLeft());
        }
    }
}

// ---- The buttons' dialogs ----

void StatisticsDialog::openZoom(stats::ProgressionScope scope)
{
    ProgressionZoomDialog dialog(progression(), scope, selectedGameId(), this);
    dialog.exec();
}

void StatisticsDialog::openSequences()
{
    const int id = selectedGameId();
    stats::GameRecord record;
    try {
        record = stats::readGameStatistics(m_ctx, id, selectedPlayer()).record;
    } catch (const storage::FileError& e) {
        informationBox(this, boxText(e.what()));
    }
    SequencesDialog dialog(record, stats::streaksOf(progression()), this);
    dialog.exec();
}

void StatisticsDialog::openSession()
{
    stats::GameStatistics s;
    try {
        s = stats::readGameStatistics(m_ctx, selectedGameId(), selectedPlayer());
    } catch (const storage::FileError& e) {
        informationBox(this, boxText(e.what()));
    }
    SessionDialog dialog(s.sessionWon, s.sessionLost, this);
    dialog.exec();
}

void StatisticsDialog::openLog(bool all)
{
    std::vector<std::string> names;
    for (const auto& g : m_setup.gamesByName)
        names.push_back(g.name);
    LogStatisticsDialog dialog(m_ctx, m_setup.players, names, all ? std::string() : selectedPlayer(),
                               all ? std::string() : m_games->currentText().toStdString(), this);
    dialog.agreeToPlay = m_setup.agreeToPlay;
    dialog.clearValues = m_setup.clearValues;
    dialog.gameIdByName = [this](const std::string& name) {
        for (const auto& g : m_setup.gamesByName)
            if (g.name == name)
                return g.id;
        return -1;
    };
    dialog.exec();
    if (dialog.started())
        finish(*dialog.started());
}

void StatisticsDialog::openPlayers()
{
    PlayersStatisticsDialog dialog(m_ctx, m_setup.gamesByName, selectedGameId(), m_setup.players, this);
    dialog.exec();
}

void StatisticsDialog::openPercentWon(bool average)
{
    BusyCursor busy;
    stats::ThreeWaySummary s;
    if (average) {
        s = stats::averageWonSummary(records(), m_setup.builtIn);
    } else {
        // "% Won" counts for the player playing, not the one chosen in the dialog.
        const std::string current = m_ctx.currentPlayer();
        const auto mine = current == selectedPlayer() ? records() : stats::playerRecords(m_ctx, current);
        const stats::SessionCounters session =
            m_ctx.settings ? stats::readSessionCounters(*m_ctx.settings) : stats::SessionCounters{};
        s = stats::percentWonSummary(mine, m_setup.builtIn, m_ctx.currentGameId(), session);
    }
    SummaryDialog dialog(s, average, this);
    dialog.exec();
}

} // namespace cw::ui
