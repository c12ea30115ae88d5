#include "tasks/TaskRecordIO.h"

#include "platform/TessivoError.h"
#include "tasks/TimeText.h"

#include <QTreeWidget>

namespace {

// The record's text fields in row order: the caption, then sub-items 0 to 9.
template <class Record>
auto *TextField(Record &r, int column)
{
    decltype(&r.InputPath) fields[] = {&r.InputPath, &r.LengthText, &r.FrameSize, &r.Status, &r.OutName, &r.OutExt,
                         &r.RangeStart, &r.RangeEnd, &r.ClipLength, &r.StartTime, &r.EndTime};
    return fields[column];
}

void Recompute(ltvItemData &r, int subItem)
{
    switch (subItem) {
    case TaskField::Length: r.LengthSec = TimeToSeconds(r.LengthText); break;
    case TaskField::RangeStart: r.RangeStartSec = TimeToSeconds(r.RangeStart); break;
    case TaskField::RangeEnd: r.RangeEndSec = TimeToSeconds(r.RangeEnd); break;
    case TaskField::ClipLength: r.ClipLengthSec = TimeToSeconds(r.ClipLength); break;
    case TaskField::StartTime: r.StartSec = TimeToSeconds(r.StartTime); break;
    case TaskField::EndTime: r.EndSec = TimeToSeconds(r.EndTime); break;
    default: break;
    }
}

QTreeWidgetItem *RowItem(const QTreeWidget *list, int row)
{
    QTreeWidgetItem *item = row >= 0 ? list->topLevelItem(row) : nullptr;
    if (!item)
        throw EListError(row);
    return item;
}

} // namespace

void ReadTaskRecord(const QTreeWidget *list, int row, int selector, ltvItemData &record)
{
    const QTreeWidgetItem *item = RowItem(list, row);
    if (selector == TaskField::All) {
        for (int column = 0; column <= 10; ++column)
            *TextField(record, column) = item->text(column);
        for (int sub = 0; sub <= 9; ++sub)
            Recompute(record, sub);
    } else if (selector == TaskField::Caption) {
        record.InputPath = item->text(0);
    } else if (selector >= 0 && selector <= 9) {
        *TextField(record, selector + 1) = item->text(selector + 1);
        Recompute(record, selector);
    }
}

void WriteTaskItem(QTreeWidgetItem *item, const ltvItemData &record)
{
    for (int column = 0; column <= 10; ++column)
        item->setText(column, *TextField(record, column));
}

void WriteTaskRecord(QTreeWidget *list, int row, int selector, const ltvItemData &record)
{
    QTreeWidgetItem *item = RowItem(list, row);
    if (selector == TaskField::All) {
        WriteTaskItem(item, record);
    } else if (selector == TaskField::Caption) {
        item->setText(0, record.InputPath);
    } else if (selector >= 0 && selector <= 9) {
        item->setText(selector + 1, *TextField(record, selector + 1));
    }
}
