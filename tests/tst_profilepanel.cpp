#include "app/TApplication.h"
#include "app/TMainForm.h"
#include "platform/TValueListEditor.h"
#include "platform/TessivoError.h"
#include "profiles/TProfilePanel.h"
#include "profiles/TSizeForm.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/TestApp.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>

namespace {

// One parameter section of a fixture profile.
struct Param
{
    QString name;
    QString sort;          // empty: no Sort key
    QString list = QStringLiteral("1");
    QString readOnly = QStringLiteral("0");
    QString caption;
    QString index;         // empty: no Index key
};

QByteArray ProfileText(const QString &type, const QList<Param> &params)
{
    QString text = QStringLiteral("[Main]\n");
    if (!type.isNull())
        text += QStringLiteral("Type=%1\n").arg(type);
    text += QStringLiteral("Para=%1\n").arg(params.size());
    for (int i = 0; i < params.size(); ++i)
        text += QStringLiteral("%1=%2\n").arg(i).arg(params.at(i).name);
    for (const Param &p : params) {
        text += QStringLiteral("[%1]\n").arg(p.name);
        if (!p.sort.isEmpty())
            text += QStringLiteral("Sort=%1\n").arg(p.sort);
        text += QStringLiteral("List=%1\nReadOnly=%2\ncmd=-x\nCaption=%3\nValue=%3\n").arg(p.list, p.readOnly, p.caption);
        if (!p.index.isEmpty())
            text += QStringLiteral("Index=%1\n").arg(p.index);
    }
    return text.toUtf8();
}

// A profile with parameters in all three groups.
QList<Param> FullProfile()
{
    return {
        {QStringLiteral("Video Codec"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("0"),
         QStringLiteral("H.264,MPEG-4,"), QStringLiteral("1")},
        {QStringLiteral("Video Size"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("0"),
         QStringLiteral("Original Size,320x240,Custom Size,"), QStringLiteral("0")},
        {QStringLiteral("Audio Codec"), QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("1"),
         QStringLiteral("AAC,MP3,"), QString()},
        {QStringLiteral("Sample Rate"), QStringLiteral("2"), QStringLiteral("0"), QStringLiteral("1"),
         QStringLiteral("44100"), QString()},
        {QStringLiteral("Bit Rate"), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("0"),
         QStringLiteral("800k"), QString()},
        {QStringLiteral("Deinterlace"), QStringLiteral("3"), QStringLiteral("0"), QStringLiteral("0"),
         QStringLiteral("yadif"), QString()},
    };
}

QStringList Keys(const TValueListEditor *group)
{
    QStringList keys;
    for (int i = 0; i < group->RowCount(); ++i)
        keys << group->Key(i);
    return keys;
}

QList<QColor> CellPixels(TValueListEditor *grid, int row, int column)
{
    const QRect r = grid->visualRect(grid->model()->index(row, column)).adjusted(1, 1, -2, -2);
    const QImage image = grid->viewport()->grab().toImage();
    QList<QColor> colours;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            colours << image.pixelColor(x, y);
    return colours;
}

// Routes the top-level error box to a test's double for as long as it lives.
struct ErrorBoxRoute
{
    explicit ErrorBoxRoute(IMessages &messages) { static_cast<TApplication *>(qApp)->setMessages(messages); }
    ~ErrorBoxRoute() { static_cast<TApplication *>(qApp)->setMessages(fallback); }
    static inline RecordingMessages fallback;
};

} // namespace

class TestProfilePanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void designRowsBeforeAnyProfile();
    void showProfileFillsGroups();
    void showProfileKeepsOutputGroupAndRewritesFile();
    void emptyGroupShowsOneRowHigh();
    void missingFileChangesNothing();
    void outputExtension_data();
    void outputExtension();
    void sortFallback_data();
    void sortFallback();
    void indexOutOfRange();
    void indexOutOfRangeFromMainWindow();
    void rowValueAndSetRowValue();
    void toggleGroup();
    void toggleAfterShowProfile();
    void headerDoubleClickToggles();
    void readOnlyRowsSilver();
    void pressMovesFocusMark();
    void customSizeWhenShown_data();
    void customSizeWhenShown();
    void customSizeFromDropDown();
    void profileEditorKind();
    void mainWindowChoosesProfile();
};

void TestProfilePanel::designRowsBeforeAnyProfile()
{
    TProfilePanel panel(TProfilePanel::Kind::DetailPanel);
    QCOMPARE(Keys(panel.vleOutput), QStringList({"New Filename", "Start Time", "End Time"}));
    QCOMPARE(Keys(panel.vleVideo),
             QStringList({"Video Codec", "Video Size", "Bit Rate", "Frame Rate", "Aspect", "Disable Video"}));
    QCOMPARE(Keys(panel.vleAudio),
             QStringList({"Audio Codec", "Audio Bitrate", "Sample Rate", "Channels", "Volumn", "Disable Audio"}));
    QCOMPARE(Keys(panel.vleAdvanced), QStringList({"Bit Exact Algorithms", "Deinterlace"}));
    QCOMPARE(panel.vleOutput->height(), 54);
    QCOMPARE(panel.vleVideo->height(), 108);
    QCOMPARE(panel.vleAudio->height(), 108);
    QCOMPARE(panel.vleAdvanced->height(), 36);
    QCOMPARE(panel.panOutput->text(), QStringLiteral("      Output"));
    QCOMPARE(panel.panAdvanced->text(), QStringLiteral("      Advanced"));
    QCOMPARE(panel.panVideo->height(), 18);
    QVERIFY(panel.panVideo->font().bold());
    QCOMPARE(panel.btnAudio->text(), QStringLiteral("-"));
    QCOMPARE(panel.btnAudio->geometry(), QRect(5, 3, 12, 12));
    QCOMPARE(panel.btnAudio->font().pixelSize(), 16);
    QCOMPARE(panel.vleVideo->KeyColumnWidth(), 95);
    QVERIFY(!panel.vleOutput->SilverReadOnlyText());
    QVERIFY(panel.vleVideo->SilverReadOnlyText());
    QCOMPARE(panel.OutputExtension(), QString());
    QCOMPARE(panel.ScrollBox1->objectName(), QStringLiteral("ScrollBox1"));
}

void TestProfilePanel::showProfileFillsGroups()
{
    ProgramFolder folder(ProgramFolder::Transcoder::None);
    const QString path = folder.write(QStringLiteral("Profiles/Full.apf"), ProfileText(QStringLiteral("avi"), FullProfile()));
    TProfilePanel panel(TProfilePanel::Kind::DetailPanel);
    QSignalSpy extension(&panel, &TProfilePanel::OutputExtensionChanged);
    QVERIFY(panel.ShowProfile(path));

    QCOMPARE(Keys(panel.vleVideo), QStringList({"Video Codec", "Video Size", "Bit Rate"}));
    QCOMPARE(Keys(panel.vleAudio), QStringList({"Audio Codec", "Sample Rate"}));
    QCOMPARE(Keys(panel.vleAdvanced), QStringList({"Deinterlace"}));

    TValueListEditor *video = panel.vleVideo;
    QCOMPARE(video->Value(0), QStringLiteral("MPEG-4"));
    QCOMPARE(video->PickList(0), QStringList({"H.264", "MPEG-4"}));
    QCOMPARE(video->EditStyle(0), PanelRow::EditStyle::PickList);
    QVERIFY(video->IsReadOnly(0));   // every pick list is read-only
    QCOMPARE(video->Value(1), QStringLiteral("Original Size"));
    QCOMPARE(video->Value(2), QStringLiteral("800k"));
    QCOMPARE(video->EditStyle(2), PanelRow::EditStyle::Simple);
    QVERIFY(!video->IsReadOnly(2));
    QVERIFY(video->PickList(2).isEmpty());

    QCOMPARE(panel.vleAudio->Value(0), QStringLiteral("AAC"));   // Index missing: 0
    QCOMPARE(panel.vleAudio->Value(1), QStringLiteral("44100"));
    QVERIFY(panel.vleAudio->IsReadOnly(1));
    QCOMPARE(panel.vleAudio->EditStyle(1), PanelRow::EditStyle::Simple);

    QCOMPARE(video->height(), 3 * 18);
    QCOMPARE(panel.vleAudio->height(), 2 * 18);
    QCOMPARE(panel.vleAdvanced->height(), 18);
    for (TValueListEditor *group : {panel.vleVideo, panel.vleAudio, panel.vleAdvanced})
        QCOMPARE(group->CurrentRow(), 0);
    QCOMPARE(panel.OutputExtension(), QStringLiteral(".avi"));
    QCOMPARE(extension.count(), 1);
    QCOMPARE(extension.at(0).at(0).toString(), QStringLiteral(".avi"));
}

void TestProfilePanel::showProfileKeepsOutputGroupAndRewritesFile()
{
    ProgramFolder folder(ProgramFolder::Transcoder::None);
    const QString path = folder.write(QStringLiteral("Profiles/Full.apf"), ProfileText(QStringLiteral("mp4"), FullProfile()));
    TProfilePanel panel(TProfilePanel::Kind::DetailPanel);
    TProfilePanel::SetRowValue(panel.vleOutput, QStringLiteral("New Filename"), QStringLiteral("clip.mp4"));
    QVERIFY(panel.ShowProfile(path));
    QCOMPARE(TProfilePanel::RowValue(panel.vleOutput, QStringLiteral("New Filename")), QStringLiteral("clip.mp4"));
    QCOMPARE(panel.vleOutput->RowCount(), 3);
    // The file is closed through the INI object: same content, CR LF line breaks.
    QCOMPARE(folder.read(QStringLiteral("Profiles/Full.apf")),
             ProfileText(QStringLiteral("mp4"), FullProfile()).replace("\n", "\r\n"));
}

void TestProfilePanel::emptyGroupShowsOneRowHigh()
{
    ProgramFolder folder(ProgramFolder::Transcoder::None);
    QList<Param> noAdvanced = FullProfile();
    noAdvanced.removeLast();
    const QString a = folder.write(QStringLiteral("Profiles/A.apf"), ProfileText(QStringLiteral("mp4"), noAdvanced));
    const QString b = folder.write(QStringLiteral("Profiles/B.apf"), ProfileText(QStringLiteral("mp4"), FullProfile()));
    TProfilePanel panel(TProfilePanel::Kind::DetailPanel);
    QVERIFY(panel.ShowProfile(a));
    QCOMPARE(panel.vleAdvanced->RowCount(), 0);
    QCOMPARE(panel.vleAdvanced->model()->rowCount(), 1);
    QCOMPARE(panel.vleAdvanced->height(), 18);
    QVERIFY(panel.ShowProfile(a));
    QCOMPARE(panel.vleAdvanced->height(), 18);
    QVERIFY(panel.ShowProfile(b));
    QCOMPARE(Keys(panel.vleAdvanced), QStringList({"Deinterlace"}));
}

void TestProfilePanel::missingFileChangesNothing()
{
    ProgramFolder folder(ProgramFolder::Transcoder::None);
    const QString path = folder.write(QStringLiteral("Profiles/Full.apf"), ProfileText(QStringLiteral("mkv"), FullProfile()));
    TProfilePanel panel(TProfilePanel::Kind::DetailPanel);
    QVERIFY(panel.ShowProfile(path));
    panel.vleVideo->SetValue(2, QStringLiteral("1200k"));
    QVERIFY(QFile::remove(path));
    QVERIFY(!panel.ShowProfile(path));
    QCOMPARE(panel.vleVideo->Value(2), QStringLiteral("1200k"));
    QCOMPARE(panel.OutputExtension(), QStringLiteral(".mkv"));
    QVERIFY(!QFile::exists(path));
}

void TestProfilePanel::outputExtension_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("extension");
    QTest::newRow("webm") << QStringLiteral("webm") << QStringLiteral(".webm");
    QTest::newRow("missing Type") << QString() << QStringLiteral(".mp4");
    QTest::newRow("empty Type") << QStringLiteral("") << QStringLiteral(".");
}

void TestProfilePanel::outputExtension()
{
    QFETCH(QString, type);
    QFETCH(QString, extension);
    ProgramFolder folder(ProgramFolder::Transcoder::None);
    const QString path = folder.write(QStringLiteral("Profiles/T.apf"), ProfileText(type, FullProfile()));
    TProfilePanel panel(TProfilePanel::Kind::DetailPanel);
    QVERIFY(panel.ShowProfile(path));
    QCOMPARE(panel.OutputExtension(), extension);
}

void TestProfilePanel::sortFallback_data()
{
    QTest::addColumn<QString>("firstSort");
    QTest::addColumn<QString>("thirdSort");
    QTest::addColumn<QStringList>("video");
    QTest::addColumn<QStringList>("audio");
    QTest::addColumn<QStringList>("advanced");
    // Parameters: First, Second (Sort 2), Third.
    QTest::newRow("first without Sort goes to Advanced")
        << QString() << QStringLiteral("1") << QStringList{"Third"} << QStringList{"Second"} << QStringList{"First"};
    QTest::newRow("first with Sort 0 goes to Advanced")
        << QStringLiteral("0") << QStringLiteral("1") << QStringList{"Third"} << QStringList{"Second"}
        << QStringList{"First"};
    QTest::newRow("later Sort 7 keeps the group before")
        << QStringLiteral("1") << QStringLiteral("7") << QStringList{"First"} << QStringList{"Second", "Third"}
        << QStringList{};
}

void TestProfilePanel::sortFallback()
{
    QFETCH(QString, firstSort);
    QFETCH(QString, thirdSort);
    QFETCH(QStringList, video);
    QFETCH(QStringList, audio);
    QFETCH(QStringList, advanced);
    ProgramFolder folder(ProgramFolder::Transcoder::None);
    const QList<Param> params{
        {QStringLiteral("First"), firstSort, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("a"), QString()},
        {QStringLiteral("Second"), QStringLiteral("2"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("b"), QString()},
        {QStringLiteral("Third"), thirdSort, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("c"), QString()},
    };
    const QString path = folder.write(QStringLiteral("Profiles/S.apf"), ProfileText(QStringLiteral("mp4"), params));
    TProfilePanel panel(TProfilePanel::Kind::DetailPanel);
    QVERIFY(panel.ShowProfile(path));
    QCOMPARE(Keys(panel.vleVideo), video);
    QCOMPARE(Keys(panel.vleAudio), audio);
    QCOMPARE(Keys(panel.vleAdvanced), advanced);
}

void TestProfilePanel::indexOutOfRange()
{
    ProgramFolder folder(ProgramFolder::Transcoder::None);
    QList<Param> params = FullProfile();
    params[2].index = QStringLiteral("5");   // Audio Codec has two items
    const QByteArray text = ProfileText(QStringLiteral("avi"), params);
    const QString path = folder.write(QStringLiteral("Profiles/Bad.apf"), text);
    TProfilePanel panel(TProfilePanel::Kind::DetailPanel);
    try {
        panel.ShowProfile(path);
        QFAIL("no error");
    } catch (const EListError &e) {
        QCOMPARE(e.message(), QStringLiteral("List index out of bounds (5)"));
    }
    // The rows appended so far stay; the rest is not shown; heights and file untouched.
    QCOMPARE(Keys(panel.vleVideo), QStringList({"Video Codec", "Video Size"}));
    QCOMPARE(Keys(panel.vleAudio), QStringList({"Audio Codec"}));
    QCOMPARE(panel.vleAdvanced->RowCount(), 0);
    QCOMPARE(panel.vleVideo->height(), 108);
    QCOMPARE(panel.vleAudio->height(), 108);
    QCOMPARE(folder.read(QStringLiteral("Profiles/Bad.apf")), text);
    QCOMPARE(panel.OutputExtension(), QStringLiteral(".avi"));

    // A negative Index and an empty Caption fail the same way.
    params[2].index = QStringLiteral("-1");
    folder.write(QStringLiteral("Profiles/Bad.apf"), ProfileText(QStringLiteral("avi"), params));
    QVERIFY_THROWS_EXCEPTION(EListError, panel.ShowProfile(path));
    params[2].index = QString();
    params[2].caption = QStringLiteral("AAC");   // no comma: no items
    folder.write(QStringLiteral("Profiles/Bad.apf"), ProfileText(QStringLiteral("avi"), params));
    QVERIFY_THROWS_EXCEPTION(EListError, panel.ShowProfile(path));
}

void TestProfilePanel::indexOutOfRangeFromMainWindow()
{
    ProgramFolder folder(ProgramFolder::Transcoder::None);
    QList<Param> params = FullProfile();
    params[0].index = QStringLiteral("2");
    folder.write(QStringLiteral("Profiles/Bad.apf"), ProfileText(QStringLiteral("avi"), params));
    TestServices ts;
    ErrorBoxRoute route(ts.messages);
    TMainForm form(folder.path(), ts.services, {});
    form.cmbProfile->setFocus();
    QTest::keyClick(form.cmbProfile, Qt::Key_Down);
    QCOMPARE(form.cmbProfile->currentText(), QStringLiteral("Bad"));
    QCOMPARE(ts.messages.errors(), QStringList{QStringLiteral("List index out of bounds (2)")});
    QCOMPARE(Keys(form.ProfilePanel->vleVideo), QStringList({"Video Codec"}));
    QCOMPARE(form.OutputExtension, QStringLiteral(".avi"));
}

void TestProfilePanel::rowValueAndSetRowValue()
{
    TProfilePanel panel(TProfilePanel::Kind::DetailPanel);
    TValueListEditor *video = panel.vleVideo;
    TProfilePanel::SetRowValue(video, QStringLiteral("video SIZE"), QStringLiteral("640x480"));
    QCOMPARE(video->Value(1), QStringLiteral("640x480"));
    QCOMPARE(TProfilePanel::RowValue(video, QStringLiteral("VIDEO size")), QStringLiteral("640x480"));
    QCOMPARE(TProfilePanel::RowValue(video, QStringLiteral("Nothing")), QString());
    QCOMPARE(video->RowCount(), 6);
    TProfilePanel::SetRowValue(video, QStringLiteral("Pass"), QStringLiteral("2"));
    QCOMPARE(video->RowCount(), 7);
    QCOMPARE(video->Key(6), QStringLiteral("Pass"));
    QCOMPARE(video->Value(6), QStringLiteral("2"));
}

void TestProfilePanel::toggleGroup()
{
    TProfilePanel panel(TProfilePanel::Kind::DetailPanel);
    panel.show();
    QTest::mouseClick(panel.btnVideo, Qt::LeftButton);
    QCOMPARE(panel.btnVideo->text(), QStringLiteral("+"));
    QCOMPARE(panel.vleVideo->height(), 1);
    // The groups below move up with it.
    QTRY_COMPARE(panel.panAudio->y(), panel.vleVideo->y() + 1);
    QTest::mouseClick(panel.btnVideo, Qt::LeftButton);
    QCOMPARE(panel.btnVideo->text(), QStringLiteral("-"));
    QCOMPARE(panel.vleVideo->height(), 6 * 17 + 6 + 1);

    QTest::mouseClick(panel.btnOutput, Qt::LeftButton);
    QCOMPARE(panel.vleOutput->height(), 1);
    QTest::mouseClick(panel.btnOutput, Qt::LeftButton);
    QCOMPARE(panel.vleOutput->height(), 3 * 18 + 1);
}

void TestProfilePanel::toggleAfterShowProfile()
{
    ProgramFolder folder(ProgramFolder::Transcoder::None);
    const QString path = folder.write(QStringLiteral("Profiles/Full.apf"), ProfileText(QStringLiteral("mp4"), FullProfile()));
    TProfilePanel panel(TProfilePanel::Kind::DetailPanel);
    panel.btnVideoClick();
    QVERIFY(panel.ShowProfile(path));
    QCOMPARE(panel.vleVideo->height(), 3 * 18);
    QCOMPARE(panel.btnVideo->text(), QStringLiteral("+"));
    panel.btnVideoClick();
    QCOMPARE(panel.vleVideo->height(), 3 * 18 + 1);
    QCOMPARE(panel.btnVideo->text(), QStringLiteral("-"));
}

void TestProfilePanel::headerDoubleClickToggles()
{
    TProfilePanel panel(TProfilePanel::Kind::DetailPanel);
    panel.show();
    QTest::mouseDClick(panel.panAudio, Qt::LeftButton, {}, QPoint(80, 9));
    QCOMPARE(panel.btnAudio->text(), QStringLiteral("+"));
    QCOMPARE(panel.vleAudio->height(), 1);
    QTest::mouseDClick(panel.panAudio, Qt::LeftButton, {}, QPoint(80, 9));
    QCOMPARE(panel.vleAudio->height(), 6 * 18 + 1);
    // A single click on the bar does nothing.
    QTest::mouseClick(panel.panAdvanced, Qt::LeftButton, {}, QPoint(80, 9));
    QCOMPARE(panel.btnAdvanced->text(), QStringLiteral("-"));
}

void TestProfilePanel::readOnlyRowsSilver()
{
    ProgramFolder folder(ProgramFolder::Transcoder::None);
    const QString path = folder.write(QStringLiteral("Profiles/Full.apf"), ProfileText(QStringLiteral("mp4"), FullProfile()));
    TProfilePanel panel(TProfilePanel::Kind::DetailPanel);
    panel.resize(220, 500);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QVERIFY(panel.ShowProfile(path));
    auto darkest = [](const QList<QColor> &pixels) {
        int v = 255;
        for (const QColor &c : pixels)
            v = std::min(v, c.value());
        return v;
    };
    // Audio: "Audio Codec" is a read-only pick list (black), "Sample Rate" read-only free text (silver).
    QVERIFY(darkest(CellPixels(panel.vleAudio, 1, 1)) >= 192);
    QVERIFY(CellPixels(panel.vleAudio, 1, 1).contains(QColor(192, 192, 192)));
    QVERIFY(darkest(CellPixels(panel.vleAudio, 0, 1)) < 100);
    QVERIFY(darkest(CellPixels(panel.vleVideo, 2, 1)) < 100);
}

void TestProfilePanel::pressMovesFocusMark()
{
    TProfilePanel panel(TProfilePanel::Kind::DetailPanel);
    panel.resize(220, 500);
    panel.show();
    panel.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&panel));
    const QColor blue(49, 106, 197);
    auto keyCell = [](TValueListEditor *grid) {
        const QRect r = grid->visualRect(grid->model()->index(grid->CurrentRow(), 0));
        return grid->viewport()->grab().toImage().pixelColor(r.right() - 3, r.top() + 2);
    };
    auto pressKey = [](TValueListEditor *grid, int row) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(row, 0)).center());
    };
    pressKey(panel.vleAudio, 0);
    QTRY_VERIFY(panel.vleAudio->hasFocus());
    QCOMPARE(keyCell(panel.vleAudio), blue);
    pressKey(panel.vleVideo, 0);
    QTRY_VERIFY(panel.vleVideo->hasFocus());
    QCOMPARE(keyCell(panel.vleVideo), blue);
    QCOMPARE(keyCell(panel.vleAudio), panel.vleAudio->palette().color(QPalette::Base));
}

void TestProfilePanel::customSizeWhenShown_data()
{
    QTest::addColumn<bool>("sizeFirst");
    QTest::addColumn<int>("requests");
    QTest::newRow("Video Size is the current row") << true << 1;
    QTest::newRow("Video Size is not the current row") << false << 0;
}

void TestProfilePanel::customSizeWhenShown()
{
    QFETCH(bool, sizeFirst);
    QFETCH(int, requests);
    ProgramFolder folder(ProgramFolder::Transcoder::None);
    QList<Param> params = FullProfile();
    params[1].index = QStringLiteral("2");   // Custom Size
    if (sizeFirst)
        params.swapItemsAt(0, 1);
    const QString path = folder.write(QStringLiteral("Profiles/C.apf"), ProfileText(QStringLiteral("mp4"), params));
    TProfilePanel panel(TProfilePanel::Kind::DetailPanel);
    QSignalSpy spy(&panel, &TProfilePanel::CustomSizeRequested);
    QVERIFY(panel.ShowProfile(path));
    // Every later change of the group asks again while the row reads "Custom Size"; showing an
    // open dialog again changes nothing.
    QCOMPARE(spy.count() > 0, requests > 0);

    // In the main window the request opens the size dialog and takes the window's input.
    TestServices ts;
    TMainForm form(folder.path(), ts.services, {});
    form.ProfilePanel->ShowProfile(path);
    QCOMPARE(form.SizeForm->isVisible(), requests > 0);
    QCOMPARE(form.InputEnabled(), requests == 0);
    if (requests) {
        form.SizeForm->close();
        QCOMPARE(TProfilePanel::RowValue(form.ProfilePanel->vleVideo, QStringLiteral("Video Size")),
                 QStringLiteral("Original Size"));
        QVERIFY(form.InputEnabled());
    }
}

void TestProfilePanel::customSizeFromDropDown()
{
    ProgramFolder folder(ProgramFolder::Transcoder::None);
    const QString path = folder.write(QStringLiteral("Profiles/Full.apf"), ProfileText(QStringLiteral("mp4"), FullProfile()));
    TestServices ts;
    TMainForm form(folder.path(), ts.services, {});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.ProfilePanel->ShowProfile(path));
    TValueListEditor *video = form.ProfilePanel->vleVideo;
    QCOMPARE(video->CurrentRow(), 0);
    QVERIFY(!form.SizeForm->isVisible());

    // Choosing another item does nothing special.
    QVERIFY(video->OpenDropDown(1));
    QComboBox *list = video->DropDown();
    QVERIFY(list);
    QTRY_VERIFY(list->view()->isVisible());
    QTest::keyClick(list->view(), Qt::Key_Down);
    QTest::keyClick(list->view(), Qt::Key_Return);
    QCOMPARE(video->Value(1), QStringLiteral("320x240"));
    QVERIFY(!form.SizeForm->isVisible());

    // Opening the list on the first row's neighbour makes it current; "Custom Size" opens the dialog.
    video->SetCurrentRow(0);
    QVERIFY(video->OpenDropDown(1));
    list = video->DropDown();
    QTRY_VERIFY(list->view()->isVisible());
    QTest::keyClick(list->view(), Qt::Key_Down);
    QTest::keyClick(list->view(), Qt::Key_Return);
    QCOMPARE(video->Value(1), QStringLiteral("Custom Size"));
    QVERIFY(form.SizeForm->isVisible());
    QVERIFY(!form.InputEnabled());
    QTest::mouseClick(form.SizeForm->btnCancel, Qt::LeftButton);
    QVERIFY(!form.SizeForm->isVisible());
    QCOMPARE(video->Value(1), QStringLiteral("Original Size"));
    QVERIFY(form.InputEnabled());
}

void TestProfilePanel::profileEditorKind()
{
    ProgramFolder folder(ProgramFolder::Transcoder::None);
    QList<Param> params = FullProfile();
    params[1].index = QStringLiteral("2");
    params.swapItemsAt(0, 1);
    const QString path = folder.write(QStringLiteral("Profiles/C.apf"), ProfileText(QStringLiteral("avi"), params));
    TProfilePanel panel(TProfilePanel::Kind::ProfileEditor);
    panel.resize(366, 373);
    panel.show();
    QVERIFY(!panel.vleOutput);
    QVERIFY(!panel.panOutput);
    QCOMPARE(panel.vleVideo->KeyColumnWidth(), 160);
    QSignalSpy sizes(&panel, &TProfilePanel::CustomSizeRequested);
    QSignalSpy extensions(&panel, &TProfilePanel::OutputExtensionChanged);
    QVERIFY(panel.ShowProfile(path));
    QCOMPARE(panel.vleVideo->Value(0), QStringLiteral("Custom Size"));
    QCOMPARE(sizes.count(), 0);
    QCOMPARE(extensions.count(), 0);
    QCOMPARE(panel.OutputExtension(), QString());
    // Only the button collapses here.
    QTest::mouseDClick(panel.panVideo, Qt::LeftButton, {}, QPoint(80, 9));
    QCOMPARE(panel.btnVideo->text(), QStringLiteral("-"));
    panel.btnVideoClick();
    QCOMPARE(panel.vleVideo->height(), 1);
    QTRY_VERIFY(panel.vleVideo->ValueColumnWidth() > 100);
}

void TestProfilePanel::mainWindowChoosesProfile()
{
    ProgramFolder folder(ProgramFolder::Transcoder::None);
    folder.write(QStringLiteral("Profiles/Full.apf"), ProfileText(QStringLiteral("mkv"), FullProfile()));
    TestServices ts;
    TMainForm form(folder.path(), ts.services, {});
    QCOMPARE(form.gpbProfile->layout()->indexOf(form.ProfilePanel), 0);
    QCOMPARE(form.OutputExtension, QString());
    form.cmbProfile->setCurrentIndex(0);
    form.cmbProfileChange();
    QCOMPARE(form.OutputExtension, QStringLiteral(".mkv"));
    QCOMPARE(Keys(form.ProfilePanel->vleVideo), QStringList({"Video Codec", "Video Size", "Bit Rate"}));

    // A profile removed since start-up leaves everything as it was.
    form.ProfilePanel->vleVideo->SetValue(2, QStringLiteral("999k"));
    QVERIFY(QFile::remove(folder.profiles() + QStringLiteral("Full.apf")));
    form.cmbProfileChange();
    QCOMPARE(form.ProfilePanel->vleVideo->Value(2), QStringLiteral("999k"));
    QCOMPARE(form.OutputExtension, QStringLiteral(".mkv"));
}

TESSIVO_TEST_MAIN(TestProfilePanel)
#include "tst_profilepanel.moc"
