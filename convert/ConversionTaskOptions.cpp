#include "convert/ConversionTaskOptions.h"

#include "tasks/TimeText.h"

QString ConversionTaskOptions(const ltvItemData &record)
{
    QString options;
    if (record.StartSec != record.RangeStartSec)
        options += QStringLiteral(" -ss ") + record.StartTime;
    if (record.ClipLengthSec != record.LengthSec)
        options += QStringLiteral(" -t ") + QString::number(RoundHalfEven(record.ClipLengthSec));
    return options;
}
