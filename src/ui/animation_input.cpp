// Makes the window's commands end the table's animations and pause before they act.
#include "ui/animation_input.h"

#include "ui/table_widget.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QPointer>
#include <QToolButton>
#include <QWidget>

namespace cw::ui {

namespace {

// Watches the window's own command objects; it swallows nothing but what ends the pause.
class CommandWatcher : public QObject {
public:
    CommandWatcher(QWidget& window, TableWidget& table) : QObject(&window), m_table(&table)
    {
        setObjectName(QStringLiteral("commandWatcher"));
    }

    void watch(QObject* object)
    {
        if (m_watched.contains(object))
            return;
        m_watched.insert(object);
        object->installEventFilter(this);
        connect(object, &QObject::destroyed, this, [this, object] { m_watched.remove(object); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_table)
            return false;
        const QEvent::Type type = event->type();
        const bool command = (type == QEvent::Shortcut && qobject_cast<QAction*>(watched)) ||
                             (type == QEvent::Show && qobject_cast<QMenu*>(watched)) ||
                             (type == QEvent::MouseButtonPress && qobject_cast<QToolButton*>(watched));
        if (!command)
            return false;
        if (m_table->paused()) {
            m_table->endPause();
            return type != QEvent::Show;
        }
        m_table->finishAnimations();
        return false;
    }

private:
    QPointer<TableWidget> m_table;
    QSet<QObject*> m_watched;
};

} // namespace

void finishAnimationsBeforeCommands(QWidget& window, TableWidget& table)
{
    auto* watcher = window.findChild<CommandWatcher*>(QStringLiteral("commandWatcher"), Qt::FindDirectChildrenOnly);
    if (!watcher)
        watcher = new CommandWatcher(window, table);
    for (QAction* a : window.findChildren<QAction*>())
        watcher->watch(a);
    for (QMenu* m : window.findChildren<QMenu*>())
        watcher->watch(m);
    for (QToolButton* b : window.findChildren<QToolButton*>())
        watcher->watch(b);
}

} // namespace cw::ui
