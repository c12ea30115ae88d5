#include "tests/support/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

QString FfmpegPath()
{
    const QString p = qEnvironmentVariable("TESSIVO_FFMPEG");
    return p.isEmpty() ? QStringLiteral("/usr/bin/ffmpeg") : p;
}

QString FfprobePath()
{
    const QString p = qEnvironmentVariable("TESSIVO_FFPROBE");
    return p.isEmpty() ? QStringLiteral("/usr/bin/ffprobe") : p;
}

QString FakeTranscoderPath()
{
    return qEnvironmentVariable("TESSIVO_FAKE_TRANSCODER");
}

ProgramFolder::ProgramFolder(Transcoder transcoder)
{
    QDir(FDir.path()).mkpath(QStringLiteral("Profiles"));
    const QString link = file(QStringLiteral("wmaspi.dll"));
    if (transcoder == Transcoder::Real)
        QFile::link(FfmpegPath(), link);
    else if (transcoder == Transcoder::Fake)
        QFile::link(FakeTranscoderPath(), link);
}

QString ProgramFolder::path() const
{
    return FDir.path() + QDir::separator();
}

void ProgramFolder::copyShippedProfiles() const
{
    const QDir shipped(qEnvironmentVariable("TESSIVO_PROFILES"));
    for (const QFileInfo &f : shipped.entryInfoList({QStringLiteral("*.apf")}, QDir::Files))
        QFile::copy(f.absoluteFilePath(), profiles() + f.fileName());
}

QString ProgramFolder::write(const QString &relativePath, const QByteArray &content) const
{
    const QString full = path() + relativePath;
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(content);
    return full;
}

QByteArray ProgramFolder::read(const QString &relativePath) const
{
    QFile f(path() + relativePath);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool MakeClip(const QString &path, double seconds, const QString &size, const QStringList &extraArgs, bool withAudio)
{
    QStringList args{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"), QStringLiteral("-f"),
                     QStringLiteral("lavfi"), QStringLiteral("-i"),
                     QStringLiteral("testsrc=size=%1:rate=25:duration=%2").arg(size).arg(seconds)};
    if (withAudio) {
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
             << QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds);
    }
    args << extraArgs << QStringLiteral("-shortest") << path;
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(FfmpegPath(), args);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
