#pragma once

#include "platform/Services.h"
#include "tasks/TaskColumnSizer.h"

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
class TConversionRun;
class TaskAdder;
class TaskListEvents;
class TPreviewPanel;
class TProfilePanel;
class TSizeForm;
class TSplitterPanel;
class TSettingForm;
struct MainWindowLink;

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
    QLabel *labTimeElapsed = nullptr;
    QLabel *labTimeRemaining = nullptr;
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
public:
    // The Output, Video, Audio and Advanced groups inside gpbProfile.
    TProfilePanel *ProfilePanel = nullptr;
    // The custom size dialog, opened by a "Custom Size" choice in the "Video Size" row.
    TSizeForm *SizeForm = nullptr;

private:
    void SetUpProfilePanel();
    void SetUpSizeForm();

    // ---- Task list (tasks/) ----
public:
    // Probes and appends the inputs of one add (several files probed at once).
    TaskAdder *TaskAdding = nullptr;
    TaskListEvents *ltvTaskEvents = nullptr;
    TaskColumnSizer ltvTaskColumns;
    QAction *mniOpen = nullptr;
    QAction *mniAddFiles = nullptr;
    QAction *mniAddDir = nullptr;
    QAction *mniRemove = nullptr;
    QAction *mniClear = nullptr;

    // Adds one file as a task (nothing when the path is already a row's caption).
    void AddTaskFile(const QString &path);
    // Adds the supported files directly in the folder, sorted by name.
    void AddTaskFolder(const QString &folder);
    // Adds the files as tasks in this order, probing them side by side.
    void AddTaskFiles(const QStringList &paths);
    // Dropped or named inputs to the files they add: supported files as they are, folders as
    // their supported files, anything else left out.
    QStringList InputFilesOf(const QStringList &entries) const;
    // Empties "New Filename", "Start Time" and "End Time".
    void EmptyTaskOptions();
    // The first selected row; -1 when none is.
    int FirstSelectedTask() const;

public Q_SLOTS:
    void tbtnAddFileClick();
    void tbtnAddDirClick();
    void tbtnRemoveClick();
    void tbtnClearClick();
    void tbtnUpClick();
    void tbtnDownClick();
    void ltvTaskClick();
    void ltvTaskDblClick();
    void ltvTaskKeyDown(int key);
    void ltvTaskResize();
    void ppmTaskPopup();
    // The per-task options in the Output group of the profile panel.
    void vleOutputValidate();
    void vleOutputMouseDown(Qt::MouseButton button, const QPoint &pos);
    void vleOutputClick();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void SetupTaskList();

    // ---- Conversion (convert/) ----
public:
    // The batch run: its state (RunState, lengths, timer counts) and the current transcoder.
    TConversionRun *ConversionRun = nullptr;
public Q_SLOTS:
    void tbtnStartClick();
    void tbtnStopClick();
    void timerTimeTimer();
private:
    void SetUpConversion();

    // ---- Preview (preview/) ----
public:
    TPreviewPanel *Preview = nullptr;
public Q_SLOTS:
    // Plays the selected row's file in the preview (the list's double-click and "Open").
    void OpenPreview();

    // ---- Settings (settings/) ----
public:
    // The Settings dialog; its General page holds the live General settings.
    TSettingForm *SettingForm = nullptr;
    // The controls and handlers the preferences and the Settings dialog use.
    MainWindowLink SettingsLink();

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
