#include "tasks/TaskListCommands.h"

#include <QItemSelection>
#include <QItemSelectionModel>
#include <QTreeWidget>

#include <utility>

namespace {

QVector<int> Identity(qsizetype n)
{
    QVector<int> order(n);
    for (int i = 0; i < n; ++i)
        order[i] = i;
    return order;
}

void ApplyMove(QTreeWidget *list, const TaskMovePlan &plan)
{
    const int columns = list->columnCount();
    // Snapshot the rows that give away their texts before any row is rewritten.
    QVector<QStringList> texts(plan.source.size());
    for (int row = 0; row < plan.source.size(); ++row) {
        const int from = plan.source[row];
        if (from != row && texts[from].isEmpty()) {
            const QTreeWidgetItem *item = list->topLevelItem(from);
            for (int c = 0; c < columns; ++c)
                texts[from] << item->text(c);
        }
    }
    for (int row = 0; row < plan.source.size(); ++row) {
        const int from = plan.source[row];
        if (from == row)
            continue;
        QTreeWidgetItem *item = list->topLevelItem(row);
        for (int c = 0; c < columns; ++c)
            item->setText(c, texts[from][c]);
    }
    // One selection change for the whole list; the current (focused) row is left alone.
    QItemSelection selection;
    QAbstractItemModel *model = list->model();
    for (int row = 0; row < plan.selected.size();) {
        if (!plan.selected[row]) {
            ++row;
            continue;
        }
        int last = row;
        while (last + 1 < plan.selected.size() && plan.selected[last + 1])
            ++last;
        selection.select(model->index(row, 0), model->index(last, columns - 1));
        row = last + 1;
    }
    list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

bool AnySelected(const QVector<bool> &selected)
{
    return selected.contains(true);
}

} // namespace

TaskMovePlan PlanMoveUp(const QVector<bool> &selected)
{
    TaskMovePlan plan{Identity(selected.size()), selected};
    for (int i = 1; i < plan.selected.size(); ++i) {
        if (plan.selected[i]) {
            std::swap(plan.source[i], plan.source[i - 1]);
            plan.selected[i - 1] = true;
            plan.selected[i] = false;
        }
    }
    return plan;
}

TaskMovePlan PlanMoveDown(const QVector<bool> &selected)
{
    TaskMovePlan plan{Identity(selected.size()), selected};
    for (int i = int(plan.selected.size()) - 2; i >= 0; --i) {
        if (plan.selected[i]) {
            std::swap(plan.source[i], plan.source[i + 1]);
            plan.selected[i + 1] = true;
            plan.selected[i] = false;
        }
    }
    return plan;
}

QVector<bool> SelectedRowFlags(const QTreeWidget *list)
{
    // From the selection's ranges: asking each row would cost a search of the ranges per row.
    QVector<bool> flags(list->topLevelItemCount(), false);
    const QItemSelection selection = list->selectionModel()->selection();
    for (const QItemSelectionRange &range : selection) {
        if (range.parent().isValid() || range.left() > 0)
            continue;
        for (int row = range.top(); row <= range.bottom() && row < flags.size(); ++row)
            flags[row] = true;
    }
    return flags;
}

void MoveSelectedTasksUp(QTreeWidget *list)
{
    const QVector<bool> selected = SelectedRowFlags(list);
    if (AnySelected(selected))
        ApplyMove(list, PlanMoveUp(selected));
}

void MoveSelectedTasksDown(QTreeWidget *list)
{
    const QVector<bool> selected = SelectedRowFlags(list);
    if (AnySelected(selected))
        ApplyMove(list, PlanMoveDown(selected));
}

int RemoveSelectedTasks(QTreeWidget *list)
{
    const QVector<bool> selected = SelectedRowFlags(list);
    const int count = int(selected.count(true));
    if (count == 0)
        return 0;
    // Deleting row by row shifts the rest of the list each time; taking all rows out and
    // putting the kept ones back costs one pass.
    QTreeWidgetItem *current = list->currentItem();
    const QList<QTreeWidgetItem *> rows = list->invisibleRootItem()->takeChildren();
    QList<QTreeWidgetItem *> kept;
    kept.reserve(rows.size() - count);
    for (qsizetype row = 0; row < rows.size(); ++row) {
        if (selected[row]) {
            if (rows[row] == current)
                current = nullptr;
            delete rows[row];
        } else {
            kept << rows[row];
        }
    }
    list->addTopLevelItems(kept);
    if (current)
        list->selectionModel()->setCurrentIndex(list->model()->index(list->indexOfTopLevelItem(current), 0),
                                                QItemSelectionModel::NoUpdate);
    return count;
}

void ClearTasks(QTreeWidget *list)
{
    list->clear();
}
