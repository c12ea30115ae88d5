#include "tasks/TaskAdder.h"

#include "convert/TranscoderProcess.h"
#include "tasks/TaskRecordIO.h"
#include "tasks/ltvItemData.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

TaskAdder::TaskAdder(QTreeWidget *list, QWidget *dialogOwner, QObject *parent)
    : QObject(parent)
    , MaxConcurrent(std::max(1, QThread::idealThreadCount()))
    , FList(list)
    , FDialogOwner(dialogOwner)
{
}

TaskAdder::~TaskAdder()
{
    // Probes are children: their processes are killed and reaped with them.
    if (FLoop)
        qApp->removeEventFilter(this);
}

int TaskAdder::AddFiles(const QStringList &paths, const QString &outputExtension)
{
    if (IsAdding()) {
        Enqueue(paths, outputExtension);
        UpdateProgress();
        StartProbes();
        return 0;
    }

    FCaptions.clear();
    const int rows = FList->topLevelItemCount();
    FCaptions.reserve(rows + paths.size());
    for (int row = 0; row < rows; ++row)
        FCaptions.insert(FList->topLevelItem(row)->text(0));
    FPending.clear();
    FNextToStart = FNextToAppend = FRunning = FAdded = 0;
    FCancelled = false;
    Enqueue(paths, outputExtension);
    if (FPending.isEmpty())
        return 0;

    // A transcoder that is not there cannot be started for any file: every row gets no results.
    const QFileInfo transcoder(TranscoderPath);
    FProbing = transcoder.isFile() && transcoder.isExecutable();
    if (!FProbing) {
        for (Pending &p : FPending)
            p.done = true;
        AppendReadyRows();
        FPending.clear();
        return FAdded;
    }

    QEventLoop loop;
    FLoop = &loop;
    qApp->installEventFilter(this);
    QTimer progressTimer;
    progressTimer.setSingleShot(true);
    connect(&progressTimer, &QTimer::timeout, this, &TaskAdder::ShowProgress);
    progressTimer.start(ProgressDelayMs);

    StartProbes();
    while (!FCancelled && FNextToAppend < FPending.size())
        loop.exec();

    progressTimer.stop();
    qApp->removeEventFilter(this);
    FLoop = nullptr;
    delete FProgress;
    FPending.clear();
    return FAdded;
}

void TaskAdder::Enqueue(const QStringList &paths, const QString &outputExtension)
{
    for (const QString &path : paths) {
        if (FCaptions.contains(path))
            continue;
        FCaptions.insert(path);
        FPending.append({path, outputExtension, false, {}});
    }
}

void TaskAdder::StartProbes()
{
    if (!FProbing)
        return;
    while (!FCancelled && FRunning < MaxConcurrent && FNextToStart < FPending.size()) {
        const int index = FNextToStart++;
        auto *probe = new TranscoderProbe(this);
        connect(probe, &TranscoderProbe::done, this,
                [this, probe, index](const QString &report) { ProbeDone(probe, index, report); });
        if (!probe->start(TranscoderPath, FPending[index].path)) {
            // Not started: the row is added without results.
            delete probe;
            FPending[index].done = true;
            continue;
        }
        FProbes << probe;
        ++FRunning;
    }
    AppendReadyRows();
    FinishIfDone();
}

void TaskAdder::ProbeDone(TranscoderProbe *probe, int index, const QString &report)
{
    FProbes.removeOne(probe);
    probe->deleteLater();
    --FRunning;
    if (FCancelled)
        return;
    Pending &p = FPending[index];
    p.result = ParseProbeReport(report, p.path);
    p.done = true;
    AppendReadyRows();
    StartProbes();
}

void TaskAdder::AppendReadyRows()
{
    QList<QTreeWidgetItem *> batch;
    while (FNextToAppend < FPending.size() && FPending[FNextToAppend].done) {
        const Pending &p = FPending[FNextToAppend];
        auto *item = new QTreeWidgetItem;
        WriteTaskItem(item, NewTaskRecord(p.path, p.result, p.outputExtension));
        batch << item;
        ++FNextToAppend;
    }
    if (batch.isEmpty())
        return;
    FList->addTopLevelItems(batch);
    FAdded += int(batch.size());
    UpdateProgress();
}

void TaskAdder::FinishIfDone()
{
    if (FLoop && (FCancelled || FNextToAppend >= FPending.size()))
        FLoop->quit();
}

void TaskAdder::ShowProgress()
{
    if (!IsAdding() || FProgress)
        return;
    FProgress = new QProgressDialog(FDialogOwner);
    FProgress->setObjectName(QStringLiteral("AddProgress"));
    FProgress->setWindowTitle(QApplication::applicationName());
    FProgress->setAccessibleName(QStringLiteral("Adding files"));
    FProgress->setCancelButtonText(QStringLiteral("Cancel"));
    FProgress->setAutoClose(false);
    FProgress->setAutoReset(false);
    FProgress->setMinimumDuration(0);
    connect(FProgress, &QProgressDialog::canceled, this, &TaskAdder::Cancel);
    UpdateProgress();
    FProgress->show();
    Q_EMIT progressShown();
}

void TaskAdder::UpdateProgress()
{
    if (!FProgress)
        return;
    FProgress->setMaximum(int(FPending.size()));
    FProgress->setValue(FNextToAppend);
    FProgress->setLabelText(QStringLiteral("Adding files to the Task List: %1 of %2")
                                .arg(FNextToAppend)
                                .arg(FPending.size()));
}

void TaskAdder::Cancel()
{
    if (!IsAdding() || FCancelled)
        return;
    FCancelled = true;
    // Files whose probe is still running are not added; the rows in place stay.
    const QVector<TranscoderProbe *> running = FProbes;
    for (TranscoderProbe *probe : running)
        probe->StopTranscoder();
    FinishIfDone();
}

bool TaskAdder::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Close: {
        // Only widgets: the windows of the platform pass input on to them.
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget)
            return false;
        if (FProgress && (widget == FProgress || FProgress->isAncestorOf(widget)))
            return false;
        // Nothing may change the list or close the window while rows are still coming.
        event->ignore();
        return true;
    }
    default:
        return false;
    }
}
