// Solving off the window thread: worker threads, cancel flags and the newest-request-only delivery.
#include "ui/solver_worker.h"

#include <QThread>

#include <algorithm>

namespace cw::ui {

BackgroundSolver::BackgroundSolver(QObject* parent) : QObject(parent) {}

BackgroundSolver::~BackgroundSolver() { shutdown(); }

void BackgroundSolver::start(Job job)
{
    cancel();
    const quint64 ticket = ++m_ticket;
    m_waiting = true;
    auto flag = std::make_shared<std::atomic<bool>>(false);
    QThread* thread = QThread::create([this, ticket, flag, job = std::move(job)] {
        SolverAnswer answer = job(*flag);
        // Queued onto the window thread; the object outlives its workers (shutdown waits).
        QMetaObject::invokeMethod(
            this, [this, ticket, answer] { deliver(ticket, answer); }, Qt::QueuedConnection);
    });
    connect(
        thread, &QThread::finished, this, [this, thread] { workerEnded(thread); }, Qt::QueuedConnection);
    m_workers.push_back({thread, flag});
    thread->start(QThread::LowPriority);
}

void BackgroundSolver::solve(const engine::GameRules& rules, const engine::GameState& state,
                             const engine::SolverLimits& limits)
{
    start([rules, state, limits](const std::atomic<bool>& cancel) {
        engine::SolverLimits l = limits;
        l.cancel = &cancel;
        return SolverAnswer{engine::solve(rules, state, l), -1};
    });
}

void BackgroundSolver::cancel()
{
    ++m_ticket;
    m_waiting = false;
    for (Worker& w : m_workers)
        w.cancel->store(true);
}

void BackgroundSolver::shutdown()
{
    cancel();
    for (Worker& w : m_workers) {
        w.thread->wait();
        delete w.thread;
    }
    m_workers.clear();
}

void BackgroundSolver::deliver(quint64 ticket, const SolverAnswer& answer)
{
    if (ticket != m_ticket || !m_waiting)
        return; // a newer request (or a cancel) came in meanwhile
    m_waiting = false;
    emit answered(answer);
}

void BackgroundSolver::workerEnded(QThread* thread)
{
    const auto it =
        std::find_if(m_workers.begin(), m_workers.end(), [thread](const Worker& w) { return w.thread == thread; });
    if (it == m_workers.end())
        return; // already reaped by shutdown
    m_workers.erase(it);
    thread->wait();
    delete thread;
}

} // namespace cw::ui
