// A game window on its own data folder for the window tests: dealt, shown offscreen, driven by synthesized events.
#pragma once

#include "engine/session.h"
#include "ui/main_window.h"
#include "ui/startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QtTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cw::ui::testing {

inline QString artifactsDir()
{
    const QString dir = QStringLiteral(CW_ARTIFACTS_DIR);
    QDir().mkpath(dir);
    return dir;
}

// Records what the end of a game hands to the statistics.
class RecordingSink : public engine::GameEndSink {
public:
    std::vector<engine::GameEndRecord> records;
    engine::GameEndOutcome recordGameEnd(const engine::GameEndRecord& game) override
    {
        records.push_back(game);
        return {true, -1, {}};
    }
};

// Klondike (game 0) dealt with a fixed game number, no animations, card size B.
struct WindowFixture {
    AppCore core;
    RecordingSink sink;
    std::unique_ptr<TfrmMain> window;
    // The game numbers of fresh deals when a test needs more than one (the start-up deal takes the
    // first); unset: gameNumber every time.
    std::function<std::string()> numbers;
    // The game current at start-up, and whether games are recorded in the real statistics files
    // (instead of the recording sink).
    std::string startGameId = "0000";
    bool realStatistics = false;

    bool open(const QString& dataFolder, const std::string& gameNumber = "12345")
    {
        const std::string data = QDir(dataFolder).absolutePath().toStdString() + "/";
        const QString stop = prepareCore(core, CW_BIN_DIR "/", data);
        if (!stop.isEmpty()) {
            qWarning() << stop;
            return false;
        }
        storage::SettingsStore& s = core.store;
        s.set(storage::col::GameId, startGameId);
        s.set(storage::col::CardsAnimate, "N");
        s.set(storage::col::DealAnimation, "N");
        s.set(storage::col::CardSize, "B");
        s.set(storage::col::DoubleClickToFoundations, "Y");
        engine::SessionOptions options;
        options.freshGameNumber = numbers ? numbers : [gameNumber] { return gameNumber; };
        options.autoplayDelayMs = 0;
        engine::GameEndSink* ends = realStatistics ? static_cast<engine::GameEndSink*>(core.sink.get()) : &sink;
        window = std::make_unique<TfrmMain>(*core.game, core.library, ends, options);
        window->resize(1000, 760);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            return false;
        window->firstActivation();
        QCoreApplication::processEvents();
        return true;
    }

    engine::Session& session() { return window->session(); }
    TableWidget* table() { return window->table(); }
    const engine::Table& tableState() { return session().state().table; }
    int count(engine::PileRef p) { return static_cast<int>(tableState().pile(p).size()); }
    int top(engine::PileRef p)
    {
        const auto& pile = tableState().pile(p);
        return pile.empty() ? 0 : pile[pile.size() - 1];
    }
    QPoint centreOf(engine::PileRef p, int index) { return table()->cardRect(p, index).center(); }

    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(table(), Qt::LeftButton, {}, from);
        QTest::mouseMove(table(), from + QPoint(8, 6));
        QTest::mouseMove(table(), (from + to) / 2);
        QTest::mouseMove(table(), to);
        QTest::mouseRelease(table(), Qt::LeftButton, {}, to);
        QCoreApplication::processEvents();
    }

    void shoot(const QString& name)
    {
        QCoreApplication::processEvents();
        window->grab().save(artifactsDir() + QLatin1Char('/') + name);
    }
};

} // namespace cw::ui::testing
