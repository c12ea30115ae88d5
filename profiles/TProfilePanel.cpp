#include "profiles/TProfilePanel.h"

#include "platform/TValueListEditor.h"
#include "platform/TessivoError.h"
#include "storage/TNewInifile.h"

#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <memory>

namespace {

const QString VideoSizeKey = QStringLiteral("Video Size");
const QString CustomSize = QStringLiteral("Custom Size");

int ShownRows(const TValueListEditor *group)
{
    // An empty group still shows its one empty row.
    return std::max(1, group->RowCount());
}

} // namespace

TProfilePanel::TProfilePanel(Kind kind, QWidget *parent) : QWidget(parent), FKind(kind)
{
    setObjectName(QStringLiteral("ProfilePanel"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setAccessibleName(QStringLiteral("Profile Detail"));
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    outer->addWidget(ScrollBox1);

    auto *box = new QWidget;
    box->setObjectName(QStringLiteral("ScrollBox1Contents"));
    box->setAutoFillBackground(true);
    QPalette boxPalette = box->palette();
    boxPalette.setColor(QPalette::Window, boxPalette.color(QPalette::Base));
    box->setPalette(boxPalette);
    auto *stack = new QVBoxLayout(box);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);

    if (FKind == Kind::DetailPanel) {
        vleOutput = AddGroup(box, QStringLiteral("Output"), QStringLiteral("      Output"),
                             {QStringLiteral("New Filename"), QStringLiteral("Start Time"), QStringLiteral("End Time")},
                             panOutput, btnOutput);
        // The Output group draws no read-only rows in silver.
        vleOutput->SetSilverReadOnlyText(false);
        connect(btnOutput, &QPushButton::clicked, this, &TProfilePanel::btnOutputClick);
    }
    vleVideo = AddGroup(box, QStringLiteral("Video"), QStringLiteral("      Video"),
                        {QStringLiteral("Video Codec"), QStringLiteral("Video Size"), QStringLiteral("Bit Rate"),
                         QStringLiteral("Frame Rate"), QStringLiteral("Aspect"), QStringLiteral("Disable Video")},
                        panVideo, btnVideo);
    vleAudio = AddGroup(box, QStringLiteral("Audio"), QStringLiteral("      Audio"),
                        {QStringLiteral("Audio Codec"), QStringLiteral("Audio Bitrate"), QStringLiteral("Sample Rate"),
                         QStringLiteral("Channels"), QStringLiteral("Volumn"), QStringLiteral("Disable Audio")},
                        panAudio, btnAudio);
    vleAdvanced = AddGroup(box, QStringLiteral("Advanced"), QStringLiteral("      Advanced"),
                           {QStringLiteral("Bit Exact Algorithms"), QStringLiteral("Deinterlace")}, panAdvanced,
                           btnAdvanced);
    stack->addStretch(1);
    ScrollBox1->setWidget(box);

    connect(btnVideo, &QPushButton::clicked, this, &TProfilePanel::btnVideoClick);
    connect(btnAudio, &QPushButton::clicked, this, &TProfilePanel::btnAudioClick);
    connect(btnAdvanced, &QPushButton::clicked, this, &TProfilePanel::btnAdvancedClick);
    // Only the focused group marks its current key cell: a press anywhere repaints them all.
    for (TValueListEditor *group : {vleVideo, vleAudio, vleAdvanced})
        connect(group, &TValueListEditor::MouseDown, this, &TProfilePanel::RepaintAllGroups);
    if (FKind == Kind::DetailPanel)
        connect(vleVideo, &TValueListEditor::StringsChange, this, &TProfilePanel::vleVideoStringsChange);
    else
        for (TValueListEditor *group : {vleVideo, vleAudio, vleAdvanced})
            group->SetKeyColumnWidth(160);
}

TValueListEditor *TProfilePanel::AddGroup(QWidget *box, const QString &name, const QString &caption,
                                          const QStringList &designRows, QLabel *&bar, QPushButton *&button)
{
    bar = new QLabel(caption, box);
    bar->setObjectName(QStringLiteral("pan") + name);
    bar->setAccessibleName(name);
    bar->setFixedHeight(18);
    bar->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    bar->setAutoFillBackground(true);
    QPalette barPalette = bar->palette();
    barPalette.setColor(QPalette::Window, barPalette.color(QPalette::Dark));
    barPalette.setColor(QPalette::WindowText, Qt::black);
    bar->setPalette(barPalette);
    QFont barFont = bar->font();
    barFont.setPointSize(8);
    barFont.setBold(true);
    bar->setFont(barFont);
    bar->installEventFilter(this);

    button = new QPushButton(QStringLiteral("-"), bar);
    button->setObjectName(QStringLiteral("btn") + name);
    button->setAccessibleName(name + QStringLiteral(" collapse"));
    button->setGeometry(5, 3, 12, 12);
    button->setFocusPolicy(Qt::NoFocus);
    QFont buttonFont = button->font();
    buttonFont.setPixelSize(16);
    buttonFont.setBold(true);
    button->setFont(buttonFont);

    auto *group = new TValueListEditor(box);
    group->setObjectName(QStringLiteral("vle") + name);
    group->setAccessibleName(name);
    for (const QString &key : designRows)
        group->AppendRow(key, QString());
    group->setFixedHeight(ShownRows(group) * RowPitch);

    box->layout()->addWidget(bar);
    box->layout()->addWidget(group);
    return group;
}

QList<TValueListEditor *> TProfilePanel::Groups() const
{
    QList<TValueListEditor *> groups;
    if (vleOutput)
        groups << vleOutput;
    groups << vleVideo << vleAudio << vleAdvanced;
    return groups;
}

TValueListEditor *TProfilePanel::GroupFor(ProfileGroup group) const
{
    switch (group) {
    case ProfileGroup::Video:
        return vleVideo;
    case ProfileGroup::Audio:
        return vleAudio;
    case ProfileGroup::Advanced:
        break;
    }
    return vleAdvanced;
}

QPushButton *TProfilePanel::ButtonFor(const TValueListEditor *group) const
{
    if (group && group == vleOutput)
        return btnOutput;
    if (group == vleVideo)
        return btnVideo;
    if (group == vleAudio)
        return btnAudio;
    if (group == vleAdvanced)
        return btnAdvanced;
    return nullptr;
}

bool TProfilePanel::ShowProfile(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return false;
    for (TValueListEditor *group : {vleVideo, vleAudio, vleAdvanced})
        group->Clear();

    // Owned until the end: an error on the way must not write the file back.
    auto ini = std::make_unique<TNewInifile>(path);
    if (FKind == Kind::DetailPanel) {
        FOutputExtension = QStringLiteral(".") + ProfileType(*ini);
        Q_EMIT OutputExtensionChanged(FOutputExtension);
    }
    const int count = ProfileParameterCount(*ini);
    ProfileGroup previous = ProfileGroup::Advanced;
    for (int i = 0; i < count; ++i) {
        const ProfileParameter p = ReadProfileParameter(*ini, i, previous);
        previous = p.group;
        TValueListEditor *group = GroupFor(p.group);
        const int row = group->AppendRow(p.name, QString());
        group->SetReadOnly(row, p.readOnly);
        if (p.isList) {
            const QStringList items = SplitItemList(p.caption);
            group->SetEditStyle(row, PanelRow::EditStyle::PickList);
            group->SetPickList(row, items);
            if (p.index < 0 || p.index >= items.size())
                throw EListError(p.index);
            group->SetValue(row, items.at(p.index));
            group->SetReadOnly(row, true);
        } else {
            group->SetValue(row, p.caption);
        }
    }
    TNewInifile::SaveAndFree(ini.release());

    for (TValueListEditor *group : {vleVideo, vleAudio, vleAdvanced})
        group->setFixedHeight(ShownRows(group) * RowPitch);
    return true;
}

QString TProfilePanel::RowValue(const TValueListEditor *group, const QString &key)
{
    const int row = group->FindRow(key);
    return row < 0 ? QString() : group->Value(row);
}

void TProfilePanel::SetRowValue(TValueListEditor *group, const QString &key, const QString &text)
{
    const int row = group->FindRow(key);
    if (row < 0)
        group->AppendRow(key, text);
    else
        group->SetValue(row, text);
}

void TProfilePanel::ToggleGroup(TValueListEditor *group)
{
    QPushButton *button = ButtonFor(group);
    if (!button)
        return;
    if (button->text() != QStringLiteral("+")) {
        group->setFixedHeight(1);
        button->setText(QStringLiteral("+"));
    } else {
        const int rows = ShownRows(group);
        group->setFixedHeight(rows * TValueListEditor::DefaultRowHeight + rows + 1);
        button->setText(QStringLiteral("-"));
    }
}

void TProfilePanel::RepaintAllGroups()
{
    for (TValueListEditor *group : Groups())
        group->RepaintCells();
}

void TProfilePanel::btnOutputClick()
{
    if (vleOutput)
        ToggleGroup(vleOutput);
}

void TProfilePanel::btnVideoClick()
{
    ToggleGroup(vleVideo);
}

void TProfilePanel::btnAudioClick()
{
    ToggleGroup(vleAudio);
}

void TProfilePanel::btnAdvancedClick()
{
    ToggleGroup(vleAdvanced);
}

void TProfilePanel::vleVideoStringsChange()
{
    if (FKind != Kind::DetailPanel)
        return;
    if (vleVideo->Key(vleVideo->CurrentRow()) == VideoSizeKey && RowValue(vleVideo, VideoSizeKey) == CustomSize)
        Q_EMIT CustomSizeRequested();
}

bool TProfilePanel::eventFilter(QObject *watched, QEvent *event)
{
    if (FKind == Kind::DetailPanel && event->type() == QEvent::MouseButtonDblClick) {
        if (watched == panOutput)
            btnOutputClick();
        else if (watched == panVideo)
            btnVideoClick();
        else if (watched == panAudio)
            btnAudioClick();
        else if (watched == panAdvanced)
            btnAdvancedClick();
        else
            return QWidget::eventFilter(watched, event);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
