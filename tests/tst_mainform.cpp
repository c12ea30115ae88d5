#include "app/MakerInfo.h"
#include "app/TAboutForm.h"
#include "app/TMainForm.h"
#include "app/TSplitterPanel.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/TestApp.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QTreeWidget>

class TestMainForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsWithDefaults();
    void profileListIsSortedAndFiltered();
    void commandTable();
    void resizeKeepsBottomBarRules();
    void splitterDrag_data();
    void splitterDrag();
    void browseAndOpen();
    void aboutBox();
    void welcomeLink_data();
    void welcomeLink();
    void unreadablePreferencesShowsErrorBox();
};

void TestMainForm::startsWithDefaults()
{
    ProgramFolder folder;
    TestServices ts;
    TMainForm form(folder.path(), ts.services, {});
    QCOMPARE(form.windowTitle(), QStringLiteral("Tessivo V2.5"));
    QVERIFY(QFile::exists(folder.file(QStringLiteral("Preferences.ini"))));
    QCOMPARE(form.TranscoderPath, folder.path() + QStringLiteral("wmaspi.dll"));
    QCOMPARE(form.FileMask, QStringLiteral("*.avi;*.mpg;*.mpeg;*.mp4;*.wmv;*.mov;*.vob;*.asf;"));
    QCOMPARE(form.OpenDialogFilter.size(), 10);
    QCOMPARE(form.OpenDialogFilter.first().description,
             QStringLiteral("All Support Files(*.avi;*.mpg;*.mpeg;*.mp4;*.wmv;*.mov;*.vob;*.asf;)"));
    QCOMPARE(form.OpenDialogFilter.at(3).description, QStringLiteral("MPEG Files (*.mpeg)"));
    QCOMPARE(form.OpenDialogFilter.last().pattern, QStringLiteral("*.*"));
    QCOMPARE(form.ltvTask->columnWidth(0), 260);
    QCOMPARE(form.ltvTask->columnWidth(3), 100);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.panbg->isVisible());
    QVERIFY(!form.panBottomLeft->isVisible());
    QCOMPARE(form.edtOutputdir->text(), folder.path());
}

void TestMainForm::profileListIsSortedAndFiltered()
{
    ProgramFolder folder;
    folder.write(QStringLiteral("Profiles/My.Phone.apf"), "[Main]\r\nType=mp4\r\n");
    folder.write(QStringLiteral("Profiles/Default.APF"), "[Main]\r\nType=avi\r\n");
    folder.write(QStringLiteral("Profiles/readme.txt"), "x");
    QDir(folder.profiles()).mkdir(QStringLiteral("old.apf"));
    TestServices ts;
    TMainForm form(folder.path(), ts.services, {});
    QCOMPARE(form.cmbProfile->count(), 2);
    QCOMPARE(form.cmbProfile->itemText(0), QStringLiteral("Default"));
    QCOMPARE(form.cmbProfile->itemText(1), QStringLiteral("My.Phone"));
    QCOMPARE(form.cmbProfile->currentIndex(), -1);
}

void TestMainForm::commandTable()
{
    ProgramFolder folder;
    TestServices ts;
    TMainForm form(folder.path(), ts.services, {});
    auto enabled = [&](const char *name) { return form.findChild<QToolButton *>(QLatin1String(name))->isEnabled(); };
    for (const char *n : {"tbtnAddFile", "tbtnAddDir", "tbtnSetting", "tbtnAbout", "tbtnHelp"})
        QVERIFY2(enabled(n), n);
    for (const char *n : {"tbtnUp", "tbtnDown", "tbtnRemove", "tbtnClear", "tbtnStart", "tbtnStop"})
        QVERIFY2(!enabled(n), n);
    form.DisableCommands();
    for (const char *n : {"tbtnAddFile", "tbtnAddDir", "tbtnUp", "tbtnDown", "tbtnRemove", "tbtnClear", "tbtnStart",
                          "tbtnSetting"})
        QVERIFY2(!enabled(n), n);
    QVERIFY(enabled("tbtnStop") && enabled("tbtnAbout") && enabled("tbtnHelp"));
    QVERIFY(!form.ltvTask->isEnabled());
    QVERIFY(!form.panSplitter->isEnabled());
    QVERIFY(!form.gpbProfile->isEnabled());
    form.EnableCommands();
    for (const char *n : {"tbtnAddFile", "tbtnUp", "tbtnStart", "tbtnSetting", "tbtnAbout"})
        QVERIFY2(enabled(n), n);
    QVERIFY(!enabled("tbtnStop"));
    QVERIFY(form.ltvTask->isEnabled());
    QVERIFY(form.panSplitter->isEnabled());
    QVERIFY(form.gpbProfile->isEnabled());
    // Every button carries its hint as accessible name.
    QCOMPARE(form.tbtnAddFile->accessibleName(), QStringLiteral("Add Video Files"));
    QCOMPARE(form.tbtnAddFile->toolTip(), QStringLiteral("Add Video Files"));
}

void TestMainForm::resizeKeepsBottomBarRules()
{
    ProgramFolder folder;
    TestServices ts;
    TMainForm form(folder.path(), ts.services, {});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (int w : {798, 1000, 700}) {
        form.resize(w, 539);
        QTest::qWait(20);
        const int right = form.panMain->width();
        QCOMPARE(form.bbtnSetting->x(), right - 90);
        QCOMPARE(form.bbtnOpen->x(), right - 90);
        QCOMPARE(form.bbtnBrowser->x(), right - 175);
        QCOMPARE(form.edtOutputdir->geometry().right() + 1, form.bbtnBrowser->x() - 8);
        QCOMPARE(form.cmbProfile->geometry().right() + 1, form.bbtnSetting->x() - 9);
        QCOMPARE(form.pgbCurrent->geometry().right() + 1, form.labCurProgress->x() - 8);
        QCOMPARE(form.pgbTotal->geometry().right() + 1, form.labTotalProgress->x() - 8);
    }
}

void TestMainForm::splitterDrag_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("widthChange");
    QTest::newRow("left button, 20 left of the middle") << int(Qt::LeftButton) << -15 << 20;
    QTest::newRow("left button, 10 right of the middle") << int(Qt::LeftButton) << 15 << -10;
    QTest::newRow("right button") << int(Qt::RightButton) << -15 << 0;
    QTest::newRow("x zero") << int(Qt::LeftButton) << 0 << 0;
}

void TestMainForm::splitterDrag()
{
    QFETCH(int, button);
    QFETCH(int, x);
    QFETCH(int, widthChange);
    ProgramFolder folder;
    TestServices ts;
    TMainForm form(folder.path(), ts.services, {});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const int before = form.panProfile->width();
    form.panSplitterMouseMove(Qt::MouseButtons(button), Qt::NoModifier, x);
    QCOMPARE(form.panProfile->width(), before + widthChange);
}

void TestMainForm::browseAndOpen()
{
    ProgramFolder folder;
    TestServices ts;
    TMainForm form(folder.path(), ts.services, {});
    form.show();
    ts.dialogs.folderToSelect = QStringLiteral("/tmp");
    QTest::mouseClick(form.bbtnBrowser, Qt::LeftButton);
    QCOMPARE(ts.dialogs.lastTitle, QStringLiteral("Select the output directory."));
    QCOMPARE(form.edtOutputdir->text(), QStringLiteral("/tmp/"));
    ts.dialogs.folderToSelect.clear();
    QTest::mouseClick(form.bbtnBrowser, Qt::LeftButton);
    QCOMPARE(form.edtOutputdir->text(), QStringLiteral("/tmp/"));
    QTest::mouseClick(form.bbtnOpen, Qt::LeftButton);
    QCOMPARE(ts.desktop.opened, QStringList{QStringLiteral("/tmp/")});
    form.edtOutputdir->setText(folder.path() + QStringLiteral("missing"));
    QTest::mouseClick(form.bbtnOpen, Qt::LeftButton);
    QCOMPARE(ts.desktop.opened.size(), 1);
    QTest::mouseClick(form.tbtnHelp, Qt::LeftButton);
    QCOMPARE(ts.desktop.opened.last(), folder.path() + QStringLiteral("Brevlin.chm"));
}

void TestMainForm::aboutBox()
{
    ProgramFolder folder;
    folder.write(QStringLiteral("Preferences.ini"), "[Main]\r\nVersion=3.1\r\n");
    TestServices ts;
    TMainForm form(folder.path(), ts.services, {});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.tbtnAbout, Qt::LeftButton);
    QWidget *about = form.AboutForm;
    QVERIFY(about->isVisible());
    QCOMPARE(about->windowTitle(), QStringLiteral("About"));
    QCOMPARE(about->findChild<QLabel *>(QStringLiteral("labVersion"))->text(), QStringLiteral("Version 3.1"));
    QCOMPARE(about->findChild<QLabel *>(QStringLiteral("labRights"))->text(), QStringLiteral("All rights reserved."));
    // The main window takes no input while the box is open.
    QVERIFY(!form.InputEnabled());
    QTest::mouseClick(about->findChild<QPushButton *>(QStringLiteral("btnSupport")), Qt::LeftButton);
    QVERIFY(ts.desktop.opened.last().startsWith(QStringLiteral("mailto:")));
    QTest::mouseClick(about->findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
    QVERIFY(!about->isVisible());
    QVERIFY(form.InputEnabled());
    // Hidden, not destroyed: it opens again.
    QTest::mouseClick(form.tbtnAbout, Qt::LeftButton);
    QVERIFY(about->isVisible() && !form.InputEnabled());
    about->close();
    QVERIFY(form.InputEnabled());
}

void TestMainForm::welcomeLink_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("opens");
    QTest::newRow("left button") << int(Qt::LeftButton) << true;
    QTest::newRow("right button") << int(Qt::RightButton) << false;
}

void TestMainForm::welcomeLink()
{
    QFETCH(int, button);
    QFETCH(bool, opens);
    ProgramFolder folder;
    TestServices ts;
    TMainForm form(folder.path(), ts.services, {});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QLabel *link = form.labLink;
    QCOMPARE(link->text(), MakerInfo::MakerName + QStringLiteral("  ") + MakerInfo::WebAddress);
    const auto colour = [link] { return link->palette().color(QPalette::WindowText); };
    QCOMPARE(colour(), QColor(194, 194, 194));
    QTest::mousePress(link, Qt::MouseButton(button));
    QCOMPARE(colour(), QColor(128, 165, 253));
    QTest::mouseRelease(link, Qt::MouseButton(button));
    QCOMPARE(colour(), QColor(194, 194, 194));
    QCOMPARE(ts.desktop.opened, opens ? QStringList{MakerInfo::WebAddress} : QStringList{});
}

void TestMainForm::unreadablePreferencesShowsErrorBox()
{
    // A folder in the file's place cannot be read as a file, whoever runs the test.
    ProgramFolder folder;
    QDir(folder.path()).mkdir(QStringLiteral("Preferences.ini"));
    TestServices ts;
    static_cast<TApplication *>(qApp)->setMessages(ts.messages);
    TMainForm form(folder.path(), ts.services, {});
    // Start-up reports the file (the version read, the Settings dialog's load) and goes on.
    QVERIFY(!ts.messages.errors().isEmpty());
    QVERIFY2(ts.messages.errors().first().contains(folder.file(QStringLiteral("Preferences.ini"))),
             qPrintable(ts.messages.errors().first()));
    QCOMPARE(form.windowTitle(), QStringLiteral("Tessivo V2.5"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const qsizetype atStart = ts.messages.errors().size();
    form.close();
    QVERIFY(ts.messages.errors().size() > atStart);
    for (const QString &e : ts.messages.errors())
        QVERIFY2(e.contains(folder.file(QStringLiteral("Preferences.ini"))), qPrintable(e));
}

TESSIVO_TEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
