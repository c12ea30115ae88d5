#pragma once

#include "convert/TranscoderCommand.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QProcess;

// One run of the outside transcoder. The program is started with the command's argument list
// (no shell), standard output and standard error merged into one channel, standard input the
// null device. Output is handed on in chunks of at most chunkLimit bytes as it arrives; the
// event loop drives everything, nothing here waits for the transcoder to end.
class TranscoderProcess : public QObject
{
    Q_OBJECT

public:
    // Chunk sizes of the two uses.
    static constexpr int ConversionChunk = 4095;
    static constexpr int ProbeChunk = 4096;

    enum class StartResult
    {
        Started,
        PipeFailed,   // the output channel could not be made
        ProcessFailed // the program could not be started (missing, not executable...)
    };

    explicit TranscoderProcess(int chunkLimit, QObject *parent = nullptr);
    // Kills and reaps a transcoder that still runs.
    ~TranscoderProcess() override;

    // Starts the program. On a failure nothing runs and finished() is not emitted.
    // One process object serves one start.
    StartResult start(const QString &program, const TranscoderCommand &command);

    bool isRunning() const;

    // Kills the transcoder at once and reaps it. The remaining output and finished() (with
    // stoppedByUs() true) are delivered before this returns. Does nothing when none runs.
    void StopTranscoder();

    bool stoppedByUs() const { return m_stopped; }
    // Last line of the output that is not blank (lines end with "\n" or "\r").
    QString lastErrorLine() const;
    // Why the start failed, in the system's words.
    QString startErrorText() const { return m_startError; }
    int chunkLimit() const { return m_chunkLimit; }
    qint64 processId() const;

signals:
    void chunkRead(const QByteArray &chunk);
    // exitCode is the program's exit status; crashed when it died by a signal (also after Stop).
    void finished(int exitCode, bool crashed, const QString &lastErrorLine);

private:
    void readAvailable();
    void onFinished();
    void sendFinished();

    QProcess *m_process = nullptr;
    int m_chunkLimit;
    bool m_stopped = false;
    bool m_finishedSent = false;
    bool m_reading = false;       // handing chunks on; a nested read waits for the outer one
    bool m_finishPending = false; // the process ended while chunks were being handed on
    QByteArray m_tail; // the last few KB of output, for the error line
    QString m_startError;
};

// Runs a probe (" -i " path) to its end and collects the whole report. Several may run at once;
// each reports once through done(). The report is the output decoded as UTF-8.
class TranscoderProbe : public QObject
{
    Q_OBJECT

public:
    explicit TranscoderProbe(QObject *parent = nullptr);

    // False when the transcoder could not be started; done() is not emitted then.
    bool start(const QString &program, const QString &inputPath);
    // Kills a probe that still runs; done() follows with what was read so far.
    void StopTranscoder();
    const QString &inputPath() const { return m_inputPath; }

signals:
    void done(const QString &report);

private:
    TranscoderProcess *m_process;
    QByteArray m_report;
    QString m_inputPath;
};

// Runs a probe to its end without letting the event loop run (the probe blocks by design).
// started is set to false when the transcoder could not be started; the report is then empty.
// timeoutMs bounds the wait; a transcoder still running then is killed.
QString RunProbe(const QString &program, const QString &inputPath, bool *started = nullptr, int timeoutMs = 30000);
