#include "profiles/ProfileArguments.h"

#include "platform/TessivoError.h"
#include "storage/TNewInifile.h"

#include <QFileInfo>
#include <memory>

namespace {

QString ResolveValue(const ProfileParameter &p, const ProfileRowValue &RowValue)
{
    if (p.isList) {
        const QStringList captions = SplitItemList(p.caption);
        const QStringList values = SplitItemList(p.value);
        const QString shown = RowValue(p.group, p.name);
        for (qsizetype k = 0; k < captions.size(); ++k) {
            if (captions.at(k).compare(shown, Qt::CaseInsensitive) == 0) {
                if (k >= values.size())
                    throw EListError(k);
                return values.at(k);
            }
        }
        // Not one of the items: a text the user entered, such as a custom frame size.
        return shown;
    }
    if (p.readOnly)
        return p.value;
    return RowValue(p.group, p.name);
}

} // namespace

QString BuildProfileArguments(const QString &profilePath, const ProfileRowValue &RowValue)
{
    const QFileInfo info(profilePath);
    if (!info.exists() || info.isDir())
        return {};

    // Owned until the end, so an error on the way leaves the file unwritten.
    auto ini = std::make_unique<TNewInifile>(profilePath);
    QString result;
    const int count = ProfileParameterCount(*ini);
    ProfileGroup group = ProfileGroup::Advanced;
    for (int i = 0; i < count; ++i) {
        const ProfileParameter p = ReadProfileParameter(*ini, i, group);
        group = p.group;
        QString v = ResolveValue(p, RowValue);
        if (p.cmd.isEmpty() || v.isEmpty())
            continue;
        if (v == QLatin1String("\\"))
            v.clear();
        result += QLatin1Char(' ') + p.cmd + QLatin1Char(' ') + v;
    }
    TNewInifile::SaveAndFree(ini.release());
    return result;
}
