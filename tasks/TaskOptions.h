#pragma once

#include <QString>

struct ltvItemData;

// The three per-task options as the Output group shows them.
struct TaskOptionTexts
{
    QString newFilename; // "New Filename"
    QString startTime;   // "Start Time"
    QString endTime;     // "End Time"
};

namespace TaskOptionKeys {
inline const QString NewFilename = QStringLiteral("New Filename");
inline const QString StartTime = QStringLiteral("Start Time");
inline const QString EndTime = QStringLiteral("End Time");
}

// What the Output group shows for a task: its output name with the current output extension
// (whatever extension the task stores), its start and its end.
TaskOptionTexts ShownTaskOptions(const ltvItemData &record, const QString &outputExtension);

// Stores the shown options into the record (read with all fields): OutName and OutExt from the
// name; StartTime, EndTime and ClipLength from the times. A time that does not parse, or that
// breaks start < end, start < the input's end, end > the input's start, end > 0, keeps the
// task's stored time. An end beyond the input's duration is accepted.
void StoreTaskOptions(ltvItemData &record, const TaskOptionTexts &shown);
