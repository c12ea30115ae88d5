#pragma once

#include <QVector>

class QTreeWidget;

// Where each row's texts come from after a move, and which rows are selected then.
struct TaskMovePlan
{
    QVector<int> source;     // row i takes the texts row source[i] held before
    QVector<bool> selected;  // selection after the move
};

// Move Up: each selected row from the second on, top to bottom, trades its texts with the row
// above and hands its selection up. A block moves as a whole unless it includes the first row.
TaskMovePlan PlanMoveUp(const QVector<bool> &selected);
// Move Down: the mirror image, bottom to top; the last row never moves down.
TaskMovePlan PlanMoveDown(const QVector<bool> &selected);

// One flag per row: whether the row is selected.
QVector<bool> SelectedRowFlags(const QTreeWidget *list);

// The list commands. The moves exchange the rows' texts (the focused row stays where it is);
// with nothing selected they change nothing. Each works in one pass over the list, whatever
// its length.
void MoveSelectedTasksUp(QTreeWidget *list);
void MoveSelectedTasksDown(QTreeWidget *list);
// Deletes the selected rows; returns how many.
int RemoveSelectedTasks(QTreeWidget *list);
void ClearTasks(QTreeWidget *list);
