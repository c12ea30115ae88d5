#pragma once

#include <QString>
#include <QStringList>

// Whether the extension of the path's file name (from its last dot, dot included), in lower
// case, equals one of the entries.
bool HasSupportedExtension(const QString &path, const QStringList &extensions);

// The name without its last dot and what follows; a name without a dot comes back whole.
QString StripExtension(const QString &name);

// The file name of a full path: the text after the last folder separator.
QString FileNameOfPath(const QString &path);

// The extension a typed output name carries: from its last dot to the end, dot included, unless
// a folder separator ("\", "/") or a drive colon comes after that dot; otherwise empty.
QString ExtensionOfText(const QString &text);

// Whether a command-line argument names a list file of inputs (extension ".tmp", any case).
bool IsInputListFile(const QString &argument);

// The lines of a list file of inputs, in order. Raises EFOpenError when it cannot be read.
QStringList ReadInputListFile(const QString &path);

// Full paths of the plain files directly in the folder that match one of the patterns of the
// mask ("*.avi;*.mpg;"), letter case ignored, sorted by name without regard to case.
QStringList FolderInputFiles(const QString &folder, const QString &fileMask);
