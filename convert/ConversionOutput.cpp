#include "convert/ConversionOutput.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

std::filesystem::path FsPath(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

bool Exists(const QString &path)
{
    std::error_code error;
    // A dangling link is a name that exists too; it must not be replaced by accident.
    return std::filesystem::exists(std::filesystem::symlink_status(FsPath(path), error));
}

} // namespace

bool SameFile(const QString &a, const QString &b)
{
    std::error_code error;
    const bool same = std::filesystem::equivalent(FsPath(a), FsPath(b), error);
    return !error && same;
}

OutputPlan PlanOutputPath(const QString &outputFolder, const QString &outName, const QString &outputExtension,
                          const QString &inputPath, int row, bool renameChosen)
{
    OutputPlan plan;
    plan.path = outputFolder + outName + outputExtension;
    const bool isInput = SameFile(plan.path, inputPath) || plan.path == inputPath;
    if (!isInput && !(renameChosen && Exists(plan.path)))
        return plan;

    plan.renamed = true;
    for (long long index = row + 1;; ++index) {
        plan.path = outputFolder + outName + QLatin1Char('_') + QString::number(index) + outputExtension;
        if (SameFile(plan.path, inputPath) || plan.path == inputPath)
            continue;
        if (renameChosen && Exists(plan.path))
            continue;
        return plan;
    }
}

QString TemporaryOutputPath(const QString &outputPath)
{
    const QFileInfo info(outputPath);
    const QString folder = info.path() + QLatin1Char('/');
    const QString suffix = info.suffix();
    // The extension stays last, so the transcoder picks the same format as for the output.
    const QString base = info.fileName().left(info.fileName().size() - (suffix.isEmpty() ? 0 : suffix.size() + 1));
    const QString extension = suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix;
    const QString stamp = QString::number(QCoreApplication::applicationPid());
    for (int n = 0;; ++n) {
        const QString candidate = folder + QLatin1Char('.') + base + QStringLiteral(".part-") + stamp
                                  + (n ? QLatin1Char('-') + QString::number(n) : QString()) + extension;
        if (!Exists(candidate))
            return candidate;
    }
}

QString MoveOntoOutput(const QString &temporaryPath, const QString &outputPath)
{
    std::error_code error;
    std::filesystem::rename(FsPath(temporaryPath), FsPath(outputPath), error);
    return error ? QString::fromStdString(error.message()) : QString();
}
