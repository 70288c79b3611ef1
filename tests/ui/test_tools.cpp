// The player's tools in the window: the card counter follows play, the views over the table and their end
// event, comments kept per game, the tip of the day, and where each tool sits in the menus.
#include "engine/rules_context.h"
#include "engine/session.h"

#include "tools/card_counter_window.h"
#include "tools/comments_dialog.h"
#include "tools/core/comment_files.h"
#include "tools/table_views.h"
#include "tools/tip_dialog.h"
#include "tools/tool_commands.h"
#include "ui/message_boxes.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QToolButton>

#include <filesystem>
#include <set>

#include "ui/window_fixture.h"

using namespace cw;
using namespace cw::ui;
using engine::PileRef;

namespace {

QAction* action(testing::WindowFixture& f, const char* name)
{
    return f.window->findChild<QAction*>(QString::fromLatin1(name));
}

tools::ToolCommands* commands(testing::WindowFixture& f) { return f.window->findChild<tools::ToolCommands*>(); }

// The counter's marks are those of a fresh look at the whole table.
bool counterMatchesTable(testing::WindowFixture& f)
{
    const tools::CardCounterModel& shown = commands(f)->cardCounter()->model();
    tools::CardCounterModel fresh;
    fresh.refresh(f.session().rules(), f.tableState(), shown.filter());
    for (int code = 1; code <= 208; ++code)
        if (fresh.mark(code) != shown.mark(code))
            return false;
    return true;
}

} // namespace

class TestTools : public QObject {
    Q_OBJECT

    std::vector<QString> m_boxes;

private slots:
    void init()
    {
        m_boxes.clear();
        setBoxAnswerHook([this](BoxKind, const QString& text) {
            m_boxes.push_back(text);
            return 0;
        });
    }
    void cleanup()
    {
        setBoxAnswerHook({});
        tools::setToolDialogHook({});
    }

    void menusKeysAndPopupEntries()
    {
        QTemporaryDir dir;
        testing::WindowFixture f;
        QVERIFY(f.open(dir.path()));
        QAction* counter = action(f, "mnuCardCounter");
        QVERIFY(counter && counter->shortcut() == QKeySequence(Qt::Key_F8));
        auto* tools = f.window->menuBar()->findChild<QMenu*>(QStringLiteral("mnuTools"));
        QVERIFY(tools && tools->title() == QStringLiteral("&Tools"));
        QVERIFY(tools->actions().contains(counter));
        QVERIFY(tools->actions().contains(action(f, "mnuComments")));
        QCOMPARE(action(f, "mnuComments")->text(), QStringLiteral("Co&mments..."));
        // The two views sit in the tutor menu beside "Show a legal &move".
        QAction* pilesInfo = action(f, "mnuShowPilesInfo");
        QVERIFY(pilesInfo && pilesInfo->text() == QStringLiteral("Show piles' info"));
        bool inTutor = false;
        for (QObject* o : pilesInfo->associatedObjects())
            if (auto* menu = qobject_cast<QMenu*>(o))
                inTutor = menu->title() == QStringLiteral("Tut&or") && menu->actions().contains(action(f, "mnuHint")) &&
                          menu->actions().contains(action(f, "mnuShowHiddenCards"));
        QVERIFY(inTutor);
        QCOMPARE(action(f, "mnuTipOfTheDay")->text(), QStringLiteral("&Tip of the Day..."));
        QAction* popup = action(f, "popCardCounter");
        QVERIFY(popup && popup->text().startsWith(QStringLiteral("Card counter")));

        // F8 opens and closes the counter and ticks both items. A stored place far off the screen is
        // brought back so that a third of the window shows.
        f.core.game->setPreference("CardCounter_Left", "5000");
        f.core.game->setPreference("CardCounter_Top", "4000");
        QTest::keyClick(f.window.get(), Qt::Key_F8);
        tools::CardCounterWindow* window = commands(f)->cardCounter();
        QVERIFY(window->isVisible());
        const QRect screen = f.window->screen()->availableGeometry();
        QVERIFY(window->x() + window->width() / 3 <= screen.right() + 1);
        QVERIFY(window->y() + window->height() / 3 <= screen.bottom() + 1);
        QVERIFY(counter->isChecked() && popup->isChecked());
        QCOMPARE(f.core.game->preference("CardCounter_Visible"), std::string("Y"));
        popup->trigger();
        QVERIFY(!commands(f)->cardCounter()->isVisible());
        QVERIFY(!counter->isChecked());
        QCOMPARE(f.core.game->preference("CardCounter_Visible"), std::string("N"));
        QCOMPARE(f.core.game->preference("CardCounter_Left"), std::to_string(window->x()));
    }

    void counterFollowsAMoveAndItsUndo()
    {
        QTemporaryDir dir;
        testing::WindowFixture f;
        QVERIFY(f.open(dir.path()));
        action(f, "mnuCardCounter")->trigger();
        tools::CardCounterWindow* counter = commands(f)->cardCounter();
        QVERIFY(counter->isVisible());
        QCOMPARE(counter->grid()->size(), QSize(200, 75)); // four rows for one deck
        // Count every pile: "&Tableau only" off.
        QAction* tableauOnly = counter->optionsMenu()->findChild<QAction*>(QStringLiteral("mnuCounterTableau"));
        QVERIFY(tableauOnly && tableauOnly->isChecked());
        tableauOnly->trigger();
        QCOMPARE(f.core.game->preference("CardCounter_Tableau"), std::string("N"));
        QVERIFY(counterMatchesTable(f));

        const int card = f.top(PileRef::stock());
        QVERIFY(card > 0);
        QCOMPARE(counter->grid()->cellPicture(card).endsWith(QStringLiteral("_Down_") +
                                                             QString(engine::isRed(card) ? "red" : "black")),
                 true);
        action(f, "keyStock")->trigger(); // Space: a click on the stock
        QVERIFY(f.tableState().waste().find(card) >= 0);
        QVERIFY(counter->grid()->cellPicture(card).contains(QStringLiteral("_Up_")));
        QVERIFY(counterMatchesTable(f));

        QVERIFY(action(f, "mnuUndo")->isEnabled());
        action(f, "mnuUndo")->trigger();
        QCOMPARE(f.top(PileRef::stock()), card);
        QVERIFY(counter->grid()->cellPicture(card).contains(QStringLiteral("_Down_")));
        QVERIFY(counterMatchesTable(f));

        // "&Stock only" unchecks nothing else here, and leaves every tableau card out of the count.
        QAction* stockOnly = counter->optionsMenu()->findChild<QAction*>(QStringLiteral("mnuCounterStock"));
        stockOnly->trigger();
        const int tableauCard = f.top(PileRef::tableau(6));
        QCOMPARE(counter->grid()->cellPicture(tableauCard), QStringLiteral("Card_None"));
        tableauOnly->trigger();
        QVERIFY(tableauOnly->isChecked() && !stockOnly->isChecked());
        QCOMPARE(counter->grid()->cellPicture(card), QStringLiteral("Card_None"));

        // Pointing at a face-up tableau card highlights it on the table; a face-down one does not.
        const QPoint cell(tools::counter_grid::cellX(engine::rank(tableauCard)) + 5,
                          tools::counter_grid::rowY(tools::counter_grid::rowOf(tableauCard)) + 5);
        auto pointAt = [&](QPoint at) {
            QMouseEvent move(QEvent::MouseMove, at, counter->grid()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(counter->grid(), &move);
        };
        pointAt(cell);
        QCOMPARE(counter->highlightedCard(), tableauCard);
        const int hiddenCard = f.session().state().table.tableau(6)[0];
        pointAt(QPoint(tools::counter_grid::cellX(engine::rank(hiddenCard)) + 5,
                       tools::counter_grid::rowY(tools::counter_grid::rowOf(hiddenCard)) + 5));
        QCOMPARE(counter->highlightedCard(), 0);
        counter->grab().save(testing::artifactsDir() + QStringLiteral("/card_counter.png"));
    }

    void hiddenCardsViewFramesTheFaceDownCardsAndTheNextClickLiftsNoCard()
    {
        QTemporaryDir dir;
        testing::WindowFixture f;
        QVERIFY(f.open(dir.path()));
        tools::TableViews* views = commands(f)->views();
        const engine::Table before = f.tableState();
        action(f, "mnuShowHiddenCards")->trigger();
        QCOMPARE(views->shown(), tools::TableView::HiddenCards);
        QVERIFY(m_boxes.empty());
        std::set<int> framed;
        for (const auto& [pile, index] : views->framedCards())
            framed.insert(f.tableState().pile(pile)[static_cast<std::size_t>(index)]);
        std::set<int> hidden;
        for (int position = 0; position < engine::kTablePiles; ++position)
            for (int code : f.tableState().pile(engine::pileAtTableOrder(position)))
                if (code != 0 && f.tableState().isFaceDown(code))
                    hidden.insert(code);
        QCOMPARE(framed, hidden);
        QCOMPARE(static_cast<int>(hidden.size()), 21 + 24); // Klondike: under the tableau, and the stock
        f.shoot(QStringLiteral("hidden_cards_view.png"));

        // The click that ends the view lifts nothing.
        const QPoint top = f.centreOf(PileRef::tableau(6), 6);
        QTest::mousePress(f.table(), Qt::LeftButton, {}, top);
        QCOMPARE(views->shown(), tools::TableView::None);
        QCOMPARE(f.session().state().drag.carriedCard, 0);
        QTest::mouseRelease(f.table(), Qt::LeftButton, {}, top);
        QVERIFY(f.tableState() == before);
        QCoreApplication::processEvents();
        // The table takes clicks again.
        QTest::mousePress(f.table(), Qt::LeftButton, {}, top);
        QVERIFY(f.session().state().drag.carriedCard != 0);
        QTest::mouseRelease(f.table(), Qt::LeftButton, {}, top);
    }

    void pilesInfoLabelsEveryPileAndAKeyEndsIt()
    {
        QTemporaryDir dir;
        testing::WindowFixture f;
        QVERIFY(f.open(dir.path()));
        tools::TableViews* views = commands(f)->views();
        action(f, "mnuShowPilesInfo")->trigger();
        QCOMPARE(views->shown(), tools::TableView::PilesInfo);
        const auto& labels = views->labels();
        QCOMPARE(static_cast<int>(labels.size()), 7 + 4 + 2); // tableau, foundations, stock and waste
        const bool small = f.table()->shownCardWidth() <= 70;
        QCOMPARE(labels[0].kind, std::string(small ? "Tabl." : "Tableau"));
        QCOMPARE(labels[0].count, std::string("1 card"));
        QCOMPARE(labels[6].count, std::string("7 cards"));
        QCOMPARE(labels[7].kind, std::string("Found."));
        QCOMPARE(labels[7].count, std::string("0 cards"));
        QCOMPARE(labels[12].kind, std::string("Waste"));
        f.shoot(QStringLiteral("piles_info_view.png"));
        // A key ends the view and runs no command: F2 would deal a new game.
        const std::string number = f.session().state().gameNumber;
        QTest::keyClick(f.window.get(), Qt::Key_F2);
        QCOMPARE(views->shown(), tools::TableView::None);
        QCOMPARE(f.session().state().gameNumber, number);
        QVERIFY(f.sink.records.empty());
    }

    void hiddenCardsViewOfAnOpenGameSaysSo()
    {
        QTemporaryDir dir;
        testing::WindowFixture f;
        QVERIFY(f.open(dir.path()));
        QVERIFY(f.session().startGame(1)); // FreeCell: every card face up
        m_boxes.clear();
        action(f, "mnuShowHiddenCards")->trigger();
        QCOMPARE(m_boxes.size(), std::size_t(1));
        QCOMPARE(m_boxes[0], QStringLiteral("No hidden cards to show."));
        QVERIFY(commands(f)->views()->framedCards().empty());
        QTest::mouseClick(f.window->menuBar(), Qt::LeftButton);
        QCOMPARE(commands(f)->views()->shown(), tools::TableView::None);
    }

    void commentIsKeptMarkedFoundAgainAndDeleted()
    {
        QTemporaryDir dir;
        testing::WindowFixture f;
        QVERIFY(f.open(dir.path()));
        const QString data = QString::fromStdString(f.core.game->dataFolder);
        const QString klondike = QString::fromStdString(f.core.game->gameName(0));
        int runs = 0;
        tools::setToolDialogHook([&](QDialog& d) {
            auto& dialog = static_cast<tools::CommentsDialog&>(d);
            ++runs;
            if (runs == 1) {
                QCOMPARE(dialog.windowTitle(), QStringLiteral(" Comments"));
                QCOMPARE(dialog.editedGame(), klondike);
                QVERIFY(dialog.insertGameNumberButton()->isEnabled());
                QVERIFY(!dialog.markedAsCommented(dialog.gameBox()->currentIndex()));
                dialog.boldButton()->click();
                QVERIFY(dialog.boldButton()->isChecked());
                dialog.editor()->insertPlainText(QStringLiteral("Start with the aces"));
                dialog.insertPlayerName();
                dialog.insertGameNumber();
                // The style buttons follow the caret: back into the bold words.
                QTextCursor c = dialog.editor()->textCursor();
                c.setPosition(3);
                dialog.editor()->setTextCursor(c);
                QVERIFY(dialog.boldButton()->isChecked());
                c.movePosition(QTextCursor::End);
                dialog.editor()->setTextCursor(c);
                QVERIFY(!dialog.boldButton()->isChecked());
                dialog.grab().save(testing::artifactsDir() + QStringLiteral("/comments_dialog.png"));
                // Another game: the comment is saved first and the game gets its mark.
                const int klondikeIndex = dialog.gameBox()->currentIndex();
                dialog.gameBox()->setCurrentIndex(klondikeIndex == 0 ? 1 : 0);
                QVERIFY(dialog.markedAsCommented(klondikeIndex));
                QVERIFY(dialog.editor()->document()->isEmpty());
                QVERIFY(!dialog.insertGameNumberButton()->isEnabled());
                dialog.accept();
            } else if (runs == 2) {
                // Found again when the dialog opens next time.
                QCOMPARE(dialog.editedGame(), klondike);
                const QString text = dialog.editor()->toPlainText();
                QVERIFY(text.startsWith(QStringLiteral("Start with the aces\n[Player: ")));
                QVERIFY(text.endsWith(QStringLiteral("[Game number = 12345]")));
                dialog.clearComment();
                QCOMPARE(m_boxes.back(), QStringLiteral("Delete all comments for the game: %1?").arg(klondike));
                dialog.accept();
            }
        });
        action(f, "mnuComments")->trigger();
        const QString file = data + QString::fromStdString(tools::commentFileName(klondike.toStdString()));
        QVERIFY(QFile::exists(file));
        QFile rtf(file);
        QVERIFY(rtf.open(QIODevice::ReadOnly));
        const QByteArray bytes = rtf.readAll();
        QVERIFY(bytes.startsWith("{\\rtf1"));
        QVERIFY(bytes.contains("{\\b Start with the aces}\\par\r\n"));
        action(f, "mnuComments")->trigger();
        QCOMPARE(runs, 2);
        QVERIFY(!QFile::exists(file));
    }

    void noGameInProgressKeepsInsertGameNumberOff()
    {
        QTemporaryDir dir;
        tools::CommentsContext context;
        context.dataFolder = QDir(dir.path()).absolutePath().toStdString() + "/";
        context.gameNames = {"Aces Up", "Klondike"};
        context.currentGameName = "Klondike";
        context.gameInProgress = false;
        tools::CommentsDialog dialog(context, PictureLibrary::instance());
        QCOMPARE(dialog.editedGame(), QStringLiteral("Klondike"));
        QVERIFY(!dialog.insertGameNumberButton()->isEnabled());
        dialog.gameBox()->setCurrentIndex(0);
        QVERIFY(!dialog.insertGameNumberButton()->isEnabled());
        // A game never commented leaves no file behind.
        dialog.accept();
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }

    void tipOfTheDayStepsAndRemembers()
    {
        QTemporaryDir dir;
        testing::WindowFixture f;
        QVERIFY(f.open(dir.path()));
        engine::TMainGame& game = *f.core.game;
        {
            tools::TipDialog first(game);
            QCOMPARE(first.tip(), 1); // no saved number yet
            QVERIFY(!first.startupBox()->isChecked());
            first.previousTip();
            first.previousTip();
            QCOMPARE(first.tip(), 27);
            first.nextTip();
            QCOMPARE(first.tip(), 0);
            for (int i = 0; i < 5; ++i)
                first.nextTip();
            first.startupBox()->setChecked(true);
            first.accept();
        }
        QCOMPARE(game.preference("Tips_Num"), std::string("5"));
        QCOMPARE(game.preference("Tips_StartUp"), std::string("Y"));
        tools::TipDialog second(game);
        QCOMPARE(second.tip(), 6);
        QVERIFY(second.tipText().contains(QStringLiteral("F8")));
        QVERIFY(second.startupBox()->isChecked());
        second.grab().save(testing::artifactsDir() + QStringLiteral("/tip_of_the_day.png"));
        second.reject();
        game.setPreference("Tips_Num", "27");
        QCOMPARE(tools::TipDialog(game).tip(), 0);

        // With "Tips_StartUp" on, the next start shows the tip at the first activation.
        int shown = 0;
        tools::setToolDialogHook([&](QDialog& d) {
            shown += d.objectName() == QStringLiteral("frmTips");
            d.reject();
        });
        testing::WindowFixture again;
        again.core.store.set(storage::col::GameId, "0000");
        QVERIFY(again.open(dir.path()));
        QCOMPARE(shown, 1);
    }
};

QTEST_MAIN(TestTools)
#include "test_tools.moc"
