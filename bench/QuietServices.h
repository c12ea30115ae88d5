#pragma once

#include "platform/Services.h"

#include <cstdio>

// Services for the benchmarks: no dialogs, nothing opened or powered off; errors go to stderr.
class QuietMessages : public IMessages
{
public:
    void information(QWidget *, const QString &, const QString &) override {}
    void plain(QWidget *, const QString &) override {}
    bool askYesNo(QWidget *, const QString &, const QString &) override { return true; }
    void error(QWidget *, const QString &text) override { std::fprintf(stderr, "error: %s\n", qPrintable(text)); }
};

class NoDialogs : public IFileDialogs
{
public:
    QStringList openFiles(QWidget *, const QList<FileFilter> &) override { return {}; }
    QString saveFile(QWidget *, const QString &, const QList<FileFilter> &, const QString &) override { return {}; }
    bool SelectFolder(QWidget *, const QString &, const QString &, QString &) override { return false; }
};

class NoDesktop : public IDesktop
{
public:
    void open(const QString &) override {}
};

class NoPowerOff : public IPowerOff
{
public:
    void powerOff() override {}
};

struct QuietServices
{
    QuietMessages messages;
    NoDialogs dialogs;
    NoDesktop desktop;
    NoPowerOff power;
    Services services{messages, dialogs, desktop, power};
};
