#pragma once

#include <QWidget>
#include <functional>

class IMessages;
class QLabel;
class QLineEdit;
class QPushButton;
class TValueListEditor;

// Asks for the output frame size when "Custom Size" is chosen in the "Video Size" row.
// Created once and only hidden when closed, so the fields keep their texts between openings.
// Shown without a modal loop; the main window takes no input while it is open.
class TSizeForm : public QWidget
{
    Q_OBJECT

public:
    // owner: the main window (the dialog is centred on it); vleVideo: the row's group;
    // setMainInputEnabled: takes the main window's input away and gives it back.
    TSizeForm(QWidget *owner, TValueListEditor *vleVideo, IMessages &messages,
              std::function<void(bool)> setMainInputEnabled);

    QLabel *Label1 = nullptr;
    QLineEdit *edtWidth = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *edtHeight = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

public Q_SLOTS:
    void btnOKClick();
    void btnCancelClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void FormClose();

    TValueListEditor *FVideo;
    IMessages &FMessages;
    std::function<void(bool)> FSetMainInputEnabled;
};
