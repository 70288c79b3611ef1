// The clearing dialogs: "Clear values", "Clear statistics" (also as "Clear Hi-Scores") and "Clear Log statistics".
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "stats/game_catalog.h"
#include "stats/stat_context.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace cw::ui {

// "Clear statistics" / "Clear Hi-Scores": a player and a game, each with its "[All ...]" first entry.
class ClearStatsDialog : public QDialog {
    Q_OBJECT
public:
    ClearStatsDialog(const stats::StatsContext& ctx, const std::vector<stats::CatalogGame>& games,
                     const std::vector<std::string>& players, bool hiScores, std::string scoringCode = "01",
                     QWidget* parent = nullptr);

    QComboBox* playerBox() const { return m_players; }
    QComboBox* gameBox() const { return m_games; }
    // OK: the confirmation, then the clearing; true when it ran.
    bool confirmAndClear();

private:
    const stats::StatsContext& m_ctx;
    bool m_hiScores;
    std::string m_scoringCode;
    QComboBox* m_players = nullptr;
    QComboBox* m_games = nullptr;
};

// "Clear Log statistics": how many of the newest records to keep.
class ClearLogDialog : public QDialog {
    Q_OBJECT
public:
    ClearLogDialog(const stats::StatsContext& ctx, QWidget* parent = nullptr);

    QSpinBox* keepBox() const { return m_keep; }
    QPushButton* okButton() const { return m_ok; }
    std::int64_t recordCount() const { return m_count; }
    // OK: trims the log; true when it was trimmed.
    bool trim();

    void done(int result) override;

private:
    const stats::StatsContext& m_ctx;
    std::int64_t m_count = 0;
    QSpinBox* m_keep = nullptr;
    QPushButton* m_ok = nullptr;
};

// "Clear values": every value at once, or one kind through its own dialog.
class ClearValuesDialog : public QDialog {
    Q_OBJECT
public:
    ClearValuesDialog(const stats::StatsContext& ctx, const std::vector<stats::CatalogGame>& games,
                      const std::vector<std::string>& players, QWidget* parent = nullptr);

    QRadioButton* allValues() const { return m_all; }
    QRadioButton* selectValues() const { return m_select; }
    QListWidget* kindList() const { return m_kinds; }
    // OK: runs the chosen clearing (the two confirmations for all values, else the chosen dialog).
    void run();

private:
    const stats::StatsContext& m_ctx;
    std::vector<stats::CatalogGame> m_games;
    std::vector<std::string> m_playerNames;
    QRadioButton* m_all = nullptr;
    QRadioButton* m_select = nullptr;
    QListWidget* m_kinds = nullptr;
    QLabel* m_description = nullptr;
};

// The menu commands: the message while statistics are disabled, else the modal dialog.
void showClearValues(QWidget* parent, const stats::StatsContext& ctx, const std::vector<stats::CatalogGame>& games,
                     const std::vector<std::string>& players);

} // namespace cw::ui
