// The series dialogs: manager, editor, situation, series hi-scores and the series question.
#include "ui/series_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "stats/dialog_values.h"
#include "stats/hi_scores.h"
#include "storage/safe_file.h"
#include "storage/settings_store.h"
#include "ui/dialog_base.h"
#include "ui/message_boxes.h"
#include "ui/stats_table.h"

namespace cw::ui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

SeriesQuestionHook& questionHook()
{
    static SeriesQuestionHook hook;
    return hook;
}

QString gameName(const stats::GameCatalog& games, int id)
{
    auto g = games.game(id);
    return g ? qs(g->name) : QObject::tr("(game %1 is not available)").arg(id);
}

constexpr int kNumberRole = Qt::UserRole + 1;

} // namespace

std::vector<stats::SeriesDefinition> allSeries(const stats::StatsContext& ctx, const stats::GameCatalog& games)
{
    std::vector<stats::SeriesDefinition> out = stats::predefinedSeries();
    try {
        for (auto& s : stats::readUserSeries(ctx, games))
            out.push_back(std::move(s));
    } catch (const storage::FileError& e) {
        ctx.inform(e.what());
    }
    return out;
}

// ---- Series in progress ----

void setSeriesQuestionHook(SeriesQuestionHook hook) { questionHook() = std::move(hook); }

engine::SeriesAnswer askSeriesInProgress(QWidget* parent, const std::string& seriesName)
{
    if (questionHook())
        return questionHook()(seriesName);
    QMessageBox box(parent);
    applyDialogFont(&box);
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(QObject::tr("Series in progress: %1").arg(qs(seriesName)));
    box.setText(QObject::tr("The current series is unfinished."));
    box.setInformativeText(QObject::tr("Do you want to quit it or continue with the next series game?"));
    QPushButton* cancel = box.addButton(QObject::tr("Cancel"), QMessageBox::RejectRole);
    QPushButton* next = box.addButton(QObject::tr("&Next game"), QMessageBox::AcceptRole);
    QPushButton* quit = box.addButton(QObject::tr("Quit series"), QMessageBox::DestructiveRole);
    box.setDefaultButton(next);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == next)
        return engine::SeriesAnswer::NextGame;
    if (box.clickedButton() == quit)
        return engine::SeriesAnswer::QuitSeries;
    return engine::SeriesAnswer::Cancel;
}

// ---- Manager ----

SeriesManagerDialog::SeriesManagerDialog(const stats::StatsContext& ctx, const stats::GameCatalog& games,
                                         const std::vector<std::string>& players, const std::string& player,
                                         bool randomOrder, int select, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_games(games)
{
    applyDialogFont(this);
    setWindowTitle(tr("Series manager"));
    auto* layout = new QGridLayout(this);
    auto* treeLabel = new QLabel(tr("&Select a Series:"), this);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("tvSeries"));
    m_tree->setHeaderHidden(true);
    treeLabel->setBuddy(m_tree);
    layout->addWidget(treeLabel, 0, 0);
    layout->addWidget(m_tree, 1, 0, 4, 1);
    layout->addWidget(new QLabel(tr("Games:"), this), 0, 1);
    m_gamesList = new QListWidget(this);
    m_gamesList->setObjectName(QStringLiteral("lstGames"));
    layout->addWidget(m_gamesList, 1, 1);
    auto* playerLabel = new QLabel(tr("Pla&yer:"), this);
    m_players = new QComboBox(this);
    m_players->setObjectName(QStringLiteral("cboPlayers"));
    playerLabel->setBuddy(m_players);
    for (const auto& p : players)
        m_players->addItem(qs(p));
    if (m_players->findText(qs(player), Qt::MatchExactly) < 0)
        m_players->addItem(qs(player));
    m_players->setCurrentIndex(m_players->findText(qs(player), Qt::MatchExactly));
    auto* playerRow = new QHBoxLayout;
    playerRow->addWidget(playerLabel);
    playerRow->addWidget(m_players, 1);
    layout->addLayout(playerRow, 2, 1);
    m_random = new QCheckBox(tr("&Random sequence"), this);
    m_random->setChecked(randomOrder);
    layout->addWidget(m_random, 3, 1);

    auto* buttons = new QHBoxLayout;
    m_play = new QPushButton(tr("&Play"), this);
    m_play->setObjectName(QStringLiteral("btnPlay"));
    auto* add = new QPushButton(tr("&New"), this);
    add->setObjectName(QStringLiteral("btnNew"));
    m_edit = new QPushButton(tr("&Edit"), this);
    m_edit->setObjectName(QStringLiteral("btnEdit"));
    m_delete = new QPushButton(tr("&Delete"), this);
    m_delete->setObjectName(QStringLiteral("btnDelete"));
    auto* statistics = new QPushButton(tr("S&tatistics..."), this);
    statistics->setObjectName(QStringLiteral("btnStatistics"));
    auto* close = new QPushButton(tr("Close"), this);
    for (QPushButton* b : {m_play, add, m_edit, m_delete, statistics})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons, 5, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);

    connect(m_play, &QPushButton::clicked, this, &SeriesManagerDialog::playSelected);
    connect(add, &QPushButton::clicked, this, &SeriesManagerDialog::newSeries);
    connect(m_edit, &QPushButton::clicked, this, &SeriesManagerDialog::editSelected);
    connect(m_delete, &QPushButton::clicked, this, &SeriesManagerDialog::deleteSelected);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(statistics, &QPushButton::clicked, this, [this] {
        if (m_ctx.statisticsDisabled) {
            informationBox(this, QString::fromStdString(stats::kStatisticsDisabledMessage));
            return;
        }
        if (showHiScores && selectedSeries() > 0)
            showHiScores(selectedSeries());
    });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &SeriesManagerDialog::showGames);
    connect(m_tree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item && item->data(0, kNumberRole).toInt() < 0)
            newSeries();
    });
    fill(select);
    resize(620, 420);
}

QPushButton* SeriesManagerDialog::button(const QString& name) const { return findChild<QPushButton*>(name); }

void SeriesManagerDialog::fill(int select)
{
    m_user.clear();
    try {
        m_user = stats::readUserSeries(m_ctx, m_games);
    } catch (const storage::FileError& e) {
        informationBox(this, boxText(e.what()));
    }
    m_tree->clear();
    auto* predefined = new QTreeWidgetItem(m_tree, {tr("Predefined series")});
    auto* mine = new QTreeWidgetItem(m_tree, {tr("My series")});
    for (QTreeWidgetItem* folder : {predefined, mine})
        folder->setFlags(Qt::ItemIsEnabled);
    QTreeWidgetItem* chosen = nullptr;
    auto add = [&](QTreeWidgetItem* folder, const stats::SeriesDefinition& s) {
        auto* item = new QTreeWidgetItem(folder, {qs(s.name)});
        item->setData(0, kNumberRole, s.number);
        if (s.number == select)
            chosen = item;
    };
    for (const auto& s : stats::predefinedSeries())
        add(predefined, s);
    for (const auto& s : m_user)
        add(mine, s);
    auto* addNew = new QTreeWidgetItem(mine, {tr("(Add a new Series)")});
    addNew->setData(0, kNumberRole, -1);
    m_tree->expandAll();
    m_tree->setCurrentItem(chosen ? chosen : predefined->child(0));
    showGames();
}

int SeriesManagerDialog::selectedSeries() const
{
    const QTreeWidgetItem* item = m_tree->currentItem();
    const int n = item ? item->data(0, kNumberRole).toInt() : 0;
    return n > 0 ? n : 0;
}

bool SeriesManagerDialog::randomOrder() const { return m_random->isChecked(); }

void SeriesManagerDialog::selectSeries(int number) { fill(number); }

void SeriesManagerDialog::showGames()
{
    m_gamesList->clear();
    const int n = selectedSeries();
    const stats::SeriesDefinition* s = nullptr;
    for (const auto& p : stats::predefinedSeries())
        if (p.number == n)
            s = &p;
    for (const auto& u : m_user)
        if (u.number == n)
            s = &u;
    if (s)
        for (int id : s->games)
            m_gamesList->addItem(gameName(m_games, id));
    m_play->setEnabled(s != nullptr);
    m_edit->setEnabled(s && !stats::isPredefinedSeries(n));
    m_delete->setEnabled(s && !stats::isPredefinedSeries(n));
}

void SeriesManagerDialog::playSelected()
{
    const int n = selectedSeries();
    if (n <= 0 || !play)
        return;
    if (play(n, m_random->isChecked(), m_players->currentText().toStdString()))
        accept();
}

void SeriesManagerDialog::newSeries()
{
    SeriesEditorDialog editor(m_ctx, m_games, std::nullopt, this);
    if (editor.exec() == QDialog::Accepted)
        fill(editor.savedNumber());
}

void SeriesManagerDialog::editSelected()
{
    const int n = selectedSeries();
    for (const auto& u : m_user) {
        if (u.number != n)
            continue;
        SeriesEditorDialog editor(m_ctx, m_games, u, this);
        if (editor.exec() == QDialog::Accepted)
            fill(n);
        return;
    }
}

void SeriesManagerDialog::deleteSelected()
{
    const int n = selectedSeries();
    if (n <= 0 || stats::isPredefinedSeries(n))
        return;
    const QString name = m_tree->currentItem()->text(0);
    if (!confirmBox(this, boxText("Are you sure you want to delete this Series:\r" + name.toStdString())))
        return;
    try {
        stats::deleteSeries(m_ctx, m_games, n);
    } catch (const storage::FileError& e) {
        informationBox(this, boxText(e.what()));
    }
    fill(0);
}

// ---- Editor ----

SeriesEditorDialog::SeriesEditorDialog(const stats::StatsContext& ctx, const stats::GameCatalog& games,
                                       std::optional<stats::SeriesDefinition> series, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_games(games)
{
    applyDialogFont(this);
    setWindowTitle(series ? tr("Edit Series") : tr("New Series"));
    if (series)
        m_number = series->number;
    auto* layout = new QGridLayout(this);
    auto* nameLabel = new QLabel(tr("&Name:"), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("edtName"));
    m_name->setMaxLength(int(stats::kSeriesNameLength));
    nameLabel->setBuddy(m_name);
    if (series)
        m_name->setText(qs(series->name));
    layout->addWidget(nameLabel, 0, 0);
    layout->addWidget(m_name, 0, 1, 1, 3);
    layout->addWidget(new QLabel(tr("All games:"), this), 1, 0, 1, 2);
    layout->addWidget(new QLabel(tr("Games of the Series:"), this), 1, 3);
    m_all = new QListWidget(this);
    m_all->setObjectName(QStringLiteral("lstAllGames"));
    m_all->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto sorted = games.catalogGames();
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        return QString::compare(qs(a.name), qs(b.name), Qt::CaseInsensitive) < 0;
    });
    for (const auto& g : sorted) {
        auto* item = new QListWidgetItem(qs(g.name), m_all);
        item->setData(kNumberRole, g.id);
    }
    m_chosen = new QListWidget(this);
    m_chosen->setObjectName(QStringLiteral("lstChosen"));
    m_chosen->setDragDropMode(QAbstractItemView::InternalMove);
    if (series)
        for (int id : series->games) {
            auto* item = new QListWidgetItem(gameName(games, id), m_chosen);
            item->setData(kNumberRole, id);
        }
    auto* middle = new QVBoxLayout;
    auto* add = new QPushButton(tr("&Add >"), this);
    auto* remove = new QPushButton(tr("< &Remove"), this);
    middle->addStretch(1);
    middle->addWidget(add);
    middle->addWidget(remove);
    middle->addStretch(1);
    layout->addWidget(m_all, 2, 0, 1, 2);
    layout->addLayout(middle, 2, 2);
    layout->addWidget(m_chosen, 2, 3);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons, 3, 0, 1, 4);
    connect(add, &QPushButton::clicked, this, &SeriesEditorDialog::addSelected);
    connect(remove, &QPushButton::clicked, this, &SeriesEditorDialog::removeSelected);
    connect(m_all, &QListWidget::itemDoubleClicked, this, &SeriesEditorDialog::addSelected);
    connect(m_chosen, &QListWidget::itemDoubleClicked, this, &SeriesEditorDialog::removeSelected);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (save())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(620, 440);
}

void SeriesEditorDialog::addSelected()
{
    for (QListWidgetItem* item : m_all->selectedItems()) {
        auto* copy = new QListWidgetItem(item->text(), m_chosen);
        copy->setData(kNumberRole, item->data(kNumberRole));
    }
}

void SeriesEditorDialog::removeSelected() { qDeleteAll(m_chosen->selectedItems()); }

bool SeriesEditorDialog::save()
{
    std::vector<int> ids;
    for (int i = 0; i < m_chosen->count(); ++i)
        ids.push_back(m_chosen->item(i)->data(kNumberRole).toInt());
    stats::SeriesSave result;
    try {
        result = stats::saveSeries(m_ctx, m_games, m_number, m_name->text().toStdString(), ids);
    } catch (const storage::FileError& e) {
        informationBox(this, boxText(e.what()));
        return false;
    }
    if (result.problem != stats::SeriesProblem::None) {
        informationBox(this, qs(stats::seriesProblemMessage(result.problem)));
        return false;
    }
    m_saved = result.number;
    return true;
}

// ---- Situation ----

SeriesSituationDialog::SeriesSituationDialog(const stats::SeriesProgress& p, const std::string& name,
                                             const stats::GameCatalog& games, char separator, bool nextGame,
                                             QWidget* parent)
    : QDialog(parent)
{
    applyDialogFont(this);
    setWindowTitle(tr("Series situation: %1").arg(qs(name)));
    auto* layout = new QVBoxLayout(this);
    m_table = new StatsTable({tr("N."), tr("Game"), tr("Score"), tr("Max"), tr("Time"), tr("W/L")},
                             {true, false, true, false, true, false}, this);
    m_table->setObjectName(QStringLiteral("grdSituation"));
    std::vector<StatsRow> rows;
    for (int i = 0; i < p.numGames(); ++i) {
        const auto& r = std::size_t(i) < p.results.size() ? p.results[std::size_t(i)] : std::nullopt;
        StatsRow row{StatsCell(QString::number(i + 1), QVariant(i + 1)),
                     StatsCell(gameName(games, p.games[std::size_t(i)]))};
        if (r) {
            row.push_back(StatsCell(qs(r->score), QVariant(QString::fromStdString(r->score).toLongLong())));
            row.push_back(StatsCell(r->maximum ? tr("Yes") : QString()));
            row.push_back(StatsCell(qs(stats::playingTimeText(r->seconds, separator)), QVariant(r->seconds)));
            row.push_back(StatsCell(r->won ? tr("Won") : tr("Lost")));
        }
        rows.push_back(std::move(row));
    }
    m_table->setRows(std::move(rows));
    m_table->resizeColumnsToContents();
    layout->addWidget(m_table, 1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(nextGame ? tr("Next game") : tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOk"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(520, 340);
}

// ---- Series hi-scores ----

SeriesHiScoresDialog::SeriesHiScoresDialog(const stats::StatsContext& ctx, const stats::GameCatalog& games, int number,
                                           const std::string& caption, int row, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_all(allSeries(ctx, games)), m_caption(caption)
{
    applyDialogFont(this);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* label = new QLabel(tr("&Series:"), this);
    m_series = new QComboBox(this);
    m_series->setObjectName(QStringLiteral("cboSeries"));
    label->setBuddy(m_series);
    for (const auto& s : m_all)
        m_series->addItem(qs(s.name), s.number);
    top->addWidget(label);
    top->addWidget(m_series, 1);
    layout->addLayout(top);
    m_table = new StatsTable({tr("N."), tr("Player"), tr("Score"), tr("Max"), tr("Time"), tr("W/L"), tr("Date")},
                             {true, false, true, false, true, false, false}, this);
    m_table->setObjectName(QStringLiteral("grdSeriesHiScores"));
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(m_table, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    connect(m_series, &QComboBox::currentIndexChanged, this, &SeriesHiScoresDialog::showSeries);
    const int index = std::max(0, m_series->findData(number));
    if (m_series->currentIndex() == index)
        showSeries(index);
    else
        m_series->setCurrentIndex(index);
    if (row >= 0 && row < m_table->rowCount())
        m_table->selectRow(row);
    resize(620, 520);
}

void SeriesHiScoresDialog::showSeries(int index)
{
    if (index < 0 || index >= int(m_all.size()))
        return;
    const stats::SeriesDefinition& s = m_all[std::size_t(index)];
    std::vector<std::string> entries;
    try {
        const int count = int(s.games.size());
        std::string code = m_ctx.settings ? m_ctx.settings->get(storage::col::ScoringCode) : std::string();
        if (code.size() != 2)
            code = "01";
        entries = stats::readHiScores(m_ctx, stats::HiScoreTable::Series, s.number, code,
                                      [count] { return stats::defaultSeriesScores(count); });
    } catch (const storage::FileError& e) {
        informationBox(this, boxText(e.what()));
    }
    const auto hiRows = stats::hiScoreRows(entries, m_ctx.timeSeparator);
    std::vector<StatsRow> rows;
    for (int r = 0; r < stats::kHiScoreRanks; ++r) {
        stats::HiScoreRow h;
        if (r < int(hiRows.size()))
            h = hiRows[std::size_t(r)];
        const bool maximum = r < int(entries.size()) && entries[std::size_t(r)].size() > 63 &&
                             entries[std::size_t(r)][63] == 'Y' && !h.score.empty();
        const QDate date = QDate::fromString(qs(h.date), QStringLiteral("yyyyMMdd"));
        rows.push_back({StatsCell(QStringLiteral("%1").arg(r + 1, 2, 10, QLatin1Char('0')), QVariant(r + 1)),
                        StatsCell(qs(h.player).trimmed()), StatsCell(qs(h.score), QVariant(qs(h.score).toLongLong())),
                        StatsCell(maximum ? tr("Yes") : QString()), StatsCell(qs(h.time)),
                        StatsCell(qs(h.result).trimmed()),
                        StatsCell(date.isValid() ? QLocale().toString(date, QLocale::ShortFormat) : QString(),
                                  QVariant(qs(h.date)))});
    }
    m_table->setRows(std::move(rows));
    m_table->resizeColumnsToContents();
    if (!m_caption.empty()) {
        setWindowTitle(qs(m_caption));
        m_caption.clear();
    } else {
        setWindowTitle(tr("Series Hi-Scores [%1]").arg(qs(s.name)));
    }
}

} // namespace cw::ui
