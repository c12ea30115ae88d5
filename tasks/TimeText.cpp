#include "tasks/TimeText.h"

#include <QRegularExpression>

#include <cmath>

long long RoundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double diff = value - floor;
    double result = floor;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(floor, 2.0) != 0.0))
        result = floor + 1;
    return static_cast<long long>(result);
}

namespace {

bool IsWholeNumber(const QString &text, long long &value)
{
    static const QRegularExpression whole(QStringLiteral("^[+-]?[0-9]+$"));
    if (!whole.match(text).hasMatch())
        return false;
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok;
}

bool IsDecimalNumber(const QString &text, double &value)
{
    // A point as decimal separator whatever the locale; the text must not begin with the point.
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+(\\.[0-9]*)?([eE][+-]?[0-9]+)?$"));
    if (!decimal.match(text).hasMatch())
        return false;
    bool ok = false;
    value = text.toDouble(&ok);
    return ok;
}

} // namespace

double TimeToSeconds(const QString &text)
{
    const qsizetype first = text.indexOf(QLatin1Char(':'));
    if (first < 0)
        return -1;
    const QString h = text.left(first);
    const QString rest = text.mid(first + 1);
    const qsizetype second = rest.indexOf(QLatin1Char(':'));
    if (second < 0)
        return -1;
    const QString m = rest.left(second);
    const QString s = rest.mid(second + 1);
    long long hours = 0;
    long long minutes = 0;
    double seconds = 0;
    if (!IsWholeNumber(h, hours) || !IsWholeNumber(m, minutes) || !IsDecimalNumber(s, seconds))
        return -1;
    return double(hours) * 3600 + double(minutes) * 60 + seconds;
}

QString SecondsToTimeText(double seconds)
{
    long long whole = static_cast<long long>(std::trunc(seconds));
    long long h = whole / 3600;
    long long m = (whole - 3600 * h) / 60;
    long long s = whole - 3600 * h - 60 * m;
    long long tenths = RoundHalfEven((seconds - 3600.0 * double(h) - 60.0 * double(m) - double(s)) * 10);
    if (tenths >= 10) {
        // Ten tenths are one more second.
        tenths = 0;
        ++whole;
        h = whole / 3600;
        m = (whole - 3600 * h) / 60;
        s = whole - 3600 * h - 60 * m;
    }
    QString text = QStringLiteral("%1:%2:%3")
                       .arg(h, 2, 10, QLatin1Char('0'))
                       .arg(m, 2, 10, QLatin1Char('0'))
                       .arg(s, 2, 10, QLatin1Char('0'));
    if (tenths != 0)
        text += QLatin1Char('.') + QString::number(tenths);
    return text;
}
