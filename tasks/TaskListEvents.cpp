#include "tasks/TaskListEvents.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeWidget>

TaskListEvents::TaskListEvents(QTreeWidget *list)
    : QObject(list)
    , FList(list)
    , FViewport(list->viewport())
{
    list->installEventFilter(this);
    list->viewport()->installEventFilter(this);
    // A click on a row: the view has settled the selection when it reports the click.
    connect(list, &QAbstractItemView::clicked, this, [this] { Q_EMIT clicked(); });
}

bool TaskListEvents::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FList && event->type() == QEvent::Resize) {
        Q_EMIT resized();
    } else if (watched == FList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Delete) {
            Q_EMIT deletePressed();
            return true;
        }
        if (key == Qt::Key_Backspace) {
            Q_EMIT backspacePressed();
            return true;
        }
    } else if (watched == FViewport && event->type() == QEvent::MouseButtonRelease && !FReleasing) {
        // A click beside the rows: the list clears its selection on the release, so the click is
        // reported once the list has handled it.
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && !FList->indexAt(mouse->position().toPoint()).isValid()) {
            FReleasing = true;
            QCoreApplication::sendEvent(watched, event);
            FReleasing = false;
            Q_EMIT clicked();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
