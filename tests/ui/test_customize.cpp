// Tests of "Customize" and "Advanced options" on a fixture data folder: every page written on "OK", nothing on
// "Cancel", the entry points, the look pages with the player's files, and stored values out of range.
#include "storage/ini_file.h"
#include "storage/random_look.h"
#include "storage/safe_file.h"
#include "ui/advanced_options_dialog.h"
#include "ui/customize_commands.h"
#include "ui/customize_dialog.h"
#include "ui/look_page.h"
#include "ui/look_preview.h"
#include "ui/message_boxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "ui/window_fixture.h"

using namespace cw;
using namespace cw::ui;
namespace col = cw::storage::col;

namespace {

// A card set sheet of size B whose cell i is filled with a colour of its own.
QImage sheetB()
{
    const std::vector<QImage> faces = [] {
        std::vector<QImage> f;
        for (int i = 0; i < 52; ++i) {
            QImage face(71, 96, QImage::Format_RGB32);
            face.fill(QColor::fromHsv(i * 6, 200, 200));
            f.push_back(face);
        }
        return f;
    }();
    return buildCardSetSheet(faces, 'B');
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The data folder of these tests: a player's card set and deck, and one card set file that is damaged.
void makeFixture(const QString& data)
{
    QDir(data).mkpath(QStringLiteral("Custom Card Sets"));
    QDir(data).mkpath(QStringLiteral("Custom Decks"));
    QVERIFY(sheetB().save(data + QStringLiteral("/Custom Card Sets/Mine.crs"), "BMP"));
    QImage deck(60, 80, QImage::Format_RGB32);
    deck.fill(QColor(200, 120, 20));
    QVERIFY(deck.save(data + QStringLiteral("/Custom Decks/Oak.bmp"), "BMP"));
    writeBytes(data + QStringLiteral("/Custom Card Sets/Broken.crs"), QByteArray("BM this is no picture at all"));
}

QTreeWidgetItem* itemNamed(QTreeWidget* tree, const QString& name)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->text(0) == name)
            return *it;
    return nullptr;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every box answers OK and is recorded.
struct Boxes {
    QStringList texts;
    Boxes()
    {
        setBoxAnswerHook([this](BoxKind, const QString& text) {
            texts << text;
            return 0;
        });
    }
    ~Boxes() { setBoxAnswerHook({}); }
};

// One control changed on each page, as a player would.
void changeEveryPage(TfrmCustomize& d)
{
    d.findChild<QCheckBox*>(QStringLiteral("chkShow_Time"))->setChecked(false);
    LookPage* cards = d.lookPage(CustomizePage::Cards);
    cards->tree()->setCurrentItem(itemNamed(cards->tree(), QStringLiteral("Four colours")));
    LookPage* decks = d.lookPage(CustomizePage::Decks);
    decks->tree()->setCurrentItem(itemNamed(decks->tree(), QStringLiteral("Oak")));
    LookPage* backgrounds = d.lookPage(CustomizePage::Backgrounds);
    backgrounds->tree()->setCurrentItem(itemNamed(backgrounds->tree(), QStringLiteral("Navy")));
    d.findChild<QSlider*>(QStringLiteral("tbSpeed"))->setValue(5);
    d.findChild<QCheckBox*>(QStringLiteral("chkDisableSounds"))->setChecked(true);
}

} // namespace

class TestCustomize : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        CustomizeCommands::setDialogHook({});
        LookPage::setAddHook({});
    }

    // "OK" writes every page's keys and columns, and the table, the panels and the session follow at once;
    // the damaged card set file is left out of the list with one message.
    void okStoresEveryPageAndTheTableFollows()
    {
        QTemporaryDir dir;
        makeFixture(dir.path());
        Boxes boxes;
        testing::WindowFixture f;
        QVERIFY(f.open(dir.path()));
        auto* commands = f.window->findChild<CustomizeCommands*>();
        QVERIFY(commands);
        const QImage before = f.table()->grabTable();
        int shownPage = -1;
        QStringList setNames;
        CustomizeCommands::setDialogHook([&](TfrmCustomize& d) {
            d.show();
            QTest::qWait(20); // the message about damaged files comes once the dialog shows
            shownPage = d.pages()->currentIndex();
            for (QTreeWidgetItemIterator it(d.lookPage(CustomizePage::Cards)->tree()); *it; ++it)
                setNames << (*it)->text(0);
            changeEveryPage(d);
            d.accept();
            return d.result();
        });
        f.window->findChild<QAction*>(QStringLiteral("mnuCustomize"))->trigger();
        QCOMPARE(shownPage, 0);
        QVERIFY(setNames.contains(QStringLiteral("Mine")));
        QVERIFY(!setNames.contains(QStringLiteral("Broken")));
        QCOMPARE(std::count_if(boxes.texts.begin(), boxes.texts.end(),
                               [](const QString& t) { return t.contains(QStringLiteral("Broken.crs")); }),
                 1);

        engine::TMainGame& game = *f.core.game;
        const storage::SettingsStore& s = game.settings;
        QCOMPARE(game.preference("Show_Time"), std::string("N"));
        QCOMPARE(s.get(col::ShowTime), std::string("N"));
        QCOMPARE(game.preference("Card"), std::string("2"));
        QCOMPARE(s.get(col::Card), std::string("002"));
        QCOMPARE(game.preference("Customized_Deck"), std::string("Oak"));
        QCOMPARE(s.get(col::CustomizedDeck), std::string("Y"));
        QCOMPARE(game.preference("Background_Fixed_Col"), std::to_string(0x401010));
        QCOMPARE(game.preference("Background_def"), std::string("N"));
        QCOMPARE(game.preference("Speed_Move_Card"), std::string("0"));
        QCOMPARE(s.get(col::SpeedMoveCard), std::string("0"));
        QCOMPARE(game.preference("Sounds_Enabled"), std::string("N"));
        QCOMPARE(s.get(col::SoundsEnabled), std::string("N"));
        QCOMPARE(s.get(col::SoundsUndo), std::string("N")); // every event follows "Disable all sounds"
        // Keys of pages not touched are written too.
        QCOMPARE(game.preference("Statusbar"), std::string("Y"));
        QCOMPARE(game.preference("Winning_Animations"), std::string("(Random)"));
        QVERIFY(storage::randomListsMarked(game.dataFolder));

        const TableSettings& t = f.table()->settings();
        QCOMPARE(t.cardSet, 2);
        QVERIFY(t.deckFile.endsWith(QStringLiteral("Oak.bmp")));
        QCOMPARE(t.background.fixedColour, qint64(0x401010));
        QCOMPARE(t.speedMoveCard, 0);
        QVERIFY(f.table()->grabTable() != before);
        QCoreApplication::processEvents();
        QVERIFY(!f.window->findChild<QWidget*>(QStringLiteral("pnlTime"))->isVisible());
        QVERIFY(f.window->command(QStringLiteral("mnuShowTime"))->isEnabled());
    }

    // "Cancel" leaves the settings file and the store as they were; "Appl&y" shows the look on the table until
    // then, and "Cancel" puts the old look back.
    void cancelWritesNothing()
    {
        QTemporaryDir dir;
        makeFixture(dir.path());
        Boxes boxes;
        testing::WindowFixture f;
        QVERIFY(f.open(dir.path()));
        const QString cfg = QString::fromStdString(f.core.game->dataFolder) + QStringLiteral("Cfg.dat");
        const QByteArray file = fileBytes(cfg);
        const std::string card = f.core.store.get(col::Card);
        const std::string time = f.core.store.get(col::ShowTime);
        const TableSettings table = f.table()->settings();
        int appliedSet = 0;
        CustomizeCommands::setDialogHook([&](TfrmCustomize& d) {
            changeEveryPage(d);
            d.findChild<QPushButton*>(QStringLiteral("btnApply"))->click();
            appliedSet = f.table()->settings().cardSet;
            d.reject();
            return d.result();
        });
        f.window->findChild<CustomizeCommands*>()->openCustomize(CustomizePage::Cards);
        QCOMPARE(appliedSet, 2);
        QCOMPARE(fileBytes(cfg), file);
        QCOMPARE(f.core.store.get(col::Card), card);
        QCOMPARE(f.core.store.get(col::ShowTime), time);
        QVERIFY(f.table()->settings() == table);
        QVERIFY(!QFile::exists(QString::fromStdString(f.core.game->dataFolder) + QStringLiteral("Rnd_cfg.dat")));
    }

    // The entry points open their pages; a look page shows its choice on the small table before "OK".
    void entryPointsAndLivePreview()
    {
        QTemporaryDir dir;
        makeFixture(dir.path());
        Boxes boxes;
        testing::WindowFixture f;
        QVERIFY(f.open(dir.path()));
        const struct {
            const char* action;
            int page;
        } entries[] = {{"mnuCustomize", 0}, {"popChangeCardSet", 1}, {"popChangeDeck", 2}, {"popChangeBackground", 3}};
        for (const auto& e : entries) {
            int page = -1;
            CustomizeCommands::setDialogHook([&](TfrmCustomize& d) {
                page = d.pages()->currentIndex();
                return int(QDialog::Rejected);
            });
            f.window->findChild<QAction*>(QString::fromLatin1(e.action))->trigger();
            QCOMPARE(page, e.page);
        }
        QCOMPARE(f.window->findChild<QAction*>(QStringLiteral("mnuCustomize"))->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_U));
        // The table's pop-up holds the look entries before "Pause".
        QMenu* popup = nullptr;
        for (QMenu* m : f.window->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
            for (QAction* a : m->actions())
                if (a->objectName() == QLatin1String("mnuPause"))
                    popup = m;
        QVERIFY(popup);
        QStringList captions;
        for (QAction* a : popup->actions())
            if (!a->isSeparator())
                captions << a->text();
        for (const char* caption : {"Change card set", "Change deck", "Change background", "Add a customized deck...",
                                    "Add a customized Cards Set..."})
            QVERIFY2(captions.indexOf(QString::fromLatin1(caption)) >= 0 &&
                         captions.indexOf(QString::fromLatin1(caption)) < captions.indexOf(QStringLiteral("P&ause")),
                     caption);

        // The preview follows the tree at once.
        TfrmCustomize d(*f.core.game, f.core.library, {}, CustomizePage::Cards);
        LookPage* cards = d.lookPage(CustomizePage::Cards);
        cards->tree()->setCurrentItem(itemNamed(cards->tree(), QStringLiteral("Mine")));
        QVERIFY(cards->preview()->look().cardSetFile.endsWith(QStringLiteral("Mine.crs")));
        QVERIFY2(!cards->sizeBox()->isEnabled(), "a player's sheet has its own size");
        cards->tree()->setCurrentItem(itemNamed(cards->tree(), QStringLiteral("Large index")));
        QCOMPARE(cards->preview()->look().cardSet, kLargeIndexCardSet);
        QVERIFY(cards->preview()->look().cardSetFile.isEmpty());
        cards->sizeBox()->setCurrentIndex(0); // Extra Large
        QCOMPARE(cards->preview()->look().sizeLetter, 'X');
        LookPage* backgrounds = d.lookPage(CustomizePage::Backgrounds);
        backgrounds->tree()->setCurrentItem(itemNamed(backgrounds->tree(), QStringLiteral("Oak")));
        QCOMPARE(cards->preview()->look().background.number, 10); // every page's preview shows the whole look
        d.resize(800, 560);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        cards->preview()->grabPreview().save(testing::artifactsDir() + QStringLiteral("/customize_preview.png"));
        d.grab().save(testing::artifactsDir() + QStringLiteral("/customize_cards.png"));
        // Nothing chosen: "OK" says so and the dialog stays open.
        boxes.texts.clear();
        d.lookPage(CustomizePage::Decks)->tree()->setCurrentItem(nullptr);
        d.accept();
        QVERIFY(d.isVisible());
        QVERIFY(boxes.texts.contains(QStringLiteral("Please select a Deck.")));
    }

    // Stored values out of range: the default applies; a deleted background or a damaged card set is reported
    // once and the table falls back.
    void storedValuesOutOfRange()
    {
        QTemporaryDir dir;
        makeFixture(dir.path());
        writeBytes(dir.path() + QStringLiteral("/Cfg.dat"),
                   "[Preference]\r\nSpeed_Move_Card=7\r\nCard_Size=Q\r\nWinning_Animations=Fireworks\r\n"
                   "Customized_Background=/no/such/picture.png\r\nCustomized_Cards_Set=Broken\r\n"
                   "HighLights_Foundations_Color=44\r\n");
        Boxes boxes;
        testing::WindowFixture f;
        QVERIFY(f.open(dir.path()));
        const TableSettings& t = f.table()->settings();
        QCOMPARE(t.speedMoveCard, 10);
        QCOMPARE(t.winningAnimation, QStringLiteral("(Random)"));
        QCOMPARE(t.markColour, 0);
        QVERIFY(t.background.useDefault);
        QVERIFY(t.cardSetFile.isEmpty());
        QCOMPARE(t.cardSet, kDefaultCardSet);
        QCOMPARE(f.core.game->preference("Customized_Background"), std::string());
        QCOMPARE(f.core.game->preference("Customized_Cards_Set"), std::string());
        QCOMPARE(std::count_if(boxes.texts.begin(), boxes.texts.end(),
                               [](const QString& t) { return t.contains(QStringLiteral("picture.png")); }),
                 1);
        QCOMPARE(std::count_if(boxes.texts.begin(), boxes.texts.end(),
                               [](const QString& t) { return t.contains(QStringLiteral("Broken.crs")); }),
                 1);
        // The next deal does not report them again.
        f.session().newGame();
        QCOMPARE(boxes.texts.size(), 2);

        TfrmCustomize d(*f.core.game, f.core.library, {});
        QCOMPARE(d.findChild<QSlider*>(QStringLiteral("tbSpeed"))->value(), 3);
        QCOMPARE(d.lookPage(CustomizePage::Cards)->sizeBox()->currentText(), QStringLiteral("Normal (71x96)"));
        QCOMPARE(d.findChild<QComboBox*>(QStringLiteral("cboWinningAnimations"))->currentText(),
                 QStringLiteral("(Random)"));
    }

    // Page rules: "(None)" disables the time and "Pre&view"; the sounds switch marks every event; the track bar
    // maps to the stored speeds.
    void pageRules()
    {
        QTemporaryDir dir;
        Boxes boxes;
        testing::WindowFixture f;
        QVERIFY(f.open(dir.path()));
        f.core.store.set(col::SoundsUndo, "N");
        f.core.store.set(col::SpeedMoveCard, "10");
        TfrmCustomize d(*f.core.game, f.core.library, {});
        QCOMPARE(d.findChild<QSlider*>(QStringLiteral("tbSpeed"))->value(), 3);
        auto* winning = d.findChild<QComboBox*>(QStringLiteral("cboWinningAnimations"));
        winning->setCurrentText(QStringLiteral("(None)"));
        QVERIFY(!d.findChild<QSpinBox*>(QStringLiteral("udTime"))->isEnabled());
        QVERIFY(!d.findChild<QPushButton*>(QStringLiteral("btnPreview"))->isEnabled());
        winning->setCurrentText(QStringLiteral("Circles"));
        QVERIFY(d.findChild<QPushButton*>(QStringLiteral("btnPreview"))->isEnabled());
        auto* off = d.findChild<QCheckBox*>(QStringLiteral("chkDisableSounds"));
        off->setChecked(true);
        off->setChecked(false);
        storage::Options v = d.values();
        QCOMPARE(v.get("Sounds_Undo"), std::string("Y")); // every event enabled, whatever it was before
        QCOMPARE(v.get("Sounds_Enabled"), std::string("Y"));
        QVERIFY(d.findChild<QCheckBox*>(QStringLiteral("chkToolBar_Flat"))->isChecked());
        QVERIFY(!d.findChild<QCheckBox*>(QStringLiteral("chkToolBar_Flat"))->isEnabled());

        // "Advanced options" hands its values back to the copy only; "OK" of "Customize" stores them.
        AdvancedOptionsDialog advanced(*f.core.game, d.values(), {}, &d);
        advanced.findChild<QRadioButton*>(QStringLiteral("rbUndo2"))->setChecked(true);
        advanced.findChild<QRadioButton*>(QStringLiteral("rbPointAndClick"))->setChecked(true);
        advanced.findChild<QRadioButton*>(QStringLiteral("rbAutoplay2"))->click();
        QListWidget* games = advanced.autoplayList();
        QVERIFY(games->count() > 10);
        QVERIFY(games->isVisible() || !advanced.isVisible());
        games->item(0)->setCheckState(Qt::Unchecked);
        const int unchecked = games->item(0)->data(Qt::UserRole).toInt();
        advanced.accept();
        const storage::Options back = advanced.values();
        QCOMPARE(back.get("Undo_Enabled"), std::string("2"));
        QCOMPARE(back.get("Move_Cards_DragAndDrop"), std::string("N"));
        QCOMPARE(back.get("AutoPlay_All_Games"), std::string("2"));
        QCOMPARE(f.core.store.get(col::UndoEnabled), std::string("0")); // nothing stored yet
        d.setAdvancedHook([&](storage::Options& o, bool&) { o = back; });
        d.openAdvanced();
        d.setAutoplayGames(*advanced.autoplayGames());
        d.accept();
        QCOMPARE(f.core.store.get(col::UndoEnabled), std::string("2"));
        QVERIFY(!f.core.game->preferences.moveCardsDragAndDrop);
        QCOMPARE(f.core.game->preferences.autoPlayAllGames, 2);
        const std::string flags = f.core.game->settingsFile->readString("Autoplay", "Games", "");
        QVERIFY(flags.size() >= 337);
        if (unchecked < 8000)
            QCOMPARE(flags[static_cast<std::size_t>(unchecked)], 'N');
    }

    // The random lists: "All" marks every item (after the question), "OK" saves them with Rnd_read.dat, and a
    // new game then draws its card set from them.
    void randomLists()
    {
        QTemporaryDir dir;
        makeFixture(dir.path());
        Boxes boxes;
        testing::WindowFixture f;
        QVERIFY(f.open(dir.path()));
        TfrmCustomize d(*f.core.game, f.core.library, {});
        LookPage* cards = d.lookPage(CustomizePage::Cards);
        cards->randomBox()->setChecked(true);
        for (QPushButton* b : cards->findChildren<QPushButton*>())
            if (b->objectName() == QLatin1String("btnClearAll"))
                b->click();
        QVERIFY(boxes.texts.contains(QStringLiteral("Clear all?")));
        cards->tree()->setCurrentItem(itemNamed(cards->tree(), QStringLiteral("High contrast")));
        for (QPushButton* b : cards->findChildren<QPushButton*>())
            if (b->objectName() == QLatin1String("btnInclude"))
                b->click();
        d.accept();
        const storage::RandomLists lists = storage::readRandomLists(f.core.game->dataFolder);
        QCOMPARE(std::count_if(lists.cards.begin(), lists.cards.end(), [](const auto& i) { return i.included; }), 1);
        QCOMPARE(f.core.store.get(col::RandomCard), std::string("Y"));
        f.session().newGame();
        QCOMPARE(f.table()->settings().cardSet, kPlainCardSet);
    }
};

QTEST_MAIN(TestCustomize)
#include "test_customize.moc"
