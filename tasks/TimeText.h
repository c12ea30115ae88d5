#pragma once

#include <QString>

// "H:M:S" or "H:M:S.f" to seconds; -1 for a text that is not such a time.
double TimeToSeconds(const QString &text);

// Seconds to "HH:MM:SS", with "." and the tenths appended when they are not zero. Tenths that
// round to ten are carried into the seconds (83.96 gives 00:01:24).
QString SecondsToTimeText(double seconds);

// Nearest whole number, an exact half going to the even neighbour (2.5 gives 2, 3.5 gives 4).
long long RoundHalfEven(double value);
