// "Log statistics": player, game and browse boxes over the sortable list of logged games.
#include "ui/log_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "stats/log_view.h"
#include "storage/safe_file.h"
#include "ui/dialog_base.h"
#include "ui/message_boxes.h"
#include "ui/stats_table.h"

namespace cw::ui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

const QString kAllPlayers = QStringLiteral("[All players]");
const QString kAllGames = QStringLiteral("[All games]");

// The end date in the locale's short date format; empty when it is no date.
QString shortDate(const std::string& yyyymmdd)
{
    const QDate d = QDate::fromString(qs(yyyymmdd), QStringLiteral("yyyyMMdd"));
    return d.isValid() ? QLocale().toString(d, QLocale::ShortFormat) : QString();
}

} // namespace

LogStatisticsDialog::LogStatisticsDialog(const stats::StatsContext& ctx, const std::vector<std::string>& players,
                                         const std::vector<std::string>& gameNames, const std::string& player,
                                         const std::string& game, QWidget* parent)
    : QDialog(parent), m_ctx(ctx)
{
    applyDialogFont(this);
    setWindowTitle(tr("Log statistics"));
    auto* layout = new QVBoxLayout(this);
    auto* boxes = new QHBoxLayout;
    auto addBox = [&](const QString& caption, QComboBox*& box, const char* name) {
        auto* label = new QLabel(caption, this);
        box = new QComboBox(this);
        box->setObjectName(QLatin1String(name));
        label->setBuddy(box);
        boxes->addWidget(label);
        boxes->addWidget(box, 1);
        return label;
    };
    addBox(tr("&Player:"), m_players, "cboPlayers");
    addBox(tr("&Game:"), m_games, "cboGames");
    m_browseLabel = addBox(tr("&Browse:"), m_browse, "cboBrowse");
    m_players->addItem(kAllPlayers);
    for (const auto& p : players)
        m_players->addItem(qs(p));
    m_games->addItem(kAllGames);
    for (const auto& g : gameNames)
        m_games->addItem(qs(g));
    m_games->setMaxVisibleItems(20);
    m_browse->addItems({tr("Last records (fast)"), tr("All records")});
    if (!player.empty())
        m_players->setCurrentIndex(std::max(0, m_players->findText(qs(player), Qt::MatchExactly)));
    if (!game.empty())
        m_games->setCurrentIndex(std::max(0, m_games->findText(qs(game), Qt::MatchExactly)));
    layout->addLayout(boxes);

    m_table = new StatsTable(
        {tr("Date"), tr("Start"), tr("Time"), tr("Game"), tr("W/L"), tr("Score"), tr("Player"), tr("Game number")},
        {false, false, true, false, false, true, false, false}, this);
    m_table->setObjectName(QStringLiteral("grdLog"));
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(m_table, 1);
    m_table->popupMenu()->addSeparator();
    m_table->popupMenu()->addAction(tr("Clear values..."), this, [this] {
        if (clearValues)
            clearValues();
        reload();
    });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(tr("Records showed:"), this));
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblRecords"));
    bottom->addWidget(m_count);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    m_progress->setMaximumWidth(160);
    bottom->addWidget(m_progress);
    bottom->addStretch(1);
    m_play = new QPushButton(tr("Play the &selected game"), this);
    m_play->setObjectName(QStringLiteral("btnPlay"));
    auto* close = new QPushButton(tr("Close"), this);
    bottom->addWidget(m_play);
    bottom->addWidget(close);
    layout->addLayout(bottom);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_play, &QPushButton::clicked, this, &LogStatisticsDialog::playSelected);
    connect(m_table, &QAbstractItemView::doubleClicked, this, &LogStatisticsDialog::playSelected);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &LogStatisticsDialog::updatePlayButton);
    for (QComboBox* box : {m_players, m_games, m_browse})
        connect(box, &QComboBox::currentIndexChanged, this, &LogStatisticsDialog::reload);
    resize(860, 520);
    reload();
}

QString LogStatisticsDialog::recordsShown() const { return m_count->text(); }

void LogStatisticsDialog::reload()
{
    BusyCursor busy;
    stats::LogQuery q;
    q.allPlayers = m_players->currentIndex() <= 0;
    q.player = q.allPlayers ? std::string() : m_players->currentText().toStdString();
    q.allGames = m_games->currentIndex() <= 0;
    q.game = q.allGames ? std::string() : m_games->currentText().toStdString();
    q.fast = m_browse->currentIndex() == 0;
    m_progress->setValue(0);
    m_progress->show();
    stats::LogListing listing;
    try {
        listing = stats::browseLog(m_ctx, q, [this](double f) {
            m_progress->setValue(int(f * 100));
            m_progress->repaint();
        });
    } catch (const storage::FileError& e) {
        informationBox(this, boxText(e.what()));
    }
    m_browseLabel->setVisible(listing.browseShown);
    m_browse->setVisible(listing.browseShown);
    std::vector<StatsRow> rows;
    rows.reserve(listing.rows.size());
    for (const stats::LogRow& row : listing.rows) {
        const stats::LogRecord& r = row.record;
        const QString score = qs(r.score);
        bool numeric = false;
        const qlonglong scoreValue = score.toLongLong(&numeric);
        rows.push_back({StatsCell(shortDate(r.date), qs(r.date + r.time)), StatsCell(qs(stats::logStartText(r))),
                        StatsCell(qs(stats::logPlayingTime(row, m_ctx.timeSeparator)),
                                  row.timeValid ? QVariant(qlonglong(r.seconds)) : QVariant(qlonglong(-1))),
                        StatsCell(qs(r.gameName)), StatsCell(r.won ? tr("Won") : tr("Lost")),
                        StatsCell(score, numeric ? QVariant(scoreValue) : QVariant()), StatsCell(qs(r.player)),
                        StatsCell(qs(r.gameNumber), QVariant(qs(r.gameNumber).rightJustified(15, QLatin1Char('0'))))});
    }
    const int shown = int(rows.size());
    // With nothing to show the list has one empty row.
    if (rows.empty())
        rows.push_back(StatsRow(8));
    m_table->setRows(std::move(rows));
    if (shown > 0)
        m_table->resizeColumnsToContents();
    m_progress->hide();
    m_count->setText(QString::number(shown));
    updatePlayButton();
}

void LogStatisticsDialog::updatePlayButton()
{
    const int row = m_table->currentRowIndex();
    m_play->setEnabled(row >= 0 && !m_table->cellText(row, 3).trimmed().isEmpty());
}

void LogStatisticsDialog::playSelected()
{
    const int row = m_table->currentRowIndex();
    if (row < 0 || m_table->cellText(row, 3).trimmed().isEmpty())
        return;
    PlayRequest r;
    r.gameName = m_table->cellText(row, 3).toStdString();
    r.gameId = gameIdByName ? gameIdByName(r.gameName) : -1;
    r.gameNumber = m_table->cellText(row, 7).trimmed().toStdString();
    if (r.gameId < 0 || r.gameNumber.empty() || r.gameNumber.find_first_not_of("0123456789") != std::string::npos) {
        // A game no longer in the collection, or a damaged number: nothing to deal.
        QApplication::beep();
        return;
    }
    if (agreeToPlay && !agreeToPlay(r))
        return;
    m_started = r;
    accept();
}

} // namespace cw::ui
