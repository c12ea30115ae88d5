#include "app/TMainForm.h"
#include "platform/RunGuarded.h"
#include "settings/Preferences.h"
#include "settings/TSettingForm.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/TestApp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <memory>

namespace {

const QByteArray TwoProfiles = "[Main]\r\nType=mp4\r\nPara=0\r\n";

// A program folder with two small profiles and, when given, a preferences file.
std::unique_ptr<ProgramFolder> MakeFolder(const QByteArray &preferences = QByteArray(), bool withProfiles = true)
{
    auto folder = std::make_unique<ProgramFolder>(ProgramFolder::Transcoder::None);
    if (withProfiles) {
        folder->write(QStringLiteral("Profiles/Alpha.apf"), TwoProfiles);
        folder->write(QStringLiteral("Profiles/Beta.apf"), TwoProfiles);
    }
    if (!preferences.isNull())
        folder->write(QStringLiteral("Preferences.ini"), preferences);
    return folder;
}

QByteArray Lines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines)
        out += line.toUtf8() + "\r\n";
    return out;
}

} // namespace

class TestPreferences : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void firstStartDefaults();
    void generalKeysRead_data();
    void generalKeysRead();
    void storedProfilePosition_data();
    void storedProfilePosition();
    void settingsSurviveARestart();
    void loadDefaultThenCancelStaysInForce();
    void loadDefaultAnsweredNoChangesNothing();
    void okWritesThePathAsTyped();
    void otherLinesAreKept();
    void unreadablePreferencesShowErrorBox();

private:
    TestServices *FServices = nullptr;
    std::unique_ptr<TestServices> FOwned;
};

void TestPreferences::init()
{
    FOwned = std::make_unique<TestServices>();
    FServices = FOwned.get();
    static_cast<TApplication *>(qApp)->setMessages(FServices->messages);
}

void TestPreferences::firstStartDefaults()
{
    auto folder = MakeFolder();
    const QString ini = folder->file(QStringLiteral("Preferences.ini"));
    {
        TMainForm form(folder->path(), FServices->services, {});
        TSettingForm *s = form.SettingForm;
        QVERIFY(s);
        QCOMPARE(s->edtOutputDir->text(), folder->path());
        QCOMPARE(s->cmbSyn->currentText(), QStringLiteral("Auto"));
        QVERIFY(s->chkOpenDir->isChecked());
        QVERIFY(!s->chkExit->isChecked());
        QVERIFY(!s->chkTurnoff->isChecked());
        QVERIFY(s->rdbOverWrite->isChecked());
        QVERIFY(!s->rdbRename->isChecked());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.edtOutputdir->text(), folder->path());
        QCOMPARE(form.cmbProfile->currentText(), QStringLiteral("Alpha"));
        QVERIFY(QFile::exists(ini));
        QCOMPARE(QFileInfo(ini).size(), 0);
        form.close();
    }
    // Keys first written are put under the header, so they read in the reverse order of writing.
    QCOMPARE(folder->read(QStringLiteral("Preferences.ini")),
             Lines({QStringLiteral("[Main]"), QStringLiteral("Overwrite=1"), QStringLiteral("Auto Turn Off=0"),
                    QStringLiteral("Auto Exit=0"), QStringLiteral("Auto Open Dir=1"), QStringLiteral("Syn Mode=0"),
                    QStringLiteral("Output Path=") + folder->path(), QStringLiteral("Profile=0")}));
    QVERIFY(FServices->messages.boxes.isEmpty());
}

void TestPreferences::generalKeysRead_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("syn");
    QTest::addColumn<bool>("openDir");
    QTest::addColumn<bool>("exit");
    QTest::addColumn<bool>("turnOff");
    QTest::addColumn<bool>("overwrite");

    QTest::newRow("Auto Open Dir missing") << QByteArray("[Main]\r\nAuto Exit=1\r\n") << 0 << true << true << false << true;
    QTest::newRow("Auto Open Dir 0") << QByteArray("[Main]\r\nAuto Open Dir=0\r\n") << 0 << false << false << false << true;
    QTest::newRow("Overwrite 0") << QByteArray("[Main]\r\nOverwrite=0\r\n") << 0 << true << false << false << false;
    QTest::newRow("Overwrite 1") << QByteArray("[Main]\r\nOverwrite=1\r\n") << 0 << true << false << false << true;
    QTest::newRow("Overwrite yes") << QByteArray("[Main]\r\nOverwrite=yes\r\n") << 0 << true << false << false << true;
    QTest::newRow("Overwrite False") << QByteArray("[Main]\r\nOverwrite=False\r\n") << 0 << true << false << false << false;
    QTest::newRow("Syn Mode 2") << QByteArray("[Main]\r\nSyn Mode=2\r\n") << 2 << true << false << false << true;
    QTest::newRow("Syn Mode 3") << QByteArray("[Main]\r\nSyn Mode=3\r\n") << -1 << true << false << false << true;
    QTest::newRow("Syn Mode text") << QByteArray("[Main]\r\nSyn Mode=x\r\n") << 0 << true << false << false << true;
    QTest::newRow("Auto Turn Off TRUE") << QByteArray("[main]\r\nAUTO TURN OFF=TRUE\r\n") << 0 << true << false << true << true;
    QTest::newRow("only Default section") << QByteArray("[Default]\r\nAuto Open Dir=0\r\nOverwrite=0\r\n") << 0 << true
                                          << false << false << true;
}

void TestPreferences::generalKeysRead()
{
    QFETCH(QByteArray, file);
    QFETCH(int, syn);
    QFETCH(bool, openDir);
    QFETCH(bool, exit);
    QFETCH(bool, turnOff);
    QFETCH(bool, overwrite);
    auto folder = MakeFolder(file);
    TMainForm form(folder->path(), FServices->services, {});
    TSettingForm *s = form.SettingForm;
    QCOMPARE(s->cmbSyn->currentIndex(), syn);
    QCOMPARE(s->chkOpenDir->isChecked(), openDir);
    QCOMPARE(s->chkExit->isChecked(), exit);
    QCOMPARE(s->chkTurnoff->isChecked(), turnOff);
    QCOMPARE(s->rdbOverWrite->isChecked(), overwrite);
    QCOMPARE(s->rdbRename->isChecked(), !overwrite);
    // What the run asks for.
    const IGeneralSettings &live = *s;
    QCOMPARE(live.OverwriteChosen(), overwrite);
    QCOMPARE(live.RenameChosen(), !overwrite);
    QCOMPARE(live.OpenDirChosen(), openDir);
    QCOMPARE(live.ExitChosen(), exit);
    QCOMPARE(live.TurnOffChosen(), turnOff);
    // The page's state is what the exit writes: a Syn Mode outside the list comes back as -1.
    form.close();
    QVERIFY(folder->read(QStringLiteral("Preferences.ini")).contains("Syn Mode=" + QByteArray::number(syn) + "\r\n"));
}

void TestPreferences::storedProfilePosition_data()
{
    QTest::addColumn<bool>("withProfiles");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("second") << true << QByteArray("Profile=1") << 1 << QByteArray("Profile=1");
    QTest::newRow("missing key") << true << QByteArray() << 0 << QByteArray("Profile=0");
    QTest::newRow("equal to the count") << true << QByteArray("Profile=2") << -1 << QByteArray("Profile=-1");
    QTest::newRow("negative") << true << QByteArray("Profile=-1") << -1 << QByteArray("Profile=-1");
    QTest::newRow("empty profile list") << false << QByteArray("Profile=0") << -1 << QByteArray("Profile=-1");
}

void TestPreferences::storedProfilePosition()
{
    QFETCH(bool, withProfiles);
    QFETCH(QByteArray, stored);
    QFETCH(int, selected);
    QFETCH(QByteArray, written);
    auto folder = MakeFolder("[Main]\r\n" + (stored.isEmpty() ? QByteArray() : stored + "\r\n"), withProfiles);
    TMainForm form(folder->path(), FServices->services, {});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.cmbProfile->currentIndex(), selected);
    form.close();
    QVERIFY2(folder->read(QStringLiteral("Preferences.ini")).contains(written + "\r\n"),
             folder->read(QStringLiteral("Preferences.ini")).constData());
}

void TestPreferences::settingsSurviveARestart()
{
    auto folder = MakeFolder();
    const QString output = folder->path() + QStringLiteral("out/");
    {
        TMainForm form(folder->path(), FServices->services, {});
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(form.tbtnSetting, Qt::LeftButton);
        TSettingForm *s = form.SettingForm;
        s->edtOutputDir->setText(output);
        s->cmbSyn->setCurrentIndex(1);
        s->chkOpenDir->setChecked(false);
        s->chkExit->setChecked(true);
        s->chkTurnoff->setChecked(true);
        s->rdbRename->setChecked(true);
        form.cmbProfile->setCurrentIndex(1);
        QTest::mouseClick(s->btnOK, Qt::LeftButton);
        form.close();
    }
    TMainForm again(folder->path(), FServices->services, {});
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    TSettingForm *s = again.SettingForm;
    QCOMPARE(again.edtOutputdir->text(), output);
    QCOMPARE(again.cmbProfile->currentIndex(), 1);
    QCOMPARE(s->edtOutputDir->text(), output);
    QCOMPARE(s->cmbSyn->currentIndex(), 1);
    QVERIFY(!s->chkOpenDir->isChecked());
    QVERIFY(s->chkExit->isChecked());
    QVERIFY(s->chkTurnoff->isChecked());
    QVERIFY(s->rdbRename->isChecked());
    QVERIFY(FServices->messages.boxes.isEmpty());
}

void TestPreferences::loadDefaultThenCancelStaysInForce()
{
    const QByteArray file = Lines({QStringLiteral("[Main]"), QStringLiteral("Output Path=/main/"), QStringLiteral("Syn Mode=2"),
                                   QStringLiteral("Auto Open Dir=1"), QStringLiteral("Auto Exit=1"),
                                   QStringLiteral("Auto Turn Off=1"), QStringLiteral("Overwrite=0"),
                                   QStringLiteral("[Default]"), QStringLiteral("Output Path=/default/"),
                                   QStringLiteral("Auto Exit=0")});
    auto folder = MakeFolder(file);
    TMainForm form(folder->path(), FServices->services, {});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    TSettingForm *s = form.SettingForm;
    QVERIFY(s->chkOpenDir->isChecked() && s->chkExit->isChecked() && s->rdbRename->isChecked());
    QTest::mouseClick(form.tbtnSetting, Qt::LeftButton);
    FServices->messages.answerYes = true;
    QTest::mouseClick(s->btnDefault, Qt::LeftButton);
    QCOMPARE(FServices->messages.boxes.size(), 1);
    QCOMPARE(FServices->messages.boxes.first().kind, QStringLiteral("question"));
    QCOMPARE(FServices->messages.boxes.first().caption, QStringLiteral("Load Default"));
    QCOMPARE(FServices->messages.boxes.first().text, QStringLiteral("Are you sure to load the default preferences?"));
    // "Default" has no "Auto Open Dir": there the default is no.
    QCOMPARE(s->edtOutputDir->text(), QStringLiteral("/default/"));
    QCOMPARE(s->cmbSyn->currentIndex(), 0);
    QVERIFY(!s->chkOpenDir->isChecked());
    QVERIFY(!s->chkExit->isChecked());
    QVERIFY(!s->chkTurnoff->isChecked());
    QVERIFY(s->rdbOverWrite->isChecked());
    // Load Default writes nothing.
    QCOMPARE(folder->read(QStringLiteral("Preferences.ini")), file);
    QTest::mouseClick(s->btnCancel, Qt::LeftButton);
    QVERIFY(!s->isVisible());
    QVERIFY(s->OverwriteChosen());
    QVERIFY(!s->OpenDirChosen() && !s->ExitChosen() && !s->TurnOffChosen());
    // Cancel left the main window's folder alone; the exit writes the defaults in force.
    QCOMPARE(form.edtOutputdir->text(), QStringLiteral("/main/"));
    form.close();
    const QByteArray after = folder->read(QStringLiteral("Preferences.ini"));
    QCOMPARE(after, Lines({QStringLiteral("[Main]"), QStringLiteral("Profile=0"), QStringLiteral("Output Path=/main/"),
                           QStringLiteral("Syn Mode=0"), QStringLiteral("Auto Open Dir=0"), QStringLiteral("Auto Exit=0"),
                           QStringLiteral("Auto Turn Off=0"), QStringLiteral("Overwrite=1"), QStringLiteral("[Default]"),
                           QStringLiteral("Output Path=/default/"), QStringLiteral("Auto Exit=0")}));
}

void TestPreferences::loadDefaultAnsweredNoChangesNothing()
{
    auto folder = MakeFolder("[Main]\r\nAuto Exit=1\r\nOverwrite=0\r\n");
    TMainForm form(folder->path(), FServices->services, {});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    TSettingForm *s = form.SettingForm;
    QTest::mouseClick(form.tbtnSetting, Qt::LeftButton);
    FServices->messages.answerYes = false;
    QTest::mouseClick(s->btnDefault, Qt::LeftButton);
    QCOMPARE(FServices->messages.boxes.size(), 1);
    QVERIFY(s->chkExit->isChecked());
    QVERIFY(s->chkOpenDir->isChecked());
    QVERIFY(s->rdbRename->isChecked());
}

void TestPreferences::okWritesThePathAsTyped()
{
    auto folder = MakeFolder();
    TMainForm form(folder->path(), FServices->services, {});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    TSettingForm *s = form.SettingForm;
    QTest::mouseClick(form.tbtnSetting, Qt::LeftButton);
    s->edtOutputDir->clear();
    QTest::keyClicks(s->edtOutputDir, QStringLiteral("/no/such folder "));
    s->chkExit->setChecked(true);
    QTest::mouseClick(s->btnOK, Qt::LeftButton);
    QVERIFY(!s->isVisible());
    QCOMPARE(form.edtOutputdir->text(), QStringLiteral("/no/such folder "));
    // OK writes the six General keys only; the profile is written at exit.
    QCOMPARE(folder->read(QStringLiteral("Preferences.ini")),
             Lines({QStringLiteral("[Main]"), QStringLiteral("Overwrite=1"), QStringLiteral("Auto Turn Off=0"),
                    QStringLiteral("Auto Exit=1"), QStringLiteral("Auto Open Dir=1"), QStringLiteral("Syn Mode=0"),
                    QStringLiteral("Output Path=/no/such folder ")}));
    // An edit of the path that is cancelled is gone at the next opening.
    QTest::mouseClick(form.tbtnSetting, Qt::LeftButton);
    QCOMPARE(s->edtOutputDir->text(), QStringLiteral("/no/such folder "));
    s->edtOutputDir->setText(QStringLiteral("/elsewhere/"));
    s->chkTurnoff->setChecked(true);
    QTest::mouseClick(s->btnCancel, Qt::LeftButton);
    form.edtOutputdir->setText(QStringLiteral("/main/"));
    QTest::mouseClick(form.tbtnSetting, Qt::LeftButton);
    QCOMPARE(s->edtOutputDir->text(), QStringLiteral("/main/"));
    QVERIFY(s->chkTurnoff->isChecked());
    QTest::mouseClick(s->btnCancel, Qt::LeftButton);
}

void TestPreferences::otherLinesAreKept()
{
    const QByteArray file = Lines({QStringLiteral("; mine"), QStringLiteral("[Main]"), QStringLiteral("Version=3.1"),
                                   QStringLiteral("Profile=1"), QStringLiteral("Extra=x"), QStringLiteral("[Other]"),
                                   QStringLiteral("Key=v")});
    auto folder = MakeFolder(file);
    {
        TMainForm form(folder->path(), FServices->services, {});
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.close();
    }
    QCOMPARE(folder->read(QStringLiteral("Preferences.ini")),
             Lines({QStringLiteral("; mine"), QStringLiteral("[Main]"), QStringLiteral("Overwrite=1"),
                    QStringLiteral("Auto Turn Off=0"), QStringLiteral("Auto Exit=0"), QStringLiteral("Auto Open Dir=1"),
                    QStringLiteral("Syn Mode=0"), QStringLiteral("Output Path=") + folder->path(),
                    QStringLiteral("Version=3.1"), QStringLiteral("Profile=1"), QStringLiteral("Extra=x"),
                    QStringLiteral("[Other]"), QStringLiteral("Key=v")}));
}

void TestPreferences::unreadablePreferencesShowErrorBox()
{
    // A folder in the file's place can be neither read nor written, whoever runs the test.
    auto folder = MakeFolder();
    const QString ini = folder->file(QStringLiteral("Preferences.ini"));
    TMainForm form(folder->path(), FServices->services, {});
    QVERIFY(QFile::remove(ini));
    QVERIFY(QDir(folder->path()).mkdir(QStringLiteral("Preferences.ini")));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(FServices->messages.errors().size(), 1);
    QVERIFY2(FServices->messages.errors().constLast().contains(ini), qPrintable(FServices->messages.errors().constLast()));

    // OK: the main window already has the path, the file cannot take it, the dialog stays open.
    TSettingForm *s = form.SettingForm;
    QTest::mouseClick(form.tbtnSetting, Qt::LeftButton);
    s->edtOutputDir->setText(QStringLiteral("/typed/"));
    QTest::mouseClick(s->btnOK, Qt::LeftButton);
    QCOMPARE(FServices->messages.errors().size(), 2);
    QVERIFY(FServices->messages.errors().constLast().contains(ini));
    QCOMPARE(form.edtOutputdir->text(), QStringLiteral("/typed/"));
    QVERIFY(s->isVisible());
    QTest::mouseClick(s->btnDefault, Qt::LeftButton);
    QCOMPARE(FServices->messages.errors().size(), 3);
    QTest::mouseClick(s->btnCancel, Qt::LeftButton);
    QVERIFY(form.InputEnabled());

    // Exit: reported, and the window closes all the same.
    form.close();
    QCOMPARE(FServices->messages.errors().size(), 4);
    QVERIFY(!form.isVisible());
    QVERIFY(QFileInfo(ini).isDir());
}

TESSIVO_TEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
