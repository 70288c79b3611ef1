// The overall-score dialogs: ranking, details, the publishing code and the totals-difference notice.
#include "ui/overall_score_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "stats/hi_scores.h"
#include "storage/safe_file.h"
#include "ui/dialog_base.h"
#include "ui/game_info_dialog.h"
#include "ui/message_boxes.h"

namespace cw::ui {

namespace {

QTableWidget* makeGrid(QWidget* parent, const QStringList& titles, int rows)
{
    auto* grid = new QTableWidget(rows, titles.size(), parent);
    grid->setHorizontalHeaderLabels(titles);
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
    return grid;
}

void setCell(QTableWidget* grid, int row, int column, const QString& text, bool right = false)
{
    auto* item = new QTableWidgetItem(text);
    if (right) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->setItem(row, column, item);
}

QString timeText(std::int64_t seconds, char separator)
{
    return QString::fromStdString(stats::playingTimeText(seconds, separator));
}

} // namespace

// ---- Overall Score (difference) ----

OverallDifferenceDialog::OverallDifferenceDialog(const stats::TotalsDifference& d, QWidget* parent) : QDialog(parent)
{
    applyDialogFont(this);
    setWindowTitle(tr("Overall Score "));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(tr("A difference has been found between your Overall Score (Total value) and the sum of "
                               "all the values of each single game."),
                            this);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* group = new QGroupBox(tr(" Player: ") + QString::fromStdString(d.player) + QLatin1Char(' '), this);
    auto* grid = new QGridLayout(group);
    const std::pair<QString, std::int64_t> rows[] = {
        {tr("Previous Overall Score:"), d.stored},
        {tr("Sum of all the values of each single game:"), d.recomputed},
        {tr("Your Overall Score will be changed to:"), d.recomputed}};
    int r = 0;
    for (const auto& [caption, value] : rows) {
        grid->addWidget(new QLabel(caption, group), r, 0);
        auto* v = new QLabel(QString::number(value), group);
        v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(v, r++, 1);
    }
    layout->addWidget(group);
    auto* choice = new QGroupBox(tr(" Proceed with the change? "), this);
    auto* choiceLayout = new QHBoxLayout(choice);
    m_yes = new QRadioButton(tr("Yes"), choice);
    auto* no = new QRadioButton(tr("No"), choice);
    choiceLayout->addWidget(m_yes);
    choiceLayout->addWidget(no);
    layout->addWidget(choice);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setEnabled(false);
    connect(m_yes, &QRadioButton::toggled, m_ok, &QPushButton::setEnabled);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

// ---- Ranking ----

OverallScoreDialog::OverallScoreDialog(const stats::StatsContext& ctx, const stats::GameCatalog& games,
                                       const stats::OverallRanking& ranking, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_games(games), m_entries(ranking.entries)
{
    applyDialogFont(this);
    setWindowTitle(tr("Publish your score to: \"Overall Score\" Champions"));
    auto* layout = new QVBoxLayout(this);
    m_grid = makeGrid(this, {tr("N."), tr("Player"), tr("Score"), tr("Time")}, static_cast<int>(m_entries.size()));
    for (int r = 0; r < static_cast<int>(m_entries.size()); ++r) {
        const auto& e = m_entries[r];
        setCell(m_grid, r, 0, QStringLiteral("%1").arg(r + 1, 2, 10, QLatin1Char('0')));
        setCell(m_grid, r, 1, QString::fromStdString(e.player));
        setCell(m_grid, r, 2, QString::number(e.totalScore), true);
        setCell(m_grid, r, 3, timeText(e.totalTime, ctx.timeSeparator), true);
    }
    m_grid->resizeColumnsToContents();
    m_grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    layout->addWidget(m_grid, 1);
    auto* row = new QHBoxLayout;
    m_details = new QPushButton(tr("&Details..."), this);
    row->addWidget(m_details);
    row->addStretch(1);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(m_details, &QPushButton::clicked, this, &OverallScoreDialog::showDetails);
    auto enable = [this] {
        const bool any = m_grid->currentRow() >= 0;
        m_details->setEnabled(any);
    };
    connect(m_grid, &QTableWidget::currentCellChanged, this, enable);
    // The current player's row is selected when the player is ranked.
    int select = m_entries.empty() ? -1 : 0;
    for (int r = 0; r < static_cast<int>(m_entries.size()); ++r)
        if (m_entries[r].player == ctx.currentPlayer()) select = r;
    if (select >= 0) m_grid->selectRow(select);
    enable();
    resize(420, 380);
}

void OverallScoreDialog::showDetails()
{
    const int r = m_grid->currentRow();
    if (r < 0 || r >= static_cast<int>(m_entries.size())) return;
    stats::OverallDetails details;
    try {
        details = stats::readOverallDetails(m_ctx, m_entries[r].player, m_games);
    } catch (const storage::FileError& e) {
        informationBox(this, boxText(e.what()));
        return;
    }
    OverallDetailsDialog dialog(m_entries[r].player, details, this, m_ctx.timeSeparator);
    dialog.exec();
}

// ---- Details ----

OverallDetailsDialog::OverallDetailsDialog(const std::string& player, const stats::OverallDetails& details,
                                           QWidget* parent, char timeSeparator)
    : QDialog(parent), m_details(details), m_separator(timeSeparator)
{
    applyDialogFont(this);
    setWindowTitle(tr("Overall score details [%1]").arg(QString::fromStdString(player)));
    auto* layout = new QVBoxLayout(this);
    auto* choice = new QHBoxLayout;
    auto* all = new QRadioButton(tr("&All games"), this);
    m_notReached = new QRadioButton(tr("&Games whose maximum score was not reached"), this);
    all->setChecked(true);
    choice->addWidget(all);
    choice->addWidget(m_notReached);
    choice->addStretch(1);
    layout->addLayout(choice);
    m_grid = makeGrid(this, {tr("Game"), tr("Score"), tr("Max"), tr("Time")}, 0);
    layout->addWidget(m_grid, 1);
    m_totals = new QLabel(this);
    m_totals->setObjectName(QStringLiteral("totals"));
    layout->addWidget(m_totals);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(m_notReached, &QRadioButton::toggled, this, &OverallDetailsDialog::fill);
    fill();
    m_grid->resizeColumnsToContents();
    m_grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    resize(520, 480);
}

void OverallDetailsDialog::fill()
{
    const bool onlyOpen = m_notReached->isChecked();
    m_grid->setRowCount(0);
    int r = 0;
    for (const auto& d : m_details.rows) {
        if (onlyOpen && d.maxReached) continue;
        m_grid->insertRow(r);
        setCell(m_grid, r, 0, QString::fromStdString(d.name).trimmed());
        setCell(m_grid, r, 1, QString::number(d.score), true);
        setCell(m_grid, r, 2, d.maxReached ? tr("Yes") : QString(), false);
        setCell(m_grid, r, 3, timeText(d.seconds, m_separator), true);
        ++r;
    }
    m_totals->setText(tr("Total score: %1    Total time: %2")
                          .arg(m_details.totalScore)
                          .arg(timeText(m_details.totalTime, m_separator)));
}

QString OverallDetailsDialog::totalsText() const { return m_totals->text(); }

void showOverallScore(QWidget* parent, const stats::StatsContext& ctx, const stats::GameCatalog& games)
{
    if (refuseWhenStatisticsDisabled(parent, ctx)) return;
    stats::OverallRanking ranking;
    try {
        ranking = stats::readOverallRanking(ctx);
    } catch (const storage::FileError& e) {
        informationBox(parent, boxText(e.what()));
        return;
    }
    for (const auto& d : ranking.differences) {
        OverallDifferenceDialog notice(d, parent);
        notice.exec();
    }
    OverallScoreDialog dialog(ctx, games, ranking, parent);
    dialog.exec();
}

} // namespace cw::ui
