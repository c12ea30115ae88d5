// The shipped profiles: each keeps the rules the INI dialect needs, and every choice of every
// pick list converts a short clip with the real ffmpeg into what the choice names.

#include "convert/TranscoderCommand.h"
#include "profiles/ProfileArguments.h"
#include "profiles/ProfileFile.h"
#include "storage/TNewInifile.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/TestApp.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

namespace {

// The input clip every conversion starts from.
const int InputWidth = 160;
const int InputHeight = 120;
const double InputFps = 25;
const int InputSampleRate = 44100;
const int InputChannels = 2;

const QStringList ShippedNames{
    QStringLiteral("AVI - MPEG-4 + MP3"), QStringLiteral("MKV - H.264 + AAC"),   QStringLiteral("MOV - H.264 + AAC"),
    QStringLiteral("MP3 - Audio Only"),   QStringLiteral("MP4 - H.264 + AAC"),   QStringLiteral("MP4 - H.265 + AAC"),
    QStringLiteral("MPEG-2 - DVD Player"), QStringLiteral("WMV - Windows Media Video"), QStringLiteral("WebM - VP9 + Opus")};

// What ffprobe calls the codec each codec item names.
const QMap<QString, QString> CodecOfCaption{
    {QStringLiteral("H.264"), QStringLiteral("h264")},   {QStringLiteral("H.265"), QStringLiteral("hevc")},
    {QStringLiteral("VP9"), QStringLiteral("vp9")},      {QStringLiteral("MPEG-4"), QStringLiteral("mpeg4")},
    {QStringLiteral("MPEG-2"), QStringLiteral("mpeg2video")}, {QStringLiteral("WMV 8"), QStringLiteral("wmv2")},
    {QStringLiteral("WMV 7"), QStringLiteral("wmv1")},   {QStringLiteral("AAC"), QStringLiteral("aac")},
    {QStringLiteral("MP3"), QStringLiteral("mp3")},      {QStringLiteral("Opus"), QStringLiteral("opus")},
    {QStringLiteral("AC-3"), QStringLiteral("ac3")},     {QStringLiteral("MP2"), QStringLiteral("mp2")},
    {QStringLiteral("WMA 2"), QStringLiteral("wmav2")}};

// The panel's parameter names and the group each belongs in.
const QMap<QString, int> PanelGroup{
    {QStringLiteral("Video Codec"), 1},   {QStringLiteral("Video Size"), 1},  {QStringLiteral("Bit Rate"), 1},
    {QStringLiteral("Frame Rate"), 1},    {QStringLiteral("Aspect"), 1},      {QStringLiteral("Disable Video"), 1},
    {QStringLiteral("Audio Codec"), 2},   {QStringLiteral("Audio Bitrate"), 2}, {QStringLiteral("Sample Rate"), 2},
    {QStringLiteral("Channels"), 2},      {QStringLiteral("Volumn"), 2},      {QStringLiteral("Disable Audio"), 2},
    {QStringLiteral("Bit Exact Algorithms"), 3}, {QStringLiteral("Deinterlace"), 3}};

// A profile as a strict INI parser sees it: sections and keys in file order.
struct StrictSection
{
    QString name;
    QList<QPair<QString, QString>> keys;
    QString value(const QString &key) const
    {
        for (const auto &kv : keys) {
            if (kv.first == key)
                return kv.second;
        }
        return QString();
    }
    bool has(const QString &key) const
    {
        for (const auto &kv : keys) {
            if (kv.first == key)
                return true;
        }
        return false;
    }
};

// Parses strictly: "[name]" headers and "Key=value" lines only. Returns an error text or "".
QString ParseStrict(const QByteArray &content, QList<StrictSection> &sections)
{
    static const QRegularExpression header(QStringLiteral("^\\[([^\\[\\]=]+)\\]$"));
    static const QRegularExpression keyLine(QStringLiteral("^([A-Za-z0-9]+)=([^\\[\\]]*)$"));
    if (!content.endsWith("\r\n"))
        return QStringLiteral("the file does not end with CR LF");
    QByteArrayList lines = content.split('\n');
    lines.removeLast(); // after the final line break
    for (int i = 0; i < lines.size(); ++i) {
        QByteArray raw = lines.at(i);
        if (!raw.endsWith('\r'))
            return QStringLiteral("line %1 does not end with CR LF").arg(i + 1);
        raw.chop(1);
        if (raw.contains('\r'))
            return QStringLiteral("line %1 holds a lone CR").arg(i + 1);
        const QString line = QString::fromUtf8(raw);
        if (const auto m = header.match(line); m.hasMatch()) {
            sections.append({m.captured(1), {}});
            continue;
        }
        const auto m = keyLine.match(line);
        if (!m.hasMatch() || sections.isEmpty())
            return QStringLiteral("line %1 is neither a header nor a key line: %2").arg(i + 1).arg(line);
        if (sections.last().has(m.captured(1)))
            return QStringLiteral("key %1 appears twice in [%2]").arg(m.captured(1), sections.last().name);
        sections.last().keys.append({m.captured(1), m.captured(2)});
    }
    return QString();
}

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One conversion: a profile with one pick-list item chosen and the others at their stored Index.
struct ConversionCase
{
    QString label;
    QString profile;
    QString type;
    QMap<QString, QString> shown; // parameter name -> the text its row shows
    QString arguments;
    size_t job = 0; // the conversion run for it; cases with the same arguments share one
};

struct ConversionResult
{
    bool converted = false;
    QString convertLog;
    QJsonArray streams;
    bool decodes = false;
    QString decodeLog;
};

// Runs a program to its end and gives its exit code (-1 when it did not end normally).
int Run(const QString &program, const QStringList &arguments, QByteArray *out, QByteArray *err)
{
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(program, arguments);
    if (!p.waitForFinished(180000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (out)
        *out = p.readAllStandardOutput();
    if (err)
        *err = p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Checks a converted file: its streams, and that every stream decodes.
void Probe(const QString &output, ConversionResult &r)
{
    r.converted = QFileInfo(output).size() > 0;
    if (!r.converted)
        return;
    // Counting the frames decodes every stream; any decoding error shows on standard error.
    QByteArray json;
    QByteArray err;
    const int probed = Run(FfprobePath(),
                           {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-count_frames"),
                            QStringLiteral("-show_entries"),
                            QStringLiteral("stream=codec_type,codec_name,width,height,r_frame_rate,"
                                           "display_aspect_ratio,sample_rate,channels,nb_read_frames"),
                            QStringLiteral("-of"), QStringLiteral("json"), output},
                           &json, &err);
    r.streams = QJsonDocument::fromJson(json).object().value(QStringLiteral("streams")).toArray();
    r.decodes = probed == 0 && err.trimmed().isEmpty() && !r.streams.isEmpty();
    for (const QJsonValue &stream : std::as_const(r.streams)) {
        const QJsonObject o = stream.toObject();
        const QString type = o.value(QStringLiteral("codec_type")).toString();
        if ((type == QLatin1String("video") || type == QLatin1String("audio"))
            && o.value(QStringLiteral("nb_read_frames")).toString().toInt() <= 0)
            r.decodes = false;
    }
    r.decodeLog = QString::fromUtf8(err).right(2000) + QString::fromUtf8(json).right(2000);
}

QString OutputPath(const QTemporaryDir &dir, size_t job, const ConversionCase &c)
{
    return dir.filePath(QStringLiteral("out%1.%2").arg(job).arg(c.type));
}

// Converts the input once per job with the command line the program would use.
void ConvertOne(const ConversionCase &c, const QString &input, const QString &output, ConversionResult &r)
{
    const TranscoderCommand command = ConversionCommand(input, c.arguments, QString(), output);
    QByteArray err;
    const int exitCode = Run(FfmpegPath(), QStringList{QStringLiteral("-v"), QStringLiteral("error")} + command.arguments,
                             nullptr, &err);
    r.convertLog = QStringLiteral("ffmpeg%1\n%2").arg(command.text, QString::fromUtf8(err).right(2000));
    if (exitCode == 0)
        Probe(output, r);
}

QJsonObject FirstStream(const QJsonArray &streams, const QString &type)
{
    for (const QJsonValue &s : streams) {
        if (s.toObject().value(QStringLiteral("codec_type")).toString() == type)
            return s.toObject();
    }
    return {};
}

// "30000/1001" or "16:9" as a number; 0 when it is not one.
double Ratio(const QString &text)
{
    const QStringList parts = text.split(QRegularExpression(QStringLiteral("[/:]")));
    if (parts.size() != 2 || parts.at(1).toDouble() == 0)
        return 0;
    return parts.at(0).toDouble() / parts.at(1).toDouble();
}

} // namespace

class TestShippedProfiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void shippedSet();
    void invariants_data();
    void invariants();
    void conversion_data();
    void conversion();

private:
    void checkVideo(const ConversionCase &c, const QJsonObject &video);
    void checkAudio(const ConversionCase &c, const QJsonObject &audio);

    std::unique_ptr<ProgramFolder> FFolder;
    std::unique_ptr<QTemporaryDir> FOutputs;
    QString FInput;
    std::vector<ConversionCase> FCases;
    std::vector<size_t> FJobs; // for each conversion run, the first case that needs it
    std::vector<ConversionResult> FResults;
};

void TestShippedProfiles::initTestCase()
{
    QVERIFY2(QFileInfo(FfmpegPath()).isExecutable(), qPrintable(FfmpegPath()));
    QVERIFY2(QFileInfo(FfprobePath()).isExecutable(), qPrintable(FfprobePath()));
    FFolder = std::make_unique<ProgramFolder>();
    FFolder->copyShippedProfiles();
    FOutputs = std::make_unique<QTemporaryDir>();
    QVERIFY(FOutputs->isValid());
    FInput = FOutputs->filePath(QStringLiteral("input.mp4"));
    QVERIFY(MakeClip(FInput, 1.0, QStringLiteral("%1x%2").arg(InputWidth).arg(InputHeight),
                     {QStringLiteral("-ac"), QString::number(InputChannels)}, true));

    // Every item of every pick list, one at a time; the arguments are built here, on this
    // thread, because building writes the profile file back.
    QStringList names = QDir(FFolder->profiles()).entryList({QStringLiteral("*.apf")}, QDir::Files, QDir::Name);
    for (const QString &file : names) {
        const QString profile = QFileInfo(file).completeBaseName();
        const QString path = ProfilePath(FFolder->path(), profile);
        QList<ProfileParameter> params;
        QString type;
        {
            auto *ini = new TNewInifile(path);
            type = ProfileType(*ini);
            ProfileGroup group = ProfileGroup::Advanced;
            for (int i = 0; i < ProfileParameterCount(*ini); ++i) {
                params.append(ReadProfileParameter(*ini, i, group));
                group = params.last().group;
            }
            TNewInifile::SaveAndFree(ini);
        }
        QMap<QString, QString> stored;
        for (const ProfileParameter &p : params)
            stored[p.name] = p.isList ? SplitItemList(p.caption).value(p.index) : p.caption;
        for (const ProfileParameter &p : params) {
            if (!p.isList)
                continue;
            for (const QString &item : SplitItemList(p.caption)) {
                if (item == QLatin1String("Custom Size"))
                    continue;
                ConversionCase c;
                c.label = QStringLiteral("%1 / %2 = %3").arg(profile, p.name, item);
                c.profile = profile;
                c.type = type;
                c.shown = stored;
                c.shown[p.name] = item;
                const QMap<QString, QString> shown = c.shown;
                c.arguments = BuildProfileArguments(path, [shown](ProfileGroup, const QString &name) {
                    for (auto it = shown.begin(); it != shown.end(); ++it) {
                        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
                            return it.value();
                    }
                    return QString();
                });
                const auto same = std::find_if(FJobs.begin(), FJobs.end(), [&](size_t first) {
                    return FCases[first].type == c.type && FCases[first].arguments == c.arguments;
                });
                c.job = same != FJobs.end() ? same - FJobs.begin() : FJobs.size();
                if (same == FJobs.end())
                    FJobs.push_back(FCases.size());
                FCases.push_back(c);
            }
        }
    }
    QVERIFY(!FCases.empty());

    // Starting ffmpeg costs more than converting so tiny a clip, so one ffmpeg writes a batch of
    // outputs of one profile, each with its own options, exactly the words of the single command.
    // A batch that fails is run again one conversion at a time to tell which choice failed.
    std::vector<std::pair<size_t, size_t>> batches; // [first, end) of jobs
    for (size_t j = 0; j < FJobs.size(); ++j) {
        if (batches.empty() || batches.back().second - batches.back().first >= 12
            || FCases[FJobs[batches.back().first]].profile != FCases[FJobs[j]].profile)
            batches.push_back({j, j});
        batches.back().second = j + 1;
    }

    // Two batches at a time.
    QElapsedTimer timer;
    timer.start();
    FResults.resize(FJobs.size());
    std::atomic<size_t> next{0};
    std::atomic<int> rerun{0};
    auto work = [this, &batches, &next, &rerun] {
        for (size_t b = next++; b < batches.size(); b = next++) {
            QStringList args{QStringLiteral("-v"), QStringLiteral("error")};
            for (size_t j = batches[b].first; j < batches[b].second; ++j) {
                const ConversionCase &c = FCases[FJobs[j]];
                const QStringList words = ConversionCommand(FInput, c.arguments, QString(), OutputPath(*FOutputs, j, c)).arguments;
                args << (j == batches[b].first ? words : words.mid(3)); // "-y -i input" once
            }
            QByteArray err;
            const bool batchDone = Run(FfmpegPath(), args, nullptr, &err) == 0;
            for (size_t j = batches[b].first; j < batches[b].second; ++j) {
                const ConversionCase &c = FCases[FJobs[j]];
                const QString output = OutputPath(*FOutputs, j, c);
                if (batchDone) {
                    FResults[j].convertLog = QStringLiteral("ffmpeg")
                                             + ConversionCommand(FInput, c.arguments, QString(), output).text;
                    Probe(output, FResults[j]);
                }
                if (!batchDone || !FResults[j].converted) {
                    FResults[j] = ConversionResult();
                    ++rerun;
                    ConvertOne(c, FInput, output, FResults[j]);
                }
                QFile::remove(output);
            }
        }
    };
    std::unique_ptr<QThread> a(QThread::create(work));
    std::unique_ptr<QThread> b(QThread::create(work));
    a->start();
    b->start();
    a->wait();
    b->wait();
    qInfo("%zu choices, %zu conversions in %zu batches (%d run again alone), %.1f s", FCases.size(), FJobs.size(),
          batches.size(), rerun.load(), timer.elapsed() / 1000.0);
}

void TestShippedProfiles::shippedSet()
{
    QStringList names;
    for (const QString &file : QDir(FFolder->profiles()).entryList({QStringLiteral("*.apf")}, QDir::Files, QDir::Name))
        names << QFileInfo(file).completeBaseName();
    QCOMPARE(names, ShippedNames);
}

void TestShippedProfiles::invariants_data()
{
    QTest::addColumn<QString>("profile");
    for (const QString &name : ShippedNames)
        QTest::newRow(qPrintable(name)) << name;
}

void TestShippedProfiles::invariants()
{
    QFETCH(QString, profile);
    const QString path = ProfilePath(FFolder->path(), profile);
    const QByteArray content = ReadAll(path);
    QVERIFY(!content.isEmpty());

    QList<StrictSection> sections;
    const QString parseError = ParseStrict(content, sections);
    QVERIFY2(parseError.isEmpty(), qPrintable(parseError));

    // Section names are unique without regard to letter case.
    QMap<QString, int> sectionAt;
    for (int s = 0; s < sections.size(); ++s) {
        const QString lower = sections.at(s).name.toLower();
        QVERIFY2(!sectionAt.contains(lower), qPrintable(sections.at(s).name));
        sectionAt[lower] = s;
    }
    QVERIFY(sectionAt.contains(QStringLiteral("main")));
    const StrictSection &main = sections.at(sectionAt.value(QStringLiteral("main")));
    QCOMPARE(main.name, QStringLiteral("Main"));

    // Main: Type, Para, then the keys 0 .. Para-1 in order, each naming one of the other sections.
    const int para = main.value(QStringLiteral("Para")).toInt();
    QCOMPARE(para, sections.size() - 1);
    QStringList expectedKeys{QStringLiteral("Type"), QStringLiteral("Para")};
    for (int i = 0; i < para; ++i)
        expectedKeys << QString::number(i);
    QStringList mainKeys;
    for (const auto &kv : main.keys)
        mainKeys << kv.first;
    QCOMPARE(mainKeys, expectedKeys);
    QVERIFY(!main.value(QStringLiteral("Type")).isEmpty());
    QStringList paramNames;
    for (int i = 0; i < para; ++i) {
        const QString name = main.value(QString::number(i));
        QVERIFY2(sectionAt.contains(name.toLower()), qPrintable(name));
        QCOMPARE(sections.at(sectionAt.value(name.toLower())).name, name);
        QVERIFY2(!paramNames.contains(name, Qt::CaseInsensitive), qPrintable(name));
        paramNames << name;
    }

    // Each parameter section.
    const QStringList allowed{QStringLiteral("Sort"),    QStringLiteral("List"),  QStringLiteral("ReadOnly"),
                              QStringLiteral("cmd"),     QStringLiteral("Caption"), QStringLiteral("Value"),
                              QStringLiteral("Index")};
    const QStringList removedSwitches{QStringLiteral("-deinterlace"), QStringLiteral("-vol"), QStringLiteral("-sameq"),
                                      QStringLiteral("-vpre")};
    for (const QString &name : paramNames) {
        const StrictSection &s = sections.at(sectionAt.value(name.toLower()));
        for (const auto &kv : s.keys)
            QVERIFY2(allowed.contains(kv.first), qPrintable(name + QLatin1Char(' ') + kv.first));
        const QString sort = s.value(QStringLiteral("Sort"));
        QVERIFY2(sort == QLatin1String("1") || sort == QLatin1String("2") || sort == QLatin1String("3"), qPrintable(name));
        if (PanelGroup.contains(name))
            QCOMPARE(sort.toInt(), PanelGroup.value(name));
        const QString cmd = s.value(QStringLiteral("cmd"));
        QVERIFY2(cmd.startsWith(QLatin1Char('-')) && !cmd.contains(QLatin1Char(' ')), qPrintable(name));
        QVERIFY2(!removedSwitches.contains(cmd), qPrintable(name + QLatin1Char(' ') + cmd));
        const QString list = s.value(QStringLiteral("List"));
        const QString readOnly = s.value(QStringLiteral("ReadOnly"));
        QVERIFY2(list == QLatin1String("0") || list == QLatin1String("1"), qPrintable(name));
        QVERIFY2(readOnly == QLatin1String("0") || readOnly == QLatin1String("1"), qPrintable(name));
        const QString caption = s.value(QStringLiteral("Caption"));
        const QString value = s.value(QStringLiteral("Value"));
        if (list == QLatin1String("1")) {
            QVERIFY2(caption.endsWith(QLatin1Char(',')) && value.endsWith(QLatin1Char(',')), qPrintable(name));
            const QStringList captions = SplitItemList(caption);
            const QStringList values = SplitItemList(value);
            QCOMPARE(values.size(), captions.size());
            bool ok = false;
            const int index = s.value(QStringLiteral("Index")).toInt(&ok);
            QVERIFY2(ok && index >= 0 && index < captions.size(), qPrintable(name));
            for (int k = 0; k < captions.size(); ++k) {
                QVERIFY2(!captions.at(k).isEmpty(), qPrintable(name));
                QVERIFY2(captions.indexOf(QRegularExpression(QRegularExpression::escape(captions.at(k)),
                                                             QRegularExpression::CaseInsensitiveOption))
                             == k,
                         qPrintable(name + QLatin1Char(' ') + captions.at(k)));
                QVERIFY2(!values.at(k).contains(QLatin1Char(' ')), qPrintable(name + QLatin1Char(' ') + values.at(k)));
            }
        } else {
            QVERIFY2(!s.has(QStringLiteral("Index")), qPrintable(name));
            QVERIFY2(!caption.isEmpty(), qPrintable(name));
            if (readOnly == QLatin1String("1"))
                QVERIFY2(!value.isEmpty() && !value.contains(QLatin1Char(' ')), qPrintable(name));
        }
    }

    // The fixed names the panel relies on.
    const bool hasVideo = paramNames.contains(QStringLiteral("Video Codec"));
    if (hasVideo) {
        QVERIFY(paramNames.contains(QStringLiteral("Video Size")));
        const StrictSection &size = sections.at(sectionAt.value(QStringLiteral("video size")));
        QCOMPARE(size.value(QStringLiteral("List")), QStringLiteral("1"));
        const QStringList captions = SplitItemList(size.value(QStringLiteral("Caption")));
        const QStringList values = SplitItemList(size.value(QStringLiteral("Value")));
        for (const QString &fixed : {QStringLiteral("Original Size"), QStringLiteral("Custom Size")}) {
            QVERIFY2(captions.contains(fixed), qPrintable(fixed));
            QCOMPARE(values.at(captions.indexOf(fixed)), QString());
        }
    }

    // The program's own reader finds exactly what the strict parser found: no key is shadowed by
    // a line above it, no section is cut or found in the wrong place.
    {
        const TNewInifile ini(path);
        for (const StrictSection &s : sections) {
            for (const auto &kv : s.keys)
                QCOMPARE(ini.ReadString(s.name, kv.first, QStringLiteral("<missing>")), kv.second);
        }
        QCOMPARE(ProfileParameterCount(ini), para);
        ProfileGroup group = ProfileGroup::Advanced;
        for (int i = 0; i < para; ++i) {
            const ProfileParameter p = ReadProfileParameter(ini, i, group);
            group = p.group;
            const StrictSection &s = sections.at(sectionAt.value(paramNames.at(i).toLower()));
            QCOMPARE(p.name, s.name);
            QCOMPARE(p.sort, s.value(QStringLiteral("Sort")).toInt());
            QCOMPARE(static_cast<int>(p.group), p.sort);
            QCOMPARE(p.isList, s.value(QStringLiteral("List")) == QLatin1String("1"));
            QCOMPARE(p.readOnly, s.value(QStringLiteral("ReadOnly")) == QLatin1String("1"));
            QCOMPARE(p.cmd, s.value(QStringLiteral("cmd")));
            QCOMPARE(p.caption, s.value(QStringLiteral("Caption")));
            QCOMPARE(p.value, s.value(QStringLiteral("Value")));
            QCOMPARE(p.index, p.isList ? s.value(QStringLiteral("Index")).toInt() : 0);
        }
    }

    // Opening and closing leaves the file byte for byte as shipped.
    TNewInifile::SaveAndFree(new TNewInifile(path));
    QCOMPARE(ReadAll(path), content);
}

void TestShippedProfiles::conversion_data()
{
    QTest::addColumn<int>("index");
    for (size_t i = 0; i < FCases.size(); ++i)
        QTest::newRow(qPrintable(FCases[i].label)) << static_cast<int>(i);
}

void TestShippedProfiles::checkVideo(const ConversionCase &c, const QJsonObject &video)
{
    const QString codec = c.shown.value(QStringLiteral("Video Codec"));
    if (!codec.isEmpty()) {
        QVERIFY2(CodecOfCaption.contains(codec), qPrintable(QStringLiteral("unknown codec item ") + codec));
        QCOMPARE(video.value(QStringLiteral("codec_name")).toString(), CodecOfCaption.value(codec));
    }

    int width = InputWidth;
    int height = InputHeight;
    const QString size = c.shown.value(QStringLiteral("Video Size"), QStringLiteral("Original Size"));
    if (size != QLatin1String("Original Size")) {
        const auto m = QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)\\b")).match(size);
        QVERIFY2(m.hasMatch(), qPrintable(QStringLiteral("size item names no size: ") + size));
        width = m.captured(1).toInt();
        height = m.captured(2).toInt();
    }
    QCOMPARE(video.value(QStringLiteral("width")).toInt(), width);
    QCOMPARE(video.value(QStringLiteral("height")).toInt(), height);

    double fps = InputFps;
    const QString rate = c.shown.value(QStringLiteral("Frame Rate"), QStringLiteral("Original"));
    if (rate != QLatin1String("Original")) {
        const auto m = QRegularExpression(QStringLiteral("^(\\d+(?:\\.\\d+)?) fps\\b")).match(rate);
        QVERIFY2(m.hasMatch(), qPrintable(QStringLiteral("frame rate item names no rate: ") + rate));
        fps = m.captured(1).toDouble();
    }
    const double actualFps = Ratio(video.value(QStringLiteral("r_frame_rate")).toString());
    QVERIFY2(qAbs(actualFps - fps) < 0.01, qPrintable(QStringLiteral("%1 fps, expected %2").arg(actualFps).arg(fps)));

    // Original: the picture keeps the input's shape, whatever the frame size.
    double dar = double(InputWidth) / InputHeight;
    const QString aspect = c.shown.value(QStringLiteral("Aspect"), QStringLiteral("Original"));
    if (aspect != QLatin1String("Original")) {
        dar = Ratio(aspect);
        QVERIFY2(dar > 0, qPrintable(QStringLiteral("aspect item names no ratio: ") + aspect));
    }
    const QString actualDar = video.value(QStringLiteral("display_aspect_ratio")).toString();
    if (aspect != QLatin1String("Original") || Ratio(actualDar) > 0)
        QVERIFY2(qAbs(Ratio(actualDar) - dar) < 0.01, qPrintable(QStringLiteral("aspect %1, expected %2").arg(actualDar).arg(dar)));
}

void TestShippedProfiles::checkAudio(const ConversionCase &c, const QJsonObject &audio)
{
    const QString codec = c.shown.value(QStringLiteral("Audio Codec"));
    if (!codec.isEmpty()) {
        QVERIFY2(CodecOfCaption.contains(codec), qPrintable(QStringLiteral("unknown codec item ") + codec));
        QCOMPARE(audio.value(QStringLiteral("codec_name")).toString(), CodecOfCaption.value(codec));
    }

    int sampleRate = InputSampleRate;
    const QString rate = c.shown.value(QStringLiteral("Sample Rate"), QStringLiteral("Original"));
    if (rate != QLatin1String("Original")) {
        const auto m = QRegularExpression(QStringLiteral("^(\\d+) Hz$")).match(rate);
        QVERIFY2(m.hasMatch(), qPrintable(QStringLiteral("sample rate item names no rate: ") + rate));
        sampleRate = m.captured(1).toInt();
    }
    QCOMPARE(audio.value(QStringLiteral("sample_rate")).toString().toInt(), sampleRate);

    const QString channels = c.shown.value(QStringLiteral("Channels"), QStringLiteral("Original"));
    const QMap<QString, int> channelCount{{QStringLiteral("Original"), InputChannels},
                                          {QStringLiteral("Mono"), 1},
                                          {QStringLiteral("Stereo"), 2}};
    QVERIFY2(channelCount.contains(channels), qPrintable(QStringLiteral("unknown channels item ") + channels));
    QCOMPARE(audio.value(QStringLiteral("channels")).toInt(), channelCount.value(channels));
}

void TestShippedProfiles::conversion()
{
    QFETCH(int, index);
    const ConversionCase &c = FCases[index];
    const ConversionResult &r = FResults[c.job];
    QVERIFY2(r.converted, qPrintable(r.convertLog));
    QVERIFY2(r.decodes, qPrintable(r.convertLog + QStringLiteral("\ndecoding: ") + r.decodeLog));

    const QMap<QString, bool> yesNo{{QStringLiteral("Yes"), true}, {QStringLiteral("No"), false}};
    const QString noVideo = c.shown.value(QStringLiteral("Disable Video"), QStringLiteral("No"));
    const QString noAudio = c.shown.value(QStringLiteral("Disable Audio"), QStringLiteral("No"));
    QVERIFY(yesNo.contains(noVideo) && yesNo.contains(noAudio));

    const QJsonObject video = FirstStream(r.streams, QStringLiteral("video"));
    const QJsonObject audio = FirstStream(r.streams, QStringLiteral("audio"));
    QVERIFY2(video.isEmpty() == yesNo.value(noVideo), qPrintable(r.convertLog));
    QVERIFY2(audio.isEmpty() == yesNo.value(noAudio), qPrintable(r.convertLog));
    if (!video.isEmpty())
        checkVideo(c, video);
    if (!audio.isEmpty() && !QTest::currentTestFailed())
        checkAudio(c, audio);
    if (QTest::currentTestFailed())
        qInfo("%s", qPrintable(r.convertLog));
}

TESSIVO_TEST_MAIN(TestShippedProfiles)
#include "tst_shippedprofiles.moc"
