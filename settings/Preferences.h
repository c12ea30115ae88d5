#pragma once

#include "settings/GeneralSettingsControls.h"
#include "settings/MainWindowLink.h"

#include <QString>

// program folder + "Preferences.ini".
QString PreferencesPath(const QString &programFolder);

// Reads the six General keys of "Main" into the General page.
void LoadGeneralSettings(const QString &programFolder, const GeneralSettingsControls &page);
// Load Default: the same keys from "Default", where a missing "Auto Open Dir" means no.
void LoadDefaultGeneralSettings(const QString &programFolder, const GeneralSettingsControls &page);
// Writes the General page into the six General keys of "Main".
void SaveGeneralSettings(const QString &programFolder, const GeneralSettingsControls &page);

// Main window, when it is first shown: the output folder and the stored profile, which is then shown.
void LoadPreferences(const QString &programFolder, const MainWindowLink &main);
// Main window, when it closes: its profile and output folder, then the General page's settings.
void SavePreferences(const QString &programFolder, const MainWindowLink &main, const GeneralSettingsControls &page);
