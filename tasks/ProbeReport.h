#pragma once

#include <QString>

// What the duration probe found out about one input file.
struct ProbeResult
{
    bool ran = false;     // the transcoder could be started
    QString duration;     // "00:01:23.40" as the transcoder prints it; empty when it reports none
    QString frameSize;    // " 640x480", the leading blank included; empty for a file without video
    QString startText;    // "00:00:00.0" once a probe ran
    QString endText;      // the duration
};

// Reads the transcoder's report on inputPath. The duration is the text after "Duration: " up to
// the next comma on that line; the frame size is the width-by-height of the first video stream
// line, with commas inside parentheses ("yuv420p(tv, bt709, progressive)") not splitting items.
ProbeResult ParseProbeReport(const QString &report, const QString &inputPath);

// The " WxH" of one stream line's "Video: ..." text; empty when it holds none.
QString FrameSizeOfVideoStream(const QString &videoText);

// Runs the transcoder on the file and waits for its report (the blocking form of the probe; the
// task list probes several files at once through TranscoderProbe instead).
ProbeResult ProbeMediaInfo(const QString &transcoderPath, const QString &inputPath);

struct ltvItemData;

// The record of a task just added: the probe's texts, status "OK", the output named after the
// input file with the given output extension.
ltvItemData NewTaskRecord(const QString &inputPath, const ProbeResult &probe, const QString &outputExtension);
