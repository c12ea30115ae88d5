// A stand-in for the transcoder that the tests script exactly.
//
// Command lines it answers:
//   -i PATH                    a probe: prints a report like ffmpeg's, exits with status 1
//   -y -i IN [options...] OUT  a conversion: prints a header, then progress pieces, writes OUT
//
// The script is a text file of key=value lines ('#' starts a comment line). It is found through
// the environment variable TESSIVO_FAKE_SCRIPT, else as "fake_transcoder.script" in the folder of
// the path the program was started by (so a link named wmaspi.dll finds the script beside it).
// No script: the defaults below. Values may hold the escapes \r \n \t \\.
//
//   duration=00:00:05.00   duration of the probe report and of the progress (default 00:00:05.00)
//   size=320x240           frame size of the probe report's Video line (default 320x240)
//   probe_missing=1        the probe answers "PATH: No such file or directory" instead
//   header=1               conversion: write the two header pieces first (default 1)
//   chunks=4               conversion: number of progress pieces after the header (default 4)
//   delay_ms=30            pause after every piece (header pieces included; default 30)
//   chunk3=TEXT            the exact text of piece 3 (pieces count from 1, header pieces included)
//   burst_bytes=N          write N bytes in one write before anything else (default 0)
//   exit=0                 exit status of a conversion (default 0)
//   error_line=TEXT        last line printed when the exit status is not 0
//   hang=1                 after the pieces, wait until killed
//   write_output=1         create OUT at the start and complete it at the end (default 1)
//   argv_file=PATH         append the arguments, one a line, then a line "--end--"
//   fail_input=TEXT        a conversion whose input path contains TEXT exits with status 1
//                          and the error line "TEXT: Invalid data found when processing input"
//   hang_input=TEXT        a conversion whose input path contains TEXT waits until killed
//   pid_file=PATH          write the process id into PATH at start

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>
#include <QThread>

#include <cstdio>

namespace {

QString Unescape(const QString &value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar n = value[++i];
            if (n == QLatin1Char('r'))
                out += QLatin1Char('\r');
            else if (n == QLatin1Char('n'))
                out += QLatin1Char('\n');
            else if (n == QLatin1Char('t'))
                out += QLatin1Char('\t');
            else
                out += n;
        } else {
            out += c;
        }
    }
    return out;
}

QHash<QString, QString> ReadScript(const char *argv0)
{
    QString path = qEnvironmentVariable("TESSIVO_FAKE_SCRIPT");
    if (path.isEmpty())
        path = QFileInfo(QString::fromLocal8Bit(argv0)).absolutePath() + QStringLiteral("/fake_transcoder.script");
    QHash<QString, QString> script;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return script;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0)
            script.insert(line.left(eq).trimmed(), Unescape(line.mid(eq + 1)));
    }
    return script;
}

void Write(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

void Write(const QString &text)
{
    Write(text.toUtf8());
}

[[noreturn]] void HangUntilKilled()
{
    for (;;)
        QThread::sleep(1);
}

double Seconds(const QString &time)
{
    const QStringList parts = time.split(QLatin1Char(':'));
    if (parts.size() != 3)
        return 5;
    return parts[0].toDouble() * 3600 + parts[1].toDouble() * 60 + parts[2].toDouble();
}

QString TimeText(double seconds)
{
    const int centis = static_cast<int>(seconds * 100 + 0.5);
    return QString::asprintf("%02d:%02d:%02d.%02d", centis / 360000, centis / 6000 % 60, centis / 100 % 60,
                             centis % 100);
}

const char Banner[] = "ffmpeg version 5.1-fake Copyright (c) 2000-2022 the FFmpeg developers\n"
                      "  built with gcc 12 (Debian 12.2.0-14)\n"
                      "  configuration: --prefix=/usr --enable-gpl --enable-libx264\n"
                      "  libavutil      57. 28.100 / 57. 28.100\n"
                      "  libavcodec     59. 37.100 / 59. 37.100\n"
                      "  libavformat    59. 27.100 / 59. 27.100\n";

QString InputReport(const QString &path, const QString &duration, const QString &size)
{
    return QStringLiteral("Input #0, mov,mp4,m4a,3gp,3g2,mj2, from '%1':\n"
                          "  Metadata:\n"
                          "    major_brand     : isom\n"
                          "    creation_time   : 2023-01-02T03:04:05.000000Z\n"
                          "    encoder         : Lavf59.27.100\n"
                          "  Duration: %2, start: 0.000000, bitrate: 121 kb/s\n"
                          "  Stream #0:0[0x1](und): Video: h264 (High) (avc1 / 0x31637661), yuv420p(progressive), "
                          "%3 [SAR 1:1 DAR 4:3], 41 kb/s, 25 fps, 25 tbr, 12800 tbn (default)\n")
        .arg(path, duration, size);
}

int Probe(const QHash<QString, QString> &script, const QString &path)
{
    Write(QByteArray(Banner));
    if (script.value(QStringLiteral("probe_missing")) == QLatin1String("1")) {
        Write(path + QStringLiteral(": No such file or directory\n"));
        return 1;
    }
    Write(InputReport(path, script.value(QStringLiteral("duration"), QStringLiteral("00:00:05.00")),
                      script.value(QStringLiteral("size"), QStringLiteral("320x240"))));
    Write(QByteArray("At least one output file must be specified\n"));
    return 1;
}

int Convert(const QHash<QString, QString> &script, const QStringList &args)
{
    const QString input = args.value(2);
    const QString output = args.last();
    const auto value = [&script](const char *key, const char *fallback) {
        return script.value(QLatin1String(key), QLatin1String(fallback));
    };
    const int delayMs = value("delay_ms", "30").toInt();
    const int chunks = value("chunks", "4").toInt();
    const bool header = value("header", "1") == QLatin1String("1");
    double duration = Seconds(value("duration", "00:00:05.00"));
    const qsizetype t = args.indexOf(QStringLiteral("-t"));
    if (t > 0 && t + 1 < args.size())
        duration = args[t + 1].toDouble();

    const QString failInput = script.value(QStringLiteral("fail_input"));
    const QString hangInput = script.value(QStringLiteral("hang_input"));
    const bool failThis = !failInput.isEmpty() && input.contains(failInput);
    const bool hangThis = script.value(QStringLiteral("hang")) == QLatin1String("1")
                          || (!hangInput.isEmpty() && input.contains(hangInput));

    const int burst = value("burst_bytes", "0").toInt();
    if (burst > 0) {
        QByteArray bytes(burst, 'x');
        for (int i = 0; i < burst; ++i)
            bytes[i] = static_cast<char>('a' + i % 26);
        Write(bytes);
    }

    QFile out(output);
    const bool writeOutput = value("write_output", "1") == QLatin1String("1") && !failThis;
    if (writeOutput && out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        out.write("FAKE-START\n");
        out.flush();
    }

    int piece = 0;
    const auto emitPiece = [&](const QString &fallback) {
        ++piece;
        const QString key = QStringLiteral("chunk%1").arg(piece);
        Write(script.contains(key) ? script.value(key) : fallback);
        if (delayMs > 0)
            QThread::msleep(static_cast<unsigned long>(delayMs));
    };

    if (header) {
        emitPiece(QString::fromLatin1(Banner) + InputReport(input, TimeText(duration), value("size", "320x240")));
        emitPiece(QStringLiteral("Stream mapping:\n  Stream #0:0 -> #0:0 (h264 (native) -> h264 (libx264))\n"
                                 "Press [q] to stop, [?] for help\nOutput #0, mp4, to '%1':\n")
                      .arg(output));
    }
    if (failThis) {
        Write(failInput + QStringLiteral(": Invalid data found when processing input\n"));
        return 1;
    }
    for (int i = 1; i <= chunks; ++i) {
        const double at = duration * i / chunks;
        emitPiece(QStringLiteral("frame=%1 fps=0.0 q=28.0 size=       0kB time=%2 bitrate=   0.0kbits/s speed=50x    \r")
                      .arg(static_cast<int>(at * 25), 5)
                      .arg(TimeText(at)));
    }
    if (hangThis)
        HangUntilKilled();

    const int status = value("exit", "0").toInt();
    if (status != 0) {
        Write(QStringLiteral("\n") + value("error_line", "Conversion failed!") + QStringLiteral("\n"));
        return status;
    }
    if (out.isOpen()) {
        out.write("FAKE-END ");
        out.write(input.toUtf8());
        out.write("\n");
        out.close();
    }
    Write(QByteArray("\nvideo:1kB audio:0kB subtitle:0kB other streams:0kB global headers:0kB\n"));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const QHash<QString, QString> script = ReadScript(argv[0]);

    const QString pidFile = script.value(QStringLiteral("pid_file"));
    if (!pidFile.isEmpty()) {
        QFile file(pidFile);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(QByteArray::number(QCoreApplication::applicationPid()));
    }
    const QString argvFile = script.value(QStringLiteral("argv_file"));
    if (!argvFile.isEmpty()) {
        QFile file(argvFile);
        if (file.open(QIODevice::WriteOnly | QIODevice::Append))
            file.write((args.join(QLatin1Char('\n')) + QStringLiteral("\n--end--\n")).toUtf8());
    }

    if (args.size() == 2 && args[0] == QLatin1String("-i"))
        return Probe(script, args[1]);
    if (args.size() >= 4 && args[0] == QLatin1String("-y") && args[1] == QLatin1String("-i"))
        return Convert(script, args);
    Write(QByteArray(Banner) + "Unrecognized command line\n");
    return 1;
}
