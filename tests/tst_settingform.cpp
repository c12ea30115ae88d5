#include "app/TMainForm.h"
#include "platform/TValueListEditor.h"
#include "profiles/TProfilePanel.h"
#include "profiles/TSizeForm.h"
#include "settings/TSettingForm.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/TestApp.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>

#include <memory>

namespace {

QByteArray Lines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines)
        out += line.toUtf8() + "\r\n";
    return out;
}

// A profile with every kind of parameter the editor handles. "Video Codec" has no List key (a
// pick list) and two items equal but for letter case, the second one shown.
QByteArray ClipProfile()
{
    return Lines({QStringLiteral("[Main]"), QStringLiteral("Type=avi"), QStringLiteral("Para=6"),
                  QStringLiteral("0=Video Size"), QStringLiteral("1=Video Codec"), QStringLiteral("2=Audio Codec"),
                  QStringLiteral("3=Title"), QStringLiteral("4=Fixed Note"), QStringLiteral("5=Locked List"),
                  QStringLiteral("[Video Size]"), QStringLiteral("Sort=1"), QStringLiteral("List=1"),
                  QStringLiteral("ReadOnly=0"), QStringLiteral("cmd=-s"),
                  QStringLiteral("Caption=Original Size,Small,Custom Size,"), QStringLiteral("Value=,160x120,,"),
                  QStringLiteral("Index=0"),
                  QStringLiteral("[Video Codec]"), QStringLiteral("Sort=1"), QStringLiteral("cmd=-vcodec"),
                  QStringLiteral("Caption=mpeg4,MPEG4,xvid,"), QStringLiteral("Value=mpeg4,mpeg4,libxvid,"),
                  QStringLiteral("Index=1"),
                  QStringLiteral("[Audio Codec]"), QStringLiteral("Sort=2"), QStringLiteral("cmd=-acodec"),
                  QStringLiteral("Caption=aac,mp3,"), QStringLiteral("Value=aac,libmp3lame,"), QStringLiteral("Index=0"),
                  QStringLiteral("[Title]"), QStringLiteral("Sort=3"), QStringLiteral("List=0"),
                  QStringLiteral("cmd=-metadata"), QStringLiteral("Caption=hello"), QStringLiteral("Value=hello"),
                  QStringLiteral("[Fixed Note]"), QStringLiteral("Sort=3"), QStringLiteral("List=0"),
                  QStringLiteral("ReadOnly=1"), QStringLiteral("Caption=fixed"), QStringLiteral("Value=\\"),
                  QStringLiteral("[Locked List]"), QStringLiteral("Sort=2"), QStringLiteral("ReadOnly=1"),
                  QStringLiteral("Caption=a,b,"), QStringLiteral("Value=a,b,"), QStringLiteral("Index=0")});
}

QByteArray SmallProfile(const QString &codec)
{
    return Lines({QStringLiteral("[Main]"), QStringLiteral("Para=1"), QStringLiteral("0=Video Codec"),
                  QStringLiteral("[Video Codec]"), QStringLiteral("Sort=1"),
                  QStringLiteral("Caption=") + codec + QStringLiteral(",other,"), QStringLiteral("Index=0")});
}

// Makes a window the application's active one (the platform reports it before the application knows).
bool Activate(QWidget *window)
{
    window->activateWindow();
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

// The program with the profiles Alpha (small), Clip (the one above) and Zeta (small), in that order.
struct Fixture
{
    ProgramFolder folder{ProgramFolder::Transcoder::None};
    TestServices ts;
    std::unique_ptr<TMainForm> form;
    TSettingForm *s = nullptr;

    explicit Fixture(const QByteArray &preferences = "[Main]\r\nProfile=1\r\n")
    {
        folder.write(QStringLiteral("Profiles/Alpha.apf"), SmallProfile(QStringLiteral("alpha")));
        folder.write(QStringLiteral("Profiles/Clip.apf"), ClipProfile());
        folder.write(QStringLiteral("Profiles/Zeta.apf"), SmallProfile(QStringLiteral("zeta")));
        folder.write(QStringLiteral("Preferences.ini"), preferences);
        static_cast<TApplication *>(qApp)->setMessages(ts.messages);
        form = std::make_unique<TMainForm>(folder.path(), ts.services, QStringList{});
        s = form->SettingForm;
    }

    bool show()
    {
        form->show();
        // Let the main window's own activation pass before the dialog is activated.
        return QTest::qWaitForWindowExposed(form.get()) && Activate(form.get());
    }

    // Opens the dialog through "&Setting" and makes it the active window.
    bool openProfiles()
    {
        QTest::mouseClick(form->bbtnSetting, Qt::LeftButton);
        return s->isVisible() && Activate(s);
    }

    QString profile(const QString &name) const { return folder.profiles() + name + QStringLiteral(".apf"); }
    QByteArray read(const QString &name) const { return folder.read(QStringLiteral("Profiles/") + name + QStringLiteral(".apf")); }
};

QString Cell(TValueListEditor *grid, const QString &key)
{
    return TProfilePanel::RowValue(grid, key);
}

// Chooses an item of a pick-list row from its drop-down list, with the keyboard.
bool Choose(TValueListEditor *grid, const QString &key, const QString &item)
{
    const int row = grid->FindRow(key);
    if (!grid->OpenDropDown(row))
        return false;
    QComboBox *combo = grid->DropDown();
    if (!combo || !QTest::qWaitFor([combo] { return combo->view()->isVisible(); }))
        return false;
    const int target = combo->findText(item, Qt::MatchExactly | Qt::MatchCaseSensitive);
    for (int i = combo->currentIndex(); i < target; ++i)
        QTest::keyClick(combo->view(), Qt::Key_Down);
    for (int i = combo->currentIndex(); i > target; --i)
        QTest::keyClick(combo->view(), Qt::Key_Up);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    return grid->Value(row) == item;
}

// Types a new text into a free-text row through its in-place editor.
bool Type(TValueListEditor *grid, const QString &key, const QString &text)
{
    // A closed drop-down list may leave another window active.
    if (!Activate(grid->window()))
        return false;
    grid->setFocus();
    grid->SetCurrentRow(grid->FindRow(key));
    QTest::keyClick(grid, Qt::Key_F2);
    auto *edit = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    if (!grid->EditorMode() || !edit)
        return false;
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
    return QTest::qWaitFor([&] { return Cell(grid, key) == text; });
}

} // namespace

class TestSettingForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layoutAndTexts();
    void enterAndEscPressNothing();
    void toolbarOpensGeneralPage();
    void browse_data();
    void browse();
    void settingButtonOpensMainProfile();
    void settingButtonWithoutProfileKeepsRows();
    void okWritesTheEditorsChoices();
    void okRefreshesMainPanelOnlyForTheSameProfile();
    void choosingAnotherProfileDropsEdits();
    void cancelKeepsEditsOnThePage();
    void saveAsWritesACopy();
    void saveAsOntoTheShownProfile();
    void saveAsWithoutProfileWritesNothing();
    void saveAsFailedCopyIsReported();
    void collapseButtons();
    void indexOutOfRange();
    void unreadableProfileOnOk();
};

void TestSettingForm::layoutAndTexts()
{
    Fixture f;
    TSettingForm *s = f.s;
    QCOMPARE(s->windowTitle(), QStringLiteral("Settings"));
    QCOMPARE(s->size(), QSize(391, 498));
    QCOMPARE(s->minimumSize(), s->maximumSize());
    QCOMPARE(s->panMain->height(), 5);
    QCOMPARE(s->pgcSetting->y(), 5);
    QCOMPARE(s->pgcSetting->height(), 442);
    QCOMPARE(s->pgcSetting->count(), 2);
    QCOMPARE(s->pgcSetting->tabText(0), QStringLiteral("     General     "));
    QCOMPARE(s->pgcSetting->tabText(1), QStringLiteral("     Profiles     "));
    QCOMPARE(s->pgcSetting->currentWidget(), s->TabSheet1);
    QCOMPARE(s->btnDefault->text(), QStringLiteral("&Load Default"));
    QCOMPARE(s->btnDefault->geometry(), QRect(16, 461, 89, 25));
    QCOMPARE(s->btnOK->text(), QStringLiteral("&OK"));
    QCOMPARE(s->btnOK->geometry(), QRect(208, 461, 75, 25));
    QCOMPARE(s->btnCancel->text(), QStringLiteral("&Cancel"));
    QCOMPARE(s->btnCancel->geometry(), QRect(296, 461, 75, 25));

    // General page.
    QCOMPARE(s->labOutputDir->text(), QStringLiteral("Default Output Path:"));
    QVERIFY(s->labOutputDir->geometry().right() < s->edtOutputDir->x());
    QCOMPARE(s->edtOutputDir->geometry(), QRect(112, 16, 225, 21));
    QCOMPARE(s->sbtnBrowse->geometry(), QRect(344, 16, 23, 22));
    QVERIFY(s->sbtnBrowse->text().isEmpty());
    QVERIFY(!s->sbtnBrowse->icon().isNull());
    QCOMPARE(s->sbtnBrowse->accessibleName(), QStringLiteral("Browse"));
    QCOMPARE(s->Label1->text(), QStringLiteral("Synchronization Mode:"));
    QCOMPARE(s->cmbSyn->count(), 3);
    QCOMPARE(s->cmbSyn->itemText(0), QStringLiteral("Auto"));
    QCOMPARE(s->cmbSyn->itemText(1), QStringLiteral("Force Mode"));
    QCOMPARE(s->cmbSyn->itemText(2), QStringLiteral("Progressive Mode"));
    QVERIFY(!s->cmbSyn->isEditable());
    QCOMPARE(s->cmbSyn->geometry(), QRect(124, 56, 245, 21));
    QCOMPARE(s->chkOpenDir->text(), QStringLiteral("Open the output directory when the task is completed. "));
    QCOMPARE(s->chkExit->text(), QStringLiteral("Exit the program when the task is completed."));
    QCOMPARE(s->chkTurnoff->text(), QStringLiteral("Turn off the computer when the task is completed."));
    QCOMPARE(s->chkOpenDir->geometry(), QRect(24, 128, 313, 17));
    QCOMPARE(s->gpbOverWrite->title(), QStringLiteral("Output File Overwrite"));
    QCOMPARE(s->gpbOverWrite->geometry(), QRect(16, 240, 353, 105));
    QCOMPARE(s->rdbOverWrite->text(), QStringLiteral("Overwrite"));
    QCOMPARE(s->rdbRename->text(), QStringLiteral("Not overwrite (Rename to <Filename> + Index"));
    QCOMPARE(s->rdbOverWrite->parentWidget(), s->gpbOverWrite);
    // The two radio buttons exclude each other.
    s->rdbRename->click();
    QVERIFY(!s->rdbOverWrite->isChecked());
    s->rdbOverWrite->click();
    QVERIFY(!s->rdbRename->isChecked());

    // Profiles page.
    QCOMPARE(s->cmbProfile->geometry(), QRect(8, 7, 283, 21));
    QVERIFY(!s->cmbProfile->isEditable());
    QCOMPARE(s->cmbProfile->count(), 3);
    QCOMPARE(s->cmbProfile->itemText(1), QStringLiteral("Clip"));
    QCOMPARE(s->cmbProfile->currentIndex(), -1);
    QCOMPARE(s->btnSaveAs->text(), QStringLiteral("&Save as..."));
    QCOMPARE(s->btnSaveAs->geometry(), QRect(298, 4, 75, 25));
    QCOMPARE(s->ProfileEditor->geometry(), QRect(8, 36, 366, 373));
    QCOMPARE(s->panVideo->text(), QStringLiteral("      Video"));
    QCOMPARE(s->panAudio->text(), QStringLiteral("      Audio"));
    QCOMPARE(s->panAdvanced->text(), QStringLiteral("      Advanced"));
    QCOMPARE(s->btnVideo->text(), QStringLiteral("-"));
    QCOMPARE(s->vleVideo->KeyColumnWidth(), 160);
    QCOMPARE(s->vleVideo->Key(4), QStringLiteral("Aspect"));
    QCOMPARE(s->vleAudio->Key(4), QStringLiteral("Volumn"));
    QCOMPARE(s->vleAdvanced->Key(1), QStringLiteral("Deinterlace"));
    QVERIFY(!s->ProfileEditor->vleOutput);
    f.form->show();
    QTest::mouseClick(f.form->bbtnSetting, Qt::LeftButton);
    QVERIFY(!s->Bevel1->isVisible());
    QVERIFY(!s->memDescription->isVisible());
    // Every control carries its design name.
    for (const char *name : {"panMain", "pgcSetting", "TabSheet1", "TabSheet2", "btnDefault", "btnOK", "btnCancel",
                             "edtOutputDir", "sbtnBrowse", "Label1", "cmbSyn", "Bevel2", "chkOpenDir", "chkExit",
                             "chkTurnoff", "gpbOverWrite", "rdbOverWrite", "rdbRename", "cmbProfile", "btnSaveAs",
                             "ScrollBox1", "vleVideo", "vleAudio", "vleAdvanced", "btnVideo", "Bevel1", "memDescription"})
        QVERIFY2(s->findChild<QWidget *>(QLatin1String(name)), name);
}

void TestSettingForm::enterAndEscPressNothing()
{
    Fixture f;
    QVERIFY(f.show());
    QTest::mouseClick(f.form->tbtnSetting, Qt::LeftButton);
    QVERIFY(Activate(f.s));
    for (QPushButton *b : {f.s->btnOK, f.s->btnCancel, f.s->btnDefault})
        QVERIFY(!b->isDefault() && !b->autoDefault());
    // Tab order: OK, Cancel, Load Default, the pages.
    f.s->btnOK->setFocus();
    QTest::keyClick(f.s->btnOK, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.s->btnCancel);
    QTest::keyClick(f.s->btnCancel, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.s->btnDefault);
    QTest::keyClick(f.s->btnDefault, Qt::Key_Tab);
    QVERIFY(f.s->pgcSetting->isAncestorOf(QApplication::focusWidget()));
    f.s->edtOutputDir->setFocus();
    QTest::keyClick(f.s->edtOutputDir, Qt::Key_Return);
    QTest::keyClick(f.s->edtOutputDir, Qt::Key_Escape);
    QTest::keyClick(f.s->chkExit, Qt::Key_Escape);
    QVERIFY(f.s->isVisible());
    QVERIFY(f.ts.messages.boxes.isEmpty());
    QCOMPARE(f.folder.read(QStringLiteral("Preferences.ini")), QByteArray("[Main]\r\nProfile=1\r\n"));
}

void TestSettingForm::toolbarOpensGeneralPage()
{
    Fixture f;
    QVERIFY(f.show());
    f.form->edtOutputdir->setText(QStringLiteral("/from/main/"));
    f.s->pgcSetting->setCurrentWidget(f.s->TabSheet2);
    QVERIFY(f.form->InputEnabled());
    QTest::mouseClick(f.form->tbtnSetting, Qt::LeftButton);
    QVERIFY(f.s->isVisible());
    QVERIFY(f.s->isWindow());
    QCOMPARE(f.s->pgcSetting->currentWidget(), f.s->TabSheet1);
    QCOMPARE(f.s->edtOutputDir->text(), QStringLiteral("/from/main/"));
    QVERIFY(!f.form->InputEnabled());
    QVERIFY((f.s->frameGeometry().center() - f.form->frameGeometry().center()).manhattanLength() <= 2);
    // The window's close box acts like Cancel.
    f.s->close();
    QVERIFY(!f.s->isVisible());
    QVERIFY(f.form->InputEnabled());
    QTest::mouseClick(f.form->tbtnSetting, Qt::LeftButton);
    QVERIFY(!f.form->InputEnabled());
    QTest::mouseClick(f.s->btnCancel, Qt::LeftButton);
    QVERIFY(f.form->InputEnabled());
    QCOMPARE(f.form->edtOutputdir->text(), QStringLiteral("/from/main/"));
}

void TestSettingForm::browse_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("shown");
    QTest::newRow("folder") << QStringLiteral("/tmp") << QStringLiteral("/tmp/");
    QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("/");
    QTest::newRow("with separator") << QStringLiteral("/tmp/") << QStringLiteral("/tmp/");
    QTest::newRow("cancelled") << QString() << QStringLiteral("/before/");
}

void TestSettingForm::browse()
{
    QFETCH(QString, chosen);
    QFETCH(QString, shown);
    Fixture f;
    QVERIFY(f.show());
    QTest::mouseClick(f.form->tbtnSetting, Qt::LeftButton);
    f.s->edtOutputDir->setText(QStringLiteral("/before/"));
    f.ts.dialogs.folderToSelect = chosen;
    QTest::mouseClick(f.s->sbtnBrowse, Qt::LeftButton);
    QCOMPARE(f.ts.dialogs.lastTitle, QStringLiteral("Select the output directory."));
    QCOMPARE(f.s->edtOutputDir->text(), shown);
    QCOMPARE(f.form->edtOutputdir->text(), f.folder.path());
}

void TestSettingForm::settingButtonOpensMainProfile()
{
    Fixture f;
    QVERIFY(f.show());
    QCOMPARE(f.form->cmbProfile->currentText(), QStringLiteral("Clip"));
    QVERIFY(f.openProfiles());
    QVERIFY(!f.form->InputEnabled());
    QCOMPARE(f.s->pgcSetting->currentWidget(), f.s->TabSheet2);
    QCOMPARE(f.s->cmbProfile->currentIndex(), 1);
    TSettingForm *s = f.s;
    QCOMPARE(s->vleVideo->RowCount(), 2);
    QCOMPARE(Cell(s->vleVideo, QStringLiteral("Video Size")), QStringLiteral("Original Size"));
    QCOMPARE(Cell(s->vleVideo, QStringLiteral("Video Codec")), QStringLiteral("MPEG4"));
    QCOMPARE(s->vleAudio->RowCount(), 2);
    QCOMPARE(Cell(s->vleAudio, QStringLiteral("Locked List")), QStringLiteral("a"));
    QCOMPARE(Cell(s->vleAdvanced, QStringLiteral("Title")), QStringLiteral("hello"));
    QCOMPARE(Cell(s->vleAdvanced, QStringLiteral("Fixed Note")), QStringLiteral("fixed"));
    QVERIFY(s->vleAdvanced->IsReadOnly(s->vleAdvanced->FindRow(QStringLiteral("Fixed Note"))));
    QVERIFY(!s->vleAdvanced->IsReadOnly(s->vleAdvanced->FindRow(QStringLiteral("Title"))));
    QCOMPARE(s->vleVideo->height(), 2 * 18);
    QCOMPARE(s->vleAdvanced->height(), 2 * 18);
    // The editor never opens the custom size dialog, and the profile's type stays the main window's.
    QVERIFY(Choose(s->vleVideo, QStringLiteral("Video Size"), QStringLiteral("Custom Size")));
    QVERIFY(!f.form->SizeForm->isVisible());
    QCOMPARE(f.form->OutputExtension, QStringLiteral(".avi"));
}

void TestSettingForm::settingButtonWithoutProfileKeepsRows()
{
    Fixture f("[Main]\r\nProfile=7\r\n");
    QVERIFY(f.show());
    QCOMPARE(f.form->cmbProfile->currentIndex(), -1);
    QVERIFY(f.openProfiles());
    QCOMPARE(f.s->cmbProfile->currentIndex(), -1);
    // The design rows stay.
    QCOMPARE(f.s->vleVideo->RowCount(), 6);
    QCOMPARE(f.s->vleVideo->Key(0), QStringLiteral("Video Codec"));
    // OK with no profile on either side writes no profile.
    const QByteArray clip = f.read(QStringLiteral("Clip"));
    QTest::mouseClick(f.s->btnOK, Qt::LeftButton);
    QCOMPARE(f.read(QStringLiteral("Clip")), clip);
    QVERIFY(f.ts.messages.boxes.isEmpty());
}

void TestSettingForm::okWritesTheEditorsChoices()
{
    Fixture f;
    QVERIFY(f.show());
    QVERIFY(f.openProfiles());
    TSettingForm *s = f.s;
    QVERIFY(Choose(s->vleVideo, QStringLiteral("Video Size"), QStringLiteral("Custom Size")));
    QVERIFY(Choose(s->vleAudio, QStringLiteral("Audio Codec"), QStringLiteral("mp3")));
    QVERIFY(Choose(s->vleAudio, QStringLiteral("Locked List"), QStringLiteral("b")));
    QVERIFY(Type(s->vleAdvanced, QStringLiteral("Title"), QStringLiteral("My Title")));
    // A read-only free text takes no typing.
    s->vleAdvanced->setFocus();
    s->vleAdvanced->SetCurrentRow(s->vleAdvanced->FindRow(QStringLiteral("Fixed Note")));
    QTest::keyClick(s->vleAdvanced, Qt::Key_F2);
    QVERIFY(!s->vleAdvanced->EditorMode());
    QTest::mouseClick(s->btnOK, Qt::LeftButton);
    QVERIFY(!s->isVisible());
    QVERIFY(f.form->InputEnabled());

    QByteArray expected = ClipProfile();
    expected.replace("Caption=Original Size,Small,Custom Size,\r\nValue=,160x120,,\r\nIndex=0",
                     "Caption=Original Size,Small,Custom Size,\r\nValue=,160x120,,\r\nIndex=2");
    // Equal items: the first position is written.
    expected.replace("Value=mpeg4,mpeg4,libxvid,\r\nIndex=1", "Value=mpeg4,mpeg4,libxvid,\r\nIndex=0");
    expected.replace("Value=aac,libmp3lame,\r\nIndex=0", "Value=aac,libmp3lame,\r\nIndex=1");
    // A free text goes into both Caption and Value; read-only parameters are not written.
    expected.replace("Caption=hello\r\nValue=hello", "Caption=My Title\r\nValue=My Title");
    QCOMPARE(f.read(QStringLiteral("Clip")), expected);
    QCOMPARE(f.form->OutputExtension, QStringLiteral(".avi"));
    QVERIFY(f.ts.messages.boxes.isEmpty());
}

void TestSettingForm::okRefreshesMainPanelOnlyForTheSameProfile()
{
    Fixture f;
    QVERIFY(f.show());
    TValueListEditor *mainAudio = f.form->ProfilePanel->vleAudio;
    TValueListEditor *mainAdvanced = f.form->ProfilePanel->vleAdvanced;

    // Same profile: the main window's unsaved change is replaced by the saved values.
    QVERIFY(f.openProfiles());
    QVERIFY(Choose(f.s->vleAudio, QStringLiteral("Audio Codec"), QStringLiteral("mp3")));
    f.s->btnCancel->click();
    TProfilePanel::SetRowValue(mainAdvanced, QStringLiteral("Title"), QStringLiteral("changed in main"));
    QTest::mouseClick(f.form->tbtnSetting, Qt::LeftButton);
    QTest::mouseClick(f.s->btnOK, Qt::LeftButton);
    QCOMPARE(Cell(mainAudio, QStringLiteral("Audio Codec")), QStringLiteral("mp3"));
    QCOMPARE(Cell(mainAdvanced, QStringLiteral("Title")), QStringLiteral("hello"));

    // Another profile on the page: the main window's panel is left alone.
    TProfilePanel::SetRowValue(mainAdvanced, QStringLiteral("Title"), QStringLiteral("changed in main"));
    QVERIFY(f.openProfiles());
    f.s->cmbProfile->setCurrentIndex(2);
    f.s->cmbProfileChange();
    QCOMPARE(Cell(f.s->vleVideo, QStringLiteral("Video Codec")), QStringLiteral("zeta"));
    QVERIFY(Choose(f.s->vleVideo, QStringLiteral("Video Codec"), QStringLiteral("other")));
    QTest::mouseClick(f.s->btnOK, Qt::LeftButton);
    QVERIFY(f.read(QStringLiteral("Zeta")).contains("Index=1\r\n"));
    QCOMPARE(Cell(mainAdvanced, QStringLiteral("Title")), QStringLiteral("changed in main"));
    QCOMPARE(f.form->cmbProfile->currentText(), QStringLiteral("Clip"));
}

void TestSettingForm::choosingAnotherProfileDropsEdits()
{
    Fixture f;
    QVERIFY(f.show());
    QVERIFY(f.openProfiles());
    const QByteArray clip = f.read(QStringLiteral("Clip"));
    QVERIFY(Choose(f.s->vleAudio, QStringLiteral("Audio Codec"), QStringLiteral("mp3")));
    // Choosing in the page's own list, as the user does.
    f.s->cmbProfile->setFocus();
    QTest::keyClick(f.s->cmbProfile, Qt::Key_Up);
    QCOMPARE(f.s->cmbProfile->currentText(), QStringLiteral("Alpha"));
    QCOMPARE(Cell(f.s->vleVideo, QStringLiteral("Video Codec")), QStringLiteral("alpha"));
    QCOMPARE(f.s->vleAudio->RowCount(), 0);
    QTest::keyClick(f.s->cmbProfile, Qt::Key_Down);
    QCOMPARE(Cell(f.s->vleAudio, QStringLiteral("Audio Codec")), QStringLiteral("aac"));
    QCOMPARE(f.read(QStringLiteral("Clip")), clip);
}

void TestSettingForm::cancelKeepsEditsOnThePage()
{
    Fixture f;
    QVERIFY(f.show());
    QVERIFY(f.openProfiles());
    const QByteArray clip = f.read(QStringLiteral("Clip"));
    QVERIFY(Choose(f.s->vleAudio, QStringLiteral("Audio Codec"), QStringLiteral("mp3")));
    QTest::mouseClick(f.s->btnCancel, Qt::LeftButton);
    QCOMPARE(f.read(QStringLiteral("Clip")), clip);
    // Through the toolbar the page shows what it showed, unsaved edits included.
    QTest::mouseClick(f.form->tbtnSetting, Qt::LeftButton);
    QCOMPARE(Cell(f.s->vleAudio, QStringLiteral("Audio Codec")), QStringLiteral("mp3"));
    QTest::mouseClick(f.s->btnCancel, Qt::LeftButton);
    // Through "&Setting" it reads the main window's profile afresh.
    QVERIFY(f.openProfiles());
    QCOMPARE(Cell(f.s->vleAudio, QStringLiteral("Audio Codec")), QStringLiteral("aac"));
}

void TestSettingForm::saveAsWritesACopy()
{
    Fixture f;
    QVERIFY(f.show());
    QVERIFY(f.openProfiles());
    const QByteArray clip = f.read(QStringLiteral("Clip"));
    QVERIFY(Choose(f.s->vleAudio, QStringLiteral("Audio Codec"), QStringLiteral("mp3")));
    QVERIFY(Type(f.s->vleAdvanced, QStringLiteral("Title"), QStringLiteral("copy")));

    // Cancelled: nothing.
    QTest::mouseClick(f.s->btnSaveAs, Qt::LeftButton);
    QCOMPARE(f.ts.dialogs.lastSaveSuffix, QStringLiteral(".apf"));
    QCOMPARE(f.ts.dialogs.lastFilters.size(), 1);
    QCOMPARE(f.ts.dialogs.lastFilters.first().description, QStringLiteral("Profiles (*.apf)"));
    QCOMPARE(f.ts.dialogs.lastFilters.first().pattern, QStringLiteral("*.apf"));
    QVERIFY(f.ts.dialogs.lastSaveStart.isEmpty());

    // A new file, and an existing one replaced without a question.
    const QString target = f.profile(QStringLiteral("New"));
    f.folder.write(QStringLiteral("Profiles/Old.apf"), "old");
    for (const QString &path : {target, f.profile(QStringLiteral("Old"))}) {
        f.ts.dialogs.fileToSave = path;
        QTest::mouseClick(f.s->btnSaveAs, Qt::LeftButton);
        QCOMPARE(f.ts.dialogs.lastSaveStart, path == target ? QString() : target);
        QByteArray expected = clip;
        expected.replace("Value=aac,libmp3lame,\r\nIndex=0", "Value=aac,libmp3lame,\r\nIndex=1");
        expected.replace("Value=mpeg4,mpeg4,libxvid,\r\nIndex=1", "Value=mpeg4,mpeg4,libxvid,\r\nIndex=0");
        expected.replace("Caption=hello\r\nValue=hello", "Caption=copy\r\nValue=copy");
        QFile copy(path);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), expected);
    }
    QVERIFY(f.ts.messages.boxes.isEmpty());
    // The source is untouched, neither list learns of the copy, the page keeps its profile.
    QCOMPARE(f.read(QStringLiteral("Clip")), clip);
    QCOMPARE(f.s->cmbProfile->count(), 3);
    QCOMPARE(f.form->cmbProfile->count(), 3);
    QCOMPARE(f.s->cmbProfile->currentText(), QStringLiteral("Clip"));
    // OK then saves the same edits into the page's profile.
    QTest::mouseClick(f.s->btnOK, Qt::LeftButton);
    QVERIFY(f.read(QStringLiteral("Clip")).contains("Caption=copy\r\nValue=copy\r\n"));
}

void TestSettingForm::saveAsOntoTheShownProfile()
{
    Fixture f;
    QVERIFY(f.show());
    QVERIFY(f.openProfiles());
    QVERIFY(Choose(f.s->vleAudio, QStringLiteral("Audio Codec"), QStringLiteral("mp3")));
    f.ts.dialogs.fileToSave = f.profile(QStringLiteral("Clip"));
    QTest::mouseClick(f.s->btnSaveAs, Qt::LeftButton);
    const QByteArray clip = f.read(QStringLiteral("Clip"));
    QVERIFY(clip.startsWith("[Main]\r\nType=avi\r\nPara=6\r\n"));
    QVERIFY(clip.contains("Value=aac,libmp3lame,\r\nIndex=1\r\n"));
    QVERIFY(f.ts.messages.boxes.isEmpty());
}

void TestSettingForm::saveAsWithoutProfileWritesNothing()
{
    Fixture f;
    QVERIFY(f.show());
    QTest::mouseClick(f.form->tbtnSetting, Qt::LeftButton);
    QCOMPARE(f.s->cmbProfile->currentIndex(), -1);
    const QString target = f.profile(QStringLiteral("New"));
    f.ts.dialogs.fileToSave = target;
    QTest::mouseClick(f.s->btnSaveAs, Qt::LeftButton);
    QVERIFY(!QFile::exists(target));
    // The shown profile's file removed since: nothing either.
    QVERIFY(f.openProfiles());
    QVERIFY(QFile::remove(f.profile(QStringLiteral("Clip"))));
    QTest::mouseClick(f.s->btnSaveAs, Qt::LeftButton);
    QVERIFY(!QFile::exists(target));
    QTest::mouseClick(f.s->btnOK, Qt::LeftButton);
    QVERIFY(!QFile::exists(f.profile(QStringLiteral("Clip"))));
    QVERIFY(f.ts.messages.boxes.isEmpty());
}

void TestSettingForm::saveAsFailedCopyIsReported()
{
    Fixture f;
    QVERIFY(f.show());
    QVERIFY(f.openProfiles());
    const QByteArray clip = f.read(QStringLiteral("Clip"));
    QVERIFY(Choose(f.s->vleAudio, QStringLiteral("Audio Codec"), QStringLiteral("mp3")));
    // A folder in the target's place cannot take the copy: reported, and nothing is saved anywhere.
    const QString target = f.profile(QStringLiteral("Taken"));
    QVERIFY(QDir(f.folder.profiles()).mkdir(QStringLiteral("Taken.apf")));
    f.ts.dialogs.fileToSave = target;
    QTest::mouseClick(f.s->btnSaveAs, Qt::LeftButton);
    QCOMPARE(f.ts.messages.errors().size(), 1);
    QVERIFY2(f.ts.messages.errors().first().contains(target), qPrintable(f.ts.messages.errors().first()));
    QVERIFY(QFileInfo(target).isDir());
    QCOMPARE(f.read(QStringLiteral("Clip")), clip);
    QCOMPARE(Cell(f.s->vleAudio, QStringLiteral("Audio Codec")), QStringLiteral("mp3"));
}

void TestSettingForm::collapseButtons()
{
    Fixture f;
    QVERIFY(f.show());
    QVERIFY(f.openProfiles());
    QTest::mouseClick(f.s->btnVideo, Qt::LeftButton);
    QCOMPARE(f.s->vleVideo->height(), 1);
    QCOMPARE(f.s->btnVideo->text(), QStringLiteral("+"));
    // Showing the profile again sizes the group, the button keeps its "+".
    f.s->cmbProfileChange();
    QCOMPARE(f.s->vleVideo->height(), 2 * 18);
    QCOMPARE(f.s->btnVideo->text(), QStringLiteral("+"));
    QTest::mouseClick(f.s->btnVideo, Qt::LeftButton);
    QCOMPARE(f.s->vleVideo->height(), 2 * 18 + 1);
    QCOMPARE(f.s->btnVideo->text(), QStringLiteral("-"));
    // A click on the header bar does nothing.
    QTest::mouseDClick(f.s->panAudio, Qt::LeftButton, {}, QPoint(100, 9));
    QCOMPARE(f.s->btnAudio->text(), QStringLiteral("-"));
    QCOMPARE(f.s->vleAudio->height(), 2 * 18);
}

void TestSettingForm::indexOutOfRange()
{
    Fixture f;
    // LF line ends show whether the file was written back.
    const QByteArray broken = "[Main]\nPara=3\n0=First\n1=Second\n2=Third\n[First]\nSort=2\nCaption=x,y,\nIndex=1\n"
                              "[Second]\nSort=2\nCaption=p,q,\nIndex=5\n[Third]\nSort=2\nCaption=u,\nIndex=0\n";
    f.folder.write(QStringLiteral("Profiles/Zeta.apf"), broken);
    QVERIFY(f.show());
    QVERIFY(f.openProfiles());
    f.s->cmbProfile->setFocus();
    QTest::keyClick(f.s->cmbProfile, Qt::Key_Down);
    QCOMPARE(f.s->cmbProfile->currentText(), QStringLiteral("Zeta"));
    QCOMPARE(f.ts.messages.errors(), QStringList{QStringLiteral("List index out of bounds (5)")});
    // The rows so far stay, the rest is not shown, the file is not written back.
    QCOMPARE(f.s->vleAudio->RowCount(), 2);
    QCOMPARE(Cell(f.s->vleAudio, QStringLiteral("First")), QStringLiteral("y"));
    QCOMPARE(f.s->vleAudio->FindRow(QStringLiteral("Third")), -1);
    QCOMPARE(f.read(QStringLiteral("Zeta")), broken);
    // OK then leaves the parameters that were never shown as they are.
    QTest::mouseClick(f.s->btnOK, Qt::LeftButton);
    const QByteArray after = f.read(QStringLiteral("Zeta"));
    QVERIFY2(after.contains("[Third]\r\nSort=2\r\nCaption=u,\r\nIndex=0\r\n"), after.constData());
    QVERIFY(after.contains("[First]\r\nSort=2\r\nCaption=x,y,\r\nIndex=1\r\n"));
}

void TestSettingForm::unreadableProfileOnOk()
{
    Fixture f;
    QVERIFY(f.show());
    QVERIFY(f.openProfiles());
    QVERIFY(QFile::remove(f.profile(QStringLiteral("Clip"))));
    QVERIFY(QDir(f.folder.profiles()).mkdir(QStringLiteral("Clip.apf")));
    QTest::mouseClick(f.s->btnOK, Qt::LeftButton);
    QCOMPARE(f.ts.messages.errors().size(), 1);
    QVERIFY2(f.ts.messages.errors().first().contains(f.profile(QStringLiteral("Clip"))),
             qPrintable(f.ts.messages.errors().first()));
    // The General settings were saved before; the dialog stays open and the program goes on.
    QVERIFY(f.folder.read(QStringLiteral("Preferences.ini")).contains("Overwrite=1"));
    QVERIFY(f.s->isVisible());
    QTest::mouseClick(f.s->btnCancel, Qt::LeftButton);
    QVERIFY(f.form->InputEnabled());
    // Save as from it fails the same way and leaves no copy.
    const QString target = f.profile(QStringLiteral("New"));
    f.ts.dialogs.fileToSave = target;
    QVERIFY(f.openProfiles());
    QTest::mouseClick(f.s->btnSaveAs, Qt::LeftButton);
    QCOMPARE(f.ts.messages.errors().size(), 2);
    QVERIFY(!QFile::exists(target));
}

TESSIVO_TEST_MAIN(TestSettingForm)
#include "tst_settingform.moc"
