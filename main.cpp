#include "app/TApplication.h"
#include "app/TMainForm.h"
#include "platform/FileNames.h"
#include "platform/QtServices.h"

int main(int argc, char *argv[])
{
    QtMessages messages;
    QtFileDialogs dialogs;
    QtDesktop desktop;
    LogindPowerOff power;
    Services services{messages, dialogs, desktop, power};

    TApplication app(argc, argv, messages);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    TMainForm form(ProgramFolderOf(QApplication::applicationFilePath()), services, arguments);
    form.show();
    return app.exec();
}
