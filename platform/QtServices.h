#pragma once

#include "platform/Services.h"

// The services over Qt and the desktop, used by the running program.
class QtMessages : public IMessages
{
public:
    void information(QWidget *owner, const QString &caption, const QString &text) override;
    void plain(QWidget *owner, const QString &text) override;
    bool askYesNo(QWidget *owner, const QString &caption, const QString &text) override;
    void error(QWidget *owner, const QString &text) override;
};

class QtFileDialogs : public IFileDialogs
{
public:
    QStringList openFiles(QWidget *owner, const QList<FileFilter> &filters) override;
    QString saveFile(QWidget *owner, const QString &defaultSuffix, const QList<FileFilter> &filters,
                     const QString &startPath) override;
    bool SelectFolder(QWidget *owner, const QString &title, const QString &root, QString &folder) override;
};

class QtDesktop : public IDesktop
{
public:
    void open(const QString &pathOrAddress) override;
};

// Asks logind over the system bus to power the machine off.
class LogindPowerOff : public IPowerOff
{
public:
    void powerOff() override;
};

// Joins filter entries in the notation of QFileDialog: "Description (patterns);;...".
QString QtFilterText(const QList<FileFilter> &filters);
