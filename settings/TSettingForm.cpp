#include "settings/TSettingForm.h"

#include "platform/FileNames.h"
#include "platform/RunGuarded.h"
#include "platform/Services.h"
#include "profiles/ProfileFile.h"
#include "profiles/TProfilePanel.h"
#include "settings/ProfileEditor.h"
#include "settings/Preferences.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>

namespace {

template <typename T>
T *Named(T *widget, const QString &name, const QString &accessible)
{
    widget->setObjectName(name);
    widget->setAccessibleName(accessible);
    return widget;
}

QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &caption, const QRect &place)
{
    auto *button = Named(new QPushButton(caption, parent), name, QString(caption).remove(QLatin1Char('&')));
    button->setGeometry(place);
    // Enter and Esc press none of the dialog's buttons.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

TSettingForm::TSettingForm(const QString &programFolder, Services &services, const MainWindowLink &main)
    : QWidget(main.window, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                               | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , FProgramFolder(programFolder)
    , FServices(services)
    , FMain(main)
{
    setObjectName(QStringLiteral("SettingForm"));
    setWindowTitle(QStringLiteral("Settings"));
    setAccessibleName(QStringLiteral("Settings"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    setFont(font);
    setFixedSize(391, 498);

    panMain = Named(new QWidget(this), QStringLiteral("panMain"), QString());
    panMain->setGeometry(0, 0, 391, 5);
    pgcSetting = Named(new QTabWidget(this), QStringLiteral("pgcSetting"), QStringLiteral("Settings"));
    pgcSetting->setGeometry(0, 5, 391, 442);
    TabSheet1 = Named(new QWidget, QStringLiteral("TabSheet1"), QStringLiteral("General"));
    TabSheet2 = Named(new QWidget, QStringLiteral("TabSheet2"), QStringLiteral("Profiles"));
    pgcSetting->addTab(TabSheet1, QStringLiteral("     General     "));
    pgcSetting->addTab(TabSheet2, QStringLiteral("     Profiles     "));
    BuildGeneralPage();
    BuildProfilesPage();
    pgcSetting->setCurrentWidget(TabSheet1);

    btnDefault = MakeButton(this, QStringLiteral("btnDefault"), QStringLiteral("&Load Default"), QRect(16, 461, 89, 25));
    btnOK = MakeButton(this, QStringLiteral("btnOK"), QStringLiteral("&OK"), QRect(208, 461, 75, 25));
    btnCancel = MakeButton(this, QStringLiteral("btnCancel"), QStringLiteral("&Cancel"), QRect(296, 461, 75, 25));
    connect(btnDefault, &QPushButton::clicked, this, &TSettingForm::btnDefaultClick);
    connect(btnOK, &QPushButton::clicked, this, &TSettingForm::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TSettingForm::btnCancelClick);
    setTabOrder(btnOK, btnCancel);
    setTabOrder(btnCancel, btnDefault);
    setTabOrder(btnDefault, pgcSetting);

    // Start-up goes on when the preferences cannot be read; the error box has told why.
    RunGuarded(FServices.messages, FMain.window, [this] { FormCreate(); });
}

TSettingForm::~TSettingForm() = default;

void TSettingForm::BuildGeneralPage()
{
    QWidget *page = TabSheet1;
    labOutputDir = Named(new QLabel(QStringLiteral("Default Output Path:"), page), QStringLiteral("labOutputDir"),
                         QStringLiteral("Default Output Path:"));
    labOutputDir->adjustSize();
    labOutputDir->move(112 - 3 - labOutputDir->width(), 16 + (21 - labOutputDir->height()) / 2);
    edtOutputDir = Named(new QLineEdit(page), QStringLiteral("edtOutputDir"), QStringLiteral("Default Output Path:"));
    edtOutputDir->setGeometry(112, 16, 225, 21);
    labOutputDir->setBuddy(edtOutputDir);

    sbtnBrowse = Named(new QToolButton(page), QStringLiteral("sbtnBrowse"), QStringLiteral("Browse"));
    sbtnBrowse->setToolTip(QStringLiteral("Browse"));
    // The style's icon brings its own disabled look.
    sbtnBrowse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    sbtnBrowse->setIconSize(QSize(16, 16));
    sbtnBrowse->setGeometry(344, 16, 23, 22);
    connect(sbtnBrowse, &QToolButton::clicked, this, &TSettingForm::sbtnBrowseClick);

    Label1 = Named(new QLabel(QStringLiteral("Synchronization Mode:"), page), QStringLiteral("Label1"),
                   QStringLiteral("Synchronization Mode:"));
    Label1->move(11, 59);
    Label1->adjustSize();
    cmbSyn = Named(new QComboBox(page), QStringLiteral("cmbSyn"), QStringLiteral("Synchronization Mode:"));
    cmbSyn->addItems({QStringLiteral("Auto"), QStringLiteral("Force Mode"), QStringLiteral("Progressive Mode")});
    cmbSyn->setGeometry(124, 56, 245, 21);
    Label1->setBuddy(cmbSyn);

    Bevel2 = Named(new QFrame(page), QStringLiteral("Bevel2"), QString());
    Bevel2->setFrameShape(QFrame::HLine);
    Bevel2->setFrameShadow(QFrame::Sunken);
    Bevel2->setGeometry(8, 88 + 17 - 2, 369, 2);

    auto makeCheck = [page](const QString &name, const QString &caption, const QRect &place) {
        auto *box = Named(new QCheckBox(caption, page), name, caption);
        box->setGeometry(place);
        return box;
    };
    chkOpenDir = makeCheck(QStringLiteral("chkOpenDir"), QStringLiteral("Open the output directory when the task is completed. "),
                           QRect(24, 128, 313, 17));
    chkExit = makeCheck(QStringLiteral("chkExit"), QStringLiteral("Exit the program when the task is completed."),
                        QRect(24, 160, 337, 17));
    chkTurnoff = makeCheck(QStringLiteral("chkTurnoff"), QStringLiteral("Turn off the computer when the task is completed."),
                           QRect(24, 192, 281, 17));

    gpbOverWrite = Named(new QGroupBox(QStringLiteral("Output File Overwrite"), page), QStringLiteral("gpbOverWrite"),
                         QStringLiteral("Output File Overwrite"));
    gpbOverWrite->setGeometry(16, 240, 353, 105);
    rdbOverWrite = Named(new QRadioButton(QStringLiteral("Overwrite"), gpbOverWrite), QStringLiteral("rdbOverWrite"),
                         QStringLiteral("Overwrite"));
    rdbOverWrite->setGeometry(24, 32, 305, 17);
    rdbOverWrite->setChecked(true);
    rdbRename = Named(new QRadioButton(QStringLiteral("Not overwrite (Rename to <Filename> + Index"), gpbOverWrite),
                      QStringLiteral("rdbRename"), QStringLiteral("Not overwrite (Rename to <Filename> + Index"));
    rdbRename->setGeometry(24, 67, 305, 17);
}

void TSettingForm::BuildProfilesPage()
{
    QWidget *page = TabSheet2;
    cmbProfile = Named(new QComboBox(page), QStringLiteral("cmbProfile"), QStringLiteral("Profile"));
    cmbProfile->setGeometry(8, 7, 283, 21);
    connect(cmbProfile, &QComboBox::activated, this, &TSettingForm::cmbProfileChange);
    btnSaveAs = MakeButton(page, QStringLiteral("btnSaveAs"), QStringLiteral("&Save as..."), QRect(298, 4, 75, 25));
    connect(btnSaveAs, &QPushButton::clicked, this, &TSettingForm::btnSaveAsClick);

    ProfileEditor = new TProfilePanel(TProfilePanel::Kind::ProfileEditor, page);
    ProfileEditor->setGeometry(8, 36, 366, 373);
    ScrollBox1 = ProfileEditor->ScrollBox1;
    ScrollBox1->setAccessibleName(QStringLiteral("Profile"));
    panVideo = ProfileEditor->panVideo;
    btnVideo = ProfileEditor->btnVideo;
    vleVideo = ProfileEditor->vleVideo;
    panAudio = ProfileEditor->panAudio;
    btnAudio = ProfileEditor->btnAudio;
    vleAudio = ProfileEditor->vleAudio;
    panAdvanced = ProfileEditor->panAdvanced;
    btnAdvanced = ProfileEditor->btnAdvanced;
    vleAdvanced = ProfileEditor->vleAdvanced;

    // Kept from the design but never shown.
    Bevel1 = Named(new QFrame(page), QStringLiteral("Bevel1"), QString());
    Bevel1->move(7, 353);
    Bevel1->hide();
    memDescription = Named(new QPlainTextEdit(QStringLiteral("Description:"), page), QStringLiteral("memDescription"),
                           QStringLiteral("Description:"));
    memDescription->move(9, 355);
    memDescription->hide();
}

GeneralSettingsControls TSettingForm::GeneralControls() const
{
    return {edtOutputDir, cmbSyn, chkOpenDir, chkExit, chkTurnoff, rdbOverWrite, rdbRename};
}

bool TSettingForm::OverwriteChosen() const { return rdbOverWrite->isChecked(); }
bool TSettingForm::RenameChosen() const { return rdbRename->isChecked(); }
bool TSettingForm::OpenDirChosen() const { return chkOpenDir->isChecked(); }
bool TSettingForm::ExitChosen() const { return chkExit->isChecked(); }
bool TSettingForm::TurnOffChosen() const { return chkTurnoff->isChecked(); }

QString TSettingForm::PageProfilePath() const
{
    return ProfilePath(FProgramFolder, cmbProfile->currentText());
}

void TSettingForm::FormCreate()
{
    // Both lists keep the same order, so a position names the same profile in each.
    for (int i = 0; i < FMain.cmbProfile->count(); ++i)
        cmbProfile->addItem(FMain.cmbProfile->itemText(i));
    cmbProfile->setCurrentIndex(-1);
    LoadGeneralSettings(FProgramFolder, GeneralControls());
}

void TSettingForm::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        if (FMain.window)
            move(FMain.window->frameGeometry().center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
        FormShow();
    }
    QWidget::showEvent(event);
}

void TSettingForm::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        FormClose();
    QWidget::hideEvent(event);
}

void TSettingForm::FormShow()
{
    if (FMain.SetInputEnabled)
        FMain.SetInputEnabled(false);
    edtOutputDir->setText(FMain.edtOutputdir->text());
}

void TSettingForm::FormClose()
{
    if (FMain.SetInputEnabled)
        FMain.SetInputEnabled(true);
}

void TSettingForm::btnOKClick()
{
    FMain.edtOutputdir->setText(edtOutputDir->text());
    SaveGeneralSettings(FProgramFolder, GeneralControls());
    // The page's choices go into its profile; the main window shows them when it shows the same one.
    const QString path = PageProfilePath();
    if (QFileInfo::exists(path))
        SaveEditorToProfile(path);
    if (FMain.cmbProfile->currentText() == cmbProfile->currentText() && FMain.cmbProfileChange)
        FMain.cmbProfileChange();
    close();
}

void TSettingForm::btnCancelClick()
{
    // The General page is live: what the user set stays in force.
    close();
}

void TSettingForm::btnDefaultClick()
{
    if (!FServices.messages.askYesNo(this, QStringLiteral("Load Default"),
                                     QStringLiteral("Are you sure to load the default preferences?")))
        return;
    LoadDefaultGeneralSettings(FProgramFolder, GeneralControls());
}

void TSettingForm::sbtnBrowseClick()
{
    QString folder;
    if (FServices.dialogs.SelectFolder(this, QStringLiteral("Select the output directory."), QString(), folder))
        edtOutputDir->setText(WithTrailingBackslash(folder));
}

void TSettingForm::cmbProfileChange()
{
    const QString path = PageProfilePath();
    if (QFileInfo::exists(path))
        ShowProfileInEditor(path);
}

void TSettingForm::btnSaveAsClick()
{
    const QString target = FServices.dialogs.saveFile(this, QStringLiteral(".apf"),
                                                      {{QStringLiteral("Profiles (*.apf)"), QStringLiteral("*.apf")}},
                                                      FSaveDialogPath);
    if (target.isEmpty())
        return;
    FSaveDialogPath = target;
    SaveProfileCopy(PageProfilePath(), target);
}

void TSettingForm::ShowProfileInEditor(const QString &path)
{
    // Unlike the main window's panel, the editor takes no output extension and asks for no custom size.
    ProfileEditor->ShowProfile(path);
}

void TSettingForm::SaveEditorToProfile(const QString &path)
{
    SaveEditorsToProfile(path, *ProfileEditor);
}

void TSettingForm::SaveProfileCopy(const QString &sourcePath, const QString &targetPath)
{
    SaveEditorsToProfileCopy(sourcePath, targetPath, *ProfileEditor);
}
