// Tests of the special families' panels beside the table and their end-of-game windows.
#include "engine/session.h"
#include "ui/family_panels.h"
#include "ui/game_won_dialog.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/stats_commands.h"
#include "ui/window_fixture.h"

#include <QDialog>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using namespace cw;
using namespace cw::ui;
using engine::PileRef;

namespace {

using Fixture = cw::ui::testing::WindowFixture;

QString labelText(QWidget* root, const QString& name)
{
    auto* label = root->findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<none>");
}

} // namespace

class TestFamilyPanels : public QObject {
    Q_OBJECT

private slots:
    // Boxes answer OK at once (switching games asks to quit the one in progress).
    void init()
    {
        setBoxAnswerHook([](BoxKind, const QString&) { return 0; });
        setEndOfGameDialogHook([](const engine::GameEndReport&, bool) { return GameWonChoice::Close; });
    }
    void cleanup()
    {
        setBoxAnswerHook({});
        setEndOfGameDialogHook({});
    }

    // Cribbage patience shows its info panel beside the table, the score panel once a hand is
    // scored; another game hides them.
    void cribbagePanelsBesideTheTableOnlyInTheirGame()
    {
        QTemporaryDir dir;
        Fixture f;
        f.startGameId = "0702";
        QVERIFY(f.open(dir.path()));
        auto* dock = f.window->findChild<QDockWidget*>(QStringLiteral("familyPanelsDock"));
        QVERIFY(dock);
        QVERIFY(dock->isVisible());
        auto* view = f.window->findChild<FamilyPanelsView*>();
        QVERIFY(view->findChild<QGroupBox*>(QStringLiteral("CribbageInfo")));
        QCOMPARE(labelText(view, QStringLiteral("Deals remaining:")), QStringLiteral("6"));
        QVERIFY(!view->findChild<QGroupBox*>(QStringLiteral("CribbageScore")));
        for (int k = 0; k < 2; ++k)
            QVERIFY(f.session().playMove(
                engine::Move{engine::MoveKind::Transfer, PileRef::tableau(9 - k), 0, PileRef::tableau(2 + k)}));
        QCoreApplication::processEvents();
        QVERIFY(view->findChild<QGroupBox*>(QStringLiteral("CribbageScore")));
        QCOMPARE(labelText(view, QStringLiteral("Tip:")), QStringLiteral("Click on the Stock to continue"));
        QCOMPARE(labelText(view, QStringLiteral("Total:")), QString::number(f.session().state().score));
        f.shoot(QStringLiteral("cribbage_patience_scored.png"));
        QVERIFY(f.session().startGame(0, {}));
        QCoreApplication::processEvents();
        QVERIFY(!dock->isVisible());
    }

    // The cribbage square's score window opens at its stored place and keeps where it was left.
    void squareWindowKeepsItsPlace()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        engine::TMainGame& game = f.window->game();
        game.setPreference("Cribbage_Square_Form_Left", "100");
        game.setPreference("Cribbage_Square_Form_Top", "120");
        const engine::FamilyPanel panel{
            "CribbageSquareScore", {{"", "Value", "Row 1"}, {"Fifteen:", "2", "4"}}, {{"Score to win:", "61"}}};
        QDialog* dialog = makeEndPanelDialog(f.window.get(), game, panel);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Cribbage Square Solitaire score"));
        QCOMPARE(dialog->pos(), QPoint(100, 120));
        dialog->open();
        dialog->move(150, 160);
        dialog->accept();
        QCOMPARE(game.preference("Cribbage_Square_Form_Left"), std::string("150"));
        QCOMPARE(game.preference("Cribbage_Square_Form_Top"), std::string("160"));
    }

    // A memory game's end shows its result page, captioned by the result.
    void memoryResultPageAtTheEnd()
    {
        QTemporaryDir dir;
        Fixture f;
        f.startGameId = "0204";
        QVERIFY(f.open(dir.path()));
        // Ace to King: the thirteen cards in rank order.
        std::vector<std::pair<int, engine::Press>> byRank;
        const engine::Table& t = f.tableState();
        for (int p = 0; p < 13; ++p)
            byRank.push_back({engine::rank(t.tableau(p).bottom()), engine::Press{PileRef::tableau(p), 0}});
        std::sort(byRank.begin(), byRank.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [rank, press] : byRank)
            f.session().press(press);
        QTRY_VERIFY(f.window->findChild<QDialog*>(QStringLiteral("dlgMemoryResult")));
        auto* dialog = f.window->findChild<QDialog*>(QStringLiteral("dlgMemoryResult"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Game Won"));
        QVERIFY(dialog->findChild<QLabel*>(QStringLiteral("resultMark")));
        dialog->accept();
    }
};

QTEST_MAIN(TestFamilyPanels)
#include "test_family_panels.moc"
