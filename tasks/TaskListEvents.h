#pragma once

#include <QObject>

class QTreeWidget;

// The task list's events in the form its handlers take them: a left click anywhere in the list
// (after the press and release have set the selection), Delete and Backspace (taken from the
// list; other keys keep their usual effect), and a change of the list's width.
class TaskListEvents : public QObject
{
    Q_OBJECT

public:
    explicit TaskListEvents(QTreeWidget *list);

Q_SIGNALS:
    void clicked();
    void deletePressed();
    void backspacePressed();
    void resized();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTreeWidget *FList;
    // Kept from the start: the filter also sees events while the list is being destroyed, when
    // asking the list for its viewport is no longer safe.
    QObject *FViewport;
    bool FReleasing = false;
};
