// Keyboard play and cards that follow the window: a short Klondike game won with the keys alone,
// the frame and what the status bar says; the card size at several window sizes, checked through
// the engine's geometry, and screenshots for a person to look at.
#include "engine/layout.h"
#include "engine/session.h"
#include "ui/game_won_dialog.h"
#include "ui/keyboard_play.h"
#include "ui/message_boxes.h"
#include "ui/stats_commands.h"
#include "ui/window_fixture.h"

#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

#include "storage/ini_file.h"
#include "storage/settings_store.h"

using namespace cw;
using namespace cw::ui;
using engine::PileRef;

namespace {

// Card codes: hearts 1-13, diamonds 14-26, clubs 27-39, spades 40-52.
int card(int suit, int rank) { return suit * 13 + rank; }

struct Fixture : testing::WindowFixture {
    std::vector<QString> boxes;
    int won = 0;
    Fixture()
    {
        setBoxAnswerHook([this](BoxKind, const QString& text) {
            boxes.push_back(text);
            return 0;
        });
        setEndOfGameDialogHook([this](const engine::GameEndReport& report, bool) {
            won += report.won ? 1 : 0;
            return GameWonChoice::Close;
        });
    }
    ~Fixture()
    {
        setBoxAnswerHook({});
        setEndOfGameDialogHook({});
    }
    KeyboardPlay& keys() { return *window->findChild<KeyboardPlay*>(); }
    void press(Qt::Key key)
    {
        QTest::keyClick(table(), key);
        table()->finishAnimations();
    }
    QString rulePanel() { return window->statusText(3); }
    // Moves the frame with Left and Right until it is on pile p (a player looks, then presses).
    bool reach(PileRef p)
    {
        for (int i = 0; i < 20 && keys().focusPile() != p; ++i)
            press(Qt::Key_Right);
        return keys().focusPile() == p;
    }
};

} // namespace

class TestKeyboardPlay : public QObject {
    Q_OBJECT

private slots:
    // Hearts to the Jack, diamonds and clubs whole, spades to the Queen at home; the King of
    // Spades under the Queen of Hearts on the first pile; the King of Hearts in the stock. Won
    // with the keyboard alone: a refused drop says why, Escape puts the cards back, Home sends
    // cards home, Enter deals and moves the King to the empty pile.
    void klondikeWonWithTheKeyboard()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        f.session().setAutoplay(false);
        engine::Table& t = f.session().mutableState().table;
        t.clearPiles();
        for (int r = 1; r <= 11; ++r)
            t.append(PileRef::foundation(0), card(0, r), true);
        for (int s : {1, 2})
            for (int r = 1; r <= 13; ++r)
                t.append(PileRef::foundation(s), card(s, r), true);
        for (int r = 1; r <= 12; ++r)
            t.append(PileRef::foundation(3), card(3, r), true);
        t.append(PileRef::tableau(0), card(3, 13), true);
        t.append(PileRef::tableau(0), card(0, 12), true);
        t.append(PileRef::stock(), card(0, 13), false);
        f.table()->refresh();
        f.table()->setFocus();

        // The first key shows the frame; Down goes to the row of the tableau.
        f.press(Qt::Key_Down);
        QVERIFY(f.keys().shown());
        QVERIFY(f.table()->keyboardFrameShown());
        QVERIFY(f.reach(PileRef::tableau(0)));
        // Along the pile: the King with the Queen on it, then the Queen alone.
        f.press(Qt::Key_Up);
        f.press(Qt::Key_Down);
        QCOMPARE(f.keys().focusIndex(), 1);
        QCOMPARE(f.rulePanel(), QStringLiteral("Tableau 1: the Queen of Hearts, Enter picks up"));
        f.press(Qt::Key_Up);
        QCOMPARE(f.keys().focusIndex(), 0);
        QVERIFY(f.rulePanel().startsWith(QStringLiteral("Tableau 1: the King of Spades and 1 card on it")));
        f.press(Qt::Key_Down);

        // The Queen picked up and dropped on the empty second pile: refused, with the reason.
        f.press(Qt::Key_Return);
        QVERIFY(f.keys().carrying());
        f.press(Qt::Key_Right);
        QCOMPARE(f.keys().focusPile(), PileRef::tableau(1));
        QVERIFY(f.rulePanel().startsWith(QStringLiteral("Carrying the Queen of Hearts to Tableau 2")));
        f.press(Qt::Key_Return);
        QVERIFY(!f.keys().carrying());
        QCOMPARE(f.rulePanel(), QStringLiteral("Only a King fills an empty pile"));
        QCOMPARE(f.keys().focusPile(), PileRef::tableau(0));
        QCOMPARE(f.count(PileRef::tableau(0)), 2);
        // Picked up again and put back with Escape.
        f.press(Qt::Key_Return);
        QVERIFY(f.keys().carrying());
        f.press(Qt::Key_Escape);
        QVERIFY(!f.keys().carrying());
        QVERIFY(f.keys().shown());
        QCOMPARE(f.count(PileRef::tableau(0)), 2);

        // Home sends the Queen of Hearts, then the King of Spades home.
        f.press(Qt::Key_Home);
        QCOMPARE(f.top(PileRef::foundation(0)), card(0, 12));
        QCOMPARE(f.rulePanel(), QStringLiteral("The Queen of Hearts went home"));
        f.press(Qt::Key_H);
        QCOMPARE(f.top(PileRef::foundation(3)), card(3, 13));
        QCOMPARE(f.count(PileRef::tableau(0)), 0);

        // Up to the stock row: Enter deals the King of Hearts to the waste.
        f.press(Qt::Key_Up);
        QVERIFY(f.reach(PileRef::stock()));
        QVERIFY(f.rulePanel().startsWith(QStringLiteral("Stock")));
        f.press(Qt::Key_Return);
        QCOMPARE(f.top(PileRef::waste()), card(0, 13));
        // The King from the waste to the empty second pile, then home: the game is won.
        QVERIFY(f.reach(PileRef::waste()));
        f.press(Qt::Key_Space);
        QVERIFY(f.keys().carrying());
        f.press(Qt::Key_Down);
        for (int i = 0; i < 10 && f.keys().focusPile() != PileRef::tableau(1); ++i)
            f.press(f.keys().focusPile().index < 1 ? Qt::Key_Right : Qt::Key_Left);
        QCOMPARE(f.keys().focusPile(), PileRef::tableau(1));
        f.press(Qt::Key_Return);
        QCOMPARE(f.top(PileRef::tableau(1)), card(0, 13));
        QVERIFY(f.rulePanel().startsWith(QStringLiteral("Tableau 2: the King of Hearts")));
        f.press(Qt::Key_Home);
        QTRY_COMPARE(f.won, 1);
        QVERIFY(f.session().state().won);
        f.shoot(QStringLiteral("keyboard_play_won.png"));
    }

    // The frame is drawn: the picture of the table changes where the frame lies; the mouse takes it away.
    void frameIsDrawnAndTheMouseTakesOver()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        f.table()->setFocus();
        const QImage before = f.table()->grabTable();
        f.press(Qt::Key_Right);
        QVERIFY(f.keys().shown());
        const QImage framed = f.table()->grabTable();
        QVERIFY(framed != before);
        framed.save(testing::artifactsDir() + QStringLiteral("/keyboard_frame.png"));
        // Space while the frame is shown acts on the frame, not on the stock.
        const int stock = f.count(PileRef::stock());
        f.press(Qt::Key_Escape);
        QVERIFY(!f.keys().shown());
        f.press(Qt::Key_Space); // no frame: the stock deals, as it always did
        QCOMPARE(f.count(PileRef::stock()), stock - 1);
        f.press(Qt::Key_Right);
        QVERIFY(f.keys().shown());
        const QPoint bare(5, f.table()->height() - 5);
        QTest::mousePress(f.table(), Qt::LeftButton, {}, bare);
        QTest::mouseRelease(f.table(), Qt::LeftButton, {}, bare);
        QVERIFY(!f.keys().shown());
        QVERIFY(!f.table()->keyboardFrameShown());
    }

    // By default the cards follow the window: larger windows, larger cards, and at every size the
    // piles stay inside the table and clear of each other. The fixed sizes stay selectable.
    void cardsFollowTheWindow()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        QAction* fit = f.window->command(QStringLiteral("mnuFitWindow"));
        QVERIFY(fit && fit->isChecked());
        int last = 0;
        for (const QSize size : {QSize(400, 300), QSize(800, 600), QSize(1130, 874), QSize(1280, 1024)}) {
            f.window->resize(size);
            QCoreApplication::processEvents();
            QTRY_COMPARE(f.window->size(), size);
            const int width = f.table()->shownCardWidth();
            QVERIFY2(width > last,
                     qPrintable(QStringLiteral("%1 at %2 x %3").arg(width).arg(size.width()).arg(size.height())));
            last = width;
            // Through the engine's geometry: every pile of the game inside the table, none on another.
            const engine::TableGeometry& g = f.table()->tableGeometry();
            const QRect area = f.table()->rect();
            std::vector<QRect> piles;
            for (int k = 0; k < engine::kTablePiles; ++k) {
                const PileRef p = engine::pileAtTableOrder(k);
                if (!g.layout.present(p))
                    continue;
                const QRect r = f.table()->toWindow(
                    QRect(g.layout.corner(p).x, g.layout.corner(p).y, g.layout.cardWidth, g.layout.cardHeight));
                QVERIFY2(area.contains(r),
                         qPrintable(QStringLiteral("%1 x %2: pile %3").arg(size.width()).arg(size.height()).arg(k)));
                for (const QRect& other : piles)
                    QVERIFY(!other.intersects(r));
                piles.push_back(r);
            }
            QCOMPARE(f.table()->cardRect(PileRef::tableau(0), 0).width(), width);
            qInfo("%d x %d: cards %d px wide", size.width(), size.height(), width);
        }
        QVERIFY(last >= 120);
        // A fixed size: the cards keep it whatever the window.
        fit->trigger();
        QVERIFY(!fit->isChecked());
        QCOMPARE(f.core.game->settingsFile->readString(storage::kPreferenceSection, "Cards_Fit_Window", ""),
                 std::string("N"));
        QCOMPARE(f.table()->shownCardWidth(), 71);
        f.window->resize(800, 600);
        QCoreApplication::processEvents();
        QCOMPARE(f.table()->shownCardWidth(), 71);
    }

    // Klondike at 800 x 600 and 1280 x 1024, dealt, for a person to look at.
    void screenshots()
    {
        for (const QSize size : {QSize(800, 600), QSize(1280, 1024)}) {
            QTemporaryDir dir;
            Fixture f;
            QVERIFY(f.open(dir.path()));
            f.window->resize(size);
            QCoreApplication::processEvents();
            f.table()->finishAnimations();
            const QString name = QStringLiteral("klondike_%1x%2.png").arg(size.width()).arg(size.height());
            f.shoot(name);
            qInfo("%s: window %d x %d, table %d x %d, cards %d px wide", qPrintable(name), f.window->width(),
                  f.window->height(), f.table()->width(), f.table()->height(), f.table()->shownCardWidth());
        }
    }
};

QTEST_MAIN(TestKeyboardPlay)
#include "test_keyboard_play.moc"
