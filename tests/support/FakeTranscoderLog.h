#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The arguments of each start of the fake transcoder, in order, from the file it records them in
// (one argument a line, "--end--" after each start).
QList<QStringList> FakeTranscoderStarts(const QString &argvFile);
