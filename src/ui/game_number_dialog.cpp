// "Select a game number": its three pages and the checks of "Play this game".
#include "ui/game_number_dialog.h"

#include "catalog/custom_games.h"
#include "catalog/game_list.h"
#include "catalog/game_numbers.h"
#include "storage/settings_store.h"
#include "ui/dialog_base.h"
#include "ui/message_boxes.h"

#include <QComboBox>
#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <fstream>

namespace cw::ui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

QString shortDate(const std::string& yyyymmdd)
{
    if (!catalog::IsValidLogDate(yyyymmdd)) return {};
    const QDate d = QDate::fromString(qs(yyyymmdd), QStringLiteral("yyyyMMdd"));
    return QLocale().toString(d, QLocale::ShortFormat);
}

QTableWidget* makeGrid(QWidget* parent, const QStringList& headers)
{
    auto* t = new QTableWidget(0, int(headers.size()), parent);
    t->setHorizontalHeaderLabels(headers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->verticalHeader()->hide();
    t->horizontalHeader()->setStretchLastSection(true);
    t->setSortingEnabled(true);
    return t;
}

void setRow(QTableWidget* t, int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c) t->setItem(row, c, new QTableWidgetItem(cells[c]));
}

} // namespace

GameNumberDialog::GameNumberDialog(engine::TMainGame& game, QWidget* parent, int gameId) : QDialog(parent), m_game(game)
{
    setObjectName(QStringLiteral("TfrmGameNumber"));
    setWindowTitle(QStringLiteral("Select a game number"));
    auto* top = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    top->addWidget(m_pages);

    const auto names = catalog::AllGameNames(game.gameList, game.customGames);
    int current = gameId >= 0 && !game.gameName(gameId).empty() ? gameId : game.currentGameId();
    if (current < 0) current = 18;
    const QString currentName = qs(game.gameName(current));

    auto* select = new QWidget(this);
    auto* form = new QFormLayout(select);
    m_gameBox = new QComboBox(select);
    for (const auto& n : names) m_gameBox->addItem(qs(n));
    m_gameBox->setCurrentText(currentName);
    m_numberBox = new QComboBox(select);
    m_numberBox->setEditable(true);
    if (game.settingsFile)
        for (const auto& n : catalog::ReadGameNumberHistory(*game.settingsFile)) m_numberBox->addItem(qs(n));
    m_numberBox->setEditText(qs(game.settings.get(storage::col::GameNumber)).trimmed());
    form->addRow(QStringLiteral("G&ame:"), m_gameBox);
    form->addRow(QStringLiteral("Ga&me number:"), m_numberBox);
    m_pages->addTab(select, QStringLiteral("&Select a game"));

    m_previous = makeGrid(this, {QStringLiteral("Game number"), QStringLiteral("Game"), QStringLiteral("W/L"),
                                 QStringLiteral("Date"), QStringLiteral("Player")});
    m_pages->addTab(m_previous, QStringLiteral("&Previous games"));

    auto* lostPage = new QWidget(this);
    auto* lostLayout = new QVBoxLayout(lostPage);
    m_lostGame = new QComboBox(lostPage);
    for (const auto& n : names) m_lostGame->addItem(qs(n));
    m_lostGame->setCurrentText(currentName);
    m_lost = makeGrid(lostPage, {QStringLiteral("Game number"), QStringLiteral("W/L"), QStringLiteral("Date"),
                                 QStringLiteral("Player")});
    lostLayout->addWidget(m_lostGame);
    lostLayout->addWidget(m_lost);
    m_pages->addTab(lostPage, QStringLiteral("&Lost games"));
    connect(m_lostGame, &QComboBox::currentTextChanged, this, &GameNumberDialog::fillLost);
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == 1) fillPrevious();
        if (page == 2 && m_lost->rowCount() == 0) fillLost();
    });

    auto* buttons = new QHBoxLayout;
    auto* play = new QPushButton(QStringLiteral("Play &this game"), this);
    play->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* log = new QPushButton(QStringLiteral("L&og..."), this);
    log->setObjectName(QStringLiteral("btnLog"));
    connect(log, &QPushButton::clicked, this, &GameNumberDialog::logRequested);
    buttons->addWidget(log);
    buttons->addStretch(1);
    buttons->addWidget(play);
    buttons->addWidget(cancel);
    top->addLayout(buttons);
    connect(play, &QPushButton::clicked, this, &GameNumberDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &GameNumberDialog::reject);
    connect(m_previous, &QTableWidget::cellDoubleClicked, this, &GameNumberDialog::accept);
    connect(m_lost, &QTableWidget::cellDoubleClicked, this, &GameNumberDialog::accept);
    applyDialogFont(this);
    resize(520, 360);
}

const std::vector<std::string>& GameNumberDialog::logLines()
{
    if (!m_logRead) {
        m_logRead = true;
        std::ifstream in(catalog::FindFileNoCase(m_game.dataFolder, "Stat_log.dat"), std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) m_log.push_back(std::move(line));
        }
    }
    return m_log;
}

void GameNumberDialog::fillPrevious()
{
    if (m_previousFilled) return;
    m_previousFilled = true;
    m_previous->setSortingEnabled(false);
    // Newest first as the log gives them; a click on a column header sorts by it afterwards.
    m_previous->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    const auto rows = catalog::PreviousGames(logLines());
    m_previous->setRowCount(int(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& r = rows[i];
        setRow(m_previous, int(i),
               {qs(r.gameNumber), qs(r.gameName), r.won ? QStringLiteral("Won") : QStringLiteral("Lost"),
                shortDate(r.date), qs(r.player)});
    }
    m_previous->resizeColumnsToContents();
    m_previous->setSortingEnabled(true);
}

void GameNumberDialog::fillLost()
{
    m_lost->setSortingEnabled(false);
    m_lost->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    const auto deals = catalog::LostDeals(logLines(), m_lostGame->currentText().toStdString());
    m_lost->setRowCount(deals.empty() ? 1 : int(deals.size()));
    if (deals.empty()) setRow(m_lost, 0, {QString(), QString(), QString(), QString()});
    for (std::size_t i = 0; i < deals.size(); ++i)
        setRow(m_lost, int(i),
               {qs(deals[i].gameNumber), QStringLiteral("Lost"), shortDate(deals[i].date), qs(deals[i].player)});
    m_lost->resizeColumnsToContents();
    m_lost->setSortingEnabled(true);
}

void GameNumberDialog::accept()
{
    QString number, gameName;
    switch (m_pages->currentIndex()) {
    case 0:
        number = m_numberBox->currentText();
        gameName = m_gameBox->currentText();
        break;
    case 1: {
        const int row = m_previous->currentRow();
        if (row >= 0 && m_previous->item(row, 0)) {
            number = m_previous->item(row, 0)->text();
            gameName = m_previous->item(row, 1)->text();
        }
        break;
    }
    default: {
        const int row = m_lost->currentRow();
        if (row >= 0 && m_lost->item(row, 0)) number = m_lost->item(row, 0)->text();
        gameName = m_lostGame->currentText();
        break;
    }
    }
    if (m_pages->currentIndex() != 0 && (number.trimmed().isEmpty() || gameName.isEmpty())) {
        informationBox(this, QStringLiteral("Select a correct game number."));
        return;
    }
    const catalog::TypedNumber typed = catalog::NormalizeGameNumber(number.toStdString());
    if (typed.check == catalog::NumberCheck::NotDigits) {
        informationBox(this, QStringLiteral("Numbers only are required."));
        return;
    }
    if (typed.check != catalog::NumberCheck::Ok) return;  // empty or zero: the dialog stays open
    const int id = catalog::GameIdByName(m_game.gameList, m_game.customGames, gameName.toStdString());
    if (id < 0) {
        informationBox(this, QStringLiteral("Select a correct game number."));
        return;
    }
    m_number = typed.number;
    m_gameId = id;
    QDialog::accept();
}

} // namespace cw::ui
