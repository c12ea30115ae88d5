#include "tasks/TaskOptions.h"

#include "tasks/TaskInputNames.h"
#include "tasks/TimeText.h"
#include "tasks/ltvItemData.h"

TaskOptionTexts ShownTaskOptions(const ltvItemData &record, const QString &outputExtension)
{
    return {record.OutName + outputExtension, record.StartTime, record.EndTime};
}

void StoreTaskOptions(ltvItemData &record, const TaskOptionTexts &shown)
{
    record.OutName = StripExtension(shown.newFilename);
    record.OutExt = ExtensionOfText(shown.newFilename);

    double s = TimeToSeconds(shown.startTime);
    double e = TimeToSeconds(shown.endTime);
    if (s == -1)
        s = record.StartSec;
    if (e == -1)
        e = record.EndSec;
    if (s < 0 || s >= e || s >= record.RangeEndSec)
        s = record.StartSec;
    if (e <= 0 || e <= s || e <= record.RangeStartSec)
        e = record.EndSec;

    // A stored time that is itself unknown (an input without a duration) stays as it is rather
    // than becoming a negative time text.
    if (s >= 0)
        record.StartTime = SecondsToTimeText(s);
    if (e >= 0)
        record.EndTime = SecondsToTimeText(e);
    if (s >= 0 && e >= 0 && e - s >= 0)
        record.ClipLength = SecondsToTimeText(e - s);
}
