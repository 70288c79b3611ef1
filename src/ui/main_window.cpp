// TfrmMain: the game window — table, menus, toolbar, status bar, keyboard and mouse, start and close.
#include "engine/rules_context.h"
#include "engine/session.h"

#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

#include "catalog/game_list.h"
#include "engine/card_size.h"
#include "engine/layout.h"
#include "storage/ini_file.h"
#include "storage/messages.h"
#include "storage/preferences.h"
#include "tools/tool_commands.h"
#include "ui/animation_input.h"
#include "ui/custom_game_commands.h"
#include "ui/customize_commands.h"
#include "ui/family_panels.h"
#include "ui/fast_search.h"
#include "ui/keyboard_play.h"
#include "ui/look_settings.h"
#include "ui/main_window_host.h"
#include "ui/message_boxes.h"
#include "ui/open_game_dialog_commands.h"
#include "ui/picture_library.h"
#include "ui/rules_viewer.h"
#include "ui/series_commands.h"
#include "ui/sounds.h"
#include "ui/stats_commands.h"
#include "ui/tutor_commands.h"
#include "ui/two_players_dialog.h"

namespace cw::ui {

namespace col = storage::col;

TfrmMain::TfrmMain(engine::TMainGame& game, const PictureLibrary& library, engine::GameEndSink* sink,
                   engine::SessionOptions options, QWidget* parent)
    : QMainWindow(parent), m_game(game), m_library(library)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(kProductTitle));
    m_host = std::make_unique<WindowHost>(*this);
    // "Winnable deals only" draws its candidate numbers from the same source and hands the chosen
    // one to the next fresh deal.
    std::function<std::string()> freshNumbers = std::move(options.freshGameNumber);
    options.freshGameNumber = [this] { return m_tutor->freshNumber(); };
    m_session = std::make_unique<engine::Session>(game, *m_host, sink, std::move(options));
    m_session->setTutorRecord(&m_tutorRecord);
    m_tutor = new TutorCommands(*this, game, m_tutorRecord, std::move(freshNumbers));
    m_boxes = std::make_unique<QtMessageBoxes>(this);

    m_table = new TableWidget(library, this);
    m_table->setObjectName(QStringLiteral("table"));
    m_table->setController(this);
    m_table->setMouseTracking(true);
    m_table->setFocusPolicy(Qt::StrongFocus);
    m_table->installEventFilter(this);
    setCentralWidget(m_table);
    connect(m_table, &TableWidget::pauseEnded, this, [this] {
        if (m_session->paused())
            cmdPause();
    });
    connect(m_table, &TableWidget::dragStarted, this, [this] { m_table->setCursor(Qt::ClosedHandCursor); });

    createActions();
    createMenus();
    m_keyboard = new KeyboardPlay(*this);
    installChooserCommands(*this, m_game, m_library);
    installCustomGameCommands(*this, m_game, m_library);
    installStatsCommands(*this, m_game);
    installSeriesCommands(*this, m_game);
    installTwoPlayersCommands(*this, m_game);
    installFamilyPanels(*this);
    tools::installToolCommands(*this, m_game, m_library);
    createToolBar();
    installCustomizeCommands(*this, m_game, m_library);
    createStatusBar();
    m_tutor->install();
    finishAnimationsBeforeCommands(*this, *m_table);
    // The table's pictures are prepared at the first deal, for the card size that game needs.
    showClock(QStringLiteral("0:00:00"));
    showScore(0);
    updateCommands();

    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &TfrmMain::onTick);
    m_timer->start();
    m_ticks.start();
}

TfrmMain::~TfrmMain()
{
    m_tutor->shutdown();
    m_table->setController(nullptr);
    m_table->setGame(nullptr, nullptr);
}

// ---- Preferences ----

std::string TfrmMain::pref(const char* key, const char* def) const
{
    if (!m_game.settingsFile)
        return def;
    return m_game.settingsFile->readString(storage::kPreferenceSection, key, def);
}

void TfrmMain::setPref(const char* key, const std::string& value)
{
    if (m_game.settingsFile)
        m_game.settingsFile->writeString(storage::kPreferenceSection, key, value);
}

// ---- Table settings ----

engine::CardSize TfrmMain::cardSizeForScreen() const
{
    const std::string letter = m_game.settings.get(col::CardSize);
    engine::CardSize chosen = engine::CardSize::B;
    if (!letter.empty())
        chosen = engine::cardSizeFromLetter(letter[0]).value_or(engine::CardSize::B);
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    if (m_game.rulesGameId < 0)
        return chosen;
    engine::CardSize size = engine::forceCardSizeForScreen(chosen, room.width(), m_game.rules.screenClass()).size;
    // Larger sizes come first in the enumeration: step down until the game fits the screen.
    while (size != engine::CardSize::L && !engine::fitsIn(m_game.rules, room.width(), room.height(), size, nullptr))
        size = static_cast<engine::CardSize>(static_cast<int>(size) + 1);
    return size;
}

void TfrmMain::applyTableSettings()
{
    TableSettings t = m_table->settings();
    // By default the cards follow the window, drawn from the standard size at the fitting scale;
    // a fixed size is the player's own choice.
    t.fitWindow = pref("Cards_Fit_Window", "Y") != "N";
    t.cardSize = t.fitWindow ? engine::CardSize::B : cardSizeForScreen();
    if (QAction* fit = command(QStringLiteral("mnuFitWindow")))
        fit->setChecked(t.fitWindow);
    applyTablePreferences(t, m_game);
    applyPlayerLook(t, m_game, this);
    // Every change rebuilds the table's pictures: only a real change is handed over.
    if (t != m_table->settings() || !m_tableSettingsApplied)
        m_table->setSettings(t);
    m_tableSettingsApplied = true;
}

void TfrmMain::preferencesChanged()
{
    const storage::SettingsStore& s = m_game.settings;
    setTimePanelShown(s.get(col::ShowTime) != "N", false);
    setScorePanelShown(s.get(col::ShowScore) != "N", false);
    if (QAction* large = command(QStringLiteral("mnuLargeIcons"))) {
        large->setChecked(pref("ToolBar_Large", "Y") == "Y");
        cmdLargeIcons();
    }
    const bool statusShown = pref("Statusbar", "Y") != "N";
    if (m_fullScreen)
        m_statusBarWasVisible = statusShown;
    else
        statusBar()->setVisible(statusShown);
    m_session->preferencesChanged();
    applyTableSettings();
    updateCommands();
}

// ---- Host requests ----

void TfrmMain::newDealShown()
{
    if (auto* customize = findChild<CustomizeCommands*>())
        customize->newDealStarted();
    applyTableSettings();
    if (m_keyboard)
        m_keyboard->hide();
    m_table->setGame(&m_game.rules, &m_session->state(), true);
    m_table->refresh();
    refreshTitle();
    showScore(m_session->score());
    clearStatus();
    updateCommands();
    if (auto* chooser = findChild<ChooserCommands*>())
        chooser->newDealStarted();
}

void TfrmMain::playSound(const QString& name)
{
    // The audio back end takes a while to start: only the first sound pays for it.
    if (!m_sounds)
        m_sounds = std::make_unique<SoundPlayer>(m_library);
    m_sounds->play(name);
}

void TfrmMain::showPause(bool on)
{
    m_table->showPause(on);
    if (QAction* a = command(QStringLiteral("mnuPause")))
        a->setChecked(on);
}

void TfrmMain::showScore(int score)
{
    m_scoreLabel->setText(QString::number(score));
}

void TfrmMain::showClock(const QString& label)
{
    m_timeLabel->setText(label);
}

// ---- Title ----

void TfrmMain::refreshTitle()
{
    const storage::SettingsStore& s = m_game.settings;
    QString title = QString::fromLatin1(kProductTitle) + QLatin1Char(' ') + QString::fromLatin1(kProductVersion) +
                    QLatin1Char(' ');
    title += QStringLiteral(" [") + QString::fromStdString(s.get(col::GameName)).left(50) + QLatin1Char(']');
    title += QStringLiteral("  [") + QString::fromStdString(s.get(col::Player)).left(30) + QLatin1Char(']');
    const std::string number = s.get(col::GameNumber);
    if (!number.empty())
        title += QStringLiteral("  [") + QString::fromStdString(number) + QLatin1Char(']');
    if (windowTitle() != title)
        setWindowTitle(title);
}

// ---- Window state ----

void TfrmMain::restoreWindowState()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    auto number = [&](const char* key, int def) {
        return m_game.settingsFile ? m_game.settingsFile->readInteger(storage::kPreferenceSection, key, def) : def;
    };
    const int left = number("MainWindowState_Left", 50);
    const int top = number("MainWindowState_Top", 50);
    const int width = std::max(320, number("MainWindowState_Width", avail.width() - 150));
    const int height = std::max(240, number("MainWindowState_Height", avail.height() - 150));
    const QRect place = clampToScreen(QRect(left, top, width, height), avail);
    resize(place.size());
    move(place.topLeft());
    if (pref("MainWindowState_Maximized", "Y") == "Y")
        setWindowState(windowState() | Qt::WindowMaximized);
    if (pref("Full_Screen", "N") == "Y")
        QTimer::singleShot(0, this, [this] { setFullScreenMode(true); });
}

QRect clampToScreen(const QRect& wanted, const QRect& available)
{
    if (available.isEmpty())
        return wanted;
    const QSize size = wanted.size().boundedTo(available.size());
    const int x = std::clamp(wanted.x(), available.left(), available.left() + available.width() - size.width());
    const int y = std::clamp(wanted.y(), available.top(), available.top() + available.height() - size.height());
    return QRect(QPoint(x, y), size);
}

void TfrmMain::writeWindowState()
{
    if (!m_game.settingsFile)
        return;
    // One write of the settings file for all of them.
    m_game.settingsFile->update([&] {
        const bool maximized = m_fullScreen ? m_wasMaximized : isMaximized();
        setPref("MainWindowState_Maximized", maximized ? "Y" : "N");
        if (!maximized && !m_fullScreen) {
            const QRect g = normalGeometry();
            setPref("MainWindowState_Left", std::to_string(g.x()));
            setPref("MainWindowState_Top", std::to_string(g.y()));
            setPref("MainWindowState_Width", std::to_string(g.width()));
            setPref("MainWindowState_Height", std::to_string(g.height()));
        }
        setPref("Full_Screen", m_fullScreen ? "Y" : "N");
    });
}

void TfrmMain::setFullScreenMode(bool on)
{
    if (on == m_fullScreen)
        return;
    m_fullScreen = on;
    if (QAction* a = command(QStringLiteral("mnuFullScreen")))
        a->setChecked(on);
    if (QAction* a = command(QStringLiteral("tbRestore")))
        a->setVisible(on);
    if (on) {
        m_wasMaximized = isMaximized();
        m_statusBarWasVisible = statusBar()->isVisible();
        menuBar()->hide();
        statusBar()->hide();
        showFullScreen();
        raise();
        activateWindow();
        if (m_game.settingsFile)
            storage::confirmOnce(*m_boxes, *m_game.settingsFile,
                                 "To turn off full-screen mode and switch to the regular view, press F11 or Esc.",
                                 storage::msgkey::FullScreenHelp, false);
    } else {
        menuBar()->show();
        statusBar()->setVisible(m_statusBarWasVisible);
        if (m_wasMaximized)
            showMaximized();
        else
            showNormal();
        raise();
        activateWindow();
    }
    m_table->relayout();
}

// ---- First activation ----

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    m_table->setFocus(); // the keys of keyboard play go to the table
    if (m_session->flags().firstActivationPending)
        QTimer::singleShot(0, this, &TfrmMain::firstActivation);
}

void TfrmMain::firstActivation()
{
    if (!m_session->takeFirstActivation())
        return;
    finishAnimationsBeforeCommands(*this, *m_table); // the commands added since
    refreshTitle();
    if (auto* custom = findChild<CustomGameCommands*>())
        custom->reportSkippedRecords();
    if (auto* toolCommands = findChild<tools::ToolCommands*>())
        toolCommands->firstActivation();
    auto* series = findChild<SeriesCommands*>();
    if (m_session->resumeHeldGame()) {
        if (series)
            series->resumeAtStartup(true);
        updateCommands();
        return;
    }
    // A series of the last run goes on with its next game.
    if (series && series->resumeAtStartup(false)) {
        updateCommands();
        return;
    }
    // The player picks the first game; the start-up game is dealt when the chooser is cancelled.
    if (m_chooserAtStartup)
        if (auto* chooser = findChild<ChooserCommands*>()) {
            if (!m_tableSettingsApplied)
                applyTableSettings();
            chooser->openGameDialog();
        }
    // The start-up game: the stored game, else the first game of the catalog (id 0, Klondike).
    int id = catalog::StartupGameId(m_game.gameList, m_game.customGames, m_game.currentGameId());
    if (!m_game.knowsGame(id))
        id = m_game.knowsGame(0) ? 0 : (m_game.gameList.empty() ? -1 : m_game.gameList.entries().front().id);
    if (id >= 0 && !m_session->flags().dealActive)
        m_session->startGame(id, m_game.player(), engine::NumberMode::Fresh, true);
    if (!m_tableSettingsApplied)
        applyTableSettings();
    updateCommands();
}

// ---- Close query ----

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (m_closeAllowed || queryClose()) {
        m_closeAllowed = true;
        m_timer->stop();
        m_tutor->shutdown();
        if (m_rules)
            m_rules->hide();
        event->accept();
        return;
    }
    event->ignore();
}

bool TfrmMain::queryClose()
{
    if (m_session->state().tutorMode != 0) {
        m_session->stopTutor(true);
        m_table->refresh();
        return false;
    }
    // Closing ends the animations; the boxes and sounds waiting for them are not shown.
    m_table->animations().drop();
    const engine::TableFlags& flags = m_session->flags();
    bool allowed = true;
    if (pref("ConfirmQuit", "N") != "N")
        allowed = confirmBox(this, QStringLiteral("Exit %1?").arg(QString::fromLatin1(kProductTitle)));
    QAction* hold = command(QStringLiteral("mnuHoldAndExit"));
    if (allowed && flags.dealActive && hold && hold->isEnabled()) {
        const bool ask = flags.holdRequested || pref("ConfirmSaveAndExit", "N") == "Y";
        if (ask) {
            switch (holdDialog(this)) {
            case HoldChoice::Hold: allowed = m_session->holdAndExit(); break;
            case HoldChoice::PostLoss: break; // the end of game below records the loss
            case HoldChoice::Cancel: allowed = false; break;
            }
        } else if (m_game.settingsFile &&
                   m_game.settingsFile->readInteger(storage::kPreferenceSection, "ConfirmSaveAndExitType", 0) == 1) {
            allowed = m_session->holdAndExit();
        }
    }
    if (!allowed) {
        m_session->clearHoldRequest();
        return false;
    }
    // Closing: an unfinished game counts as lost; a held game has already ended without a record.
    // The game's records come before the window's own settings: a settings file that cannot be
    // written must not cost the game.
    m_session->endGame();
    writeWindowState();
    if (m_game.settingsFile) {
        m_game.settingsFile->update([&] {
            if (m_game.preferences.autoPlayAllGames == 1)
                setPref("AutoPlay", m_session->autoplay() ? "Y" : "N");
            m_game.settingsFile->writeInteger(storage::kSettingsSection, "Random_Game_Type",
                                              m_game.preferences.randomGameType);
        });
    }
    return true;
}

} // namespace cw::ui
