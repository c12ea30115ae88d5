#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The program's own INI reader and writer. The file is held as a list of lines and every
// operation works on their text: sections and keys are found by case-blind substring search,
// a section ends at the next "[" anywhere, nothing is trimmed, and closing always writes the
// whole file back. Stored files rely on these rules; keep them.
//
// Text is handled as bytes: UTF-8 passes through unchanged and only A to Z are folded.
class TNewInifile
{
public:
    // Loads the file's lines when it exists. Raises EFOpenError when it exists but cannot be read.
    explicit TNewInifile(const QString &fileName);

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    int ReadInteger(const QString &section, const QString &key, int def) const;
    bool ReadBool(const QString &section, const QString &key, bool def) const;
    double ReadFloat(const QString &section, const QString &key, double def) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);

    // Writes every line, each followed by CR LF, to the file (replacing it as a whole, so a
    // failed write leaves the earlier content), then releases the object. Null does nothing.
    // Raises EFCreateError when the file cannot be written; the object is released all the same.
    static void SaveAndFree(TNewInifile *ini);

    const QString &FileName() const { return FFileName; }
    const QList<QByteArray> &Lines() const { return FLines; }

    // The strict whole-number conversion of ReadInteger: optional leading blanks, an optional
    // sign, decimal digits or hexadecimal after "$", "x" or "0x", nothing after, within 32 bits.
    static bool TryStrToInt(const QString &text, int &value);

private:
    QByteArray SectionText(const QByteArray &section) const;
    int FindSectionLine(const QByteArray &section) const;
    int FindKeyLine(const QByteArray &section, const QByteArray &key) const;
    static bool FindValue(const QByteArray &key, const QList<QByteArray> &lines, QByteArray &value);

    QString FFileName;
    QList<QByteArray> FLines;
};

// Splits text into lines at CR LF, a lone CR or a lone LF; a break at the very end adds no line.
QList<QByteArray> SplitIniLines(const QByteArray &text);
// Lower-cases the letters A to Z only.
QByteArray LowerAscii(const QByteArray &text);
