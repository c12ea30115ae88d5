#pragma once

#include <QApplication>

class IMessages;

// The application object. Every event of every window passes through notify(): an error that
// a user action raises ends that action here and is shown in the top-level error box.
class TApplication : public QApplication
{
    Q_OBJECT

public:
    TApplication(int &argc, char **argv, IMessages &messages);

    bool notify(QObject *receiver, QEvent *event) override;

    // The box the errors go to; tests point it at their recording double.
    void setMessages(IMessages &messages) { FMessages = &messages; }

private:
    IMessages *FMessages;
};
