#include "platform/QtServices.h"

#include <QApplication>
#include <QDBusInterface>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

void QtMessages::information(QWidget *owner, const QString &caption, const QString &text)
{
    QMessageBox::information(owner, caption, text);
}

void QtMessages::plain(QWidget *owner, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, owner);
    box.exec();
}

bool QtMessages::askYesNo(QWidget *owner, const QString &caption, const QString &text)
{
    return QMessageBox::question(owner, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

void QtMessages::error(QWidget *owner, const QString &text)
{
    QMessageBox::critical(owner, QApplication::applicationName(), text);
}

QString QtFilterText(const QList<FileFilter> &filters)
{
    QStringList entries;
    for (const FileFilter &f : filters) {
        // QFileDialog reads the patterns from the parentheses; blanks separate them there.
        QString patterns = f.pattern;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << QStringLiteral("%1 (%2)").arg(f.description, patterns.trimmed());
    }
    return entries.join(QStringLiteral(";;"));
}

QStringList QtFileDialogs::openFiles(QWidget *owner, const QList<FileFilter> &filters)
{
    QFileDialog dialog(owner);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilter(QtFilterText(filters));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QString QtFileDialogs::saveFile(QWidget *owner, const QString &defaultSuffix, const QList<FileFilter> &filters,
                                const QString &startPath)
{
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(defaultSuffix.startsWith(QLatin1Char('.')) ? defaultSuffix.mid(1) : defaultSuffix);
    dialog.setNameFilter(QtFilterText(filters));
    if (!startPath.isEmpty())
        dialog.selectFile(startPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool QtFileDialogs::SelectFolder(QWidget *owner, const QString &title, const QString &root, QString &folder)
{
    if (!QFileInfo(folder).isDir())
        folder.clear();
    QString start = folder.isEmpty() ? root : folder;
    const QString chosen = QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return false;
    folder = QDir::toNativeSeparators(chosen);
    return true;
}

void QtDesktop::open(const QString &pathOrAddress)
{
    const QUrl url = pathOrAddress.contains(QStringLiteral("://")) || pathOrAddress.startsWith(QStringLiteral("mailto:"))
                         ? QUrl(pathOrAddress)
                         : QUrl::fromLocalFile(pathOrAddress);
    QDesktopServices::openUrl(url);
}

void LogindPowerOff::powerOff()
{
    // A refusal (no privilege, policy) is not reported: the program closes all the same.
    QDBusInterface logind(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                          QStringLiteral("org.freedesktop.login1.Manager"), QDBusConnection::systemBus());
    if (logind.isValid())
        logind.call(QStringLiteral("PowerOff"), false);
}
