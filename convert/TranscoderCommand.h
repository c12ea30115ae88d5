#pragma once

#include <QString>
#include <QStringList>

// One start of the transcoder: the command line as text (what is shown and compared) and the
// same words as an argument list (what is started; no shell ever sees the text).
struct TranscoderCommand
{
    QString text;
    QStringList arguments;
};

// " -i " + quoted path.
TranscoderCommand ProbeCommand(const QString &inputPath);

// " -y -i " + quoted input + profile arguments + task options + " " + quoted output.
// The profile arguments and task options are blank-separated words ("" or beginning with a blank).
TranscoderCommand ConversionCommand(const QString &inputPath, const QString &profileArguments,
                                    const QString &taskOptions, const QString &outputPath);
