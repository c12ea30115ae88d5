#include "app/TApplication.h"

#include "platform/RunGuarded.h"
#include "platform/Services.h"

#include <QFont>

TApplication::TApplication(int &argc, char **argv, IMessages &messages)
    : QApplication(argc, argv)
    , FMessages(&messages)
{
    setApplicationName(QStringLiteral("Tessivo"));
    // The windows are laid out for these faces; where they are missing, metric-compatible or
    // narrow faces keep the texts inside their places.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans Condensed")});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    RunGuarded(*FMessages, activeWindow(), [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
