#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Message boxes. Captions and texts are the program's own; tests record them.
class IMessages
{
public:
    virtual ~IMessages() = default;
    // A box with the information icon and an OK button.
    virtual void information(QWidget *owner, const QString &caption, const QString &text) = 0;
    // A box without icon and with the application's title as caption.
    virtual void plain(QWidget *owner, const QString &text) = 0;
    // A question with Yes and No; true when the answer is Yes.
    virtual bool askYesNo(QWidget *owner, const QString &caption, const QString &text) = 0;
    // The top-level error box: an error that ended a user action.
    virtual void error(QWidget *owner, const QString &text) = 0;
};

// One entry of a file dialog's filter: "AVI Files (*.avi)" with the pattern "*.avi".
struct FileFilter
{
    QString description;
    QString pattern;
};

class IFileDialogs
{
public:
    virtual ~IFileDialogs() = default;
    // Several existing files; an empty list when the user cancelled.
    virtual QStringList openFiles(QWidget *owner, const QList<FileFilter> &filters) = 0;
    // A file to save; empty when the user cancelled. startPath is the text the dialog opens with.
    virtual QString saveFile(QWidget *owner, const QString &defaultSuffix, const QList<FileFilter> &filters,
                             const QString &startPath) = 0;
    // The folder picker. folder in: the folder to preselect (emptied when it is no existing directory);
    // out: the chosen folder, without a trailing separator added. Returns true when one was chosen.
    virtual bool SelectFolder(QWidget *owner, const QString &title, const QString &root, QString &folder) = 0;
};

// The desktop's "open": a folder, a document or a web address.
class IDesktop
{
public:
    virtual ~IDesktop() = default;
    virtual void open(const QString &pathOrAddress) = 0;
};

// Switching the computer off at the end of a batch.
class IPowerOff
{
public:
    virtual ~IPowerOff() = default;
    virtual void powerOff() = 0;
};

// The services a window is given when it is made.
struct Services
{
    IMessages &messages;
    IFileDialogs &dialogs;
    IDesktop &desktop;
    IPowerOff &power;
};
