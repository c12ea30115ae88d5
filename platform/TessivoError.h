#pragma once

#include <QString>
#include <stdexcept>

// Errors that end the current user action and reach the application's top-level error box.
// Nothing below the box catches them: the action stops where it is and what it did so far stays.
class TessivoError : public std::runtime_error
{
public:
    explicit TessivoError(const QString &message);
    QString message() const;
};

// A stored file could not be opened for reading.
class EFOpenError : public TessivoError
{
public:
    EFOpenError(const QString &fileName, const QString &reason);
};

// A stored file could not be created or written.
class EFCreateError : public TessivoError
{
public:
    EFCreateError(const QString &fileName, const QString &reason);
};

// A position outside a list (for example a profile's Index outside its items).
class EListError : public TessivoError
{
public:
    explicit EListError(qsizetype index);
};
