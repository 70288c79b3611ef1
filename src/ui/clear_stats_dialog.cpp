// The clearing dialogs: each asks before anything is deleted and says what was cleared.
#include "ui/clear_stats_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "stats/clearing.h"
#include "stats/dialog_values.h"
#include "stats/game_log.h"
#include "stats/game_stats.h"
#include "stats/hi_scores.h"
#include "stats/series.h"
#include "stats/stat_files.h"
#include "storage/safe_file.h"
#include "storage/settings_store.h"
#include "ui/dialog_base.h"
#include "ui/game_info_dialog.h"
#include "ui/message_boxes.h"

namespace cw::ui {

namespace {

QString allPlayersEntry() { return QStringLiteral("[All players]"); }
QString allGamesEntry() { return QStringLiteral("[All games]"); }

} // namespace

// ---- Clear statistics / Clear Hi-Scores ----

ClearStatsDialog::ClearStatsDialog(const stats::StatsContext& ctx, const std::vector<stats::CatalogGame>& games,
                                   const std::vector<std::string>& players, bool hiScores,
                                   std::string scoringCode, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_hiScores(hiScores), m_scoringCode(std::move(scoringCode))
{
    applyDialogFont(this);
    setWindowTitle(hiScores ? tr("Clear Hi-Scores") : tr("Clear statistics"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(hiScores ? tr("Clear") + tr(" Hi-Scores") : tr("Clear statistics"), this);
    auto* form = new QFormLayout(group);
    m_players = new QComboBox(group);
    m_players->setObjectName(QStringLiteral("players"));
    m_players->addItem(allPlayersEntry(), QString());
    for (const auto& p : players) m_players->addItem(QString::fromStdString(p), QString::fromStdString(p));
    m_games = new QComboBox(group);
    m_games->setObjectName(QStringLiteral("games"));
    m_games->addItem(allGamesEntry(), stats::kAllGames);
    for (const auto& g : games) m_games->addItem(QString::fromStdString(g.name).trimmed(), g.id);
    form->addRow(tr("&Player:"), m_players);
    form->addRow(tr("&Game:"), m_games);
    layout->addWidget(group);
    auto* note = new QLabel(tr("Note: this clears the selected") +
                                (hiScores ? tr(" Hi-Scores.") : tr(" statistics and the matching Log records.")),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (confirmAndClear()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

bool ClearStatsDialog::confirmAndClear()
{
    const std::string playerEntry = m_players->currentText().toStdString();
    const std::string gameEntry = m_games->currentText().toStdString();
    const QString question = boxText(stats::clearStatisticsQuestion(playerEntry, gameEntry, m_hiScores));
    if (warningBox(this, question) != engine::WarningAnswer::Yes) return false;
    const std::string player = m_players->currentData().toString().toStdString();
    const int gameId = m_games->currentData().toInt();
    try {
        BusyCursor busy;
        if (m_hiScores)
            stats::clearHiScores(m_ctx, stats::HiScoreTable::Games, gameId, player, m_scoringCode);
        else
            stats::clearStatistics(m_ctx, gameId, player);
        if (m_ctx.settings && (gameId == stats::kAllGames || player.empty() || gameId == m_ctx.currentGameId()))
            stats::resetSessionCounters(*m_ctx.settings);
    } catch (const storage::FileError& e) {
        informationBox(this, boxText(e.what()));
        return false;
    }
    informationBox(this, m_hiScores ? tr("Hi-Scores have been cleared.") : tr("Statistics have been cleared."));
    return true;
}

// ---- Clear Log statistics ----

ClearLogDialog::ClearLogDialog(const stats::StatsContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx)
{
    applyDialogFont(this);
    setWindowTitle(tr("Clear Log statistics"));
    try {
        m_count = stats::countLogRecords(ctx);
    } catch (const storage::FileError& e) {
        informationBox(this, boxText(e.what()));
    }
    auto* layout = new QVBoxLayout(this);
    auto* count = new QLabel(tr("The Log contains") + QLatin1Char(' ') + QString::number(m_count) + tr(" record(s)."),
                             this);
    count->setObjectName(QStringLiteral("count"));
    layout->addWidget(count);
    auto* form = new QFormLayout;
    m_keep = new QSpinBox(this);
    m_keep->setRange(0, 30000);
    m_keep->setValue(static_cast<int>(std::min<std::int64_t>(stats::initialRecordsToKeep(m_count), 30000)));
    form->addRow(tr("&Records to keep in Log:"), m_keep);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    auto enable = [this] { m_ok->setEnabled(stats::canTrimLog(m_keep->value(), m_count)); };
    connect(m_keep, &QSpinBox::valueChanged, this, enable);
    enable();
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (trim()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

bool ClearLogDialog::trim()
{
    if (!stats::canTrimLog(m_keep->value(), m_count)) return false;
    try {
        BusyCursor busy;
        stats::trimGameLog(m_ctx, m_keep->value(), m_ctx.currentPlayer());
    } catch (const storage::FileError& e) {
        informationBox(this, boxText(e.what()));
        return false;
    }
    informationBox(this, QString::fromLatin1(stats::kLogClearedMessage));
    return true;
}

void ClearLogDialog::done(int result)
{
    // Rebuilds the current player's progression file from what is left of the log.
    for (const auto& message : stats::ensureStatisticsFiles(m_ctx, m_ctx.currentPlayer()))
        informationBox(this, boxText(message));
    QDialog::done(result);
}

// ---- Clear values ----

ClearValuesDialog::ClearValuesDialog(const stats::StatsContext& ctx, const std::vector<stats::CatalogGame>& games,
                                     const std::vector<std::string>& players, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_games(games), m_playerNames(players)
{
    applyDialogFont(this);
    setWindowTitle(tr("Clear values"));
    auto* layout = new QVBoxLayout(this);
    m_all = new QRadioButton(tr("&All values (Statistics, Hi-Scores, Log, Series)"), this);
    m_select = new QRadioButton(tr("&Select values"), this);
    m_kinds = new QListWidget(this);
    m_kinds->addItems(
        {tr("Statistics values only"), tr("Hi-Scores values only"), tr("Log values only"), tr("Series values only")});
    m_kinds->setCurrentRow(0);
    m_kinds->setMaximumHeight(m_kinds->sizeHintForRow(0) * 5 + 6);
    m_description = new QLabel(this);
    m_description->setWordWrap(true);
    m_description->setMinimumHeight(m_description->fontMetrics().height() * 3);
    layout->addWidget(m_all);
    layout->addWidget(m_select);
    layout->addWidget(m_kinds);
    layout->addWidget(m_description);
    auto describe = [this] {
        m_kinds->setEnabled(m_select->isChecked());
        if (m_all->isChecked()) {
            m_description->setText(tr("Clears the Statistics, the Hi-Scores, the Log, the Series Hi-Scores and "
                                      "the Overall Score for all players and all games."));
            return;
        }
        switch (m_kinds->currentRow()) {
        case 0: m_description->setText(tr("Clears the statistics of a player and a game, or of all.")); break;
        case 1: m_description->setText(tr("Clears the Hi-Scores of a player and a game, or of all.")); break;
        case 2: m_description->setText(tr("Keeps only the newest records of the Log.")); break;
        default: m_description->setText(tr("Clears the Series Hi-Scores of all players.")); break;
        }
    };
    connect(m_all, &QRadioButton::toggled, this, describe);
    connect(m_kinds, &QListWidget::currentRowChanged, this, describe);
    m_all->setChecked(true);
    describe();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ClearValuesDialog::run);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(400);
}

void ClearValuesDialog::run()
{
    if (m_all->isChecked()) {
        if (warningBox(this, tr("Are you sure you want to clear the Statistics, the Hi-Scores, Log, Series and the "
                                "Overall Score for all players and all games?")) != engine::WarningAnswer::Yes)
            return;
        if (warningBox(this, boxText("Please confirm to delete ALL your values \r(Statistics, Hi-Scores, Log, "
                                     "Overall Score, Series) \rfor all players and all games.")) !=
            engine::WarningAnswer::Yes)
            return;
        try {
            BusyCursor busy;
            stats::clearAllValues(m_ctx, m_playerNames);
            if (m_ctx.settings) stats::resetSessionCounters(*m_ctx.settings);
            stats::clearSeriesScores(m_ctx);
        } catch (const storage::FileError& e) {
            informationBox(this, boxText(e.what()));
            return;
        }
        informationBox(this, tr("Statistics, Hi-Scores, Log, Overall Score and Series have been cleared."));
        accept();
        return;
    }
    int result = QDialog::Rejected;
    switch (m_kinds->currentRow()) {
    case 0:
    case 1: {
        const std::string code = m_ctx.settings ? m_ctx.settings->get(storage::col::ScoringCode) : std::string();
        ClearStatsDialog dialog(m_ctx, m_games, m_playerNames, m_kinds->currentRow() == 1,
                                code.size() == 2 ? code : "01", this);
        result = dialog.exec();
        break;
    }
    case 2: {
        ClearLogDialog dialog(m_ctx, this);
        result = dialog.exec();
        break;
    }
    default: {
        if (warningBox(this, QString::fromLatin1(stats::kClearSeriesQuestion)) != engine::WarningAnswer::Yes)
            return;
        try {
            stats::clearSeriesScores(m_ctx);
        } catch (const storage::FileError& e) {
            informationBox(this, boxText(e.what()));
            return;
        }
        informationBox(this, tr("The Series statistics have been cleared."));
        result = QDialog::Accepted;
        break;
    }
    }
    if (result == QDialog::Accepted) accept();
}

void showClearValues(QWidget* parent, const stats::StatsContext& ctx, const std::vector<stats::CatalogGame>& games,
                     const std::vector<std::string>& players)
{
    if (refuseWhenStatisticsDisabled(parent, ctx)) return;
    ClearValuesDialog dialog(ctx, games, players, parent);
    dialog.exec();
}

} // namespace cw::ui
