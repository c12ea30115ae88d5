#include "tasks/TimeText.h"

#include <QTest>

class TestTimeText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void timeToSeconds_data();
    void timeToSeconds();
    void secondsToTimeText_data();
    void secondsToTimeText();
    void roundHalfEven_data();
    void roundHalfEven();
    void writtenTextsReadBack();
};

void TestTimeText::timeToSeconds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("seconds");
    QTest::newRow("transcoder form") << "00:01:23.4" << 83.4;
    QTest::newRow("single digits") << "1:2:3" << 3723.0;
    QTest::newRow("start literal") << "00:00:00.0" << 0.0;
    QTest::newRow("tenths") << "0:0:59.9" << 59.9;
    QTest::newRow("hundredths") << "00:00:03.00" << 3.0;
    QTest::newRow("many hours") << "100:00:00" << 360000.0;
    QTest::newRow("negative hours are not refused") << "-1:00:00" << -3600.0;
    QTest::newRow("no colon") << "83.4" << -1.0;
    QTest::newRow("one colon") << "12:30" << -1.0;
    QTest::newRow("decimal comma") << "00:00:5,5" << -1.0;
    QTest::newRow("seconds begin with the point") << "00:01:.5" << -1.0;
    QTest::newRow("fraction in minutes") << "00:1.5:00" << -1.0;
    QTest::newRow("empty") << "" << -1.0;
    QTest::newRow("N/A") << "N/A" << -1.0;
    QTest::newRow("letters") << "ab:cd:ef" << -1.0;
    QTest::newRow("blank inside") << "00: 01:02" << -1.0;
    QTest::newRow("three colons") << "00:00:01:02" << -1.0;
}

void TestTimeText::timeToSeconds()
{
    QFETCH(QString, text);
    QFETCH(double, seconds);
    QCOMPARE(TimeToSeconds(text), seconds);
}

void TestTimeText::secondsToTimeText_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "00:00:00";
    QTest::newRow("whole") << 5.0 << "00:00:05";
    QTest::newRow("tenths") << 83.4 << "00:01:23.4";
    QTest::newRow("half tenth to even") << 3725.25 << "01:02:05.2";
    QTest::newRow("hundred hours") << 360000.0 << "100:00:00";
    QTest::newRow("ten tenths carry") << 83.96 << "00:01:24";
    QTest::newRow("carry across minute") << 59.97 << "00:01:00";
    QTest::newRow("carry across hour") << 3599.99 << "01:00:00";
    QTest::newRow("under a twentieth") << 0.04 << "00:00:00";
    QTest::newRow("twelve and a half") << 12.5 << "00:00:12.5";
}

void TestTimeText::secondsToTimeText()
{
    QFETCH(double, seconds);
    QFETCH(QString, text);
    QCOMPARE(SecondsToTimeText(seconds), text);
}

void TestTimeText::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qlonglong>("rounded");
    QTest::newRow("2.5") << 2.5 << 2LL;
    QTest::newRow("3.5") << 3.5 << 4LL;
    QTest::newRow("12.5") << 12.5 << 12LL;
    QTest::newRow("2.51") << 2.51 << 3LL;
    QTest::newRow("-2.5") << -2.5 << -2LL;
    QTest::newRow("-3.5") << -3.5 << -4LL;
    QTest::newRow("-0.4") << -0.4 << 0LL;
}

void TestTimeText::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(qlonglong, rounded);
    QCOMPARE(RoundHalfEven(value), rounded);
}

void TestTimeText::writtenTextsReadBack()
{
    // Every text the program writes reads back to the value it was written for, to a tenth.
    for (double s : {0.0, 0.1, 9.95, 59.9, 61.0, 3599.94, 3725.25, 86399.9}) {
        const double back = TimeToSeconds(SecondsToTimeText(s));
        QVERIFY2(qAbs(back - s) <= 0.05 + 1e-9, qPrintable(SecondsToTimeText(s)));
    }
}

QTEST_APPLESS_MAIN(TestTimeText)
#include "tst_timetext.moc"
