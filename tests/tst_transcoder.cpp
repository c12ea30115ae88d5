#include "convert/TranscoderCommand.h"
#include "convert/TranscoderProcess.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/FakeTranscoderLog.h"
#include "tests/support/TestApp.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>


namespace {

// A scratch folder with a script for the fake transcoder, handed over through the environment.
class FakeScript
{
public:
    explicit FakeScript(const QByteArray &lines)
    {
        m_argvFile = m_dir.filePath(QStringLiteral("argv.txt"));
        m_pidFile = m_dir.filePath(QStringLiteral("pid.txt"));
        QFile file(m_dir.filePath(QStringLiteral("script.txt")));
        file.open(QIODevice::WriteOnly);
        file.write(lines + "\nargv_file=" + m_argvFile.toUtf8() + "\npid_file=" + m_pidFile.toUtf8() + "\n");
        file.close();
        qputenv("TESSIVO_FAKE_SCRIPT", file.fileName().toUtf8());
    }
    ~FakeScript() { qunsetenv("TESSIVO_FAKE_SCRIPT"); }

    // The arguments of each start, in order.
    QList<QStringList> starts() const { return FakeTranscoderStarts(m_argvFile); }
    qint64 pid() const
    {
        QFile file(m_pidFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll().toLongLong() : 0;
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_argvFile;
    QString m_pidFile;
};

// A process that is gone and reaped leaves no /proc entry (a zombie would).
bool ProcessGone(qint64 pid)
{
    return pid > 0 && !QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid));
}

} // namespace

class TranscoderTest : public QObject
{
    Q_OBJECT

private slots:
    void probeCommandText_data();
    void probeCommandText();
    void conversionCommandText_data();
    void conversionCommandText();
    void chunksNeverExceedTheLimit_data();
    void chunksNeverExceedTheLimit();
    void exitStatusAndLastErrorLine();
    void stopKillsAHangingTranscoderAndReapsIt();
    void stopWhenNothingRunsDoesNothing();
    void destroyingTheProcessKillsTheTranscoder();
    void startFailure_data();
    void startFailure();
    void severalProbesAtOnce();
    void runProbeWithTheRealTranscoder();
};

void TranscoderTest::probeCommandText_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << "/v/a.avi" << " -i \"/v/a.avi\"";
    QTest::newRow("blanks") << "/my videos/a b.avi" << " -i \"/my videos/a b.avi\"";
    QTest::newRow("non-ASCII") << QStringLiteral("/v/Café ñ 日本.mp4") << QStringLiteral(" -i \"/v/Café ñ 日本.mp4\"");
    QTest::newRow("leading dash") << "-y.avi" << " -i \"-y.avi\"";
    QTest::newRow("quote inside") << "/v/it's \"x\".avi" << " -i \"/v/it's \"x\".avi\"";
}

void TranscoderTest::probeCommandText()
{
    QFETCH(QString, path);
    QFETCH(QString, text);
    const TranscoderCommand command = ProbeCommand(path);
    QCOMPARE(command.text, text);

    FakeScript script("duration=00:00:05.00");
    TranscoderProcess process(TranscoderProcess::ProbeChunk);
    QSignalSpy finished(&process, &TranscoderProcess::finished);
    QCOMPARE(process.start(FakeTranscoderPath(), command), TranscoderProcess::StartResult::Started);
    QVERIFY(finished.wait(5000));
    // The path reached the transcoder as one argument, untouched.
    QCOMPARE(script.starts(), QList<QStringList>({QStringList{QStringLiteral("-i"), path}}));
}

void TranscoderTest::conversionCommandText_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("profileArgs");
    QTest::addColumn<QString>("taskOptions");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("no profile, no options")
        << "/in/a.avi" << "" << "" << "/out/a.mp4" << " -y -i \"/in/a.avi\" \"/out/a.mp4\""
        << QStringList{"-y", "-i", "/in/a.avi", "/out/a.mp4"};
    QTest::newRow("profile and options")
        << "/in/a.avi" << " -vcodec libx264 -s 320x240" << " -ss 00:00:01.5 -t 84" << "/out/a.mp4"
        << " -y -i \"/in/a.avi\" -vcodec libx264 -s 320x240 -ss 00:00:01.5 -t 84 \"/out/a.mp4\""
        << QStringList{"-y", "-i", "/in/a.avi", "-vcodec", "libx264", "-s", "320x240", "-ss", "00:00:01.5", "-t",
                       "84", "/out/a.mp4"};
    QTest::newRow("blanks and non-ASCII")
        << QStringLiteral("/in/Ünï cødé/clip 1.avi") << " -b:v 800k" << "" << QStringLiteral("/out dir/clip 1.mp4")
        << QStringLiteral(" -y -i \"/in/Ünï cødé/clip 1.avi\" -b:v 800k \"/out dir/clip 1.mp4\"")
        << QStringList{QStringLiteral("-y"), QStringLiteral("-i"), QStringLiteral("/in/Ünï cødé/clip 1.avi"),
                       QStringLiteral("-b:v"), QStringLiteral("800k"), QStringLiteral("/out dir/clip 1.mp4")};
    QTest::newRow("leading dashes") << "-in.avi" << "" << " -t 3" << "-out.mp4"
                                    << " -y -i \"-in.avi\" -t 3 \"-out.mp4\""
                                    << QStringList{"-y", "-i", "-in.avi", "-t", "3", "-out.mp4"};
}

void TranscoderTest::conversionCommandText()
{
    QFETCH(QString, input);
    QFETCH(QString, profileArgs);
    QFETCH(QString, taskOptions);
    QFETCH(QString, output);
    QFETCH(QString, text);
    QFETCH(QStringList, arguments);

    const TranscoderCommand command = ConversionCommand(input, profileArgs, taskOptions, output);
    QCOMPARE(command.text, text);
    QCOMPARE(command.arguments, arguments);

    FakeScript script("write_output=0\nchunks=1\ndelay_ms=0");
    TranscoderProcess process(TranscoderProcess::ConversionChunk);
    QSignalSpy finished(&process, &TranscoderProcess::finished);
    QCOMPARE(process.start(FakeTranscoderPath(), command), TranscoderProcess::StartResult::Started);
    QVERIFY(finished.wait(5000));
    QCOMPARE(script.starts(), QList<QStringList>({arguments}));
}

void TranscoderTest::chunksNeverExceedTheLimit_data()
{
    QTest::addColumn<int>("limit");
    QTest::newRow("conversion") << int(TranscoderProcess::ConversionChunk);
    QTest::newRow("probe") << int(TranscoderProcess::ProbeChunk);
    QTest::newRow("tiny") << 7;
}

void TranscoderTest::chunksNeverExceedTheLimit()
{
    QFETCH(int, limit);
    FakeScript script("burst_bytes=20000\nheader=0\nchunks=2\ndelay_ms=0\nwrite_output=0");
    TranscoderProcess process(limit);
    QByteArray all;
    int largest = 0;
    bool afterFinish = false;
    bool finishedOnce = false;
    connect(&process, &TranscoderProcess::chunkRead, this, [&](const QByteArray &chunk) {
        all += chunk;
        largest = qMax(largest, int(chunk.size()));
        afterFinish = afterFinish || finishedOnce;
    });
    QSignalSpy finished(&process, &TranscoderProcess::finished);
    connect(&process, &TranscoderProcess::finished, this, [&] { finishedOnce = true; });
    QCOMPARE(process.start(FakeTranscoderPath(), ConversionCommand("/in/a.avi", "", "", "/out/a.mp4")),
             TranscoderProcess::StartResult::Started);
    QVERIFY(finished.wait(5000));
    QVERIFY(largest <= limit);
    QVERIFY(largest > 0);
    QVERIFY(!afterFinish);
    QVERIFY(all.startsWith("abcdefghijklmnopqrstuvwxyzabc"));
    QVERIFY(all.size() > 20000);
    QVERIFY(all.contains("time=00:00:05.00 "));
    QCOMPARE(finished.count(), 1);
}

void TranscoderTest::exitStatusAndLastErrorLine()
{
    FakeScript script("exit=3\nerror_line=[libx264 @ 0x1] width not divisible by 2 (321x241)\ndelay_ms=0");
    TranscoderProcess process(TranscoderProcess::ConversionChunk);
    QSignalSpy finished(&process, &TranscoderProcess::finished);
    QCOMPARE(process.start(FakeTranscoderPath(), ConversionCommand("/in/a.avi", "", "", script.path("a.mp4"))),
             TranscoderProcess::StartResult::Started);
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.at(0).at(0).toInt(), 3);
    QCOMPARE(finished.at(0).at(1).toBool(), false);
    QCOMPARE(finished.at(0).at(2).toString(), QStringLiteral("[libx264 @ 0x1] width not divisible by 2 (321x241)"));
    QVERIFY(!process.stoppedByUs());
    QVERIFY(!process.isRunning());
}

void TranscoderTest::stopKillsAHangingTranscoderAndReapsIt()
{
    FakeScript script("hang=1\ndelay_ms=0\nchunks=1");
    TranscoderProcess process(TranscoderProcess::ConversionChunk);
    QSignalSpy finished(&process, &TranscoderProcess::finished);
    QSignalSpy chunks(&process, &TranscoderProcess::chunkRead);
    QCOMPARE(process.start(FakeTranscoderPath(), ConversionCommand("/in/a.avi", "", "", script.path("a.mp4"))),
             TranscoderProcess::StartResult::Started);
    QTRY_VERIFY_WITH_TIMEOUT(chunks.count() > 0 && script.pid() > 0, 5000);
    const qint64 pid = script.pid();
    QCOMPARE(pid, process.processId());

    QElapsedTimer clock;
    clock.start();
    process.StopTranscoder();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    // finished() came from within the stop, and the child is reaped: no zombie left behind.
    QCOMPARE(finished.count(), 1);
    QVERIFY(finished.at(0).at(1).toBool());
    QVERIFY(process.stoppedByUs());
    QVERIFY(!process.isRunning());
    QVERIFY(ProcessGone(pid));

    process.StopTranscoder(); // twice is harmless
    QCOMPARE(finished.count(), 1);
}

void TranscoderTest::stopWhenNothingRunsDoesNothing()
{
    TranscoderProcess process(TranscoderProcess::ConversionChunk);
    QSignalSpy finished(&process, &TranscoderProcess::finished);
    process.StopTranscoder();
    QCOMPARE(finished.count(), 0);
    QVERIFY(!process.stoppedByUs());
}

void TranscoderTest::destroyingTheProcessKillsTheTranscoder()
{
    FakeScript script("hang=1\ndelay_ms=0\nchunks=1");
    qint64 pid = 0;
    {
        TranscoderProcess process(TranscoderProcess::ConversionChunk);
        QCOMPARE(process.start(FakeTranscoderPath(), ConversionCommand("/in/a.avi", "", "", script.path("a.mp4"))),
                 TranscoderProcess::StartResult::Started);
        QTRY_VERIFY_WITH_TIMEOUT(script.pid() > 0, 5000);
        pid = script.pid();
    }
    QVERIFY(ProcessGone(pid));
}

void TranscoderTest::startFailure_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("not executable") << "not executable";
    QTest::newRow("folder") << "folder";
    QTest::newRow("executable, not a program") << "not a program";
}

void TranscoderTest::startFailure()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString program = dir.filePath(QStringLiteral("wmaspi.dll"));
    if (kind == QLatin1String("not executable")) {
        QFile file(program);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a program");
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("wmaspi.dll")));
    } else if (kind == QLatin1String("not a program")) {
        // Runnable by its permissions, yet the system cannot start it: no pipe is missing.
        QFile file(program);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x01\x02 not a program\n");
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    TranscoderProcess process(TranscoderProcess::ConversionChunk);
    QSignalSpy finished(&process, &TranscoderProcess::finished);
    QCOMPARE(process.start(program, ConversionCommand("/in/a.avi", "", "", "/out/a.mp4")),
             TranscoderProcess::StartResult::ProcessFailed);
    QVERIFY(!process.isRunning());
    QVERIFY(!process.startErrorText().isEmpty());
    QTest::qWait(50);
    QCOMPARE(finished.count(), 0);

    bool started = true;
    QCOMPARE(RunProbe(program, QStringLiteral("/in/a.avi"), &started), QString());
    QVERIFY(!started);
    TranscoderProbe probe;
    QVERIFY(!probe.start(program, QStringLiteral("/in/a.avi")));
}

void TranscoderTest::severalProbesAtOnce()
{
    FakeScript script("duration=00:01:23.40\nsize=640x480");
    QList<TranscoderProbe *> probes;
    QMap<QString, QString> reports;
    for (int i = 0; i < 4; ++i) {
        auto *probe = new TranscoderProbe(this);
        connect(probe, &TranscoderProbe::done, this,
                [&reports, probe](const QString &report) { reports.insert(probe->inputPath(), report); });
        QVERIFY(probe->start(FakeTranscoderPath(), QStringLiteral("/clips/clip %1.avi").arg(i)));
        probes << probe;
    }
    QTRY_COMPARE_WITH_TIMEOUT(reports.size(), 4, 5000);
    for (int i = 0; i < 4; ++i) {
        const QString report = reports.value(QStringLiteral("/clips/clip %1.avi").arg(i));
        QVERIFY(report.contains(QStringLiteral("from '/clips/clip %1.avi':").arg(i)));
        QVERIFY(report.contains(QStringLiteral("  Duration: 00:01:23.40, start: 0.000000")));
        QVERIFY(report.contains(QStringLiteral(", 640x480 [SAR 1:1 DAR 4:3]")));
    }
    qDeleteAll(probes);
}

void TranscoderTest::runProbeWithTheRealTranscoder()
{
    QTemporaryDir dir;
    const QString clip = dir.filePath(QStringLiteral("clip é.mp4"));
    QVERIFY(MakeClip(clip, 1.0, QStringLiteral("160x120"), {}, false));
    bool started = false;
    const QString report = RunProbe(FfmpegPath(), clip, &started);
    QVERIFY(started);
    QVERIFY2(report.contains(QStringLiteral("from '%1':").arg(clip)), qPrintable(report));
    QVERIFY(report.contains(QStringLiteral("Duration: 00:00:01.00")));
    QVERIFY(report.contains(QStringLiteral("160x120")));
}

TESSIVO_TEST_MAIN(TranscoderTest)
#include "tst_transcoder.moc"
