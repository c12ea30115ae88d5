#pragma once

#include <QString>

class TProfilePanel;

// Writes the editor's choices into the profile: the position of a pick list's shown item
// (first match, letter case ignored, -1 when absent) as "Index", an editable free text as
// "Caption" and "Value". Read-only parameters are not written, nor is a parameter the editor
// has no row for (a profile that could only be shown in part). Nothing happens without a file.
void SaveEditorsToProfile(const QString &path, const TProfilePanel &editor);

// Copies the source profile to the target, replacing any file there, and saves the editor's
// choices into the copy. Nothing happens when the source does not exist. A copy that fails
// raises EFOpenError or EFCreateError and nothing is written.
void SaveEditorsToProfileCopy(const QString &sourcePath, const QString &targetPath, const TProfilePanel &editor);
