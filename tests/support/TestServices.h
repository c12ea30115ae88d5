#pragma once

#include "platform/Services.h"

#include <QStringList>
#include <functional>

// Records every message box; answers questions with a preset answer.
class RecordingMessages : public IMessages
{
public:
    struct Box
    {
        QString kind; // "information", "plain", "question", "error"
        QString caption;
        QString text;
    };

    void information(QWidget *owner, const QString &caption, const QString &text) override;
    void plain(QWidget *owner, const QString &text) override;
    bool askYesNo(QWidget *owner, const QString &caption, const QString &text) override;
    void error(QWidget *owner, const QString &text) override;

    QList<Box> boxes;
    bool answerYes = true;
    // Runs while a box is "open" (the real box waits there), for example to check the window.
    std::function<void(const Box &)> onBox;

    QStringList errors() const;
};

// Answers the file dialogs and the folder picker as the test presets them.
class ScriptedDialogs : public IFileDialogs
{
public:
    QStringList openFiles(QWidget *owner, const QList<FileFilter> &filters) override;
    QString saveFile(QWidget *owner, const QString &defaultSuffix, const QList<FileFilter> &filters,
                     const QString &startPath) override;
    bool SelectFolder(QWidget *owner, const QString &title, const QString &root, QString &folder) override;

    QStringList filesToOpen;      // empty: the dialog is cancelled
    QString fileToSave;           // empty: cancelled
    QString folderToSelect;       // empty: cancelled
    QList<FileFilter> lastFilters;
    QString lastTitle;
    QString lastSaveSuffix;
    QString lastSaveStart;
    int openCount = 0;
};

// Records what would have been opened through the desktop.
class RecordingDesktop : public IDesktop
{
public:
    void open(const QString &pathOrAddress) override { opened << pathOrAddress; }
    QStringList opened;
};

// Counts power-off requests; never powers anything off.
class RecordingPowerOff : public IPowerOff
{
public:
    void powerOff() override { ++requests; }
    int requests = 0;
};

// All four doubles, with the Services view over them.
struct TestServices
{
    RecordingMessages messages;
    ScriptedDialogs dialogs;
    RecordingDesktop desktop;
    RecordingPowerOff power;
    Services services{messages, dialogs, desktop, power};
};
