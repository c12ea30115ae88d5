#include "storage/TNewInifile.h"

#include "platform/TessivoError.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <cstdint>
#include <limits>
#include <memory>

QList<QByteArray> SplitIniLines(const QByteArray &text)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = text.at(i);
        if (c == '\r' || c == '\n') {
            lines.append(text.mid(start, i - start));
            if (c == '\r' && i + 1 < n && text.at(i + 1) == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QByteArray LowerAscii(const QByteArray &text)
{
    QByteArray out = text;
    for (char &c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

TNewInifile::TNewInifile(const QString &fileName)
    : FFileName(fileName)
{
    QFile file(fileName);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(fileName, file.errorString());
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EFOpenError(fileName, file.errorString());
    FLines = SplitIniLines(content);
}

QByteArray TNewInifile::SectionText(const QByteArray &section) const
{
    QByteArray all;
    for (const QByteArray &line : FLines) {
        all += line;
        all += "\r\n";
    }
    const QByteArray header = LowerAscii("[" + section + "]");
    const qsizetype at = LowerAscii(all).indexOf(header);
    if (at < 0)
        return {};
    QByteArray rest = all.mid(at + header.size());
    const qsizetype bracket = rest.indexOf('[');
    if (bracket >= 0)
        rest.truncate(bracket);
    return rest;
}

bool TNewInifile::FindValue(const QByteArray &key, const QList<QByteArray> &lines, QByteArray &value)
{
    const QByteArray needle = LowerAscii(key + "=");
    for (const QByteArray &line : lines) {
        const qsizetype at = LowerAscii(line).indexOf(needle);
        if (at >= 0) {
            value = line.mid(at + needle.size());
            return true;
        }
    }
    return false;
}

int TNewInifile::FindSectionLine(const QByteArray &section) const
{
    const QByteArray header = LowerAscii("[" + section + "]");
    for (int i = 0; i < FLines.size(); ++i) {
        if (LowerAscii(FLines.at(i)).contains(header))
            return i;
    }
    return -1;
}

int TNewInifile::FindKeyLine(const QByteArray &section, const QByteArray &key) const
{
    const QList<QByteArray> body = SplitIniLines(SectionText(section));
    const QByteArray needle = LowerAscii(key + "=");
    for (int k = 0; k < body.size(); ++k) {
        if (LowerAscii(body.at(k)).contains(needle))
            return k;
    }
    return -1;
}

QString TNewInifile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    QByteArray value;
    if (!FindValue(key.toUtf8(), SplitIniLines(SectionText(section.toUtf8())), value))
        return def;
    return QString::fromUtf8(value);
}

bool TNewInifile::TryStrToInt(const QString &text, int &value)
{
    const QByteArray s = text.toLatin1();
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && s.at(i) == ' ')
        ++i;
    bool negative = false;
    if (i < n && (s.at(i) == '+' || s.at(i) == '-')) {
        negative = s.at(i) == '-';
        ++i;
    }
    int base = 10;
    if (i < n && s.at(i) == '$') {
        base = 16;
        ++i;
    } else if (i < n && (s.at(i) == 'x' || s.at(i) == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && s.at(i) == '0' && (s.at(i + 1) == 'x' || s.at(i + 1) == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return false;
    std::int64_t magnitude = 0;
    for (; i < n; ++i) {
        const char c = s.at(i);
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > std::int64_t(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<int>::max() || signedValue < std::numeric_limits<int>::min())
        return false;
    value = static_cast<int>(signedValue);
    return true;
}

int TNewInifile::ReadInteger(const QString &section, const QString &key, int def) const
{
    int value = def;
    if (TryStrToInt(ReadString(section, key, QString::number(def)), value))
        return value;
    return def;
}

// A floating-point number as text: blanks, sign, digits with an optional point, optional exponent.
static bool TryStrToFloat(const QString &text, double &value)
{
    const QString s = text.trimmed();
    if (s.isEmpty() || s != text.trimmed())
        return false;
    bool ok = false;
    const double v = QLocale::c().toDouble(s, &ok);
    if (!ok)
        return false;
    value = v;
    return true;
}

bool TNewInifile::ReadBool(const QString &section, const QString &key, bool def) const
{
    const QString text = ReadString(section, key, def ? QStringLiteral("-1") : QStringLiteral("0"));
    int asInt = 0;
    if (TryStrToInt(text, asInt))
        return asInt != 0;
    double asFloat = 0;
    if (TryStrToFloat(text, asFloat))
        return asFloat != 0;
    if (text.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    return def;
}

double TNewInifile::ReadFloat(const QString &section, const QString &key, double def) const
{
    const QLocale locale;
    const QString text = ReadString(section, key, locale.toString(def));
    bool ok = false;
    const double v = locale.toDouble(text, &ok);
    return ok ? v : def;
}

void TNewInifile::WriteString(const QString &section, const QString &key, const QString &value)
{
    const QByteArray sec = section.toUtf8();
    const QByteArray k = key.toUtf8();
    const QByteArray line = k + "=" + value.toUtf8();
    const int h = FindSectionLine(sec);
    if (h == -1) {
        FLines.append("[" + sec + "]");
        FLines.append(line);
        return;
    }
    const int at = FindKeyLine(sec, k);
    if (at != -1)
        FLines[h + at] = line;
    else
        FLines.insert(h + 1, line);
}

void TNewInifile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TNewInifile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TNewInifile::SaveAndFree(TNewInifile *ini)
{
    if (!ini)
        return;
    std::unique_ptr<TNewInifile> owned(ini);
    const QString &name = owned->FFileName;
    const QFileInfo info(name);
    if (info.exists() && !info.isWritable())
        throw EFCreateError(name, QStringLiteral("Permission denied"));

    QByteArray content;
    for (const QByteArray &line : owned->FLines) {
        content += line;
        content += "\r\n";
    }
    // Written beside the file and renamed onto it, so the old content stays until the new is whole.
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        throw EFCreateError(name, file.errorString());
    // Flushed here because commit() does not report a failed final flush (a full disk would
    // then replace the file with a truncated copy).
    if (file.write(content) != content.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw EFCreateError(name, reason);
    }
    if (!file.commit())
        throw EFCreateError(name, file.errorString());
}
