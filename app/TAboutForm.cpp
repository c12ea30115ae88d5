#include "app/TAboutForm.h"

#include "app/MakerInfo.h"
#include "app/TMainForm.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *AddLabel(QVBoxLayout *layout, const QString &name, const QString &text)
{
    auto *label = new QLabel(text);
    label->setObjectName(name);
    label->setAccessibleName(text);
    layout->addWidget(label);
    return label;
}

} // namespace

TAboutForm::TAboutForm(TMainForm *mainForm, Services &services)
    : QDialog(mainForm, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , FMainForm(mainForm)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About"));
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    QLabel *name = AddLabel(layout, QStringLiteral("labProductName"), MakerInfo::ProductName);
    QFont big = name->font();
    big.setPixelSize(24);
    big.setBold(true);
    name->setFont(big);
    AddLabel(layout, QStringLiteral("labVersion"), QStringLiteral("Version ") + mainForm->VersionText);
    AddLabel(layout, QStringLiteral("labCopyright"),
             QStringLiteral("Copyright (C) %1 %2").arg(MakerInfo::Year, MakerInfo::MakerName));
    AddLabel(layout, QStringLiteral("labRights"), QStringLiteral("All rights reserved."));

    auto addLink = [&](const QString &objectName, const QString &caption, const QString &address) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(objectName);
        button->setAccessibleName(caption);
        button->setFlat(true);
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &QPushButton::clicked, this, [&services, address] { services.desktop.open(address); });
        layout->addWidget(button);
    };
    addLink(QStringLiteral("btnHomePage"), MakerInfo::WebAddress, MakerInfo::WebAddress);
    addLink(QStringLiteral("btnProducts"), QStringLiteral("Other products"), MakerInfo::ProductsAddress);
    addLink(QStringLiteral("btnSupport"), QStringLiteral("Support: ") + MakerInfo::SupportAddress,
            QStringLiteral("mailto:") + MakerInfo::SupportAddress);
    addLink(QStringLiteral("btnSales"), QStringLiteral("Sales: ") + MakerInfo::SalesAddress,
            QStringLiteral("mailto:") + MakerInfo::SalesAddress);

    auto *ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setAccessibleName(QStringLiteral("OK"));
    connect(ok, &QPushButton::clicked, this, &QDialog::close);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

void TAboutForm::showEvent(QShowEvent *event)
{
    FMainForm->SetInputEnabled(false);
    QDialog::showEvent(event);
}

void TAboutForm::hideEvent(QHideEvent *event)
{
    FMainForm->SetInputEnabled(true);
    QDialog::hideEvent(event);
}
