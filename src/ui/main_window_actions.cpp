// TfrmMain's commands: every action of the menus, the toolbar and the keys, built in one place.
#include "engine/rules_context.h"
#include "engine/session.h"

#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "catalog/custom_games.h"
#include "engine/geometry.h"
#include "engine/pile_info.h"
#include "engine/rules_context.h"
#include "engine/tutor.h"
#include "storage/folders.h"
#include "storage/ini_file.h"
#include "storage/preferences.h"
#include "ui/custom_game_commands.h"
#include "ui/dialog_base.h"
#include "ui/help_text.h"
#include "ui/main_window_status.h"
#include "ui/message_boxes.h"
#include "ui/open_game_dialog_commands.h"
#include "ui/rules_viewer.h"
#include "ui/toolbar_icons.h"
#include "ui/tutor_commands.h"

namespace cw::ui {

namespace col = storage::col;

QAction* TfrmMain::makeAction(const QString& name, const QString& caption, const QKeySequence& key,
                              void (TfrmMain::*slot)(), bool checkable)
{
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    if (!key.isEmpty())
        a->setShortcut(key);
    a->setCheckable(checkable);
    connect(a, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
    // Added to the window too: the shortcuts keep working in full-screen mode without a menu bar.
    addAction(a);
    m_actions.insert(name, a);
    return a;
}

void TfrmMain::createActions()
{
    // File
    makeAction(QStringLiteral("mnuNew"), QStringLiteral("&New game"), Qt::Key_F2, &TfrmMain::cmdNewGame);
    makeAction(QStringLiteral("mnuRestart"), QStringLiteral("&Restart game"), QKeySequence(Qt::CTRL | Qt::Key_F2),
               &TfrmMain::cmdRestart);
    makeAction(QStringLiteral("mnuSave"), QStringLiteral("&Save..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12),
               &TfrmMain::cmdSave);
    makeAction(QStringLiteral("mnuHoldAndExit"), QStringLiteral("&Hold and exit..."), {}, &TfrmMain::cmdHoldAndExit);
    makeAction(QStringLiteral("mnuExit"), QStringLiteral("E&xit"), {}, &TfrmMain::cmdExit);
    // Game
    makeAction(QStringLiteral("mnuUndo"), QStringLiteral("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), &TfrmMain::cmdUndo);
    makeAction(QStringLiteral("mnuRedo"), QStringLiteral("&Redo"), QKeySequence(Qt::CTRL | Qt::Key_Y), &TfrmMain::cmdRedo);
    makeAction(QStringLiteral("mnuInsertBookmark"), QStringLiteral("Insert &bookmark"), {}, &TfrmMain::cmdInsertBookmark);
    makeAction(QStringLiteral("mnuGoToBookmark"), QStringLiteral("Go &to bookmark"), {}, &TfrmMain::cmdGoToBookmark);
    makeAction(QStringLiteral("mnuPause"), QStringLiteral("P&ause"), QKeySequence(Qt::CTRL | Qt::Key_P),
               &TfrmMain::cmdPause, true);
    makeAction(QStringLiteral("mnuQuitGame"), QStringLiteral("&Quit game"), QKeySequence(Qt::CTRL | Qt::Key_Q),
               &TfrmMain::cmdQuitGame);
    makeAction(QStringLiteral("mnuAutoplay"), QStringLiteral("Auto&play"), Qt::Key_F7, &TfrmMain::cmdAutoplay, true);
    makeAction(QStringLiteral("mnuHint"), QStringLiteral("Show a legal &move"), Qt::Key_M, &TfrmMain::cmdHint);
    makeAction(QStringLiteral("mnuDemo"), QStringLiteral("Game &Demo"), {}, &TfrmMain::cmdDemo);
    makeAction(QStringLiteral("mnuSolveAndShow"), QStringLiteral("&Solve and show"), {}, &TfrmMain::cmdSolveAndShow);
    makeAction(QStringLiteral("mnuShowWinnability"), QStringLiteral("Show &winnability"), {},
               &TfrmMain::cmdShowWinnability, true);
    makeAction(QStringLiteral("mnuWinnableDealsOnly"), QStringLiteral("&Winnable deals only"), {},
               &TfrmMain::cmdWinnableDealsOnly, true);
    makeAction(QStringLiteral("mnuFullScreen"), QStringLiteral("Full Screen"), Qt::Key_F11, &TfrmMain::cmdFullScreen, true);
    makeAction(QStringLiteral("mnuFitWindow"), QStringLiteral("Cards &fit the window"), {}, &TfrmMain::cmdFitWindow,
               true);
    // Help
    makeAction(QStringLiteral("mnuRules"), QStringLiteral("&Rules"), Qt::Key_F1, &TfrmMain::cmdRules);
    makeAction(QStringLiteral("mnuContents"), QStringLiteral("&Contents"), {}, &TfrmMain::cmdContents);
    makeAction(QStringLiteral("mnuAbout"), QStringLiteral("A&bout %1...").arg(QString::fromLatin1(kProductTitle)), {},
               &TfrmMain::cmdAbout);
    // Keys without a menu item
    makeAction(QStringLiteral("keyStock"), QStringLiteral("Stock"), Qt::Key_Space, &TfrmMain::cmdStock);
    makeAction(QStringLiteral("keyEscape"), QStringLiteral("Leave full screen"), Qt::Key_Escape, &TfrmMain::cmdEscape);
    // Toolbar pop-up menu and the full-screen restore button
    makeAction(QStringLiteral("mnuLargeIcons"), QStringLiteral("Large icons"), {}, &TfrmMain::cmdLargeIcons, true);
    makeAction(QStringLiteral("mnuShowTime"), QStringLiteral("Show time"), {}, &TfrmMain::cmdShowTime);
    makeAction(QStringLiteral("mnuShowScore"), QStringLiteral("Show score"), {}, &TfrmMain::cmdShowScore);
    makeAction(QStringLiteral("tbRestore"), QStringLiteral("Restore"), {}, &TfrmMain::cmdFullScreen);
    command(QStringLiteral("tbRestore"))->setVisible(false);
    command(QStringLiteral("mnuInsertBookmark"))->setEnabled(false);
    command(QStringLiteral("mnuGoToBookmark"))->setEnabled(false);
}

void TfrmMain::createMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(command(QStringLiteral("mnuNew")));
    file->addAction(command(QStringLiteral("mnuWinnableDealsOnly")));
    file->addAction(command(QStringLiteral("mnuRestart")));
    file->addSeparator();
    file->addAction(command(QStringLiteral("mnuSave")));
    file->addSeparator();
    file->addAction(command(QStringLiteral("mnuHoldAndExit")));
    file->addAction(command(QStringLiteral("mnuExit")));

    QMenu* game = bar->addMenu(QStringLiteral("&Game"));
    game->addAction(command(QStringLiteral("mnuUndo")));
    game->addAction(command(QStringLiteral("mnuRedo")));
    game->addSeparator();
    game->addAction(command(QStringLiteral("mnuInsertBookmark")));
    game->addAction(command(QStringLiteral("mnuGoToBookmark")));
    game->addSeparator();
    game->addAction(command(QStringLiteral("mnuPause")));
    game->addAction(command(QStringLiteral("mnuQuitGame")));
    game->addSeparator();
    game->addAction(command(QStringLiteral("mnuAutoplay")));
    QMenu* tutor = game->addMenu(QStringLiteral("Tut&or"));
    tutor->addAction(command(QStringLiteral("mnuHint")));
    tutor->addAction(command(QStringLiteral("mnuDemo")));
    tutor->addSeparator();
    tutor->addAction(command(QStringLiteral("mnuSolveAndShow")));
    tutor->addAction(command(QStringLiteral("mnuShowWinnability")));
    game->addAction(command(QStringLiteral("mnuFullScreen")));
    game->addAction(command(QStringLiteral("mnuFitWindow")));

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(command(QStringLiteral("mnuRules")));
    help->addAction(command(QStringLiteral("mnuContents")));
    help->addSeparator();
    help->addAction(command(QStringLiteral("mnuAbout")));

    // The table's pop-up menu (Ctrl + right click on the bare table).
    m_tablePopup = new QMenu(this);
    m_tablePopup->addAction(command(QStringLiteral("mnuPause")));
    m_tablePopup->addAction(command(QStringLiteral("mnuQuitGame")));
}

namespace {

struct ToolButtonSpec {
    const char* command;  // also names its icon
    const char* text;
    const char* hint;
    bool smallOnly;
};

const ToolButtonSpec kToolButtons[] = {
    {"mnuNew", "New", "Start a new game", false},
    {"mnuOpen", "Open", "Select a new game", false},
    {"mnuRestart", "Restart", "Restart the current game", false},
    {"mnuSave", "Save", "Save", true},
    {"mnuUndo", "Undo", "Undo", false},
    {"mnuRedo", "Redo", "Redo", false},
    {"mnuAutoplay", "Autoplay", "Autoplay", false},
    {"mnuGameStatistics", "Statistics", "Statistics", false},
    {"mnuRules", "Rules", "Game Rules", false},
    {"mnuExit", "Exit", "Exit", false},
};

QWidget* labelledPanel(QWidget* parent, const QString& caption, QLabel** value, const QString& name)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(6, 0, 6, 0);
    layout->setSpacing(4);
    auto* label = new QLabel(caption, panel);
    *value = new QLabel(panel);
    (*value)->setObjectName(QStringLiteral("lbl") + name.mid(3)); // "lblScore", "lblTime"
    QFont f = (*value)->font();
    f.setBold(true);
    (*value)->setFont(f);
    (*value)->setMinimumWidth(QFontMetrics(f).horizontalAdvance(QStringLiteral("00:00:00")));
    layout->addWidget(label);
    layout->addWidget(*value);
    panel->setContextMenuPolicy(Qt::CustomContextMenu);
    return panel;
}

} // namespace

void TfrmMain::createToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("Toolbar"));
    m_toolBar->setObjectName(QStringLiteral("tbMain"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->toggleViewAction()->setVisible(false);
    const bool large = pref("ToolBar_Large", "Y") == "Y";
    command(QStringLiteral("mnuLargeIcons"))->setChecked(large);
    for (const ToolButtonSpec& button : kToolButtons) {
        QAction* a = command(QString::fromLatin1(button.command));
        if (!a) // the chooser's and the statistics' commands are installed by their own modules
            a = findChild<QAction*>(QString::fromLatin1(button.command));
        if (!a)
            continue;
        if (button.smallOnly) {
            // A button of its own: hiding it must not hide the menu item.
            QAction* menuItem = a;
            a = new QAction(this);
            a->setObjectName(QStringLiteral("tbSave_Small"));
            a->setEnabled(menuItem->isEnabled());
            connect(a, &QAction::triggered, this, &TfrmMain::cmdSave);
            connect(menuItem, &QAction::enabledChanged, a, &QAction::setEnabled);
            m_actions.insert(a->objectName(), a);
        }
        a->setIcon(toolbarIcon(QString::fromLatin1(button.command)));
        a->setIconText(QString::fromLatin1(button.text));
        a->setToolTip(QString::fromLatin1(button.hint));
        m_toolBar->addAction(a);
    }
    for (QAction* a : m_toolBar->actions())
        if (QWidget* w = m_toolBar->widgetForAction(a))
            w->setFocusPolicy(Qt::NoFocus);
    auto* spacer = new QWidget(m_toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolBar->addWidget(spacer);
    m_scorePanel = labelledPanel(m_toolBar, QStringLiteral("Score:"), &m_scoreLabel, QStringLiteral("pnlScore"));
    m_scorePanelAction = m_toolBar->addWidget(m_scorePanel);
    m_timePanel = labelledPanel(m_toolBar, QStringLiteral("Time:"), &m_timeLabel, QStringLiteral("pnlTime"));
    m_timePanelAction = m_toolBar->addWidget(m_timePanel);
    QAction* restore = command(QStringLiteral("tbRestore"));
    restore->setIcon(toolbarIcon(QStringLiteral("tbRestore")));
    restore->setToolTip(QStringLiteral("Restore"));
    m_toolBar->addAction(restore);

    connect(m_timePanel, &QWidget::customContextMenuRequested, this, [this](QPoint p) {
        QMenu menu;
        menu.addAction(QStringLiteral("&Hide"), this, [this] { setTimePanelShown(false, true); });
        menu.exec(m_timePanel->mapToGlobal(p));
    });
    connect(m_scorePanel, &QWidget::customContextMenuRequested, this, [this](QPoint p) {
        QMenu menu;
        menu.addAction(QStringLiteral("Hide"), this, [this] { setScorePanelShown(false, true); });
        menu.exec(m_scorePanel->mapToGlobal(p));
    });
    m_toolBar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_toolBar, &QWidget::customContextMenuRequested, this, [this](QPoint p) {
        QMenu menu;
        menu.addAction(command(QStringLiteral("mnuLargeIcons")));
        menu.addSeparator();
        menu.addAction(command(QStringLiteral("mnuShowTime")));
        menu.addAction(command(QStringLiteral("mnuShowScore")));
        menu.exec(m_toolBar->mapToGlobal(p));
    });

    // The store holds the run's values: "Show_Time" at column 66, "Show_Score" at column 136.
    setTimePanelShown(m_game.settings.get(col::ShowTime) != "N", false);
    setScorePanelShown(m_game.settings.get(col::ShowScore) != "N", false);
    cmdLargeIcons();
}

void TfrmMain::setTimePanelShown(bool on, bool byUser)
{
    m_timePanelAction->setVisible(on);
    command(QStringLiteral("mnuShowTime"))->setEnabled(!on);
    if (byUser) {
        m_game.settings.setFlag(col::ShowTime, on);
        setPref("Show_Time", on ? "Y" : "N");
    }
}

void TfrmMain::setScorePanelShown(bool on, bool byUser)
{
    m_scorePanelAction->setVisible(on);
    command(QStringLiteral("mnuShowScore"))->setEnabled(!on);
    if (byUser) {
        m_game.settings.setFlag(col::ShowScore, on);
        setPref("Show_Score", on ? "Y" : "N");
    }
}

// ---- Command states ----

void TfrmMain::enableCommand(engine::Command c, bool enabled)
{
    const char* name = nullptr;
    switch (c) {
    case engine::Command::Pause: name = "mnuPause"; break;
    case engine::Command::QuitGame: name = "mnuQuitGame"; break;
    case engine::Command::InsertBookmark: name = "mnuInsertBookmark"; break;
    case engine::Command::GoToBookmark: name = "mnuGoToBookmark"; break;
    // Undo and Redo only when there is a move to take back or to make again: a new deal has none.
    case engine::Command::Undo:
        name = "mnuUndo";
        enabled = enabled && m_session && m_session->canUndo();
        break;
    case engine::Command::Redo:
        name = "mnuRedo";
        enabled = enabled && m_session && m_session->canRedo();
        break;
    case engine::Command::Save: name = "mnuSave"; break;
    case engine::Command::HoldAndExit: name = "mnuHoldAndExit"; break;
    }
    if (QAction* a = command(QString::fromLatin1(name)))
        a->setEnabled(enabled);
}

void TfrmMain::updateCommands()
{
    const bool active = m_session->flags().dealActive;
    command(QStringLiteral("mnuRestart"))->setEnabled(active);
    command(QStringLiteral("mnuUndo"))->setEnabled(active && m_session->canUndo());
    command(QStringLiteral("mnuRedo"))->setEnabled(active && m_session->canRedo());
    command(QStringLiteral("mnuSave"))->setEnabled(active);
    command(QStringLiteral("mnuHoldAndExit"))->setEnabled(active);
    command(QStringLiteral("mnuPause"))->setEnabled(active);
    command(QStringLiteral("mnuQuitGame"))->setEnabled(active);
    command(QStringLiteral("mnuRules"))->setEnabled(m_game.rulesGameId >= 0);
    command(QStringLiteral("mnuHint"))->setEnabled(active && m_game.rules.tutor() == 1);
    if (m_tutor)
        m_tutor->updateCommands();
    QAction* autoplay = command(QStringLiteral("mnuAutoplay"));
    autoplay->setChecked(m_session->autoplay());
    autoplay->setEnabled(m_game.rulesGameId < 0 || m_game.rules.autoplayAvailable() != 0);
}

void TfrmMain::afterCommand()
{
    if (!m_table->animating())
        m_table->refresh();
    showScore(m_session->score());
    updateCommands();
}

// ---- File ----

void TfrmMain::cmdNewGame()
{
    hidePileSizePanel();
    // "Winnable deals only": the deal is looked for first; the new game follows when it is found.
    if (m_tutor && m_tutor->newGame())
        return;
    if (m_game.rulesGameId < 0 && m_game.currentGameId() < 0)
        return;
    if (!m_session->flags().dealActive && m_game.rulesGameId < 0) {
        m_session->startGame(m_game.currentGameId(), m_game.player());
    } else if (m_session->newGame()) {
        // The "New" sound follows its own preference.
        m_session->playSound("New");
    }
    afterCommand();
}

void TfrmMain::cmdRestart()
{
    if (!m_session->flags().dealActive)
        return;
    m_session->restart();
    afterCommand();
}

QString savedGamesFolder(const engine::TMainGame& game)
{
    QString folder = QString::fromStdString(game.preference("Dir_Save"));
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QString::fromStdString(storage::personalDocumentsFolder(storage::Environment::fromProcess()));
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

void TfrmMain::cmdSave()
{
    if (!m_session->flags().dealActive)
        return;
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save game"), savedGamesFolder(m_game),
                                                      QStringLiteral("Saved games (*.gam)"));
    if (path.isEmpty())
        return;
    QString file = path;
    if (!file.endsWith(QStringLiteral(".gam"), Qt::CaseInsensitive))
        file += QStringLiteral(".gam");
    m_session->save(file.toStdString());
}

void TfrmMain::cmdHoldAndExit()
{
    m_session->requestHold();
    close();
}

void TfrmMain::cmdExit() { close(); }

// ---- Game ----

void TfrmMain::cmdUndo()
{
    if (!m_session->flags().dealActive)
        return;
    m_session->undo();
    afterCommand();
}

void TfrmMain::cmdRedo()
{
    if (!m_session->flags().dealActive)
        return;
    m_session->redo();
    afterCommand();
}

void TfrmMain::cmdInsertBookmark()
{
    m_session->insertBookmark();
    afterCommand();
}

void TfrmMain::cmdGoToBookmark()
{
    m_session->goToBookmark();
    afterCommand();
}

void TfrmMain::cmdPause()
{
    m_session->togglePause();
    command(QStringLiteral("mnuPause"))->setChecked(m_session->paused());
}

void TfrmMain::cmdQuitGame()
{
    if (!m_session->flags().dealActive)
        return;
    const bool hadWon = m_session->flags().gameWon;
    if (!m_session->quitGame())
        return;
    if (!hadWon) {
        // The table is cleared, the score and the clock start from nothing, and the chooser
        // opens (once this command has returned: the chooser is modal).
        m_table->setGame(&m_game.rules, nullptr);
        clearStatus();
        showScore(0);
        showClock(QString::fromStdString(engine::GameClock::formatClock(0)));
        if (auto* chooser = findChild<ChooserCommands*>())
            QTimer::singleShot(0, chooser, [chooser] { chooser->openGameDialog(); });
    }
    updateCommands();
}

void TfrmMain::cmdFitWindow()
{
    setPref("Cards_Fit_Window", command(QStringLiteral("mnuFitWindow"))->isChecked() ? "Y" : "N");
    applyTableSettings();
}

void TfrmMain::cmdAutoplay()
{
    m_session->stopTutor(true);
    m_session->setAutoplay(!m_session->autoplay());
    afterCommand();
}

void TfrmMain::cmdHint()
{
    hidePileSizePanel();
    m_table->finishAnimations();
    if (!m_session->flags().dealActive || m_session->paused() || m_game.rules.tutor() != 1 ||
        m_session->state().drag.carriedCard != 0)
        return;
    // The demo window closes first: the hint and the demo share the tutor.
    if (m_tutor)
        m_tutor->closeDemo();
    const engine::TutorStep step = m_session->hint(m_tutorRecord);
    if (!step.found()) {
        if (!step.message.empty())
            informationBox(this, boxText(step.message));
        return;
    }
    // The move is shown, not made: a pointer from the cards to their target (or at the stock) and
    // the rule panel of the status bar say what to do until the hint ends.
    m_panels[3]->setContent(QString::fromStdString(step.description));
    if (const auto arrow = hintArrow(step))
        m_table->setHintArrow(arrow->first, arrow->second);
    m_table->refresh();
}

void TfrmMain::cmdFullScreen() { setFullScreenMode(!m_fullScreen); }

void TfrmMain::cmdEscape()
{
    hidePileSizePanel();
    if (m_fullScreen)
        setFullScreenMode(false);
}

void TfrmMain::cmdStock()
{
    hidePileSizePanel();
    m_table->finishAnimations();
    if (m_table->paused() || !m_session->flags().dealActive)
        return;
    m_session->stockClick();
    afterCommand();
}

// ---- Help ----

void TfrmMain::cmdRules()
{
    const int id = m_game.currentGameId();
    if (id < 0)
        return;
    const QString name = QString::fromStdString(m_game.settings.get(col::GameName));
    std::vector<PileDescription> piles;
    if (m_game.rulesGameId == id) {
        engine::PlayOptions options;
        engine::GameState state = m_session->state();
        engine::Play play{m_game.rules, state, options, nullptr};
        std::vector<engine::PileRef> kinds;
        const engine::TableGeometry& g = m_table->tableGeometry();
        const engine::Table& table = state.table;
        for (engine::PileRef p : {engine::PileRef::stock(), engine::PileRef::waste(), engine::PileRef::secondWaste()})
            if (engine::cardPosition(g, table, p, 0).present())
                kinds.push_back(p);
        if (play.foundations() > 0)
            kinds.push_back(engine::PileRef::foundation(0));
        if (play.tableaus() > 0)
            kinds.push_back(engine::PileRef::tableau(0));
        if (play.reserves() > 0)
            kinds.push_back(engine::PileRef::reserve(0));
        for (engine::PileRef p : kinds) {
            const engine::PileInfo info = engine::pileInformation(play, p);
            if (!info.type.empty())
                piles.push_back({info.panel, info.description, info.redeal});
        }
    }
    if (!m_rules)
        m_rules = new RulesViewer(this);
    if (id >= catalog::kFirstCustomId) {
        showCustomGameRules(*m_rules, m_game, id, piles);
        return;
    }
    const std::vector<std::string> text = readGameRules(m_game.installFolder, id);
    m_rules->showPage(QStringLiteral("Rules [%1]").arg(name), rulesPage(name, text, piles));
}

void TfrmMain::cmdContents()
{
    if (!m_rules)
        m_rules = new RulesViewer(this);
    m_rules->showPage(QStringLiteral("Help"), helpOverviewPage());
}

void TfrmMain::cmdAbout()
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("About %1").arg(QString::fromLatin1(kProductTitle)),
                    QStringLiteral("%1 %2\n\nA collection of patience games.")
                        .arg(QString::fromLatin1(kProductTitle), QString::fromLatin1(kProductVersion)),
                    QMessageBox::Ok, this);
    applyDialogFont(&box);
    box.exec();
}

// ---- Toolbar pop-up ----

void TfrmMain::cmdLargeIcons()
{
    QAction* a = command(QStringLiteral("mnuLargeIcons"));
    const bool large = a->isChecked();
    m_toolBar->setIconSize(large ? QSize(24, 24) : QSize(16, 16));
    m_toolBar->setToolButtonStyle(large ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    a->setText(large ? QStringLiteral("Large icons") : QStringLiteral("Small icons"));
    // Save is a button of the small toolbar only.
    command(QStringLiteral("tbSave_Small"))->setVisible(!large);
    const std::string value = large ? "Y" : "N";
    if (pref("ToolBar_Large", "Y") != value)
        setPref("ToolBar_Large", value);
}

void TfrmMain::cmdShowTime() { setTimePanelShown(true, true); }

void TfrmMain::cmdShowScore() { setScorePanelShown(true, true); }

} // namespace cw::ui
