// "Game won": group "Total [game]" with won, lost, total, their percentages and the pie; the next-game buttons.
#include "ui/game_won_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "stats/dialog_values.h"
#include "storage/safe_file.h"
#include "ui/dialog_base.h"
#include "ui/message_boxes.h"
#include "ui/pie_chart.h"

namespace cw::ui {

GameWonDialog::GameWonDialog(const stats::StatsContext& ctx, int gameId, const std::string& gameName,
                             const std::string& player, std::set<GameWonChoice> choices, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_gameId(gameId), m_gameName(gameName), m_player(player)
{
    applyDialogFont(this);
    setWindowTitle(tr("Game won"));
    auto* layout = new QVBoxLayout(this);
    auto* congrats = new QLabel(tr("Congratulations! You won the game."), this);
    QFont big = congrats->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    congrats->setFont(big);
    congrats->setAlignment(Qt::AlignCenter);
    layout->addWidget(congrats);

    m_pages = new QStackedWidget(this);
    // Page 0: the values.
    m_group = new QGroupBox(m_pages);
    auto* row = new QHBoxLayout(m_group);
    auto* grid = new QGridLayout;
    auto addRow = [&](int r, const QString& caption, const QString& name, bool withPercent) {
        grid->addWidget(new QLabel(caption, m_group), r, 0);
        auto* v = new QLabel(m_group);
        v->setObjectName(name);
        v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        v->setMinimumWidth(50);
        grid->addWidget(v, r, 1);
        if (withPercent) {
            auto* p = new QLabel(m_group);
            p->setObjectName(name + QStringLiteral("Percent"));
            grid->addWidget(p, r, 2);
        }
    };
    addRow(0, tr("Won:"), QStringLiteral("won"), true);
    addRow(1, tr("Lost:"), QStringLiteral("lost"), true);
    addRow(2, tr("Total:"), QStringLiteral("total"), false);
    grid->setRowStretch(3, 1);
    row->addLayout(grid);
    m_pie = new C_TPieChart(m_group);
    m_pie->setMinimumSize(150, 100);
    row->addWidget(m_pie, 1);
    m_pages->addWidget(m_group);
    // Page 1: statistics disabled, no values.
    auto* off = new QLabel(QString::fromStdString(stats::kStatisticsDisabledMessage), m_pages);
    off->setObjectName(QStringLiteral("disabledText"));
    off->setWordWrap(true);
    off->setAlignment(Qt::AlignCenter);
    m_pages->addWidget(off);
    layout->addWidget(m_pages);

    auto* buttons = new QHBoxLayout;
    const std::pair<GameWonChoice, QString> all[] = {
        {GameWonChoice::New, tr("New")},         {GameWonChoice::Open, tr("Open")},
        {GameWonChoice::Restart, tr("Restart")}, {GameWonChoice::Random, tr("Random")},
        {GameWonChoice::Select, tr("Select")},   {GameWonChoice::Stats, tr("Stats")},
        {GameWonChoice::Close, tr("Close")}};
    for (const auto& [c, text] : all) {
        auto* b = new QPushButton(text, this);
        m_buttons[c] = b;
        buttons->addWidget(b);
        b->setVisible(c == GameWonChoice::Close || (c != GameWonChoice::Stats && choices.count(c)));
        connect(b, &QPushButton::clicked, this, [this, c] { choose(c); });
    }
    m_buttons[GameWonChoice::Close]->setDefault(true);
    layout->addLayout(buttons);
    refresh();
}

void GameWonDialog::setStatsHandler(std::function<void()> handler)
{
    m_statsHandler = std::move(handler);
    m_buttons[GameWonChoice::Stats]->setVisible(static_cast<bool>(m_statsHandler));
}

void GameWonDialog::refresh()
{
    if (m_ctx.statisticsDisabled) {
        m_pages->setCurrentIndex(1);
        return;
    }
    stats::GameWonSummary s;
    try {
        s = stats::gameWonSummary(m_ctx, m_gameId, m_gameName, m_player);
    } catch (const storage::FileError& e) {
        informationBox(this, boxText(e.what()));
        s.caption = "Total [" + m_gameName + "]";
    }
    m_pages->setCurrentIndex(0);
    m_group->setTitle(QString::fromStdString(s.caption));
    auto set = [this](const char* name, const QString& text) {
        if (auto* l = findChild<QLabel*>(QString::fromLatin1(name))) l->setText(text);
    };
    set("won", QString::number(s.won));
    set("lost", QString::number(s.lost));
    set("total", QString::number(s.total));
    set("wonPercent", s.hasValues ? QString::fromStdString(s.wonText) : QString());
    set("lostPercent", s.hasValues ? QString::fromStdString(s.lostText) : QString());
    m_pie->setHasValues(s.hasValues);
    m_pie->setPercent(s.wonPercent);
}

void GameWonDialog::choose(GameWonChoice c)
{
    if (c == GameWonChoice::Stats) {
        if (m_statsHandler) m_statsHandler();
        refresh();
        return;
    }
    m_choice = c;
    if (c == GameWonChoice::Close)
        reject();
    else
        accept();
}

QPushButton* GameWonDialog::button(GameWonChoice c) const
{
    auto it = m_buttons.find(c);
    return it == m_buttons.end() ? nullptr : it->second;
}

QString GameWonDialog::valueText(const QString& name) const
{
    if (name == QLatin1String("caption")) return m_group->title();
    auto* l = findChild<QLabel*>(name);
    return l ? l->text() : QString();
}

bool GameWonDialog::showsValues() const { return m_pages->currentIndex() == 0; }

} // namespace cw::ui
