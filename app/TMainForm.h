#pragma once

#include "platform/Services.h"

#include <QLabel>
#include <QMainWindow>
#include <QStringList>

class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeWidget;
class TAboutForm;
class TSplitterPanel;

// The main window: toolbar, task list, profile detail panel with the preview, and the bottom bar
// that shows the output settings or, during a run, the progress panel.
class TMainForm : public QMainWindow
{
    Q_OBJECT

public:
    // programFolder ends with the folder separator; arguments are the command-line inputs
    // (without the program's own name).
    TMainForm(const QString &programFolder, Services &services, const QStringList &arguments,
              QWidget *parent = nullptr);
    ~TMainForm() override;

    // Values worked out at start-up.
    QString ProgramFolder;
    QString TranscoderPath;
    QString VersionText;
    QString HelpFilePath;
    QStringList SupportedExtensions;
    QString FileMask;
    QList<FileFilter> OpenDialogFilter;
    // "." + the Type of the profile shown last; empty until a profile has been shown.
    QString OutputExtension;

    Services &services() { return FServices; }
    bool InputEnabled() const;

    // Controls, named as the program's design names them.
    QToolBar *Toolbar1 = nullptr;
    QToolButton *tbtnAddFile = nullptr;
    QToolButton *tbtnAddDir = nullptr;
    QToolButton *tbtnUp = nullptr;
    QToolButton *tbtnDown = nullptr;
    QToolButton *tbtnRemove = nullptr;
    QToolButton *tbtnClear = nullptr;
    QToolButton *tbtnStart = nullptr;
    QToolButton *tbtnStop = nullptr;
    QToolButton *tbtnSetting = nullptr;
    QToolButton *tbtnAbout = nullptr;
    QToolButton *tbtnHelp = nullptr;

    QWidget *panProfile = nullptr;
    QSplitter *Splitter1 = nullptr;
    QGroupBox *gpbProfile = nullptr;
    QWidget *panPreview = nullptr;
    TSplitterPanel *panSplitter = nullptr;

    QWidget *panMain = nullptr;
    QWidget *panLeft = nullptr;
    QTreeWidget *ltvTask = nullptr;
    QMenu *ppmTask = nullptr;
    QWidget *panBottom = nullptr;
    QWidget *panBottomRight = nullptr;

    QWidget *panBottomCenter = nullptr;
    QComboBox *cmbProfile = nullptr;
    QPushButton *bbtnSetting = nullptr;
    QLineEdit *edtOutputdir = nullptr;
    QPushButton *bbtnBrowser = nullptr;
    QPushButton *bbtnOpen = nullptr;

    QWidget *panBottomLeft = nullptr;
    QLabel *labConvertingFile = nullptr;
    QLabel *labElapsed = nullptr;
    QLabel *labRemaining = nullptr;
    QProgressBar *pgbCurrent = nullptr;
    QLabel *labCurProgress = nullptr;
    QProgressBar *pgbTotal = nullptr;
    QLabel *labTotalProgress = nullptr;

    QFrame *panbg = nullptr;
    QLabel *labProgramName = nullptr;
    QLabel *labGetttingStart = nullptr;
    QLabel *labStep1 = nullptr;
    QLabel *labStep2 = nullptr;
    QLabel *labstep3 = nullptr;
    QLabel *imgbg = nullptr;
    QLabel *labLink = nullptr;

    QTimer *timerTime = nullptr;

    TAboutForm *AboutForm = nullptr;

public Q_SLOTS:
    void FormResize();
    void panSplitterMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x);
    void DisableCommands();
    void EnableCommands();
    // The secondary windows take the main window's input away while they are open.
    void SetInputEnabled(bool enabled);
    // Enables or disables the five buttons that follow whether the list has rows.
    void SetListCommandsEnabled(bool enabled);

    void tbtnSettingClick();
    void bbtnSettingClick();
    void bbtnBrowserClick();
    void bbtnOpenClick();
    void tbtnAboutClick();
    void tbtnHelpClick();
    void labLinkClick();

    void cmbProfileChange();

    // Adds the command-line inputs as tasks (start-up, before the window is shown).
    void AddCommandLineInputs(const QStringList &arguments);

    // ---- Profile detail panel (profiles/) ----

    // ---- Task list (tasks/) ----

    // ---- Conversion (convert/) ----

    // ---- Preview (preview/) ----

    // ---- Settings (settings/) ----

Q_SIGNALS:
    // Emitted once the main window has been shown the first time and loaded its preferences.
    void preferencesLoaded();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate(const QStringList &arguments);
    void FormShow();
    void FormClose();
    void BuildToolbar();
    void BuildProfileColumn();
    void BuildMainPanel();
    void BuildBottomBar();
    void BuildWelcomePanel();
    void ReadProfileList();
    QToolButton *AddToolButton(const QString &name, const QString &hint, const QString &themeIcon, int image);

    Services &FServices;
    bool FShownOnce = false;
};
