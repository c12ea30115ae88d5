#include "platform/TessivoError.h"
#include "storage/TNewInifile.h"
#include "tests/support/TestApp.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <csignal>
#include <memory>
#include <sys/resource.h>

struct IniWrite
{
    QString section;
    QString key;
    QString value;
};
using IniWrites = QList<IniWrite>;
Q_DECLARE_METATYPE(IniWrites)

class TestIniFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void readString_data();
    void readString();
    void writeAndClose_data();
    void writeAndClose();
    void readInteger_data();
    void readInteger();
    void readBool_data();
    void readBool();

    void saveLeavesNoTemporaryFile();
    void failedSaveKeepsOldContent_data();
    void failedSaveKeepsOldContent();
    void unreadableFileRaisesOpenError();
    void saveAndFreeOfNullDoesNothing();

private:
    QString writeFile(const QByteArray &content);
    QByteArray readFile(const QString &path) const;
    QString readOne(const QByteArray &content, const QString &section, const QString &key, const QString &def);

    std::unique_ptr<QTemporaryDir> FDir;
};

void TestIniFile::init()
{
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
}

QString TestIniFile::writeFile(const QByteArray &content)
{
    const QString path = FDir->filePath(QStringLiteral("test.ini"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(content);
    return path;
}

QByteArray TestIniFile::readFile(const QString &path) const
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

QString TestIniFile::readOne(const QByteArray &content, const QString &section, const QString &key, const QString &def)
{
    const TNewInifile ini(writeFile(content));
    return ini.ReadString(section, key, def);
}

void TestIniFile::readString_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QString def = QStringLiteral("<default>");
    QTest::newRow("plain") << QByteArray("[Main]\r\nType=avi\r\n") << "Main" << "Type" << "avi";
    QTest::newRow("key matches inside a longer key") << QByteArray("[S]\r\nSubType=x\r\nType=y\r\n") << "S" << "Type" << "x";
    QTest::newRow("1 after 11 reads 11") << QByteArray("[S]\r\n11=a\r\n1=b\r\n") << "S" << "1" << "a";
    QTest::newRow("1 before 11 reads 1") << QByteArray("[S]\r\n1=b\r\n11=a\r\n") << "S" << "1" << "b";
    QTest::newRow("blank before equals does not match") << QByteArray("[S]\r\nType = mp4\r\n") << "S" << "Type" << def;
    QTest::newRow("blank after equals is kept") << QByteArray("[S]\r\nType= mp4\r\n") << "S" << "Type" << " mp4";
    QTest::newRow("trailing blanks are kept") << QByteArray("[S]\r\nType=mp4  \r\n") << "S" << "Type" << "mp4  ";
    QTest::newRow("value holds equals") << QByteArray("[S]\r\nf=volume=1.5\r\n") << "S" << "f" << "volume=1.5";
    QTest::newRow("no comment syntax") << QByteArray("[Main]\r\n;Type=avi\r\n") << "Main" << "Type" << "avi";
    QTest::newRow("section and key case-blind") << QByteArray("[MAIN]\r\nTYPE=avi\r\n") << "Main" << "Type" << "avi";
    QTest::newRow("header after other text") << QByteArray(";[Main]\r\nType=avi\r\n") << "Main" << "Type" << "avi";
    QTest::newRow("header with text around it") << QByteArray("x[Main]y\r\nType=avi\r\n") << "Main" << "Type" << "avi";
    QTest::newRow("key on the header line") << QByteArray("[Main]Type=avi\r\n") << "Main" << "Type" << "avi";
    QTest::newRow("header inside a value comes first")
        << QByteArray("[A]\r\nK=see [Main] here\r\n[Main]\r\nType=avi\r\n") << "Main" << "Type" << def;
    QTest::newRow("bracket in a value cuts the value")
        << QByteArray("[Main]\r\nOutput Path=D:\\[v]\\\r\nLater=1\r\n") << "Main" << "Output Path" << "D:\\";
    QTest::newRow("bracket in a value hides later keys")
        << QByteArray("[Main]\r\nOutput Path=D:\\[v]\\\r\nLater=1\r\n") << "Main" << "Later" << def;
    QTest::newRow("section ends at the next header") << QByteArray("[A]\r\nK=1\r\n[B]\r\nX=2\r\n") << "A" << "X" << def;
    QTest::newRow("missing section") << QByteArray("[A]\r\nK=1\r\n") << "B" << "K" << def;
    QTest::newRow("missing key") << QByteArray("[A]\r\nK=1\r\n") << "A" << "L" << def;
    QTest::newRow("LF line ends") << QByteArray("[A]\nK=1\nL=2") << "A" << "L" << "2";
    QTest::newRow("lone CR line ends") << QByteArray("[A]\rK=1\rL=2\r") << "A" << "L" << "2";
    QTest::newRow("UTF-8 passes through") << QByteArray("[Über]\r\nÄ=grüße\r\n") << "Über" << "Ä" << "grüße";
    QTest::newRow("non-ASCII key letters are not folded")
        << QByteArray("[Über]\r\nÄ=upper\r\nä=lower\r\n") << "Über" << "ä" << "lower";
    QTest::newRow("non-ASCII section letters are not folded") << QByteArray("[Über]\r\nK=1\r\n") << "über" << "K" << def;
}

void TestIniFile::readString()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(readOne(content, section, key, QStringLiteral("<default>")), expected);
}

void TestIniFile::writeAndClose_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<IniWrites>("writes");
    QTest::addColumn<QByteArray>("after");
    // A read on the written-back file: section, key and the expected value ("" key: none).
    QTest::addColumn<QStringList>("thenRead");

    QTest::newRow("missing file, no writes: zero bytes") << false << QByteArray() << IniWrites{} << QByteArray() << QStringList{};
    QTest::newRow("missing file: new section")
        << false << QByteArray() << IniWrites{{"Main", "Type", "mp4"}} << QByteArray("[Main]\r\nType=mp4\r\n") << QStringList{};
    QTest::newRow("new key goes directly under the header")
        << true << QByteArray("[Main]\r\nA=1\r\n[B]\r\nC=3\r\n") << IniWrites{{"Main", "New", "2"}}
        << QByteArray("[Main]\r\nNew=2\r\nA=1\r\n[B]\r\nC=3\r\n") << QStringList{};
    QTest::newRow("existing key keeps its place, case-blind, caller's case")
        << true << QByteArray("[MAIN]\r\nTYPE=avi\r\nPara=1\r\n") << IniWrites{{"Main", "Type", "mp4"}}
        << QByteArray("[MAIN]\r\nType=mp4\r\nPara=1\r\n") << QStringList{"Main", "Type", "mp4"};
    QTest::newRow("only the first duplicate is replaced")
        << true << QByteArray("[S]\r\nK=1\r\nK=2\r\n") << IniWrites{{"S", "K", "3"}} << QByteArray("[S]\r\nK=3\r\nK=2\r\n")
        << QStringList{};
    QTest::newRow("substring match is the line replaced")
        << true << QByteArray("[S]\r\nSubType=x\r\nType=y\r\n") << IniWrites{{"S", "Type", "z"}}
        << QByteArray("[S]\r\nType=z\r\nType=y\r\n") << QStringList{};
    QTest::newRow("keys of a new section come out reversed at the end")
        << true << QByteArray("[Main]\r\nA=1") << IniWrites{{"S", "K1", "1"}, {"S", "K2", "2"}, {"S", "K3", "3"}}
        << QByteArray("[Main]\r\nA=1\r\n[S]\r\nK3=3\r\nK2=2\r\nK1=1\r\n") << QStringList{"S", "K1", "1"};
    QTest::newRow("key hidden by a bracket is inserted under the header")
        << true << QByteArray("[Main]\r\nOutput Path=D:\\[v]\\\r\nLater=1\r\n") << IniWrites{{"Main", "Later", "2"}}
        << QByteArray("[Main]\r\nLater=2\r\nOutput Path=D:\\[v]\\\r\nLater=1\r\n") << QStringList{"Main", "Later", "2"};
    QTest::newRow("value is written as given")
        << true << QByteArray("[S]\r\n") << IniWrites{{"S", "K", " x "}} << QByteArray("[S]\r\nK= x \r\n")
        << QStringList{"S", "K", " x "};
    QTest::newRow("LF file without final break comes back CR LF")
        << true << QByteArray("[Main]\nType=avi\nPara=1") << IniWrites{} << QByteArray("[Main]\r\nType=avi\r\nPara=1\r\n")
        << QStringList{};
    QTest::newRow("blank lines and lone CR stay lines")
        << true << QByteArray("a\r\rb\n\nc\r\n") << IniWrites{} << QByteArray("a\r\n\r\nb\r\n\r\nc\r\n") << QStringList{};
    QTest::newRow("8-bit text passes through unchanged")
        << true << QByteArray("[Main]\r\nName=caf\xE9\r\n\xFF\xFE=x\r\n") << IniWrites{}
        << QByteArray("[Main]\r\nName=caf\xE9\r\n\xFF\xFE=x\r\n") << QStringList{};
    QTest::newRow("UTF-8 value is written as UTF-8")
        << true << QByteArray("[Main]\r\n") << IniWrites{{"Main", "Title", QStringLiteral("Grüße")}}
        << QByteArray("[Main]\r\nTitle=Gr\xC3\xBC\xC3\x9F" "e\r\n") << QStringList{"Main", "Title", QStringLiteral("Grüße")};
}

void TestIniFile::writeAndClose()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, before);
    QFETCH(IniWrites, writes);
    QFETCH(QByteArray, after);
    QFETCH(QStringList, thenRead);

    const QString path = FDir->filePath(QStringLiteral("test.ini"));
    if (exists)
        writeFile(before);
    auto *ini = new TNewInifile(path);
    for (const IniWrite &w : writes)
        ini->WriteString(w.section, w.key, w.value);
    TNewInifile::SaveAndFree(ini);

    QVERIFY(QFile::exists(path));
    QCOMPARE(readFile(path), after);
    if (!thenRead.isEmpty()) {
        const TNewInifile again(path);
        QCOMPARE(again.ReadString(thenRead.at(0), thenRead.at(1), QStringLiteral("<default>")), thenRead.at(2));
    }
}

void TestIniFile::readInteger_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("expected");

    const int def = 7;
    QTest::newRow("decimal") << QByteArray("12") << 12;
    QTest::newRow("leading blank") << QByteArray(" 12") << 12;
    QTest::newRow("leading blanks and sign") << QByteArray("  -12") << -12;
    QTest::newRow("plus sign") << QByteArray("+12") << 12;
    QTest::newRow("dollar hex") << QByteArray("$1F") << 31;
    QTest::newRow("0x hex") << QByteArray("0x1F") << 31;
    QTest::newRow("x hex") << QByteArray("x1F") << 31;
    QTest::newRow("0X hex, lower digits") << QByteArray("0X1f") << 31;
    QTest::newRow("negative hex") << QByteArray("-$10") << -16;
    QTest::newRow("largest") << QByteArray("2147483647") << INT_MAX;
    QTest::newRow("smallest") << QByteArray("-2147483648") << INT_MIN;
    QTest::newRow("trailing blank") << QByteArray("12 ") << def;
    QTest::newRow("empty") << QByteArray("") << def;
    QTest::newRow("blank inside") << QByteArray("1 2") << def;
    QTest::newRow("letters") << QByteArray("abc") << def;
    QTest::newRow("digits then letter") << QByteArray("12a") << def;
    QTest::newRow("fraction") << QByteArray("1.5") << def;
    QTest::newRow("sign alone") << QByteArray("-") << def;
    QTest::newRow("dollar alone") << QByteArray("$") << def;
    QTest::newRow("0x alone") << QByteArray("0x") << def;
    QTest::newRow("above 32 bits") << QByteArray("2147483648") << def;
    QTest::newRow("below 32 bits") << QByteArray("-2147483649") << def;
    QTest::newRow("far above 32 bits") << QByteArray("99999999999999999999") << def;
    QTest::newRow("hex above 32 bits") << QByteArray("$1FFFFFFFF") << def;
}

void TestIniFile::readInteger()
{
    QFETCH(QByteArray, text);
    QFETCH(int, expected);
    const TNewInifile ini(writeFile("[S]\r\nN=" + text + "\r\n"));
    QCOMPARE(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("N"), 7), expected);
    QCOMPARE(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("Missing"), 7), 7);
}

void TestIniFile::readBool_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("def");
    QTest::addColumn<bool>("expected");

    QTest::newRow("1") << QByteArray("1") << false << true;
    QTest::newRow("-1") << QByteArray("-1") << false << true;
    QTest::newRow("2") << QByteArray("2") << false << true;
    QTest::newRow("fraction") << QByteArray("1.5") << false << true;
    QTest::newRow("True") << QByteArray("True") << false << true;
    QTest::newRow("TRUE") << QByteArray("TRUE") << false << true;
    QTest::newRow("true") << QByteArray("true") << false << true;
    QTest::newRow("0") << QByteArray("0") << true << false;
    QTest::newRow("0.0") << QByteArray("0.0") << true << false;
    QTest::newRow("False") << QByteArray("False") << true << false;
    QTest::newRow("FALSE") << QByteArray("FALSE") << true << false;
    QTest::newRow("false") << QByteArray("false") << true << false;
    QTest::newRow("yes, default false") << QByteArray("yes") << false << false;
    QTest::newRow("yes, default true") << QByteArray("yes") << true << true;
    QTest::newRow("on, default false") << QByteArray("on") << false << false;
    QTest::newRow("on, default true") << QByteArray("on") << true << true;
    QTest::newRow("empty, default false") << QByteArray("") << false << false;
    QTest::newRow("empty, default true") << QByteArray("") << true << true;
}

void TestIniFile::readBool()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, def);
    QFETCH(bool, expected);
    const TNewInifile ini(writeFile("[S]\r\nB=" + text + "\r\n"));
    QCOMPARE(ini.ReadBool(QStringLiteral("S"), QStringLiteral("B"), def), expected);
    QCOMPARE(ini.ReadBool(QStringLiteral("S"), QStringLiteral("Missing"), def), def);
}

void TestIniFile::saveLeavesNoTemporaryFile()
{
    const QString path = writeFile("[Main]\r\nA=1\r\n");
    auto *ini = new TNewInifile(path);
    ini->WriteString(QStringLiteral("Main"), QStringLiteral("B"), QStringLiteral("2"));
    TNewInifile::SaveAndFree(ini);
    QCOMPARE(QDir(FDir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("test.ini")});
    QCOMPARE(readFile(path), QByteArray("[Main]\r\nB=2\r\nA=1\r\n"));
}

// Runs the save with the process's file size limit lowered, so the write fails part way
// (the limit holds for root too, where permission tricks do not).
static void SaveWithFileSizeLimit(TNewInifile *ini, rlim_t limit)
{
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = limit;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    try {
        TNewInifile::SaveAndFree(ini);
    } catch (...) {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        throw;
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
}

void TestIniFile::failedSaveKeepsOldContent_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("folder does not exist") << "missing folder";
    QTest::newRow("target is a folder") << "folder";
    QTest::newRow("write fails part way") << "size limit";
}

void TestIniFile::failedSaveKeepsOldContent()
{
    QFETCH(QString, failure);
    const QByteArray old("[Main]\r\nA=1\r\n");
    QString path;
    if (failure == QLatin1String("missing folder")) {
        path = FDir->filePath(QStringLiteral("no such folder/test.ini"));
    } else if (failure == QLatin1String("folder")) {
        path = FDir->filePath(QStringLiteral("test.ini"));
    } else {
        path = writeFile(old);
    }

    auto *ini = new TNewInifile(path);
    // A folder of that name turns up while the file is open.
    if (failure == QLatin1String("folder"))
        QVERIFY(QDir(FDir->path()).mkdir(QStringLiteral("test.ini")));
    ini->WriteString(QStringLiteral("Main"), QStringLiteral("Long"), QString(200, QLatin1Char('x')));
    try {
        if (failure == QLatin1String("size limit"))
            SaveWithFileSizeLimit(ini, 64);
        else
            TNewInifile::SaveAndFree(ini);
        QFAIL("no error was raised");
    } catch (const EFCreateError &e) {
        QVERIFY2(e.message().contains(path), qPrintable(e.message()));
    }

    const QStringList left = QDir(FDir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    if (failure == QLatin1String("missing folder")) {
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
    } else {
        QCOMPARE(left, QStringList{QStringLiteral("test.ini")});
        if (failure == QLatin1String("folder"))
            QVERIFY(QFileInfo(path).isDir());
        else
            QCOMPARE(readFile(path), old);
    }
}

void TestIniFile::unreadableFileRaisesOpenError()
{
    const QString path = FDir->filePath(QStringLiteral("test.ini"));
    QVERIFY(QDir(FDir->path()).mkdir(QStringLiteral("test.ini")));
    try {
        TNewInifile ini(path);
        QFAIL("no error was raised");
    } catch (const EFOpenError &e) {
        QVERIFY2(e.message().contains(path), qPrintable(e.message()));
    }
}

void TestIniFile::saveAndFreeOfNullDoesNothing()
{
    TNewInifile::SaveAndFree(nullptr);
    QVERIFY(QDir(FDir->path()).isEmpty());
}

TESSIVO_TEST_MAIN(TestIniFile)
#include "tst_inifile.moc"
