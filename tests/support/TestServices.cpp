#include "tests/support/TestServices.h"

void RecordingMessages::information(QWidget *, const QString &caption, const QString &text)
{
    boxes.append({QStringLiteral("information"), caption, text});
    if (onBox)
        onBox(boxes.constLast());
}

void RecordingMessages::plain(QWidget *, const QString &text)
{
    boxes.append({QStringLiteral("plain"), QString(), text});
    if (onBox)
        onBox(boxes.constLast());
}

bool RecordingMessages::askYesNo(QWidget *, const QString &caption, const QString &text)
{
    boxes.append({QStringLiteral("question"), caption, text});
    if (onBox)
        onBox(boxes.constLast());
    return answerYes;
}

void RecordingMessages::error(QWidget *, const QString &text)
{
    boxes.append({QStringLiteral("error"), QString(), text});
    if (onBox)
        onBox(boxes.constLast());
}

QStringList RecordingMessages::errors() const
{
    QStringList out;
    for (const Box &b : boxes) {
        if (b.kind == QLatin1String("error"))
            out << b.text;
    }
    return out;
}

QStringList ScriptedDialogs::openFiles(QWidget *, const QList<FileFilter> &filters)
{
    ++openCount;
    lastFilters = filters;
    return filesToOpen;
}

QString ScriptedDialogs::saveFile(QWidget *, const QString &defaultSuffix, const QList<FileFilter> &filters,
                                  const QString &startPath)
{
    lastSaveSuffix = defaultSuffix;
    lastFilters = filters;
    lastSaveStart = startPath;
    return fileToSave;
}

bool ScriptedDialogs::SelectFolder(QWidget *, const QString &title, const QString &, QString &folder)
{
    lastTitle = title;
    if (folderToSelect.isEmpty())
        return false;
    folder = folderToSelect;
    return true;
}
