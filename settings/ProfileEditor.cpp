#include "settings/ProfileEditor.h"

#include "platform/TValueListEditor.h"
#include "platform/TessivoError.h"
#include "profiles/ProfileFile.h"
#include "profiles/TProfilePanel.h"
#include "storage/TNewInifile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>

void SaveEditorsToProfile(const QString &path, const TProfilePanel &editor)
{
    if (!QFileInfo::exists(path))
        return;
    std::unique_ptr<TNewInifile> ini(new TNewInifile(path));
    const int count = ProfileParameterCount(*ini);
    ProfileGroup group = ProfileGroup::Advanced;
    for (int i = 0; i < count; ++i) {
        const ProfileParameter p = ReadProfileParameter(*ini, i, group);
        group = p.group;
        if (p.readOnly)
            continue;
        const TValueListEditor *grid = editor.GroupFor(group);
        const int row = grid->FindRow(p.name);
        // Writing an empty text or -1 for a parameter that was never shown would spoil the profile.
        if (row < 0)
            continue;
        const QString shown = grid->Value(row);
        if (p.isList) {
            const QStringList items = grid->PickList(row);
            int position = -1;
            for (int k = 0; k < items.size() && position < 0; ++k) {
                if (items.at(k).compare(shown, Qt::CaseInsensitive) == 0)
                    position = k;
            }
            ini->WriteInteger(p.name, QStringLiteral("Index"), position);
        } else {
            ini->WriteString(p.name, QStringLiteral("Caption"), shown);
            ini->WriteString(p.name, QStringLiteral("Value"), shown);
        }
    }
    TNewInifile::SaveAndFree(ini.release());
}

void SaveEditorsToProfileCopy(const QString &sourcePath, const QString &targetPath, const TProfilePanel &editor)
{
    if (!QFileInfo::exists(sourcePath))
        return;
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        throw EFOpenError(sourcePath, source.errorString());
    const QByteArray content = source.readAll();
    if (source.error() != QFileDevice::NoError)
        throw EFOpenError(sourcePath, source.errorString());
    // Read whole before writing, so a copy onto the source itself keeps it intact.
    QSaveFile target(targetPath);
    if (!target.open(QIODevice::WriteOnly) || target.write(content) != content.size() || !target.commit())
        throw EFCreateError(targetPath, target.errorString());
    SaveEditorsToProfile(targetPath, editor);
}
