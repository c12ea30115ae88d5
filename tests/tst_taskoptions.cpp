#include "app/TMainForm.h"
#include "platform/TValueListEditor.h"
#include "profiles/TProfilePanel.h"
#include "tasks/ProbeReport.h"
#include "tasks/TaskInputNames.h"
#include "tasks/TaskOptions.h"
#include "tasks/TaskRecordIO.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/TestApp.h"

#include <QLineEdit>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>

#include <memory>

namespace {

// A record as a row gives it back: the numbers recomputed from the texts.
ltvItemData AsRead(const ltvItemData &record)
{
    QTreeWidget list;
    list.setColumnCount(11);
    auto *item = new QTreeWidgetItem(&list);
    WriteTaskItem(item, record);
    ltvItemData read;
    ReadTaskRecord(&list, 0, TaskField::All, read);
    return read;
}

// A task just added whose input lasts 60 seconds.
ltvItemData SixtySecondTask()
{
    ProbeResult probe;
    probe.ran = true;
    probe.duration = QStringLiteral("00:01:00.00");
    probe.frameSize = QStringLiteral(" 320x240");
    probe.startText = QStringLiteral("00:00:00.0");
    probe.endText = probe.duration;
    return AsRead(NewTaskRecord(QStringLiteral("/clips/clip.avi"), probe, QStringLiteral(".mp4")));
}

// A shown main window with the fake transcoder, whose probe reports 60 seconds.
struct OptionsFixture
{
    ProgramFolder folder{ProgramFolder::Transcoder::Fake};
    TestServices ts;
    std::unique_ptr<TMainForm> form;

    OptionsFixture()
    {
        folder.write(QStringLiteral("fake_transcoder.script"), "duration=00:01:00.00\n");
        form = std::make_unique<TMainForm>(folder.path(), ts.services, QStringList{});
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->OutputExtension = QStringLiteral(".mp4");
    }

    TValueListEditor *grid() const { return form->ProfilePanel->vleOutput; }
    QString shown(const QString &key) const { return TProfilePanel::RowValue(grid(), key); }

    void clickRow(int row) const
    {
        QTreeWidget *list = form->ltvTask;
        const QRect rect = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

    // Types into a value cell as the user does, then leaves the grid.
    void type(const QString &key, const QString &text) const
    {
        const int row = grid()->FindRow(key);
        grid()->SetCurrentRow(row);
        const QRect cell = grid()->visualRect(grid()->model()->index(row, 1));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cell.center());
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY2(editor, "the press opens the cell editor");
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }

    void leaveGrid() const
    {
        form->ltvTask->setFocus();
        QApplication::processEvents();
    }

    ltvItemData record(int row) const
    {
        ltvItemData r;
        ReadTaskRecord(form->ltvTask, row, TaskField::All, r);
        return r;
    }
};

} // namespace

class TestTaskOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storeTimes_data();
    void storeTimes();
    void storeName_data();
    void storeName();
    void unknownDurationKeepsItsTexts();
    void shownNameCarriesCurrentExtension();
    void clickShowsAndEditStores();
    void editWithoutSelectionStoresNothing();
    void removeAndEmptyClickEmptyOptions();
    void pressBeforeAnyTaskShowsTip();
};

void TestTaskOptions::storeTimes_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("storedStart");
    QTest::addColumn<QString>("storedEnd");
    QTest::addColumn<QString>("storedClip");
    QTest::newRow("10 to 20") << "00:00:10" << "00:00:20" << "00:00:10" << "00:00:20" << "00:00:10";
    QTest::newRow("start after end") << "00:00:30" << "00:00:20" << "00:00:00" << "00:00:20" << "00:00:20";
    QTest::newRow("start beyond the input") << "00:01:30" << "00:05:00" << "00:00:00" << "00:05:00" << "00:05:00";
    QTest::newRow("end beyond the input") << "00:00:00.0" << "00:05:00" << "00:00:00" << "00:05:00" << "00:05:00";
    QTest::newRow("tenths") << "00:00:12.5" << "00:01:00.00" << "00:00:12.5" << "00:01:00" << "00:00:47.5";
    QTest::newRow("start not a time") << "abc" << "00:00:20" << "00:00:00" << "00:00:20" << "00:00:20";
    QTest::newRow("end not a time") << "00:00:10" << "xyz" << "00:00:10" << "00:01:00" << "00:00:50";
    QTest::newRow("start equals end") << "00:00:20" << "00:00:20" << "00:00:00" << "00:00:20" << "00:00:20";
    QTest::newRow("end zero") << "00:00:00" << "00:00:00" << "00:00:00" << "00:01:00" << "00:01:00";
    QTest::newRow("untouched") << "00:00:00.0" << "00:01:00.00" << "00:00:00" << "00:01:00" << "00:01:00";
    QTest::newRow("negative start") << "-1:00:00" << "00:00:20" << "00:00:00" << "00:00:20" << "00:00:20";
    QTest::newRow("decimal comma") << "00:00:5,5" << "00:00:20" << "00:00:00" << "00:00:20" << "00:00:20";
    QTest::newRow("one colon") << "00:10" << "00:00:20" << "00:00:00" << "00:00:20" << "00:00:20";
    QTest::newRow("both emptied") << "" << "" << "00:00:00" << "00:01:00" << "00:01:00";
    QTest::newRow("carry") << "00:00:09.96" << "00:00:20" << "00:00:10" << "00:00:20" << "00:00:10";
}

void TestTaskOptions::storeTimes()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, storedStart);
    QFETCH(QString, storedEnd);
    QFETCH(QString, storedClip);
    ltvItemData task = SixtySecondTask();
    StoreTaskOptions(task, {QStringLiteral("clip.mp4"), start, end});
    QCOMPARE(task.StartTime, storedStart);
    QCOMPARE(task.EndTime, storedEnd);
    QCOMPARE(task.ClipLength, storedClip);
    // What is not an option stays.
    QCOMPARE(task.RangeStart, QStringLiteral("00:00:00.0"));
    QCOMPARE(task.RangeEnd, QStringLiteral("00:01:00.00"));
    QCOMPARE(task.LengthText, QStringLiteral("00:01:00.00"));
}

void TestTaskOptions::storeName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("outName");
    QTest::addColumn<QString>("outExt");
    QTest::newRow("other extension") << "clip.avi" << "clip" << ".avi";
    QTest::newRow("emptied") << "" << "" << "";
    QTest::newRow("no dot") << "holiday" << "holiday" << "";
    QTest::newRow("two dots") << "movie.part1.mkv" << "movie.part1" << ".mkv";
    QTest::newRow("dot before a backslash") << "v1.0\\clip" << "v1" << "";
    QTest::newRow("dot before a slash") << "v1.0/clip" << "v1" << "";
    QTest::newRow("dot before a colon") << "a.b:c" << "a" << "";
    QTest::newRow("trailing dot") << "clip." << "clip" << ".";
}

void TestTaskOptions::storeName()
{
    QFETCH(QString, name);
    QFETCH(QString, outName);
    QFETCH(QString, outExt);
    ltvItemData task = SixtySecondTask();
    StoreTaskOptions(task, {name, task.StartTime, task.EndTime});
    QCOMPARE(task.OutName, outName);
    QCOMPARE(task.OutExt, outExt);
    QCOMPARE(ExtensionOfText(name), outExt);
}

void TestTaskOptions::unknownDurationKeepsItsTexts()
{
    // A probe that reported no duration: the end is unknown and must stay so, rather than
    // turning into a negative time text.
    ProbeResult probe;
    probe.ran = true;
    probe.duration = QStringLiteral("N/A");
    probe.startText = QStringLiteral("00:00:00.0");
    probe.endText = probe.duration;
    ltvItemData task = AsRead(NewTaskRecord(QStringLiteral("/clips/live.mpg"), probe, QString()));
    QCOMPARE(task.EndSec, -1.0);
    StoreTaskOptions(task, {QStringLiteral("live.mp4"), QStringLiteral("00:00:10"), QStringLiteral("N/A")});
    QCOMPARE(task.StartTime, QStringLiteral("00:00:00"));
    QCOMPARE(task.EndTime, QStringLiteral("N/A"));
    QCOMPARE(task.ClipLength, QStringLiteral("N/A"));
}

void TestTaskOptions::shownNameCarriesCurrentExtension()
{
    ltvItemData task = SixtySecondTask();
    task.OutName = QStringLiteral("clip");
    task.OutExt = QStringLiteral(".avi");
    const TaskOptionTexts shown = ShownTaskOptions(task, QStringLiteral(".mp4"));
    QCOMPARE(shown.newFilename, QStringLiteral("clip.mp4"));
    QCOMPARE(shown.startTime, QStringLiteral("00:00:00.0"));
    QCOMPARE(shown.endTime, QStringLiteral("00:01:00.00"));
}

void TestTaskOptions::clickShowsAndEditStores()
{
    OptionsFixture f;
    f.form->AddTaskFiles({QStringLiteral("/clips/first.avi"), QStringLiteral("/clips/clip.avi")});
    f.clickRow(1);
    QCOMPARE(f.shown(TaskOptionKeys::NewFilename), QStringLiteral("clip.mp4"));
    QCOMPARE(f.shown(TaskOptionKeys::StartTime), QStringLiteral("00:00:00.0"));
    QCOMPARE(f.shown(TaskOptionKeys::EndTime), QStringLiteral("00:01:00.00"));

    f.type(TaskOptionKeys::StartTime, QStringLiteral("00:00:10"));
    f.type(TaskOptionKeys::EndTime, QStringLiteral("00:00:20"));
    f.type(TaskOptionKeys::NewFilename, QStringLiteral("renamed.avi"));
    f.leaveGrid();
    ltvItemData r = f.record(1);
    QCOMPARE(r.StartTime, QStringLiteral("00:00:10"));
    QCOMPARE(r.EndTime, QStringLiteral("00:00:20"));
    QCOMPARE(r.ClipLength, QStringLiteral("00:00:10"));
    QCOMPARE(r.OutName, QStringLiteral("renamed"));
    QCOMPARE(r.OutExt, QStringLiteral(".avi"));
    // The other task is untouched.
    QCOMPARE(f.record(0).StartTime, QStringLiteral("00:00:00.0"));

    // A text that is no time stays in the grid; the stored time stays too.
    f.type(TaskOptionKeys::StartTime, QStringLiteral("abc"));
    f.leaveGrid();
    QCOMPARE(f.shown(TaskOptionKeys::StartTime), QStringLiteral("abc"));
    QCOMPARE(f.record(1).StartTime, QStringLiteral("00:00:10"));

    // Clicking the row again shows the stored texts, the name with the current extension.
    f.form->OutputExtension = QStringLiteral(".webm");
    f.clickRow(0);
    f.clickRow(1);
    QCOMPARE(f.shown(TaskOptionKeys::NewFilename), QStringLiteral("renamed.webm"));
    QCOMPARE(f.shown(TaskOptionKeys::StartTime), QStringLiteral("00:00:10"));
}

void TestTaskOptions::editWithoutSelectionStoresNothing()
{
    OptionsFixture f;
    f.form->AddTaskFiles({QStringLiteral("/clips/clip.avi")});
    f.clickRow(0);
    f.form->ltvTask->clearSelection();
    f.type(TaskOptionKeys::StartTime, QStringLiteral("00:00:10"));
    f.leaveGrid();
    QCOMPARE(f.record(0).StartTime, QStringLiteral("00:00:00.0"));
}

void TestTaskOptions::removeAndEmptyClickEmptyOptions()
{
    OptionsFixture f;
    f.form->AddTaskFiles({QStringLiteral("/clips/a.avi"), QStringLiteral("/clips/b.avi")});
    f.form->SetListCommandsEnabled(true);
    f.clickRow(0);
    QCOMPARE(f.shown(TaskOptionKeys::NewFilename), QStringLiteral("a.mp4"));
    // A click below the rows clears the selection and the options.
    QTest::mouseClick(f.form->ltvTask->viewport(), Qt::LeftButton, {},
                      QPoint(5, f.form->ltvTask->viewport()->height() - 5));
    QCOMPARE(f.shown(TaskOptionKeys::NewFilename), QString());
    QCOMPARE(f.shown(TaskOptionKeys::EndTime), QString());

    f.clickRow(1);
    QCOMPARE(f.shown(TaskOptionKeys::StartTime), QStringLiteral("00:00:00.0"));
    // Remove with nothing selected still empties the options.
    f.form->ltvTask->clearSelection();
    QTest::mouseClick(f.form->tbtnRemove, Qt::LeftButton);
    QCOMPARE(f.form->ltvTask->topLevelItemCount(), 2);
    QCOMPARE(f.shown(TaskOptionKeys::StartTime), QString());

    // Moving the selection with the keyboard does not show other options.
    f.clickRow(0);
    f.form->ltvTask->setFocus();
    QTest::keyClick(f.form->ltvTask, Qt::Key_Down);
    QCOMPARE(f.shown(TaskOptionKeys::NewFilename), QStringLiteral("a.mp4"));
}

void TestTaskOptions::pressBeforeAnyTaskShowsTip()
{
    OptionsFixture f;
    TValueListEditor *grid = f.grid();
    const QRect cell = grid->visualRect(grid->model()->index(1, 1));
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTRY_VERIFY(QToolTip::isVisible());
    QVERIFY(QToolTip::text().contains(QStringLiteral("Tip:")));
    QVERIFY(QToolTip::text().contains(QStringLiteral("Please select a file in Task List.")));
    QVERIFY(!grid->EditorMode());
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QToolTip::hideText();

    // With a task shown the press opens the editor and no tip is shown.
    f.form->AddTaskFiles({QStringLiteral("/clips/a.avi")});
    f.clickRow(0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(grid->EditorMode());
}

TESSIVO_TEST_MAIN(TestTaskOptions)
#include "tst_taskoptions.moc"
