#include "tasks/ProbeReport.h"

#include "convert/TranscoderProcess.h"
#include "tasks/TaskInputNames.h"
#include "tasks/ltvItemData.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

const QString ProbeStartText = QStringLiteral("00:00:00.0");

// Splits at the commas that are not inside parentheses.
QStringList TopLevelItems(const QString &text)
{
    QStringList items;
    int depth = 0;
    qsizetype begin = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && depth > 0)
            --depth;
        else if (c == QLatin1Char(',') && depth == 0) {
            items << text.mid(begin, i - begin);
            begin = i + 1;
        }
    }
    items << text.mid(begin);
    return items;
}

} // namespace

QString FrameSizeOfVideoStream(const QString &videoText)
{
    static const QRegularExpression size(QStringLiteral("^\\s*([0-9]+x[0-9]+)(?![0-9A-Za-z])"));
    const QStringList items = TopLevelItems(videoText);
    // The first item is the codec, whose tag may look like "0x31637661".
    for (qsizetype i = 1; i < items.size(); ++i) {
        const QRegularExpressionMatch m = size.match(items[i]);
        if (m.hasMatch())
            return QLatin1Char(' ') + m.captured(1);
    }
    return {};
}

ProbeResult ParseProbeReport(const QString &report, const QString &inputPath)
{
    ProbeResult result;
    result.ran = true;
    result.startText = ProbeStartText;

    // The input's own section begins after the path, which the transcoder repeats as passed.
    const qsizetype at = inputPath.isEmpty() ? -1 : report.indexOf(inputPath);
    const QString section = at < 0 ? report : report.mid(at + inputPath.size());

    // Whole lines only: metadata values may hold any text ("Duration", "Video", commas).
    bool durationSeen = false;
    bool videoSeen = false;
    const QStringList lines = section.split(QRegularExpression(QStringLiteral("[\r\n]")));
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (!durationSeen && trimmed.startsWith(QLatin1String("Duration:"))) {
            durationSeen = true;
            const QString rest = trimmed.mid(9).trimmed();
            const qsizetype comma = rest.indexOf(QLatin1Char(','));
            if (comma >= 0)
                result.duration = rest.left(comma);
        } else if (!videoSeen && trimmed.startsWith(QLatin1String("Stream #"))) {
            const qsizetype video = trimmed.indexOf(QLatin1String(": Video:"));
            if (video >= 0) {
                videoSeen = true;
                result.frameSize = FrameSizeOfVideoStream(trimmed.mid(video + 2));
            }
        }
        if (durationSeen && videoSeen)
            break;
    }
    result.endText = result.duration;
    return result;
}

ProbeResult ProbeMediaInfo(const QString &transcoderPath, const QString &inputPath)
{
    bool started = false;
    const QString report = RunProbe(transcoderPath, inputPath, &started);
    if (!started)
        return {};
    return ParseProbeReport(report, inputPath);
}

ltvItemData NewTaskRecord(const QString &inputPath, const ProbeResult &probe, const QString &outputExtension)
{
    ltvItemData record;
    record.InputPath = inputPath;
    record.LengthText = probe.duration;
    record.FrameSize = probe.frameSize;
    record.Status = QStringLiteral("OK");
    record.OutName = StripExtension(FileNameOfPath(inputPath));
    record.OutExt = outputExtension;
    record.RangeStart = probe.startText;
    record.RangeEnd = probe.endText;
    record.ClipLength = probe.duration;
    record.StartTime = probe.startText;
    record.EndTime = probe.endText;
    return record;
}
