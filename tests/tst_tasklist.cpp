#include "app/TMainForm.h"
#include "tasks/TaskColumnSizer.h"
#include "platform/TessivoError.h"
#include "tasks/TaskRecordIO.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/TestApp.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QItemSelectionModel>
#include <QMenu>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

namespace {

// A shown main window whose list holds rows A, B, C... (no transcoder: rows come without probing).
struct ListFixture
{
    ProgramFolder folder{ProgramFolder::Transcoder::None};
    TestServices ts;
    std::unique_ptr<TMainForm> form;

    explicit ListFixture(int rows)
    {
        form = std::make_unique<TMainForm>(folder.path(), ts.services, QStringList{});
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QStringList paths;
        for (int i = 0; i < rows; ++i)
            paths << QStringLiteral("/clips/%1.avi").arg(QChar(QLatin1Char('A' + i)));
        form->AddTaskFiles(paths);
        if (rows > 0)
            form->SetListCommandsEnabled(true);
    }

    QTreeWidget *list() const { return form->ltvTask; }

    // The rows' letters in list order, e.g. "BACD".
    QString letters() const
    {
        QString out;
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            out += list()->topLevelItem(i)->text(0).mid(7, 1);
        return out;
    }

    // Selected row numbers, e.g. "01".
    QString selected() const
    {
        QString out;
        for (int i = 0; i < list()->topLevelItemCount(); ++i) {
            if (list()->topLevelItem(i)->isSelected())
                out += QString::number(i);
        }
        return out;
    }

    void select(const QString &rows) const
    {
        list()->clearSelection();
        for (const QChar c : rows)
            list()->topLevelItem(c.digitValue())->setSelected(true);
    }

    bool listCommandsEnabled() const
    {
        const bool on = form->tbtnUp->isEnabled();
        for (QToolButton *b : {form->tbtnDown, form->tbtnRemove, form->tbtnClear, form->tbtnStart})
            if (b->isEnabled() != on)
                qWarning("list command buttons disagree: %s", qPrintable(b->objectName()));
        return on;
    }
};

} // namespace

class TestTaskList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void move_data();
    void move();
    void moveCarriesHiddenTextsAndKeepsFocus();
    void remove_data();
    void remove();
    void clearAndKeys();
    void otherKeysKeepListBehaviour();
    void popupEnabling();
    void rightClickOpensPopup();
    void columnWidths_data();
    void columnWidths();
    void columnsFollowListWidth();
    void recordSelectors();
};

void TestTaskList::move_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("lettersAfter");
    QTest::addColumn<QString>("selectedAfter");
    QTest::newRow("up: first two") << "tbtnUp" << 4 << "01" << "BACD" << "0";
    QTest::newRow("up: block 1-2") << "tbtnUp" << 4 << "12" << "BCAD" << "01";
    QTest::newRow("up: first row stays") << "tbtnUp" << 3 << "0" << "ABC" << "0";
    QTest::newRow("up: gaps") << "tbtnUp" << 5 << "13" << "BADCE" << "02";
    QTest::newRow("up: nothing selected") << "tbtnUp" << 4 << "" << "ABCD" << "";
    QTest::newRow("up: all selected") << "tbtnUp" << 3 << "012" << "BCA" << "01";
    QTest::newRow("down: last two") << "tbtnDown" << 4 << "23" << "ABDC" << "3";
    QTest::newRow("down: block 1-2") << "tbtnDown" << 4 << "12" << "ADBC" << "23";
    QTest::newRow("down: last row stays") << "tbtnDown" << 3 << "2" << "ABC" << "2";
    QTest::newRow("down: nothing selected") << "tbtnDown" << 4 << "" << "ABCD" << "";
    QTest::newRow("down: single row list") << "tbtnDown" << 1 << "0" << "A" << "0";
}

void TestTaskList::move()
{
    QFETCH(QString, button);
    QFETCH(int, rows);
    QFETCH(QString, selected);
    QFETCH(QString, lettersAfter);
    QFETCH(QString, selectedAfter);
    ListFixture f(rows);
    f.select(selected);
    QTest::mouseClick(f.form->findChild<QToolButton *>(button), Qt::LeftButton);
    QCOMPARE(f.letters(), lettersAfter);
    QCOMPARE(f.selected(), selectedAfter);
    QVERIFY(f.listCommandsEnabled());
}

void TestTaskList::moveCarriesHiddenTextsAndKeepsFocus()
{
    ListFixture f(3);
    ltvItemData b;
    ReadTaskRecord(f.list(), 1, TaskField::All, b);
    b.Status = QStringLiteral("Complete");
    b.StartTime = QStringLiteral("00:00:10");
    WriteTaskRecord(f.list(), 1, TaskField::All, b);
    f.list()->setCurrentItem(f.list()->topLevelItem(1));
    f.form->tbtnUpClick();
    ltvItemData moved;
    ReadTaskRecord(f.list(), 0, TaskField::All, moved);
    QCOMPARE(moved.InputPath, QStringLiteral("/clips/B.avi"));
    QCOMPARE(moved.OutName, QStringLiteral("B"));
    QCOMPARE(moved.Status, QStringLiteral("Complete"));
    QCOMPARE(moved.StartTime, QStringLiteral("00:00:10"));
    QCOMPARE(moved.StartSec, 10.0);
    ReadTaskRecord(f.list(), 1, TaskField::All, moved);
    QCOMPARE(moved.OutName, QStringLiteral("A"));
    // The focus stays on the row, the texts move under it.
    QCOMPARE(f.list()->currentIndex().row(), 1);
    QCOMPARE(f.selected(), QStringLiteral("0"));
}

void TestTaskList::remove_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("lettersAfter");
    QTest::addColumn<bool>("enabledAfter");
    QTest::newRow("rows 0 and 2 of 3") << 3 << "02" << "B" << true;
    QTest::newRow("nothing selected") << 3 << "" << "ABC" << true;
    QTest::newRow("all rows") << 2 << "01" << "" << false;
    QTest::newRow("middle block") << 5 << "123" << "AE" << true;
}

void TestTaskList::remove()
{
    QFETCH(int, rows);
    QFETCH(QString, selected);
    QFETCH(QString, lettersAfter);
    QFETCH(bool, enabledAfter);
    ListFixture f(rows);
    f.select(selected);
    QTest::mouseClick(f.form->tbtnRemove, Qt::LeftButton);
    QCOMPARE(f.letters(), lettersAfter);
    QCOMPARE(f.selected(), QString());
    QCOMPARE(f.listCommandsEnabled(), enabledAfter);
    // The buttons do not follow the selection.
    QCOMPARE(f.form->tbtnRemove->isEnabled(), enabledAfter);
}

void TestTaskList::clearAndKeys()
{
    ListFixture f(4);
    f.select(QStringLiteral("1"));
    f.list()->setFocus();
    QTest::keyClick(f.list(), Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(f.letters(), QStringLiteral("ACD"));
    QVERIFY(f.listCommandsEnabled());

    QTest::keyClick(f.list(), Qt::Key_Backspace, Qt::ControlModifier);
    QCOMPARE(f.letters(), QString());
    QVERIFY(!f.listCommandsEnabled());

    // Backspace in an empty list: still nothing, buttons still off.
    QTest::keyClick(f.list(), Qt::Key_Backspace);
    QVERIFY(!f.listCommandsEnabled());

    // The Clear button.
    f.form->AddTaskFiles({QStringLiteral("/clips/X.avi")});
    f.form->SetListCommandsEnabled(true);
    QTest::mouseClick(f.form->tbtnClear, Qt::LeftButton);
    QCOMPARE(f.list()->topLevelItemCount(), 0);
    QVERIFY(!f.listCommandsEnabled());
}

void TestTaskList::otherKeysKeepListBehaviour()
{
    ListFixture f(3);
    f.list()->setFocus();
    f.list()->setCurrentItem(f.list()->topLevelItem(0));
    QTest::keyClick(f.list(), Qt::Key_Down);
    QCOMPARE(f.list()->currentIndex().row(), 1);
    QCOMPARE(f.list()->topLevelItemCount(), 3);
}

void TestTaskList::popupEnabling()
{
    ListFixture f(0);
    QMenu *menu = f.form->ppmTask;
    QStringList texts;
    for (QAction *a : menu->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(texts, (QStringList{"Open", "-", "Add Files...", "Add Directorys...", "-", "Remove", "Clear"}));

    auto popupState = [&] {
        menu->popup(QPoint(0, 0));
        QString state;
        for (QAction *a : menu->actions())
            if (!a->isSeparator())
                state += a->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        menu->hide();
        return state;
    };
    // Order: Open, Add Files, Add Directorys, Remove, Clear.
    QCOMPARE(popupState(), QStringLiteral("01100"));
    f.form->AddTaskFiles({QStringLiteral("/clips/A.avi"), QStringLiteral("/clips/B.avi")});
    QCOMPARE(popupState(), QStringLiteral("01101"));
    f.select(QStringLiteral("1"));
    QCOMPARE(popupState(), QStringLiteral("11111"));

    // "Remove" of the menu removes the selection.
    menu->popup(QPoint(0, 0));
    f.form->mniRemove->trigger();
    menu->hide();
    QCOMPARE(f.letters(), QStringLiteral("A"));
}

void TestTaskList::rightClickOpensPopup()
{
    ListFixture f(2);
    QWidget *viewport = f.list()->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), viewport->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(viewport, &event);
    QTRY_VERIFY(f.form->ppmTask->isVisible());
    QVERIFY(!f.form->mniRemove->isEnabled());
    QVERIFY(f.form->mniClear->isEnabled());
    f.form->ppmTask->hide();
}

void TestTaskList::columnWidths_data()
{
    QTest::addColumn<QList<int>>("before");
    QTest::addColumn<int>("delta");
    QTest::addColumn<QList<int>>("after");
    QTest::newRow("widen by 10") << QList<int>{260, 90, 80, 100} << 10 << QList<int>{265, 92, 82, 102};
    QTest::newRow("half goes to even") << QList<int>{260, 90, 81, 100} << 10 << QList<int>{265, 92, 82, 102};
    QTest::newRow("shrink by 10") << QList<int>{260, 90, 80, 100} << -10 << QList<int>{255, 88, 78, 98};
    QTest::newRow("shrink, half to even") << QList<int>{260, 90, 81, 100} << -10 << QList<int>{255, 88, 80, 98};
    QTest::newRow("one pixel") << QList<int>{260, 90, 80, 100} << 1 << QList<int>{260, 90, 80, 100};
    QTest::newRow("unchanged") << QList<int>{260, 90, 80, 100} << 0 << QList<int>{260, 90, 80, 100};
    QTest::newRow("large") << QList<int>{260, 90, 80, 100} << 438 << QList<int>{475, 164, 146, 183};
}

void TestTaskList::columnWidths()
{
    QFETCH(QList<int>, before);
    QFETCH(int, delta);
    QFETCH(QList<int>, after);
    const auto w = TaskColumnSizer::ResizedWidths({before[0], before[1], before[2], before[3]}, delta);
    QCOMPARE((QList<int>{w[0], w[1], w[2], w[3]}), after);
}

void TestTaskList::columnsFollowListWidth()
{
    ListFixture f(1);
    QTreeWidget *list = f.list();
    QTRY_COMPARE(f.form->ltvTaskColumns.LastSeenWidth(), list->width());
    list->setColumnWidth(0, 260);
    list->setColumnWidth(1, 90);
    list->setColumnWidth(2, 81);
    list->setColumnWidth(3, 100);
    const int listWidth = list->width();
    f.form->resize(f.form->width() + 10, f.form->height());
    QTRY_COMPARE(list->width(), listWidth + 10);
    QCOMPARE(list->columnWidth(0), 265);
    QCOMPARE(list->columnWidth(1), 92);
    QCOMPARE(list->columnWidth(2), 82);
    QCOMPARE(list->columnWidth(3), 102);
    // The hidden data columns stay hidden.
    QVERIFY(list->isColumnHidden(4) && list->isColumnHidden(10));
}

void TestTaskList::recordSelectors()
{
    ListFixture f(1);
    ltvItemData r;
    r.InputPath = QStringLiteral("kept");
    r.LengthText = QStringLiteral("kept");
    ReadTaskRecord(f.list(), 0, TaskField::Caption, r);
    QCOMPARE(r.InputPath, QStringLiteral("/clips/A.avi"));
    QCOMPARE(r.LengthText, QStringLiteral("kept"));

    r.EndTime = QStringLiteral("00:00:20");
    WriteTaskRecord(f.list(), 0, TaskField::EndTime, r);
    ltvItemData back;
    back.StartSec = 99;
    ReadTaskRecord(f.list(), 0, TaskField::EndTime, back);
    QCOMPARE(back.EndSec, 20.0);
    QCOMPARE(back.StartSec, 99.0);
    QCOMPARE(f.list()->topLevelItem(0)->text(0), QStringLiteral("/clips/A.avi"));

    bool raised = false;
    try {
        ReadTaskRecord(f.list(), 1, TaskField::All, back);
    } catch (const EListError &e) {
        raised = e.message() == QStringLiteral("List index out of bounds (1)");
    }
    QVERIFY(raised);
}

TESSIVO_TEST_MAIN(TestTaskList)
#include "tst_tasklist.moc"
