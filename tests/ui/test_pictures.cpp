// Tests of the picture library, card sets, decks, backgrounds, markers and sounds.
#include "ui/backgrounds.h"
#include "ui/card_art.h"
#include "ui/deck_art.h"
#include "ui/picture_library.h"
#include "ui/picture_library_icons.h"
#include "ui/pile_markers.h"
#include "ui/sounds.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace cw::ui;

namespace {

const QString kLibraryPath = QStringLiteral(CW_BIN_DIR "/CWD.RGF");

// A picture counts as drawn when most of it is opaque and it is not one flat colour.
bool looksDrawn(const QImage& img, double minOpaque = 0.8)
{
    if (img.isNull())
        return false;
    const QImage im = img.convertToFormat(QImage::Format_ARGB32);
    qint64 opaque = 0;
    QSet<QRgb> colours;
    for (int y = 0; y < im.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(im.constScanLine(y));
        for (int x = 0; x < im.width(); ++x) {
            if (qAlpha(line[x]) > 200)
                ++opaque;
            if (colours.size() < 8)
                colours.insert(line[x]);
        }
    }
    return opaque >= minOpaque * im.width() * im.height() && colours.size() >= 3;
}

bool anyVisible(const QImage& img)
{
    const QImage im = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < im.width(); ++x)
            if (qAlpha(im.pixel(x, y)) > 40)
                return true;
    return false;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString artifactsDir()
{
    const QString dir = QStringLiteral(CW_ARTIFACTS_DIR);
    QDir().mkpath(dir);
    return dir;
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private:
    PictureLibrary m_lib;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY2(m_lib.load(kLibraryPath), qPrintable(m_lib.errorMessage()));
    }

    void refusesMissingOrForeignLibrary_data()
    {
        QTest::addColumn<QByteArray>("content");   // empty: no file at all
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("junk") << QByteArray("this is not a picture library\x01\x02", 32);
        QTest::newRow("truncated") << [] {
            QFile f(kLibraryPath);
            f.open(QIODevice::ReadOnly);
            return f.read(200);
        }();
    }
    void refusesMissingOrForeignLibrary()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("CWD.RGF"));
        if (!content.isEmpty())
            writeFile(path, content);
        PictureLibrary lib;
        QVERIFY(!lib.load(path));
        QCOMPARE(lib.errorMessage(), QStringLiteral("Can't find/load ") + QFileInfo(path).absoluteFilePath());
        QVERIFY(lib.picture(QStringLiteral("DB011")).isNull());
        QVERIFY(lib.sound(QStringLiteral("New")).isEmpty());
    }

    void findsLibraryWhateverTheCase()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::copy(kLibraryPath, dir.filePath(QStringLiteral("CWD.RGF"))));
        PictureLibrary lib;
        QVERIFY(lib.load(dir.filePath(QStringLiteral("cwd.rgf"))));
        QCOMPARE(lib.path(), dir.filePath(QStringLiteral("CWD.RGF")));
        QVERIFY(!lib.sound(QStringLiteral("won")).isEmpty());
    }

    void everyNamedPictureResolves()
    {
        const QStringList names = m_lib.pictureNames();
        QVERIFY(names.size() > 250);
        for (const QString& name : names) {
            const QImage img = m_lib.picture(name, 1.0);
            QVERIFY2(!img.isNull(), qPrintable(name));
            QVERIFY2(anyVisible(img), qPrintable(name));
        }
        // Sizes follow the names: cards, suit sheets, shadows with their margin.
        QCOMPARE(m_lib.picture(QStringLiteral("DB011")).size(), QSize(71, 96));
        QCOMPARE(m_lib.picture(QStringLiteral("CM001S")).size(), QSize(59 * 5, 80 * 3));
        QCOMPARE(m_lib.picture(QStringLiteral("SHADOW_X1")).size(), QSize(102 + kShadowMargin, 138 + kShadowMargin));
        QCOMPARE(m_lib.picture(QStringLiteral("WL004")).size(), QSize(25, 32));
        // High-density screens get more pixels for the same logical size.
        const QImage hi = m_lib.picture(QStringLiteral("DB011"), 2.0);
        QCOMPARE(hi.size(), QSize(142, 192));
        QCOMPARE(hi.devicePixelRatio(), 2.0);
        // Names are matched without regard to case; unknown names give nothing.
        QVERIFY(!m_lib.picture(QStringLiteral("wb_waste")).isNull());
        QCOMPARE(m_lib.picture(QStringLiteral("Card_10_Down_black")).size(), QSize(14, 18));
        for (const char* bad : {"CB099H", "CB001Z", "DB999", "WB002", "WB", "B999", "SHADOW_B3", "Q001", "",
                                "Card_14_Up_red", "Card_01_Up_red", "Card_1_Sideways_red", "SUIT_STARS"})
            QVERIFY2(m_lib.picture(QLatin1String(bad)).isNull(), bad);
    }

    void everySoundIsShortPaddedPcm()
    {
        const QStringList names = {"New", "Redo", "Restart", "Undo", "Shuffle", "Autoplay", "Card_down", "Card_up",
                                   "Stock", "Pairing", "Foundation", "Tableau", "Redeal", "red_no_a", "Face_up",
                                   "About", "Hi-Scor", "Scores", "Won", "Reorder", "Eddy", "Splash"};
        for (const QString& name : names) {
            const QByteArray wav = m_lib.sound(name.toUpper());
            QVERIFY2(wav.size() > 44, qPrintable(name));
            QVERIFY(wav.startsWith("RIFF") && wav.mid(8, 8) == "WAVEfmt ");
            const auto u16 = [&](int at) { return quint16(uchar(wav[at]) | (uchar(wav[at + 1]) << 8)); };
            QCOMPARE(u16(20), quint16(1));   // PCM
            QCOMPARE(u16(22), quint16(1));   // mono
            QCOMPARE(u16(34), quint16(16));  // 16-bit
            const int rate = u16(24);
            QVERIFY(rate == 22050 || rate == 44100);
            const int samples = (wav.size() - 44) / 2;
            const int tail = rate * 3 / 10;
            QVERIFY2(samples > tail + rate / 50, qPrintable(name));   // some sound before the tail
            bool silentTail = true, audible = false;
            for (int i = 0; i < samples; ++i) {
                const qint16 s = qint16(u16(44 + 2 * i));
                if (i >= samples - tail && s != 0)
                    silentTail = false;
                if (std::abs(s) > 3000)
                    audible = true;
            }
            QVERIFY2(silentTail && audible, qPrintable(name));
        }
        QVERIFY(m_lib.sound(QStringLiteral("NoSuchSound")).isEmpty());
    }

    void soundPlayerIsQuietWithoutDevice()
    {
        SoundPlayer player(m_lib);
        const QString file = player.soundFile(QStringLiteral("card_up"));
        QVERIFY(!file.isEmpty());
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), m_lib.sound(QStringLiteral("Card_up")));
        QVERIFY(player.soundFile(QStringLiteral("../../etc/passwd")).isEmpty());
        // Whatever the machine has, these return without error or hang.
        player.play(QStringLiteral("Card_up"));
        player.play(QStringLiteral("unknown"));
        player.playLooped(QStringLiteral("Shuffle"));
        player.stop();
        QElapsedTimer t;
        t.start();
        player.playToEnd(QStringLiteral("Card_down"));
        QVERIFY(t.elapsed() < 3000);
        QVERIFY(SoundPlayer::isEnabled(QStringLiteral("Y"), QStringLiteral("Y")));
        QVERIFY(!SoundPlayer::isEnabled(QStringLiteral("N"), QStringLiteral("Y")));
        QVERIFY(!SoundPlayer::isEnabled(QStringLiteral("Y"), QStringLiteral("N")));
    }

    void everyCardSetRendersEveryCard()
    {
        const std::vector<int> sets = availableCardSets(m_lib);
        QCOMPARE(sets, (std::vector<int>{kClassicCardSet, kFourColourCardSet, kLargeIndexCardSet, kPlainCardSet}));
        QCOMPARE(kDefaultCardSet, kClassicCardSet);
        for (int set : sets) {
            for (const CardSizeInfo& size : cardSizes()) {
                const QString where = QStringLiteral("set %1 size %2").arg(set).arg(QLatin1Char(size.letter));
                CardPictures pics;
                QCOMPARE(pics.loadBuiltIn(m_lib, set, size.letter, 1.0), set);
                QCOMPARE(pics.cardSize(), QSize(size.width, size.height));
                QSet<QByteArray> distinct;
                for (int code = 1; code <= 52; ++code) {
                    const QImage face = pics.face(code).toImage();
                    QVERIFY2(face.size() == pics.cardSize() && looksDrawn(face, 0.85),
                             qPrintable(where + QStringLiteral(" card %1").arg(code)));
                    distinct.insert(QByteArray(reinterpret_cast<const char*>(face.constBits()), face.sizeInBytes()));
                }
                QVERIFY2(distinct.size() == 52, qPrintable(where));
                const QImage joker = pics.joker().toImage();
                QVERIFY2(looksDrawn(joker, 0.85), qPrintable(where));
                QVERIFY2(!distinct.contains(QByteArray(reinterpret_cast<const char*>(joker.constBits()),
                                                       joker.sizeInBytes())),
                         qPrintable(where));
            }
            for (int joker = 209; joker <= 212; ++joker)
                QVERIFY(looksDrawn(renderCardFace(m_lib, set, joker, {71, 96}, 1.0), 0.85));
        }
        for (int deck : availableDecks(m_lib))
            QVERIFY2(looksDrawn(renderDeck(m_lib, deck, {71, 96}, 1.0), 0.85), qPrintable(QString::number(deck)));
        QCOMPARE(availableDecks(m_lib).size(), std::size_t(12));
        QVERIFY(builtInBackgrounds().size() >= 12);
        for (const auto& bg : builtInBackgrounds())
            QVERIFY(looksDrawn(renderBackgroundTile(bg.number, 1.0), 1.0));
    }

    // Settings written by older versions may name card sets and decks that are gone:
    // they show the classic set and the default deck, with or without a library.
    void oldNumbersShowClassicSetAndDefaultDeck_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("shown");
        QTest::newRow("classic") << 1 << kClassicCardSet;
        QTest::newRow("four colours") << 2 << kFourColourCardSet;
        QTest::newRow("forced medium set 3: large index") << 3 << kLargeIndexCardSet;
        QTest::newRow("former vector set 14") << 14 << kClassicCardSet;
        QTest::newRow("high contrast") << 15 << kPlainCardSet;
        QTest::newRow("zero") << 0 << kClassicCardSet;
        QTest::newRow("unknown") << 99 << kClassicCardSet;
    }
    void oldNumbersShowClassicSetAndDefaultDeck()
    {
        QFETCH(int, stored);
        QFETCH(int, shown);
        PictureLibrary empty;   // not loaded
        for (const PictureLibrary* lib : {&m_lib, &empty}) {
            QCOMPARE(effectiveCardSet(*lib, stored), shown);
            CardPictures pics;
            QCOMPARE(pics.loadBuiltIn(*lib, stored, 'M', 1.0), shown);
            QCOMPARE(pics.face(27).toImage(), renderCardFace(*lib, shown, 27, {59, 80}, 1.0));
        }
        QCOMPARE(m_lib.picture(QStringLiteral("CB%1H").arg(stored, 3, 10, QLatin1Char('0'))).isNull(),
                 stored != shown);
        const QImage defaultDeck = renderDeck(m_lib, kDefaultDeck, {59, 80}, 1.0);
        for (int oldDeck : {13, 26, 0})
            QCOMPARE(renderDeck(m_lib, oldDeck, {59, 80}, 1.0), defaultDeck);
        QCOMPARE(renderCardSetBack(m_lib, kClassicCardSet, {59, 80}, 1.0), defaultDeck);
    }

    void pictureTableHoldsDeckShadowsAndMarkers()
    {
        CardPictures pics;
        pics.loadBuiltIn(m_lib, kDefaultCardSet, 'M', 2.0);
        pics.loadDeck(m_lib, kDefaultDeck);
        pics.loadExtras();
        QCOMPARE(pics.back().deviceIndependentSize(), QSizeF(59, 80));
        QCOMPARE(pics.back().devicePixelRatio(), 2.0);
        QCOMPARE(pics.shadow(2).deviceIndependentSize(), QSizeF(59 + kShadowMargin, 80 + kShadowMargin));
        QVERIFY(!pics.border(1).isNull() && !pics.emptyPlace().isNull());
        QVERIFY(!pics.marker(m_lib, QStringLiteral("stockUP")).isNull());
        QVERIFY(pics.marker(m_lib, QStringLiteral("Foundation14")).isNull());
        QCOMPARE(pics.marker(m_lib, QStringLiteral("deck")).toImage(), pics.back().toImage());
        // A player's deck of any size is stretched to the card.
        QImage own(10, 10, QImage::Format_RGB32);
        own.fill(Qt::yellow);
        pics.setDeckPicture(own);
        QCOMPARE(pics.back().size(), QSize(118, 160));
        QCOMPARE(pics.marker(m_lib, QStringLiteral("Deck")).toImage().pixelColor(50, 50), QColor(Qt::yellow));
    }

    void faceIndexFoldsDecksAndSuits_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("param50");
        QTest::addColumn<int>("expected");
        QTest::newRow("ace of hearts") << 1 << 0 << 0;
        QTest::newRow("king of spades") << 52 << 0 << 51;
        QTest::newRow("second deck") << 53 << 0 << 0;
        QTest::newRow("fourth deck last") << 208 << 0 << 51;
        QTest::newRow("2: diamond shows heart") << 14 << 2 << 0;
        QTest::newRow("2: club shows spade") << 27 << 2 << 39;
        QTest::newRow("2: heart stays") << 5 << 2 << 4;
        QTest::newRow("1: heart shows spade") << 13 << 1 << 51;
        QTest::newRow("joker") << 209 << 0 << -1;
        QTest::newRow("placeholder") << 0 << 0 << -1;
        QTest::newRow("out of range") << 213 << 0 << -1;
    }
    void faceIndexFoldsDecksAndSuits()
    {
        QFETCH(int, code);
        QFETCH(int, param50);
        QFETCH(int, expected);
        QCOMPARE(faceIndex(code, param50), expected);
    }

    void suitFoldingReachesThePictures()
    {
        CardPictures pics;
        pics.loadBuiltIn(m_lib, kPlainCardSet, 'B', 1.0);
        pics.setSuitFolding(2);
        QCOMPARE(pics.face(14).toImage(), pics.face(1).toImage());
        QCOMPARE(pics.face(27 + 52).toImage(), pics.face(40).toImage());
        QVERIFY(pics.face(0).isNull());
    }

    void cardSizeForcing_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("param40");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("advice");
        QTest::newRow("640, p40=1") << 640 << 1 << "B" << "M" << int(SizeAdvice::Medium640);
        QTest::newRow("800, p40=1: no forcing") << 800 << 1 << "B" << "B" << int(SizeAdvice::None);
        QTest::newRow("800, p40=2") << 800 << 2 << "S" << "M" << int(SizeAdvice::Medium800);
        QTest::newRow("1024, p40=2, S") << 1024 << 2 << "S" << "B" << int(SizeAdvice::FromLarge);
        QTest::newRow("1024, p40=2, X") << 1024 << 2 << "X" << "B" << int(SizeAdvice::FromExtraLarge);
        QTest::newRow("1024, p40=2, B") << 1024 << 2 << "B" << "B" << int(SizeAdvice::None);
        QTest::newRow("800, X, p40=1") << 800 << 1 << "X" << "B" << int(SizeAdvice::FromExtraLarge);
        QTest::newRow("800, X, p40=0") << 800 << 0 << "X" << "S" << int(SizeAdvice::FromExtraLarge);
        QTest::newRow("640, p40=1, L stays") << 640 << 1 << "L" << "L" << int(SizeAdvice::None);
        QTest::newRow("big screen") << 1920 << 2 << "X" << "X" << int(SizeAdvice::None);
    }
    void cardSizeForcing()
    {
        QFETCH(int, width);
        QFETCH(int, param40);
        QFETCH(QString, selected);
        QFETCH(QString, expected);
        QFETCH(int, advice);
        const CardSizeForcing f = forceCardSizeForScreen(width, param40, selected.at(0).toLatin1());
        QCOMPARE(QString(QLatin1Char(f.letter)), expected);
        QCOMPARE(f.forced, expected != selected);
        QCOMPARE(int(f.advice), advice);
        if (f.forced)
            QVERIFY(sizeAdviceText(f.advice, QStringLiteral("Klondike")).contains(QStringLiteral("play Klondike using")));
    }

    void sheetSizesGiveTheSizeLetter()
    {
        QCOMPARE(sizeLetterForSheet({355, 1152}), 'B');
        QCOMPARE(sizeLetterForSheet({510, 1656}), 'X');
        QCOMPARE(sizeLetterForSheet({295, 960}), 'M');
        QCOMPARE(sizeLetterForSheet({356, 1152}), char(0));
        QCOMPARE(cardSizeInfo('s').width, 85);
        QCOMPARE(cardSizeInfo('?').letter, 'B');
    }

    void playerFilesAreValidated()
    {
        QTemporaryDir dir;
        const auto sheetFile = [&](const QString& name, QSize size, const char* format) {
            QImage img(size, QImage::Format_RGB32);
            img.fill(Qt::white);
            QPainter p(&img);
            p.fillRect(QRect(0, 0, 71, 96), Qt::red);   // the ace of hearts cell
            p.end();
            const QString path = dir.filePath(name);
            img.save(path, format);
            return path;
        };
        const QString good = sheetFile(QStringLiteral("good.crs"), {355, 1152}, "BMP");
        const QString wide = sheetFile(QStringLiteral("wide.crs"), {356, 1152}, "BMP");
        const QString junk = dir.filePath(QStringLiteral("junk.crs"));
        writeFile(junk, QByteArray("BM this is no bitmap at all"));
        const QString missing = dir.filePath(QStringLiteral("missing.crs"));

        PictureFileResult r = loadPlayerCardSet(good);
        QVERIFY(r.ok());
        CardPictures pics;
        QVERIFY(pics.loadSheet(r.image, 2.0));
        QCOMPARE(pics.sizeLetter(), 'B');
        QCOMPARE(pics.face(1).toImage().pixelColor(70, 90), QColor(Qt::red));
        QCOMPARE(pics.face(2).toImage().pixelColor(70, 90), QColor(Qt::white));
        QCOMPARE(pics.face(1).deviceIndependentSize(), QSizeF(71, 96));

        QCOMPARE(loadPlayerCardSet(wide).error,
                 QStringLiteral("The format of the Customized card set image is not valid.\n") + wide);
        QCOMPARE(loadPlayerCardSet(junk).error, QStringLiteral("Image is not valid: ") + junk);
        QCOMPARE(loadPlayerCardSet(missing).error, QStringLiteral("Customized cards set image not found: ") + missing);
        QVERIFY(!pics.loadSheet(QImage(356, 1152, QImage::Format_RGB32), 1.0));

        // Decks: any size, stretched to the card; a JPEG under any name is fine.
        const QString deck = sheetFile(QStringLiteral("deck.bmp"), {40, 40}, "JPG");
        r = loadPlayerDeck(deck, {59, 80}, 1.5);
        QVERIFY(r.ok());
        QCOMPARE(r.image.size(), QSize(89, 120));
        QCOMPARE(loadPlayerDeck(junk, {59, 80}, 1.0).error, QStringLiteral("Image is not valid: ") + junk);
        QCOMPARE(loadPlayerDeck(missing, {59, 80}, 1.0).error,
                 QStringLiteral("Customized deck image not found: ") + missing);

        // Backgrounds: a bare name means the data folder and ".bmp".
        sheetFile(QStringLiteral("wood.bmp"), {64, 64}, "BMP");
        QVERIFY(loadPlayerBackground(QStringLiteral("wood"), dir.path()).ok());
        QVERIFY(loadPlayerBackground(dir.filePath(QStringLiteral("wood.bmp")), QString()).ok());
        QCOMPARE(loadPlayerBackground(QStringLiteral("oak"), dir.path()).error,
                 QStringLiteral("Customized background image not found: ") + dir.filePath(QStringLiteral("oak.bmp")));
        QCOMPARE(loadPlayerBackground(junk, QString()).error, QStringLiteral("Image is not valid: ") + junk);
        QVERIFY(!isValidImageFile(junk));
        QVERIFY(isValidImageFile(deck));
    }

    void markerNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("picture");
        QTest::newRow("StockUp") << "StockUp" << "WB022";
        QTest::newRow("stockstop") << "stockstop" << "WB008";
        QTest::newRow("StockDown") << "StockDown" << "WB005";
        QTest::newRow("StockVisible") << "StockVisible" << "WB_WASTE";
        QTest::newRow("FirstTableauAll") << "FirstTableauAll" << "WB004";
        QTest::newRow("Foundation") << "Foundation" << "WB004";
        QTest::newRow("FoundationA") << "FoundationA" << "WB010";
        QTest::newRow("Foundation10") << "Foundation10" << "WB020";
        QTest::newRow("Foundation11") << "Foundation11" << "WB006";
        QTest::newRow("Foundation12") << "Foundation12" << "WB003";
        QTest::newRow("Foundation13") << "Foundation13" << "WB011";
        QTest::newRow("Position") << "Position" << "WB_TABLEAU";
        QTest::newRow("EmptyPosition") << "EmptyPosition" << "WB001";
        QTest::newRow("EmptyPositionJQK") << "EmptyPositionJQK" << "WB009";
        QTest::newRow("deck") << "Deck" << "DB007";
        QTest::newRow("unknown") << "Foundation14" << "";
    }
    void markerNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, picture);
        QCOMPARE(markerPictureName(name, 'B', 7), picture);
        if (picture.isEmpty())
            QCOMPARE(markerErrorText(name), QStringLiteral("Error: ") + name);
        else
            QVERIFY(!m_lib.picture(picture).isNull());
    }

    void completedFoundationMarks()
    {
        QCOMPARE(foundationMarkColour(4), QColor(255, 185, 220));
        QCOMPARE(foundationMarkColour(14), QColor(192, 192, 192));
        QCOMPARE(foundationMarkColour(99), QColor(0, 0, 0));
        QVERIFY(renderFoundationMark(0, 1, {71, 96}, 1.0).isNull());
        QVERIFY(renderFoundationMark(6, 1, {71, 96}, 1.0).isNull());
        const QImage solid = renderFoundationMark(2, 5, {71, 96}, 2.0);
        QCOMPARE(solid.size(), QSize(142, 192));
        QCOMPARE(solid.pixelColor(1, 1).alpha(), 0);        // the one-pixel inset
        QCOMPARE(solid.pixelColor(71, 96), QColor(255, 70, 70));
        QCOMPARE(solid.pixelColor(3, 3).alpha(), 0);         // rounded like the card
        for (int pattern = 1; pattern <= 5; ++pattern) {
            const QImage mark = renderFoundationMark(pattern, 1, {71, 96}, 1.0);
            QVERIFY(anyVisible(mark));
            QVERIFY(mark.pixelColor(0, 50).alpha() == 0 && mark.pixelColor(70, 50).alpha() == 0);
            if (pattern != 2)   // the card shows through every pattern but the solid one
                QVERIFY(mark.pixelColor(35, 48).alpha() < 255 || mark.pixelColor(36, 48).alpha() < 255);
        }
    }

    void fadeRunsFromColourToBlack()
    {
        QImage img(4, 512, QImage::Format_RGB32);
        img.fill(Qt::magenta);
        QPainter p(&img);
        paintFade(p, img.rect(), colorFromSetting(kDefaultTableColour));
        p.end();
        QCOMPARE(colorFromSetting(kDefaultTableColour), QColor(0, 128, 0));
        QCOMPARE(img.pixelColor(0, 511), QColor(0, 0, 0));
        QCOMPARE(img.pixelColor(0, 0), QColor(0, 127, 0));   // band 255: 128 * 255 / 256
        QCOMPARE(img.pixelColor(3, 255), QColor(0, 64, 0));  // band 128, two rows from 254
        for (int y = 1; y < 512; ++y)
            QVERIFY(img.pixelColor(0, y).green() <= img.pixelColor(0, y - 1).green());
        QCOMPARE(colorFromSetting(0x0000FF), QColor(255, 0, 0));
        QVERIFY(isTiledBackground(12));
        QVERIFY(!isTiledBackground(600));
    }

    void backgroundPrecedence()
    {
        QImage yellow(8, 8, QImage::Format_RGB32);
        yellow.fill(Qt::yellow);
        const QImage felt = m_lib.picture(QStringLiteral("B016"));
        const QImage pause = m_lib.picture(QStringLiteral("Y001"));
        struct Row {
            const char* name;
            BackgroundChoice choice;
            QColor top, bottom;   // expected at (10, 0) and (10, 299); invalid: compare with `tile`
            QImage tile;
        };
        const auto make = [](auto edit) {
            BackgroundChoice c;
            edit(c);
            return c;
        };
        const std::vector<Row> rows = {
            {"default fades green",
             make([](BackgroundChoice& c) {
                 c.useDefault = true;
                 c.number = 16;
             }),
             QColor(0, 127, 0),
             QColor(0, 0, 0),
             {}},
            {"default, no fade",
             make([](BackgroundChoice& c) {
                 c.useDefault = true;
                 c.fade = false;
             }),
             QColor(0, 128, 0),
             QColor(0, 128, 0),
             {}},
            {"player picture first",
             make([&](BackgroundChoice& c) {
                 c.playerPicture = yellow;
                 c.number = 16;
             }),
             QColor(Qt::yellow),
             QColor(Qt::yellow),
             {}},
            {"add-on before number",
             make([&](BackgroundChoice& c) {
                 c.addOnPicture = yellow;
                 c.number = 16;
             }),
             QColor(Qt::yellow),
             QColor(Qt::yellow),
             {}},
            {"number tiles", make([](BackgroundChoice& c) { c.number = 16; }), {}, {}, felt},
            {"fixed colour",
             make([](BackgroundChoice& c) {
                 c.fixedColour = 0xFF0000;
                 c.fade = false;
             }),
             QColor(0, 0, 255),
             QColor(0, 0, 255),
             {}},
            {"colour when fixed is 0",
             make([](BackgroundChoice& c) {
                 c.fixedColour = 0;
                 c.colour = 0xFF;
                 c.fade = false;
             }),
             QColor(255, 0, 0),
             QColor(255, 0, 0),
             {}},
            {"unknown number: colour",
             make([](BackgroundChoice& c) {
                 c.number = 999;
                 c.fade = false;
             }),
             QColor(0, 128, 0),
             QColor(0, 128, 0),
             {}},
            {"paused",
             make([](BackgroundChoice& c) {
                 c.paused = true;
                 c.useDefault = true;
             }),
             {},
             {},
             pause},
        };
        for (const Row& row : rows) {
            QImage img(300, 300, QImage::Format_RGB32);
            img.fill(Qt::magenta);
            QPainter p(&img);
            paintBackground(p, img.rect(), row.choice, m_lib, 1.0);
            p.end();
            if (row.tile.isNull()) {
                QCOMPARE(img.pixelColor(10, 0), row.top);
                QCOMPARE(img.pixelColor(10, 299), row.bottom);
            } else {
                QCOMPARE(img.pixelColor(10, 20), row.tile.pixelColor(10, 20));
                QCOMPARE(img.pixelColor(10 + 256, 20 + 256), row.tile.pixelColor(10, 20));   // tiled
            }
        }
    }

    // Pictures to look at: a card set, the decks, backgrounds and markers, at the
    // density of a high-resolution screen.
    void contactSheets()
    {
        const qreal dpr = 2.0;
        const QSize card(71, 96);
        const auto sheet = [&](const QString& file, int columns, const std::vector<QImage>& images, QSize cell,
                               const QColor& table) {
            const int rows = (static_cast<int>(images.size()) + columns - 1) / columns;
            QImage out((QSizeF((cell.width() + 6) * columns + 6, (cell.height() + 6) * rows + 6) * dpr).toSize(),
                       QImage::Format_RGB32);
            out.setDevicePixelRatio(dpr);
            out.fill(table);
            QPainter p(&out);
            for (int i = 0; i < static_cast<int>(images.size()); ++i)
                p.drawImage(QPointF(6 + (i % columns) * (cell.width() + 6), 6 + (i / columns) * (cell.height() + 6)),
                            images[static_cast<std::size_t>(i)]);
            p.end();
            QVERIFY(out.save(artifactsDir() + QLatin1Char('/') + file));
        };
        for (int set : availableCardSets(m_lib)) {
            CardPictures pics;
            pics.loadBuiltIn(m_lib, set, 'B', dpr);
            pics.setSuitFolding(0);
            std::vector<QImage> cards;
            for (int code = 1; code <= 52; ++code)
                cards.push_back(pics.face(code).toImage());
            cards.push_back(pics.joker().toImage());
            cards.push_back(renderDeck(m_lib, kDefaultDeck, card, dpr));
            sheet(QStringLiteral("cardset_%1.png").arg(set, 3, 10, QLatin1Char('0')), 13, cards, card, QColor(0, 100, 40));
        }
        {
            CardPictures pics;
            pics.loadBuiltIn(m_lib, kClassicCardSet, 'X', dpr);
            std::vector<QImage> courts;
            for (int code : {11, 12, 13, 50, 51, 52, 1, 40})
                courts.push_back(pics.face(code).toImage());
            courts.push_back(pics.joker().toImage());
            sheet(QStringLiteral("classic_courts_X.png"), 9, courts, pics.cardSize(), QColor(0, 100, 40));
        }
        // The classic set as an ordinary screen shows it: every card at the standard and
        // the small size, one pixel per pixel.
        for (char letter : {'B', 'M'}) {
            CardPictures pics;
            pics.loadBuiltIn(m_lib, kClassicCardSet, letter, 1.0);
            const QSize cell = pics.cardSize();
            QImage out(QSize((cell.width() + 6) * 14 + 6, (cell.height() + 6) * 4 + 6), QImage::Format_RGB32);
            out.fill(QColor(0, 100, 40));
            QPainter p(&out);
            for (int code = 1; code <= 53; ++code) {
                const int i = code - 1, row = std::min(i / 13, 3), column = code == 53 ? 13 : i % 13;
                p.drawPixmap(QPointF(6 + column * (cell.width() + 6), 6 + row * (cell.height() + 6)),
                             code == 53 ? pics.joker() : pics.face(code));
            }
            p.end();
            QVERIFY(out.save(artifactsDir() + QStringLiteral("/classic_%1_1x.png").arg(QLatin1Char(letter))));
        }
        // Every built-in set at an ordinary density: the court cards and a low card each.
        {
            const std::vector<int> sets = availableCardSets(m_lib);
            QImage out(QSize(6 + 7 * 77, 6 + int(sets.size()) * 102), QImage::Format_RGB32);
            out.fill(QColor(0, 100, 40));
            QPainter p(&out);
            for (int i = 0; i < int(sets.size()); ++i) {
                CardPictures pics;
                pics.loadBuiltIn(m_lib, sets[std::size_t(i)], 'B', 1.0);
                pics.loadDeck(m_lib, kDefaultDeck);
                int x = 6;
                for (int code : {1, 23, 11, 25, 39, 52, 209}) {
                    p.drawPixmap(QPointF(x, 6 + i * 102), pics.face(code));
                    x += 77;
                }
            }
            p.end();
            QVERIFY(out.save(artifactsDir() + QStringLiteral("/all_sets.png")));
        }
        std::vector<QImage> decks;
        for (int d : availableDecks(m_lib))
            decks.push_back(renderDeck(m_lib, d, card, dpr));
        sheet(QStringLiteral("decks.png"), 13, decks, card, QColor(0, 100, 40));

        std::vector<QImage> tiles;
        for (const auto& bg : builtInBackgrounds())
            tiles.push_back(renderBackgroundTile(bg.number, dpr).copy(0, 0, int(160 * dpr), int(120 * dpr)));
        tiles.push_back(renderPauseTile(dpr).copy(0, 0, int(160 * dpr), int(120 * dpr)));
        for (auto& t : tiles)
            t.setDevicePixelRatio(dpr);
        sheet(QStringLiteral("backgrounds.png"), 4, tiles, QSize(160, 120), Qt::white);

        std::vector<QImage> markers;
        for (const QString& s : markerSuffixes())
            markers.push_back(renderMarker(s, card, dpr));
        markers.push_back(render3DBorder(1, card, dpr));
        markers.push_back(render3DBorder(2, card, dpr));
        QImage shadowed = renderShadow(1, card, dpr);
        {
            QPainter p(&shadowed);
            p.drawImage(QPointF(0, 0), renderCardFace(m_lib, kDefaultCardSet, 1, card, dpr));
        }
        markers.push_back(shadowed);
        QImage lifted = renderShadow(2, card, dpr);
        {
            QPainter p(&lifted);
            p.drawImage(QPointF(0, 0), renderCardFace(m_lib, kDefaultCardSet, 13, card, dpr));
        }
        markers.push_back(lifted);
        for (int pattern = 1; pattern <= 5; ++pattern) {
            QImage marked = renderCardFace(m_lib, kDefaultCardSet, 13, card, dpr);
            QPainter p(&marked);
            p.drawImage(QPointF(0, 0), renderFoundationMark(pattern, pattern + 1, card, dpr));
            p.end();
            markers.push_back(marked);
        }
        sheet(QStringLiteral("markers.png"), 9, markers, card + QSize(kShadowMargin, kShadowMargin), QColor(0, 100, 40));
        // Every size side by side: the tiny size must stay readable.
        {
            QImage out(QSize(1000, 620) * dpr, QImage::Format_RGB32);
            out.setDevicePixelRatio(dpr);
            out.fill(QColor(0, 100, 40));
            QPainter p(&out);
            int y = 6;
            for (int set : availableCardSets(m_lib)) {
                int x = 6;
                for (const auto& size : cardSizes()) {
                    CardPictures pics;
                    pics.loadBuiltIn(m_lib, set, size.letter, dpr);
                    pics.loadDeck(m_lib, kDefaultDeck);
                    for (int code : {40, 13, 23}) {
                        p.drawPixmap(QPointF(x, y), pics.face(code));
                        x += size.width / 3;
                    }
                    p.drawPixmap(QPointF(x, y), pics.back());
                    x += size.width + 12;
                }
                y += 150;
            }
            p.end();
            QVERIFY(out.save(artifactsDir() + QStringLiteral("/sizes.png")));
        }
        std::vector<QImage> icons;
        for (const QString& name : iconNames())
            icons.push_back(m_lib.picture(name, dpr));
        sheet(QStringLiteral("icons.png"), 14, icons, QSize(120, 90), QColor(0xEE, 0xEE, 0xEE));
        std::vector<QImage> pause = {m_lib.picture(QStringLiteral("BMP_PAUSE_1"), dpr),
                                     m_lib.picture(QStringLiteral("BMP_PAUSE_2"), dpr)};
        sheet(QStringLiteral("pause.png"), 1, pause, QSize(420, 96), QColor(0, 70, 30));
    }

    // Not a pass/fail check: prints how long a whole set takes at size B.
    void reportRenderTime()
    {
        for (int set : availableCardSets(m_lib)) {
            for (qreal dpr : {1.0, 2.0}) {
                QElapsedTimer t;
                t.start();
                std::vector<QImage> faces;
                for (int code = 1; code <= 52; ++code)
                    faces.push_back(renderCardFace(m_lib, set, code, {71, 96}, dpr));
                qInfo("card set %03d: 52 faces at size B, device pixel ratio %.0f, in %lld ms", set, dpr,
                      static_cast<long long>(t.elapsed()));
            }
        }
    }
};

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
