#include "convert/ConversionProgress.h"

#include "tasks/TimeText.h"

#include <QString>
#include <algorithm>
#include <cmath>

namespace {

bool IsFieldStart(const QByteArray &chunk, qsizetype at)
{
    if (at == 0)
        return true;
    const char before = chunk[at - 1];
    return before == ' ' || before == '\t' || before == '\r' || before == '\n';
}

bool IsValueEnd(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::optional<double> ParseTime(const QByteArray &value)
{
    const QString text = QString::fromLatin1(value);
    if (text.contains(QLatin1Char(':'))) {
        const double seconds = TimeToSeconds(text);
        // TimeToSeconds gives -1 for a text that is not a time; a negative time is no progress.
        if (seconds < 0)
            return std::nullopt;
        return seconds;
    }
    if (text.isEmpty() || !(text[0].isDigit()))
        return std::nullopt;
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !std::isfinite(seconds))
        return std::nullopt;
    return seconds;
}

} // namespace

std::optional<double> ProgressTimeIn(const QByteArray &chunk)
{
    static const QByteArray field("time=");
    std::optional<double> best;
    for (qsizetype at = chunk.indexOf(field); at >= 0; at = chunk.indexOf(field, at + 1)) {
        if (!IsFieldStart(chunk, at))
            continue;
        const qsizetype begin = at + field.size();
        qsizetype end = begin;
        while (end < chunk.size() && !IsValueEnd(chunk[end]))
            ++end;
        if (end == chunk.size())
            break; // cut off by the chunk's end
        const std::optional<double> value = ParseTime(chunk.mid(begin, end - begin));
        if (value && (!best || *value > *best))
            best = value;
    }
    return best;
}

int ProgressPercent(double part, double whole)
{
    if (whole == 0)
        return 0;
    const double percent = std::clamp(part / whole * 100.0, 0.0, 100.0);
    if (std::isnan(percent))
        return 0;
    return static_cast<int>(RoundHalfEven(percent));
}
