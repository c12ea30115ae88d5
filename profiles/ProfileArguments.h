#pragma once

#include "profiles/ProfileFile.h"

#include <QString>
#include <functional>

// The shown text of the panel row with this name in this group ("" when there is none).
using ProfileRowValue = std::function<QString(ProfileGroup, const QString &name)>;

// Turns the profile file into the transcoder switches of a run: " cmd value" for each parameter
// in key order, the value being the picked item's transcoder value (or, when the shown text is
// not one of the items, the shown text itself, such as a custom size). A value of "\" passes the
// switch alone. A missing file gives "". The profile file is written back at the end; a value
// list too short for the picked item raises EListError and leaves the file as it was.
QString BuildProfileArguments(const QString &profilePath, const ProfileRowValue &RowValue);
