// Task list benchmark.
//  (a) Adding 200 clips through the real ffmpeg, against running "ffmpeg -i" on each of them one
//      after another from a shell; and the longest stall of the event loop during the add.
//  (b) 10,000 rows (added without probing): the add, Remove of 5,000 selected rows, Move Up of a
//      block of 1,000, Clear; and the peak resident memory after them.
// Usage: bench_tasklist [clips]   (runs in the offscreen platform unless told otherwise)

#include "app/TApplication.h"
#include "app/TMainForm.h"
#include "bench/QuietServices.h"
#include "platform/Services.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QItemSelection>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include <sys/resource.h>

#include <cstdio>

namespace {


long PeakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QString MakeProgramFolder(const QTemporaryDir &dir, const QString &transcoder)
{
    QDir(dir.path()).mkpath(QStringLiteral("Profiles"));
    if (!transcoder.isEmpty())
        QFile::link(transcoder, dir.filePath(QStringLiteral("wmaspi.dll")));
    return dir.path() + QDir::separator();
}

double Ms(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// Selects rows [first, last] of the list in one go.
void SelectRows(QTreeWidget *list, const QList<std::pair<int, int>> &ranges)
{
    QItemSelection selection;
    for (const auto &[first, last] : ranges)
        selection.select(list->model()->index(first, 0), list->model()->index(last, list->columnCount() - 1));
    list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void BenchManyRows(Services &services)
{
    QTemporaryDir dir;
    TMainForm form(MakeProgramFolder(dir, QString()), services, {});
    form.show();
    QCoreApplication::processEvents();
    QTreeWidget *list = form.ltvTask;

    QStringList paths;
    for (int i = 0; i < 10000; ++i)
        paths << QStringLiteral("/videos/holiday/clip%1.avi").arg(i, 5, 10, QLatin1Char('0'));

    QElapsedTimer t;
    t.start();
    form.AddTaskFiles(paths);
    form.SetListCommandsEnabled(true);
    QCoreApplication::processEvents();
    const double add = Ms(t);

    // Every other row: the selection in its most scattered form.
    QList<std::pair<int, int>> everyOther;
    for (int i = 0; i < 10000; i += 2)
        everyOther.append({i, i});
    SelectRows(list, everyOther);
    t.start();
    form.tbtnRemoveClick();
    QCoreApplication::processEvents();
    const double remove = Ms(t);
    const int left = list->topLevelItemCount();

    // Back to 10,000 rows, then a block of 1,000 in the middle.
    QStringList more;
    for (int i = 0; i < 5000; ++i)
        more << QStringLiteral("/videos/more/clip%1.avi").arg(i, 5, 10, QLatin1Char('0'));
    form.AddTaskFiles(more);
    SelectRows(list, {{4000, 4999}});
    t.start();
    form.tbtnUpClick();
    QCoreApplication::processEvents();
    const double moveUp = Ms(t);

    t.start();
    form.tbtnDownClick();
    QCoreApplication::processEvents();
    const double moveDown = Ms(t);

    const int rowsBeforeClear = list->topLevelItemCount();
    t.start();
    form.tbtnClearClick();
    QCoreApplication::processEvents();
    const double clear = Ms(t);

    std::printf("(b) 10,000 rows without probing (goal < 1000 ms each, < 100 MB):\n");
    std::printf("    add 10,000 rows          %8.1f ms\n", add);
    std::printf("    Remove 5,000 selected    %8.1f ms  (every other row; %d left)\n", remove, left);
    std::printf("    Move Up 1,000 block      %8.1f ms\n", moveUp);
    std::printf("    Move Down 1,000 block    %8.1f ms\n", moveDown);
    std::printf("    Clear %d rows         %8.1f ms\n", rowsBeforeClear, clear);
    std::printf("    peak resident memory     %8.1f MB\n", double(PeakRssKb()) / 1024.0);
}

void BenchProbing(Services &services, int clips)
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty()) {
        std::printf("(a) skipped: no ffmpeg\n");
        return;
    }
    QTemporaryDir clipDir;
    const QString first = clipDir.filePath(QStringLiteral("clip000.mp4"));
    QProcess make;
    make.setStandardInputFile(QProcess::nullDevice());
    make.start(ffmpeg, {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=3", "-f",
                        "lavfi", "-i", "sine=duration=3", "-shortest", first});
    if (!make.waitForFinished(60000) || make.exitCode() != 0) {
        std::printf("(a) skipped: clip could not be made\n");
        return;
    }
    QStringList files{first};
    for (int i = 1; i < clips; ++i) {
        const QString f = clipDir.filePath(QStringLiteral("clip%1.mp4").arg(i, 3, 10, QLatin1Char('0')));
        QFile::copy(first, f);
        files << f;
    }

    // Two rounds, each half the clips one after another from a shell and the other half through
    // the task list, so that a change of the machine's load hits both alike.
    QTemporaryDir dir;
    TMainForm form(MakeProgramFolder(dir, ffmpeg), services, {});
    form.show();
    QCoreApplication::processEvents();

    // The event loop's longest gap while the add runs.
    QElapsedTimer sinceTick;
    double longestStall = 0;
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longestStall = std::max(longestStall, Ms(sinceTick));
        sinceTick.start();
    });

    double sequential = 0;
    double added = 0;
    const qsizetype half = files.size() / 2;
    const QStringList halves[2] = {files.mid(0, half), files.mid(half)};
    QElapsedTimer t;
    for (int round = 0; round < 2; ++round) {
        QProcess shell;
        shell.setStandardInputFile(QProcess::nullDevice());
        QStringList args{QStringLiteral("-c"),
                         QStringLiteral("for f in \"$@\"; do \"%1\" -i \"$f\" 2>/dev/null; done").arg(ffmpeg),
                         QStringLiteral("sh")};
        args << halves[round];
        t.start();
        shell.start(QStringLiteral("/bin/sh"), args);
        shell.waitForFinished(-1);
        sequential += Ms(t);

        tick.start();
        sinceTick.start();
        t.start();
        form.AddTaskFiles(halves[1 - round]);
        added += Ms(t);
        // The stall that ends with the add's return counts too.
        longestStall = std::max(longestStall, Ms(sinceTick));
        tick.stop();
    }

    std::printf("(a) %d clips through ffmpeg, %d at once:\n", clips, QThread::idealThreadCount());
    std::printf("    one after another (sh)   %8.0f ms\n", sequential);
    std::printf("    task list add            %8.0f ms  (%d rows)\n", added, form.ltvTask->topLevelItemCount());
    std::printf("    ratio                    %8.2f     (goal <= 0.55 on two cores)\n", added / sequential);
    std::printf("    longest event-loop stall %8.1f ms  (goal <= 50 ms)\n", longestStall);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QuietMessages messages;
    NoDialogs dialogs;
    NoDesktop desktop;
    NoPowerOff power;
    Services services{messages, dialogs, desktop, power};
    TApplication app(argc, argv, messages);
    const int clips = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200;

    BenchManyRows(services);
    BenchProbing(services, clips);
    return 0;
}
