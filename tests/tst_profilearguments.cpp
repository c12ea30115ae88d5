#include "platform/TessivoError.h"
#include "profiles/ProfileArguments.h"
#include "profiles/ProfileFile.h"
#include "tests/support/TestApp.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestProfileArguments : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void splitItemList_data();
    void splitItemList();

    void build_data();
    void build();
    void missingFileGivesNothing();
    void fileIsWrittenBackAndResultRepeats();
    void shortValueListRaisesAndKeepsFile();

private:
    QString writeProfile(const QByteArray &content);

    std::unique_ptr<QTemporaryDir> FDir;
};

namespace {

// "[Main]" naming the given sections as parameters 0, 1, ... followed by the sections' text.
QByteArray Profile(const QList<QByteArray> &names, const QByteArray &sections)
{
    QByteArray text = "[Main]\r\nType=mp4\r\nPara=" + QByteArray::number(names.size()) + "\r\n";
    for (int i = 0; i < names.size(); ++i)
        text += QByteArray::number(i) + "=" + names.at(i) + "\r\n";
    return text + sections;
}

// One parameter named P.
QByteArray OneParameter(const QByteArray &body)
{
    return Profile({"P"}, "[P]\r\n" + body);
}

// Panel rows as "group|name|shown"; the first row of the group whose name matches case-blind wins.
ProfileRowValue Panel(const QStringList &rows)
{
    return [rows](ProfileGroup group, const QString &name) {
        for (const QString &row : rows) {
            const QStringList parts = row.split(QLatin1Char('|'));
            if (parts.at(0).toInt() == static_cast<int>(group) && parts.at(1).compare(name, Qt::CaseInsensitive) == 0)
                return parts.at(2);
        }
        return QString();
    };
}

} // namespace

void TestProfileArguments::init()
{
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
}

QString TestProfileArguments::writeProfile(const QByteArray &content)
{
    const QString path = FDir->filePath(QStringLiteral("Test.apf"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(content);
    return path;
}

void TestProfileArguments::splitItemList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("terminated") << "a,b,c," << QStringList{"a", "b", "c"};
    QTest::newRow("text after the last comma is dropped") << "a,b,c" << QStringList{"a", "b"};
    QTest::newRow("two items without final comma") << "Small,Large" << QStringList{"Small"};
    QTest::newRow("no comma") << "abc" << QStringList{};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("just a comma") << "," << QStringList{""};
    QTest::newRow("empty items count") << ",x,,y," << QStringList{"", "x", "", "y"};
    QTest::newRow("not trimmed") << " a , b ," << QStringList{" a ", " b "};
    QTest::newRow("backslash and equals kept") << ",\\,volume=1.5," << QStringList{"", "\\", "volume=1.5"};
}

void TestProfileArguments::splitItemList()
{
    QFETCH(QString, text);
    QFETCH(QStringList, items);
    QCOMPARE(SplitItemList(text), items);
}

void TestProfileArguments::build_data()
{
    QTest::addColumn<QByteArray>("profile");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("expected");

    const QByteArray lowMidHigh = "Sort=1\r\nList=1\r\ncmd=-q\r\nCaption=Low,Mid,High,\r\nValue=x,y,z,\r\n";
    QTest::newRow("picked item") << OneParameter(lowMidHigh) << QStringList{"1|P|Mid"} << " -q y";
    QTest::newRow("picked item, other letter case") << OneParameter(lowMidHigh) << QStringList{"1|p|mid"} << " -q y";
    QTest::newRow("row of another group is not seen") << OneParameter(lowMidHigh) << QStringList{"2|P|Mid"} << "";
    QTest::newRow("no row: nothing") << OneParameter(lowMidHigh) << QStringList{} << "";

    const QByteArray videoSize = Profile({"Video Size"}, "[Video Size]\r\nSort=1\r\nList=1\r\nReadOnly=0\r\ncmd=-s\r\n"
                                                         "Caption=Original Size,Small,Custom Size,\r\nValue=,160x120,,\r\nIndex=0\r\n");
    QTest::newRow("custom size falls back to the shown text") << videoSize << QStringList{"1|Video Size|640x480"} << " -s 640x480";
    QTest::newRow("item with a value") << videoSize << QStringList{"1|Video Size|Small"} << " -s 160x120";
    QTest::newRow("item with an empty value: nothing") << videoSize << QStringList{"1|Video Size|Original Size"} << "";
    QTest::newRow("custom size item itself: nothing") << videoSize << QStringList{"1|Video Size|Custom Size"} << "";

    QTest::newRow("backslash: switch alone with a trailing blank")
        << OneParameter("Sort=1\r\ncmd=-q\r\nCaption=No,Yes,\r\nValue=,\\,\r\n") << QStringList{"1|P|Yes"} << " -q ";
    QTest::newRow("empty cmd: nothing") << OneParameter("Sort=1\r\ncmd=\r\nCaption=Low,Mid,High,\r\nValue=x,y,z,\r\n")
                                        << QStringList{"1|P|Mid"} << "";
    QTest::newRow("missing cmd: nothing") << OneParameter("Sort=1\r\nCaption=Low,Mid,High,\r\nValue=x,y,z,\r\n")
                                          << QStringList{"1|P|Mid"} << "";
    QTest::newRow("read-only free text passes the file's value")
        << OneParameter("Sort=3\r\nList=0\r\nReadOnly=1\r\nCaption=High\r\ncmd=-q\r\nValue=5\r\n") << QStringList{"3|P|High"}
        << " -q 5";
    QTest::newRow("read-only free text ignores the shown text")
        << OneParameter("Sort=3\r\nList=0\r\nReadOnly=1\r\nCaption=High\r\ncmd=-q\r\nValue=5\r\n") << QStringList{"3|P|Other"}
        << " -q 5";
    QTest::newRow("editable free text passes the shown text unquoted")
        << OneParameter("Sort=3\r\nList=0\r\nReadOnly=0\r\nCaption=High\r\ncmd=-q\r\nValue=5\r\n") << QStringList{"3|P|a b"}
        << " -q a b";
    QTest::newRow("editable free text, empty: nothing")
        << OneParameter("Sort=3\r\nList=0\r\nCaption=High\r\ncmd=-q\r\nValue=5\r\n") << QStringList{"3|P|"} << "";
    QTest::newRow("captions differing in case: the first wins")
        << OneParameter("Sort=1\r\ncmd=-q\r\nCaption=Big,BIG,\r\nValue=1,2,\r\n") << QStringList{"1|P|BIG"} << " -q 1";
    QTest::newRow("List missing: pick list") << OneParameter("Sort=1\r\ncmd=-q\r\nCaption=A,B,\r\nValue=1,2,\r\n")
                                             << QStringList{"1|P|B"} << " -q 2";
    QTest::newRow("no row matches an empty item")
        << OneParameter("Sort=1\r\ncmd=-q\r\nCaption=,A,\r\nValue=e,1,\r\n") << QStringList{} << " -q e";
    QTest::newRow("first parameter with an odd Sort is Advanced")
        << OneParameter("Sort=7\r\ncmd=-q\r\nCaption=A,B,\r\nValue=1,2,\r\n") << QStringList{"1|P|B", "3|P|A"} << " -q 1";
    QTest::newRow("missing Sort keeps the group before")
        << Profile({"P1", "P2"}, "[P1]\r\nSort=2\r\ncmd=-a\r\nCaption=A,\r\nValue=1,\r\n"
                                 "[P2]\r\ncmd=-b\r\nCaption=A,B,\r\nValue=1,2,\r\n")
        << QStringList{"2|P1|A", "1|P2|A", "2|P2|B"} << " -a 1 -b 2";
    QTest::newRow("key order, not group order")
        << Profile({"Sound", "Picture"}, "[Picture]\r\nSort=1\r\ncmd=-v\r\nCaption=A,\r\nValue=1,\r\n"
                                         "[Sound]\r\nSort=2\r\ncmd=-a\r\nCaption=A,\r\nValue=2,\r\n")
        << QStringList{"1|Picture|A", "2|Sound|A"} << " -a 2 -v 1";
    QTest::newRow("Para 0") << QByteArray("[Main]\r\nPara=0\r\n0=P\r\n[P]\r\nSort=1\r\ncmd=-q\r\nCaption=A,\r\nValue=1,\r\n")
                            << QStringList{"1|P|A"} << "";
    QTest::newRow("Para beyond the keys adds nothing")
        << QByteArray("[Main]\r\nPara=2\r\n0=P\r\n[P]\r\nSort=1\r\ncmd=-q\r\nCaption=A,\r\nValue=1,\r\n")
        << QStringList{"1|P|A"} << " -q 1";
}

void TestProfileArguments::build()
{
    QFETCH(QByteArray, profile);
    QFETCH(QStringList, rows);
    QFETCH(QString, expected);
    QCOMPARE(BuildProfileArguments(writeProfile(profile), Panel(rows)), expected);
}

void TestProfileArguments::missingFileGivesNothing()
{
    const QString path = FDir->filePath(QStringLiteral("Missing.apf"));
    bool asked = false;
    const QString result = BuildProfileArguments(path, [&asked](ProfileGroup, const QString &) {
        asked = true;
        return QString();
    });
    QCOMPARE(result, QString());
    QVERIFY(!asked);
    QVERIFY(!QFile::exists(path));
}

void TestProfileArguments::fileIsWrittenBackAndResultRepeats()
{
    const QByteArray lf = "[Main]\nPara=2\n0=A\n1=B\n[A]\nSort=1\ncmd=-a\nCaption=X,Y,\nValue=1,2,\n"
                          "[B]\nSort=2\ncmd=-b\nList=0\nReadOnly=1\nCaption=T\nValue=\\";
    const QString path = writeProfile(lf);
    const ProfileRowValue panel = Panel({"1|A|Y", "2|B|T"});
    const QString first = BuildProfileArguments(path, panel);
    QCOMPARE(first, QStringLiteral(" -a 2 -b "));
    QByteArray crlf = lf;
    crlf.replace("\n", "\r\n");
    crlf += "\r\n";
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), crlf);
    f.close();
    QCOMPARE(BuildProfileArguments(path, panel), first);
}

void TestProfileArguments::shortValueListRaisesAndKeepsFile()
{
    // The picked item is the third; the values name only one.
    const QByteArray lf = "[Main]\nPara=1\n0=P\n[P]\nSort=1\ncmd=-q\nCaption=A,B,C,\nValue=1,\n";
    const QString path = writeProfile(lf);
    try {
        BuildProfileArguments(path, Panel({"1|P|c"}));
        QFAIL("no error was raised");
    } catch (const EListError &e) {
        QCOMPARE(e.message(), QStringLiteral("List index out of bounds (2)"));
    }
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), lf);
    QCOMPARE(QDir(FDir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Test.apf")});
}

TESSIVO_TEST_MAIN(TestProfileArguments)
#include "tst_profilearguments.moc"
