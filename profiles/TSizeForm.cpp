#include "profiles/TSizeForm.h"

#include "platform/Services.h"
#include "platform/TValueListEditor.h"
#include "profiles/TProfilePanel.h"
#include "storage/TNewInifile.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString VideoSizeKey = QStringLiteral("Video Size");

} // namespace

TSizeForm::TSizeForm(QWidget *owner, TValueListEditor *vleVideo, IMessages &messages,
                     std::function<void(bool)> setMainInputEnabled)
    : QWidget(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , FVideo(vleVideo)
    , FMessages(messages)
    , FSetMainInputEnabled(std::move(setMainInputEnabled))
{
    // A plain window rather than a dialog: Enter and Esc press no button here.
    setObjectName(QStringLiteral("SizeForm"));
    setWindowTitle(QStringLiteral("Video Size of output files"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(336, 106);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    setFont(font);

    Label1 = new QLabel(QStringLiteral("Width:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(19, 24);
    Label1->adjustSize();
    edtWidth = new QLineEdit(this);
    edtWidth->setObjectName(QStringLiteral("edtWidth"));
    edtWidth->setAccessibleName(QStringLiteral("Width:"));
    edtWidth->setGeometry(56, 20, 81, 21);
    Label1->setBuddy(edtWidth);

    Label2 = new QLabel(QStringLiteral("Height:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(176, 24);
    Label2->adjustSize();
    edtHeight = new QLineEdit(this);
    edtHeight->setObjectName(QStringLiteral("edtHeight"));
    edtHeight->setAccessibleName(QStringLiteral("Height:"));
    edtHeight->setGeometry(216, 20, 97, 21);
    Label2->setBuddy(edtHeight);

    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setAccessibleName(QStringLiteral("OK"));
    btnOK->setGeometry(160, 64, 75, 25);
    btnOK->setAutoDefault(false);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAccessibleName(QStringLiteral("Cancel"));
    btnCancel->setGeometry(248, 64, 75, 25);
    btnCancel->setAutoDefault(false);

    setTabOrder(edtWidth, edtHeight);
    setTabOrder(edtHeight, btnOK);
    setTabOrder(btnOK, btnCancel);

    connect(btnOK, &QPushButton::clicked, this, &TSizeForm::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TSizeForm::btnCancelClick);
}

void TSizeForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TSizeForm::FormShow()
{
    if (QWidget *owner = parentWidget()) {
        const QRect frame = owner->frameGeometry();
        move(frame.center() - QPoint(width() / 2, height() / 2));
    }
    FSetMainInputEnabled(false);
}

void TSizeForm::btnOKClick()
{
    int number = 0;
    if (!TNewInifile::TryStrToInt(edtWidth->text(), number)) {
        FMessages.information(this, QStringLiteral("Incorrect Width"),
                              QStringLiteral("Please specify a proper width for output videos."));
        edtWidth->setFocus();
        return;
    }
    if (!TNewInifile::TryStrToInt(edtHeight->text(), number)) {
        FMessages.information(this, QStringLiteral("Incorrect Height"),
                              QStringLiteral("Please specify a proper height for output videos."));
        edtHeight->setFocus();
        return;
    }
    // The texts go on exactly as typed; the transcoder gets them unchanged.
    TProfilePanel::SetRowValue(FVideo, VideoSizeKey, edtWidth->text() + QStringLiteral("x") + edtHeight->text());
    close();
}

void TSizeForm::btnCancelClick()
{
    close();
}

void TSizeForm::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TSizeForm::FormClose()
{
    if (TProfilePanel::RowValue(FVideo, VideoSizeKey) == QStringLiteral("Custom Size"))
        TProfilePanel::SetRowValue(FVideo, VideoSizeKey, QStringLiteral("Original Size"));
    FSetMainInputEnabled(true);
}
