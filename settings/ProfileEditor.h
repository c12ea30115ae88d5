#pragma once

#include "profiles/ProfileFile.h"

#include <QString>

class TValueListEditor;

// The Profiles page's three editors, by a parameter's group.
struct ProfileEditors
{
    TValueListEditor *vleVideo = nullptr;
    TValueListEditor *vleAudio = nullptr;
    TValueListEditor *vleAdvanced = nullptr;

    TValueListEditor *ForGroup(ProfileGroup group) const;
};

// Replaces the editors' rows with the profile's parameters. Returns false, changing nothing,
// when no file exists at the path. An Index outside its items raises EListError: the rows
// appended so far stay and the file is not written back.
bool FillEditorsFromProfile(const QString &path, const ProfileEditors &editors);

// Writes the editors' choices into the profile: the position of a pick list's shown item
// (first match, letter case ignored, -1 when absent) as "Index", an editable free text as
// "Caption" and "Value". Read-only parameters are not written, nor is a parameter the editors
// have no row for (a profile that could only be shown in part). Nothing happens without a file.
void SaveEditorsToProfile(const QString &path, const ProfileEditors &editors);

// Copies the source profile to the target, replacing any file there, and saves the editors'
// choices into the copy. Nothing happens when the source does not exist. A copy that fails
// raises EFOpenError or EFCreateError and nothing is written.
void SaveEditorsToProfileCopy(const QString &sourcePath, const QString &targetPath, const ProfileEditors &editors);
