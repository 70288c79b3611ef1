// "Game information": two groups of values ("Current player:" and "Global ") and the chance line.
#include "ui/game_info_dialog.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

#include "ui/dialog_base.h"
#include "ui/message_boxes.h"

namespace cw::ui {

bool refuseWhenStatisticsDisabled(QWidget* parent, const stats::StatsContext& ctx)
{
    if (!ctx.statisticsDisabled) return false;
    informationBox(parent, QString::fromStdString(stats::kStatisticsDisabledMessage));
    return true;
}

namespace {

// "yyyymmdd" in the locale's short date format; the text as it is when it is no date.
QString shortDate(const std::string& yyyymmdd)
{
    if (yyyymmdd.empty()) return {};
    const QDate d = QDate::fromString(QString::fromStdString(yyyymmdd), QStringLiteral("yyyyMMdd"));
    return d.isValid() ? QLocale().toString(d, QLocale::ShortFormat) : QString::fromStdString(yyyymmdd);
}

QLabel* valueLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QGroupBox* groupOf(QWidget* parent, const QString& title, const QString& prefix,
                   const stats::GameInformationGroup& g, const QString& player, bool global)
{
    auto* box = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(box);
    int row = 0;
    auto add = [&](const QString& caption, const QString& name, const QString& value, const QString& extra = {},
                   const QString& extraName = {}) {
        grid->addWidget(new QLabel(caption, box), row, 0);
        auto* v = valueLabel(box, prefix + name, value);
        v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(v, row, 1);
        if (!extraName.isEmpty()) grid->addWidget(valueLabel(box, prefix + extraName, extra), row, 2);
        ++row;
    };
    if (!global) {
        grid->addWidget(valueLabel(box, prefix + QStringLiteral("Player"), player), row++, 0, 1, 3);
    }
    add(QObject::tr("Won:"), QStringLiteral("Won"), QString::number(g.won),
        QString::fromStdString(g.wonPercent), QStringLiteral("WonPercent"));
    add(QObject::tr("Lost:"), QStringLiteral("Lost"), QString::number(g.lost),
        QString::fromStdString(g.lostPercent), QStringLiteral("LostPercent"));
    add(QObject::tr("Total:"), QStringLiteral("Total"), QString::number(g.total));
    add(QObject::tr("Best score:"), QStringLiteral("BestScore"), QString::fromStdString(g.bestScore));
    add(QObject::tr("Best time:"), QStringLiteral("BestTime"), QString::fromStdString(g.bestTime));
    add(QObject::tr("Date:"), QStringLiteral("Date"), shortDate(g.bestDate));
    if (global) add(QObject::tr("Player:"), QStringLiteral("BestPlayer"), QString::fromStdString(g.bestPlayer));
    grid->setColumnStretch(2, 1);
    grid->setColumnMinimumWidth(1, 60);
    return box;
}

} // namespace

GameInfoDialog::GameInfoDialog(const stats::GameInformation& info, QWidget* parent) : QDialog(parent)
{
    applyDialogFont(this);
    setWindowTitle(QString::fromStdString(info.caption));
    auto* layout = new QVBoxLayout(this);
    auto* groups = new QHBoxLayout;
    groups->addWidget(groupOf(this, tr("Current player:"), QStringLiteral("current"), info.current,
                              QString::fromStdString(info.player), false));
    groups->addWidget(groupOf(this, tr("Global "), QStringLiteral("global"), info.global, {}, true));
    layout->addLayout(groups);
    layout->addWidget(valueLabel(this, QStringLiteral("chance"), QString::fromStdString(info.chance)));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QString GameInfoDialog::valueText(const QString& name) const
{
    auto* l = findChild<QLabel*>(name);
    return l ? l->text() : QString();
}

void showGameInformation(QWidget* parent, const stats::StatsContext& ctx, const GameInfoRequest& r)
{
    if (refuseWhenStatisticsDisabled(parent, ctx)) return;
    const auto info = stats::gameInformation(ctx, r.gameId, r.gameName, r.player, r.players, r.scoringCode,
                                             r.defaults, r.chanceX, r.chanceY, r.chanceUndecided);
    GameInfoDialog dialog(info, parent);
    dialog.exec();
}

} // namespace cw::ui
