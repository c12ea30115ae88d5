#include "tasks/TaskInputNames.h"

#include "platform/FileNames.h"
#include "platform/TessivoError.h"

#include <QDir>
#include <QFile>

bool HasSupportedExtension(const QString &path, const QStringList &extensions)
{
    const QString name = FileNameOfPath(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot).toLower();
    for (const QString &entry : extensions) {
        if (extension == entry)
            return true;
    }
    return false;
}

QString StripExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString FileNameOfPath(const QString &path)
{
    // Only the platform's separator: "\" and ":" are ordinary characters of names here.
    return path.mid(path.lastIndexOf(QDir::separator()) + 1);
}

QString ExtensionOfText(const QString &text)
{
    const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    const QString extension = text.mid(dot);
    for (const QChar c : extension) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char(':'))
            return {};
    }
    return extension;
}

bool IsInputListFile(const QString &argument)
{
    return HasSupportedExtension(argument, {QStringLiteral(".tmp")});
}

QStringList ReadInputListFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(path, file.errorString());
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    // A final line break ends the last line; it does not start another one.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList FolderInputFiles(const QString &folder, const QString &fileMask)
{
    const QDir dir(folder);
    const QStringList patterns = fileMask.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    // Regular files only: a pipe or device named like a clip would hold its probe forever.
    const QStringList names = dir.entryList(patterns, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    QStringList paths;
    paths.reserve(names.size());
    const QString prefix = WithTrailingBackslash(folder);
    for (const QString &name : names)
        paths << prefix + name;
    return paths;
}
