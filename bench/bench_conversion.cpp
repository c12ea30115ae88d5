// Conversion benchmarks with the real ffmpeg:
//  1. a batch of five clips through the program against the same ffmpeg command lines run one
//     after another from a shell (ratio; goal 1.02 or less);
//  2. Stop: from the click on Stop to the transcoder's end (goal 100 ms or less);
//  3. the longest stall of the window's event loop during a run (goal 50 ms or less).
// Usage: bench_conversion [rounds]   (ffmpeg from PATH or TESSIVO_FFMPEG)

#include "app/TApplication.h"
#include "app/TMainForm.h"
#include "convert/TConversionRun.h"
#include "convert/TranscoderCommand.h"
#include "convert/TranscoderProcess.h"
#include "bench/QuietServices.h"
#include "platform/Services.h"
#include "settings/TSettingForm.h"
#include "tasks/TaskRecordIO.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>

namespace {


QString Ffmpeg()
{
    const QString env = qEnvironmentVariable("TESSIVO_FFMPEG");
    return env.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("ffmpeg")) : env;
}

bool MakeClip(const QString &path, int seconds, const QString &size)
{
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(Ffmpeg(), {"-v", "error", "-y", "-f", "lavfi", "-i",
                       QStringLiteral("testsrc=size=%1:rate=25:duration=%2").arg(size).arg(seconds), "-f", "lavfi", "-i",
                       QStringLiteral("sine=frequency=440:duration=%1").arg(seconds), "-shortest", "-c:v", "libx264",
                       "-preset", "ultrafast", path});
    return p.waitForFinished(120000) && p.exitCode() == 0;
}

QString ShellQuoted(const QString &word)
{
    QString quoted = word;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

double Median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

struct Bench
{
    QuietMessages messages;
    NoDialogs dialogs;
    NoDesktop desktop;
    NoPowerOff power;
    Services services{messages, dialogs, desktop, power};
    QTemporaryDir program;
    QTemporaryDir work;
    std::unique_ptr<TMainForm> form;
    QString profileArguments = QStringLiteral(" -c:v libx264 -preset ultrafast");

    Bench()
    {
        QDir(program.path()).mkpath(QStringLiteral("Profiles"));
        QFile::link(Ffmpeg(), program.filePath(QStringLiteral("wmaspi.dll")));
        form = std::make_unique<TMainForm>(program.path() + QLatin1Char('/'), services, QStringList());
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            std::fprintf(stderr, "the window was not shown\n");
        QDir(work.path()).mkpath(QStringLiteral("out"));
        form->edtOutputdir->setText(work.filePath(QStringLiteral("out")));
        form->OutputExtension = QStringLiteral(".mp4");
        form->SettingForm->chkOpenDir->setChecked(false);
        form->ConversionRun->BuildProfileArguments = [this](const QString &) { return profileArguments; };
    }

    void setRows(const QStringList &inputs, const QString &length)
    {
        form->ltvTask->clear();
        for (const QString &input : inputs) {
            ltvItemData r;
            r.InputPath = input;
            r.LengthText = r.RangeEnd = r.ClipLength = r.EndTime = length;
            r.RangeStart = r.StartTime = QStringLiteral("00:00:00.0");
            r.Status = QStringLiteral("OK");
            r.OutName = QFileInfo(input).completeBaseName();
            r.OutExt = QStringLiteral(".mp4");
            auto *item = new QTreeWidgetItem;
            WriteTaskItem(item, r);
            form->ltvTask->addTopLevelItem(item);
        }
        form->SetListCommandsEnabled(true);
    }

    // Runs the batch through the Start button; returns the wall time and the longest stall.
    std::pair<double, double> runBatch()
    {
        QSignalSpy ended(form->ConversionRun, &TConversionRun::runEnded);
        QElapsedTimer gap;
        double longest = 0;
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        probe.setInterval(5);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            longest = std::max(longest, gap.nsecsElapsed() / 1e6 - 5.0);
            gap.restart();
        });
        QElapsedTimer clock;
        clock.start();
        gap.start();
        probe.start();
        QTest::mouseClick(form->tbtnStart, Qt::LeftButton);
        if (ended.isEmpty())
            ended.wait(600000);
        const double wall = clock.nsecsElapsed() / 1e6;
        probe.stop();
        return {wall, longest};
    }

    // The same command lines, one after another, from a shell.
    double runShell(const QStringList &inputs)
    {
        QString script;
        for (const QString &input : inputs) {
            const QString output = work.filePath(QStringLiteral("out/shell-") + QFileInfo(input).completeBaseName()
                                                 + QStringLiteral(".mp4"));
            const TranscoderCommand command = ConversionCommand(input, profileArguments, QString(), output);
            QStringList words{ShellQuoted(Ffmpeg())};
            for (const QString &a : command.arguments)
                words << ShellQuoted(a);
            script += words.join(QLatin1Char(' ')) + QStringLiteral(" </dev/null 2>/dev/null\n");
        }
        QProcess shell;
        QElapsedTimer clock;
        clock.start();
        shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
        shell.waitForFinished(600000);
        return clock.nsecsElapsed() / 1e6;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QuietMessages appMessages;
    TApplication app(argc, argv, appMessages);
    QApplication::setQuitOnLastWindowClosed(false);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    Bench bench;
    QStringList clips;
    for (int i = 1; i <= 5; ++i) {
        const QString clip = bench.work.filePath(QStringLiteral("clip%1.mp4").arg(i));
        if (!MakeClip(clip, 6, QStringLiteral("640x480"))) {
            std::fprintf(stderr, "could not make the clips with ffmpeg\n");
            return 1;
        }
        clips << clip;
    }

    // 1 and 3: the batch, alternating with the shell so that both see the same machine load.
    QList<double> program, shell, stalls;
    bench.runShell(clips); // warm the caches
    for (int round = 0; round < rounds; ++round) {
        bench.setRows(clips, QStringLiteral("00:00:06.00"));
        const auto [wall, stall] = bench.runBatch();
        program << wall;
        stalls << stall;
        shell << bench.runShell(clips);
        std::printf("round %d: program %.0f ms, shell %.0f ms, longest stall %.1f ms\n", round + 1, wall,
                    shell.last(), stall);
    }
    const double ratio = Median(program) / Median(shell);
    std::printf("batch of 5 clips: program %.0f ms, shell %.0f ms (medians), ratio %.3f (goal <= 1.02)\n",
                Median(program), Median(shell), ratio);
    std::printf("longest event-loop stall during a run: %.1f ms (worst of %d runs; goal <= 50)\n",
                *std::max_element(stalls.begin(), stalls.end()), int(stalls.size()));

    // 2: Stop latency on a slow encode.
    bench.profileArguments = QStringLiteral(" -c:v libx264 -preset veryslow");
    const QString longClip = bench.work.filePath(QStringLiteral("long.mp4"));
    MakeClip(longClip, 30, QStringLiteral("640x480"));
    QList<double> latencies;
    for (int round = 0; round < 5; ++round) {
        bench.setRows({longClip}, QStringLiteral("00:00:30.00"));
        QSignalSpy ended(bench.form->ConversionRun, &TConversionRun::runEnded);
        QTest::mouseClick(bench.form->tbtnStart, Qt::LeftButton);
        QElapsedTimer waited;
        waited.start();
        while ((!bench.form->ConversionRun->Transcoder() || bench.form->ConversionRun->ChunkCount < 3)
               && waited.elapsed() < 30000)
            QTest::qWait(5);
        if (!bench.form->ConversionRun->Transcoder()) {
            std::fprintf(stderr, "the transcoder ended before Stop\n");
            return 1;
        }
        const qint64 pid = bench.form->ConversionRun->Transcoder()->processId();
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(bench.form->tbtnStop, Qt::LeftButton);
        while (QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)) && clock.elapsed() < 5000)
            QThread::usleep(100);
        latencies << clock.nsecsElapsed() / 1e6;
        if (ended.isEmpty())
            ended.wait(5000);
    }
    std::printf("stop latency, click to transcoder gone: median %.1f ms, worst %.1f ms (goal <= 100)\n",
                Median(latencies), *std::max_element(latencies.begin(), latencies.end()));
    return 0;
}
