// The overall score: the ranking of the players, each player's details per game, the totals-difference notice.
#pragma once

#include <QDialog>

#include "stats/overall_score.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace cw::ui {

// "Overall Score ": the stored total differs from the sum of the single games (older files).
class OverallDifferenceDialog : public QDialog {
    Q_OBJECT
public:
    OverallDifferenceDialog(const stats::TotalsDifference& difference, QWidget* parent = nullptr);
    QPushButton* okButton() const { return m_ok; }
    QRadioButton* yesChoice() const { return m_yes; }

private:
    QPushButton* m_ok = nullptr;
    QRadioButton* m_yes = nullptr;
};

// The ranking: "N.", "Player", "Score", "Time", with the details of a player. (The publishing
// code is not offered: it was for a web site the product does not have.)
class OverallScoreDialog : public QDialog {
    Q_OBJECT
public:
    OverallScoreDialog(const stats::StatsContext& ctx, const stats::GameCatalog& games,
                       const stats::OverallRanking& ranking, QWidget* parent = nullptr);

    QTableWidget* grid() const { return m_grid; }
    QPushButton* detailsButton() const { return m_details; }

private:
    void showDetails();

    const stats::StatsContext& m_ctx;
    const stats::GameCatalog& m_games;
    std::vector<stats::OverallEntry> m_entries;
    QTableWidget* m_grid = nullptr;
    QPushButton* m_details = nullptr;
};

// "Overall score details [player]": every catalog game or those whose maximum was not reached.
class OverallDetailsDialog : public QDialog {
    Q_OBJECT
public:
    OverallDetailsDialog(const std::string& player, const stats::OverallDetails& details, QWidget* parent = nullptr,
                         char timeSeparator = ':');

    QTableWidget* grid() const { return m_grid; }
    QRadioButton* notReachedChoice() const { return m_notReached; }
    QString totalsText() const;

private:
    void fill();

    stats::OverallDetails m_details;
    char m_separator;
    QTableWidget* m_grid = nullptr;
    QRadioButton* m_notReached = nullptr;
    QLabel* m_totals = nullptr;
};

// The "Overall score" command: the message while statistics are disabled; the reading (with its reset
// message), a difference notice per player, then the ranking.
void showOverallScore(QWidget* parent, const stats::StatsContext& ctx, const stats::GameCatalog& games);

} // namespace cw::ui
