#pragma once

#include <QString>
#include <QTemporaryDir>

// A temporary program folder: the transcoder link (the real ffmpeg or the fake one) and Profiles/.
class ProgramFolder
{
public:
    enum class Transcoder { None, Real, Fake };

    explicit ProgramFolder(Transcoder transcoder = Transcoder::Real);

    // With the trailing separator, as the program keeps it.
    QString path() const;
    QString file(const QString &name) const { return path() + name; }
    QString profiles() const { return path() + QStringLiteral("Profiles/"); }

    // Copies the shipped profiles into Profiles/.
    void copyShippedProfiles() const;
    // Writes a file below the folder (folders made as needed) and returns its full path.
    QString write(const QString &relativePath, const QByteArray &content) const;
    QByteArray read(const QString &relativePath) const;

    bool isValid() const { return FDir.isValid(); }

private:
    QTemporaryDir FDir;
};

// The real ffmpeg, ffprobe and the fake transcoder the build found.
QString FfmpegPath();
QString FfprobePath();
QString FakeTranscoderPath();

// Generates a clip with ffmpeg's test sources; returns false when ffmpeg failed.
// extraArgs go before the output, for example {"-c:v","libx264"}.
bool MakeClip(const QString &path, double seconds, const QString &size = QStringLiteral("320x240"),
              const QStringList &extraArgs = {}, bool withAudio = true);
