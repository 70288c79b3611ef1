// "Hi-Scores": game list, the 20-row grid, the congratulation caption and the pop-up menu.
#include "ui/hi_scores_dialog.h"

#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "storage/safe_file.h"
#include "storage/settings_store.h"
#include "ui/clear_stats_dialog.h"
#include "ui/dialog_base.h"
#include "ui/game_info_dialog.h"
#include "ui/message_boxes.h"

namespace cw::ui {

namespace {

constexpr const char* kTurnOffText =
    "The enter Hi-Scores dialog box will not open again.\rIf you want, you can change this option in the "
    "\"Customize\" dialog box.";

QString shortDate(const std::string& yyyymmdd)
{
    if (yyyymmdd.empty()) return {};
    const QDate d = QDate::fromString(QString::fromStdString(yyyymmdd), QStringLiteral("yyyyMMdd"));
    return d.isValid() ? QLocale().toString(d, QLocale::ShortFormat) : QString::fromStdString(yyyymmdd);
}

} // namespace

HiScoresDialog::HiScoresDialog(const stats::StatsContext& ctx, std::vector<stats::CatalogGame> games,
                               const stats::GameCatalog& catalog, const HiScoresRequest& request,
                               storage::IniFile* settingsFile, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_gameList(std::move(games)), m_catalog(catalog), m_request(request),
      m_settingsFile(settingsFile), m_caption(request.caption)
{
    applyDialogFont(this);
    setWindowTitle(tr("Hi-Scores"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("picture"));
    m_picture->setText(request.newScore ? QStringLiteral("\u2605") : QStringLiteral("\u2606"));
    QFont pf = m_picture->font();
    pf.setPointSize(28);
    m_picture->setFont(pf);
    m_picture->setStyleSheet(request.newScore ? QStringLiteral("color: #d4a017") : QStringLiteral("color: #808080"));
    top->addWidget(m_picture);
    auto* label = new QLabel(tr("&Game:"), this);
    m_games = new QComboBox(this);
    label->setBuddy(m_games);
    for (const auto& g : m_gameList) m_games->addItem(QString::fromStdString(g.name).trimmed(), g.id);
    top->addWidget(label);
    top->addWidget(m_games, 1);
    layout->addLayout(top);

    m_grid = new QTableWidget(stats::kHiScoreRanks, 7, this);
    m_grid->setHorizontalHeaderLabels({tr("N."), tr("Player"), tr("Score"), tr("Time"), tr("W/L"), tr("Date"),
                                       tr("Game number")});
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 4);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(m_grid, 1);

    m_menu = new QMenu(this);
    if (request.newScore)
        m_menu->addAction(tr("&Don't show Hi-Scores dialog box again..."), this,
                          &HiScoresDialog::turnOffNewScoreDialog);
    m_menu->addAction(tr("Clear values..."), this, &HiScoresDialog::openClearValues);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_menu->popup(m_grid->viewport()->mapToGlobal(pos)); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    auto* help = buttons->addButton(tr("&?"), QDialogButtonBox::HelpRole);
    help->setEnabled(false);  // the help file is not part of this build
    help->hide();
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);

    clearValuesHandler = [this] {
        ClearValuesDialog dialog(m_ctx, m_gameList, players, this);
        dialog.exec();
    };

    int want = request.gameId >= 0 ? request.gameId : ctx.currentGameId();
    int index = m_games->findData(want);
    connect(m_games, &QComboBox::currentIndexChanged, this, &HiScoresDialog::showGame);
    if (index < 0) index = 0;
    if (m_games->currentIndex() == index)
        showGame(index);
    else
        m_games->setCurrentIndex(index);
    const int row = (request.selectRow >= 0 && request.selectRow < stats::kHiScoreRanks) ? request.selectRow : 0;
    m_grid->selectRow(row);
    m_grid->resizeColumnsToContents();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    int width = 0;
    for (int c = 0; c < m_grid->columnCount(); ++c) width += m_grid->columnWidth(c);
    resize(std::max(560, width + 60), 520);
}

void HiScoresDialog::showGame(int index)
{
    if (index < 0 || index >= static_cast<int>(m_gameList.size())) return;
    const auto& g = m_gameList[index];
    std::vector<std::string> entries;
    try {
        entries = stats::readHiScores(m_ctx, stats::HiScoreTable::Games, g.id, m_request.scoringCode,
                                      stats::gameDefaultScores(m_catalog, g.id));
    } catch (const storage::FileError& e) {
        informationBox(this, boxText(e.what()));
    }
    const auto rows = stats::hiScoreRows(entries, m_ctx.timeSeparator);
    for (int r = 0; r < stats::kHiScoreRanks; ++r) {
        stats::HiScoreRow row;
        if (r < static_cast<int>(rows.size())) row = rows[r];
        if (row.rank.empty()) row.rank = (r < 9 ? "0" : "") + std::to_string(r + 1);
        const QString cells[] = {QString::fromStdString(row.rank), QString::fromStdString(row.player),
                                 QString::fromStdString(row.score), QString::fromStdString(row.time),
                                 QString::fromStdString(row.result), shortDate(row.date),
                                 QString::fromStdString(row.gameNumber).trimmed()};
        for (int c = 0; c < 7; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == 2 || c == 3) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grid->setItem(r, c, item);
        }
    }
    if (!m_caption.empty()) {
        setWindowTitle(QString::fromStdString(m_caption));
        m_caption.clear();
    } else {
        setWindowTitle(tr("Hi-Scores [%1]").arg(QString::fromStdString(g.name).trimmed()));
    }
}

void HiScoresDialog::turnOffNewScoreDialog()
{
    if (!confirmBox(this, boxText(kTurnOffText))) return;
    if (m_ctx.settings) m_ctx.settings->set(storage::col::ConfirmEnterHiScores, "N");
    if (m_settingsFile) {
        try {
            m_settingsFile->writeString("Preference", "ConfirmEnterHiScores", "N");
        } catch (const storage::FileError& e) {
            informationBox(this, boxText(e.what()));
        }
    }
}

void HiScoresDialog::openClearValues()
{
    if (clearValuesHandler) clearValuesHandler();
    const int row = m_grid->currentRow();
    showGame(m_games->currentIndex());
    m_grid->selectRow(std::max(0, row));
}

void showHiScores(QWidget* parent, const stats::StatsContext& ctx, const std::vector<stats::CatalogGame>& games,
                  const stats::GameCatalog& catalog, const HiScoresRequest& request, storage::IniFile* settingsFile)
{
    if (refuseWhenStatisticsDisabled(parent, ctx)) return;
    HiScoresDialog dialog(ctx, games, catalog, request, settingsFile, parent);
    dialog.exec();
}

} // namespace cw::ui
