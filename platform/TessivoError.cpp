#include "platform/TessivoError.h"

TessivoError::TessivoError(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

QString TessivoError::message() const
{
    return QString::fromStdString(what());
}

EFOpenError::EFOpenError(const QString &fileName, const QString &reason)
    : TessivoError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, reason))
{
}

EFCreateError::EFCreateError(const QString &fileName, const QString &reason)
    : TessivoError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, reason))
{
}

EListError::EListError(qsizetype index)
    : TessivoError(QStringLiteral("List index out of bounds (%1)").arg(index))
{
}
