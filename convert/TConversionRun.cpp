#include "convert/TConversionRun.h"

#include "convert/ConversionOutput.h"
#include "convert/ConversionProgress.h"
#include "convert/ConversionTaskOptions.h"
#include "convert/TranscoderProcess.h"
#include "platform/FileNames.h"
#include "platform/Services.h"
#include "tasks/TaskRecordIO.h"
#include "tasks/TimeText.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>
#include <QTreeWidget>

namespace {

const int StatusColumnCount = 4; // the visible columns that carry a row's tool tip

QString Percent(const QProgressBar *bar)
{
    return QString::number(bar->value()) + QLatin1Char('%');
}

// Restores the commands when Start is left by an error before the run began.
class EnableOnUnwind
{
public:
    explicit EnableOnUnwind(const std::function<void()> &enable) : m_enable(enable) {}
    ~EnableOnUnwind()
    {
        if (m_armed && m_enable)
            m_enable();
    }
    void release() { m_armed = false; }

private:
    const std::function<void()> &m_enable;
    bool m_armed = true;
};

} // namespace

TConversionRun::TConversionRun(const TConversionView &view, Services &services, QObject *parent)
    : QObject(parent), m_view(view), m_services(services)
{
}

TConversionRun::~TConversionRun()
{
    // The process object is our child: its destructor kills and reaps a transcoder still running.
    DiscardTemporary();
}

void TConversionRun::tbtnStartClick(const QString &profilePath)
{
    m_view.ltvTask->setFocus();
    if (!QFileInfo(m_view.edtOutputdir->text()).isDir()) {
        m_services.messages.information(m_view.owner, QStringLiteral("Output path does not exist"),
                                        QStringLiteral("The output path does not exist. Please specify another one."));
        m_view.edtOutputdir->setFocus();
        return;
    }
    if (m_view.ltvTask->topLevelItemCount() == 0 || m_process || m_taskScheduled)
        return;
    if (DisableCommands)
        DisableCommands();
    EnableOnUnwind guard(EnableCommands);
    const QString arguments = BuildProfileArguments ? BuildProfileArguments(profilePath) : QString();
    guard.release();
    RunConversion(arguments);
}

void TConversionRun::RunConversion(const QString &profileArguments)
{
    ProfileArguments = profileArguments;
    m_view.labConvertingFile->clear();
    m_view.labElapsed->clear();
    m_view.labRemaining->clear();
    m_view.pgbCurrent->setValue(0);
    m_view.pgbTotal->setValue(0);
    m_view.labCurProgress->setText(QStringLiteral("0%"));
    m_view.labTotalProgress->setText(QStringLiteral("0%"));
    m_view.panBottomCenter->hide();
    m_view.panBottomLeft->show();

    RunState = Running;
    DoneLength = 0;
    TotalLength = 0;
    FailedCount = 0;
    ElapsedSeconds = 0;
    RemainingSeconds = 0;
    m_view.timerTime->start();

    for (int row = 0; row < m_view.ltvTask->topLevelItemCount(); ++row) {
        ltvItemData record;
        ReadTaskRecord(m_view.ltvTask, row, TaskField::All, record);
        TotalLength += record.ClipLengthSec;
    }
    ScheduleTask(0);
}

void TConversionRun::ScheduleTask(int row)
{
    // Every task starts from the event loop, so that Stop, the timer and painting come first.
    m_taskScheduled = true;
    QTimer::singleShot(0, this, [this, row] {
        if (!m_taskScheduled)
            return; // the window closed meanwhile
        m_taskScheduled = false;
        StartTask(row);
    });
}

void TConversionRun::StartTask(int row)
{
    CurrentRow = row;
    TaskPosition = 0;
    ReadTaskRecord(m_view.ltvTask, row, TaskField::All, m_record);
    SetStatus(row, QStringLiteral("Converting"));
    m_view.labConvertingFile->setText(QFileInfo(m_record.InputPath).fileName());
    emit taskStarted(row);

    // A Stop that came between two tasks ends the run before this task's transcoder is started.
    if (RunState == StopRequested) {
        StopHandling(row);
        return;
    }

    const bool rename = Choices ? Choices().Rename : false;
    const QString extension = OutputExtension ? OutputExtension() : QString();
    const OutputPlan plan = PlanOutputPath(WithTrailingBackslash(m_view.edtOutputdir->text()), m_record.OutName,
                                           extension, m_record.InputPath, row, rename);
    OutputPath = plan.path;
    TemporaryPath = TemporaryOutputPath(OutputPath);

    const QString options = ConversionTaskOptions(m_record);
    CommandLine = ConversionCommand(m_record.InputPath, ProfileArguments, options, OutputPath).text;
    const TranscoderCommand command = ConversionCommand(m_record.InputPath, ProfileArguments, options, TemporaryPath);

    ChunkCount = 0;
    TaskLength = m_record.ClipLengthSec;
    m_process = new TranscoderProcess(TranscoderProcess::ConversionChunk, this);
    connect(m_process, &TranscoderProcess::chunkRead, this, &TConversionRun::ChunkRead);
    // Queued: a Stop click kills the transcoder at once and the task ends from the event loop.
    connect(m_process, &TranscoderProcess::finished, this, &TConversionRun::TaskFinished, Qt::QueuedConnection);
    switch (m_process->start(TranscoderPath, command)) {
    case TranscoderProcess::StartResult::Started:
        break;
    case TranscoderProcess::StartResult::PipeFailed:
        StartFailed(QStringLiteral("Error On CreatePipe()"), m_process->startErrorText());
        break;
    case TranscoderProcess::StartResult::ProcessFailed:
        StartFailed(QStringLiteral("Error on CreateProcess()"), m_process->startErrorText());
        break;
    }
}

void TConversionRun::ChunkRead(const QByteArray &chunk)
{
    // The first two chunks are the transcoder's banner and stream description.
    if (ChunkCount >= 2)
        ProgressUpdate(chunk);
    ++ChunkCount;
}

void TConversionRun::ProgressUpdate(const QByteArray &chunk)
{
    const std::optional<double> position = ProgressTimeIn(chunk);
    if (position && *position > TaskPosition)
        TaskPosition = *position;
    ShowBars();
}

void TConversionRun::ShowBars()
{
    if (TaskLength != 0)
        m_view.pgbCurrent->setValue(ProgressPercent(TaskPosition, TaskLength));
    if (TotalLength != 0)
        m_view.pgbTotal->setValue(ProgressPercent(DoneLength + TaskPosition, TotalLength));
    m_view.labCurProgress->setText(Percent(m_view.pgbCurrent));
    m_view.labTotalProgress->setText(Percent(m_view.pgbTotal));
}

void TConversionRun::TaskFinished(int exitCode, bool crashed, const QString &lastErrorLine)
{
    if (!m_process || sender() != m_process)
        return; // a transcoder the run has already let go (the window closed)
    const int row = CurrentRow;
    ReleaseProcess();
    if (RunState == StopRequested) {
        DiscardTemporary();
        StopHandling(row);
        return;
    }

    QString failure;
    if (crashed || exitCode != 0) {
        failure = lastErrorLine;
        if (failure.isEmpty())
            failure = crashed ? QStringLiteral("The transcoder ended abnormally.")
                              : QStringLiteral("The transcoder ended with exit status %1.").arg(exitCode);
    } else {
        const QString reason = MoveOntoOutput(TemporaryPath, OutputPath);
        if (!reason.isEmpty())
            failure = QStringLiteral("The output file could not be written: %1").arg(reason);
    }
    if (failure.isEmpty()) {
        SetStatus(row, QStringLiteral("Complete"));
        // A finished task is whole even when its last progress line fell short of its length.
        if (TaskLength > 0)
            TaskPosition = std::max(TaskPosition, TaskLength);
        TemporaryPath.clear();
    } else {
        DiscardTemporary();
        ++FailedCount;
        SetStatus(row, QStringLiteral("Failed"), failure);
    }
    ShowBars();
    DoneLength += m_record.ClipLengthSec;
    TaskPosition = 0;
    emit taskFinished(row, failure.isEmpty() ? QStringLiteral("Complete") : QStringLiteral("Failed"));

    const bool last = row + 1 >= m_view.ltvTask->topLevelItemCount();
    if (!last) {
        m_view.pgbCurrent->setValue(0);
        m_view.labCurProgress->setText(QStringLiteral("0%"));
        ScheduleTask(row + 1);
    } else if (RunState == Running) {
        EndOfRunActions();
    }
}

void TConversionRun::tbtnStopClick()
{
    if (RunState != Running)
        return;
    RunState = StopRequested;
    if (m_process)
        m_process->StopTranscoder();
}

void TConversionRun::StopHandling(int row)
{
    m_view.timerTime->stop();
    SetStatus(row, QStringLiteral("Stop"));
    emit taskFinished(row, QStringLiteral("Stop"));
    m_services.messages.information(m_view.owner, QStringLiteral("Cancel"), QStringLiteral("The Coversion is canceled."));
    ReturnToIdle();
    EndRun();
}

void TConversionRun::timerTimeTimer()
{
    ++ElapsedSeconds;
    m_view.labElapsed->setText(SecondsToTimeText(ElapsedSeconds));
    const int total = m_view.pgbTotal->value();
    if (total != 0)
        RemainingSeconds = static_cast<qint32>(RoundHalfEven(ElapsedSeconds / (total / 100.0) - ElapsedSeconds));
    m_view.labRemaining->setText(SecondsToTimeText(RemainingSeconds));
}

void TConversionRun::EndOfRunActions()
{
    m_view.timerTime->stop();
    const TRunChoices choices = Choices ? Choices() : TRunChoices();
    if (choices.TurnOff) {
        m_services.power.powerOff();
        EndRun();
        if (CloseMainWindow)
            CloseMainWindow();
        return;
    }
    if (choices.Exit) {
        EndRun();
        if (CloseMainWindow)
            CloseMainWindow();
        return;
    }
    const int tasks = m_view.ltvTask->topLevelItemCount();
    const QString text = FailedCount == 0
                             ? QStringLiteral("The coversion is completed successfully.")
                             : QStringLiteral("The coversion is completed, but %1 of %2 tasks failed.").arg(FailedCount).arg(tasks);
    m_services.messages.information(m_view.owner, QStringLiteral("Complete"), text);
    if (choices.OpenDir)
        m_services.desktop.open(m_view.edtOutputdir->text());
    ReturnToIdle();
    EndRun();
}

void TConversionRun::StartFailed(const QString &message, const QString &reason)
{
    const int row = CurrentRow;
    ReleaseProcess();
    // The run ends here: a row left "Converting" would claim work that is not going on.
    SetStatus(row, QStringLiteral("Failed"), reason);
    emit taskFinished(row, QStringLiteral("Failed"));
    m_services.messages.plain(m_view.owner, message);
    ReturnToIdle();
    EndRun();
}

void TConversionRun::MainWindowClosing()
{
    if (m_taskScheduled) {
        m_taskScheduled = false;
        ReturnToIdle();
        EndRun();
        return;
    }
    if (!m_process)
        return;
    const int row = CurrentRow;
    m_process->disconnect(this);
    RunState = StopRequested;
    m_process->StopTranscoder();
    ReleaseProcess();
    DiscardTemporary();
    SetStatus(row, QStringLiteral("Stop"));
    emit taskFinished(row, QStringLiteral("Stop"));
    ReturnToIdle();
    EndRun();
}

void TConversionRun::ReturnToIdle()
{
    m_view.timerTime->stop();
    m_view.panBottomLeft->hide();
    m_view.panBottomCenter->show();
    RunState = Idle;
}

void TConversionRun::EndRun()
{
    if (EnableCommands)
        EnableCommands();
    emit runEnded();
}

void TConversionRun::SetStatus(int row, const QString &status, const QString &toolTip)
{
    m_record.Status = status;
    WriteTaskRecord(m_view.ltvTask, row, TaskField::Status, m_record);
    if (QTreeWidgetItem *item = m_view.ltvTask->topLevelItem(row)) {
        for (int column = 0; column < StatusColumnCount; ++column)
            item->setToolTip(column, toolTip);
    }
}

void TConversionRun::DiscardTemporary()
{
    if (!TemporaryPath.isEmpty())
        QFile::remove(TemporaryPath);
    TemporaryPath.clear();
}

void TConversionRun::ReleaseProcess()
{
    if (!m_process)
        return;
    m_process->disconnect(this);
    m_process->deleteLater();
    m_process = nullptr;
}
