// Solving off the window thread: one search at a time, cancelled by the next request, its answer delivered on the window thread.
#pragma once

#include "catalog/rules.h"
#include "engine/game_state.h"
#include "engine/solver.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class QThread;

namespace cw::ui {

// What a background search hands back: the solver's answer and, for searches over several
// positions (candidate deals), which one it is about (-1: none or not applicable).
struct SolverAnswer {
    engine::SolveResult result;
    int index = -1;
};

// Runs searches on worker threads. Only the newest request is answered: asking again (or
// cancelling) sets the running search's cancel flag and drops whatever it still returns, so a
// stale verdict never reaches the window. Nothing here ever waits for a worker except
// shutdown(), which the window calls when it closes.
class BackgroundSolver : public QObject {
    Q_OBJECT
public:
    // The work of one request; it runs on a worker thread and must watch `cancel`.
    using Job = std::function<SolverAnswer(const std::atomic<bool>& cancel)>;

    explicit BackgroundSolver(QObject* parent = nullptr);
    ~BackgroundSolver() override; // cancels and waits

    // Starts job; a search still running is cancelled and its answer dropped.
    void start(Job job);
    // Solves a copy of state under a copy of rules (the caller's table may change meanwhile).
    void solve(const engine::GameRules& rules, const engine::GameState& state, const engine::SolverLimits& limits);
    // The running search is cancelled; no answer comes for it.
    void cancel();
    // A request is waiting for its answer.
    bool busy() const { return m_waiting; }
    // Worker threads still running (cancelled ones wind down on their own).
    int runningWorkers() const { return static_cast<int>(m_workers.size()); }
    // Cancels every search and waits until every worker has ended.
    void shutdown();

signals:
    // The answer of the newest request (window thread).
    void answered(const cw::ui::SolverAnswer& answer);

private:
    struct Worker {
        QThread* thread = nullptr;
        std::shared_ptr<std::atomic<bool>> cancel;
    };
    void deliver(quint64 ticket, const SolverAnswer& answer);
    void workerEnded(QThread* thread);

    std::vector<Worker> m_workers;
    quint64 m_ticket = 0;
    bool m_waiting = false;
};

} // namespace cw::ui
