#pragma once

#include "settings/GeneralSettingsControls.h"
#include "settings/IGeneralSettings.h"
#include "settings/MainWindowLink.h"

#include <QWidget>

struct Services;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;
class QToolButton;
class TProfilePanel;
class TValueListEditor;

// The Settings dialog: the General page (the live General settings) and the Profiles page (the
// profile editor). One instance lives as long as the main window; closing only hides it. It is
// not modal, but the main window takes no input while it is open.
class TSettingForm : public QWidget, public IGeneralSettings
{
    Q_OBJECT

public:
    // Runs FormCreate: the main window's profile list is copied and the General settings loaded.
    TSettingForm(const QString &programFolder, Services &services, const MainWindowLink &main);
    ~TSettingForm() override;

    bool OverwriteChosen() const override;
    bool RenameChosen() const override;
    bool OpenDirChosen() const override;
    bool ExitChosen() const override;
    bool TurnOffChosen() const override;

    GeneralSettingsControls GeneralControls() const;
    // The Profiles page's profile path: program folder + Profiles + the page chooser's text + ".apf".
    QString PageProfilePath() const;

    QWidget *panMain = nullptr;
    QTabWidget *pgcSetting = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QPushButton *btnDefault = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

    // General page.
    QLabel *labOutputDir = nullptr;
    QLineEdit *edtOutputDir = nullptr;
    QToolButton *sbtnBrowse = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *cmbSyn = nullptr;
    QFrame *Bevel2 = nullptr;
    QCheckBox *chkOpenDir = nullptr;
    QCheckBox *chkExit = nullptr;
    QCheckBox *chkTurnoff = nullptr;
    QGroupBox *gpbOverWrite = nullptr;
    QRadioButton *rdbOverWrite = nullptr;
    QRadioButton *rdbRename = nullptr;

    // Profiles page.
    QComboBox *cmbProfile = nullptr;
    QPushButton *btnSaveAs = nullptr;
    // The editor's groups; their collapse buttons and cell look are the panel's own.
    TProfilePanel *ProfileEditor = nullptr;
    QScrollArea *ScrollBox1 = nullptr;
    QLabel *panVideo = nullptr;
    QPushButton *btnVideo = nullptr;
    TValueListEditor *vleVideo = nullptr;
    QLabel *panAudio = nullptr;
    QPushButton *btnAudio = nullptr;
    TValueListEditor *vleAudio = nullptr;
    QLabel *panAdvanced = nullptr;
    QPushButton *btnAdvanced = nullptr;
    TValueListEditor *vleAdvanced = nullptr;
    QFrame *Bevel1 = nullptr;
    QPlainTextEdit *memDescription = nullptr;

public Q_SLOTS:
    void btnOKClick();
    void btnCancelClick();
    void btnDefaultClick();
    void sbtnBrowseClick();

    void cmbProfileChange();
    void btnSaveAsClick();
    void ShowProfileInEditor(const QString &path);
    void SaveEditorToProfile(const QString &path);
    void SaveProfileCopy(const QString &sourcePath, const QString &targetPath);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void BuildGeneralPage();
    void BuildProfilesPage();

    QString FProgramFolder;
    Services &FServices;
    MainWindowLink FMain;
    // The save dialog opens with the path chosen last.
    QString FSaveDialogPath;
};
