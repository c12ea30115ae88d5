#include "app/TApplication.h"

#include "platform/RunGuarded.h"
#include "platform/Services.h"

TApplication::TApplication(int &argc, char **argv, IMessages &messages)
    : QApplication(argc, argv)
    , FMessages(&messages)
{
    setApplicationName(QStringLiteral("Tessivo"));
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    RunGuarded(*FMessages, activeWindow(), [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
