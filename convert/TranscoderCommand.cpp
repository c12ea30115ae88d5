#include "convert/TranscoderCommand.h"

namespace {

const QChar Q = QLatin1Char('"');

QStringList Words(const QString &text)
{
    return text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

TranscoderCommand ProbeCommand(const QString &inputPath)
{
    return {QStringLiteral(" -i ") + Q + inputPath + Q, {QStringLiteral("-i"), inputPath}};
}

TranscoderCommand ConversionCommand(const QString &inputPath, const QString &profileArguments,
                                    const QString &taskOptions, const QString &outputPath)
{
    TranscoderCommand command;
    command.text = QStringLiteral(" -y -i ") + Q + inputPath + Q + profileArguments + taskOptions + QStringLiteral(" ")
                   + Q + outputPath + Q;
    command.arguments << QStringLiteral("-y") << QStringLiteral("-i") << inputPath << Words(profileArguments)
                      << Words(taskOptions) << outputPath;
    return command;
}
