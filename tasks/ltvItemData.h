#pragma once

#include <QString>

// A task's data as a copy of its task-list row: eleven texts, then six numbers of seconds that
// are recomputed from the texts whenever the record is read from a row (never stored).
struct ltvItemData
{
    QString InputPath;  // caption
    QString LengthText; // sub-item 0, "Length"
    QString FrameSize;  // sub-item 1, "Size"
    QString Status;     // sub-item 2, "Status"
    QString OutName;    // sub-item 3
    QString OutExt;     // sub-item 4
    QString RangeStart; // sub-item 5
    QString RangeEnd;   // sub-item 6
    QString ClipLength; // sub-item 7
    QString StartTime;  // sub-item 8
    QString EndTime;    // sub-item 9

    double LengthSec = 0;
    double RangeStartSec = 0;
    double RangeEndSec = 0;
    double ClipLengthSec = 0;
    double StartSec = 0;
    double EndSec = 0;
};

// Selectors of ReadTaskRecord and WriteTaskRecord.
namespace TaskField {
constexpr int All = -2;
constexpr int Caption = -1;
constexpr int Length = 0;
constexpr int Size = 1;
constexpr int Status = 2;
constexpr int OutName = 3;
constexpr int OutExt = 4;
constexpr int RangeStart = 5;
constexpr int RangeEnd = 6;
constexpr int ClipLength = 7;
constexpr int StartTime = 8;
constexpr int EndTime = 9;
}
