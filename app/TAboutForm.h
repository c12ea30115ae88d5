#pragma once

#include <QDialog>

struct Services;
class TMainForm;

// The About box. Shown without a modal loop; the main window takes no input while it is open.
class TAboutForm : public QDialog
{
    Q_OBJECT

public:
    TAboutForm(TMainForm *mainForm, Services &services);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    TMainForm *FMainForm;
};
