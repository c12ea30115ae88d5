#include "app/TMainForm.h"
#include "platform/TValueListEditor.h"
#include "profiles/TProfilePanel.h"
#include "profiles/TSizeForm.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/TestApp.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

namespace {

// "Video Size" first in the Video group, stored on "Custom Size": showing it opens the dialog.
const QByteArray CustomProfile = "[Main]\r\nType=mp4\r\nPara=2\r\n0=Video Size\r\n1=Video Codec\r\n"
                                 "[Video Size]\r\nSort=1\r\nList=1\r\nCaption=Original Size,Custom Size,\r\n"
                                 "Value=,,\r\nIndex=1\r\n"
                                 "[Video Codec]\r\nSort=1\r\nList=1\r\nCaption=H.264,\r\nValue=libx264,\r\nIndex=0\r\n";

struct Fixture
{
    ProgramFolder folder{ProgramFolder::Transcoder::None};
    TestServices ts;
    std::unique_ptr<TMainForm> form;
    QString path;

    Fixture()
    {
        path = folder.write(QStringLiteral("Profiles/Custom.apf"), CustomProfile);
        // No stored profile: showing the window shows none, so the dialog stays closed.
        folder.write(QStringLiteral("Preferences.ini"), "[Main]\r\nProfile=-1\r\n");
        form = std::make_unique<TMainForm>(folder.path(), ts.services, QStringList{});
    }
    TSizeForm *dialog() const { return form->SizeForm; }
    QString videoSize() const
    {
        return TProfilePanel::RowValue(form->ProfilePanel->vleVideo, QStringLiteral("Video Size"));
    }
    // Chooses "Custom Size" the way a shown profile does.
    void open() const
    {
        form->ProfilePanel->ShowProfile(path);
    }
};

} // namespace

class TestSizeForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout();
    void openingTakesMainWindowInput();
    void ok_data();
    void ok();
    void cancelAndCloseBoxGiveOriginalSize_data();
    void cancelAndCloseBoxGiveOriginalSize();
    void textsKeptBetweenOpenings();
    void enterAndEscPressNoButton();
};

void TestSizeForm::layout()
{
    Fixture f;
    TSizeForm *d = f.dialog();
    QCOMPARE(d->windowTitle(), QStringLiteral("Video Size of output files"));
    QCOMPARE(d->size(), QSize(336, 106));
    QCOMPARE(d->minimumSize(), d->maximumSize());
    QCOMPARE(d->Label1->text(), QStringLiteral("Width:"));
    QCOMPARE(d->Label1->pos(), QPoint(19, 24));
    QCOMPARE(d->Label2->text(), QStringLiteral("Height:"));
    QCOMPARE(d->Label2->pos(), QPoint(176, 24));
    QCOMPARE(d->edtWidth->geometry(), QRect(56, 20, 81, 21));
    QCOMPARE(d->edtHeight->geometry(), QRect(216, 20, 97, 21));
    QCOMPARE(d->btnOK->text(), QStringLiteral("&OK"));
    QCOMPARE(d->btnOK->geometry(), QRect(160, 64, 75, 25));
    QCOMPARE(d->btnCancel->text(), QStringLiteral("&Cancel"));
    QCOMPARE(d->btnCancel->geometry(), QRect(248, 64, 75, 25));
    QVERIFY(!d->btnOK->isDefault() && !d->btnOK->autoDefault());
    QVERIFY(!d->btnCancel->isDefault() && !d->btnCancel->autoDefault());
    QVERIFY(d->edtWidth->text().isEmpty() && d->edtHeight->text().isEmpty());
    QList<QWidget *> tabOrder;
    QWidget *w = d->edtWidth;
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            tabOrder << w;
        w = w->nextInFocusChain();
    } while (w != d->edtWidth);
    QCOMPARE(tabOrder, QList<QWidget *>({d->edtWidth, d->edtHeight, d->btnOK, d->btnCancel}));
    QVERIFY(!d->isVisible());
}

void TestSizeForm::openingTakesMainWindowInput()
{
    Fixture f;
    f.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
    QVERIFY(f.form->InputEnabled());
    f.open();
    QVERIFY(f.dialog()->isVisible());
    QVERIFY(f.dialog()->isEnabled());
    QVERIFY(!f.form->InputEnabled());
    QVERIFY(!f.form->cmbProfile->isEnabled());
    QCOMPARE(f.videoSize(), QStringLiteral("Custom Size"));
    QTest::mouseClick(f.dialog()->btnCancel, Qt::LeftButton);
    QVERIFY(f.form->InputEnabled());
}

void TestSizeForm::ok_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("caption");   // empty: accepted
    QTest::addColumn<QString>("row");
    const QString width = QStringLiteral("Incorrect Width");
    const QString height = QStringLiteral("Incorrect Height");
    const QString custom = QStringLiteral("Custom Size");
    QTest::newRow("640 480") << "640" << "480" << QString() << "640x480";
    QTest::newRow("leading blank kept") << " 640" << "480" << QString() << " 640x480";
    QTest::newRow("hexadecimal kept as typed") << "$280" << "480" << QString() << "$280x480";
    QTest::newRow("negative") << "-640" << "480" << QString() << "-640x480";
    QTest::newRow("zero") << "0" << "480" << QString() << "0x480";
    QTest::newRow("plus sign") << "+640" << "0x1E0" << QString() << "+640x0x1E0";
    QTest::newRow("letters") << "abc" << "480" << width << custom;
    QTest::newRow("trailing blank") << "640 " << "480" << width << custom;
    QTest::newRow("empty width") << "" << "480" << width << custom;
    QTest::newRow("beyond 32 bits") << "2147483648" << "480" << width << custom;
    QTest::newRow("empty height") << "640" << "" << height << custom;
    QTest::newRow("height 48o") << "640" << "48o" << height << custom;
    QTest::newRow("both wrong: width first") << "abc" << "" << width << custom;
}

void TestSizeForm::ok()
{
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, caption);
    QFETCH(QString, row);
    Fixture f;
    f.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
    f.open();
    TSizeForm *d = f.dialog();
    QVERIFY(d->isVisible());
    d->edtWidth->setText(width);
    d->edtHeight->setText(height);
    QTest::mouseClick(d->btnOK, Qt::LeftButton);
    QCOMPARE(f.videoSize(), row);
    if (caption.isEmpty()) {
        QVERIFY(f.ts.messages.boxes.isEmpty());
        QVERIFY(!d->isVisible());
        QVERIFY(f.form->InputEnabled());
        return;
    }
    QCOMPARE(f.ts.messages.boxes.size(), 1);
    const RecordingMessages::Box box = f.ts.messages.boxes.first();
    QCOMPARE(box.kind, QStringLiteral("information"));
    QCOMPARE(box.caption, caption);
    const bool widthWrong = caption == QStringLiteral("Incorrect Width");
    QCOMPARE(box.text, widthWrong ? QStringLiteral("Please specify a proper width for output videos.")
                                  : QStringLiteral("Please specify a proper height for output videos."));
    QCOMPARE(d->focusWidget(), widthWrong ? d->edtWidth : d->edtHeight);
    QVERIFY(d->isVisible());
    QVERIFY(!f.form->InputEnabled());
}

void TestSizeForm::cancelAndCloseBoxGiveOriginalSize_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel") << false;
    QTest::newRow("close box") << true;
}

void TestSizeForm::cancelAndCloseBoxGiveOriginalSize()
{
    QFETCH(bool, closeBox);
    Fixture f;
    f.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
    f.open();
    f.dialog()->edtWidth->setText(QStringLiteral("640"));
    f.dialog()->edtHeight->setText(QStringLiteral("480"));
    if (closeBox)
        f.dialog()->close();
    else
        QTest::mouseClick(f.dialog()->btnCancel, Qt::LeftButton);
    QVERIFY(!f.dialog()->isVisible());
    QCOMPARE(f.videoSize(), QStringLiteral("Original Size"));
    QVERIFY(f.form->InputEnabled());
    QVERIFY(f.ts.messages.boxes.isEmpty());
}

void TestSizeForm::textsKeptBetweenOpenings()
{
    Fixture f;
    f.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
    f.open();
    QTest::keyClicks(f.dialog()->edtWidth, QStringLiteral("720"));
    QTest::keyClicks(f.dialog()->edtHeight, QStringLiteral("576"));
    QTest::mouseClick(f.dialog()->btnOK, Qt::LeftButton);
    QCOMPARE(f.videoSize(), QStringLiteral("720x576"));

    f.open();
    QVERIFY(f.dialog()->isVisible());
    QCOMPARE(f.dialog()->edtWidth->text(), QStringLiteral("720"));
    QCOMPARE(f.dialog()->edtHeight->text(), QStringLiteral("576"));
    QTest::mouseClick(f.dialog()->btnCancel, Qt::LeftButton);
    QCOMPARE(f.dialog()->edtWidth->text(), QStringLiteral("720"));
}

void TestSizeForm::enterAndEscPressNoButton()
{
    Fixture f;
    f.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
    f.open();
    f.dialog()->edtWidth->setText(QStringLiteral("640"));
    f.dialog()->edtHeight->setText(QStringLiteral("480"));
    QTest::keyClick(f.dialog()->edtHeight, Qt::Key_Return);
    QTest::keyClick(f.dialog()->edtHeight, Qt::Key_Escape);
    QTest::keyClick(f.dialog(), Qt::Key_Escape);
    QVERIFY(f.dialog()->isVisible());
    QCOMPARE(f.videoSize(), QStringLiteral("Custom Size"));
    f.dialog()->close();
}

TESSIVO_TEST_MAIN(TestSizeForm)
#include "tst_sizeform.moc"
