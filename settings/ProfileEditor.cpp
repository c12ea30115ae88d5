#include "settings/ProfileEditor.h"

#include "platform/TValueListEditor.h"
#include "platform/TessivoError.h"
#include "storage/TNewInifile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>

TValueListEditor *ProfileEditors::ForGroup(ProfileGroup group) const
{
    switch (group) {
    case ProfileGroup::Video:
        return vleVideo;
    case ProfileGroup::Audio:
        return vleAudio;
    case ProfileGroup::Advanced:
        break;
    }
    return vleAdvanced;
}

bool FillEditorsFromProfile(const QString &path, const ProfileEditors &editors)
{
    if (!QFileInfo::exists(path))
        return false;
    editors.vleVideo->Clear();
    editors.vleAudio->Clear();
    editors.vleAdvanced->Clear();
    std::unique_ptr<TNewInifile> ini(new TNewInifile(path));
    const int count = ProfileParameterCount(*ini);
    ProfileGroup group = ProfileGroup::Advanced;
    for (int i = 0; i < count; ++i) {
        const ProfileParameter p = ReadProfileParameter(*ini, i, group);
        group = p.group;
        TValueListEditor *editor = editors.ForGroup(group);
        const int row = editor->AppendRow(p.name, QString());
        editor->SetReadOnly(row, p.readOnly);
        if (p.isList) {
            const QStringList items = SplitItemList(p.caption);
            editor->SetEditStyle(row, PanelRow::EditStyle::PickList);
            editor->SetPickList(row, items);
            if (p.index < 0 || p.index >= items.size())
                throw EListError(p.index);
            editor->SetValue(row, items.at(p.index));
            // Typing is never possible in a pick-list row; a choice from its list still is.
            editor->SetReadOnly(row, true);
        } else {
            editor->SetValue(row, p.caption);
        }
    }
    TNewInifile::SaveAndFree(ini.release());
    return true;
}

void SaveEditorsToProfile(const QString &path, const ProfileEditors &editors)
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
        const TValueListEditor *editor = editors.ForGroup(group);
        const int row = editor->FindRow(p.name);
        // Writing an empty text or -1 for a row that was never shown would spoil the profile.
        if (row < 0)
            continue;
        const QString shown = editor->Value(row);
        if (p.isList) {
            const QStringList items = editor->PickList(row);
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

void SaveEditorsToProfileCopy(const QString &sourcePath, const QString &targetPath, const ProfileEditors &editors)
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
    SaveEditorsToProfile(targetPath, editors);
}
