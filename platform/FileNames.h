#pragma once

#include <QString>

// The platform's folder separator as text.
QString PathSeparator();

// Appends the folder separator to a folder path that does not end in one.
QString WithTrailingBackslash(const QString &folder);

// The folder of the running executable, with a trailing separator.
QString ProgramFolderOf(const QString &executablePath);
