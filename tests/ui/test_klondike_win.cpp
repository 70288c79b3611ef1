// Wins a whole Klondike deal on the real table with synthesized input only: once with the mouse
// alone (drag and drop, double clicks home), once in point-and-click mode with Space for the
// stock; the solver supplies the line.
#include "engine/legal_moves.h"
#include "engine/solver.h"
#include "ui/message_boxes.h"
#include "ui/stats_commands.h"
#include "ui/game_won_dialog.h"

#include <QTemporaryDir>

#include "ui/window_fixture.h"

using namespace cw;
using namespace cw::ui;
using engine::Move;
using engine::MoveKind;
using engine::PileRef;

namespace {

// A deal the solver wins quickly (checked at the start of the test).
constexpr const char* kWinnableDeal = "3";

enum class Input { DragAndDrop, PointAndClick };

// Plays each move of a line with the mouse, the way a player would.
struct MousePlayer {
    testing::WindowFixture& f;
    Input input;
    int doubleClicks = 0;

    // A point on the visible part of the card at `index` (a covered card shows a strip above the next).
    QPoint grabPoint(PileRef pile, int index)
    {
        const QRect card = f.table()->cardRect(pile, index);
        if (index + 1 < f.count(pile)) {
            const QRect next = f.table()->cardRect(pile, index + 1);
            if (next.top() > card.top())
                return QPoint(card.center().x(), (card.top() + next.top()) / 2);
            if (next.left() > card.left())
                return QPoint((card.left() + next.left()) / 2, card.center().y());
        }
        return card.center();
    }
    // The card rectangle of a pile's top card (the empty place when it holds none).
    QRect topRect(PileRef pile) { return f.table()->cardRect(pile, std::max(0, f.count(pile) - 1)); }

    void click(QPoint at)
    {
        QTest::mouseClick(f.table(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    }

    void play(const Move& m)
    {
        switch (m.kind) {
        case MoveKind::Stock:
            // The keyboard-and-click player turns the stock with Space.
            if (input == Input::PointAndClick) {
                QTest::keyClick(f.table(), Qt::Key_Space);
                QCoreApplication::processEvents();
            } else {
                click(topRect(PileRef::stock()).center());
            }
            return;
        case MoveKind::TurnUp:
            click(topRect(m.from).center());
            return;
        case MoveKind::Draw:
            QFAIL("Klondike has no Draw");
            return;
        case MoveKind::Select:
        case MoveKind::Gap:
        case MoveKind::Press:
            QFAIL("Klondike has no family moves");
            return;
        case MoveKind::Transfer:
            break;
        }
        const QPoint from = grabPoint(m.from, m.index);
        if (input == Input::PointAndClick) {
            click(from);
            click(topRect(m.to).center());
            return;
        }
        // A top card that can only go to the foundation of its suit (not an ace) goes home by double click.
        const int code = f.tableState().pile(m.from)[static_cast<std::size_t>(m.index)];
        if (m.to.kind == engine::PileKind::Foundation && m.index == f.count(m.from) - 1 && (code - 1) % 13 != 0) {
            QTest::mouseClick(f.table(), Qt::LeftButton, {}, from);
            QTest::mouseDClick(f.table(), Qt::LeftButton, {}, from);
            QTest::mouseRelease(f.table(), Qt::LeftButton, {}, from);
            QCoreApplication::processEvents();
            ++doubleClicks;
            return;
        }
        // Dropped so that the lifted card lies a little below the target's top card.
        const QRect source = f.table()->cardRect(m.from, m.index);
        f.drag(from, from + (topRect(m.to).topLeft() - source.topLeft()) + QPoint(0, 12));
    }
};

} // namespace

class TestKlondikeWin : public QObject {
    Q_OBJECT

private slots:
    void winsAWholeDeal_data()
    {
        QTest::addColumn<Input>("input");
        QTest::newRow("drag and drop") << Input::DragAndDrop;
        QTest::newRow("point and click, Space") << Input::PointAndClick;
    }

    void winsAWholeDeal()
    {
        QFETCH(Input, input);
        std::vector<QString> boxes;
        setBoxAnswerHook([&](BoxKind, const QString& text) {
            boxes.push_back(text);
            return 0;
        });
        int wonDialogs = 0;
        setEndOfGameDialogHook([&](const engine::GameEndReport& report, bool) {
            if (report.won)
                ++wonDialogs;
            return GameWonChoice::Close;
        });

        QTemporaryDir dir;
        testing::WindowFixture f;
        QVERIFY(f.open(dir.path(), kWinnableDeal));
        QCOMPARE(f.session().state().gameNumber, std::string(kWinnableDeal));
        // The solver's line holds its own foundation moves: autoplay would take them first.
        f.session().setAutoplay(false);
        f.session().mutableState().selection.pointAndClick = input == Input::PointAndClick;
        TableSettings quiet = f.table()->settings();
        quiet.winningAnimation = QStringLiteral("(None)");
        f.table()->setSettings(quiet);

        const engine::SolveResult solved = engine::solve(f.core.game->rules, f.session().state(), {0, 20000});
        QCOMPARE(solved.verdict, engine::Verdict::Winnable);

        // The same line played on a copy through the engine says what each click must leave.
        engine::GameState expected = f.session().state();
        const engine::PlayOptions options = engine::solverPlayOptions();
        MousePlayer player{f, input};
        for (std::size_t i = 0; i < solved.line.size(); ++i) {
            const Move& m = solved.line[i];
            engine::Play shadow{f.core.game->rules, expected, options, nullptr};
            QVERIFY(engine::applyMove(shadow, m));
            player.play(m);
            QVERIFY2(f.tableState() == expected.table,
                     qPrintable(QStringLiteral("move %1 of %2: %3")
                                    .arg(i + 1)
                                    .arg(solved.line.size())
                                    .arg(QString::fromStdString(engine::moveText(m)))));
        }
        // "Game won" comes after the pause before the winning animation.
        QCOMPARE(wonDialogs, 0);
        QVERIFY(f.table()->animating());
        f.table()->finishAnimations();
        QCOMPARE(wonDialogs, 1);
        QCOMPARE(f.sink.records.size(), std::size_t(1));
        QVERIFY(f.sink.records[0].won);
        QVERIFY(!f.session().flags().dealActive);
        QVERIFY(boxes.empty());
        if (input == Input::DragAndDrop)
            QVERIFY(player.doubleClicks > 0);
        setEndOfGameDialogHook({});
        setBoxAnswerHook({});
    }
};

QTEST_MAIN(TestKlondikeWin)
#include "test_klondike_win.moc"
