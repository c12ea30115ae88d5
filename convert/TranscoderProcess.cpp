#include "convert/TranscoderProcess.h"

#include <QProcess>
#include <QScopedValueRollback>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Enough for the transcoder's last few lines; older output is dropped.
constexpr qsizetype TailKeep = 8192;
// Bounds the reaping after a kill; a killed process normally goes within milliseconds.
constexpr int ReapTimeoutMs = 5000;

QString LastNonBlankLine(const QByteArray &bytes)
{
    qsizetype end = bytes.size();
    while (end > 0) {
        qsizetype start = end;
        while (start > 0 && bytes[start - 1] != '\n' && bytes[start - 1] != '\r')
            --start;
        const QString line = QString::fromUtf8(bytes.mid(start, end - start)).trimmed();
        // ffmpeg ends a failed run with a summary; the line before it says what went wrong.
        if (!line.isEmpty() && line != QLatin1String("Conversion failed!"))
            return line;
        end = start - 1;
    }
    return {};
}

bool CanMakePipe()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return false;
    ::close(ends[0]);
    ::close(ends[1]);
    return true;
}

} // namespace

TranscoderProcess::TranscoderProcess(int chunkLimit, QObject *parent)
    : QObject(parent), m_process(new QProcess(this)), m_chunkLimit(chunkLimit > 0 ? chunkLimit : 1)
{
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setStandardInputFile(QProcess::nullDevice());
    connect(m_process, &QProcess::readyReadStandardOutput, this, &TranscoderProcess::readAvailable);
    connect(m_process, &QProcess::finished, this, &TranscoderProcess::onFinished);
}

TranscoderProcess::~TranscoderProcess()
{
    m_process->disconnect(this);
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(ReapTimeoutMs);
    }
}

TranscoderProcess::StartResult TranscoderProcess::start(const QString &program, const TranscoderCommand &command)
{
    m_stopped = false;
    m_finishedSent = false;
    m_tail.clear();
    m_startError.clear();
    m_process->start(program, command.arguments, QIODevice::ReadOnly);
    // Only the exec itself is waited for; it succeeds or fails at once.
    if (m_process->waitForStarted(-1))
        return StartResult::Started;
    m_startError = m_process->errorString();
    // The pipe comes first: when none can be made now, that is why; otherwise the program itself
    // could not be run (missing, not executable, not a program, no process to give).
    return CanMakePipe() ? StartResult::ProcessFailed : StartResult::PipeFailed;
}

bool TranscoderProcess::isRunning() const
{
    return m_process->state() != QProcess::NotRunning;
}

qint64 TranscoderProcess::processId() const
{
    return m_process->processId();
}

void TranscoderProcess::StopTranscoder()
{
    if (m_process->state() == QProcess::NotRunning)
        return;
    m_stopped = true;
    m_process->kill();
    // Reaps the child; QProcess delivers the remaining output and finished() from in here.
    m_process->waitForFinished(ReapTimeoutMs);
}

QString TranscoderProcess::lastErrorLine() const
{
    return LastNonBlankLine(m_tail);
}

void TranscoderProcess::readAvailable()
{
    if (m_reading || m_finishedSent)
        return; // the outer call drains the rest
    {
        const QScopedValueRollback<bool> guard(m_reading, true);
        for (;;) {
            const QByteArray chunk = m_process->read(m_chunkLimit);
            if (chunk.isEmpty())
                break;
            m_tail += chunk;
            if (m_tail.size() > TailKeep)
                m_tail.remove(0, m_tail.size() - TailKeep);
            emit chunkRead(chunk);
            if (m_finishedSent)
                return;
        }
    }
    if (m_finishPending)
        sendFinished();
}

void TranscoderProcess::onFinished()
{
    if (m_reading) {
        // A slot of chunkRead stopped the process; finish after the chunks being handed on.
        m_finishPending = true;
        return;
    }
    readAvailable();
    if (!m_finishedSent)
        sendFinished();
}

void TranscoderProcess::sendFinished()
{
    if (m_finishedSent)
        return;
    m_finishedSent = true;
    m_finishPending = false;
    const bool crashed = m_process->exitStatus() == QProcess::CrashExit;
    emit finished(crashed ? -1 : m_process->exitCode(), crashed, lastErrorLine());
}

// ---- TranscoderProbe ----

TranscoderProbe::TranscoderProbe(QObject *parent)
    : QObject(parent), m_process(new TranscoderProcess(TranscoderProcess::ProbeChunk, this))
{
    connect(m_process, &TranscoderProcess::chunkRead, this, [this](const QByteArray &chunk) { m_report += chunk; });
    connect(m_process, &TranscoderProcess::finished, this,
            [this](int, bool, const QString &) { emit done(QString::fromUtf8(m_report)); });
}

bool TranscoderProbe::start(const QString &program, const QString &inputPath)
{
    m_inputPath = inputPath;
    m_report.clear();
    return m_process->start(program, ProbeCommand(inputPath)) == TranscoderProcess::StartResult::Started;
}

void TranscoderProbe::StopTranscoder()
{
    m_process->StopTranscoder();
}

QString RunProbe(const QString &program, const QString &inputPath, bool *started, int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, ProbeCommand(inputPath).arguments, QIODevice::ReadOnly);
    const bool ok = process.waitForStarted(-1);
    if (started)
        *started = ok;
    if (!ok)
        return {};
    // waitForFinished keeps draining the pipe, so a long report cannot block the transcoder.
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(ReapTimeoutMs);
    }
    return QString::fromUtf8(process.readAll());
}
