// TfrmMain: the game window — table, menus, toolbar, status bar, keyboard and mouse, start and close.
#pragma once

#include "engine/session.h"
#include "engine/tutor.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>
#include <QPoint>
#include <QPointer>

#include <memory>
#include <optional>
#include <utility>

#include "ui/table_widget.h"

class QAction;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;

namespace cw::ui {

class KeyboardPlay;
class PictureLibrary;
class QtMessageBoxes;
class RulesViewer;
class SoundPlayer;
class StatusPanel;
class TutorCommands;
class WindowHost;

// The product title of captions and questions.
inline constexpr const char* kProductTitle = "Cardwise 2002";
inline constexpr const char* kProductVersion = "1.0";

// The folder the save and open dialogs start in: "Dir_Save" while that folder exists, else the
// personal documents folder (the home folder when there is none). It ends with "/": a dialog given
// a folder that does not exist offers its last part as the file name.
QString savedGamesFolder(const engine::TMainGame& game);

// A stored window place made safe for the screen: no larger than the available area and moved
// wholly onto it (a setting from another screen must not open the window out of reach).
QRect clampToScreen(const QRect& wanted, const QRect& available);

class TfrmMain : public QMainWindow, public TableController {
    Q_OBJECT
    friend class TutorCommands; // the demo, the solver's commands and the indicator act as the window does
    friend class KeyboardPlay;  // the keyboard acts on the table as the mouse does

public:
    TfrmMain(engine::TMainGame& game, const PictureLibrary& library, engine::GameEndSink* sink,
             engine::SessionOptions options = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    engine::Session& session() { return *m_session; }
    engine::TMainGame& game() { return m_game; }
    TableWidget* table() const { return m_table; }
    // The rule panel of the status bar shows text (why a click was refused).
    void showRuleText(const QString& text);
    // The engine's presentation; tools that follow the table register with it.
    WindowHost& windowHost() { return *m_host; }
    // A menu or toolbar command by its object name ("mnuNew", "mnuUndo", ...); nullptr when absent.
    QAction* command(const QString& name) const { return m_actions.value(name); }

    // Position, size, maximized and full-screen state from the settings file.
    void restoreWindowState();
    // The first activation: the held game resumed; else the game chooser when it is switched on (the
    // start-up game dealt when the player cancels it), else the start-up game dealt at once.
    void firstActivation();
    // Whether the first activation without a held game opens the chooser (the application switches it
    // on; windows built for tests and start-up timing deal the start-up game directly).
    void setChooserAtStartup(bool on) { m_chooserAtStartup = on; }
    bool firstActivationDone() const { return !m_session->flags().firstActivationPending; }
    void refreshTitle();
    // The options dialog stored new preferences: the table, the panels, the toolbar, the status bar and
    // the session's click options follow them at once.
    void preferencesChanged();
    bool fullScreenMode() const { return m_fullScreen; }
    void setFullScreenMode(bool on);
    // Shows the status bar texts for a table point (window coordinates of the table widget).
    void refreshStatus(QPoint widgetPoint);
    QString statusText(int panel) const;

    // ---- TableController ----
    void tablePress(const engine::Press& press) override;
    void dragMoved() override;
    bool tableRelease(const std::vector<engine::PileRef>& candidates) override;
    void doubleClick(engine::PileRef pile, int index) override;

    // ---- What the host asks of the window ----
    void enableCommand(engine::Command command, bool enabled);
    void showScore(int score);
    void showClock(const QString& label);
    void newDealShown();
    void playSound(const QString& name);
    void showPause(bool on);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // main_window_actions.cpp
    void createActions();
    void createMenus();
    void createToolBar();
    QAction* makeAction(const QString& name, const QString& caption, const QKeySequence& key,
                        void (TfrmMain::*slot)(), bool checkable = false);
    void cmdNewGame();
    void cmdRestart();
    void cmdSave();
    void cmdHoldAndExit();
    void cmdExit();
    void cmdUndo();
    void cmdRedo();
    void cmdInsertBookmark();
    void cmdGoToBookmark();
    void cmdPause();
    void cmdQuitGame();
    void cmdAutoplay();
    void cmdHint();
    // tutor_commands.cpp
    void cmdDemo();
    void cmdSolveAndShow();
    void cmdShowWinnability();
    void cmdWinnableDealsOnly();
    // The hint's pointer for a found step (table coordinates: from the cards to the target).
    std::optional<std::pair<QPoint, QPoint>> hintArrow(const engine::TutorStep& step) const;
    void cmdFullScreen();
    void cmdRules();
    void cmdContents();
    void cmdAbout();
    void cmdStock();
    void cmdEscape();
    void cmdLargeIcons();
    void cmdShowTime();
    void cmdShowScore();
    void cmdFitWindow();
    void afterCommand();
    void updateCommands();
    void setTimePanelShown(bool on, bool byUser);
    void setScorePanelShown(bool on, bool byUser);

    // main_window_status.cpp
    void createStatusBar();
    void clearStatus();
    void showPileSizePanel(QPoint widgetPoint);
    void hidePileSizePanel();
    void onTick();

    // main_window_input.cpp / main_window.cpp
    void revealCard(engine::PileRef pile, int index);
    void applyTableSettings();
    engine::CardSize cardSizeForScreen() const;
    bool queryClose();
    void writeWindowState();
    std::string pref(const char* key, const char* def = "") const;
    void setPref(const char* key, const std::string& value);

    engine::TMainGame& m_game;
    const PictureLibrary& m_library;
    std::unique_ptr<WindowHost> m_host;
    std::unique_ptr<engine::Session> m_session;
    std::unique_ptr<QtMessageBoxes> m_boxes;
    std::unique_ptr<SoundPlayer> m_sounds;
    TableWidget* m_table = nullptr;
    QPointer<RulesViewer> m_rules;
    QHash<QString, QAction*> m_actions;
    QToolBar* m_toolBar = nullptr;
    QWidget* m_timePanel = nullptr;
    QLabel* m_timeLabel = nullptr;
    QWidget* m_scorePanel = nullptr;
    QLabel* m_scoreLabel = nullptr;
    QAction* m_timePanelAction = nullptr;
    QAction* m_scorePanelAction = nullptr;
    QMenu* m_tablePopup = nullptr;
    StatusPanel* m_panels[6] = {};
    QLabel* m_pileSizePanel = nullptr;
    QLabel* m_redealsPanel = nullptr;
    QLabel* m_revealed = nullptr;   // the card shown whole by Ctrl + right click
    QTimer* m_timer = nullptr;
    QElapsedTimer m_ticks;
    qint64 m_hoverStamp = -1;   // tick of the last movement over the table, -1 none
    engine::TutorRecord m_tutorRecord;  // the moves the tutor showed, so that it does not repeat itself
    TutorCommands* m_tutor = nullptr;   // game demo, "Solve and show", winnability, winnable deals
    KeyboardPlay* m_keyboard = nullptr; // arrows, Enter, Space, Escape and Home on the table
    QPoint m_lastMouse{-1, -1};
    bool m_fullScreen = false;
    bool m_wasMaximized = false;
    bool m_statusBarWasVisible = true;
    bool m_tableSettingsApplied = false;
    bool m_closeAllowed = false;
    bool m_chooserAtStartup = false;
};

} // namespace cw::ui
