#pragma once

#include "tasks/ltvItemData.h"

class QTreeWidget;
class QTreeWidgetItem;

// Copies fields of row `row` of the task list into `record` (selector -2: all; -1: the caption;
// 0 to 9: that sub-item). Fields outside the selector keep what the record held; the seconds of
// the copied time texts are recomputed. Raises EListError for a row outside the list.
void ReadTaskRecord(const QTreeWidget *list, int row, int selector, ltvItemData &record);

// Copies fields of `record` into row `row` by the same selectors; only texts are written.
void WriteTaskRecord(QTreeWidget *list, int row, int selector, const ltvItemData &record);

// Copies all eleven texts of the record into a row item (one that may not be in a list yet).
void WriteTaskItem(QTreeWidgetItem *item, const ltvItemData &record);
