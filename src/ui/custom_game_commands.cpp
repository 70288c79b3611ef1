// The custom games in the game window: the Rules Wizard command, deleting a custom game with all it owns, its rules help.
#include "engine/session.h"

#include "ui/custom_game_commands.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include <filesystem>

#include "catalog/custom_games.h"
#include "catalog/custom_rules.h"
#include "catalog/favorites.h"
#include "catalog/last_played.h"
#include "stats/clearing.h"
#include "stats/game_stats.h"
#include "stats/hi_scores.h"
#include "tools/core/comment_files.h"
#include "storage/fixed_width.h"
#include "storage/ini_file.h"
#include "storage/safe_file.h"
#include "storage/settings_store.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/open_game_dialog_commands.h"
#include "ui/rules_wizard.h"

namespace cw::ui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }
QString esc(const std::string& s) { return qs(s).toHtmlEscaped(); }

// The Tools menu, made before "&Help" by whichever command needs it first.
QMenu* toolsMenu(QMenuBar* bar)
{
    QAction* help = nullptr;
    for (QAction* a : bar->actions()) {
        if (!a->menu())
            continue;
        if (a->text() == QStringLiteral("&Tools"))
            return a->menu();
        if (a->text() == QStringLiteral("&Help"))
            help = a;
    }
    auto* tools = new QMenu(QStringLiteral("&Tools"), bar);
    tools->setObjectName(QStringLiteral("mnuTools"));
    bar->insertMenu(help, tools);
    return tools;
}

constexpr int kFromChooser = 1;
constexpr int kFromWizard = 2;

} // namespace

CustomGameCommands::CustomGameCommands(TfrmMain& window, engine::TMainGame& game, const PictureLibrary& library)
    : QObject(&window), m_window(window), m_game(game), m_library(library)
{
    setObjectName(QStringLiteral("CustomGameCommands"));
    addMenu();
}

void CustomGameCommands::addMenu()
{
    auto* wizard = new QAction(QStringLiteral("&Rules Wizard..."), &m_window);
    wizard->setObjectName(QStringLiteral("mnuRulesWizard"));
    wizard->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(wizard, &QAction::triggered, this, [this] { showRulesWizard(); });
    m_window.addAction(wizard); // the key works in full screen too
    toolsMenu(m_window.menuBar())->addAction(wizard);
}

TfrmWizardRules* CustomGameCommands::wizard() const { return m_wizard; }

void CustomGameCommands::showRulesWizard()
{
    if (m_wizard)
        return;
    TfrmWizardRules dlg(m_game, m_library, m_window.table()->settings(), m_window.table()->size(), &m_window);
    dlg.setDeleteGame([this](int id) { return deleteCustomGame(id, kFromWizard); });
    m_wizard = &dlg;
    const int result = dlg.exec();
    m_wizard = nullptr;
    m_window.table()->refresh();
    if (dlg.deletedGame()) {
        // The game is gone: the player picks another.
        if (auto* chooser = m_window.findChild<ChooserCommands*>())
            chooser->openGameDialog();
        return;
    }
    if (result != QDialog::Accepted || dlg.savedGameId() < 0)
        return;
    const int id = dlg.savedGameId();
    stats::resetSessionCounters(m_game.settings);
    customGamesChanged();
    engine::Session& session = m_window.session();
    if (session.flags().dealActive && !session.flags().gameWon) {
        if (!yesNoBox(&m_window, QStringLiteral("Do you want to start the new game\n%1\nnow and quit the current game?")
                                     .arg(dlg.savedName())))
            return; // kept for later, in the "Customized games" folder
        session.endGame();
    }
    session.startGame(id, m_game.player(), engine::NumberMode::Fresh, true);
}

bool CustomGameCommands::deleteCustomGame(int id, int origin)
{
    const std::string name = m_game.gameName(id);
    if (id < catalog::kFirstCustomId || name.empty())
        return false;
    const bool current = id == m_game.currentGameId();
    const QString note = QStringLiteral("\nNote: the statistics for this game will also be deleted.");
    const QString question =
        (!current || origin == kFromWizard)
            ? QStringLiteral("Are you sure you want to delete this customized game\n%1?").arg(qs(name)) + note
            : QStringLiteral("You are now playing %1.\nAre you sure you want to delete this game?").arg(qs(name)) +
                  note;
    QWidget* parent = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : &m_window;
    if (!yesNoBox(parent, question, true))
        return false;

    // The record first: when the file cannot be written nothing else is touched.
    auto removed = catalog::RemoveCustomGame(m_game.dataFolder, id);
    if (!removed) {
        informationBox(parent, qs(removed.error()));
        return false;
    }
    if (current)
        m_window.session().clearCurrentGame();

    // What belongs to the game: each step runs even when an earlier one could not write its file.
    QStringList errors;
    if (storage::IniFile* ini = m_game.settingsFile) {
        try {
            catalog::RemoveFavoriteGame(*ini, id);
            const std::string autoplayKey = "Cust_" + storage::fixedNumber(id, 4);
            if (ini->hasKey("Autoplay", autoplayKey))
                ini->deleteKey("Autoplay", autoplayKey);
            catalog::RemoveLastPlayedGame(*ini, id);
            catalog::ForgetMeasuredChance(*ini, id);
        } catch (const storage::FileError& e) {
            errors << qs(e.what());
        }
    }
    stats::StatsContext ctx;
    ctx.dataFolder = m_game.dataFolder;
    ctx.settings = &m_game.settings;
    try {
        stats::clearStatistics(ctx, id, stats::kAllPlayers);
        std::string code = storage::rtrim(m_game.settings.get(storage::col::ScoringCode));
        stats::blankHiScores(ctx, id, code.empty() ? "01" : code);
    } catch (const storage::FileError& e) {
        errors << qs(e.what());
    }
    stats::resetSessionCounters(m_game.settings);
    std::error_code ec;
    // The comments are kept under a file name made safe from the game's name.
    const std::string comments = tools::CommentFiles(m_game.dataFolder).existingPath(name);
    if (!comments.empty() && !std::filesystem::remove(comments, ec))
        errors << qs(storage::deleteErrorMessage(comments));
    if (!errors.isEmpty())
        informationBox(parent, errors.join(QLatin1Char('\n')));

    customGamesChanged();
    return true;
}

void CustomGameCommands::customGamesChanged()
{
    m_game.reloadCustomGames();
    if (auto* chooser = m_window.findChild<ChooserCommands*>()) {
        if (TfrmOpenGame* dialog = chooser->existingDialog())
            dialog->customGamesChanged();
        chooser->buildFavoritesMenu();
        chooser->refreshFastSearch();
    }
}

void CustomGameCommands::reportSkippedRecords()
{
    if (m_game.customGamesSkipped.empty())
        return;
    const std::string path = catalog::CustomGamesFilePath(m_game.dataFolder).string();
    informationBox(&m_window, qs(catalog::SkippedCustomGamesMessage(path, m_game.customGamesSkipped)));
    m_game.customGamesSkipped.clear();
}

CustomGameCommands* installCustomGameCommands(TfrmMain& window, engine::TMainGame& game, const PictureLibrary& library)
{
    if (auto* existing = window.findChild<CustomGameCommands*>())
        return existing;
    return new CustomGameCommands(window, game, library);
}

// ---- The rules help of a custom game ----

QString customGameRulesPage(const engine::TMainGame& game, int id, const std::vector<PileDescription>& piles)
{
    const catalog::CustomGame* custom = catalog::FindCustomGame(game.customGames, id);
    const std::string name = game.gameName(id);
    if (!custom)
        return rulesPage(qs(name), {}, piles);
    const std::string baseName = game.gameName(custom->baseId);
    auto base = game.loadRules(custom->baseId);
    auto rules = game.loadRules(id);
    QString html = QStringLiteral("<h2>%1</h2>").arg(esc(name));
    html += QStringLiteral("<p>Customized game.</p>");
    html += QStringLiteral("<p>This game comes from: <b>%1</b></p>").arg(esc(baseName));
    html += QStringLiteral("<p>Click this button to view %1 rules &nbsp;<a href='rules:%2'>[&nbsp;Rules&nbsp;]</a></p>")
                .arg(esc(baseName))
                .arg(custom->baseId);
    if (base && rules) {
        html += QStringLiteral("<table cellspacing='0' cellpadding='4' border='1'>"
                               "<tr><th></th><th>%1</th><th>%2</th></tr>")
                    .arg(esc(name), esc(baseName));
        for (const catalog::RuleComparisonRow& r : catalog::CompareWithBaseGame(*base, *rules)) {
            const bool changed = r.custom != r.base;
            html += QStringLiteral("<tr><td>%1</td><td>%2%3%4</td><td>%5</td></tr>")
                        .arg(esc(r.label), changed ? QStringLiteral("<b>") : QString(), esc(r.custom),
                             changed ? QStringLiteral("</b>") : QString(), esc(r.base));
        }
        html += QStringLiteral("</table>");
    }
    if (custom->chanceSample > 0)
        html += QStringLiteral("<p>When the game was made, the solver won %1 of %2 deals of it.</p>")
                    .arg(custom->chanceWon)
                    .arg(custom->chanceSample);
    if (!piles.empty()) {
        // The piles part of the ordinary page, without its title and rules text.
        QString pilesHtml = rulesPage(QString(), {std::string()}, piles);
        const int at = pilesHtml.indexOf(QStringLiteral("<h3>"));
        if (at >= 0)
            html += pilesHtml.mid(at);
    }
    return html;
}

void showCustomGameRules(RulesViewer& viewer, const engine::TMainGame& game, int id,
                         const std::vector<PileDescription>& piles)
{
    const engine::TMainGame* g = &game;
    RulesViewer* v = &viewer;
    viewer.showPage(QStringLiteral("Help [%1]").arg(qs(game.gameName(id))), customGameRulesPage(game, id, piles),
                    [g, v](const QString& link) {
                        if (!link.startsWith(QStringLiteral("rules:")))
                            return;
                        const int base = link.mid(6).toInt();
                        const QString baseName = qs(g->gameName(base));
                        v->showPage(QStringLiteral("Rules [%1]").arg(baseName),
                                    rulesPage(baseName, readGameRules(g->installFolder, base), {}));
                    });
}

} // namespace cw::ui
