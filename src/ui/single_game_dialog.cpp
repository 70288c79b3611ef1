// The single-game values dialog: "Game" and "Tot. Won" per game of a player, and the code to publish one.
#include "ui/single_game_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include "storage/safe_file.h"
#include "ui/dialog_base.h"
#include "ui/game_info_dialog.h"
#include "ui/message_boxes.h"

namespace cw::ui {

SingleGameDialog::SingleGameDialog(const stats::StatsContext& ctx, const stats::GameCatalog& games,
                                   const std::vector<std::string>& players, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_games(games)
{
    applyDialogFont(this);
    setWindowTitle(tr("Publish your score to: \"Single Game\" Champions"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_players = new QComboBox(this);
    for (const auto& p : players) m_players->addItem(QString::fromStdString(p));
    const int current = m_players->findText(QString::fromStdString(ctx.currentPlayer()));
    m_players->setCurrentIndex(current >= 0 ? current : 0);
    form->addRow(tr("&Player:"), m_players);
    layout->addLayout(form);
    m_grid = new QTableWidget(0, 2, this);
    m_grid->setHorizontalHeaderLabels({tr("Game"), tr("Tot. Won")});
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 4);
    m_grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    layout->addWidget(m_grid, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(m_players, &QComboBox::currentIndexChanged, this, &SingleGameDialog::fillGames);
    fillGames();
    resize(460, 420);
}

void SingleGameDialog::fillGames()
{
    const std::string player = m_players->currentText().toStdString();
    std::vector<std::pair<int, std::int64_t>> counts;
    try {
        counts = stats::singleGameWonCounts(m_ctx, player);
    } catch (const storage::FileError& e) {
        informationBox(this, boxText(e.what()));
    }
    m_rowGames.clear();
    m_grid->setRowCount(static_cast<int>(counts.size()));
    for (int r = 0; r < static_cast<int>(counts.size()); ++r) {
        const auto [id, won] = counts[r];
        m_rowGames.push_back(id);
        const auto game = m_games.game(id);
        m_grid->setItem(r, 0, new QTableWidgetItem(game ? QString::fromStdString(game->name).trimmed()
                                                        : QStringLiteral("%1").arg(id, 4, 10, QLatin1Char('0'))));
        auto* item = new QTableWidgetItem(QString::number(won));
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_grid->setItem(r, 1, item);
    }
    if (!counts.empty())
        m_grid->selectRow(0);
}

void showSingleGameValues(QWidget* parent, const stats::StatsContext& ctx, const stats::GameCatalog& games,
                          const std::vector<std::string>& players)
{
    if (refuseWhenStatisticsDisabled(parent, ctx)) return;
    SingleGameDialog dialog(ctx, games, players, parent);
    dialog.exec();
}

} // namespace cw::ui
