// Benchmarks of the look: switching the card set of a 104-card table until it is repainted, and opening the
// look pages of "Customize" with 50 card sets of the player's.
#include "engine/session.h"
#include "ui/card_art.h"
#include "ui/customize_dialog.h"
#include "ui/look_files.h"
#include "ui/main_window.h"
#include "ui/startup.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

using namespace cw;
using namespace cw::ui;

namespace {

QApplication& app()
{
    static int argc = 1;
    static char name[] = "bench_ui_look";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QApplication(argc, argv);
    }();
    return *instance;
}

// A Spider window (two decks: 104 cards) on its own data folder, with 50 card sets of the player's.
struct Window {
    QTemporaryDir dir;
    AppCore core;
    std::unique_ptr<TfrmMain> window;

    Window()
    {
        app();
        const QString data = dir.path() + QLatin1Char('/');
        QDir(data).mkpath(QString::fromLatin1(kCardSetsFolderName));
        QImage sheet(355, 1152, QImage::Format_RGB32);
        for (int i = 0; i < 50; ++i) {
            sheet.fill(QColor::fromHsv(i * 7, 180, 200));
            sheet.save(cardSetsFolder(data) + QStringLiteral("Set %1.crs").arg(i, 2, 10, QLatin1Char('0')), "PNG");
        }
        if (!prepareCore(core, CW_BIN_DIR "/", data.toStdString()).isEmpty())
            return;
        core.store.set(storage::col::GameId, "0018");
        core.store.set(storage::col::CardsAnimate, "N");
        core.store.set(storage::col::DealAnimation, "N");
        engine::SessionOptions options;
        options.freshGameNumber = [] { return std::string("4242"); };
        window = std::make_unique<TfrmMain>(*core.game, core.library, nullptr, options);
        window->resize(1200, 860);
        window->show();
        window->firstActivation();
        QApplication::processEvents();
    }
};

Window& spider()
{
    static Window w;
    return w;
}

// Each switch goes to a set and size that is not drawn yet (more than the face cache keeps), then paints.
void SwitchCardSetOn104CardTable(benchmark::State& state)
{
    Window& w = spider();
    if (!w.window) {
        state.SkipWithError("no window");
        return;
    }
    TableWidget* table = w.window->table();
    const int sets[] = {kClassicCardSet, kFourColourCardSet, kLargeIndexCardSet, kPlainCardSet};
    const engine::CardSize sizes[] = {engine::CardSize::B, engine::CardSize::S};
    int i = 0;
    for (auto _ : state) {
        TableSettings t = table->settings();
        t.cardSet = sets[i % 4];
        t.cardSize = sizes[(i / 4) % 2];
        ++i;
        table->setSettings(t);
        table->repaint();
    }
}
BENCHMARK(SwitchCardSetOn104CardTable)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Switching back and forth between two sets already drawn once.
void SwitchBetweenTwoDrawnSets(benchmark::State& state)
{
    Window& w = spider();
    if (!w.window) {
        state.SkipWithError("no window");
        return;
    }
    TableWidget* table = w.window->table();
    int i = 0;
    for (auto _ : state) {
        TableSettings t = table->settings();
        t.cardSize = engine::CardSize::B;
        t.cardSet = i++ % 2 ? kClassicCardSet : kFourColourCardSet;
        table->setSettings(t);
        table->repaint();
    }
}
BENCHMARK(SwitchBetweenTwoDrawnSets)->Unit(benchmark::kMillisecond);

// "Customize" opened on the card set page, 50 of the player's sets listed, until the dialog is painted.
void OpenLookPagesWith50Sets(benchmark::State& state)
{
    Window& w = spider();
    if (!w.window) {
        state.SkipWithError("no window");
        return;
    }
    for (auto _ : state) {
        TfrmCustomize dialog(*w.core.game, w.core.library, {}, CustomizePage::Cards, w.window.get());
        dialog.show();
        dialog.repaint();
        benchmark::DoNotOptimize(dialog.isVisible());
        state.PauseTiming();
        dialog.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenLookPagesWith50Sets)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
