// Two-players mode: the "Two Players Mode" dialog and the Game menu's commands that start and quit it.
#pragma once

#include <QDialog>
#include <QObject>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/session.h"

class QAction;
class QCheckBox;
class QComboBox;
class QPushButton;

namespace cw::engine {
class TMainGame;
}

namespace cw::ui {

class TfrmMain;

// Player 1 and player 2 from the player list and the three options; "Play" accepts when the two
// players differ.
class TwoPlayersDialog : public QDialog {
    Q_OBJECT
public:
    TwoPlayersDialog(const std::vector<std::string>& players, const engine::TwoPlayersSetup& initial,
                     QWidget* parent = nullptr);

    engine::TwoPlayersSetup setup() const;

    QComboBox* player1Box() const { return m_player1; }
    QComboBox* player2Box() const { return m_player2; }
    QCheckBox* sameGameNumberBox() const { return m_sameNumber; }
    QCheckBox* showSituationBox() const { return m_situation; }
    QCheckBox* confirmNewGameBox() const { return m_confirm; }
    QPushButton* playButton() const { return m_play; }

private:
    void play();

    QComboBox* m_player1 = nullptr;
    QComboBox* m_player2 = nullptr;
    QCheckBox* m_sameNumber = nullptr;
    QCheckBox* m_situation = nullptr;
    QCheckBox* m_confirm = nullptr;
    QPushButton* m_play = nullptr;
};

// Game > "T&wo Players Mode" with "Start Two Players Mode" and "Quit Two Players Mode".
class TwoPlayersCommands : public QObject {
    Q_OBJECT
public:
    TwoPlayersCommands(TfrmMain& window, engine::TMainGame& game);

    // The dialog; nullopt when it is cancelled. Tests replace it.
    std::function<std::optional<engine::TwoPlayersSetup>(const engine::TwoPlayersSetup& initial)> chooseSetup;

    void start();
    void quit();
    // The stored choices of the last "Play" (the current player and the next one by default).
    engine::TwoPlayersSetup storedSetup() const;

private:
    void addMenu();
    void updateItems();
    std::vector<std::string> players() const;

    TfrmMain& m_window;
    engine::TMainGame& m_game;
    QAction* m_start = nullptr;
    QAction* m_quit = nullptr;
};

TwoPlayersCommands* installTwoPlayersCommands(TfrmMain& window, engine::TMainGame& game);

} // namespace cw::ui
