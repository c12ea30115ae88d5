#pragma once

#include <QString>
#include <QStringList>

class TNewInifile;

// The detail panel's groups, by a parameter's "Sort" value.
enum class ProfileGroup { Video = 1, Audio = 2, Advanced = 3 };

// One parameter of a profile as its section describes it. Missing keys and texts that do not
// convert take the defaults a profile relies on.
struct ProfileParameter
{
    QString name;          // the section's name, the row's key
    int sort = -1;
    ProfileGroup group = ProfileGroup::Advanced;
    bool readOnly = false;
    bool isList = true;
    QString cmd;
    QString caption;
    QString value;
    int index = 0;
};

// program folder + "Profiles" + separator + name + ".apf".
QString ProfilePath(const QString &programFolder, const QString &profileName);

// Cuts a comma-terminated item list: "a,b,c" gives a and b; empty items count; nothing is trimmed.
QStringList SplitItemList(const QString &text);

// "Type" of "Main", default "mp4".
QString ProfileType(const TNewInifile &ini);
// "Para" of "Main", default 0.
int ProfileParameterCount(const TNewInifile &ini);

// Reads parameter i (the section named by key i of "Main"). A "Sort" other than 1, 2 or 3 keeps
// the group of the parameter before (previous); the first parameter falls back to Advanced.
ProfileParameter ReadProfileParameter(const TNewInifile &ini, int i, ProfileGroup previous);
