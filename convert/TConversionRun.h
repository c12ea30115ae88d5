#pragma once

#include "convert/TranscoderProcess.h"
#include "tasks/ltvItemData.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QTimer;
class QTreeWidget;
class QWidget;
struct Services;

// The main window's controls the run reads and drives.
struct TConversionView
{
    QWidget *owner = nullptr; // the main window: owner of the message boxes
    QTreeWidget *ltvTask = nullptr;
    QLineEdit *edtOutputdir = nullptr;
    QLabel *labConvertingFile = nullptr;
    QLabel *labElapsed = nullptr;
    QLabel *labRemaining = nullptr;
    QProgressBar *pgbCurrent = nullptr;
    QLabel *labCurProgress = nullptr;
    QProgressBar *pgbTotal = nullptr;
    QLabel *labTotalProgress = nullptr;
    QWidget *panBottomCenter = nullptr;
    QWidget *panBottomLeft = nullptr;
    QTimer *timerTime = nullptr;
};

// The General settings the run consults, read at the moment it needs them.
struct TRunChoices
{
    bool Rename = false;  // keep an existing output file, give the new one an index
    bool OpenDir = true;  // open the output folder after a completed batch
    bool Exit = false;    // close the program after a completed batch
    bool TurnOff = false; // power the computer off after a completed batch
};

// The batch conversion: converts every task of the list in order, one transcoder run each,
// driven by the transcoder's output and end (the window's event loop never waits for it).
// Each transcoder writes into a temporary file beside the output, which replaces the output
// only when the transcoder succeeded.
class TConversionRun : public QObject
{
    Q_OBJECT

public:
    TConversionRun(const TConversionView &view, Services &services, QObject *parent = nullptr);
    ~TConversionRun() override;

    // Given by the main window.
    QString TranscoderPath;
    std::function<QString(const QString &profilePath)> BuildProfileArguments;
    std::function<QString()> OutputExtension;
    std::function<TRunChoices()> Choices;
    std::function<void()> DisableCommands;
    std::function<void()> EnableCommands;
    std::function<void()> CloseMainWindow;

    enum : int
    {
        Idle = 0,
        Running = 1,
        StopRequested = 2
    };
    int RunState = Idle;
    double TotalLength = 0;
    double DoneLength = 0;
    double TaskLength = 0;
    double TaskPosition = 0;
    int ChunkCount = 0;
    qint32 ElapsedSeconds = 0;
    qint32 RemainingSeconds = 0;
    int FailedCount = 0;

    // The profile arguments of this run, and the current task's row, paths and command line
    // (the text names the output path; the transcoder is given the temporary path).
    QString ProfileArguments;
    int CurrentRow = -1;
    QString OutputPath;
    QString TemporaryPath;
    QString CommandLine;

    // Start: checks the output folder, disables the commands and starts the run.
    void tbtnStartClick(const QString &profilePath);
    // Starts converting every task; the run then goes on from the event loop, and runEnded()
    // is emitted however it ends.
    void RunConversion(const QString &profileArguments);
    void tbtnStopClick();
    void timerTimeTimer();
    // Moves the bars for one chunk of the transcoder's output.
    void ProgressUpdate(const QByteArray &chunk);
    // The main window closes: a running transcoder is stopped, its task marked "Stop" and its
    // temporary file removed; no further task starts.
    void MainWindowClosing();

    bool IsConverting() const { return m_process != nullptr; }
    // The transcoder of the current task, while one runs.
    TranscoderProcess *Transcoder() const { return m_process; }

Q_SIGNALS:
    void taskStarted(int row);
    void taskFinished(int row, const QString &status);
    void runEnded();

private:
    void ScheduleTask(int row);
    void StartTask(int row);
    void ChunkRead(const QByteArray &chunk);
    void TaskFinished(int exitCode, bool crashed, const QString &lastErrorLine);
    void StopHandling(int row);
    void EndOfRunActions();
    void StartFailed(const QString &message, const QString &reason);
    void ReturnToIdle();
    void EndRun();
    void SetStatus(int row, const QString &status, const QString &toolTip = QString());
    void ShowBars();
    void DiscardTemporary();
    void ReleaseProcess();

    TConversionView m_view;
    Services &m_services;
    QPointer<TranscoderProcess> m_process;
    ltvItemData m_record;
    bool m_taskScheduled = false;
};
