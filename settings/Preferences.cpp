#include "settings/Preferences.h"

#include "storage/TNewInifile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <memory>

namespace {

const QString MainSection = QStringLiteral("Main");

// A position outside the list shows no selection.
void SelectPosition(QComboBox *box, int position)
{
    box->setCurrentIndex(position >= 0 && position < box->count() ? position : -1);
}

void ReadGeneral(const QString &programFolder, const GeneralSettingsControls &page, const QString &section,
                 bool openDirDefault)
{
    std::unique_ptr<TNewInifile> ini(new TNewInifile(PreferencesPath(programFolder)));
    page.edtOutputDir->setText(ini->ReadString(section, QStringLiteral("Output Path"), programFolder));
    SelectPosition(page.cmbSyn, ini->ReadInteger(section, QStringLiteral("Syn Mode"), 0));
    page.chkOpenDir->setChecked(ini->ReadBool(section, QStringLiteral("Auto Open Dir"), openDirDefault));
    page.chkExit->setChecked(ini->ReadBool(section, QStringLiteral("Auto Exit"), false));
    page.chkTurnoff->setChecked(ini->ReadBool(section, QStringLiteral("Auto Turn Off"), false));
    // The two buttons exclude each other; the checked one of a pair cannot be unchecked directly.
    if (ini->ReadBool(section, QStringLiteral("Overwrite"), true))
        page.rdbOverWrite->setChecked(true);
    else
        page.rdbRename->setChecked(true);
    TNewInifile::SaveAndFree(ini.release());
}

// "Syn Mode" and the four yes/no keys, in the order both savers write them.
void WriteGeneralFlags(TNewInifile &ini, const GeneralSettingsControls &page)
{
    ini.WriteInteger(MainSection, QStringLiteral("Syn Mode"), page.cmbSyn->currentIndex());
    ini.WriteBool(MainSection, QStringLiteral("Auto Open Dir"), page.chkOpenDir->isChecked());
    ini.WriteBool(MainSection, QStringLiteral("Auto Exit"), page.chkExit->isChecked());
    ini.WriteBool(MainSection, QStringLiteral("Auto Turn Off"), page.chkTurnoff->isChecked());
    ini.WriteBool(MainSection, QStringLiteral("Overwrite"), page.rdbOverWrite->isChecked());
}

} // namespace

QString PreferencesPath(const QString &programFolder)
{
    return programFolder + QStringLiteral("Preferences.ini");
}

void LoadGeneralSettings(const QString &programFolder, const GeneralSettingsControls &page)
{
    ReadGeneral(programFolder, page, MainSection, true);
}

void LoadDefaultGeneralSettings(const QString &programFolder, const GeneralSettingsControls &page)
{
    ReadGeneral(programFolder, page, QStringLiteral("Default"), false);
}

void SaveGeneralSettings(const QString &programFolder, const GeneralSettingsControls &page)
{
    std::unique_ptr<TNewInifile> ini(new TNewInifile(PreferencesPath(programFolder)));
    ini->WriteString(MainSection, QStringLiteral("Output Path"), page.edtOutputDir->text());
    WriteGeneralFlags(*ini, page);
    TNewInifile::SaveAndFree(ini.release());
}

void LoadPreferences(const QString &programFolder, const MainWindowLink &main)
{
    std::unique_ptr<TNewInifile> ini(new TNewInifile(PreferencesPath(programFolder)));
    main.edtOutputdir->setText(ini->ReadString(MainSection, QStringLiteral("Output Path"), programFolder));
    if (main.cmbProfile->count() > 0) {
        SelectPosition(main.cmbProfile, ini->ReadInteger(MainSection, QStringLiteral("Profile"), 0));
        if (main.cmbProfileChange)
            main.cmbProfileChange();
    }
    TNewInifile::SaveAndFree(ini.release());
}

void SavePreferences(const QString &programFolder, const MainWindowLink &main, const GeneralSettingsControls &page)
{
    std::unique_ptr<TNewInifile> ini(new TNewInifile(PreferencesPath(programFolder)));
    ini->WriteInteger(MainSection, QStringLiteral("Profile"), main.cmbProfile->currentIndex());
    ini->WriteString(MainSection, QStringLiteral("Output Path"), main.edtOutputdir->text());
    WriteGeneralFlags(*ini, page);
    TNewInifile::SaveAndFree(ini.release());
}
