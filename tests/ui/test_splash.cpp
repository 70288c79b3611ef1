// The start-up splash: painted as soon as it is shown, gone at the first paint of the window it waits for.
#include "ui/splash.h"

#include <QPointer>
#include <QtTest>

class TestSplash : public QObject {
    Q_OBJECT

private slots:
    void closesAtTheFirstPaintOfTheTable()
    {
        QPointer<cw::ui::SplashWindow> splash = new cw::ui::SplashWindow;
        splash->showNow();
        QVERIFY(splash->isVisible());
        const QImage picture = splash->grab().toImage();
        QDir().mkpath(QStringLiteral(CW_ARTIFACTS_DIR));
        picture.save(QStringLiteral(CW_ARTIFACTS_DIR "/splash.png"));
        // Our own drawing, not a blank window: many colours.
        QSet<QRgb> colours;
        for (int y = 0; y < picture.height(); y += 4)
            for (int x = 0; x < picture.width(); x += 4)
                colours.insert(picture.pixel(x, y));
        QVERIFY(colours.size() > 50);

        QWidget table;
        table.resize(200, 100);
        splash->closeAtFirstPaint(&table);
        QCoreApplication::processEvents();
        QVERIFY(splash && splash->isVisible());
        table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&table));
        table.repaint();
        QTRY_VERIFY(splash.isNull());
    }
};

QTEST_MAIN(TestSplash)
#include "test_splash.moc"
