#pragma once

#include <QString>

// True when both paths name one existing file (same device and inode: links, "..", letter
// case on case-insensitive file systems all count).
bool SameFile(const QString &a, const QString &b);

// Where one task's output goes.
struct OutputPlan
{
    QString path;         // the final output path
    bool renamed = false; // the task's index was appended to the name
};

// outputFolder ends with the separator; outputExtension is "." + the profile's type (may be empty).
// The output is outputFolder + outName + outputExtension. When that file exists and renaming is
// chosen, or when it is the input file itself, the name gets "_" + the task's 1-based position;
// with renaming chosen a formed name that exists is skipped for the next free index, and a formed
// name is never the input. The renamed path keeps outputExtension.
OutputPlan PlanOutputPath(const QString &outputFolder, const QString &outName, const QString &outputExtension,
                          const QString &inputPath, int row, bool renameChosen);

// A path in the output's folder, with the output's extension, that names no file yet: the
// transcoder writes there and the file is moved onto the output only when it succeeded.
QString TemporaryOutputPath(const QString &outputPath);

// Moves the finished file onto the output path, replacing a file there in one step.
// Returns an empty text, or the system's reason when it failed.
QString MoveOntoOutput(const QString &temporaryPath, const QString &outputPath);
