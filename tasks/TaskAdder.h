#pragma once

#include "tasks/ProbeReport.h"

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QSet>
#include <QStringList>
#include <QVector>

class QEventLoop;

class QTreeWidget;
class QWidget;
class TranscoderProbe;

// Adds input files to the task list. Each file is probed by the transcoder; the probes of one add
// run side by side (as many as the machine has cores) while the event loop keeps the window
// painted. Rows are appended in the order the files were given, each with its results, and
// every row is in place when AddFiles returns. An add that lasts longer than half a second shows
// a progress dialog whose Cancel stops adding further files and keeps the rows already added.
// While an add runs, user input other than to that dialog is held back.
class TaskAdder : public QObject
{
    Q_OBJECT

public:
    TaskAdder(QTreeWidget *list, QWidget *dialogOwner, QObject *parent = nullptr);
    ~TaskAdder() override;

    QString TranscoderPath;
    int MaxConcurrent;
    int ProgressDelayMs = 500;

    // Adds the files in this order; a path that is already a row's caption, or that came earlier
    // in this add, is skipped (exact text, letter case counts). Returns the number of rows added.
    // Called again while an add runs, the files join that add and the call returns at once.
    int AddFiles(const QStringList &paths, const QString &outputExtension);

    bool IsAdding() const { return FLoop != nullptr; }
    // The progress dialog while one is shown, else nullptr.
    QProgressDialog *Progress() const { return FProgress; }

Q_SIGNALS:
    void progressShown();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Pending
    {
        QString path;
        QString outputExtension;
        bool done = false;
        ProbeResult result;
    };

    void Enqueue(const QStringList &paths, const QString &outputExtension);
    void StartProbes();
    void ProbeDone(TranscoderProbe *probe, int index, const QString &report);
    void AppendReadyRows();
    void ShowProgress();
    void UpdateProgress();
    void Cancel();
    void FinishIfDone();

    QTreeWidget *FList;
    QWidget *FDialogOwner;
    QSet<QString> FCaptions;
    QVector<Pending> FPending;
    int FNextToStart = 0;
    int FNextToAppend = 0;
    int FRunning = 0;
    int FAdded = 0;
    bool FProbing = true;
    bool FCancelled = false;
    QVector<TranscoderProbe *> FProbes;
    QEventLoop *FLoop = nullptr;
    QPointer<QProgressDialog> FProgress;
};
