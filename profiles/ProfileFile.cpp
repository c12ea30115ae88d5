#include "profiles/ProfileFile.h"

#include "storage/TNewInifile.h"

#include <QDir>

QString ProfilePath(const QString &programFolder, const QString &profileName)
{
    return programFolder + QStringLiteral("Profiles") + QDir::separator() + profileName + QStringLiteral(".apf");
}

QStringList SplitItemList(const QString &text)
{
    QStringList items;
    qsizetype start = 0;
    for (qsizetype comma = text.indexOf(QLatin1Char(',')); comma >= 0; comma = text.indexOf(QLatin1Char(','), start)) {
        items.append(text.mid(start, comma - start));
        start = comma + 1;
    }
    return items;
}

QString ProfileType(const TNewInifile &ini)
{
    return ini.ReadString(QStringLiteral("Main"), QStringLiteral("Type"), QStringLiteral("mp4"));
}

int ProfileParameterCount(const TNewInifile &ini)
{
    return ini.ReadInteger(QStringLiteral("Main"), QStringLiteral("Para"), 0);
}

ProfileParameter ReadProfileParameter(const TNewInifile &ini, int i, ProfileGroup previous)
{
    ProfileParameter p;
    p.name = ini.ReadString(QStringLiteral("Main"), QString::number(i), QString());
    p.sort = ini.ReadInteger(p.name, QStringLiteral("Sort"), -1);
    p.group = (p.sort >= 1 && p.sort <= 3) ? static_cast<ProfileGroup>(p.sort) : previous;
    p.readOnly = ini.ReadBool(p.name, QStringLiteral("ReadOnly"), false);
    p.isList = ini.ReadBool(p.name, QStringLiteral("List"), true);
    p.cmd = ini.ReadString(p.name, QStringLiteral("cmd"), QString());
    p.caption = ini.ReadString(p.name, QStringLiteral("Caption"), QString());
    p.value = ini.ReadString(p.name, QStringLiteral("Value"), QString());
    p.index = ini.ReadInteger(p.name, QStringLiteral("Index"), 0);
    return p;
}
