#include "platform/FileNames.h"

#include <QDir>
#include <QFileInfo>

QString PathSeparator()
{
    return QString(QDir::separator());
}

QString WithTrailingBackslash(const QString &folder)
{
    if (folder.endsWith(QDir::separator()))
        return folder;
    return folder + QDir::separator();
}

QString ProgramFolderOf(const QString &executablePath)
{
    return WithTrailingBackslash(QDir::toNativeSeparators(QFileInfo(executablePath).absolutePath()));
}
