#include "tests/support/FakeTranscoderLog.h"

#include <QFile>

QList<QStringList> FakeTranscoderStarts(const QString &argvFile)
{
    QList<QStringList> result;
    QFile file(argvFile);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    QStringList current;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line == QLatin1String("--end--")) {
            result << current;
            current.clear();
        } else {
            current << line;
        }
    }
    return result;
}
