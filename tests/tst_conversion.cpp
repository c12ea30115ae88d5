#include "app/TMainForm.h"
#include "app/TSplitterPanel.h"
#include "convert/ConversionOutput.h"
#include "convert/ConversionProgress.h"
#include "convert/ConversionTaskOptions.h"
#include "convert/TConversionRun.h"
#include "platform/TessivoError.h"
#include "settings/TSettingForm.h"
#include "tasks/TaskRecordIO.h"
#include "tasks/TimeText.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/FakeTranscoderLog.h"
#include "tests/support/TestApp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <memory>
#include <optional>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

bool ProcessGone(qint64 pid)
{
    return pid > 0 && !QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid));
}

// Files the run left behind in a folder that are not the expected outputs: temporary files.
QStringList TemporaryFilesIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.part-*")}, QDir::Files | QDir::Hidden);
}

double MediaDuration(const QString &path)
{
    QProcess probe;
    probe.start(FfprobePath(), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                                QStringLiteral("format=duration"), QStringLiteral("-of"), QStringLiteral("csv=p=0"), path});
    probe.waitForFinished(30000);
    bool ok = false;
    const double seconds = probe.readAllStandardOutput().trimmed().toDouble(&ok);
    return ok ? seconds : -1;
}

// A main window on a temporary program folder with an output folder of its own; rows are put
// into the task list directly.
struct RunFixture
{
    explicit RunFixture(ProgramFolder::Transcoder transcoder = ProgramFolder::Transcoder::Fake,
                        bool shippedProfiles = false)
        : folder(transcoder)
    {
        if (shippedProfiles)
            folder.copyShippedProfiles();
        form = std::make_unique<TMainForm>(folder.path(), ts.services, QStringList());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        // Typed without the trailing separator: the run adds it.
        form->edtOutputdir->setText(outputFolder());
        form->OutputExtension = QStringLiteral(".mp4");
        if (!shippedProfiles)
            run()->BuildProfileArguments = [this](const QString &) { return profileArguments; };
    }

    TConversionRun *run() const { return form->ConversionRun; }
    QString outputFolder() const { return out.path(); }
    QString output(const QString &name) const { return out.filePath(name); }
    QString input(const QString &name) const { return in.filePath(name); }

    void script(const QByteArray &lines)
    {
        folder.write(QStringLiteral("fake_transcoder.script"),
                     lines + "\nargv_file=" + argvFile().toUtf8() + "\npid_file=" + pidFile().toUtf8() + "\n");
    }
    QString argvFile() const { return in.filePath(QStringLiteral("argv.txt")); }
    QString pidFile() const { return in.filePath(QStringLiteral("pid.txt")); }
    qint64 pid() const { return ReadAll(pidFile()).toLongLong(); }
    QList<QStringList> starts() const { return FakeTranscoderStarts(argvFile()); }

    // A row as adding the file would make it; start and end change the clip as the options do.
    void addRow(const QString &inputPath, const QString &length, const QString &start = QStringLiteral("00:00:00.0"),
                const QString &end = QString(), const QString &outName = QString(), const QString &outExt = QStringLiteral(".mp4"))
    {
        ltvItemData r;
        r.InputPath = inputPath;
        r.LengthText = length;
        r.FrameSize = QStringLiteral(" 320x240");
        r.Status = QStringLiteral("OK");
        r.OutName = outName.isEmpty() ? QFileInfo(inputPath).completeBaseName() : outName;
        r.OutExt = outExt;
        r.RangeStart = QStringLiteral("00:00:00.0");
        r.RangeEnd = length;
        r.StartTime = start;
        r.EndTime = end.isEmpty() ? length : end;
        const bool changed = start != QLatin1String("00:00:00.0") || !end.isEmpty();
        r.ClipLength = changed ? SecondsToTimeText(TimeToSeconds(r.EndTime) - TimeToSeconds(start)) : length;
        auto *item = new QTreeWidgetItem;
        WriteTaskItem(item, r);
        form->ltvTask->addTopLevelItem(item);
        form->SetListCommandsEnabled(true);
    }
    QString status(int row) const { return form->ltvTask->topLevelItem(row)->text(3); }

    // Clicks Start and waits for the run to end.
    bool startAndWait(int timeoutMs = 20000)
    {
        QSignalSpy ended(run(), &TConversionRun::runEnded);
        QTest::mouseClick(form->tbtnStart, Qt::LeftButton);
        return ended.count() > 0 || ended.wait(timeoutMs);
    }

    void verifyIdle() const
    {
        QCOMPARE(run()->RunState, 0);
        QVERIFY(!form->timerTime->isActive());
        QVERIFY(form->panBottomCenter->isVisible());
        QVERIFY(!form->panBottomLeft->isVisible());
        QVERIFY(form->tbtnStart->isEnabled());
        QVERIFY(!form->tbtnStop->isEnabled());
        QVERIFY(form->ltvTask->isEnabled());
        QVERIFY(!run()->IsConverting());
    }

    TestServices ts;
    ProgramFolder folder;
    QTemporaryDir in;
    QTemporaryDir out;
    std::unique_ptr<TMainForm> form;
    QString profileArguments;
};

// Takes every free file descriptor away for as long as it lives, so that no pipe can be made.
class DescriptorsExhausted
{
public:
    DescriptorsExhausted()
    {
        getrlimit(RLIMIT_NOFILE, &m_old);
        int highest = 0;
        for (const QString &name : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries))
            highest = std::max(highest, name.toInt());
        rlimit lowered = m_old;
        lowered.rlim_cur = static_cast<rlim_t>(highest + 16);
        setrlimit(RLIMIT_NOFILE, &lowered);
        for (int fd; (fd = ::open("/dev/null", O_RDONLY)) >= 0;)
            m_fds << fd;
    }
    ~DescriptorsExhausted()
    {
        for (int fd : m_fds)
            ::close(fd);
        setrlimit(RLIMIT_NOFILE, &m_old);
    }

private:
    rlimit m_old{};
    QList<int> m_fds;
};

} // namespace

class ConversionTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    // Pieces the run is built from.
    void taskOptions_data();
    void taskOptions();
    void progressTime_data();
    void progressTime();
    void progressPercent_data();
    void progressPercent();
    void outputPlan_data();
    void outputPlan();
    void temporaryOutputKeepsFolderAndExtension();

    // The run, with the fake transcoder.
    void outputFolderMissing();
    void progressSkipsTwoChunksAndStopEndsTheRun();
    void commandLinesAndArguments();
    void failureMarksTaskAndGoesOn();
    void unreadableLengthCountsMinusOne();
    void renameTakesNextFreeIndexAndOutputExtension();
    void inputIsNeverItsOwnOutput();
    void endOfRunActions_data();
    void endOfRunActions();
    void timerShowsElapsedAndRemaining();
    void stopWhileIdleDoesNothing();
    void stopBetweenTasksStopsTheNextTask();
    void startFailureReturnsToIdle();
    void pipeFailureReturnsToIdle();
    void argumentErrorLeavesTheWindowIdle();
    void closingTheWindowDuringARun();

    // The run with the real transcoder.
    void realBatch();
    void realStopInTheMiddle();
    void realShippedProfileThroughThePanel();
};

void ConversionTest::initTestCase()
{
    // Closing a main window in these tests must not end the test program.
    QApplication::setQuitOnLastWindowClosed(false);
}

void ConversionTest::taskOptions_data()
{
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("options");
    QTest::newRow("nothing changed") << "00:01:30.0" << "00:00:00.0" << "00:01:30.0" << "";
    QTest::newRow("start moved") << "00:01:30.0" << "00:00:10.5" << "00:01:19.5" << " -ss 00:00:10.5 -t 80";
    QTest::newRow("only end moved, half up to even") << "00:01:30.0" << "00:00:00.0" << "00:01:23.5" << " -t 84";
    QTest::newRow("half down to even") << "00:01:30.0" << "00:00:00.0" << "00:01:22.5" << " -t 82";
    QTest::newRow("below half") << "00:01:30.0" << "00:00:00.0" << "00:01:22.4" << " -t 82";
    QTest::newRow("start text passed unchanged") << "00:01:30.0" << "0:0:5" << "00:01:30.0" << " -ss 0:0:5";
    QTest::newRow("unreadable length") << "N/A" << "00:00:00.0" << "N/A" << "";
}

void ConversionTest::taskOptions()
{
    QFETCH(QString, length);
    QFETCH(QString, start);
    QFETCH(QString, clip);
    QFETCH(QString, options);
    ltvItemData r;
    r.StartTime = start;
    r.StartSec = TimeToSeconds(start);
    r.RangeStartSec = 0;
    r.LengthSec = TimeToSeconds(length);
    r.ClipLengthSec = TimeToSeconds(clip);
    QCOMPARE(ConversionTaskOptions(r), options);
}

void ConversionTest::progressTime_data()
{
    QTest::addColumn<QByteArray>("chunk");
    QTest::addColumn<double>("seconds"); // -1: none
    QTest::newRow("ffmpeg progress line")
        << QByteArray("frame=  720 fps=0.0 q=28.0 size=       0kB time=00:00:26.80 bitrate=   0.0kbits/s speed=53.2x    \r")
        << 26.8;
    QTest::newRow("plain seconds") << QByteArray("x time=3.00 y") << 3.0;
    QTest::newRow("largest of several lines")
        << QByteArray("size=1kB time=00:00:01.00 bitrate=1\rsize=2kB time=00:00:04.50 bitrate=1\rsize=2kB time=00:00:02.00 b\r")
        << 4.5;
    QTest::newRow("creation_time is metadata") << QByteArray("    creation_time   : 2023-01-02T03:04:05.000000Z\n") << -1.0;
    QTest::newRow("creation_time= is no field") << QByteArray("creation_time=00:00:09.00 \n") << -1.0;
    QTest::newRow("cut off at the chunk's end") << QByteArray("frame=1 time=00:00:03.00") << -1.0;
    QTest::newRow("not available") << QByteArray("frame=1 time=N/A bitrate=N/A\r") << -1.0;
    QTest::newRow("letter case counts") << QByteArray("Time=3.00 \r") << -1.0;
    QTest::newRow("negative start time") << QByteArray("time=-577014:32:22.77 bitrate=\r") << -1.0;
    QTest::newRow("line start") << QByteArray("time=00:01:00.00\n") << 60.0;
}

void ConversionTest::progressTime()
{
    QFETCH(QByteArray, chunk);
    QFETCH(double, seconds);
    const std::optional<double> found = ProgressTimeIn(chunk);
    if (seconds < 0) {
        QVERIFY(!found.has_value());
    } else {
        QVERIFY(found.has_value());
        QCOMPARE(*found, seconds);
    }
}

void ConversionTest::progressPercent_data()
{
    QTest::addColumn<double>("part");
    QTest::addColumn<double>("whole");
    QTest::addColumn<int>("percent");
    QTest::newRow("quarter") << 3.0 << 12.0 << 25;
    QTest::newRow("12.5 to even") << 3.0 << 24.0 << 12;
    QTest::newRow("13.5 to even") << 27.0 << 200.0 << 14;
    QTest::newRow("beyond the end held at 100") << 30.0 << 12.0 << 100;
    QTest::newRow("unknown length held at 0") << 3.0 << -1.0 << 0;
    QTest::newRow("no length") << 3.0 << 0.0 << 0;
}

void ConversionTest::progressPercent()
{
    QFETCH(double, part);
    QFETCH(double, whole);
    QFETCH(int, percent);
    QCOMPARE(ProgressPercent(part, whole), percent);
}

void ConversionTest::outputPlan_data()
{
    QTest::addColumn<QStringList>("existing"); // files in the output folder before the run
    QTest::addColumn<bool>("rename");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("inputName"); // "" for an input elsewhere
    QTest::addColumn<QString>("expected");
    QTest::newRow("free name") << QStringList() << true << 0 << "" << "clip.mp4";
    QTest::newRow("exists, overwrite") << QStringList{"clip.mp4"} << false << 2 << "" << "clip.mp4";
    QTest::newRow("exists, rename, row 3") << QStringList{"clip.mp4"} << true << 2 << "" << "clip_3.mp4";
    QTest::newRow("formed name exists too") << QStringList{"clip.mp4", "clip_3.mp4", "clip_4.mp4"} << true << 2 << ""
                                            << "clip_5.mp4";
    QTest::newRow("input itself, overwrite") << QStringList{"clip.mp4"} << false << 0 << "clip.mp4" << "clip_1.mp4";
    QTest::newRow("input itself, rename") << QStringList{"clip.mp4", "clip_1.mp4"} << true << 0 << "clip.mp4"
                                          << "clip_2.mp4";
    QTest::newRow("input named through a link") << QStringList{"real.mp4"} << false << 1 << "link:clip.mp4"
                                                << "clip_2.mp4";
}

void ConversionTest::outputPlan()
{
    QFETCH(QStringList, existing);
    QFETCH(bool, rename);
    QFETCH(int, row);
    QFETCH(QString, inputName);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    for (const QString &name : existing)
        WriteFile(folder + name, "existing " + name.toUtf8());
    QString input = QStringLiteral("/nowhere/clip.avi");
    if (inputName.startsWith(QLatin1String("link:"))) {
        // The output name is a link to the input file: one file under two names.
        QVERIFY(QFile::link(folder + QStringLiteral("real.mp4"), folder + inputName.mid(5)));
        input = folder + QStringLiteral("real.mp4");
    } else if (!inputName.isEmpty()) {
        // The same folder written another way.
        QVERIFY(QDir(folder).mkdir(QStringLiteral("sub")));
        input = folder + QStringLiteral("sub/../") + inputName;
    }
    const OutputPlan plan = PlanOutputPath(folder, QStringLiteral("clip"), QStringLiteral(".mp4"), input, row, rename);
    QCOMPARE(plan.path, folder + expected);
    QCOMPARE(plan.renamed, expected != QLatin1String("clip.mp4"));
    for (const QString &name : existing)
        QCOMPARE(ReadAll(folder + name), "existing " + name.toUtf8());
}

void ConversionTest::temporaryOutputKeepsFolderAndExtension()
{
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("my.clip.mp4"));
    const QString temporary = TemporaryOutputPath(output);
    QCOMPARE(QFileInfo(temporary).path(), dir.path());
    QCOMPARE(QFileInfo(temporary).suffix(), QStringLiteral("mp4"));
    QVERIFY(temporary != output);
    QVERIFY(!QFileInfo::exists(temporary));
    WriteFile(temporary, "taken");
    const QString second = TemporaryOutputPath(output);
    QVERIFY(second != temporary);
    QCOMPARE(QFileInfo(second).suffix(), QStringLiteral("mp4"));
}

void ConversionTest::outputFolderMissing()
{
    RunFixture f;
    f.addRow(f.input(QStringLiteral("a.avi")), QStringLiteral("00:00:05.0"));
    f.form->edtOutputdir->setText(f.outputFolder() + QStringLiteral("/gone"));
    QTest::mouseClick(f.form->tbtnStart, Qt::LeftButton);
    QCOMPARE(f.ts.messages.boxes.size(), 1);
    QCOMPARE(f.ts.messages.boxes[0].kind, QStringLiteral("information"));
    QCOMPARE(f.ts.messages.boxes[0].caption, QStringLiteral("Output path does not exist"));
    QCOMPARE(f.ts.messages.boxes[0].text, QStringLiteral("The output path does not exist. Please specify another one."));
    QVERIFY(f.form->edtOutputdir->hasFocus());
    QTest::qWait(50);
    QCOMPARE(f.status(0), QStringLiteral("OK"));
    QVERIFY(f.form->tbtnStart->isEnabled());
    QCOMPARE(f.run()->RunState, 0);
}

void ConversionTest::progressSkipsTwoChunksAndStopEndsTheRun()
{
    RunFixture f;
    // Two tasks of 12 s. The first two chunks would show 75% if they counted; the third says 3 s,
    // the fourth a smaller time; then the transcoder hangs until it is stopped.
    f.script("header=0\nchunks=4\ndelay_ms=250\nduration=00:00:12.00\nhang_input=first\n"
             "chunk1=frame=1 time=00:00:09.00 bitrate=1\\r\n"
             "chunk2=frame=2 time=10.00 bitrate=1\\r\n"
             "chunk3=frame=3 fps=0.0 time=3.00 bitrate=1\\r\n"
             "chunk4=frame=4 fps=0.0 time=00:00:02.00 bitrate=1\\r\n");
    f.addRow(f.input(QStringLiteral("first.avi")), QStringLiteral("00:00:12.0"));
    f.addRow(f.input(QStringLiteral("second.avi")), QStringLiteral("00:00:12.0"));
    QSignalSpy ended(f.run(), &TConversionRun::runEnded);
    QTest::mouseClick(f.form->tbtnStart, Qt::LeftButton);
    QVERIFY(f.form->panBottomLeft->isVisible());
    QVERIFY(!f.form->panBottomCenter->isVisible());
    QVERIFY(!f.form->tbtnStart->isEnabled());
    QVERIFY(f.form->tbtnStop->isEnabled());
    QVERIFY(f.form->timerTime->isActive());
    QCOMPARE(f.run()->TotalLength, 24.0);

    QTRY_COMPARE_WITH_TIMEOUT(f.run()->ChunkCount, 3, 10000);
    QCOMPARE(f.status(0), QStringLiteral("Converting"));
    QCOMPARE(f.form->labConvertingFile->text(), QStringLiteral("first.avi"));
    QCOMPARE(f.form->pgbCurrent->value(), 25);
    QCOMPARE(f.form->pgbTotal->value(), 12);
    QCOMPARE(f.form->labCurProgress->text(), QStringLiteral("25%"));
    QCOMPARE(f.form->labTotalProgress->text(), QStringLiteral("12%"));
    QTRY_COMPARE_WITH_TIMEOUT(f.run()->ChunkCount, 4, 10000);
    QCOMPARE(f.form->pgbCurrent->value(), 25);
    QCOMPARE(f.run()->TaskPosition, 3.0);

    const qint64 pid = f.pid();
    QVERIFY(pid > 0);
    const QString temporary = f.run()->TemporaryPath;
    QVERIFY(QFileInfo::exists(temporary));
    QTest::mouseClick(f.form->tbtnStop, Qt::LeftButton);
    QTest::mouseClick(f.form->tbtnStop, Qt::LeftButton); // a second press changes nothing
    QVERIFY(ProcessGone(pid));
    QVERIFY(ended.count() > 0 || ended.wait(5000));

    QCOMPARE(f.status(0), QStringLiteral("Stop"));
    QCOMPARE(f.status(1), QStringLiteral("OK"));
    QCOMPARE(f.starts().size(), 1);
    QCOMPARE(f.ts.messages.boxes.size(), 1);
    QCOMPARE(f.ts.messages.boxes[0].kind, QStringLiteral("information"));
    QCOMPARE(f.ts.messages.boxes[0].caption, QStringLiteral("Cancel"));
    QCOMPARE(f.ts.messages.boxes[0].text, QStringLiteral("The Coversion is canceled."));
    QVERIFY(!QFileInfo::exists(temporary));
    QVERIFY(!QFileInfo::exists(f.output(QStringLiteral("first.mp4"))));
    QVERIFY(TemporaryFilesIn(f.outputFolder()).isEmpty());
    f.verifyIdle();
    // The bars keep their last values.
    QCOMPARE(f.form->pgbCurrent->value(), 25);
}

void ConversionTest::commandLinesAndArguments()
{
    RunFixture f;
    f.script("delay_ms=0\nchunks=2");
    f.profileArguments = QStringLiteral(" -vcodec libx264 -s 320x240");
    const QString a = f.input(QStringLiteral("my clip é.avi"));
    const QString b = f.input(QStringLiteral("-b.avi"));
    f.addRow(a, QStringLiteral("00:00:05.5"), QStringLiteral("00:00:01.5"));
    f.addRow(b, QStringLiteral("00:00:05.5"));
    QStringList lines;
    connect(f.run(), &TConversionRun::taskFinished, this, [&](int) { lines << f.run()->CommandLine; });
    QVERIFY(f.startAndWait());

    const QString out = f.outputFolder() + QLatin1Char('/');
    QCOMPARE(lines, QStringList({QStringLiteral(" -y -i \"%1\" -vcodec libx264 -s 320x240 -ss 00:00:01.5 -t 4 \"%2\"")
                                     .arg(a, out + QStringLiteral("my clip é.mp4")),
                                 QStringLiteral(" -y -i \"%1\" -vcodec libx264 -s 320x240 \"%2\"")
                                     .arg(b, out + QStringLiteral("-b.mp4"))}));
    const QList<QStringList> starts = f.starts();
    QCOMPARE(starts.size(), 2);
    QCOMPARE(starts[0].mid(0, 9), QStringList({"-y", "-i", a, "-vcodec", "libx264", "-s", "320x240", "-ss", "00:00:01.5"}));
    QCOMPARE(starts[0].mid(9, 2), QStringList({"-t", "4"}));
    QCOMPARE(starts[1].mid(0, 7), QStringList({"-y", "-i", b, "-vcodec", "libx264", "-s", "320x240"}));
    QCOMPARE(starts[1].size(), 8);
    // The transcoder writes into a temporary file beside the output, with its extension.
    for (const QStringList &args : starts) {
        const QFileInfo temporary(args.last());
        QCOMPARE(temporary.path(), f.outputFolder());
        QCOMPARE(temporary.suffix(), QStringLiteral("mp4"));
        QVERIFY(!temporary.exists());
    }
    QCOMPARE(ReadAll(out + QStringLiteral("my clip é.mp4")), "FAKE-START\nFAKE-END " + a.toUtf8() + "\n");
    QVERIFY(QFileInfo::exists(out + QStringLiteral("-b.mp4")));
    QCOMPARE(f.status(0), QStringLiteral("Complete"));
    QCOMPARE(f.status(1), QStringLiteral("Complete"));
}

void ConversionTest::failureMarksTaskAndGoesOn()
{
    RunFixture f;
    f.script("delay_ms=0\nchunks=3\nfail_input=bad");
    f.addRow(f.input(QStringLiteral("one.avi")), QStringLiteral("00:00:05.0"));
    f.addRow(f.input(QStringLiteral("bad.avi")), QStringLiteral("00:00:05.0"));
    f.addRow(f.input(QStringLiteral("three.avi")), QStringLiteral("00:00:05.0"));
    WriteFile(f.output(QStringLiteral("bad.mp4")), "an older output");
    QVERIFY(f.startAndWait());

    QCOMPARE(f.status(0), QStringLiteral("Complete"));
    QCOMPARE(f.status(1), QStringLiteral("Failed"));
    QCOMPARE(f.status(2), QStringLiteral("Complete"));
    QCOMPARE(f.form->ltvTask->topLevelItem(1)->toolTip(0), QStringLiteral("bad: Invalid data found when processing input"));
    QCOMPARE(f.form->ltvTask->topLevelItem(0)->toolTip(0), QString());
    QCOMPARE(ReadAll(f.output(QStringLiteral("bad.mp4"))), QByteArray("an older output"));
    QVERIFY(QFileInfo::exists(f.output(QStringLiteral("three.mp4"))));
    QVERIFY(TemporaryFilesIn(f.outputFolder()).isEmpty());
    QCOMPARE(f.ts.messages.boxes.size(), 1);
    QCOMPARE(f.ts.messages.boxes[0].caption, QStringLiteral("Complete"));
    QCOMPARE(f.ts.messages.boxes[0].text, QStringLiteral("The coversion is completed, but 1 of 3 tasks failed."));
    QCOMPARE(f.form->pgbTotal->value(), 100);
    QCOMPARE(f.form->pgbCurrent->value(), 100);
    f.verifyIdle();

    // A later run starts every task again, and clears the old tool tip of a task that now works.
    f.script("delay_ms=0\nchunks=3");
    f.ts.messages.boxes.clear();
    QVERIFY(f.startAndWait());
    QCOMPARE(f.status(1), QStringLiteral("Complete"));
    QCOMPARE(f.form->ltvTask->topLevelItem(1)->toolTip(0), QString());
    QCOMPARE(f.ts.messages.boxes[0].text, QStringLiteral("The coversion is completed successfully."));
}

void ConversionTest::unreadableLengthCountsMinusOne()
{
    RunFixture f;
    f.script("delay_ms=0\nchunks=4\nduration=00:00:05.00");
    f.addRow(f.input(QStringLiteral("a.avi")), QStringLiteral("00:00:12.0"));
    f.addRow(f.input(QStringLiteral("b.avi")), QStringLiteral("N/A"));
    QStringList lines;
    connect(f.run(), &TConversionRun::taskFinished, this, [&](int) { lines << f.run()->CommandLine; });
    QVERIFY(f.startAndWait());
    QCOMPARE(f.run()->TotalLength, 11.0);
    QCOMPARE(f.status(1), QStringLiteral("Complete"));
    QVERIFY(!lines.value(1).contains(QStringLiteral(" -t ")));
    // Its own bar never moves, whatever times the transcoder reports.
    QCOMPARE(f.form->pgbCurrent->value(), 0);
    QCOMPARE(f.form->labCurProgress->text(), QStringLiteral("0%"));
}

void ConversionTest::renameTakesNextFreeIndexAndOutputExtension()
{
    RunFixture f;
    f.script("delay_ms=0\nchunks=1");
    f.form->SettingForm->rdbRename->setChecked(true);
    WriteFile(f.output(QStringLiteral("clip.mp4")), "keep 1");
    WriteFile(f.output(QStringLiteral("clip_2.mp4")), "keep 2");
    f.addRow(f.input(QStringLiteral("other.avi")), QStringLiteral("00:00:05.0"));
    // Added before any profile was shown: no extension of its own.
    f.addRow(f.input(QStringLiteral("clip.avi")), QStringLiteral("00:00:05.0"), QStringLiteral("00:00:00.0"), QString(),
             QString(), QString());
    QVERIFY(f.startAndWait());
    QCOMPARE(ReadAll(f.output(QStringLiteral("clip.mp4"))), QByteArray("keep 1"));
    QCOMPARE(ReadAll(f.output(QStringLiteral("clip_2.mp4"))), QByteArray("keep 2"));
    QVERIFY(ReadAll(f.output(QStringLiteral("clip_3.mp4"))).startsWith("FAKE-START"));
    QCOMPARE(f.status(1), QStringLiteral("Complete"));

    // Overwriting chosen: the existing file is replaced, and only when the transcoder succeeded.
    f.form->SettingForm->rdbOverWrite->setChecked(true);
    QVERIFY(f.startAndWait());
    QVERIFY(ReadAll(f.output(QStringLiteral("clip.mp4"))).startsWith("FAKE-START"));
}

void ConversionTest::inputIsNeverItsOwnOutput()
{
    RunFixture f;
    f.script("delay_ms=0\nchunks=1");
    const QString input = f.output(QStringLiteral("clip.mp4"));
    WriteFile(input, "the input");
    QVERIFY(QDir(f.outputFolder()).mkdir(QStringLiteral("sub")));
    // The output folder written so that its text differs from the input's folder.
    f.form->edtOutputdir->setText(f.outputFolder() + QStringLiteral("/sub/.."));
    f.addRow(input, QStringLiteral("00:00:05.0"));
    QVERIFY(f.startAndWait());
    QCOMPARE(ReadAll(input), QByteArray("the input"));
    QVERIFY(QFileInfo::exists(f.output(QStringLiteral("clip_1.mp4"))));
    QCOMPARE(f.starts().size(), 1);
    QVERIFY(!SameFile(f.starts()[0].last(), input));
}

void ConversionTest::endOfRunActions_data()
{
    QTest::addColumn<bool>("openDir");
    QTest::addColumn<bool>("exitChosen");
    QTest::addColumn<bool>("turnOff");
    QTest::addColumn<bool>("message");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("closed");
    QTest::newRow("message only") << false << false << false << true << false << false;
    QTest::newRow("message, then open") << true << false << false << true << true << false;
    QTest::newRow("exit wins over open") << true << true << false << false << false << true;
    QTest::newRow("turn off wins") << true << true << true << false << false << true;
}

void ConversionTest::endOfRunActions()
{
    QFETCH(bool, openDir);
    QFETCH(bool, exitChosen);
    QFETCH(bool, turnOff);
    QFETCH(bool, message);
    QFETCH(bool, opened);
    QFETCH(bool, closed);
    RunFixture f;
    f.script("delay_ms=0\nchunks=1");
    f.form->SettingForm->chkOpenDir->setChecked(openDir);
    f.form->SettingForm->chkExit->setChecked(exitChosen);
    f.form->SettingForm->chkTurnoff->setChecked(turnOff);
    f.addRow(f.input(QStringLiteral("a.avi")), QStringLiteral("00:00:05.0"));
    QVERIFY(f.startAndWait());
    QCOMPARE(f.ts.messages.boxes.size(), message ? 1 : 0);
    if (message) {
        QCOMPARE(f.ts.messages.boxes[0].kind, QStringLiteral("information"));
        QCOMPARE(f.ts.messages.boxes[0].caption, QStringLiteral("Complete"));
        QCOMPARE(f.ts.messages.boxes[0].text, QStringLiteral("The coversion is completed successfully."));
        f.verifyIdle();
    }
    QCOMPARE(f.ts.desktop.opened, opened ? QStringList{f.outputFolder()} : QStringList());
    QCOMPARE(f.ts.power.requests, turnOff ? 1 : 0);
    QCOMPARE(f.form->isVisible(), !closed);
    if (closed) // closing saved the preferences
        QVERIFY(f.folder.read(QStringLiteral("Preferences.ini")).contains("Output Path="));
}

void ConversionTest::timerShowsElapsedAndRemaining()
{
    RunFixture f;
    TConversionRun *run = f.run();
    run->ElapsedSeconds = 29;
    f.form->pgbTotal->setValue(25);
    f.form->timerTimeTimer();
    QCOMPARE(run->ElapsedSeconds, 30);
    QCOMPARE(run->RemainingSeconds, 90);
    QCOMPARE(f.form->labElapsed->text(), QStringLiteral("00:00:30"));
    QCOMPARE(f.form->labRemaining->text(), QStringLiteral("00:01:30"));
    // With the total at 0% the earlier estimate stays.
    f.form->pgbTotal->setValue(0);
    f.form->timerTimeTimer();
    QCOMPARE(run->RemainingSeconds, 90);
    run->RemainingSeconds = 0;
    f.form->timerTimeTimer();
    QCOMPARE(f.form->labRemaining->text(), QStringLiteral("00:00:00"));

    // The timer drives the tick during a run.
    f.script("hang=1\ndelay_ms=0\nchunks=1");
    f.addRow(f.input(QStringLiteral("a.avi")), QStringLiteral("00:00:05.0"));
    QTest::mouseClick(f.form->tbtnStart, Qt::LeftButton);
    QCOMPARE(run->ElapsedSeconds, 0);
    QTRY_COMPARE_WITH_TIMEOUT(f.form->labElapsed->text(), QStringLiteral("00:00:01"), 3000);
    QTest::mouseClick(f.form->tbtnStop, Qt::LeftButton);
    QTRY_COMPARE(run->RunState, 0);
}

void ConversionTest::stopWhileIdleDoesNothing()
{
    RunFixture f;
    f.run()->tbtnStopClick();
    QCOMPARE(f.run()->RunState, 0);
    QVERIFY(f.ts.messages.boxes.isEmpty());
}

void ConversionTest::stopBetweenTasksStopsTheNextTask()
{
    RunFixture f;
    f.script("delay_ms=0\nchunks=1");
    f.addRow(f.input(QStringLiteral("a.avi")), QStringLiteral("00:00:05.0"));
    f.addRow(f.input(QStringLiteral("b.avi")), QStringLiteral("00:00:05.0"));
    f.addRow(f.input(QStringLiteral("c.avi")), QStringLiteral("00:00:05.0"));
    // Stop arrives after the first transcoder has ended, before the second task starts.
    connect(f.run(), &TConversionRun::taskFinished, this, [&](int row) {
        if (row == 0)
            QTest::mouseClick(f.form->tbtnStop, Qt::LeftButton);
    });
    QVERIFY(f.startAndWait());
    QCOMPARE(f.status(0), QStringLiteral("Complete"));
    QCOMPARE(f.status(1), QStringLiteral("Stop"));
    QCOMPARE(f.status(2), QStringLiteral("OK"));
    QCOMPARE(f.starts().size(), 1);
    QVERIFY(!QFileInfo::exists(f.output(QStringLiteral("b.mp4"))));
    QCOMPARE(f.ts.messages.boxes.size(), 1);
    QCOMPARE(f.ts.messages.boxes[0].caption, QStringLiteral("Cancel"));
    QVERIFY(f.ts.desktop.opened.isEmpty());
    f.verifyIdle();
}

void ConversionTest::startFailureReturnsToIdle()
{
    RunFixture f(ProgramFolder::Transcoder::None);
    f.addRow(f.input(QStringLiteral("a.avi")), QStringLiteral("00:00:05.0"));
    f.addRow(f.input(QStringLiteral("b.avi")), QStringLiteral("00:00:05.0"));
    QVERIFY(f.startAndWait());
    QCOMPARE(f.ts.messages.boxes.size(), 1);
    QCOMPARE(f.ts.messages.boxes[0].kind, QStringLiteral("plain"));
    QCOMPARE(f.ts.messages.boxes[0].text, QStringLiteral("Error on CreateProcess()"));
    QCOMPARE(f.status(0), QStringLiteral("Failed"));
    QCOMPARE(f.status(1), QStringLiteral("OK"));
    f.verifyIdle();
}

void ConversionTest::pipeFailureReturnsToIdle()
{
    RunFixture f;
    f.script("delay_ms=0\nchunks=1");
    f.addRow(f.input(QStringLiteral("a.avi")), QStringLiteral("00:00:05.0"));
    QSignalSpy ended(f.run(), &TConversionRun::runEnded);
    QTest::mouseClick(f.form->tbtnStart, Qt::LeftButton);
    {
        // The task starts from the event loop, while no descriptor is free.
        DescriptorsExhausted exhausted;
        QVERIFY(ended.wait(5000));
    }
    QCOMPARE(f.ts.messages.boxes.size(), 1);
    QCOMPARE(f.ts.messages.boxes[0].kind, QStringLiteral("plain"));
    QCOMPARE(f.ts.messages.boxes[0].text, QStringLiteral("Error On CreatePipe()"));
    f.verifyIdle();
    // With descriptors back, the same task converts.
    f.ts.messages.boxes.clear();
    QVERIFY(f.startAndWait());
    QCOMPARE(f.status(0), QStringLiteral("Complete"));
}

void ConversionTest::argumentErrorLeavesTheWindowIdle()
{
    RunFixture f;
    f.script("delay_ms=0\nchunks=1");
    f.addRow(f.input(QStringLiteral("a.avi")), QStringLiteral("00:00:05.0"));
    // A profile whose value list is shorter than its caption list.
    f.run()->BuildProfileArguments = [](const QString &) -> QString { throw EListError(3); };
    QTest::mouseClick(f.form->tbtnStart, Qt::LeftButton);
    QTest::qWait(100);
    QCOMPARE(f.ts.messages.errors(), QStringList{QStringLiteral("List index out of bounds (3)")});
    QVERIFY(f.starts().isEmpty());
    QCOMPARE(f.status(0), QStringLiteral("OK"));
    f.verifyIdle();
    QVERIFY(f.form->gpbProfile->isEnabled());
    QVERIFY(f.form->panSplitter->isEnabled());
    QVERIFY(f.form->tbtnAddFile->isEnabled());
    QVERIFY(f.form->tbtnSetting->isEnabled());
}

void ConversionTest::closingTheWindowDuringARun()
{
    RunFixture f;
    f.script("hang=1\ndelay_ms=0\nchunks=2");
    f.addRow(f.input(QStringLiteral("a.avi")), QStringLiteral("00:00:05.0"));
    f.addRow(f.input(QStringLiteral("b.avi")), QStringLiteral("00:00:05.0"));
    QTest::mouseClick(f.form->tbtnStart, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(f.run()->IsConverting() && f.pid() > 0 && QFileInfo::exists(f.run()->TemporaryPath), 5000);
    const qint64 pid = f.pid();
    f.form->close();
    QVERIFY(ProcessGone(pid));
    QCOMPARE(f.status(0), QStringLiteral("Stop"));
    QCOMPARE(f.status(1), QStringLiteral("OK"));
    QVERIFY(TemporaryFilesIn(f.outputFolder()).isEmpty());
    QVERIFY(!QFileInfo::exists(f.output(QStringLiteral("a.mp4"))));
    QVERIFY(f.folder.read(QStringLiteral("Preferences.ini")).contains("Output Path="));
    QTest::qWait(100);
    QCOMPARE(f.starts().size(), 1); // no later task started
    QCOMPARE(f.run()->RunState, 0);
    QVERIFY(f.ts.messages.boxes.isEmpty());
}

void ConversionTest::realBatch()
{
    RunFixture f(ProgramFolder::Transcoder::Real);
    f.profileArguments = QStringLiteral(" -c:v libx264 -preset ultrafast -pix_fmt yuv420p");
    f.form->SettingForm->rdbRename->setChecked(true);
    const QString cut = f.input(QStringLiteral("cut.mp4"));
    const QString odd = f.input(QStringLiteral("odd.mkv"));
    const QString named = f.input(QStringLiteral("named.mp4"));
    const QString kept = f.input(QStringLiteral("kept.mp4"));
    QVERIFY(MakeClip(cut, 4.0));
    QVERIFY(MakeClip(odd, 2.0, QStringLiteral("321x241"), {QStringLiteral("-c:v"), QStringLiteral("ffv1")}, false));
    QVERIFY(MakeClip(named, 2.0));
    QVERIFY(MakeClip(kept, 2.0));
    WriteFile(f.output(QStringLiteral("kept.mp4")), "not to be touched");

    f.addRow(cut, QStringLiteral("00:00:04.00"), QStringLiteral("00:00:01.0"), QStringLiteral("00:00:03.0"));
    f.addRow(odd, QStringLiteral("00:00:02.00"));
    f.addRow(named, QStringLiteral("00:00:02.00"), QStringLiteral("00:00:00.0"), QString(), QStringLiteral("new name"));
    f.addRow(kept, QStringLiteral("00:00:02.00"));
    QVERIFY(f.startAndWait(120000));

    QCOMPARE(f.status(0), QStringLiteral("Complete"));
    QCOMPARE(f.status(1), QStringLiteral("Failed"));
    QCOMPARE(f.status(2), QStringLiteral("Complete"));
    QCOMPARE(f.status(3), QStringLiteral("Complete"));
    // The line that says what went wrong, not ffmpeg's closing summary.
    QVERIFY2(f.form->ltvTask->topLevelItem(1)->toolTip(3).startsWith(QStringLiteral("Error initializing output stream")),
             qPrintable(f.form->ltvTask->topLevelItem(1)->toolTip(3)));
    QVERIFY(qAbs(MediaDuration(f.output(QStringLiteral("cut.mp4"))) - 2.0) < 0.15);
    QVERIFY(qAbs(MediaDuration(f.output(QStringLiteral("new name.mp4"))) - 2.0) < 0.15);
    QVERIFY(qAbs(MediaDuration(f.output(QStringLiteral("kept_4.mp4"))) - 2.0) < 0.15);
    QCOMPARE(ReadAll(f.output(QStringLiteral("kept.mp4"))), QByteArray("not to be touched"));
    QVERIFY(!QFileInfo::exists(f.output(QStringLiteral("odd.mp4"))));
    QVERIFY(TemporaryFilesIn(f.outputFolder()).isEmpty());
    QCOMPARE(f.form->pgbCurrent->value(), 100);
    QCOMPARE(f.form->pgbTotal->value(), 100);
    QCOMPARE(f.form->labTotalProgress->text(), QStringLiteral("100%"));
    QCOMPARE(f.ts.messages.boxes.size(), 1);
    QCOMPARE(f.ts.messages.boxes[0].text, QStringLiteral("The coversion is completed, but 1 of 4 tasks failed."));
    f.verifyIdle();
}

void ConversionTest::realStopInTheMiddle()
{
    RunFixture f(ProgramFolder::Transcoder::Real);
    f.profileArguments = QStringLiteral(" -c:v libx264 -preset veryslow");
    const QString longClip = f.input(QStringLiteral("long.mp4"));
    const QString later = f.input(QStringLiteral("later.mp4"));
    QVERIFY(MakeClip(longClip, 30.0, QStringLiteral("640x480")));
    QVERIFY(MakeClip(later, 1.0));
    f.addRow(longClip, QStringLiteral("00:00:30.00"));
    f.addRow(later, QStringLiteral("00:00:01.00"));
    QSignalSpy ended(f.run(), &TConversionRun::runEnded);
    QTest::mouseClick(f.form->tbtnStart, Qt::LeftButton);
    // Progress arrives from ffmpeg's own "time=" lines.
    QTRY_VERIFY_WITH_TIMEOUT(f.form->pgbCurrent->value() > 0, 30000);
    QVERIFY(f.form->pgbTotal->value() > 0);
    const qint64 pid = f.run()->Transcoder()->processId();
    QVERIFY(QFileInfo::exists(f.run()->TemporaryPath));
    QTest::mouseClick(f.form->tbtnStop, Qt::LeftButton);
    QVERIFY(ProcessGone(pid));
    QVERIFY(ended.count() > 0 || ended.wait(5000));
    QCOMPARE(f.status(0), QStringLiteral("Stop"));
    QCOMPARE(f.status(1), QStringLiteral("OK"));
    QVERIFY(!QFileInfo::exists(f.output(QStringLiteral("long.mp4"))));
    QVERIFY(TemporaryFilesIn(f.outputFolder()).isEmpty());
    QCOMPARE(f.ts.messages.boxes.size(), 1);
    QCOMPARE(f.ts.messages.boxes[0].caption, QStringLiteral("Cancel"));
    f.verifyIdle();
}

void ConversionTest::realShippedProfileThroughThePanel()
{
    RunFixture f(ProgramFolder::Transcoder::Real, true);
    const int index = f.form->cmbProfile->findText(QStringLiteral("MKV - H.264 + AAC"));
    QVERIFY(index >= 0);
    f.form->cmbProfile->setCurrentIndex(index);
    f.form->cmbProfileChange();
    QCOMPARE(f.form->OutputExtension, QStringLiteral(".mkv"));
    const QString clip = f.input(QStringLiteral("clip.avi"));
    QVERIFY(MakeClip(clip, 1.0, QStringLiteral("320x240"), {QStringLiteral("-c:v"), QStringLiteral("mpeg4")}));
    f.addRow(clip, QStringLiteral("00:00:01.00"));
    QVERIFY(f.startAndWait(60000));
    QCOMPARE(f.status(0), QStringLiteral("Complete"));
    QVERIFY(f.run()->ProfileArguments.contains(QStringLiteral(" -c:v ")));
    QVERIFY(f.run()->CommandLine.endsWith(QStringLiteral("clip.mkv\"")));
    QVERIFY(qAbs(MediaDuration(f.output(QStringLiteral("clip.mkv"))) - 1.0) < 0.15);
}

TESSIVO_TEST_MAIN(ConversionTest)
#include "tst_conversion.moc"
