// "Select a game number": a typed or earlier number, the previous games of the log, and the lost deals of a game.
#pragma once

#include "engine/session.h"
#include "engine/game_object.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QTabWidget;
class QTableWidget;

namespace cw::ui {

class GameNumberDialog : public QDialog {
    Q_OBJECT

public:
    // gameId: the game the pages start with (-1: the current game).
    explicit GameNumberDialog(engine::TMainGame& game, QWidget* parent = nullptr, int gameId = -1);
    // After OK: the 13-digit number and the game.
    std::string number() const { return m_number; }
    int gameId() const { return m_gameId; }
    QTabWidget* pages() const { return m_pages; }
    QComboBox* numberBox() const { return m_numberBox; }
    QComboBox* gameBox() const { return m_gameBox; }
    QTableWidget* previousGrid() const { return m_previous; }
    QTableWidget* lostGrid() const { return m_lost; }
    QComboBox* lostGameBox() const { return m_lostGame; }

signals:
    // "L&og...": the statistics log of every player and game.
    void logRequested();

protected:
    void accept() override;

private:
    void fillPrevious();
    void fillLost();
    const std::vector<std::string>& logLines();

    engine::TMainGame& m_game;
    QTabWidget* m_pages = nullptr;
    QComboBox* m_gameBox = nullptr;
    QComboBox* m_numberBox = nullptr;
    QTableWidget* m_previous = nullptr;
    QComboBox* m_lostGame = nullptr;
    QTableWidget* m_lost = nullptr;
    bool m_previousFilled = false;
    bool m_logRead = false;
    std::vector<std::string> m_log;
    std::string m_number;
    int m_gameId = -1;
};

} // namespace cw::ui
