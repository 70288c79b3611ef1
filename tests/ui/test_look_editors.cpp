// Tests of the deck and card set editors, the player's file names, bad pictures, SVG card sets and the card
// sets of our own drawing.
#include "engine/game_object.h"
#include "storage/ini_file.h"
#include "storage/settings_store.h"
#include "ui/card_art.h"
#include "ui/card_set_wizard.h"
#include "ui/image_editor.h"
#include "ui/image_files.h"
#include "ui/look_files.h"
#include "ui/look_page.h"
#include "ui/message_boxes.h"
#include "ui/picture_library.h"
#include "ui/svg_card_set.h"

#include <QBuffer>
#include <QCheckBox>
#include <QFile>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace cw;
using namespace cw::ui;

namespace {

const QString kLibraryPath = QStringLiteral(CW_BIN_DIR "/CWD.RGF");

// A picture whose every pixel tells where it is.
QImage gradient(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 255) / std::max(1, w - 1), (y * 255) / std::max(1, h - 1), (x + y) % 256));
    return img;
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

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

bool sameRgb(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF))
                return false;
    return true;
}

// An SVG deck in the common layout: one group per card, each a coloured rectangle of its own.
QByteArray svgDeck(bool withBack, const QString& leaveOut = {})
{
    QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='2000' height='1000'>\n";
    for (int i = 0; i < 52; ++i) {
        const QString id = svgCardId(i);
        if (id == leaveOut)
            continue;
        const int x = (i % 13) * 150, y = (i / 13) * 240;
        svg += QStringLiteral("<g id='%1'><rect x='%2' y='%3' width='140' height='190' fill='#%4'/>"
                              "<circle cx='%5' cy='%6' r='20' fill='black'/></g>\n")
                   .arg(id)
                   .arg(x)
                   .arg(y)
                   .arg(QString::number(0x100000 + i * 0x030507, 16).right(6))
                   .arg(x + 70)
                   .arg(y + 95)
                   .toUtf8();
    }
    if (withBack)
        svg += "<rect id='back' x='0' y='960' width='140' height='190' fill='#2040a0'/>\n";
    svg += "</svg>\n";
    return svg;
}

} // namespace

class TestLookEditors : public QObject {
    Q_OBJECT

    PictureLibrary m_lib;
    storage::SettingsStore m_store;

private slots:
    void initTestCase() { QVERIFY(m_lib.load(kLibraryPath)); }
    void cleanup()
    {
        CardSetWizard::setCardEditorHook({});
        LookPage::setAddHook({});
    }

    // Deck mode: a crop of a generated picture saved as "Custom Decks/<name>.bmp" and read back; the same
    // editor overwrites its own file, another name in use is refused.
    void deckFromPicture()
    {
        QTemporaryDir dir;
        Boxes boxes;
        const QString data = dir.path() + QLatin1Char('/');
        const QString photo = dir.filePath(QStringLiteral("photo.png"));
        QVERIFY(gradient(300, 200).save(photo));
        storage::IniFile settings((data + QStringLiteral("Cfg.dat")).toStdString());
        ImageEditor editor(ImageEditor::Mode::Deck, data, &settings);
        QVERIFY(!editor.findChild<QPushButton*>(QStringLiteral("btnOK"))->isEnabled());
        QVERIFY(editor.loadFile(photo));
        QCOMPARE(editor.zoomText(), QStringLiteral("100%"));
        QCOMPARE(editor.framePosition(), QPoint(0, 0));
        editor.setBorder(false);
        editor.setFramePosition(QPoint(40, 30));
        // With "No border" the whole card, corners aside, comes from the picture.
        const QImage card = editor.preview();
        QCOMPARE(card.size(), QSize(71, 96));
        const QImage source = gradient(300, 200);
        QCOMPARE(card.pixel(10, 10) & 0xFFFFFF, source.pixel(50, 40) & 0xFFFFFF);
        QCOMPARE(card.pixel(70, 50) & 0xFFFFFF, source.pixel(110, 80) & 0xFFFFFF);
        QVERIFY2((card.pixel(0, 0) & 0xFFFFFF) != (source.pixel(40, 30) & 0xFFFFFF), "rounded corner");
        // The frame stays inside the view.
        editor.setFramePosition(QPoint(1000, -5));
        QCOMPARE(editor.framePosition(), QPoint(300 - 71, 0));
        editor.setBorder(true);
        QVERIFY2(editor.preview().pixel(2, 40) != source.pixel(231, 40), "the border's white edge");

        editor.setDeckName(QString());
        QVERIFY(!editor.saveDeck());
        QVERIFY(boxes.texts.contains(QStringLiteral("Please fill in the field \"Deck name\"")));
        editor.setDeckName(QStringLiteral("Photo"));
        editor.accept();
        QVERIFY(boxes.texts.last().startsWith(QStringLiteral("The Deck as been saved as:")));
        const QString saved = data + QStringLiteral("Custom Decks/Photo.bmp");
        QCOMPARE(editor.savedPath(), saved);
        QImage back(saved);
        QCOMPARE(back.size(), QSize(71, 96));
        QVERIFY(sameRgb(back, editor.preview()));
        QCOMPARE(fileBytes(saved).left(2), QByteArray("BM"));
        QVERIFY(findPlayerDeck(data, QStringLiteral("photo")) == saved);

        // Saving again from the same editor overwrites; another editor must pick another name.
        editor.setFramePosition(QPoint(0, 0));
        QVERIFY(editor.saveDeck());
        QVERIFY(sameRgb(QImage(saved), editor.preview()));
        ImageEditor other(ImageEditor::Mode::Deck, data, nullptr);
        QVERIFY(other.loadFile(photo));
        other.setDeckName(QStringLiteral("PHOTO"));
        QVERIFY(!other.saveDeck());
        QCOMPARE(boxes.texts.last(), QStringLiteral("Name already in use. Please change it."));
        QCOMPARE(freeDeckName(data), QStringLiteral("My Deck 1"));
    }

    // Zoom and tile as the editor's rules say.
    void zoomAndTile()
    {
        QTemporaryDir dir;
        Boxes boxes;
        ImageEditor editor(ImageEditor::Mode::Deck, dir.path(), nullptr);
        QVERIFY(editor.setImage(gradient(40, 40)));
        editor.setZoomText(QStringLiteral("1000"));
        QCOMPARE(editor.zoomText(), QStringLiteral("400%"));
        QCOMPARE(editor.viewSize(), QSize(160, 160));
        editor.setZoomText(QStringLiteral("0"));
        QCOMPARE(editor.zoomText(), QStringLiteral("400%")); // 0 changes nothing
        editor.setZoomText(QStringLiteral("33 %"));
        QCOMPARE(editor.viewSize(), QSize(13, 13)); // trunc(40 x 33 / 100)
        editor.setZoomText(QStringLiteral("100%"));
        QVERIFY(editor.tileOffered());
        editor.setTile(true);
        QCOMPARE(editor.loadedImage().size(), QSize(142, 192));
        QCOMPARE(editor.loadedImage().pixel(45, 5), gradient(40, 40).pixel(5, 5));
        editor.setTile(false);
        QCOMPARE(editor.loadedImage().size(), QSize(40, 40));
        QVERIFY(editor.setImage(gradient(100, 50)));
        QVERIFY2(!editor.tileOffered(), "wider than the frame");
    }

    // Card mode through the wizard: the default set, one card cropped from a picture, saved as a sheet and read
    // back cell by cell.
    void cardSetFromWizard()
    {
        QTemporaryDir dir;
        Boxes boxes;
        const QString data = dir.path() + QLatin1Char('/');
        storage::SettingsStore store;
        engine::TMainGame game(store);
        game.dataFolder = data.toStdString();
        const QString photo = dir.filePath(QStringLiteral("face.bmp"));
        QVERIFY(gradient(120, 140).save(photo));

        CardSetWizard wizard(game, m_lib);
        QCOMPARE(wizard.page(), CardSetWizard::Page::Choose);
        wizard.next();
        QCOMPARE(wizard.page(), CardSetWizard::Page::StartFrom);
        wizard.next();
        QCOMPARE(wizard.page(), CardSetWizard::Page::Editor);
        QCOMPARE(wizard.faces().size(), size_t(52));
        QCOMPARE(wizard.sizeLetter(), 'B');
        // The King of hearts at the left of the first row, a gap between cards.
        QCOMPARE(wizard.cardAt(QPoint(10, 10)), 12);
        QCOMPARE(wizard.cardAt(QPoint(10 + 71 + 5, 20)), -1);
        QCOMPARE(wizard.cardAt(QPoint(10 + 81 + 3, 10 + 106 * 3 + 2)), 3 * 13 + 11); // Queen of spades
        QCOMPARE(wizard.cardAt(QPoint(10 + 71, 10 + 96)), 12);                       // edges belong to the card

        QImage cropped;
        CardSetWizard::setCardEditorHook([&](ImageEditor& editor) {
            if (!editor.loadFile(photo))
                return false;
            editor.setFramePosition(QPoint(20, 10));
            cropped = editor.preview();
            return true;
        });
        wizard.editCard(5);
        QVERIFY(sameRgb(wizard.faces()[5], cropped));
        wizard.next();
        QCOMPARE(wizard.page(), CardSetWizard::Page::Save);
        for (const QString& bad : {QStringLiteral(""), QStringLiteral("a/b"), QStringLiteral("..\\up"),
                                   QStringLiteral("tab\there"), QStringLiteral("..")}) {
            wizard.setName(bad);
            QVERIFY2(!wizard.finish(), qPrintable(bad));
        }
        QVERIFY(boxes.texts.contains(QStringLiteral("Please fill in the field \"Card Set name\"")));
        wizard.setName(QStringLiteral("Holiday"));
        QVERIFY(wizard.finish());
        const QString path = data + QStringLiteral("Custom Card Sets/Holiday.crs");
        const PictureFileResult sheet = loadPlayerCardSet(path);
        QVERIFY2(sheet.ok(), qPrintable(sheet.error));
        QCOMPARE(sheet.image.size(), QSize(355, 1152));
        const std::vector<QImage> cells = cutCardSetSheet(sheet.image);
        QVERIFY(sameRgb(cells[5], cropped));
        QCOMPARE(QColor(sheet.image.pixel(354, 2 * 96 + 5)), QColor(192, 192, 192)); // empty cells keep the grey
        // Only files in our folder were written.
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList({QStringLiteral("Custom Card Sets"), QStringLiteral("face.bmp")}));

        // The name is now in use; modifying the set may write over it.
        CardSetWizard again(game, m_lib);
        again.setModify(true);
        again.next();
        QCOMPARE(again.page(), CardSetWizard::Page::PickSet);
        QVERIFY(again.chooseStartSet(QStringLiteral("Holiday")));
        again.next();
        QCOMPARE(again.page(), CardSetWizard::Page::Editor);
        QVERIFY(sameRgb(again.faces()[5], cropped));
        again.setFace(0, gradient(71, 96));
        again.next();
        QVERIFY(again.finish());
        QVERIFY(sameRgb(cutCardSetSheet(loadPlayerCardSet(path).image)[0], gradient(71, 96)));
        CardSetWizard third(game, m_lib);
        third.next();
        third.next();
        third.next();
        third.setName(QStringLiteral("holiday"));
        QVERIFY(!third.finish());
        QCOMPARE(boxes.texts.last(), QStringLiteral("Name already in use. Please change it."));
    }

    // Pictures that cannot be used: a clear message and nothing loaded; animated and one-bit pictures load.
    void badPictures()
    {
        QTemporaryDir dir;
        Boxes boxes;
        const struct {
            const char* name;
            QByteArray bytes;
            const char* message; // start of the message; nullptr: loads
        } cases[] = {
            {"empty.bmp", QByteArray(), "Image is not valid: "},
            {"junk.jpg", QByteArray("not a picture at all"), "Image is not valid: "},
            {"zero.bmp",
             QByteArray::fromHex("424d360000000000000036000000280000000000000000000000010018000000000000000000130b"
                                 "0000130b00000000000000000000"),
             nullptr},
            {"huge.bmp",
             QByteArray::fromHex("424d36bbeea00000000036000000280000003075000030750000010018000000000000000000130b"
                                 "0000130b0000000000000000000000000000000000000000000000000000"),
             ""},   // Qt refuses such a header itself: any clear message
            {"bomb.png",
             QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200007530000075300800000000434ca7660000001149444154"
                                 "789c63601805a360140c77000003e80001b3a6d3460000000049454e44ae426082"),
             "The image is too large (30000 x 30000 pixels"},
            {"anim.gif",
             QByteArray::fromHex("47494638396102000200f00000ff00000000ff21ff0b4e45545343415045322e300301000000"
                                 "21f904000a0000002c0000000002000200000204044110050021f904000a0000002c00000000"
                                 "020002000002040cc33005003b"),
             nullptr},
            {"mono.bmp",
             QByteArray::fromHex("424d5e000000000000003e000000280000000800000008000000010001000000000020000000130b"
                                 "0000130b0000020000000000000000000000ffffff00aa00000055000000aa00000055000000aa00"
                                 "000055000000aa00000055000000"),
             nullptr},
        };
        for (const auto& c : cases) {
            const QString path = writeFile(dir.filePath(QString::fromLatin1(c.name)), c.bytes);
            boxes.texts.clear();
            ImageEditor editor(ImageEditor::Mode::Deck, dir.path(), nullptr);
            const bool loaded = editor.loadFile(path);
            if (QByteArray(c.name) == "zero.bmp") {
                // A zero-sized picture never loads, whichever way the decoder refuses it.
                QVERIFY(!loaded);
                QCOMPARE(boxes.texts.size(), 1);
                continue;
            }
            QCOMPARE(loaded, c.message == nullptr);
            if (c.message) {
                QCOMPARE(boxes.texts.size(), 1);
                QVERIFY2(boxes.texts[0].startsWith(QString::fromLatin1(c.message)), qPrintable(boxes.texts[0]));
                QVERIFY(boxes.texts[0].endsWith(path));
            }
        }
        // The animation's first picture is used and the player is told; the one-bit picture loads as any other.
        boxes.texts.clear();
        ImageEditor editor(ImageEditor::Mode::Deck, dir.path(), nullptr);
        QVERIFY(editor.loadFile(dir.filePath(QStringLiteral("anim.gif"))));
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY(boxes.texts[0].contains(QStringLiteral("animation")));
        QCOMPARE(QColor(editor.loadedImage().pixel(0, 0)), QColor(Qt::red));
        QVERIFY(editor.loadFile(dir.filePath(QStringLiteral("mono.bmp"))));
        QCOMPARE(editor.loadedImage().size(), QSize(8, 8));
        QCOMPARE(editor.loadedImage().format(), QImage::Format_ARGB32_Premultiplied);
        // A card set file of another size is refused before decoding, a huge one too.
        QVERIFY(!loadPlayerCardSet(dir.filePath(QStringLiteral("huge.bmp"))).ok());
        QVERIFY(loadPlayerCardSet(dir.filePath(QStringLiteral("bomb.png")))
                    .error.startsWith(QStringLiteral("The format of the Customized card set image is not valid.")));
        QByteArray junk("BM\x10\x00 not really a sheet");
        QBuffer buffer(&junk);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QVERIFY(!readCardSetSheet(buffer, QStringLiteral("x")).ok());
    }

    void fileNames()
    {
        const struct {
            const char* name;
            bool ok;
        } rows[] = {
            {"My Deck 1", true},    {"Été 2024", true}, {"", false},     {" lead", false},   {"a/b", false},
            {"a\\b", false},        {"..", false},      {"x..y", false}, {".hidden", false}, {"bell\x07", false},
            {"line\nbreak", false}, {"a=b", false},     {"[x]", false},
        };
        for (const auto& r : rows)
            QCOMPARE(nameProblem(QString::fromUtf8(r.name)).isEmpty(), r.ok);
        QVERIFY(!nameProblem(QString(101, QLatin1Char('x'))).isEmpty());
    }

    // An SVG deck in the common layout becomes a card set drawn from its vectors at any size; one without all
    // the cards is refused with a message naming the missing card.
    void svgCardSet()
    {
        QTemporaryDir dir;
        Boxes boxes;
        const QString good = writeFile(dir.filePath(QStringLiteral("deck.svg")), svgDeck(true));
        const QString partial =
            writeFile(dir.filePath(QStringLiteral("partial.svg")), svgDeck(false, QStringLiteral("queen_club")));
        QString error;
        const auto set = SvgCardSet::load(good, &error);
        QVERIFY2(set, qPrintable(error));
        QVERIFY(set->hasBack());
        QVERIFY(!set->hasJoker());
        QVERIFY(!SvgCardSet::load(partial, &error));
        QCOMPARE(error, QStringLiteral("The SVG file has no card \"queen_club\": ") + partial);
        QVERIFY(svgCardSetProblem(good).isEmpty());
        QVERIFY(!svgCardSetProblem(writeFile(dir.filePath(QStringLiteral("other.svg")), "<svg/>")).isEmpty());
        // Crisp at every size and density: the picture has the device size, the fill is uniform inside.
        for (const qreal dpr : {1.0, 2.0})
            for (const char letter : {'M', 'X'}) {
                const CardSizeInfo& size = cardSizeInfo(letter);
                const QImage face = set->renderFace(13 * 2 + 11, QSize(size.width, size.height), dpr);
                QCOMPARE(face.size(), (QSizeF(size.width, size.height) * dpr).toSize());
                QCOMPARE(face.pixel(3, 3), face.pixel(int(size.width * dpr) - 4, 3));
            }
        CardPictures pictures;
        QVERIFY(pictures.loadFile(good, 'S', 1.5));
        QCOMPARE(pictures.cardSize(), QSize(85, 115));
        QCOMPARE(pictures.face(1).devicePixelRatio(), 1.5);
        QVERIFY(!pictures.loadFile(partial, 'S', 1.0));

        // Imported from the card set page: copied into our folder under the name and chosen.
        storage::SettingsStore store;
        engine::TMainGame game(store);
        game.dataFolder = (dir.path() + QStringLiteral("/data/")).toStdString();
        QDir().mkpath(QString::fromStdString(game.dataFolder));
        LookPage page(LookKind::CardSet, game, m_lib);
        storage::Options values;
        page.load(buildLookCatalog(QString::fromStdString(game.dataFolder), nullptr), values, {});
        LookPage::setAddHook([&](LookKind) { return good; });
        page.importSvg();
        QCOMPARE(page.selected()->name, QStringLiteral("deck"));
        QVERIFY(QFile::exists(QString::fromStdString(game.dataFolder) + QStringLiteral("Custom Card Sets/deck.svg")));
        page.importSvg();
        QCOMPARE(boxes.texts.last(), QStringLiteral("Name already in use. Please change it."));
        storage::Options out;
        page.storeInto(out);
        QCOMPARE(out.get("Customized_Cards_Set"), std::string("deck"));
    }

    // Our four sets are told apart and drawn at every size; the large index set's corner is bigger.
    void ownCardSets()
    {
        const std::vector<int> sets = availableCardSets(m_lib);
        QCOMPARE(sets, (std::vector<int>{kClassicCardSet, kFourColourCardSet, kLargeIndexCardSet, kPlainCardSet}));
        const QSize card(71, 96);
        const QImage classic = renderCardFace(m_lib, kClassicCardSet, 14, card, 1.0); // Ace of diamonds
        const QImage four = renderCardFace(m_lib, kFourColourCardSet, 14, card, 1.0);
        const QImage large = renderCardFace(m_lib, kLargeIndexCardSet, 14, card, 1.0);
        const QImage plain = renderCardFace(m_lib, kPlainCardSet, 14, card, 1.0);
        QVERIFY(classic != four && classic != large && four != plain);
        const auto isBlue = [](QRgb c) { return qBlue(c) > 150 && qRed(c) < 90; };
        const QPoint centre(35, 48);
        QVERIFY2(isBlue(four.pixel(centre)), "diamonds are blue in the four colour set");
        QVERIFY(!isBlue(classic.pixel(centre)));
        // Ink in the corner: the large index reaches further down the left edge.
        const auto inkRows = [](const QImage& img) {
            int last = 0;
            for (int y = 0; y < img.height() / 2; ++y)
                for (int x = 2; x < 20; ++x)
                    if (qGray(img.pixel(x, y)) < 160 && qAlpha(img.pixel(x, y)) > 200)
                        last = y;
            return last;
        };
        QVERIFY(inkRows(large) > inkRows(classic) + 5);
    }

private:
    static QByteArray fileBytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

QTEST_MAIN(TestLookEditors)
#include "test_look_editors.moc"
