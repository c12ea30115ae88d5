#include "app/TMainForm.h"
#include "tasks/ProbeReport.h"
#include "tasks/TaskAdder.h"
#include "tasks/TaskInputNames.h"
#include "tasks/TaskRecordIO.h"
#include "tasks/TimeText.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/TestApp.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>

#include <memory>

#include <sys/stat.h>

namespace {

QString Canned(const QString &path, const QString &middle)
{
    return QStringLiteral("ffmpeg version 5.1 Copyright (c) 2000-2022 the FFmpeg developers\n"
                          "  configuration: --enable-libx264, --enable-gpl\n"
                          "Input #0, mov,mp4,m4a,3gp,3g2,mj2, from '%1':\n")
               .arg(path)
        + middle;
}

} // namespace

class TestAddInputs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void names_data();
    void names();
    void reportParsing_data();
    void reportParsing();

    void probesRealFiles_data();
    void probesRealFiles();
    void addFilesOrderAndDuplicates();
    void addFilesCancelledSelectsSingleRow();
    void folderAddsSupportedFilesSorted();
    void folderListsRegularFilesOnly();
    void commandLine();
    void commandLineListFile();
    void unreadableListFileIsReported();
    void dropFolderAndUnsupportedFile();
    void dropIgnoredWhileListDisabled();
    void dropTakesLongPathsWhole();
    void transcoderMissingStillAddsRows();
    void cancelKeepsRowsAdded();

private:
    std::unique_ptr<TMainForm> MakeForm(const ProgramFolder &folder, TestServices &ts, const QStringList &args = {})
    {
        auto form = std::make_unique<TMainForm>(folder.path(), ts.services, args);
        return form;
    }
    static QStringList Captions(const TMainForm &form)
    {
        QStringList out;
        for (int i = 0; i < form.ltvTask->topLevelItemCount(); ++i)
            out << form.ltvTask->topLevelItem(i)->text(0);
        return out;
    }
    static ltvItemData Record(const TMainForm &form, int row)
    {
        ltvItemData r;
        ReadTaskRecord(form.ltvTask, row, TaskField::All, r);
        return r;
    }
    void Drop(TMainForm &form, const QStringList &paths, bool *accepted = nullptr)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &p : paths)
            urls << QUrl::fromLocalFile(p);
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &enter);
        if (accepted)
            *accepted = enter.isAccepted();
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &drop);
    }

    QTemporaryDir FClips;
    QString FMp4, FWebm, FAvi, FAudio, FText;
};

void TestAddInputs::initTestCase()
{
    QVERIFY(FClips.isValid());
    const QString dir = FClips.path() + QLatin1Char('/');
    FMp4 = dir + QStringLiteral("clip.mp4");
    FWebm = dir + QStringLiteral("clip.webm");
    FAvi = dir + QStringLiteral("clip.avi");
    FAudio = dir + QStringLiteral("audio.mp4");
    FText = dir + QStringLiteral("notes.mp4");
    QVERIFY(MakeClip(FMp4, 2));
    QVERIFY(MakeClip(FWebm, 1, QStringLiteral("320x240"), {QStringLiteral("-deadline"), QStringLiteral("realtime")}));
    QVERIFY(MakeClip(FAvi, 2, QStringLiteral("320x240"), {QStringLiteral("-c:v"), QStringLiteral("mpeg4")}, false));
    QVERIFY(MakeClip(FAudio, 2, QStringLiteral("320x240"), {QStringLiteral("-vn")}));
    QFile text(FText);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a video\n");
}

void TestAddInputs::names_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("supported");
    QTest::addColumn<QString>("stripped");
    QTest::newRow("upper case") << "/clips/A.AVI" << true << "/clips/A";
    QTest::newRow("two dots") << "/clips/movie.part1.avi" << true << "/clips/movie.part1";
    QTest::newRow("no dot") << "README" << false << "README";
    QTest::newRow("empty") << "" << false << "";
    QTest::newRow("flv") << "/clips/x.flv" << false << "/clips/x";
    QTest::newRow("dot in folder only") << "/clips.avi/readme" << false << "/clips";
    QTest::newRow("mpeg") << "/a/b.mpeg" << true << "/a/b";
    QTest::newRow("trailing dot") << "/a/b." << false << "/a/b";
}

void TestAddInputs::names()
{
    QFETCH(QString, path);
    QFETCH(bool, supported);
    QFETCH(QString, stripped);
    const QStringList extensions{".avi", ".mpg", ".mpeg", ".mp4", ".wmv", ".mov", ".vob", ".asf"};
    QCOMPARE(HasSupportedExtension(path, extensions), supported);
    QCOMPARE(StripExtension(path), stripped);
}

void TestAddInputs::reportParsing_data()
{
    QTest::addColumn<QString>("middle");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<QString>("frameSize");
    const QString dur = QStringLiteral("  Duration: 00:00:03.00, start: 0.000000, bitrate: 121 kb/s\n");
    QTest::newRow("h264 progressive")
        << dur + "  Stream #0:0[0x1](und): Video: h264 (High) (avc1 / 0x31637661), yuv420p(progressive), 320x240 [SAR 1:1 DAR 4:3], 41 kb/s, 25 fps\n"
        << "00:00:03.00" << " 320x240";
    QTest::newRow("commas in parentheses")
        << dur + "  Stream #0:0[0x1](und): Video: h264 (High) (avc1 / 0x31637661), yuv420p(tv, bt709, progressive), 640x480 [SAR 1:1 DAR 4:3], 41 kb/s\n"
        << "00:00:03.00" << " 640x480";
    QTest::newRow("vp9, size before SAR comma")
        << dur + "  Stream #0:0: Video: vp9 (Profile 0), yuv420p(tv, progressive), 320x240, SAR 1:1 DAR 4:3, 25 fps\n"
        << "00:00:03.00" << " 320x240";
    QTest::newRow("mpeg4 plain")
        << dur + "  Stream #0:0: Video: mpeg4 (Simple Profile) (FMP4 / 0x34504D46), yuv420p, 320x240 [SAR 1:1 DAR 4:3], 25 fps\n"
        << "00:00:03.00" << " 320x240";
    QTest::newRow("example of the program's design")
        << "  Duration: 00:01:23.4, start: 0.000000, bitrate: 1000 kb/s\n    Stream #0:0: Video: mpeg4, yuv420p, 640x480, 25.00 fps(r)\n"
        << "00:01:23.4" << " 640x480";
    QTest::newRow("metadata with commas and keywords")
        << "  Metadata:\n    title           : Holiday Video, part 1, Duration: long, 2020\n"
           "    creation_time   : 2023-01-01T00:00:00.000000Z\n"
           + dur + "  Stream #0:0(und): Audio: aac (LC), 44100 Hz, mono\n    Metadata:\n      title : Video, 1x2, x\n"
                   "  Stream #0:1(und): Video: h264 (High), yuv420p(tv, bt709, progressive), 1280x720, 25 fps\n"
        << "00:00:03.00" << " 1280x720";
    QTest::newRow("duration N/A")
        << "  Duration: N/A, bitrate: N/A\n  Stream #0:0: Video: mjpeg, yuvj420p(pc, bt470bg/unknown/unknown), 320x240, 25 tbr\n"
        << "N/A" << " 320x240";
    QTest::newRow("audio only") << dur + "  Stream #0:0[0x1](und): Audio: aac (LC) (mp4a / 0x6134706D), 44100 Hz, mono, fltp\n"
                                << "00:00:03.00" << "";
    QTest::newRow("not a media file")
        << "[mov,mp4,m4a,3gp,3g2,mj2 @ 0x55] moov atom not found\n/clips/x.mp4: Invalid data found when processing input\n"
        << "" << "";
    QTest::newRow("empty report") << "" << "" << "";
}

void TestAddInputs::reportParsing()
{
    QFETCH(QString, middle);
    QFETCH(QString, duration);
    QFETCH(QString, frameSize);
    const QString path = QStringLiteral("/clips/x.mp4");
    const ProbeResult r = ParseProbeReport(Canned(path, middle), path);
    QCOMPARE(r.duration, duration);
    QCOMPARE(r.frameSize, frameSize);
    QCOMPARE(r.startText, QStringLiteral("00:00:00.0"));
    QCOMPARE(r.endText, duration);
}

void TestAddInputs::probesRealFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("seconds"); // -1: no length
    QTest::addColumn<QString>("size");
    QTest::newRow("mp4") << QStringLiteral("clip.mp4") << 2.0 << " 320x240";
    QTest::newRow("webm") << QStringLiteral("clip.webm") << 1.0 << " 320x240";
    QTest::newRow("avi") << QStringLiteral("clip.avi") << 2.0 << " 320x240";
    QTest::newRow("audio only") << QStringLiteral("audio.mp4") << 2.0 << "";
    QTest::newRow("text named .mp4") << QStringLiteral("notes.mp4") << -1.0 << "";
    QTest::newRow("missing file") << QStringLiteral("gone.mp4") << -1.0 << "";
}

void TestAddInputs::probesRealFiles()
{
    QFETCH(QString, file);
    QFETCH(double, seconds);
    QFETCH(QString, size);
    ProgramFolder folder;
    TestServices ts;
    auto form = MakeForm(folder, ts);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(form->panbg->isVisible());
    form->OutputExtension = QStringLiteral(".mp4");
    const QString path = FClips.path() + QLatin1Char('/') + file;
    ts.dialogs.filesToOpen = {path};
    QTest::mouseClick(form->tbtnAddFile, Qt::LeftButton);

    QCOMPARE(Captions(*form), QStringList{path});
    const ltvItemData r = Record(*form, 0);
    if (seconds < 0) {
        QCOMPARE(r.LengthText, QString());
    } else {
        QVERIFY2(qAbs(r.LengthSec - seconds) < 0.1, qPrintable(r.LengthText));
        QVERIFY2(r.LengthText.startsWith(QStringLiteral("00:00:0")), qPrintable(r.LengthText));
    }
    QCOMPARE(r.FrameSize, size);
    QCOMPARE(r.Status, QStringLiteral("OK"));
    QCOMPARE(r.OutName, StripExtension(file));
    QCOMPARE(r.OutExt, QStringLiteral(".mp4"));
    QCOMPARE(r.RangeStart, QStringLiteral("00:00:00.0"));
    QCOMPARE(r.StartTime, QStringLiteral("00:00:00.0"));
    QCOMPARE(r.RangeEnd, r.LengthText);
    QCOMPARE(r.ClipLength, r.LengthText);
    QCOMPARE(r.EndTime, r.LengthText);
    // One row after Add Files: it is selected and the list commands are on.
    QVERIFY(form->ltvTask->topLevelItem(0)->isSelected());
    QVERIFY(form->tbtnStart->isEnabled() && form->tbtnUp->isEnabled());
    QVERIFY(!form->panbg->isVisible());
}

void TestAddInputs::addFilesOrderAndDuplicates()
{
    ProgramFolder folder;
    TestServices ts;
    auto form = MakeForm(folder, ts);
    const QString dir = FClips.path() + QLatin1Char('/');
    ts.dialogs.filesToOpen = {FMp4, FAvi, FWebm};
    form->tbtnAddFileClick();
    QCOMPARE(Captions(*form), (QStringList{FAvi, FWebm, FMp4}));
    QCOMPARE(ts.dialogs.lastFilters.first().pattern, form->FileMask);
    // Each row holds its own results (probed side by side, appended in order).
    QCOMPARE(Record(*form, 0).FrameSize, QStringLiteral(" 320x240"));
    QVERIFY(qAbs(Record(*form, 1).LengthSec - 1.0) < 0.1);
    QVERIFY(qAbs(Record(*form, 2).LengthSec - 2.0) < 0.1);
    QVERIFY(!form->ltvTask->topLevelItem(0)->isSelected());

    // The same paths again, twice in one dialog: nothing new. A path differing in case is new.
    ts.dialogs.filesToOpen = {FAvi, FAvi, FMp4, dir + QStringLiteral("CLIP.avi")};
    form->tbtnAddFileClick();
    QCOMPARE(Captions(*form), (QStringList{FAvi, FWebm, FMp4, dir + QStringLiteral("CLIP.avi")}));
}

void TestAddInputs::addFilesCancelledSelectsSingleRow()
{
    ProgramFolder folder;
    TestServices ts;
    auto form = MakeForm(folder, ts);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->AddTaskFile(FMp4);
    QVERIFY(!form->ltvTask->topLevelItem(0)->isSelected());
    QVERIFY(!form->tbtnStart->isEnabled());
    ts.dialogs.filesToOpen.clear();
    form->tbtnAddFileClick();
    QCOMPARE(ts.dialogs.openCount, 1);
    QVERIFY(form->ltvTask->topLevelItem(0)->isSelected());
    QVERIFY(form->tbtnStart->isEnabled());
    QTRY_VERIFY(form->ltvTask->hasFocus());
}

void TestAddInputs::folderAddsSupportedFilesSorted()
{
    ProgramFolder folder;
    TestServices ts;
    auto form = MakeForm(folder, ts);
    QTemporaryDir dir;
    QVERIFY(QFile::copy(FAvi, dir.filePath(QStringLiteral("b.AVI"))));
    QVERIFY(QFile::copy(FAvi, dir.filePath(QStringLiteral("a.mpg"))));
    QVERIFY(QFile::copy(FAvi, dir.filePath(QStringLiteral("c.txt"))));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sub")));
    QVERIFY(QFile::copy(FAvi, dir.filePath(QStringLiteral("sub/d.avi"))));

    // An empty folder adds nothing and leaves the welcome panel.
    QTemporaryDir empty;
    ts.dialogs.folderToSelect = empty.path();
    form->tbtnAddDirClick();
    QCOMPARE(ts.dialogs.lastTitle, QStringLiteral("Add a directory to the Task List"));
    QCOMPARE(form->ltvTask->topLevelItemCount(), 0);
    QVERIFY(!form->panbg->isHidden());
    QVERIFY(!form->tbtnClear->isEnabled());

    ts.dialogs.folderToSelect = dir.path();
    form->tbtnAddDirClick();
    QCOMPARE(Captions(*form), (QStringList{dir.filePath(QStringLiteral("a.mpg")), dir.filePath(QStringLiteral("b.AVI"))}));
    QCOMPARE(Record(*form, 1).FrameSize, QStringLiteral(" 320x240"));
    QVERIFY(form->panbg->isHidden());
    QVERIFY(form->tbtnClear->isEnabled());
    QVERIFY(form->ltvTask->selectedItems().isEmpty());
}

void TestAddInputs::folderListsRegularFilesOnly()
{
    // A pipe named like a clip would hold its probe for good; a dangling link names no file.
    QTemporaryDir dir;
    QVERIFY(QFile::copy(FAvi, dir.filePath(QStringLiteral("b.avi"))));
    QCOMPARE(mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("a.avi"))).constData(), 0600), 0);
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone.mp4")), dir.filePath(QStringLiteral("c.mp4"))));
    QVERIFY(QFile::copy(FAvi, dir.filePath(QStringLiteral(".hidden.mpg"))));
    QCOMPARE(FolderInputFiles(dir.path(), QStringLiteral("*.avi;*.mpg;*.mp4;")),
             (QStringList{dir.filePath(QStringLiteral(".hidden.mpg")), dir.filePath(QStringLiteral("b.avi"))}));
}

void TestAddInputs::commandLine()
{
    QTemporaryDir dir;
    const QString upper = dir.filePath(QStringLiteral("A.AVI"));
    QVERIFY(QFile::copy(FAvi, upper));
    QVERIFY(QFile::copy(FAvi, dir.filePath(QStringLiteral("notes.txt"))));
    QTemporaryDir sub;
    QVERIFY(QFile::copy(FMp4, sub.filePath(QStringLiteral("x.mp4"))));
    ProgramFolder folder;
    TestServices ts;
    auto form = MakeForm(folder, ts,
                         {upper, dir.filePath(QStringLiteral("notes.txt")), sub.path(),
                          dir.filePath(QStringLiteral("missing.avi")), FWebm});
    // Probed before the window is shown.
    QCOMPARE(Captions(*form), (QStringList{upper, sub.filePath(QStringLiteral("x.mp4"))}));
    QVERIFY(qAbs(Record(*form, 1).LengthSec - 2.0) < 0.1);
    QCOMPARE(Record(*form, 0).OutExt, QString());
    QVERIFY(form->tbtnStart->isEnabled() && form->tbtnDown->isEnabled());
    QVERIFY(form->panbg->isHidden());
    QVERIFY(ts.messages.boxes.isEmpty());
}

void TestAddInputs::commandLineListFile()
{
    ProgramFolder folder;
    const QString list = folder.write(QStringLiteral("LIST.TMP"),
                                      (FAvi + QStringLiteral("\r\n\r\n") + FMp4 + QStringLiteral("\r\n")).toUtf8());
    TestServices ts;
    auto form = MakeForm(folder, ts, {list, FWebm, FAudio});
    QCOMPARE(Captions(*form), (QStringList{FAvi, FMp4}));
    QVERIFY(QFile::exists(list));
}

void TestAddInputs::unreadableListFileIsReported()
{
    ProgramFolder folder;
    TestServices ts;
    const QString list = folder.file(QStringLiteral("gone.tmp"));
    auto form = MakeForm(folder, ts, {list, FMp4});
    QCOMPARE(ts.messages.errors().size(), 1);
    QVERIFY(ts.messages.errors().first().contains(list));
    QCOMPARE(form->ltvTask->topLevelItemCount(), 0);
    QVERIFY(!form->tbtnStart->isEnabled());
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(form->panbg->isVisible());
}

void TestAddInputs::dropFolderAndUnsupportedFile()
{
    QTemporaryDir dir;
    QVERIFY(QFile::copy(FAvi, dir.filePath(QStringLiteral("b.AVI"))));
    QVERIFY(QFile::copy(FAvi, dir.filePath(QStringLiteral("a.mpg"))));
    const QString flv = dir.filePath(QStringLiteral("clip.flv"));
    QVERIFY(QFile::copy(FAvi, flv));
    ProgramFolder folder;
    TestServices ts;
    auto form = MakeForm(folder, ts);
    bool accepted = false;
    Drop(*form, {dir.path(), flv, FMp4}, &accepted);
    QVERIFY(accepted);
    QCOMPARE(Captions(*form),
             (QStringList{dir.filePath(QStringLiteral("a.mpg")), dir.filePath(QStringLiteral("b.AVI")), FMp4}));
    QVERIFY(form->tbtnRemove->isEnabled());
    QVERIFY(form->ltvTask->selectedItems().isEmpty());
}

void TestAddInputs::dropIgnoredWhileListDisabled()
{
    ProgramFolder folder;
    TestServices ts;
    auto form = MakeForm(folder, ts);
    form->DisableCommands();
    bool accepted = true;
    Drop(*form, {FMp4}, &accepted);
    QVERIFY(!accepted);
    QCOMPARE(form->ltvTask->topLevelItemCount(), 0);
}

void TestAddInputs::dropTakesLongPathsWhole()
{
    QTemporaryDir dir;
    QString deep = dir.path();
    while (deep.size() < 300)
        deep += QLatin1Char('/') + QString(60, QLatin1Char('d'));
    QVERIFY(QDir().mkpath(deep));
    const QString file = deep + QStringLiteral("/clip.mp4");
    QVERIFY(QFile::copy(FMp4, file));
    QVERIFY(file.size() > 253);
    ProgramFolder folder;
    TestServices ts;
    auto form = MakeForm(folder, ts);
    Drop(*form, {file});
    QCOMPARE(Captions(*form), QStringList{file});
    QVERIFY(qAbs(Record(*form, 0).LengthSec - 2.0) < 0.1);
}

void TestAddInputs::transcoderMissingStillAddsRows()
{
    ProgramFolder folder(ProgramFolder::Transcoder::None);
    TestServices ts;
    auto form = MakeForm(folder, ts);
    form->AddTaskFiles({FMp4, FAvi});
    QCOMPARE(Captions(*form), (QStringList{FMp4, FAvi}));
    const ltvItemData r = Record(*form, 0);
    QCOMPARE(r.Status, QStringLiteral("OK"));
    QCOMPARE(r.LengthText, QString());
    QCOMPARE(r.StartTime, QString());
    QCOMPARE(r.OutName, QStringLiteral("clip"));
    QCOMPARE(r.LengthSec, -1.0);
}

void TestAddInputs::cancelKeepsRowsAdded()
{
    QTemporaryDir dir;
    QStringList files;
    for (int i = 0; i < 40; ++i) {
        const QString f = dir.filePath(QStringLiteral("c%1.mp4").arg(i, 2, 10, QLatin1Char('0')));
        QVERIFY(QFile::copy(FMp4, f));
        files << f;
    }
    ProgramFolder folder;
    TestServices ts;
    auto form = MakeForm(folder, ts);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->TaskAdding->ProgressDelayMs = 100;

    QString label;
    int rowsWhenCancelled = -1;
    bool keysHeldBack = false;
    connect(form->TaskAdding, &TaskAdder::progressShown, this, [&] {
        QTimer::singleShot(0, this, [&] {
            QProgressDialog *progress = form->TaskAdding->Progress();
            QVERIFY(progress && progress->isVisible());
            // The window stays live but takes no input that could change the list.
            while (form->ltvTask->topLevelItemCount() < 3)
                QTest::qWait(10);
            const int rows = form->ltvTask->topLevelItemCount();
            form->ltvTask->setFocus();
            QTest::keyClick(form->ltvTask, Qt::Key_Backspace);
            keysHeldBack = form->ltvTask->topLevelItemCount() >= rows;
            label = progress->labelText();
            rowsWhenCancelled = form->ltvTask->topLevelItemCount();
            QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
        });
    });
    form->AddTaskFiles(files);

    QVERIFY(keysHeldBack);
    QVERIFY2(label.contains(QStringLiteral("of 40")), qPrintable(label));
    const int rows = form->ltvTask->topLevelItemCount();
    QVERIFY2(rows >= rowsWhenCancelled && rows < 40, qPrintable(QString::number(rows)));
    for (int i = 0; i < rows; ++i) {
        QCOMPARE(form->ltvTask->topLevelItem(i)->text(0), files[i]);
        QVERIFY(qAbs(Record(*form, i).LengthSec - 2.0) < 0.1);
    }
    QVERIFY(form->TaskAdding->Progress() == nullptr);
    QVERIFY(!form->TaskAdding->IsAdding());
}

TESSIVO_TEST_MAIN(TestAddInputs)
#include "tst_addinputs.moc"
