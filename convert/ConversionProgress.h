#pragma once

#include <QByteArray>
#include <optional>

// The largest media time, in seconds, that the progress fields "time=" of one chunk of the
// transcoder's output report. The value is read as hours:minutes:seconds ("00:00:26.80") or as
// plain seconds ("26.80") and must be followed by a blank or a line end inside the chunk (a value
// cut off at the chunk's end is not trusted). Keys that merely end in "time" (creation_time) are
// not progress fields. Empty when the chunk reports no time.
std::optional<double> ProgressTimeIn(const QByteArray &chunk);

// Percent of part in whole, rounded half to even and held within 0..100; 0 when whole is 0.
int ProgressPercent(double part, double whole);
