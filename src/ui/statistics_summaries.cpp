// The small statistics dialogs: labels named for their figures, a pie or a bar chart, and "Close".
#include "ui/statistics_summaries.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/dialog_base.h"
#include "ui/pie_chart.h"
#include "ui/stats_charts.h"

namespace cw::ui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// A value label found by its name in the tests.
QLabel* named(QWidget* parent, const char* name, const QString& text = {})
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

// Caption, value and percentage label in a row of a grid.
void addRow(QGridLayout* grid, int row, const QString& caption, QLabel* value, QLabel* percent = nullptr)
{
    grid->addWidget(new QLabel(caption), row, 0);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(value, row, 1);
    if (percent)
        grid->addWidget(percent, row, 2);
}

QDialogButtonBox* closeButton(QDialog* dialog, const QString& text)
{
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(text, QDialogButtonBox::AcceptRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    return buttons;
}

QString count(std::int64_t v) { return QString::number(v); }

} // namespace

// ---- Sequences ----

SequencesDialog::SequencesDialog(const stats::GameRecord& game, const stats::Streaks& all, QWidget* parent)
    : QDialog(parent)
{
    applyDialogFont(this);
    setWindowTitle(tr("Sequences statistics"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(tr("Sequences "), this);
    auto* grid = new QGridLayout(group);
    const double won = stats::wonPercentage(game.longestWinStreak, game.longestLossStreak);
    const double lost = stats::lostPercentage(game.longestWinStreak, game.longestLossStreak);
    QString wonLabel, lostLabel;
    if (won != 0 || lost != 0) {
        wonLabel = qs(stats::percentageText(won));
        lostLabel = qs(stats::percentageText(lost));
    }
    addRow(grid, 0, tr("Won:"), named(group, "lblLongestWon", count(game.longestWinStreak)),
           named(group, "lblLongestWonPercent", wonLabel));
    addRow(grid, 1, tr("Lost:"), named(group, "lblLongestLost", count(game.longestLossStreak)),
           named(group, "lblLongestLostPercent", lostLabel));
    grid->addWidget(named(group, "lblCurrent", qs(stats::currentStreakText(game.winStreak, game.lossStreak))), 2, 0, 1,
                    3);
    m_chart = new BarChartView(true, group);
    m_chart->setObjectName(QStringLiteral("chtSequences"));
    m_chart->setBars({{tr("Losing"), double(game.longestLossStreak), chart_colours::kLost},
                      {tr("Winning"), double(game.longestWinStreak), chart_colours::kWon}});
    grid->addWidget(m_chart, 0, 3, 4, 1);
    grid->setColumnStretch(3, 1);
    layout->addWidget(group);

    // Beyond the one game: the streaks over every game the player recorded, in order.
    auto* overall = new QGroupBox(tr("All games "), this);
    auto* og = new QGridLayout(overall);
    addRow(og, 0, tr("Longest winning streak:"), named(overall, "lblAllLongestWon", count(all.longestWin)));
    addRow(og, 1, tr("Longest losing streak:"), named(overall, "lblAllLongestLost", count(all.longestLoss)));
    og->addWidget(named(overall, "lblAllCurrent", qs(stats::currentStreakText(all.currentWin, all.currentLoss))), 2, 0,
                  1, 2);
    og->setColumnStretch(2, 1);
    layout->addWidget(overall);
    layout->addWidget(closeButton(this, tr("Close")));
    resize(460, 300);
}

// ---- Session ----

SessionDialog::SessionDialog(int sessionWon, int sessionLost, QWidget* parent) : QDialog(parent)
{
    applyDialogFont(this);
    setWindowTitle(tr("Session statistics"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(tr("Current session "), this);
    auto* grid = new QGridLayout(group);
    const double won = stats::wonPercentage(sessionWon, sessionLost);
    const double lost = stats::lostPercentage(sessionWon, sessionLost);
    QString wonLabel, lostLabel;
    if (won != 0 || lost != 0) {
        wonLabel = qs(stats::percentageText(won));
        lostLabel = qs(stats::percentageText(lost));
    }
    addRow(grid, 0, tr("Won:"), named(group, "lblWon", count(sessionWon)), named(group, "lblWonPercent", wonLabel));
    addRow(grid, 1, tr("Lost:"), named(group, "lblLost", count(sessionLost)),
           named(group, "lblLostPercent", lostLabel));
    addRow(grid, 2, tr("Total:"), named(group, "lblTotal", count(std::int64_t(sessionWon) + sessionLost)));
    m_pie = new C_TPieChart(group);
    m_pie->setPercent(won);
    m_pie->setHasValues(won != 0 || lost != 0);
    grid->addWidget(m_pie, 0, 3, 4, 1);
    grid->setColumnStretch(3, 1);
    layout->addWidget(group);
    layout->addWidget(closeButton(this, tr("Close")));
}

// ---- % Won and % Average Won ----

SummaryDialog::SummaryDialog(const stats::ThreeWaySummary& s, bool averageWon, QWidget* parent) : QDialog(parent)
{
    applyDialogFont(this);
    setWindowTitle(averageWon ? tr("Statistics % Average Won") : tr("Statistics % Won"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(
        averageWon ? tr("Total Solitaires - Chance of Winning ") : tr("Total Solitaires - Won / Lost "), this);
    auto* grid = new QGridLayout(group);
    const QString first = averageWon ? tr("Over the Average:") : tr("Games Won:");
    const QString second = averageWon ? tr("Under the Average:") : tr("Games not Won:");
    const QString third = averageWon ? tr("Not Played:") : tr("Not Played");
    addRow(grid, 0, first, named(group, "lblFirst", count(s.first)),
           named(group, "lblFirstPercent", qs(stats::summaryLabel(s.firstPercent))));
    addRow(grid, 1, second, named(group, "lblSecond", count(s.second)),
           named(group, "lblSecondPercent", qs(stats::summaryLabel(s.secondPercent))));
    addRow(grid, 2, third, named(group, "lblNotPlayed", count(s.notPlayed)),
           named(group, "lblNotPlayedPercent", qs(stats::summaryLabel(s.notPlayedPercent))));
    addRow(grid, 3, tr("Total:"), named(group, "lblTotal", count(s.total)));
    m_chart = new BarChartView(false, group);
    m_chart->setObjectName(QStringLiteral("chtSummary"));
    m_chart->setBars({{first, double(s.first), chart_colours::kWon},
                      {second, double(s.second), chart_colours::kLost},
                      {third, double(s.notPlayed), chart_colours::kNotPlayed}});
    grid->addWidget(m_chart, 0, 3, 5, 1);
    grid->setColumnStretch(3, 1);
    layout->addWidget(group);
    layout->addWidget(closeButton(this, tr("Close")));
    resize(520, 280);
}

// ---- Players' statistics ----

PlayersStatisticsDialog::PlayersStatisticsDialog(const stats::StatsContext& ctx, std::vector<stats::CatalogGame> games,
                                                 int gameId, std::vector<std::string> players, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_gameList(std::move(games)), m_players(std::move(players))
{
    applyDialogFont(this);
    setWindowTitle(tr("Players' statistics"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* gameLabel = new QLabel(tr("&Game:"), this);
    m_games = new QComboBox(this);
    m_games->setObjectName(QStringLiteral("cboGames"));
    gameLabel->setBuddy(m_games);
    for (const auto& g : m_gameList)
        m_games->addItem(qs(g.name), g.id);
    top->addWidget(gameLabel);
    top->addWidget(m_games, 1);
    layout->addLayout(top);

    auto* choice = new QGroupBox(tr("Series values "), this);
    auto* choiceLayout = new QHBoxLayout(choice);
    auto* group = new QButtonGroup(this);
    const QString captions[] = {tr("% Games &won"), tr("&Num. Games Won"), tr("&Average score")};
    for (int i = 0; i < 3; ++i) {
        m_measures[i] = new QRadioButton(captions[i], choice);
        group->addButton(m_measures[i], i);
        choiceLayout->addWidget(m_measures[i]);
    }
    m_measures[0]->setChecked(true);
    layout->addWidget(choice);
    m_chart = new BarChartView(false, this);
    m_chart->setObjectName(QStringLiteral("chtPlayers"));
    layout->addWidget(m_chart, 1);
    layout->addWidget(closeButton(this, tr("OK")));

    const int index = m_games->findData(gameId);
    m_games->setCurrentIndex(index < 0 ? 0 : index);
    connect(m_games, &QComboBox::currentIndexChanged, this, &PlayersStatisticsDialog::refresh);
    connect(group, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            refresh();
    });
    refresh();
    resize(520, 380);
}

QRadioButton* PlayersStatisticsDialog::measure(stats::PlayersMeasure m) const { return m_measures[int(m)]; }

void PlayersStatisticsDialog::refresh()
{
    const int id = m_games->currentData().toInt();
    stats::PlayersMeasure m = stats::PlayersMeasure::PercentWon;
    if (m_measures[1]->isChecked())
        m = stats::PlayersMeasure::GamesWon;
    if (m_measures[2]->isChecked())
        m = stats::PlayersMeasure::AverageScore;
    BusyCursor busy;
    m_values = stats::playersValues(m_ctx, id, m_players, m);
    // The colours of ranks 1 to 5.
    static const QColor colours[stats::kPlayersBars] = {
        {204, 255, 204}, {255, 219, 157}, {222, 255, 255}, {255, 204, 255}, {255, 255, 153}};
    std::vector<ChartBar> bars;
    const auto best = stats::playersBars(m_values);
    for (std::size_t i = 0; i < best.size(); ++i)
        bars.push_back({qs(best[i].player).left(10), double(best[i].value), colours[i]});
    m_chart->setBars(bars, m == stats::PlayersMeasure::PercentWon ? 100 : 0);
}

} // namespace cw::ui
